// Geometry of the slicing primitives: which frame pixel lands on which destination pixel.
//
// The sources are coordinate strips (every pixel names its own position), so each destination
// pixel tells where it was copied from. Along an axis a piece keeps at its size, the position
// must be exact; along a stretched axis it must stay inside the piece and never run backwards.
#include "skin/form/winskinform_draw.h"
#include "tests/win/skindraw/draw_fixture.h"

#include <gtest/gtest.h>

#include <string>

using namespace skindraw;

namespace {

// Frame geometry in the strip.
struct Layout {
  int ox, oy, w, h;
};

// Four 20 x 10 frames side by side (80 wide) or stacked (40 high).
constexpr int kFrameW = 20, kFrameH = 10, kFrames = 4;
// Left 3, top 2, right 4, bottom 3: no two alike, so swapped margins show.
constexpr RECT kMargins{3, 2, 4, 3};

Layout FrameLayout(int index, bool vertical) {
  return vertical ? Layout{0, (index - 1) * kFrameH, kFrameW, kFrameH}
                  : Layout{(index - 1) * kFrameW, 0, kFrameW, kFrameH};
}

std::unique_ptr<TBitmap> Strip(bool vertical) {
  return vertical ? CoordStrip(kFrameW, kFrameH * kFrames) : CoordStrip(kFrameW * kFrames, kFrameH);
}

struct Range {
  int lo, hi;
};

// The frame coordinates that may land on destination coordinate d (of D) along one axis of a
// nine-slice image, with margins a and b on a frame n long.
Range NineSliceAxis(int d, int D, int n, int a, int b, bool tile) {
  if (D < a + b)
    a = b = 0;
  if (d < a)
    return {d, d};
  if (d >= D - b)
    return {d - D + n, d - D + n};
  if (tile) {
    const int s = a + (d - a) % (n - a - b);
    return {s, s};
  }
  if (D == n)
    return {d, d};
  return {a, n - b - 1};
}

using AxisRule = std::function<Range(int d, int D)>;
// The allowed frame positions for destination pixel (x, y) of W x H.
using PixelRule = std::function<std::pair<Range, Range>(int x, int y, int W, int H)>;

PixelRule Separable(AxisRule xRule, AxisRule yRule) {
  return [=](int x, int y, int W, int H) { return std::make_pair(xRule(x, W), yRule(y, H)); };
}

// Checks every pixel of `area` in `target` against the rule; "" when all hold.
std::string CheckArea(TBitmap &target, const RECT &area, const Layout &f, const PixelRule &rule,
                      bool monotonic) {
  const int W = area.right - area.left, H = area.bottom - area.top;
  int bad = 0;
  std::string first;
  auto fail = [&](int x, int y, POINT s, const char *why) {
    if (bad++ == 0)
      first = std::string(why) + " at (" + std::to_string(x) + "," + std::to_string(y) +
              "): source (" + std::to_string(s.x - f.ox) + "," + std::to_string(s.y - f.oy) +
              ") of the frame";
  };
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const POINT s = SourceAt(target, area.left + x, area.top + y);
      const int sx = s.x - f.ox, sy = s.y - f.oy;
      const auto [rx, ry] = rule(x, y, W, H);
      if (s.x < 0)
        fail(x, y, s, "not from the strip");
      else if (sx < rx.lo || sx > rx.hi || sy < ry.lo || sy > ry.hi)
        fail(x, y, s, "wrong piece");
      else if (monotonic && x > 0 && SourceAt(target, area.left + x - 1, area.top + y).x > s.x)
        fail(x, y, s, "runs backwards across");
      else if (monotonic && y > 0 && SourceAt(target, area.left + x, area.top + y - 1).y > s.y)
        fail(x, y, s, "runs backwards down");
    }
  return bad == 0 ? "" : first + " (" + std::to_string(bad) + " bad pixels)";
}

std::string CheckArea(TBitmap &target, const RECT &area, const Layout &f, const AxisRule &xRule,
                      const AxisRule &yRule, bool monotonic) {
  return CheckArea(target, area, f, Separable(xRule, yRule), monotonic);
}

