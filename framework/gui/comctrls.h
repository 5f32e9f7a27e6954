// Thin wrappers of the common controls the forms use: up-down buttons, date-time pickers, bars,
// tabs and tool bars.
#pragma once

#include "framework/core/collection.h"
#include "framework/gui/canvas.h"
#include "framework/gui/controls.h"
#include "framework/gui/stdctrls.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include <memory>
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

// ================================================================== bars and tabs
//
// Progress, track and status bars, tab and page controls, the old-style tab set and the cool
// bar: thin wrappers of the system controls with the published properties the painters read.

class TStringList;
class TImageList;

enum class TProgressBarOrientation { pbHorizontal, pbVertical };

// A bar filled to Position within Min..Max (msctls_progress32).
class TProgressBar : public TWinControl {
public:
  explicit TProgressBar(TComponent *owner);
  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  int Position() const;
  void SetPosition(int value);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation value);

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;

private:
  int min_ = 0, max_ = 100;
  mutable int position_ = 0;
  TProgressBarOrientation orientation_ = TProgressBarOrientation::pbHorizontal;
};

enum class TTrackBarOrientation { trHorizontal, trVertical };
enum class TTickStyle { tsNone, tsAuto };

// A thumb the user slides along a channel between Min and Max (msctls_trackbar32), with tick
// marks every Frequency steps when TickStyle is tsAuto.
class TTrackBar : public TWinControl {
public:
  explicit TTrackBar(TComponent *owner);
  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  int Position() const;
  void SetPosition(int value);
  int Frequency() const { return frequency_; }
  void SetFrequency(int value);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation value);
  TTickStyle TickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle value);
  TNotifyEvent OnChange;

  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;

private:
  void SendRange();
  int min_ = 0, max_ = 10, frequency_ = 1;
  mutable int position_ = 0;
  TTrackBarOrientation orientation_ = TTrackBarOrientation::trHorizontal;
  TTickStyle tickStyle_ = TTickStyle::tsAuto;
};

enum class TBiDiMode {
  bdLeftToRight,
  bdRightToLeft,
  bdRightToLeftNoAlign,
  bdRightToLeftReadingOnly
};
enum class TStatusPanelStyle { psText, psOwnerDraw };
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TCustomStatusBar;

// One part of a status bar.
class TStatusPanel : public TCollectionItem {
public:
  explicit TStatusPanel(TCollection *collection);
  const std::string &Text() const { return text_; }
  void SetText(const std::string &value);
  int Width() const { return width_; }
  void SetWidth(int value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel value);
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle value);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode value);
  void Assign(const TCollectionItem &source) override;

private:
  void Changed();
  std::string text_;
  int width_ = 50;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TStatusPanelBevel bevel_ = TStatusPanelBevel::pbLowered;
  TStatusPanelStyle style_ = TStatusPanelStyle::psText;
  TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
};

class TStatusPanels : public TCollection {
public:
  explicit TStatusPanels(TCustomStatusBar *bar);
  TStatusPanel *Add() { return static_cast<TStatusPanel *>(TCollection::Add()); }
  TStatusPanel *Items(int index) const {
    return static_cast<TStatusPanel *>(TCollection::Items(index));
  }
  TCustomStatusBar *StatusBar() const { return bar_; }

private:
  TCustomStatusBar *bar_;
};

using TDrawPanelEvent =
    TDelegate<void(TCustomStatusBar *bar, TStatusPanel *panel, const RECT &rect)>;

// A bar of panels along the bottom of its parent (msctls_statusbar32); with SimplePanel it
// shows SimpleText across its whole width.
class TCustomStatusBar : public TWinControl {
public:
  explicit TCustomStatusBar(TComponent *owner);
  ~TCustomStatusBar() override;
  TStatusPanels *Panels() const { return panels_.get(); }
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  const std::string &SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string &value);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool value);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode value);
  // Owner-drawn panels (psOwnerDraw) are painted by this handler, on Canvas.
  TDrawPanelEvent OnDrawPanel;
  // The device context of the panel being drawn, while OnDrawPanel runs.
  TCanvas &Canvas() { return *canvas_; }
  // Calls OnDrawPanel for the panel with the canvas on dc.
  void DrawPanel(HDC dc, TStatusPanel *panel, const RECT &rect);

  // Gives the panels to the window again (after a panel changed).
  void UpdatePanels();
  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;

private:
  std::unique_ptr<TStatusPanels> panels_;
  std::unique_ptr<TCanvas> canvas_;
  bool simplePanel_ = false;
  std::string simpleText_;
  bool sizeGrip_ = true;
  TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
};

class TStatusBar : public TCustomStatusBar {
public:
  using TCustomStatusBar::TCustomStatusBar;
};

enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };

