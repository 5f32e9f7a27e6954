#include "tests/win/skincontrols/controls_fixture.h"

namespace skincontrols {

namespace {

using skintest::Frames;

constexpr COLORREF kCheckColours[12] = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),
                                        RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 128),
                                        RGB(128, 0, 255), RGB(255, 128, 0), RGB(0, 128, 64),
                                        RGB(64, 0, 128),  RGB(128, 64, 0),  RGB(0, 64, 128)};
constexpr COLORREF kRadioColours[8] = {RGB(200, 0, 0),   RGB(0, 200, 0),   RGB(0, 0, 200),
                                       RGB(200, 200, 0), RGB(0, 200, 200), RGB(200, 0, 100),
                                       RGB(100, 0, 200), RGB(200, 100, 0)};

std::vector<uint32_t> Colours(const COLORREF *first, size_t count) {
  return std::vector<uint32_t>(first, first + count);
}

} // namespace

COLORREF CheckColour(int image) {
  return kCheckColours[image - 1];
}
COLORREF ScrollColour(int image) {
  return RGB(10 * image, 250 - 10 * image, 60 + 5 * image);
}
COLORREF RadioColour(int image) {
  return kRadioColours[image - 1];
}

skintest::SkinPackage ControlSkin(bool withButtons) {
  skintest::SkinPackage p;
  p.ini = "[TitlebarSkin]\nSkinName=Controls\n"
          "[Colours]\nButtonFace=242 244 247\nButtonShadow=160 168 176\nButtonText=30 42 56\n"
          "[SunkEdge]\nImage=sunk.bmp\nLeftWidth=2\nTopHeight=2\nRightWidth=2\nBottomHeight=2\n"
          "[ComboButton]\nImage=combo.bmp\nTrans=0\n"
          "[ExtraImages]\nImage=arrows.bmp\nTrans=1\n"
          "[Scrollbar]\nImage=scroll.bmp\nTrans=0\n"
          "[VertScroll]\nImage=track.bmp\nTrans=0\n[HorzScroll]\nImage=track.bmp\nTrans=0\n"
          "[VertScrollThumb]\nImage=thumb.bmp\nFrameCount=3\nTrans=0\n"
          "[HorzScrollThumb]\nImage=thumb.bmp\nFrameCount=3\nTrans=0\n"
          "[Headerbar]\nImage=header.bmp\nFrame=5\nTrans=0\n";
  if (withButtons)
    p.ini += "[Buttons]\nBitmap=button.bmp\nLeftWidth=4\nTopHeight=4\nRightWidth=4\n"
             "BottomHeight=4\nTrans=0\nCheckButton=check.bmp\nCheckButtonFrame=12\n"
             "RadioButton=radio.bmp\nRadioButtonFrame=8\n";
  p.Add("button.bmp", Frames(20, 20, Colours(kButton, 5)))
      .Add("check.bmp", Frames(kMark, kMark, Colours(kCheckColours, 12)))
      .Add("radio.bmp", Frames(kMark, kMark, Colours(kRadioColours, 8)))
      .Add("combo.bmp", Frames(17, 17, Colours(kCombo, 4)))
      .Add("sunk.bmp", Frames(12, 12, Colours(kSunk, 4)))
      .Add("arrows.bmp", Frames(7, 4, {0, 0, 0, 0, 0}))
      .Add("track.bmp", Frames(kScrollImage, kScrollImage, Colours(kTrack, 4)))
      .Add("thumb.bmp", Frames(kScrollImage, kScrollImage, Colours(kThumb, 3)))
      .Add("header.bmp", Frames(20, 18, Colours(kHeader, 5)));
  std::vector<uint32_t> strip;
  for (int i = 1; i <= 23; ++i)
    strip.push_back(ScrollColour(i));
  p.Add("scroll.bmp", Frames(kScrollImage, kScrollImage, strip));
  return p;
}

void ControlTest::SetUp() {
  StartSkinned(ControlSkin());
  ParkMouse();
}

void ControlTest::ParkMouse() {
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

TForm *ControlTest::NewForm(int width, int height) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(80, 80, width, height);
  form->SetCaption("Controls");
  forms_.push_back(std::move(form));
  return forms_.back().get();
}

void ControlTest::ShowSkinned(TForm *form) {
  form->Show();
  SetForegroundWindow(form->Handle());
  HWND window = form->Handle();
  ASSERT_TRUE(PumpUntil([window] {
    TWinSkinForm *skin = FindWinSkinForm(window);
    return skin != nullptr && skin->SkinState == 1 && !skin->Controls.empty();
  })) << "the form's controls were not skinned";
  Pump(50);
}

void ControlTest::Show(TForm *form, bool skinned) {
  if (skinned) {
    ShowSkinned(form);
    return;
  }
  form->Show();
  SetForegroundWindow(form->Handle());
  Pump(300);
}

std::unique_ptr<TBitmap> ControlTest::Snap(HWND window) {
  return skintest::SnapWindow(window);
}

COLORREF ControlTest::At(HWND window, int x, int y) {
  std::unique_ptr<TBitmap> shot = Snap(window);
  return skintest::Pixel(*shot, x, y);
}

} // namespace skincontrols