AxisRule NineX(const Layout &f, bool tile) {
  return
      [=](int d, int D) { return NineSliceAxis(d, D, f.w, kMargins.left, kMargins.right, tile); };
}
AxisRule NineY(const Layout &f, bool tile) {
  return
      [=](int d, int D) { return NineSliceAxis(d, D, f.h, kMargins.top, kMargins.bottom, tile); };
}
// A whole frame side stretched over the destination.
AxisRule Whole(int n) {
  return [=](int d, int D) { return NineSliceAxis(d, D, n, 0, 0, false); };
}

// Only the centre is tiled; the edges beside it stay stretched along their length.
PixelRule NineRule(const Layout &f, bool tile) {
  return [=](int x, int y, int W, int H) {
    const bool fitsX = W >= kMargins.left + kMargins.right;
    const bool fitsY = H >= kMargins.top + kMargins.bottom;
    const bool middleX = x >= (fitsX ? kMargins.left : 0) && x < W - (fitsX ? kMargins.right : 0);
    const bool middleY = y >= (fitsY ? kMargins.top : 0) && y < H - (fitsY ? kMargins.bottom : 0);
    const bool tiled = tile && middleX && middleY;
    return std::make_pair(NineX(f, tiled)(x, W), NineY(f, tiled)(y, H));
  };
}

// -------------------------------------------------------------------- nine-slice

struct SliceCase {
  const char *name;
  int W, H, index;
  bool vertical, tile;
};

const SliceCase kSliceCases[] = {
    {"equal to the frame", 20, 10, 2, false, false},
    {"larger", 47, 23, 2, false, false},
    {"smaller, margins still fit", 9, 6, 2, false, false},
    {"narrower than left + right", 6, 23, 3, false, false},
    {"lower than top + bottom", 47, 4, 1, false, false},
    {"too small both ways", 5, 4, 4, false, false},
    {"vertical strip, equal", 20, 10, 3, true, false},
    {"vertical strip, larger", 47, 23, 2, true, false},
    {"tiled, uneven centre", 47, 23, 2, false, true},
    {"tiled, vertical strip", 47, 23, 4, true, true},
    {"tiled, narrower than left + right", 6, 23, 1, false, true},
};

TEST(NineSlice, EveryPixelComesFromTheRightPieceOfTheRightFrame) {
  for (const SliceCase &c : kSliceCases) {
    SCOPED_TRACE(c.name);
    auto strip = Strip(c.vertical);
    const Layout f = FrameLayout(c.index, c.vertical);
    const RECT dest{0, 0, c.W, c.H};

    auto image = GetHMap(dest, *strip, kMargins, c.index, kFrames, c.tile, c.vertical);
    ASSERT_EQ(image->Width(), c.W);
    ASSERT_EQ(image->Height(), c.H);
    EXPECT_EQ(CheckArea(*image, dest, f, NineRule(f, c.tile), !c.tile), "");

    // DrawRect2 puts the same picture at the destination and nothing around it.
    auto canvas = Filled(c.W + 10, c.H + 12);
    const RECT at{5, 7, 5 + c.W, 7 + c.H};
    DrawRect2(canvas->Canvas().Handle(), at, *strip, kMargins, c.index, kFrames, false, c.tile,
              c.vertical);
    int differs = 0;
    for (int y = 0; y < c.H; ++y)
      for (int x = 0; x < c.W; ++x)
        differs += PixelOf(*canvas, at.left + x, at.top + y) != PixelOf(*image, x, y);
    EXPECT_EQ(differs, 0);
    EXPECT_EQ(TouchedOutside(*canvas, at), 0);
  }
}

TEST(NineSlice, FrameTwoOfFourIn80PixelsReadsColumns20To39) {
  auto strip = CoordStrip(80, 10);
  auto image = GetHMap(RECT{0, 0, 20, 10}, *strip, RECT{0, 0, 0, 0}, 2, 4, false, false);
  for (int x = 0; x < 20; ++x)
    EXPECT_EQ(SourceAt(*image, x, 5).x, 20 + x);
}