// The common part of tab controls and page controls (SysTabControl32). Tabs on the left or
// right are always laid out in rows (the system shows vertical tabs only that way).
class TCustomTabControl : public TWinControl {
public:
  explicit TCustomTabControl(TComponent *owner);
  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition value);
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle value);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);
  TImageList *Images() const { return images_; }
  void SetImages(TImageList *value);
  // The selected tab, -1 for none.
  int TabIndex() const;
  void SetTabIndex(int value);
  // The area inside the tabs and the frame, in client coordinates.
  RECT DisplayRect();
  TNotifyEvent OnChange;

  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;
  // Puts the tab items into the window (after it was made).
  virtual void LoadTabs() = 0;
  // The selection moved to another tab.
  virtual void Change();
  void BoundsChanged() override;
  // The display area changed size: the page control lays its pages out again.
  virtual void LayoutPages() {}
  void InsertTab(int index, const std::string &text, int imageIndex);
  void DeleteTab(int index);
  void SetTabText(int index, const std::string &text);

private:
  TTabPosition tabPosition_ = TTabPosition::tpTop;
  TTabStyle style_ = TTabStyle::tsTabs;
  bool multiLine_ = false;
  TImageList *images_ = nullptr;
  mutable int tabIndex_ = -1;
};

// Tabs without pages: the application changes what it shows when the selection changes.
class TTabControl : public TCustomTabControl {
public:
  explicit TTabControl(TComponent *owner);
  ~TTabControl() override;
  int TabCount() const;
  std::string Tab(int index) const;
  void AddTab(const std::string &text);
  void SetTabs(const std::vector<std::string> &texts);

protected:
  void LoadTabs() override;

private:
  std::vector<std::string> tabs_;
};

class TPageControl;

// One page of a page control: its tab shows the page's Caption.
class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent *owner);
  ~TTabSheet() override;
  TPageControl *PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl *value);
  int PageIndex() const;
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  // Form data places a page inside its page control: it becomes one of its pages.
  void SetParentComponent(TComponent *parent) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void TextChanged() override;

private:
  friend class TPageControl;
  TPageControl *pageControl_ = nullptr;
  int imageIndex_ = -1;
};

// Pages behind tabs: the page of the selected tab shows, the others hide.
class TPageControl : public TCustomTabControl {
public:
  explicit TPageControl(TComponent *owner);
  ~TPageControl() override;
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet *Pages(int index) const;
  TTabSheet *ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet *page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);

protected:
  void LoadTabs() override;
  void Change() override;
  void LayoutPages() override;

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet *page);
  void RemovePage(TTabSheet *page);
  void PageCaptionChanged(TTabSheet *page);
  void ShowActivePage();
  std::vector<TTabSheet *> pages_;
  TTabSheet *activePage_ = nullptr;
};

// The old-style tab set: a row of tabs it paints itself, hanging from its top edge, laid out
// from StartMargin and scrolled by an arrow pair (its first component) when they do not fit.
class TTabSet : public TCustomControl {
public:
  explicit TTabSet(TComponent *owner);
  ~TTabSet() override;
  TStringList *Tabs() const { return tabs_.get(); }
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int value);
  int FirstIndex() const { return firstIndex_; }
  void SetFirstIndex(int value);
  int StartMargin() const { return startMargin_; }
  void SetStartMargin(int value);
  int EndMargin() const { return endMargin_; }
  void SetEndMargin(int value);
  TUpDown *Scroller() const { return scroller_; }
  // The width of a tab: its text and a little room either side.
  int TabWidth(int index);
  // The tabs from FirstIndex that fit, with their rectangles; refreshes the scroller.
  std::vector<RECT> VisibleTabs();
  // Lays the tabs out again after Tabs changed.
  void TabsChanged();
  TNotifyEvent OnChange;

  void WndProc(TMessage &message) override;

protected:
  void Paint() override;
  void BoundsChanged() override;

private:
  void ScrollerClick(TObject *sender);
  std::unique_ptr<TStringList> tabs_;
  TUpDown *scroller_; // owned through the component tree
  int tabIndex_ = -1, firstIndex_ = 0, startMargin_ = 5, endMargin_ = 5;
};

// One band of a cool bar: a child control with a caption, on the band's colour.
class TCoolBand : public TCollectionItem {
public:
  explicit TCoolBand(TCollection *collection);
  TWinControl *Control() const { return control_; }
  void SetControl(TWinControl *value);
  const std::string &Text() const { return text_; }
  void SetText(const std::string &value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Width() const { return width_; }
  void SetWidth(int value);

private:
  void Changed();
  TWinControl *control_ = nullptr;
  std::string text_;
  TColor color_ = clBtnFace;
  int width_ = 100;
};

class TCoolBar;

class TCoolBands : public TCollection {
public:
  explicit TCoolBands(TCoolBar *bar);
  TCoolBand *Add() { return static_cast<TCoolBand *>(TCollection::Add()); }
  TCoolBand *Items(int index) const { return static_cast<TCoolBand *>(TCollection::Items(index)); }
  TCoolBar *CoolBar() const { return bar_; }

private:
  TCoolBar *bar_;
};

// Movable bands, one control each (ReBarWindow32).
class TCoolBar : public TWinControl {
public:
  explicit TCoolBar(TComponent *owner);
  ~TCoolBar() override;
  TCoolBands *Bands() const { return bands_.get(); }
  // Gives the bands to the window again (after a band changed).
  void UpdateBands();

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;

private:
  std::unique_ptr<TCoolBands> bands_;
};

void RegisterBarControls();
