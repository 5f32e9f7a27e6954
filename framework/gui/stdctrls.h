// The standard controls: buttons, check boxes, edits, memos, list and combo boxes, labels.
//
// Each windowed one is a superclass of its system class under its own class name ("TButton" of
// "BUTTON", "TEdit" of "EDIT", ...), so window-class rules see the framework's names.
#pragma once

#include "framework/core/stringlist.h"
#include "framework/gui/controls.h"

#include <memory>

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// True when caption marks ch as its accelerator ("&A"; letter case ignored; "&&" is a plain &).
bool IsAccel(unsigned ch, const std::string &caption);

// Controls that react to an accelerator of their caption.
class TButtonControl : public TWinControl {
public:
  explicit TButtonControl(TComponent *owner);
  void WndProc(TMessage &message) override;

protected:
  // What the accelerator does: a click.
  virtual void AcceleratorPressed() { Click(); }
  void CMDialogChar(TMessage &message);
};

class TButton : public TButtonControl {
public:
  explicit TButton(TComponent *owner);

  // Return clicks the default button unless another button has the focus; Escape clicks the
  // cancel button.
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  // Set on the form by a click (a modal form then ends its loop).
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }

  void Click() override;
  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CNCommand(TMessage &message);
  void CMDialogKey(TMessage &message);
  void CMFocusChanged(TMessage &message);
  // Shows the thick frame of the button that Return would click.
  void SetButtonStyle(bool active);

private:
  bool default_ = false;
  bool cancel_ = false;
  bool active_ = false;
  TModalResult modalResult_ = mrNone;
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
public:
  explicit TCustomCheckBox(TComponent *owner);

  // A change of the state raises OnClick (except while form data is read).
  bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
  void SetChecked(bool value) {
    SetState(value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
  }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState value);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;
  void AcceleratorPressed() override;
  // The next state in the cycle unchecked, checked (, grayed).
  void Toggle();

private:
  TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = TAlignment::taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
public:
  using TCustomCheckBox::TCustomCheckBox;
};

// A radio button: checking it unchecks the other radio buttons of its parent.
class TRadioButton : public TButtonControl {
public:
  explicit TRadioButton(TComponent *owner);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;
  void AcceleratorPressed() override;

private:
  bool checked_ = false;
  TAlignment alignment_ = TAlignment::taRightJustify;
};

// A frame with a caption around other controls (the system's group box).
class TCustomGroupBox : public TWinControl {
public:
  explicit TCustomGroupBox(TComponent *owner);

protected:
  void CreateParams(TCreateParams &params) override;
};

class TGroupBox : public TCustomGroupBox {
public:
  using TCustomGroupBox::TCustomGroupBox;
};

class TCustomEdit : public TWinControl {
public:
  explicit TCustomEdit(TComponent *owner);

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  // Selection in characters of the ANSI text (bytes).
  int SelStart();
  void SetSelStart(int value);
  int SelLength();
  void SetSelLength(int value);
  void SelectAll();
  void Clear() { SetText(""); }

  TNotifyEvent OnChange;
  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;
  void CNCommand(TMessage &message);

private:
  bool readOnly_ = false;
  int maxLength_ = 0;
};

class TEdit : public TCustomEdit {
public:
  using TCustomEdit::TCustomEdit;
};

class TCustomMemo : public TCustomEdit {
public:
  explicit TCustomMemo(TComponent *owner);
  ~TCustomMemo() override;

  // The lines of the text: kept by the control while it has no window, by the window after.
  TStrings *Lines() const { return lines_.get(); }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }

  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  // Escape never; Return and Tab as WantReturns and WantTabs say; the arrows always.
  bool WantsSpecialKey(WPARAM key) override;

private:
  class MemoStrings;
  std::unique_ptr<TStrings> lines_;
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  bool wordWrap_ = true;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
};

class TMemo : public TCustomMemo {
public:
  using TCustomMemo::TCustomMemo;
};

