// Controls: the base classes of every visual component and the binding of windows to objects.
//
// Every window of a windowed control runs one static window procedure. It finds its object
// through a window property and hands the message, as a TMessage, to the object's WindowProc
// delegate (by default the virtual WndProc). WndProc dispatches to the message handlers and ends
// in DefaultHandler, which calls the procedure of the system class the control's window class
// was made from. Nothing here depends on the pointer size, and nothing is generated at run time:
//
//   system -> [procedures installed later with SetWindowLongPtr] -> StdWndProc
//          -> WindowProc (a delegate others may swap) -> WndProc -> handlers -> DefaultHandler
//          -> CallWindowProcA(the system class's procedure)
//
// Both later hooks (SetWindowLongPtr over the window, a new WindowProc delegate) can be put on
// and taken off again in any order: StdWndProc never looks at GWLP_WNDPROC, and DefaultHandler
// calls the class procedure saved when the window class was registered.
#pragma once

#include "framework/core/classes.h"
#include "framework/core/delegates.h"
#include "framework/gui/canvas.h"
#include "framework/gui/graphics.h"
#include "framework/gui/messages.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// ----------------------------------------------------------------- small types

// A mouse cursor: 0 is the control's default, negative values are the standard cursors.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
// The system cursor of a TCursor value (IDC_ARROW for crDefault and unknown values).
HCURSOR CursorHandle(TCursor cursor);

// Transient states of a control.
using TControlState = unsigned;
constexpr TControlState csLButtonDown = 0x01; // the left button went down on it
constexpr TControlState csClicked = 0x02;
constexpr TControlState csFocusing = 0x20; // the form is moving the focus to it
constexpr TControlState csCreating = 0x40; // its window is being created
constexpr TControlState csDestroyingHandle = 0x200;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Modal results of forms and buttons.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = mrNo + 1;
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;

class TWinControl;
class TCustomForm;

// ----------------------------------------------------------------- TControl

class TControl : public TComponent {
public:
  explicit TControl(TComponent *owner);
  ~TControl() override;

  // Every message of the control passes through here. Hooks save the value, install their own
  // delegate and put the saved one back; the default is bound to WndProc.
  TWndMethod WindowProc;

  // Sends a message through WindowProc and answers its result.
  intptr_t Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  virtual void WndProc(TMessage &message);
  // What happens to a message nobody handled: nothing here; windowed controls call their
  // class's system procedure.
  virtual void DefaultHandler(TMessage &message);

  TWinControl *Parent() const { return parent_; }
  virtual void SetParent(TWinControl *parent);
  void SetParentComponent(TComponent *parent) override;
  TComponent *GetParentComponent() const override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  // The client area at the origin; a control without a window answers its own size.
  virtual RECT ClientRect() const;
  int ClientWidth() const { return ClientRect().right; }
  int ClientHeight() const { return ClientRect().bottom; }
  virtual void SetClientWidth(int value);
  virtual void SetClientHeight(int value);
  POINT ClientToScreen(POINT point);
  POINT ScreenToClient(POINT point);
  // The offset of this control's client origin inside its window's client area (graphic
  // controls are drawn in their parent's window).
  virtual POINT ClientOrigin();

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent up to a top-level window is showing.
  virtual bool Showing() const;

  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);

  // Caption and Text are one value: the window text.
  virtual std::string Text() const;
  void SetText(const std::string &text);
  std::string Caption() const { return Text(); }
  void SetCaption(const std::string &text) { SetText(text); }

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont *Font() const { return font_.get(); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);

  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState state) { controlState_ = state; }

  // Repaint requests: Invalidate marks the control's area, Update paints what is marked now.
  virtual void Invalidate();
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();

  // Raises OnClick; buttons and check boxes do more first.
  virtual void Click();
  const TNotifyEvent &OnClick() const { return onClick_; }
  void SetOnClick(const TNotifyEvent &handler) { onClick_ = handler; }
  TNotifyEvent OnDblClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // True while the mouse is over the control (between CM_MOUSEENTER and CM_MOUSELEAVE).
  bool MouseInControl() const { return mouseInControl_; }

  // The form the control sits on (the control itself for a form); null when there is none.
  TCustomForm *ParentForm() const;

