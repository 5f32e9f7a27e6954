#include "resources/skin/generator/painters.h"

#include "resources/skin/generator/glyphs.h"
#include "resources/skin/generator/palette.h"

#include <cmath>

namespace skingen {

namespace {

// A rounded plate with a one-pixel edge and a vertical gradient, magenta outside the corners.
Image Plate(int w, int h, int radius, Rgb edge, Rgb top, Rgb bottom, Rgb outside = kMagenta) {
  Image img(w, h, outside);
  img.VGradient(1, 1, w - 2, h - 2, top, bottom);
  img.Frame(0, 0, w, h, edge);
  RoundCorners(img, 0, 0, w, h, radius, edge, outside);
  return img;
}

constexpr int kCaption = 28; // caption band height = top border frame height
constexpr int kSide = 4;     // left, right and bottom border thickness
constexpr int kMockWidth = 72;
constexpr int kMockHeight = kCaption + 8 + kSide;
constexpr int kCapBtnW = 27, kCapBtnH = 19;
constexpr int kArrow = 16; // scroll bar arrows, tracks and thumbs

struct FrameColours {
  Rgb top, bottom, shine, outer, inner;
};

// Looks of check boxes and radio buttons.
struct BoxLook {
  Rgb edge, top, bottom, mark;
};

// Looks of edits and combo boxes.
struct EdgeLook {
  Rgb edge, face;
};

// Paints every picture of one skin from its look.
class SkinPainter {
public:
  explicit SkinPainter(const Look &look) : pal(look.colours), shape(look.shapes) {}

  std::vector<NamedImage> Paint() const;

private:
  const Palette &pal;
  const Shapes &shape;

  // ---- Window frame -----------------------------------------------------------------------

  // A whole small window frame; the four borders are cut from it so that they join seamlessly.
  Image WindowFrame(const FrameColours &c) const {
    Image img(kMockWidth, kMockHeight, c.bottom);
    img.VGradient(0, 0, kMockWidth, kCaption, c.top, c.bottom);
    if (shape.captionShine)
      img.HLine(1, 1, kMockWidth - 2, c.shine);
    // The inner line frames the client area: under the caption, beside and under the client.
    img.HLine(kSide - 1, kCaption - 1, kMockWidth - 2 * (kSide - 1), c.inner);
    img.VLine(kSide - 1, kCaption - 1, kMockHeight - kCaption - kSide + 2, c.inner);
    img.VLine(kMockWidth - kSide, kCaption - 1, kMockHeight - kCaption - kSide + 2, c.inner);
    img.HLine(kSide - 1, kMockHeight - kSide, kMockWidth - 2 * (kSide - 1), c.inner);
    img.Frame(0, 0, kMockWidth, kMockHeight, c.outer);
    RoundCorners(img, 0, 0, kMockWidth, kMockHeight, shape.windowCorner, c.outer, kMagenta,
                 Corners{true, true, false, false});
    return img;
  }

  void AddBorders(std::vector<NamedImage> &out) const {
    const Image active = WindowFrame(
        {pal.CaptionTop, pal.CaptionBottom, pal.CaptionShine, pal.FrameOuter, pal.FrameInner});
    const Image inactive =
        WindowFrame({pal.CaptionTopInactive, pal.CaptionBottomInactive, pal.CaptionShineInactive,
                     pal.FrameOuterInactive, pal.FrameInnerInactive});
    const int midW = kMockWidth - 2 * kSide;
    // Left and right: two frames side by side; top and bottom: two frames stacked.
    out.push_back({"left.bmp", Strip({active.Crop(0, 0, kSide, kMockHeight),
                                      inactive.Crop(0, 0, kSide, kMockHeight)})});
    out.push_back({"right.bmp", Strip({active.Crop(kMockWidth - kSide, 0, kSide, kMockHeight),
                                       inactive.Crop(kMockWidth - kSide, 0, kSide, kMockHeight)})});
    out.push_back({"top.bmp", Strip({active.Crop(kSide, 0, midW, kCaption),
                                     inactive.Crop(kSide, 0, midW, kCaption)},
                                    true)});
    out.push_back({"bottom.bmp", Strip({active.Crop(kSide, kMockHeight - kSide, midW, kSide),
                                        inactive.Crop(kSide, kMockHeight - kSide, midW, kSide)},
                                       true)});
  }

  // ---- Caption buttons --------------------------------------------------------------------

