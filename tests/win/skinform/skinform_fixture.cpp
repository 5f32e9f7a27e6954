#include "tests/win/skinform/skinform_fixture.h"

#include <string>

namespace skinform {

int SkinFormTest::lastCustomAction = -1;
LRESULT SkinFormTest::visibleAnswer = 0;
WPARAM SkinFormTest::askedCode = 0;
LPARAM SkinFormTest::askedAction = 0;

namespace {

constexpr char kTestClass[] = "KestrovaSkinFormTestWindow";

// Two frames stacked: the top and bottom borders.
std::vector<uint8_t> Stacked(int width, int frameHeight, COLORREF first, COLORREF second) {
  return Bmp24(width, frameHeight * 2,
               [=](int, int y) { return static_cast<uint32_t>(y < frameHeight ? first : second); });
}

std::vector<uint8_t> Strip(int frameWidth, int height, std::initializer_list<COLORREF> colours) {
  return Frames(frameWidth, height, std::vector<uint32_t>(colours.begin(), colours.end()));
}

std::string Button(int n, const std::string &image, int action, int align, int x, int visibility,
                   int frames) {
  return "[Button" + std::to_string(n) + "]\nButtonImage=" + image +
         "\nAction=" + std::to_string(action) + "\nAlign=" + std::to_string(align) +
         "\nXcoord=" + std::to_string(x) + "\nYcoord=" + std::to_string(kButtonY) +
         "\nframe=" + std::to_string(frames) + "\nVisibility=" + std::to_string(visibility) + "\n";
}

LRESULT CALLBACK TestWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == CN_SysBtnAction)
    SkinFormTest::lastCustomAction = static_cast<int>(wParam);
  if (msg == CN_SysBtnVisible) {
    SkinFormTest::askedCode = wParam;
    SkinFormTest::askedAction = lParam;
    return SkinFormTest::visibleAnswer;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

void RegisterTestClass() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TestWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kTestClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
}

} // namespace

skintest::SkinPackage SolidSkin() {
  skintest::SkinPackage p;
  p.ini = "[TitlebarSkin]\nSkinName=Solid\n"
          "[Personality]\n"
          "Left=left.bmp\nLeftFrame=2\nLeftTrans=0\n"
          "Right=right.bmp\nRightFrame=2\nRightTrans=0\n"
          "Top=top.bmp\nTopFrame=2\nTopTrans=0\n"
          "Bottom=bottom.bmp\nBottomFrame=2\nBottomTrans=0\n"
          "TextShift=30\nTextShiftVert=4\nTextRightClip=130\n"
          "ActiveTextR=255\nActiveTextG=255\nActiveTextB=255\n"
          "InActiveTextR=224\nInActiveTextG=224\nInActiveTextB=224\n"
          "[Colours]\nButtonFace=242 244 247\n" +
          Button(0, "close.bmp", 0, 1, kCloseX, 0, 4) + Button(1, "close.bmp", 1, 1, kMaxX, 2, 4) +
          Button(2, "close.bmp", 1, 1, kRestoreX, 1, 4) +
          Button(3, "close.bmp", 2, 1, kMinX, 0, 4) +
          Button(4, "close.bmp", kCustomAction, 1, kCustomX, 0, 4) +
          Button(5, "icon.bmp", 3, 0, kSysMenuX, 0, 1) +
          Button(6, "close.bmp", 43, 1, kAskX, kAskVisibility, 4);
  p.Add("left.bmp", Strip(kLeftWidth, 40, {kLeft[0], kLeft[1]}))
      .Add("right.bmp", Strip(kRightWidth, 40, {kRight[0], kRight[1]}))
      .Add("top.bmp", Stacked(40, kTopHeight, kTop[0], kTop[1]))
      .Add("bottom.bmp", Stacked(40, kBottomHeight, kBottom[0], kBottom[1]))
      .Add("close.bmp",
           Strip(kButtonSize, kButtonSize, {kButton[0], kButton[1], kButton[2], kButton[3]}))
      .Add("icon.bmp", skintest::Solid(kButtonSize, kButtonSize, RGB(10, 20, 30)));
  return p;
}

namespace {

// Top corners cut as triangles: the pixels whose distance from the outer edge plus the row is
// below 4 are magenta in both frames of the side borders.
bool LeftCut(int x, int y) {
  return x + y < 4;
}
bool RightCut(int x, int y) {
  return (kRightWidth - 1 - x) + y < 4;
}

std::vector<uint8_t> CornerStrip(int frameWidth, const COLORREF (&colours)[2],
                                 bool (*cut)(int, int)) {
  return Bmp24(frameWidth * 2, 40, [=](int x, int y) {
    return static_cast<uint32_t>(cut(x % frameWidth, y) ? skintest::kMagenta
                                                        : colours[x / frameWidth]);
  });
}

void Replace(skintest::SkinPackage &p, const std::string &name, std::vector<uint8_t> bytes) {
  for (auto &member : p.members)
    if (member.first == name)
      member.second = std::move(bytes);
}

void Set(std::string &ini, const std::string &from, const std::string &to) {
  ini.replace(ini.find(from), from.size(), to);
}

} // namespace