protected:
  // Called when the window text changed (both with and without a window).
  virtual void TextChanged() {}
  virtual void SetTextBuffer(const std::string &text);
  const std::string &StoredText() const { return text_; }
  virtual void FontChanged();
  virtual void ColorChanged();
  // A control that is to be re-laid out after its bounds changed.
  virtual void BoundsChanged() {}
  // The default colour and font come from the parent when ParentColor or ParentFont is set.
  void ParentColorChanged();
  void ParentFontChanged();

  // Message handlers shared by every control.
  void CMMouseEnter(TMessage &message);
  void CMMouseLeave(TMessage &message);
  void WMLButtonDown(TMessage &message);
  void WMLButtonUp(TMessage &message);

  // The stored flag only, for forms, which show and hide their windows themselves.
  void SetVisibleField(bool value) { visible_ = value; }
  void SetBoundsFields(int left, int top, int width, int height) {
    left_ = left, top_ = top, width_ = width, height_ = height;
  }

  friend class TWinControl;

private:
  void FontChange(TObject *sender);

  TWinControl *parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string text_;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  bool parentFont_ = true;
  bool updatingFromParent_ = false;
  std::unique_ptr<TFont> font_;
  TCursor cursor_ = crDefault;
  TControlState controlState_ = 0;
  bool mouseInControl_ = false;
  TNotifyEvent onClick_;
};

// ----------------------------------------------------------------- TWinControl

// What CreateParams fills in for the creation of a control's window.
struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  HMENU Menu = nullptr; // for a child: its control id
  // The window class: our name for it, and the system class it is a superclass of (empty: a
  // class of our own over DefWindowProcA).
  std::string WinClassName;
  std::string SystemClassName;
  UINT ClassStyle = CS_DBLCLKS;
  HBRUSH Background = nullptr;
};