  // Frames: 1 normal, 2 pressed, 3 hot, 4 inactive window.
  Image CaptionButton(const Glyph &glyph, bool close) const {
    const Rgb hot = close ? pal.CloseHot : pal.CaptionHot;
    const Rgb hotEdge = close ? pal.CloseHotEdge : pal.CaptionHotEdge;
    const Rgb pressed = close ? pal.ClosePressed : pal.CaptionPressed;
    const Rgb pressedEdge = close ? pal.ClosePressedEdge : pal.CaptionPressedEdge;
    const int r = shape.controlCorner;
    Image normal(kCapBtnW, kCapBtnH);
    StampCentred(normal, 0, 0, kCapBtnW, kCapBtnH, glyph, pal.CaptionGlyph);
    Image down = Plate(kCapBtnW, kCapBtnH, r, pressedEdge, pressed, pressed);
    StampCentred(down, 1, 1, kCapBtnW, kCapBtnH, glyph, pal.CaptionGlyph); // sinks by a pixel
    Image over = Plate(kCapBtnW, kCapBtnH, r, hotEdge, hot, hot);
    StampCentred(over, 0, 0, kCapBtnW, kCapBtnH, glyph, pal.CaptionGlyph);
    Image inactive(kCapBtnW, kCapBtnH);
    StampCentred(inactive, 0, 0, kCapBtnW, kCapBtnH, glyph, pal.CaptionGlyphInactive);
    return Strip({normal, down, over, inactive});
  }

  Image SystemMenuButton() const {
    Image page(16, 16);
    page.Fill(3, 2, 10, 12, pal.Window);
    Stamp(page, 2, 1, glyphs::Document(), pal.Accent);
    return Strip({page, page, page, page});
  }

  // Minimise, restore and close of a maximised MDI child, four frames each (normal, pressed,
  // disabled, hot), drawn on the menu bar.
  Image MdiControls() const {
    const int r = shape.smallCorner;
    std::vector<Image> frames;
    for (const Glyph &g : {glyphs::Minimise(), glyphs::Restore(), glyphs::Close()}) {
      Image normal(16, 14);
      StampCentred(normal, 0, 0, 16, 14, g, pal.Glyph);
      Image down = Plate(16, 14, r, pal.PressedEdge, pal.Pressed, pal.Pressed);
      StampCentred(down, 0, 0, 16, 14, g, pal.GlyphPressed);
      Image off(16, 14);
      StampCentred(off, 0, 0, 16, 14, g, pal.DisabledText);
      Image over = Plate(16, 14, r, pal.HotEdge, pal.Hot, pal.Hot);
      StampCentred(over, 0, 0, 16, 14, g, pal.GlyphHot);
      frames.insert(frames.end(), {normal, down, off, over});
    }
    return Strip(frames);
  }

  Image MenuBar() const {
    Image active(32, 20, pal.MenuFace);
    active.VGradient(0, 0, 32, 19, pal.MenuBarTop, pal.MenuBarBottom);
    active.HLine(0, 19, 32, pal.Separator);
    Image inactive(32, 20, pal.Face);
    inactive.HLine(0, 19, 32, pal.Separator);
    return Strip({active, inactive}, true);
  }

  // ---- Buttons, check boxes, radio buttons ------------------------------------------------

  // Frames: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused (default).
  Image PushButton() const {
    const int s = 24, r = shape.controlCorner;
    Image normal = Plate(s, s, r, pal.Border, pal.FaceTop, pal.FaceBottom);
    Image down = Plate(s, s, r, pal.PressedEdge, pal.PressedTop, pal.Pressed);
    Image off = Plate(s, s, r, pal.DisabledEdge, pal.DisabledFace, pal.DisabledFace);
    Image over = Plate(s, s, r, pal.HotEdge, pal.HotTop, pal.Hot);
    Image focused = Plate(s, s, r, pal.Focus, pal.FocusTop, pal.FocusBottom);
    focused.Frame(1, 1, s - 2, s - 2, pal.FocusRing);
    RoundCorners(focused, 0, 0, s, s, r, pal.Focus, kMagenta);
    return Strip({normal, down, off, over, focused});
  }

  // The four looks of one group: enabled, hot, pressed, disabled.
  std::vector<BoxLook> BoxLooks() const {
    return {{pal.Border, pal.BoxTop, pal.BoxBottom, pal.Accent},
            {pal.HotEdge, pal.HotTop, pal.Hot, pal.Accent},
            {pal.PressedEdge, pal.PressedTop, pal.Pressed, pal.GlyphPressed},
            {pal.DisabledEdge, pal.DisabledFace, pal.DisabledFace, pal.DisabledText}};
  }

