// Colour-keyed copies, plain copies and the parent's picture behind a control.
#include "framework/gui/controls.h"
#include "skin/form/winskinform_draw.h"
#include "tests/win/skindraw/draw_fixture.h"

#include <gtest/gtest.h>

#include <string>

using namespace skindraw;

namespace {

constexpr COLORREF kNearMagenta = RGB(254, 0, 255);

// Magenta and near-magenta sprinkled over a coordinate pattern.
std::unique_ptr<TBitmap> KeyedSource() {
  return Paint(16, 12, [](int x, int y) {
    if ((x * 3 + y) % 5 == 0)
      return kMagenta;
    if ((x + y) % 7 == 3)
      return kNearMagenta;
    return RGB(x, y, kCoordMark);
  });
}

COLORREF Background(int x, int y) {
  return RGB(200, 10 + x, 20 + y);
}

using KeyedCopy = void (*)(HDC, const RECT &, TBitmap &, TColor);

struct Path {
  const char *name;
  KeyedCopy copy;
};
const Path kPaths[] = {
    {"MaskBlt", tranmap::WithMaskBlt},
    {"XOR and mask", tranmap::WithXorMask},
    {"DrawTranmap", DrawTranmap},
};

struct KeyCase {
  const char *name;
  RECT dest;
  TColor key;
};

TEST(Tranmap, BothPathsLeaveTheKeyColourOutAndCopyEverythingElse) {
  const KeyCase cases[] = {
      {"source size", {3, 2, 19, 14}, kMagenta},
      {"destination smaller: its size is copied", {3, 2, 10, 8}, kMagenta},
      {"destination larger: only the source is copied", {3, 2, 23, 17}, kMagenta},
      {"another key", {3, 2, 19, 14}, kNearMagenta},
  };
  auto source = KeyedSource();
  for (const Path &path : kPaths)
    for (const KeyCase &c : cases) {
      SCOPED_TRACE(std::string(path.name) + ", " + c.name);
      auto canvas = Paint(24, 18, Background);
      path.copy(canvas->Canvas().Handle(), c.dest, *source, c.key);
      const RECT copied{c.dest.left, c.dest.top,
                        std::min<LONG>(c.dest.right, c.dest.left + source->Width()),
                        std::min<LONG>(c.dest.bottom, c.dest.top + source->Height())};
      int wrong = 0;
      std::string first;
      for (int y = 0; y < canvas->Height(); ++y)
        for (int x = 0; x < canvas->Width(); ++x) {
          COLORREF want = Background(x, y);
          const POINT p{x, y};
          if (PtInRect(&copied, p)) {
            const COLORREF s = PixelOf(*source, x - c.dest.left, y - c.dest.top);
            if (s != c.key)
              want = s;
          }
          if (PixelOf(*canvas, x, y) != want && wrong++ == 0)
            first = std::to_string(x) + "," + std::to_string(y);
        }
      EXPECT_EQ(wrong, 0) << "first at " << first;
    }
}

TEST(Tranmap, AnInvertedDestinationOrAnEmptySourceDrawsNothing) {
  auto source = KeyedSource();
  TBitmap empty;
  for (const Path &path : kPaths) {
    SCOPED_TRACE(path.name);
    auto canvas = Filled(24, 18);
    path.copy(canvas->Canvas().Handle(), RECT{19, 2, 3, 14}, *source, kMagenta);
    path.copy(canvas->Canvas().Handle(), RECT{3, 14, 19, 2}, *source, kMagenta);
    path.copy(canvas->Canvas().Handle(), RECT{3, 2, 19, 14}, empty, kMagenta);
    EXPECT_EQ(TouchedOutside(*canvas, RECT{0, 0, 0, 0}), 0);
  }
}

// A frame strip of two 8 x 6 frames: frame 2 has a magenta inside and a one-pixel green rim.
std::unique_ptr<TBitmap> RimmedStrip() {
  return Paint(16, 6, [](int x, int y) {
    const int fx = x % 8;
    if (x >= 8 && fx > 0 && fx < 7 && y > 0 && y < 5)
      return kMagenta;
    return RGB(0, 160, 0);
  });
}

struct Composer {
  const char *name;
  void (*draw)(TBitmap &canvas, const RECT &dest, TBitmap &source, bool transparent);
};

TEST(Transparent, ComposedPrimitivesLeaveMagentaOutOnlyWhenAsked) {
  const Composer composers[] = {
      {"DrawRect1", [](TBitmap &c, const RECT &d, TBitmap &s,
                       bool t) { DrawRect1(c.Canvas().Handle(), d, s, 2, 2, t); }},
      {"DrawRect2",
       [](TBitmap &c, const RECT &d, TBitmap &s, bool t) {
         DrawRect2(c.Canvas().Handle(), d, s, RECT{1, 1, 1, 1}, 2, 2, t, false, false);
       }},
      {"DrawRect2 tiled",
       [](TBitmap &c, const RECT &d, TBitmap &s, bool t) {
         DrawRect2(c.Canvas().Handle(), d, s, RECT{1, 1, 1, 1}, 2, 2, t, true, false);
       }},
      {"DrawRect3", [](TBitmap &c, const RECT &d, TBitmap &s,
                       bool t) { DrawRect3(c.Canvas().Handle(), d, s, 2, 2, t); }},
      {"DrawRectTile",
       [](TBitmap &c, const RECT &d, TBitmap &s, bool t) {
         DrawRectTile(c.Canvas(), d, s, RECT{1, 0, 1, 0}, 2, 2, t, false);
       }},
  };
  auto strip = RimmedStrip();
  const RECT dest{2, 2, 22, 14};
  struct Counts {
    int magenta = 0, green = 0, kept = 0;
  };
  for (const Composer &composer : composers) {
    SCOPED_TRACE(composer.name);
    Counts counts[2]; // opaque, transparent
    for (const bool transparent : {false, true}) {
      auto canvas = Filled(24, 16);
      composer.draw(*canvas, dest, *strip, transparent);
      Counts &n = counts[transparent];
      for (int y = dest.top; y < dest.bottom; ++y)
        for (int x = dest.left; x < dest.right; ++x) {
          const COLORREF c = PixelOf(*canvas, x, y);
          n.magenta += c == kMagenta;
          n.green += c == RGB(0, 160, 0);
          n.kept += c == kSentinel;
        }
      EXPECT_EQ(n.magenta + n.green + n.kept, 20 * 12);
      EXPECT_EQ(TouchedOutside(*canvas, dest), 0);
    }
    // The same picture, except that exactly its magenta pixels left the canvas as it was.
    EXPECT_GT(counts[0].magenta, 0);
    EXPECT_EQ(counts[1].magenta, 0);
    EXPECT_EQ(counts[1].green, counts[0].green);
    EXPECT_EQ(counts[1].kept, counts[0].kept + counts[0].magenta);
  }
}

TEST(Bitmapdraw, CopiesTheSourcesTopLeftPartOfTheDestinationsSize) {
  auto source = CoordStrip(10, 10);
  const RECT cases[] = {{2, 3, 9, 7}, {4, 1, 20, 14}};
  for (const RECT &dest : cases) {
    auto canvas = Filled(22, 16);
    Bitmapdraw(canvas->Canvas().Handle(), dest, *source);
    const RECT copied{dest.left, dest.top, std::min<LONG>(dest.right, dest.left + 10),
                      std::min<LONG>(dest.bottom, dest.top + 10)};
    for (int y = copied.top; y < copied.bottom; ++y)
      for (int x = copied.left; x < copied.right; ++x)
        EXPECT_EQ(SourceAt(*canvas, x, y).x * 100 + SourceAt(*canvas, x, y).y,
                  (x - dest.left) * 100 + (y - dest.top));
    EXPECT_EQ(TouchedOutside(*canvas, copied), 0);
  }
}

// ------------------------------------------------------------------ the parent's picture

// A top-level window that paints four quadrants split at (25, 30).
class QuadrantHost : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
  static COLORREF QuadrantAt(int x, int y) {
    return x < 25 ? (y < 30 ? RGB(200, 0, 0) : RGB(0, 200, 0))
                  : (y < 30 ? RGB(0, 0, 200) : RGB(200, 200, 0));
  }

protected:
  void CreateParams(TCreateParams &params) override {
    TCustomControl::CreateParams(params);
    params.Style = (params.Style & ~WS_CHILD) | WS_POPUP;
    params.Menu = nullptr; // a top-level window takes no control id
  }
  void Paint() override {
    const RECT quadrants[] = {
        {0, 0, 25, 30}, {0, 30, 25, 100}, {25, 0, 100, 30}, {25, 30, 100, 100}};
    for (const RECT &q : quadrants) {
      Canvas().Brush().SetColor(QuadrantAt(q.left, q.top));
      Canvas().FillRect(q);
    }
  }
};

