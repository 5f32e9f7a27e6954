// Thin wrappers of the common controls the forms use: up-down buttons, date-time pickers and
// tool bars.
#pragma once

#include "framework/gui/canvas.h"
#include "framework/gui/controls.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

enum class TUDOrientation { udVertical, udHorizontal };

// A pair of arrow buttons that steps Position between Min and Max (msctls_updown32). With an
// Associate it shows its position in that control's text.
class TUpDown : public TWinControl {
public:
  explicit TUpDown(TComponent *owner);
  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  int Position();
  void SetPosition(int value);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation value);
  TWinControl *Associate() const { return associate_; }
  void SetAssociate(TWinControl *value);
  TNotifyEvent OnChanging;

  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;

private:
  int min_ = 0, max_ = 100, position_ = 0;
  TUDOrientation orientation_ = TUDOrientation::udVertical;
  TWinControl *associate_ = nullptr;
};

enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateMode { dmComboBox, dmUpDown };

// A date or time field with a drop-down calendar or up-down arrows (SysDateTimePick32).
class TDateTimePicker : public TWinControl {
public:
  explicit TDateTimePicker(TComponent *owner);
  TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind value);
  TDTDateMode DateMode() const { return dateMode_; }
  void SetDateMode(TDTDateMode value);
  // The value as the control holds it.
  SYSTEMTIME DateTime();
  void SetDateTime(const SYSTEMTIME &value);
  bool DroppedDown();
  TNotifyEvent OnChange;

  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;

private:
  TDateTimeKind kind_ = TDateTimeKind::dtkDate;
  TDTDateMode dateMode_ = TDTDateMode::dmComboBox;
};

// ----------------------------------------------------------------- tool bars

class TImageList;
class TMenuItem;
class TPopupMenu;
class TToolBar;

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator };

// The state of a tool button being custom-drawn (bits).
using TCustomDrawState = uint16_t;
constexpr TCustomDrawState cdsSelected = 1, cdsGrayed = 2, cdsDisabled = 4, cdsChecked = 8,
                           cdsFocused = 16, cdsDefault = 32, cdsHot = 64, cdsMarked = 128,
                           cdsIndeterminate = 256;

// One button of a tool bar (not a window: the tool bar draws it). It belongs to the tool bar it
// was added to and leaves it when freed.
class TToolButton : public TComponent {
public:
  explicit TToolButton(TComponent *owner);
  ~TToolButton() override;

  std::string Caption;
  int ImageIndex = -1;
  TToolButtonStyle Style = TToolButtonStyle::tbsButton;
  bool Enabled = true;
  bool Down = false;                  // pressed in (a check button that is on)
  TPopupMenu *DropdownMenu = nullptr; // borrowed
  TMenuItem *MenuItem = nullptr;      // borrowed: the item whose children the button shows
  TNotifyEvent OnClick;

  TToolBar *ToolBar() const { return toolBar_; }
  int Index() const;
  // The command the tool bar knows the button by (0 until it is on a tool bar).
  UINT Command() const { return command_; }
  // Where the tool bar shows the button, in its client coordinates (empty when not shown).
  RECT BoundsRect() const;
  virtual void Click();

  void SetParentComponent(TComponent *parent) override;
  TComponent *GetParentComponent() const override;

private:
  friend class TToolBar;
  TToolBar *toolBar_ = nullptr;
  UINT command_ = 0;
};

using TTBCustomDrawEvent = TDelegate<void(TToolBar *Sender, const RECT &ARect, bool &DefaultDraw)>;
using TTBCustomDrawBtnEvent = TDelegate<void(TToolBar *Sender, TToolButton *Button,
                                             TCustomDrawState State, bool &DefaultDraw)>;

// A row of buttons (ToolbarWindow32). OnCustomDraw paints the background before the buttons,
// OnCustomDrawButton each button before the tool bar draws its image and caption over it; both
// draw on Canvas(), which holds the paint's DC for the duration.
class TToolBar : public TWinControl {
public:
  explicit TToolBar(TComponent *owner);
  ~TToolBar() override;

  TImageList *Images = nullptr; // borrowed
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  // Raises EComponentError for an index out of range.
  TToolButton *Buttons(int index) const;
  // The button becomes the last one (leaving another tool bar first).
  void AddButton(TToolButton *button);
  TToolButton *FindButton(UINT command) const;
  TCanvas &Canvas() { return canvas_; }

  TTBCustomDrawEvent OnCustomDraw;
  TTBCustomDrawBtnEvent OnCustomDrawButton;
  // TBCDRF_* flags a button handler adds to the tool bar's own drawing of that button (say,
  // TBCDRF_NOEDGES over a face it painted itself); cleared before each call.
  UINT CustomDrawFlags = 0;

  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;

private:
  friend class TToolButton;
  void RemoveButton(TToolButton *button);
  // Gives the window the buttons as they are now.
  void RebuildButtons();
  LRESULT CustomDraw(NMTBCUSTOMDRAW &draw);

  std::vector<TToolButton *> buttons_;
  bool flat_ = true;
  UINT nextCommand_ = 0;
  TCanvas canvas_;
};

void RegisterComCtrls();