  // 12 images: unchecked, checked, indeterminate; four looks each.
  Image CheckStrip() const {
    std::vector<Image> frames;
    for (int mark = 0; mark < 3; ++mark)
      for (const BoxLook &look : BoxLooks()) {
        Image box = Plate(13, 13, shape.smallCorner, look.edge, look.top, look.bottom);
        if (mark == 1)
          StampCentred(box, 0, 0, 13, 13, glyphs::Check(), look.mark);
        if (mark == 2)
          StampCentred(box, 0, 0, 13, 13, glyphs::Indeterminate(), look.mark);
        frames.push_back(box);
      }
    return Strip(frames);
  }

  static Image RadioImage(const BoxLook &look, bool checked) {
    const int s = 13;
    Image img(s, s);
    const double centre = s / 2.0;
    for (int y = 0; y < s; ++y)
      for (int x = 0; x < s; ++x) {
        const double d = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
        if (d > centre)
          continue;
        const Rgb fill = Mix(look.bottom, look.top, 100 * y / (s - 1));
        img.Set(x, y, d > centre - 1.0 ? look.edge : fill);
      }
    if (checked)
      StampCentred(img, 0, 0, s, s, glyphs::RadioDot(), look.mark);
    return img;
  }

  // 8 images: unchecked, checked; four looks each.
  Image RadioStrip() const {
    std::vector<Image> frames;
    for (bool checked : {false, true})
      for (const BoxLook &look : BoxLooks())
        frames.push_back(RadioImage(look, checked));
    return Strip(frames);
  }

  // ---- Edits and combo boxes --------------------------------------------------------------

  // Combo box and sunk edge frames: 1 normal, 2 dropped down, 3 disabled, 4 focused or hot.
  std::vector<EdgeLook> EdgeLooks() const {
    return {{pal.Border, pal.Window},
            {pal.Focus, pal.Window},
            {pal.DisabledEdge, pal.DisabledFace},
            {pal.Focus, pal.Window}};
  }

  Image SunkEdge() const {
    std::vector<Image> frames;
    for (const EdgeLook &look : EdgeLooks()) {
      Image f(12, 12, look.face);
      f.Frame(0, 0, 12, 12, look.edge);
      frames.push_back(f);
    }
    return Strip(frames);
  }

  // The drop-down button: it covers the right end of the edge, so it carries that edge itself.
  Image ComboButton() const {
    const Rgb tops[4] = {pal.FaceTop, pal.PressedTop, pal.DisabledFace, pal.HotTop};
    const Rgb bottoms[4] = {pal.FaceBottom, pal.Pressed, pal.DisabledFace, pal.Hot};
    const std::vector<EdgeLook> edges = EdgeLooks();
    std::vector<Image> frames;
    for (int i = 0; i < 4; ++i) {
      const Rgb edge = edges[static_cast<size_t>(i)].edge;
      Image f(18, 21, edge);
      f.VGradient(1, 1, 16, 19, tops[i], bottoms[i]);
      f.VLine(0, 0, 21, i == 2 ? pal.DisabledEdge : pal.BorderLight);
      f.HLine(0, 0, 18, edge);
      f.HLine(0, 20, 18, edge);
      f.VLine(17, 0, 21, edge);
      frames.push_back(f);
    }
    return Strip(frames);
  }

  // The glyph colours of small buttons: normal, pressed, disabled, hot.
  std::vector<Rgb> GlyphColours() const {
    return {pal.Glyph, pal.GlyphPressed, pal.DisabledText, pal.GlyphHot};
  }

  // Drop-down arrows in four states, then the status bar's size grip.
  Image ExtraImages() const {
    std::vector<Image> frames;
    for (Rgb c : GlyphColours()) {
      Image f(11, 11);
      StampCentred(f, 0, 0, 11, 11, glyphs::ChevronDown(), c);
      frames.push_back(f);
    }
    Image grip(11, 11);
    Stamp(grip, 0, 2, glyphs::SizeGrip(), pal.Border);
    frames.push_back(grip);
    return Strip(frames);
  }

