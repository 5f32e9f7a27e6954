// The live counts of the GDI owners: they must match what really exists, so that leak checks
// built on them can be trusted.
#include "framework/gui/bitmap.h"
#include "framework/gui/gdiobj.h"
#include "framework/gui/icon.h"
#include "framework/gui/imglist.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(GdiOwner, CountsFollowOwnershipAndMoves) {
  const int brushes = GdiLiveCount(GdiKind::Brush);
  HBRUSH raw;
  {
    GdiBrush a(CreateSolidBrush(RGB(1, 2, 3)));
    raw = a.Get();
    EXPECT_EQ(GdiLiveCount(GdiKind::Brush), brushes + 1);
    GdiBrush b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.Get(), raw);
    EXPECT_EQ(GdiLiveCount(GdiKind::Brush), brushes + 1);
    GdiBrush c(CreateSolidBrush(RGB(4, 5, 6)));
    HBRUSH second = c.Get();
    c = std::move(b); // the brush c held is deleted
    EXPECT_EQ(GetObjectType(second), 0u);
    EXPECT_EQ(GdiLiveCount(GdiKind::Brush), brushes + 1);
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
  }
  EXPECT_EQ(GdiLiveCount(GdiKind::Brush), brushes);
  EXPECT_EQ(GetObjectType(raw), 0u); // really deleted

  GdiBrush empty;
  EXPECT_EQ(GdiLiveCount(GdiKind::Brush), brushes); // a null handle is not counted
}

TEST(GdiOwner, ReleaseHandsTheHandleOverUncounted) {
  const int regions = GdiLiveCount(GdiKind::Region);
  GdiRegion region(CreateRectRgn(0, 0, 5, 5));
  EXPECT_EQ(GdiLiveCount(GdiKind::Region), regions + 1);
  HRGN raw = region.Release();
  EXPECT_EQ(GdiLiveCount(GdiKind::Region), regions);
  EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_REGION)); // still alive: it is ours now
  DeleteObject(raw);
}

TEST(GdiOwner, WindowDCIsCountedAndReleased) {
  const int before = GdiLiveCount(GdiKind::WindowDC);
  {
    GdiWindowDC dc(nullptr); // the screen
    ASSERT_TRUE(dc);
    EXPECT_EQ(GdiLiveCount(GdiKind::WindowDC), before + 1);
  }
  EXPECT_EQ(GdiLiveCount(GdiKind::WindowDC), before);
}

// Everything the graphics classes make, in one cycle, as a skin load and unload would.
void OneCycle(std::vector<HGDIOBJ> &made) {
  TBitmap sprite(16, 8, TPixelFormat::pf24bit);
  sprite.Canvas().Brush().SetColor(clFuchsia);
  sprite.Canvas().FillRect({0, 0, 16, 8});
  sprite.Canvas().Pen().SetColor(clRed);
  sprite.Canvas().Rectangle(2, 2, 6, 6);
  sprite.SetTransparent(true);

  TBitmap target(40, 20);
  TCanvas &c = target.Canvas();
  c.Font().SetStyle(fsBold);
  c.Font().SetColor(clBlue);
  c.TextOut(0, 0, "x");
  c.Font().SetHeight(-15); // drops a selected font
  c.TextOut(0, 0, "y");
  c.Brush().SetStyle(TBrushStyle::bsDiagCross);
  c.Rectangle(0, 0, 10, 10);
  c.Draw(1, 1, sprite);
  c.StretchDraw({0, 0, 30, 15}, sprite);

  TImageList list(8, 8);
  list.AddMasked(sprite, clFuchsia);
  list.Draw(c, 0, 0, 1);
  list.Draw(c, 0, 0, 0, false);

  made.push_back(sprite.Handle());
  made.push_back(target.Handle());
  made.push_back(c.Font().Handle());
  made.push_back(c.Brush().Handle());
  made.push_back(c.Pen().Handle());
  made.push_back(GetCurrentObject(c.Handle(), OBJ_BITMAP));
}

TEST(GdiOwner, NothingLeaksOverAThousandCycles) {
  std::vector<HGDIOBJ> made;
  OneCycle(made); // lets one-time caches (the screen's resolution) settle
  const int total = GdiLiveTotal();
  const int objects = TObject::LiveCount();
  for (int i = 0; i < 1000; ++i)
    OneCycle(made);
  EXPECT_EQ(GdiLiveTotal(), total);
  EXPECT_EQ(TObject::LiveCount(), objects);
  for (int kind = 0; kind < GdiKindCount; ++kind)
    EXPECT_EQ(GdiLiveCount(static_cast<GdiKind>(kind)), 0) << "kind " << kind;
  // And the counts tell the truth: the handles are really gone. (Handle values may be reused,
  // so only the last cycle's are checked.)
  for (size_t i = made.size() - 6; i < made.size(); ++i)
    EXPECT_EQ(GetObjectType(made[i]), 0u) << "handle " << i;
}

} // namespace