skintest::SkinPackage CornerSkin() {
  skintest::SkinPackage p = SolidSkin();
  // The corner rows stay unstretched (fixed top margin of the side borders).
  Set(p.ini, "LeftTrans=0", "LeftTrans=1\nLeftTopHeight=8\nLeftBotHeight=8");
  Set(p.ini, "RightTrans=0", "RightTrans=1\nRightTopHeight=8\nRightBotHeight=8");
  Set(p.ini, "TopTrans=0", "TopTrans=1");
  Replace(p, "left.bmp", CornerStrip(kLeftWidth, kLeft, LeftCut));
  Replace(p, "right.bmp", CornerStrip(kRightWidth, kRight, RightCut));
  return p;
}

void SkinFormTest::SetUp() {
  RegisterTestClass();
  lastCustomAction = -1;
  visibleAnswer = 0;
  app_ = std::make_unique<TApplication>(nullptr);
  ASSERT_EQ(SkinManager, nullptr);
  SkinManager = new TSkinManage(false);
  data_ = skintest::LoadData(Skin());
  ASSERT_FALSE(data_->NoSkin);
  data_->SkinFormtype = sfMainform;
  SkinManager->AddSkinData(data_.get());
  SkinManager->InstallHook();
  SkinManager->Enabled = true;
}

void SkinFormTest::TearDown() {
  for (HWND w : windows_)
    if (IsWindow(w))
      DestroyWindow(w);
  Pump(20);
  delete SkinManager;
  SkinManager = nullptr;
  data_.reset();
  app_.reset();
}

HWND SkinFormTest::NewWindow(DWORD style, HMENU menu) {
  HWND w = CreateWindowExA(0, kTestClass, "Caption", style, 60, 60, 400, 300, nullptr, menu,
                           GetModuleHandleA(nullptr), nullptr);
  windows_.push_back(w);
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  EXPECT_TRUE(PumpUntil([w] { return Skinned(w); })) << "the window was not skinned";
  Pump(50);
  return w;
}

bool SkinFormTest::PumpUntil(const std::function<bool()> &done, int milliseconds) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0)
      return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  }
  return true;
}

void SkinFormTest::Pump(int milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

bool SkinFormTest::Skinned(HWND window) {
  TWinSkinForm *form = FindWinSkinForm(window);
  return form != nullptr && form->SkinState == 1;
}

std::unique_ptr<TBitmap> SkinFormTest::Snap(HWND window) {
  return skintest::SnapWindow(window);
}

POINT SkinFormTest::ScreenPoint(HWND window, int x, int y) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{r.left + x, r.top + y};
}

void SkinFormTest::NCMouse(HWND window, UINT msg, int x, int y, WPARAM hit) {
  const POINT p = ScreenPoint(window, x, y);
  SetCursorPos(p.x, p.y); // the hover timer reads the real cursor
  PostMessageA(window, msg, hit, MAKELPARAM(p.x, p.y));
  Pump(30);
}

void SkinFormTest::ClickButton(HWND window, int x, int y) {
  NCMouse(window, WM_NCMOUSEMOVE, x, y);
  NCMouse(window, WM_NCLBUTTONDOWN, x, y);
  NCMouse(window, WM_NCLBUTTONUP, x, y);
  Pump(100);
}

POINT SkinFormTest::ButtonCentre(HWND window, int distance) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{r.right - r.left - distance + kButtonSize / 2, kButtonY + kButtonSize / 2};
}

namespace {

struct ModalWatch {
  std::function<void(HWND)> inspect;
  WPARAM close = IDCANCEL;
  bool inspected = false;
  DWORD deadline = 0;
};
ModalWatch *watch = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (IsWindowVisible(window) && std::string(name) == "#32770") {
    *reinterpret_cast<HWND *>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK WatchTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (watch == nullptr)
    return;
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr)
    return;
  const bool ready = SkinFormTest::Skinned(dialog);
  if (!ready && static_cast<int>(watch->deadline - GetTickCount()) > 0)
    return;
  KillTimer(nullptr, id);
  if (ready) {
    watch->inspect(dialog);
    watch->inspected = true;
  }
  PostMessageA(dialog, WM_COMMAND, watch->close, 0);
}

} // namespace

bool WithModalDialog(const std::function<void()> &open, const std::function<void(HWND)> &inspect,
                     WPARAM close_command) {
  ModalWatch w;
  w.inspect = inspect;
  w.close = close_command;
  w.deadline = GetTickCount() + 5000;
  watch = &w;
  SetTimer(nullptr, 0, 100, WatchTimer);
  open();
  watch = nullptr;
  return w.inspected;
}

} // namespace skinform