  // Up-down buttons: frames 1-4 the first button, 5-8 the second (normal, pressed, disabled,
  // hot).
  Image UpDownButtons(bool vertical) const {
    const int w = vertical ? 16 : 11, h = vertical ? 11 : 16;
    struct Look {
      Rgb edge, top, bottom;
    };
    const Look looks[4] = {{pal.Border, pal.FaceTop, pal.FaceBottom},
                           {pal.PressedEdge, pal.PressedTop, pal.Pressed},
                           {pal.DisabledEdge, pal.DisabledFace, pal.DisabledFace},
                           {pal.HotEdge, pal.HotTop, pal.Hot}};
    std::vector<Image> frames;
    for (int button = 0; button < 2; ++button)
      for (const Look &look : looks) {
        Image f(w, h);
        f.VGradient(1, 1, w - 2, h - 2, look.top, look.bottom);
        f.Frame(0, 0, w, h, look.edge);
        // Round only the outer corners: the two buttons meet along a straight edge.
        const bool first = button == 0;
        Corners corners = vertical ? Corners{first, first, !first, !first}
                                   : Corners{first, !first, first, !first};
        RoundCorners(f, 0, 0, w, h, shape.smallCorner, look.edge, kMagenta, corners);
        frames.push_back(f);
      }
    return Strip(frames);
  }

  Image UpDownGlyphs(bool vertical) const {
    const Glyph down = glyphs::TriangleDown();
    const Glyph first = vertical ? FlipVertical(down) : FlipHorizontal(Transpose(down));
    const Glyph second = vertical ? down : Transpose(down);
    std::vector<Image> frames;
    for (const Glyph *g : {&first, &second})
      for (Rgb c : GlyphColours()) {
        Image f(GlyphWidth(*g), GlyphHeight(*g));
        Stamp(f, 0, 0, *g, c);
        frames.push_back(f);
      }
    return Strip(frames);
  }

  // ---- Scroll bars ------------------------------------------------------------------------

  // One arrow in four states: normal, pressed, disabled, hot.
  std::vector<Image> ScrollArrows(const Glyph &g) const {
    const int r = shape.smallCorner;
    Image normal(kArrow, kArrow, pal.Track);
    StampCentred(normal, 0, 0, kArrow, kArrow, g, pal.Glyph);
    Image down(kArrow, kArrow, pal.Track);
    down.Blit(
        Plate(kArrow - 2, kArrow - 2, r, pal.PressedEdge, pal.Pressed, pal.Pressed, pal.Track), 1,
        1);
    StampCentred(down, 0, 0, kArrow, kArrow, g, pal.GlyphPressed);
    Image off(kArrow, kArrow, pal.Track);
    StampCentred(off, 0, 0, kArrow, kArrow, g, pal.DisabledEdge);
    Image over(kArrow, kArrow, pal.Track);
    over.Blit(Plate(kArrow - 2, kArrow - 2, r, pal.HotEdgeSoft, pal.HotTop, pal.Hot, pal.Track), 1,
              1);
    StampCentred(over, 0, 0, kArrow, kArrow, g, pal.GlyphHot);
    return {normal, down, off, over};
  }

  // The 23 images: left, right, up and down arrows (four each), the horizontal and the
  // vertical thumb grip (normal, pressed, hot), and a plain corner piece.
  Image ScrollbarStrip() const {
    const Glyph down = glyphs::ChevronDown();
    const Glyph up = FlipVertical(down);
    const Glyph right = Transpose(down);
    const Glyph left = FlipHorizontal(right);
    std::vector<Image> frames;
    for (const Glyph *g : {&left, &right, &up, &down})
      for (Image &f : ScrollArrows(*g))
        frames.push_back(f);
    const Rgb grips[3] = {pal.ThumbGrip, pal.ThumbGripPressed, pal.ThumbGripHot};
    for (bool vertical : {false, true})
      for (Rgb c : grips) {
        Image f(kArrow, kArrow);
        const Glyph grip =
            vertical ? Transpose(glyphs::GripHorizontal()) : glyphs::GripHorizontal();
        StampCentred(f, 0, 0, kArrow, kArrow, grip, c);
        frames.push_back(f);
      }
    frames.push_back(Image(kArrow, kArrow, pal.Track));
    return Strip(frames);
  }

  // Tracks: 1 enabled, 2 and 4 the same, 3 disabled.
  Image ScrollTrack(bool vertical) const {
    std::vector<Image> frames;
    for (int i = 0; i < 4; ++i) {
      Image f(kArrow, kArrow, i == 2 ? pal.DisabledFace : pal.Track);
      if (vertical)
        f.VLine(0, 0, kArrow, pal.TrackEdge);
      else
        f.HLine(0, 0, kArrow, pal.TrackEdge);
      frames.push_back(f);
    }
    return Strip(frames);
  }

