// The decisions of control attachment, as data: the rules that choose a painter for a framework
// control, and the kinds of child windows of foreign dialogs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class TControl;
class TWinSkinForm;

// One rule for framework controls. A control matches when it is an instance of one of the
// registered Classes (or, ByName, when its upper-cased class name is one of them; or when Test
// says so), and its name is not in Except. A rule applies when the skin paints its Kind (-1:
// any) and, with NeedsTab, has a tab element; a rule that matches but does not apply lets the
// search go on, unless StopAlways. Classes the framework does not have are never matched.
struct TAttachRule {
  using Action = void (*)(TWinSkinForm &form, TControl *control);
  using Predicate = bool (*)(TControl *control);
  TAttachRule(std::vector<std::string> classes, bool byName, int kind, bool needsTab,
              bool stopAlways, Action attach, Predicate test = nullptr,
              std::vector<std::string> except = {})
      : Classes(std::move(classes)), ByName(byName), Kind(kind), NeedsTab(needsTab),
        StopAlways(stopAlways), Attach(attach), Test(test), Except(std::move(except)) {}

  std::vector<std::string> Classes;
  bool ByName = false;
  int Kind = -1;
  bool NeedsTab = false;
  bool StopAlways = false;
  Action Attach = nullptr; // null: the painter of that kind is not part of the engine yet
  Predicate Test = nullptr;
  std::vector<std::string> Except;

  bool Applies(TControl *control, const std::string &upperName) const;
  bool Allowed(const TWinSkinForm &form) const;
};

// The rules in the order they are tried.
const std::vector<TAttachRule> &AttachRules();

// What a child window of a foreign dialog gets, by its lower-cased class name and its style.
enum class TForeignKind {
  None,
  Button,
  CheckBox,
  RadioButton,
  ComboBox,
  InnerComboBox, // the combo box inside a "comboboxex32"
  SizeGrip,
  Container, // a "#32770" child dialog: its children, then its background
  Panel,     // a panel window: its children, and the face colour for its framework control
  PanelColour,
  Progress,
  Tab,
  Edit,
  ScrollingList, // a list or list view: its scroll bars, and the header of a list view
  Header,
  Holder, // a window that only holds others
};
TForeignKind ForeignKind(const std::string &className, DWORD style);
