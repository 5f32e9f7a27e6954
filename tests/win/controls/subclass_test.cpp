// Subclassing a window for an object, together with a foreign subclass in either order: every
// message reaches everyone still installed, letting go never cuts the chain, and wide windows
// get wide calls.
#include "framework/core/objects.h"
#include "framework/gui/subclass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kAsk = WM_USER + 7; // the window's own procedure answers it with 42
std::vector<std::string> heard;
std::wstring lastText;

LRESULT CALLBACK OwnProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kAsk) {
    heard.push_back("window");
    return 42;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

LRESULT CALLBACK OwnProcW(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETTEXT)
    lastText = reinterpret_cast<const wchar_t *>(lp);
  return DefWindowProcW(w, msg, wp, lp);
}

// Another program's subclass: records, then passes on.
WNDPROC foreignPrevious = nullptr;
LRESULT CALLBACK ForeignProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kAsk)
    heard.push_back("foreign");
  return CallWindowProcA(foreignPrevious, w, msg, wp, lp);
}
void HookForeign(HWND w) {
  foreignPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
}

class Listener : public TObject {
public:
  explicit Listener(int layer = 0) : subclass(layer) {}
  TWindowSubclass subclass;
  bool Attach(HWND w) { return subclass.Attach(w, this, TWndMethod(this, &Listener::Message)); }
  void Message(TMessage &m) {
    if (m.Msg == kAsk)
      heard.push_back("ours");
    subclass.CallPrevious(m);
  }
};

HWND NewWindow() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = OwnProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KestrovaSubclassTest";
    return RegisterClassA(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowExA(0, "KestrovaSubclassTest", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

std::vector<std::string> Ask(HWND w, LRESULT &answer) {
  heard.clear();
  answer = SendMessageA(w, kAsk, 0, 0);
  return heard;
}

using Heard = std::vector<std::string>;

TEST(WindowSubclass, WithAForeignSubclassInEitherOrder) {
  const struct {
    const char *order;
    bool oursFirst;
    Heard both, afterLettingGo;
  } cases[] = {
      {"ours first, a foreign one on top",
       true,
       {"foreign", "ours", "window"},
       {"foreign", "window"}},
      {"a foreign one first, ours on top",
       false,
       {"ours", "foreign", "window"},
       {"foreign", "window"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.order);
    HWND w = NewWindow();
    const LONG_PTR own = GetWindowLongPtrA(w, GWLP_WNDPROC);
    auto listener = std::make_unique<Listener>();
    if (c.oursFirst) {
      ASSERT_TRUE(listener->Attach(w));
      HookForeign(w);
    } else {
      HookForeign(w);
      ASSERT_TRUE(listener->Attach(w));
    }
    EXPECT_EQ(TWindowSubclass::Find(w, 0), listener.get());
    LRESULT answer = 0;
    EXPECT_EQ(Ask(w, answer), c.both);
    EXPECT_EQ(answer, 42);

    listener->subclass.Detach();
    EXPECT_EQ(TWindowSubclass::Find(w, 0), nullptr);
    EXPECT_EQ(Ask(w, answer), c.afterLettingGo);
    EXPECT_EQ(answer, 42) << "a message went past the window's own procedure";
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ForeignProc))
        << "the foreign subclass lost its place";

    // Attaching again serves from the place ours has in the chain.
    ASSERT_TRUE(listener->Attach(w));
    EXPECT_EQ(Ask(w, answer), c.both);

    // The foreign subclass goes away properly: the chain still ends at the window.
    listener.reset();
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(foreignPrevious));
    EXPECT_EQ(Ask(w, answer), Heard{"window"});
    EXPECT_EQ(answer, 42);
    if (!c.oursFirst) {
      EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), own);
    }
    DestroyWindow(w);
  }
}

TEST(WindowSubclass, OneObjectPerLayerAndTheWindowTakesTheRecordWithIt) {
  HWND w = NewWindow();
  Listener first, second;
  ASSERT_TRUE(first.Attach(w));
  EXPECT_FALSE(second.Attach(w)) << "two objects on one layer";
  Listener other(1);
  EXPECT_TRUE(other.Attach(w)) << "another layer is free";
  DestroyWindow(w);
  EXPECT_FALSE(first.subclass.Attached());
  EXPECT_FALSE(other.subclass.Attached());
  HWND next = NewWindow();
  EXPECT_TRUE(first.Attach(next)) << "free again once its window went";
  DestroyWindow(next);
}

TEST(WindowSubclass, AWideWindowGetsWideCalls) {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KestrovaSubclassTestW";
    return RegisterClassW(&wc) != 0;
  }();
  ASSERT_TRUE(registered);
  HWND w = CreateWindowExW(0, L"KestrovaSubclassTestW", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(IsWindowUnicode(w));
  Listener listener;
  ASSERT_TRUE(listener.Attach(w));
  EXPECT_TRUE(listener.subclass.Unicode());
  const std::wstring text = L"\u6587\u6863 \u8f6c\u6362";
  SetWindowTextW(w, text.c_str());
  EXPECT_EQ(lastText, text);
  DestroyWindow(w);
}

} // namespace