  // Thumbs: 1 normal, 2 pressed, 3 hot; a rounded bar two pixels narrower than the track.
  Image ScrollThumb(bool vertical) const {
    const Rgb fills[3] = {pal.Thumb, pal.ThumbPressed, pal.ThumbHot};
    const Rgb edges[3] = {pal.ThumbEdge, pal.PressedEdge, pal.HotEdge};
    std::vector<Image> frames;
    for (int i = 0; i < 3; ++i) {
      Image f(kArrow, kArrow);
      const int x = vertical ? 2 : 0, y = vertical ? 0 : 2;
      const int w = vertical ? kArrow - 4 : kArrow, h = vertical ? kArrow : kArrow - 4;
      f.Blit(Plate(w, h, shape.controlCorner, edges[i], fills[i], fills[i]), x, y);
      frames.push_back(f);
    }
    return Strip(frames);
  }

  // ---- Tabs, headers, menus, bars ---------------------------------------------------------

  Image Tab(Rgb edge, Rgb top, Rgb bottom, bool selected, Rgb accent) const {
    const int w = 32, h = 22;
    Image f(w, h, kMagenta);
    f.VGradient(1, 1, w - 2, h - 1, top, bottom);
    f.HLine(0, 0, w, edge);
    f.VLine(0, 0, h, edge);
    f.VLine(w - 1, 0, h, edge);
    if (!selected)
      f.HLine(0, h - 1, w, pal.Border);
    if (accent != kMagenta)
      f.HLine(1, 1, w - 2, accent);
    RoundCorners(f, 0, 0, w, h, shape.controlCorner, edge, kMagenta,
                 Corners{true, true, false, false});
    return f;
  }

  // Frames: 1 normal, 2 selected, 3 hot, 4 disabled, 5 selected with focus.
  Image Tabs() const {
    return Strip({Tab(pal.Border, pal.TabTop, pal.TabBottom, false, kMagenta),
                  Tab(pal.Border, pal.TabSelectedTop, pal.Face, true, pal.Focus),
                  Tab(pal.HotEdge, pal.HotTop, pal.Hot, false, kMagenta),
                  Tab(pal.DisabledEdge, pal.DisabledFace, pal.DisabledFace, false, kMagenta),
                  Tab(pal.Border, pal.TabSelectedTop, pal.Face, true, pal.Accent)});
  }

  Image TabPane() const {
    Image f(16, 16, pal.Face);
    f.Frame(0, 0, 16, 16, pal.Border);
    f.HLine(1, 1, 14, pal.EdgeLight);
    f.VLine(1, 1, 14, pal.EdgeLight);
    return f;
  }

  // Frames: 1 normal, 2 hot, 3 pressed, 4 and 5 as normal.
  Image HeaderBar() const {
    auto item = [this](Rgb top, Rgb bottom) {
      Image f(20, 20);
      f.VGradient(0, 0, 20, 19, top, bottom);
      f.HLine(0, 19, 20, pal.Border);
      f.VLine(19, 3, 13, pal.HeaderLine);
      return f;
    };
    const Image normal = item(pal.HeaderTop, pal.HeaderBottom);
    return Strip({normal, item(pal.HeaderHotTop, pal.HeaderHotBottom),
                  item(pal.HeaderPressedTop, pal.HeaderPressedBottom), normal, normal});
  }

  // Frames: 1 normal, 2 separator, 3 disabled, 4 selected, 5 selected and pressed.
  Image MenuItem() const {
    const int w = 24, h = 20, r = shape.smallCorner;
    Image normal(w, h, pal.MenuFace);
    Image separator(w, h, pal.MenuFace);
    separator.HLine(0, h / 2 - 1, w, pal.Separator);
    separator.HLine(0, h / 2, w, pal.EdgeLight);
    Image selected = Plate(w, h, r, pal.HotEdgeSoft, pal.HotTop, pal.Hot, pal.MenuFace);
    Image pressed = Plate(w, h, r, pal.HotEdge, pal.Hot, pal.Hot, pal.MenuFace);
    return Strip({normal, separator, normal, selected, pressed});
  }