class TCustomListBox : public TWinControl {
public:
  explicit TCustomListBox(TComponent *owner);
  ~TCustomListBox() override;

  TStrings *Items() const { return items_.get(); }
  int ItemIndex();
  void SetItemIndex(int value);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int value);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool value);
  void Clear() { items_->Clear(); }

  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;
  void DestroyHandleStart() override;
  void CNCommand(TMessage &message);

private:
  class ListStrings;
  friend class ListStrings;
  std::unique_ptr<TStrings> items_;
  std::unique_ptr<TStringList> saved_; // the items while there is no window
  int itemHeight_ = 13;
  bool sorted_ = false;
  bool multiSelect_ = false;
  int savedIndex_ = -1;
};

class TListBox : public TCustomListBox {
public:
  using TCustomListBox::TCustomListBox;
};

enum class TComboBoxStyle {
  csDropDown,
  csSimple,
  csDropDownList,
  csOwnerDrawFixed,
  csOwnerDrawVariable
};

class TCustomComboBox : public TWinControl {
public:
  explicit TCustomComboBox(TComponent *owner);
  ~TCustomComboBox() override;

  TStrings *Items() const { return items_.get(); }
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle value);
  int ItemIndex();
  void SetItemIndex(int value);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int value) { itemHeight_ = value; }
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int value) { dropDownCount_ = value; }
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  bool DroppedDown();
  void SetDroppedDown(bool value);

  void SetBounds(int left, int top, int width, int height) override;
  TNotifyEvent OnChange;
  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;
  void DestroyHandleStart() override;
  void CNCommand(TMessage &message);
  bool WantsSpecialKey(WPARAM key) override;

private:
  class ComboStrings;
  friend class ComboStrings;
  int DropHeight() const;
  std::unique_ptr<TStrings> items_;
  std::unique_ptr<TStringList> saved_;
  TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
  int itemHeight_ = 16;
  int dropDownCount_ = 8;
  bool sorted_ = false;
  int savedIndex_ = -1;
};

class TComboBox : public TCustomComboBox {
public:
  using TCustomComboBox::TCustomComboBox;
};

enum class TScrollBarKind { sbHorizontal, sbVertical };

// A scroll-bar control: Position moves between Min and Max (less PageSize) by its arrows (a
// SmallChange), its track (a LargeChange) and its thumb.
class TScrollBar : public TWinControl {
public:
  explicit TScrollBar(TComponent *owner);
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind value);
  int Min() const { return min_; }
  void SetMin(int value) { SetParams(position_, value, max_); }
  int Max() const { return max_; }
  void SetMax(int value) { SetParams(position_, min_, value); }
  int Position() const { return position_; }
  void SetPosition(int value) { SetParams(value, min_, max_); }
  int PageSize() const { return pageSize_; }
  void SetPageSize(int value);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int value) { smallChange_ = value; }
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int value) { largeChange_ = value; }
  void SetParams(int position, int min, int max);
  TNotifyEvent OnChange;
  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;

private:
  void UpdateInfo();
  void Scroll(WORD code);
  TScrollBarKind kind_ = TScrollBarKind::sbHorizontal;
  int min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0;
  int smallChange_ = 1, largeChange_ = 1;
};

// A text drawn by its parent: no window, no focus. Mouse enter and leave raise OnMouseEnter
// and OnMouseLeave.
class TLabel : public TGraphicControl {
public:
  explicit TLabel(TComponent *owner);

  // With AutoSize the label takes the size of its text.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);

  void Loaded() override;

protected:
  void Paint() override;
  void TextChanged() override { AdjustBounds(); }
  void FontChanged() override;
  UINT DrawTextFlags() const;
  void AdjustBounds();

private:
  bool autoSize_ = true;
  bool transparent_ = false;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TTextLayout layout_ = TTextLayout::tlTop;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
};

void RegisterStdControls();
