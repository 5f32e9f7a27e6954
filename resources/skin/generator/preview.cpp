#include "resources/skin/generator/preview.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace skingen {

namespace {

constexpr Rgb kDesk = 0x5F6B78; // what shows through transparent corners of the window
constexpr Rgb kSheet = 0xFFFFFF;

// Frame n (from 1) of a horizontal or vertical strip of count frames.
Image FrameOf(const Image &strip, int n, int count, bool vertical = false) {
  const int w = vertical ? strip.Width() : strip.Width() / count;
  const int h = vertical ? strip.Height() / count : strip.Height();
  return strip.Crop(vertical ? 0 : (n - 1) * w, vertical ? (n - 1) * h : 0, w, h);
}

// Nearest-neighbour stretch of (sx, sy, sw, sh) of src onto (dx, dy, dw, dh) of dst.
void StretchInto(Image &dst, int dx, int dy, int dw, int dh, const Image &src, int sx, int sy,
                 int sw, int sh) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
    return;
  for (int y = 0; y < dh; ++y)
    for (int x = 0; x < dw; ++x)
      dst.Set(dx + x, dy + y, src.Get(sx + x * sw / dw, sy + y * sh / dh));
}

// Nine-slice with stretched edges and centre, as the painters do for non-tiled elements.
Image NineSlice(const Image &f, int W, int H, int l, int t, int r, int b) {
  Image out(W, H);
  const int w = f.Width(), h = f.Height();
  if (W < l + r)
    l = r = 0;
  if (H < t + b)
    t = b = 0;
  const int xs[4] = {0, l, w - r, w}, ys[4] = {0, t, h - b, h};
  const int XS[4] = {0, l, W - r, W}, YS[4] = {0, t, H - b, H};
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i)
      StretchInto(out, XS[i], YS[j], XS[i + 1] - XS[i], YS[j + 1] - YS[j], f, xs[i], ys[j],
                  xs[i + 1] - xs[i], ys[j + 1] - ys[j]);
  return out;
}

// Draws img at (x, y), leaving the destination where img is magenta.
void Over(Image &dst, const Image &img, int x, int y) {
  for (int j = 0; j < img.Height(); ++j)
    for (int i = 0; i < img.Width(); ++i)
      if (img.Get(i, j) != kMagenta)
        dst.Set(x + i, y + j, img.Get(i, j));
}

Image Scaled(const Image &img, int k) {
  Image out(img.Width() * k, img.Height() * k);
  StretchInto(out, 0, 0, out.Width(), out.Height(), img, 0, 0, img.Width(), img.Height());
  return out;
}

// Magenta shown as a light chequer, so transparency is visible on the sheet.
Image ShowTransparency(const Image &img) {
  Image out = img;
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x)
      if (img.Get(x, y) == kMagenta)
        out.Set(x, y, ((x / 3 + y / 3) % 2) ? 0xF4C6F4 : 0xFBE3FB);
  return out;
}

struct Skin {
  std::map<std::string, Image> images;
  const Image &operator[](const std::string &name) const {
    const auto it = images.find(name);
    if (it == images.end())
      throw std::logic_error("no picture " + name);
    return it->second;
  }
};