  Image MenuBackground() const {
    Image f(24, 24, pal.MenuFace);
    f.Frame(0, 0, 24, 24, pal.Border);
    return f;
  }

  // Tool bar buttons: flat until touched. 1 normal, 2 pressed, 3 disabled, 4 hot, 5 checked.
  Image ToolBars() const {
    const int s = 22, r = shape.smallCorner;
    Image flat(s, s);
    return Strip({flat, Plate(s, s, r, pal.PressedEdge, pal.Pressed, pal.Pressed), flat,
                  Plate(s, s, r, pal.HotEdgeSoft, pal.HotTop, pal.Hot),
                  Plate(s, s, r, pal.HotEdge, pal.Checked, pal.Checked)});
  }

  // Panels by their bevel: 1 lowered, 2 raised, 3 none (plain, with a separator).
  Image StatusBarEdges() const {
    Image plain(16, 16, pal.Face);
    plain.HLine(0, 0, 16, pal.Separator);
    plain.VLine(15, 3, 10, pal.BorderLight);
    Image lowered(16, 16, pal.Face);
    lowered.Frame(0, 0, 16, 16, pal.BorderLight);
    Image raised(16, 16, pal.Face);
    raised.Frame(0, 0, 16, 16, pal.BorderLight);
    raised.HLine(0, 0, 15, pal.EdgeLight);
    raised.VLine(0, 0, 15, pal.EdgeLight);
    return Strip({lowered, raised, plain});
  }

  Image GroupBoxEdge() const {
    auto edge = [this](Rgb c) {
      Image f(16, 16);
      f.Frame(0, 0, 16, 16, c);
      RoundCorners(f, 0, 0, 16, 16, shape.controlCorner, c, kMagenta);
      return f;
    };
    return Strip({edge(pal.BorderLight), edge(pal.GroupEdgeDisabled)});
  }

  Image GroupBoxLabel() const {
    return Plate(20, 18, shape.controlCorner, pal.LabelEdge, pal.LabelTop, pal.LabelBottom);
  }

  // Frames: 1 the trough, 2 the filled part.
  Image Progress() const {
    const int r = shape.smallCorner;
    Image trough = Plate(24, 14, r, pal.Border, pal.TroughTop, pal.TroughBottom);
    Image bar = Plate(24, 14, r, pal.Accent, pal.BarTop, pal.BarBottom);
    bar.HLine(2, 1, 20, pal.BarShine);
    return Strip({trough, bar});
  }

  Image ProgressChunk() const {
    Image f(10, 14);
    f.VGradient(0, 0, 9, 14, pal.BarTop, pal.BarBottom);
    f.HLine(0, 0, 9, pal.BarShine);
    return f;
  }

  // A sunk track bar channel, 16 x 4 (upright: 4 x 16): shadow above and to the left, the
  // light edge below and to the right.
  Image TrackChannel(bool vertical) const {
    Image f(16, 4, pal.Window);
    f.HLine(0, 0, 16, pal.ChannelShadow);
    f.VLine(0, 0, 4, pal.ChannelShadow);
    f.HLine(1, 3, 15, pal.EdgeLight);
    f.VLine(15, 1, 3, pal.EdgeLight);
    if (!vertical)
      return f;
    Image up(4, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 4; ++x)
        up.Set(x, y, f.Get(y, x));
    return up;
  }