TEST(DrawParentImage, PaintsTheParentsPictureBehindTheControlAndRestoresTheDC) {
  QuadrantHost host(nullptr);
  host.SetVisible(false);
  host.SetBounds(0, 0, 100, 100);
  host.HandleNeeded();
  auto *child = new TControl(&host);
  child->SetParent(&host);
  child->SetBounds(10, 20, 30, 15);

  auto target = Filled(40, 25);
  HDC dc = target->Canvas().Handle();
  DrawParentImage(child, dc, false);

  int wrong = 0;
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 40; ++x) {
      const COLORREF want = x < 30 && y < 15 ? QuadrantHost::QuadrantAt(10 + x, 20 + y) : kSentinel;
      wrong += PixelOf(*target, x, y) != want;
    }
  EXPECT_EQ(wrong, 0);

  POINT origin{-1, -1};
  GetViewportOrgEx(dc, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  GdiRegion clip(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetClipRgn(dc, clip.Get()), 0); // no clip region left behind
}

TEST(DrawParentImage, AControlWithoutAParentDrawsNothing) {
  TControl loose(nullptr);
  loose.SetBounds(0, 0, 30, 15);
  auto target = Filled(40, 25);
  DrawParentImage(&loose, target->Canvas().Handle(), false);
  DrawParentImage(nullptr, target->Canvas().Handle(), false);
  EXPECT_EQ(TouchedOutside(*target, RECT{0, 0, 0, 0}), 0);
}

} // namespace