class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent *owner);
  ~TWinControl() override;

  // The window, created now (with the parent's window first) if it does not exist yet.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window; the control keeps its state and makes a new window when one is next
  // needed (and at once if it was showing). Done as CM_RECREATEWND through WindowProc, so that
  // whatever hooked the control sees the change and can follow the new window.
  void RecreateWnd();

  // The control that owns the window, or one of its ancestors (the combo box of the edit
  // inside it); null when no framework control owns any of them.
  static TWinControl *FindControl(HWND window);
  // Only the window's own control.
  static TWinControl *FromHandle(HWND window);

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl *Controls(int index) const;
  // The graphic child control under a point of the client area, or null.
  TControl *ControlAtPos(POINT point, bool allowDisabled = false) const;

  // Position among the windowed children of the parent that take the focus with Tab.
  int TabOrder() const;
  void SetTabOrder(int value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  // The windowed children in tab order.
  std::vector<TWinControl *> TabList() const;
  // The next (or previous) control of this one's tab cycle after current, or null.
  TWinControl *FindNextControl(TWinControl *current, bool forward, bool checkTabStop) const;
  void SelectNext(TWinControl *current, bool forward, bool checkTabStop);

  bool Focused();
  virtual bool CanFocus();
  virtual void SetFocus();

  // The input method named in form data. Stored only: the platform chooses input methods.
  const std::string &ImeName() const { return imeName_; }
  void SetImeName(const std::string &value) { imeName_ = value; }

  // The brush the background is painted with (the control's Color).
  TBrush &Brush();

  void SetBounds(int left, int top, int width, int height) override;
  RECT ClientRect() const override;
  POINT ClientOrigin() override { return {0, 0}; }
  void SetVisible(bool value) override;
  void SetEnabled(bool value) override;
  bool Showing() const override;
  std::string Text() const override;
  void Invalidate() override;
  void Update() override;
  void DefaultHandler(TMessage &message) override;
  void WndProc(TMessage &message) override;

  // Paints the graphic children that intersect the DC's clip region (parent coordinates).
  void PaintControls(HDC dc, TControl *first = nullptr);

protected:
  virtual void CreateParams(TCreateParams &params);
  virtual void CreateWnd();
  // Makes the window for CreateWnd, whose class is registered by then.
  virtual HWND CreateWindowHandle(const TCreateParams &params);
  virtual void DestroyWnd();
  // After the window exists: fonts, children, state.
  virtual void CreateHandleDone();
  // The window is about to go (before DestroyWindow).
  virtual void DestroyHandleStart() {}
  void DestroyHandle();
  // Makes windows for the windowed children, in tab order.
  void CreateChildHandles();

  // Reads the window's rectangle back into Left, Top, Width and Height.
  void UpdateBounds();
  // A windowed control takes keys for itself when it says so through WM_GETDLGCODE; otherwise
  // Tab, Return, Escape and the arrows go to the form as CM_DIALOGKEY.
  virtual bool WantsSpecialKey(WPARAM key);

  void TextChanged() override;
  void SetTextBuffer(const std::string &text) override;
  void FontChanged() override;
  void ColorChanged() override;

  // Message handlers.
  void WMPaint(TMessage &message);
  void WMEraseBkgnd(TMessage &message);
  void WMWindowPosChanged(TMessage &message);
  void WMSetFocus(TMessage &message);
  void WMKillFocus(TMessage &message);
  void WMMouseMove(TMessage &message);
  void WMMouseLeave(TMessage &message);
  void WMSetCursor(TMessage &message);
  void WMNCDestroy(TMessage &message);
  void CMRecreateWnd(TMessage &message);
  void CNKeyDown(TMessage &message);
  void CNChar(TMessage &message);
  void CMDialogKey(TMessage &message);
  void CMDialogChar(TMessage &message);
  // WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM and scroll messages about a child are sent
  // to that child as CN_ messages; answers false when no child of ours is concerned.
  bool ReflectToChild(TMessage &message);
  // Mouse messages over a graphic child go to it, with its own coordinates.
  bool ForwardMouseToGraphic(TMessage &message);
  // Paints the window's own content into dc (custom controls paint their canvas here).
  virtual void PaintWindow(HDC dc);
  // True for controls that paint everything themselves (panels, forms).
  virtual bool PaintsItself() const { return false; }

  // Ctl-colour answer of a child: the text colour and the background brush of this control.
  void ControlColors(TMessage &message);

  // Sends the message to every child control until one answers non-zero.
  void Broadcast(TMessage &message);

  friend class TControl;
  static LRESULT CALLBACK StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

private:
  void InsertControl(TControl *control);
  void RemoveControl(TControl *control);
  void AttachHandle(HWND window);
  void DetachHandle();
  void SortTabListByRequests();
  void SetMouseControl(TControl *control);

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;
  std::vector<TControl *> controls_; // every child, in insertion order
  std::vector<TWinControl *> tabList_;
  int requestedTabOrder_ = -1;
  bool tabStop_ = false;
  std::string imeName_;
  std::unique_ptr<TBrush> brush_;
  TControl *mouseControl_ = nullptr;   // graphic child under the mouse
  TControl *captureControl_ = nullptr; // graphic child that got the button press
  bool trackingMouse_ = false;
};

// ----------------------------------------------------------------- graphic controls

// A control without a window, painted by its parent into the parent's DC.
class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent *owner);
  ~TGraphicControl() override;
  TCanvas &Canvas() { return *canvas_; }
  void WndProc(TMessage &message) override;

protected:
  // Draws into Canvas, whose origin is the control's top-left corner.
  virtual void Paint() {}
  void WMPaint(TMessage &message);

private:
  std::unique_ptr<TCanvas> canvas_;
};

// A windowed control with a canvas that paints itself (panels).
class TCustomControl : public TWinControl {
public:
  explicit TCustomControl(TComponent *owner);
  ~TCustomControl() override;
  TCanvas &Canvas() { return *canvas_; }

protected:
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;
  bool PaintsItself() const override { return true; }
  void CreateParams(TCreateParams &params) override;

private:
  std::unique_ptr<TCanvas> canvas_;
};

// ----------------------------------------------------------------- utility windows

// A hidden message-only window whose messages go to method (timers use one). Free it with
// DeallocateHWnd.
HWND AllocateHWnd(const TWndMethod &method);
void DeallocateHWnd(HWND window);

// Ensures the framework's classes, published properties and named constants are registered
// (colours, cursors, character sets). Form constructors call it before they read form data.
void RegisterControlClasses();

// Called by the window procedures when a handler raised: the application's standard error
// display (forms.cpp). An exception never travels through the system's code.
void HandleWindowException();