  // Trackbar thumbs. The painter shows frame 2; 1 and 2 are the resting look, then hot,
  // pressed, disabled.
  Image TrackThumb(bool vertical) const {
    const int w = vertical ? 20 : 11, h = vertical ? 11 : 20, r = shape.controlCorner;
    const Image rest = Plate(w, h, r, pal.PressedEdge, pal.FaceTop, pal.Hot);
    return Strip({rest, rest, Plate(w, h, r, pal.Focus, pal.HotTop, pal.Pressed),
                  Plate(w, h, r, pal.Accent, pal.Pressed, pal.PressedTop),
                  Plate(w, h, r, pal.DisabledEdge, pal.DisabledFace, pal.DisabledFace)});
  }
};

std::vector<NamedImage> SkinPainter::Paint() const {
  std::vector<NamedImage> out;
  AddBorders(out);
  const bool thin = shape.thinCaptionGlyphs;
  out.push_back(
      {"btnclose.bmp", CaptionButton(thin ? glyphs::CloseThin() : glyphs::Close(), true)});
  out.push_back(
      {"btnmax.bmp", CaptionButton(thin ? glyphs::MaximiseThin() : glyphs::Maximise(), false)});
  out.push_back(
      {"btnrestore.bmp", CaptionButton(thin ? glyphs::RestoreThin() : glyphs::Restore(), false)});
  out.push_back(
      {"btnmin.bmp", CaptionButton(thin ? glyphs::MinimiseThin() : glyphs::Minimise(), false)});
  out.push_back({"btnsysmenu.bmp", SystemMenuButton()});
  out.push_back({"mdicontrols.bmp", MdiControls()});
  out.push_back({"menubar.bmp", MenuBar()});
  out.push_back({"button.bmp", PushButton()});
  out.push_back({"check.bmp", CheckStrip()});
  out.push_back({"radio.bmp", RadioStrip()});
  out.push_back({"sunkedge.bmp", SunkEdge()});
  out.push_back({"combobutton.bmp", ComboButton()});
  out.push_back({"extraimages.bmp", ExtraImages()});
  out.push_back({"updownvert.bmp", UpDownButtons(true)});
  out.push_back({"updownvertglyph.bmp", UpDownGlyphs(true)});
  out.push_back({"updownhorz.bmp", UpDownButtons(false)});
  out.push_back({"updownhorzglyph.bmp", UpDownGlyphs(false)});
  out.push_back({"scrollbar.bmp", ScrollbarStrip()});
  out.push_back({"horzscroll.bmp", ScrollTrack(false)});
  out.push_back({"vertscroll.bmp", ScrollTrack(true)});
  out.push_back({"horzthumb.bmp", ScrollThumb(false)});
  out.push_back({"vertthumb.bmp", ScrollThumb(true)});
  out.push_back({"tabs.bmp", Tabs()});
  out.push_back({"tabpane.bmp", TabPane()});
  out.push_back({"headerbar.bmp", HeaderBar()});
  out.push_back({"menuitem.bmp", MenuItem()});
  out.push_back({"menubackground.bmp", MenuBackground()});
  out.push_back({"toolbars.bmp", ToolBars()});
  out.push_back({"statusbar.bmp", StatusBarEdges()});
  out.push_back({"groupboxedge.bmp", GroupBoxEdge()});
  out.push_back({"groupbox.bmp", GroupBoxLabel()});
  out.push_back({"progress.bmp", Progress()});
  out.push_back({"progresschunk.bmp", ProgressChunk()});
  out.push_back({"thumbhorz.bmp", TrackThumb(false)});
  out.push_back({"thumbvert.bmp", TrackThumb(true)});
  if (shape.trackChannels) {
    out.push_back({"track.bmp", TrackChannel(false)});
    out.push_back({"trackvert.bmp", TrackChannel(true)});
  }
  return out;
}

} // namespace

std::vector<NamedImage> PaintSkin(const Look &look) {
  return SkinPainter(look).Paint();
}

// ---- Built-in bitmaps ---------------------------------------------------------------------

namespace {

Image FromRows(const std::vector<std::string> &rows) {
  Image img(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x) {
      const char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
      img.Set(x, y, c == 'S' ? 0xC0C0C0 : c == 'G' ? 0x808080 : 0xFFFFFF);
    }
  return img;
}

} // namespace

std::vector<BuiltinImage> PaintBuiltins() {
  // Channels as the object model describes them: S silver, G grey, W white.
  Image track =
      FromRows({"SSGGGGGGGGGGGGWW", "SSWWWWWWWWWWWWWW", "GSWWWWWWWWWWWWWW", "SSWWWWWWWWWWWWWW"});
  std::vector<std::string> vertRows = {"SSGS", "SSSS"};
  for (int i = 0; i < 12; ++i)
    vertRows.push_back("GWWW");
  vertRows.insert(vertRows.end(), {"WWWW", "WWWW"});
  Image trackVert = FromRows(vertRows);
  // Restore, maximise, minimise, close: black on white, 16 x 16 each.
  Image glyphStrip(64, 16, 0xFFFFFF);
  int x = 0;
  for (const Glyph &g :
       {glyphs::Restore(), glyphs::Maximise(), glyphs::Minimise(), glyphs::Close()}) {
    StampCentred(glyphStrip, x, 0, 16, 16, g, 0x000000);
    x += 16;
  }
  return {{"track.bmp", track, 4},
          {"trackvert.bmp", trackVert, 4},
          {"captionglyphs.bmp", glyphStrip, 1}};
}

} // namespace skingen
