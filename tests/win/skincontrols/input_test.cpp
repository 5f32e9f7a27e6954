// Skinning never changes what a control does: one script of real input drives the same form
// unskinned and skinned, and the parent must hear the same notifications and the controls end
// in the same state.
#include "tests/win/skincontrols/controls_fixture.h"

#include "framework/gui/comctrls.h"
#include "framework/gui/stdctrls.h"

#include <commctrl.h>

#include <map>
#include <sstream>

namespace skincontrols {
namespace {

// What the form window hears from its children, recorded under the skin's own procedure.
struct Recorder {
  static inline std::vector<std::string> *trace = nullptr;
  static inline WNDPROC next = nullptr;
  static inline std::map<HWND, std::string> *names = nullptr;

  static std::string NameOf(HWND window) {
    auto found = names->find(window);
    return found == names->end() ? "?" : found->second;
  }
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && lParam != 0) {
      trace->push_back("command " + NameOf(reinterpret_cast<HWND>(lParam)) + " " +
                       std::to_string(HIWORD(wParam)));
    } else if (msg == WM_NOTIFY) {
      const auto *header = reinterpret_cast<const NMHDR *>(lParam);
      trace->push_back("notify " + NameOf(header->hwndFrom) + " " +
                       std::to_string(static_cast<int>(header->code)));
    }
    return CallWindowProcA(next, window, msg, wParam, lParam);
  }
};

void Send(std::initializer_list<INPUT> inputs) {
  std::vector<INPUT> list(inputs);
  SendInput(static_cast<UINT>(list.size()), list.data(), sizeof(INPUT));
  ControlTest::Pump(80);
}

INPUT Mouse(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  return in;
}

INPUT Key(WORD vk, bool up = false) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

void MoveTo(TWinControl *control, int x, int y) {
  POINT p{x, y};
  ClientToScreen(control->Handle(), &p);
  SetCursorPos(p.x, p.y);
  ControlTest::Pump(40);
}

void Click(TWinControl *control, int x, int y) {
  MoveTo(control, x, y);
  Send({Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP)});
}

void DoubleClick(TWinControl *control, int x, int y) {
  MoveTo(control, x, y);
  Send({Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP), Mouse(MOUSEEVENTF_LEFTDOWN),
        Mouse(MOUSEEVENTF_LEFTUP)});
}

void Press(WORD vk) {
  Send({Key(vk), Key(vk, true)});
}

void Type(const std::string &letters) {
  for (char c : letters)
    Press(static_cast<WORD>(toupper(static_cast<unsigned char>(c))));
}

void AltKey(WORD vk) {
  Send({Key(VK_MENU), Key(vk), Key(vk, true), Key(VK_MENU, true)});
}

struct Outcome {
  std::vector<std::string> trace;
  std::string state;
};