Image MockWindow(const Skin &s, Rgb face, bool active) {
  const int W = 400, H = 270, side = 4, cap = 28;
  const int frame = active ? 1 : 2;
  Image win(W, H, kDesk);
  Image body(W, H, face);
  body.Blit(NineSlice(FrameOf(s["left.bmp"], frame, 2), side, H, 0, cap, 0, side), 0, 0);
  body.Blit(NineSlice(FrameOf(s["right.bmp"], frame, 2), side, H, 0, cap, 0, side), W - side, 0);
  body.Blit(NineSlice(FrameOf(s["top.bmp"], frame, 2, true), W - 2 * side, cap, 8, 0, 8, 0), side,
            0);
  body.Blit(NineSlice(FrameOf(s["bottom.bmp"], frame, 2, true), W - 2 * side, side, 0, 0, 0, 0),
            side, H - side);
  Over(win, body, 0, 0);
  // Caption buttons at their skin positions; the close button shown hot on the active window.
  const struct {
    const char *file;
    int x;
  } buttons[] = {{"btnclose.bmp", 33}, {"btnmax.bmp", 61}, {"btnmin.bmp", 89}};
  for (const auto &b : buttons) {
    const int state = !active ? 4 : (std::string(b.file) == "btnclose.bmp" ? 3 : 1);
    Over(win, FrameOf(s[b.file], state, 4), W - b.x, 5);
  }
  Over(win, FrameOf(s["btnsysmenu.bmp"], 1, 4), 8, 6);
  // The menu band and some controls.
  const Image bar =
      NineSlice(FrameOf(s["menubar.bmp"], frame, 2, true), W - 2 * side, 20, 2, 0, 2, 0);
  win.Blit(bar, side, cap);
  int y = cap + 30;
  for (int i = 0; i < 5; ++i) {
    Over(win, NineSlice(FrameOf(s["button.bmp"], i + 1, 5), 60, 24, 4, 4, 4, 4), 14 + i * 66, y);
  }
  y += 36;
  for (int i = 0; i < 12; ++i)
    Over(win, FrameOf(s["check.bmp"], i + 1, 12), 14 + i * 18, y);
  for (int i = 0; i < 8; ++i)
    Over(win, FrameOf(s["radio.bmp"], i + 1, 8), 14 + 12 * 18 + 10 + i * 17, y);
  y += 24;
  // A combo box: edge ring, then the button and its arrow, as the combo picture is built.
  for (int state = 1; state <= 4; ++state) {
    const int x = 14 + (state - 1) * 84;
    Image combo = NineSlice(FrameOf(s["sunkedge.bmp"], state, 4), 76, 21, 2, 2, 2, 2);
    Over(combo, NineSlice(FrameOf(s["combobutton.bmp"], state, 4), 18, 21, 2, 2, 2, 2), 58, 0);
    const Image arrow = FrameOf(s["extraimages.bmp"], state, 5);
    Over(combo, arrow, 58 + (18 - arrow.Width()) / 2, (21 - arrow.Height()) / 2);
    Over(win, combo, x, y);
  }
  y += 30;
  // Progress at 60 %, a horizontal scroll bar with its thumb, up-down buttons.
  Over(win, NineSlice(FrameOf(s["progress.bmp"], 1, 2), 150, 14, 3, 3, 3, 3), 14, y);
  Over(win, NineSlice(FrameOf(s["progress.bmp"], 2, 2), 90, 14, 3, 3, 3, 3), 14, y);
  Image scroll = NineSlice(FrameOf(s["horzscroll.bmp"], 1, 4), 160, 16, 0, 0, 0, 0);
  scroll.Blit(FrameOf(s["scrollbar.bmp"], 1, 23), 0, 0);
  scroll.Blit(FrameOf(s["scrollbar.bmp"], 8, 23), 144, 0);
  Over(scroll, NineSlice(FrameOf(s["horzthumb.bmp"], 3, 3), 50, 16, 4, 4, 4, 4), 40, 0);
  Over(scroll, FrameOf(s["scrollbar.bmp"], 19, 23), 57, 0);
  Over(win, scroll, 180, y - 1);
  y += 26;
  // Tabs over their pane.
  Over(win, NineSlice(s["tabpane.bmp"], 200, 50, 4, 4, 4, 4), 14, y + 21);
  Over(win, NineSlice(FrameOf(s["tabs.bmp"], 1, 5), 60, 22, 4, 4, 4, 2), 14, y);
  Over(win, NineSlice(FrameOf(s["tabs.bmp"], 2, 5), 60, 22, 4, 4, 4, 2), 73, y);
  Over(win, NineSlice(FrameOf(s["tabs.bmp"], 3, 5), 60, 22, 4, 4, 4, 2), 132, y);
  // Up-down.
  Image ud(16, 24, face);
  Over(ud, NineSlice(FrameOf(s["updownvert.bmp"], 4, 8), 16, 12, 0, 0, 0, 0), 0, 0);
  Over(ud, NineSlice(FrameOf(s["updownvert.bmp"], 5, 8), 16, 12, 0, 0, 0, 0), 0, 12);
  const Image g1 = FrameOf(s["updownvertglyph.bmp"], 4, 8),
              g2 = FrameOf(s["updownvertglyph.bmp"], 5, 8);
  Over(ud, g1, (16 - g1.Width()) / 2, (12 - g1.Height()) / 2);
  Over(ud, g2, (16 - g2.Width()) / 2, 12 + (12 - g2.Height()) / 2);
  Over(win, ud, 230, y + 21);
  Over(win, FrameOf(s["thumbhorz.bmp"], 2, 5), 260, y + 21);
  Over(win, FrameOf(s["thumbvert.bmp"], 2, 5), 280, y + 21);
  return win;
}

} // namespace

Image ContactSheet(const std::vector<NamedImage> &pictures, Rgb face) {
  Skin skin;
  for (const NamedImage &p : pictures)
    skin.images[p.file] = p.image;
  const int k = 3, pad = 12, maxWidth = 1500;
  const Image active = Scaled(MockWindow(skin, face, true), 2);
  const Image inactive = Scaled(MockWindow(skin, face, false), 2);
  // Lay the enlarged pictures out in rows.
  struct Placed {
    Image img;
    int x, y;
  };
  std::vector<Placed> placed;
  int x = pad, y = pad + active.Height() + pad, rowHeight = 0;
  for (const NamedImage &p : pictures) {
    Image big = Scaled(ShowTransparency(p.image), k);
    if (x + big.Width() > maxWidth && x > pad) {
      x = pad;
      y += rowHeight + pad;
      rowHeight = 0;
    }
    placed.push_back({big, x, y});
    x += big.Width() + pad;
    rowHeight = std::max(rowHeight, big.Height());
  }
  const int sheetWidth = std::max(maxWidth + pad, 2 * active.Width() + 3 * pad);
  Image sheet(sheetWidth, y + rowHeight + pad, kSheet);
  sheet.Blit(active, pad, pad);
  sheet.Blit(inactive, pad + active.Width() + pad, pad);
  for (const Placed &p : placed) {
    sheet.Frame(p.x - 1, p.y - 1, p.img.Width() + 2, p.img.Height() + 2, 0xD0D0D0);
    sheet.Blit(p.img, p.x, p.y);
  }
  return sheet;
}

} // namespace skingen