TEST(NineSlice, DrawBorderDrawsTheEightBorderPiecesAndLeavesTheCentre) {
  for (const SliceCase &c : kSliceCases) {
    if (c.tile)
      continue;
    SCOPED_TRACE(c.name);
    auto strip = Strip(c.vertical);
    const RECT at{4, 6, 4 + c.W, 6 + c.H};
    auto image =
        GetHMap(RECT{0, 0, c.W, c.H}, *strip, kMargins, c.index, kFrames, false, c.vertical);
    auto canvas = Filled(c.W + 8, c.H + 12);
    DrawBorder(canvas->Canvas().Handle(), at, *strip, kMargins, c.index, kFrames, 0, c.vertical);

    const bool fitsX = c.W >= kMargins.left + kMargins.right;
    const bool fitsY = c.H >= kMargins.top + kMargins.bottom;
    const RECT centre{fitsX ? kMargins.left : 0, fitsY ? kMargins.top : 0,
                      c.W - (fitsX ? kMargins.right : 0), c.H - (fitsY ? kMargins.bottom : 0)};
    int wrong = 0;
    for (int y = 0; y < c.H; ++y)
      for (int x = 0; x < c.W; ++x) {
        const POINT p{x, y};
        const COLORREF want = PtInRect(&centre, p) ? kSentinel : PixelOf(*image, x, y);
        wrong += PixelOf(*canvas, at.left + x, at.top + y) != want;
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(TouchedOutside(*canvas, at), 0);
  }
}

// -------------------------------------------------------------------- whole frames

TEST(WholeFrame, DrawRect1StretchesTheWholeFrameOverTheDestination) {
  auto strip = Strip(false);
  const Layout f = FrameLayout(3, false);
  auto canvas = Filled(46, 26);
  const RECT at{2, 3, 42, 23};
  DrawRect1(canvas->Canvas().Handle(), at, *strip, 3, kFrames, false);
  EXPECT_EQ(CheckArea(*canvas, at, f, Whole(f.w), Whole(f.h), true), "");
  // Enlarged, the first and last destination pixels show the frame's first and last pixels.
  EXPECT_EQ(SourceAt(*canvas, at.left, at.top).x, f.ox);
  EXPECT_EQ(SourceAt(*canvas, at.right - 1, at.bottom - 1).x, f.ox + f.w - 1);
  EXPECT_EQ(TouchedOutside(*canvas, at), 0);
}

struct CentreCase {
  const char *name;
  RECT dest;
  POINT topLeft; // where the 20 x 10 frame must land
};

TEST(WholeFrame, DrawRect3CentresTheFrameAtItsOwnSizeAndOverflowsWhenLarger) {
  const CentreCase cases[] = {
      {"room on every side", {0, 0, 40, 30}, {10, 10}},
      {"one pixel to spare rounds down", {3, 4, 24, 15}, {3, 4}},
      // (5 - 20) / 2 and (3 - 10) / 2 truncate toward zero: -7 and -3, not -8 and -4.
      {"smaller: overflow on all sides", {10, 10, 15, 13}, {3, 7}},
  };
  auto strip = Strip(false);
  const Layout f = FrameLayout(2, false);
  for (const CentreCase &c : cases) {
    SCOPED_TRACE(c.name);
    auto canvas = Filled(50, 40);
    DrawRect3(canvas->Canvas().Handle(), c.dest, *strip, 2, kFrames, false);
    const RECT landed{c.topLeft.x, c.topLeft.y, c.topLeft.x + f.w, c.topLeft.y + f.h};
    const AxisRule exactX = [&](int d, int) { return Range{d, d}; };
    EXPECT_EQ(CheckArea(*canvas, landed, f, exactX, exactX, false), "");
    EXPECT_EQ(TouchedOutside(*canvas, landed), 0);
  }
}

// -------------------------------------------------------------------- three slices

struct ThreeCase {
  const char *name;
  bool across; // DrawRectH; else DrawRectV
  int W, H;
};

TEST(ThreeSlice, CapsKeepTheirSizeAndANarrowDestinationGetsTheWholeFrame) {
  const ThreeCase cases[] = {
      {"across, larger", true, 47, 23},
      {"across, narrower than the frame", true, 15, 10},
      {"across, as wide as the frame, lower", true, 20, 5},
      {"down, larger", false, 23, 47},
      {"down, lower than the frame", false, 20, 8},
      {"down, as high as the frame, narrower", false, 5, 10},
  };
  auto strip = Strip(false);
  const Layout f = FrameLayout(2, false);
  for (const ThreeCase &c : cases) {
    SCOPED_TRACE(c.name);
    auto canvas = Filled(c.W + 8, c.H + 10);
    const RECT at{4, 6, 4 + c.W, 6 + c.H};
    HDC dc = canvas->Canvas().Handle();
    AxisRule capped;
    if (c.across) {
      DrawRectH(dc, at, *strip, kMargins, 2, kFrames, 0, false);
      capped = c.W < f.w ? Whole(f.w) : NineX(f, false);
      EXPECT_EQ(CheckArea(*canvas, at, f, capped, Whole(f.h), true), "");
    } else {
      DrawRectV(dc, at, *strip, kMargins, 2, kFrames, 0, false);
      capped = c.H < f.h ? Whole(f.h) : NineY(f, false);
      EXPECT_EQ(CheckArea(*canvas, at, f, Whole(f.w), capped, true), "");
    }
    EXPECT_EQ(TouchedOutside(*canvas, at), 0);
  }
}

struct TileCase {
  const char *name;
  int W, H;
  LONG left, right;
};

TEST(ThreeSlice, DrawRectTileTilesTheMiddleAndTheRightCapCoversTheOverflow) {
  const TileCase cases[] = {
      {"uneven middle", 47, 23, 3, 4},          {"exact frame", 20, 10, 3, 4},
      {"no middle: caps meet", 47, 10, 10, 10}, {"no middle: caps overlap", 47, 10, 12, 10},
      {"narrower than both caps", 5, 10, 3, 4},
  };
  auto strip = Strip(false);
  const Layout f = FrameLayout(3, false);
  for (const TileCase &c : cases) {
    SCOPED_TRACE(c.name);
    auto canvas = Filled(c.W + 8, c.H + 10);
    const RECT at{4, 6, 4 + c.W, 6 + c.H};
    DrawRectTile(canvas->Canvas(), at, *strip, RECT{c.left, 0, c.right, 0}, 3, kFrames, false,
                 false);
    const int m = f.w - c.left - c.right;
    // The right cap is drawn last, so it wins wherever pieces overlap.
    const AxisRule x = [&](int d, int D) -> Range {
      if (d >= D - c.right)
        return {d - D + f.w, d - D + f.w};
      if (d < c.left)
        return {d, d};
      if (m > 0)
        return {c.left + (d - c.left) % m, c.left + (d - c.left) % m};
      return {0, f.w - 1};
    };
    EXPECT_EQ(CheckArea(*canvas, at, f, x, Whole(f.h), false), "");
    EXPECT_EQ(TouchedOutside(*canvas, at), 0);
  }
}

TEST(ThreeSlice, GetThumbMapStacksThreeBandsOverTheFullWidthUnlessFlagged) {
  auto strip = Strip(false);
  const Layout f = FrameLayout(2, false);
  auto bands = GetThumbMap(RECT{0, 0, 33, 27}, *strip, kMargins, 2, kFrames, 0, false);
  ASSERT_EQ(bands->Width(), 33);
  ASSERT_EQ(bands->Height(), 27);
  EXPECT_EQ(CheckArea(*bands, RECT{0, 0, 33, 27}, f, Whole(f.w), NineY(f, false), true), "");

  auto blank = GetThumbMap(RECT{0, 0, 33, 27}, *strip, kMargins, 2, kFrames, 0, true);
  ASSERT_EQ(blank->Width(), 33);
  EXPECT_EQ(SourceAt(*blank, 16, 13).x, -1);
}

// -------------------------------------------------------------------- tiling

TEST(Tiling, DrawBGbmpRepeatsTheSourceRectangleAndOverflowsTheDestination) {
  auto source = CoordStrip(10, 10);
  auto canvas = Filled(12, 10);
  // A 3 x 2 tile from (4, 5) over (1, 1)-(8, 6): tiles at x 1, 4, 7 and y 1, 3, 5.
  DrawBGbmp(canvas->Canvas(), RECT{1, 1, 8, 6}, *source, RECT{4, 5, 7, 7});
  const RECT covered{1, 1, 10, 7}; // the last column and row run past the destination
  for (int y = covered.top; y < covered.bottom; ++y)
    for (int x = covered.left; x < covered.right; ++x) {
      const POINT s = SourceAt(*canvas, x, y);
      EXPECT_EQ(s.x, 4 + (x - 1) % 3) << x << "," << y;
      EXPECT_EQ(s.y, 5 + (y - 1) % 2) << x << "," << y;
    }
  EXPECT_EQ(TouchedOutside(*canvas, covered), 0);
}

TEST(Tiling, DrawBGbmpWithAnEmptySourceRectangleDrawsNothing) {
  auto source = CoordStrip(10, 10);
  const RECT empties[] = {{4, 5, 4, 9}, {4, 5, 9, 5}, {6, 5, 3, 9}, {4, 8, 9, 2}};
  for (const RECT &r : empties) {
    auto canvas = Filled(12, 10);
    DrawBGbmp(canvas->Canvas(), RECT{0, 0, 12, 10}, *source, r);
    EXPECT_EQ(TouchedOutside(*canvas, RECT{0, 0, 0, 0}), 0);
  }
}

// -------------------------------------------------------------------- nothing to draw

TEST(Guards, InvertedDestinationsEmptySourcesAndBadFrameCountsDrawNothing) {
  auto strip = Strip(false);
  auto empty = std::make_unique<TBitmap>();
  auto thin = CoordStrip(3, 10); // 4 frames of 0 pixels
  struct Source {
    const char *name;
    TBitmap *bitmap;
    int count;
    RECT dest;
  };
  const Source sources[] = {
      {"inverted across", strip.get(), kFrames, {20, 5, 10, 15}},
      {"inverted down", strip.get(), kFrames, {5, 15, 20, 10}},
      {"empty source", empty.get(), kFrames, {2, 2, 20, 15}},
      {"frame count 0", strip.get(), 0, {2, 2, 20, 15}},
      {"frames of no width", thin.get(), kFrames, {2, 2, 20, 15}},
  };
  for (const Source &s : sources) {
    SCOPED_TRACE(s.name);
    auto canvas = Filled(30, 20);
    HDC dc = canvas->Canvas().Handle();
    DrawRect1(dc, s.dest, *s.bitmap, 1, s.count, false);
    DrawRect2(dc, s.dest, *s.bitmap, kMargins, 1, s.count, false, false, false);
    DrawRect2(dc, s.dest, *s.bitmap, kMargins, 1, s.count, true, true, false);
    DrawRect3(dc, s.dest, *s.bitmap, 1, s.count, false);
    DrawRectTile(canvas->Canvas(), s.dest, *s.bitmap, kMargins, 1, s.count, false, false);
    if (s.count == 0 || s.bitmap != strip.get()) { // these take only sane rectangles
      DrawRectH(dc, s.dest, *s.bitmap, kMargins, 1, s.count, 0, false);
      DrawRectV(dc, s.dest, *s.bitmap, kMargins, 1, s.count, 0, false);
      DrawBorder(dc, s.dest, *s.bitmap, kMargins, 1, s.count, 0, false);
    }
    EXPECT_EQ(TouchedOutside(*canvas, RECT{0, 0, 0, 0}), 0);
  }
}

} // namespace
