// BitmapToRegion, and the handle balance of every primitive.
#include "skin/form/winskinform_draw.h"
#include "tests/win/skindraw/draw_fixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace skindraw;

namespace {

DWORD RectangleCount(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<DWORD> data((size + sizeof(DWORD) - 1) / sizeof(DWORD));
  if (GetRegionData(region, size, reinterpret_cast<RGNDATA *>(data.data())) == 0)
    return 0xFFFFFFFF;
  return reinterpret_cast<RGNDATA *>(data.data())->rdh.nCount;
}

bool IsEmpty(HRGN region) {
  RECT box;
  return GetRgnBox(region, &box) == NULLREGION;
}

struct ToleranceCase {
  COLORREF colour;
  bool transparent;
};

TEST(BitmapToRegion, TolerancesWidenTheKeyUpwardsOnly) {
  // Key magenta, tolerance 10 on each channel.
  const ToleranceCase cases[] = {
      {RGB(255, 0, 255), true},   {RGB(255, 5, 255), true},    {RGB(255, 10, 255), true},
      {RGB(255, 11, 255), false}, {RGB(250, 0, 255), false},   {RGB(255, 0, 250), false},
      {RGB(0, 0, 0), false},      {RGB(255, 255, 255), false}, {RGB(254, 3, 255), false},
  };
  const int n = static_cast<int>(std::size(cases));
  auto bitmap = Paint(n, 2, [&](int x, int) { return cases[x].colour; });
  GdiRegion region = BitmapToRegion(*bitmap, 7, -3, kMagenta, 10, 10, 10);
  ASSERT_TRUE(region);
  EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::pf32bit);
  for (int x = 0; x < n; ++x)
    for (int y = 0; y < 2; ++y)
      EXPECT_EQ(PtInRegion(region.Get(), x + 7, y - 3) != 0, !cases[x].transparent)
          << "column " << x << " row " << y;
  EXPECT_FALSE(PtInRegion(region.Get(), 6, -3));
  EXPECT_FALSE(PtInRegion(region.Get(), 7 + n, -3));
  EXPECT_FALSE(PtInRegion(region.Get(), 7 + 3, -1));
}

TEST(BitmapToRegion, NothingOpaqueGivesAnEmptyRegion) {
  auto allKey = Filled(13, 9, kMagenta);
  TBitmap empty;
  for (TBitmap *bitmap : {allKey.get(), &empty}) {
    GdiRegion region = BitmapToRegion(*bitmap, 0, 0, kMagenta, 0, 0, 0);
    ASSERT_TRUE(region);
    EXPECT_TRUE(IsEmpty(region.Get()));
  }
}

TEST(BitmapToRegion, ASingleRowIsEnough) {
  auto row = Paint(6, 1, [](int x, int) { return x == 2 ? kMagenta : RGB(9, 9, 9); });
  GdiRegion region = BitmapToRegion(*row, 1, 1, kMagenta, 0, 0, 0);
  RECT box;
  ASSERT_EQ(GetRgnBox(region.Get(), &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 1);
  EXPECT_EQ(box.top, 1);
  EXPECT_EQ(box.right, 7);
  EXPECT_EQ(box.bottom, 2);
  EXPECT_FALSE(PtInRegion(region.Get(), 3, 1));
  EXPECT_TRUE(PtInRegion(region.Get(), 4, 1));
}

struct RunsCase {
  int width;
  DWORD runs; // rows x width / 4
};

// Two opaque, two transparent pixels, shifted by two on every other row: no two neighbouring
// rows share a run, so the region keeps every run as a rectangle of its own.
TEST(BitmapToRegion, ManyRunsAreHandedOverInBatchesAndGiveTheirUnion) {
  const RunsCase cases[] = {{80, 2000}, {84, 2100}, {100, 2500}};
  constexpr int kRows = 100, kDx = -5, kDy = 9;
  for (const RunsCase &c : cases) {
    SCOPED_TRACE(c.width);
    auto opaque = [](int x, int y) { return ((x + 2 * (y % 2)) % 4) < 2; };
    auto bitmap = Paint(c.width, kRows,
                        [&](int x, int y) { return opaque(x, y) ? RGB(0, 90, 0) : kMagenta; });
    GdiRegion region = BitmapToRegion(*bitmap, kDx, kDy, kMagenta, 0, 0, 0);
    int wrong = 0;
    for (int y = -1; y <= kRows; ++y)
      for (int x = -1; x <= c.width; ++x) {
        const bool inside = x >= 0 && y >= 0 && x < c.width && y < kRows && opaque(x, y);
        wrong += (PtInRegion(region.Get(), x + kDx, y + kDy) != 0) != inside;
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(RectangleCount(region.Get()), c.runs);
  }
}

// ------------------------------------------------------------------ handle balance

void DrawEverything() {
  static auto strip = CoordStrip(80, 10);
  static auto keyed =
      Paint(16, 12, [](int x, int y) { return (x + y) % 3 ? RGB(x, y, 7) : kMagenta; });
  auto canvas = Filled(60, 40);
  HDC dc = canvas->Canvas().Handle();
  const RECT dest{2, 3, 51, 30}, margins{3, 2, 4, 3};
  for (const bool transparent : {false, true}) {
    DrawRect1(dc, dest, *strip, 2, 4, transparent);
    DrawRect2(dc, dest, *strip, margins, 2, 4, transparent, false, false);
    DrawRect2(dc, dest, *strip, margins, 2, 4, transparent, true, false);
    DrawRect3(dc, dest, *strip, 2, 4, transparent);
    DrawRectTile(canvas->Canvas(), dest, *strip, margins, 2, 4, transparent, false);
  }
  DrawRectH(dc, dest, *strip, margins, 2, 4, 0, false);
  DrawRectV(dc, dest, *strip, margins, 2, 4, 0, false);
  DrawBorder(dc, dest, *strip, margins, 2, 4, 0, false);
  DrawBGbmp(canvas->Canvas(), dest, *strip, RECT{3, 3, 9, 7});
  auto nine = GetHMap(dest, *strip, margins, 1, 4, true, false);
  auto thumb = GetThumbMap(dest, *strip, margins, 1, 4, 0, false);
  DrawTranmap(dc, dest, *keyed, kMagenta);
  tranmap::WithMaskBlt(dc, dest, *keyed, kMagenta);
  tranmap::WithXorMask(dc, dest, *keyed, kMagenta);
  Bitmapdraw(dc, dest, *keyed);
  auto copy = std::make_unique<TBitmap>();
  copy->Assign(*keyed);
  GdiRegion region = BitmapToRegion(*copy, 0, 0, kMagenta, 0, 0, 0);
}

TEST(HandleBalance, RepeatedDrawingLeavesNoHandleBehind) {
  DrawEverything(); // the shared sources make their device contexts once
  const int before = GdiLiveTotal();
  for (int i = 0; i < 3; ++i)
    DrawEverything();
  EXPECT_EQ(GdiLiveTotal(), before);
}

} // namespace