class InputTest : public ControlTest {
protected:
  Outcome Run(bool skinned) {
    SkinManager->Enabled = skinned;
    TForm *form = NewForm(420, 240);
    int clicks = 0;
    struct Counter : TObject {
      int *n = nullptr;
      void Click(TObject *) { ++*n; }
    } counter;
    counter.n = &clicks;
    auto *button = Place<TButton>(form, 10, 10, 90, 25, "&Go");
    button->SetOnClick(TNotifyEvent(&counter, &Counter::Click));
    auto *check = Place<TCheckBox>(form, 10, 45, 120, 17, "&Check");
    auto *radio1 = Place<TRadioButton>(form, 10, 70, 120, 17, "Radio &1");
    auto *radio2 = Place<TRadioButton>(form, 10, 95, 120, 17, "Radio &2");
    auto *edit = Place<TEdit>(form, 150, 10, 120, 21);
    auto *combo = Place<TComboBox>(form, 150, 45, 120, 21);
    combo->SetStyle(TComboBoxStyle::csDropDownList);
    for (const char *item : {"alpha", "beta", "gamma"})
      combo->Items()->Add(item);
    auto *number = Place<TEdit>(form, 150, 80, 60, 21);
    auto *updown = Place<TUpDown>(form, 210, 80, 17, 21);
    updown->SetAssociate(number);

    std::map<HWND, std::string> names = {
        {button->Handle(), "button"}, {check->Handle(), "check"},   {radio1->Handle(), "radio1"},
        {radio2->Handle(), "radio2"}, {edit->Handle(), "edit"},     {combo->Handle(), "combo"},
        {number->Handle(), "number"}, {updown->Handle(), "updown"},
    };
    Outcome out;
    Recorder::trace = &out.trace;
    Recorder::names = &names;
    Recorder::next = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recorder::Proc)));
    if (skinned) {
      ShowSkinned(form);
      EXPECT_TRUE(IsSkinned(button->Handle()));
    } else {
      form->Show();
      SetForegroundWindow(form->Handle());
      Pump(300); // what the skinned run waits for the skin
      EXPECT_FALSE(IsSkinned(button->Handle()));
    }
    button->SetFocus();
    Pump(50);

    Click(button, 20, 12);
    DoubleClick(button, 20, 12);
    Press(VK_SPACE);
    Click(check, 8, 8);
    Press(VK_SPACE);
    Press(VK_TAB);
    Click(radio2, 8, 8);
    Press(VK_UP);
    Click(edit, 10, 10);
    Type("abc");
    Press(VK_BACK);
    Click(combo, 110, 10); // the drop-down button
    Press(VK_DOWN);
    Press(VK_RETURN);
    Click(updown, 8, 4); // the upper arrow
    Click(updown, 8, 4);
    Click(updown, 8, 17); // the lower arrow
    AltKey('G');
    AltKey('C');

    std::ostringstream state;
    HWND focus = GetFocus();
    state << "clicks " << clicks << ", check " << check->Checked() << ", radios "
          << radio1->Checked() << radio2->Checked() << ", edit '" << edit->Text() << "', combo "
          << combo->ItemIndex() << ", number '" << number->Text() << "', focus "
          << (names.count(focus) != 0 ? names[focus] : "?");
    out.state = state.str();
    SetWindowLongPtrA(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Recorder::next));
    form->Hide();
    Pump(50);
    return out;
  }
};

TEST_F(InputTest, SkinningNeverChangesWhatControlsDo) {
  const Outcome plain = Run(false);
  const Outcome skinned = Run(true);
  // The script did reach the controls: a click, a double click (two), Space and Alt+G on the
  // button; the check box clicked, toggled by Space and by Alt+C; two steps up and one down on
  // the up-down.
  EXPECT_EQ(plain.state,
            "clicks 5, check 1, radios 01, edit 'ab', combo 0, number '1', focus check");
  EXPECT_EQ(skinned.state, plain.state);
  EXPECT_EQ(skinned.trace, plain.trace);
  EXPECT_GT(plain.trace.size(), 10u);
}

TEST_F(InputTest, AButtonWhoseClickHidesItStaysHidden) {
  for (const bool skinned : {false, true}) {
    SCOPED_TRACE(skinned ? "skinned" : "as the system draws it");
    SkinManager->Enabled = skinned;
    TForm *form = NewForm();
    auto *button = Place<TButton>(form, 10, 10, 90, 25, "Hide");
    Place<TEdit>(form, 10, 50, 90, 21);
    struct Hider : TObject {
      TButton *button = nullptr;
      void Click(TObject *) { button->SetVisible(false); }
    } hider;
    hider.button = button;
    button->SetOnClick(TNotifyEvent(&hider, &Hider::Click));
    Show(form, skinned);
    Click(button, 20, 12);
    Pump(300); // past the button's own redraw timer
    EXPECT_FALSE(button->Visible()) << "the click did not run";
    EXPECT_FALSE(IsWindowVisible(button->Handle()));
    form->Hide();
  }
}

} // namespace
} // namespace skincontrols
