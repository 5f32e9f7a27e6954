// Forms, the application object and the screen.
//
// A form class of the program (TMainForm) derives from TForm, registers itself with its
// published component fields and event handlers, and reads its form data in its constructor:
//
//   TMainForm::TMainForm(TComponent *owner) : TForm(owner) { ReadFormResource(); }
//
// Dialog keys are the framework's own (no IsDialogMessage): the message loop hands each key to
// the control with the focus as CN_KEYDOWN; a control that does not want Tab, Return, Escape or
// an arrow (WM_GETDLGCODE) passes it to its form as CM_DIALOGKEY. The form moves the focus on
// Tab and broadcasts the rest to its controls: the focused button, or else the default button,
// takes Return; the cancel button takes Escape. Alt+letter (and a letter where the focused
// control takes no characters) travels the same way as CM_DIALOGCHAR to the control whose
// caption has that accelerator.
#pragma once

#include "framework/gui/controls.h"

class TMainMenu;

#include <string>
#include <vector>

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

using TBorderIcons = uint8_t;
constexpr TBorderIcons biSystemMenu = 1;
constexpr TBorderIcons biMinimize = 2;
constexpr TBorderIcons biMaximize = 4;
constexpr TBorderIcons biHelp = 8;

enum class TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

// fsMDIForm: the form holds an MDI client window whose children are the fsMDIChild forms (made
// inside the fsMDIForm that owns them, or else the application's main form, which must then be
// fsMDIForm).
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TTileMode { tbHorizontal, tbVertical };
using TCloseEvent = TDelegate<void(TObject *Sender, TCloseAction &Action)>;
using TCloseQueryEvent = TDelegate<void(TObject *Sender, bool &CanClose)>;

class EInvalidOperation : public Exception {
public:
  using Exception::Exception;
};

class TCustomForm : public TWinControl {
public:
  explicit TCustomForm(TComponent *owner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  // The menu bar (borrowed: usually a component the form owns). The form routes the menu's
  // WM_COMMAND, WM_MEASUREITEM and WM_DRAWITEM to it.
  TMainMenu *Menu() const { return menu_; }
  void SetMenu(TMainMenu *menu);
  // Accepted for the skin engine, which switches it off; forms here never scroll.
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool value) { autoScroll_ = value; }

  // Exact client size: kept until the window exists, then the window is sized to give it.
  void SetClientWidth(int value) override;
  void SetClientHeight(int value) override;
  RECT ClientRect() const override;

  void SetVisible(bool value) override;
  bool Showing() const override;
  // Shows the form and brings it to the front.
  void ShowForm();
  // Disables the thread's other windows, shows the form and runs a message loop until
  // ModalResult is set (a button's ModalResult, Close, the close box); answers it.
  TModalResult ShowModal();
  bool Modal() const { return modal_; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  // As the close box: a modal form ends its loop with mrCancel; the main form ends the
  // application; any other form does what OnClose leaves in its action (hide by default).
  void Close();
  bool CloseQuery();
  // Frees the form once the messages now queued for it have been handled.
  void Release();

  bool Active() const { return active_; }
  TWinControl *ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl *control);
  // Gives control the focus (now, if the form's window is visible; else when it is shown).
  void FocusControl(TWinControl *control);
  // Called by a control that received the focus.
  void SetFocusedControl(TWinControl *control);
  // Forgets a control that is about to leave the form.
  void ControlRemoving(TControl *control);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void WndProc(TMessage &message) override;

  // --- multiple-document interface (forms_mdi.cpp)
  TFormStyle FormStyle() const { return formStyle_; }
  // Takes effect with the next window (an existing one is made anew).
  void SetFormStyle(TFormStyle value);
  // The MDI client window of an MDI main form, or null.
  HWND ClientHandle() const { return clientHandle_; }
  // The active child of an MDI main form, or null.
  TCustomForm *ActiveMDIChild() const;
  // The children of an MDI main form, from the top of their z-order down.
  int MDIChildCount() const { return static_cast<int>(MDIChildList().size()); }
  TCustomForm *MDIChildren(int index) const;
  TTileMode TileMode() const { return tileMode_; }
  void SetTileMode(TTileMode value) { tileMode_ = value; }
  void Tile();
  void Cascade();
  void ArrangeIcons();
  void Next();
  void Previous();

protected:
  // Reads form data into this form, then raises OnCreate. For the constructors of form
  // classes; raises EFormDataError (and leaves no component behind) for bad data.
  void ReadForm(const std::string &text);
  // The same with the RCDATA resource of the running program named name (default: the form's
  // registered class name).
  void ReadFormResource(const std::string &name = {});

  void CreateParams(TCreateParams &params) override;
  void CreateWnd() override;
  HWND CreateWindowHandle(const TCreateParams &params) override;
  void DestroyWnd() override;
  // The MDI default procedures for MDI main forms and children.
  void DefaultHandler(TMessage &message) override;
  void CreateHandleDone() override;
  void DestroyHandleStart() override;
  bool PaintsItself() const override { return true; }

  void WMClose(TMessage &message);
  // The menu bar's messages; false when the message is not about one of its items.
  bool MenuMessage(TMessage &message);
  void Notification(TComponent *component, TOperation operation) override;
  void WMActivate(TMessage &message);
  void WMSetFocus(TMessage &message);
  void CMDialogKey(TMessage &message);
  void CMDialogChar(TMessage &message);
  void CMFocusChanged(TMessage &message);

private:
  void SetWindowFocus();
  // Width and Height that give the pending client size under the current styles.
  void ApplyPendingClientSize();
  void FixClientSize();
  DWORD WindowStyle() const;
  DWORD WindowExStyle() const;
  TModalResult RunModalLoop();
  // MDI (forms_mdi.cpp).
  // The MDI form an fsMDIChild lives in.
  TCustomForm *MDIFrame() const;
  void MDIChildParams(TCreateParams &params) const;
  void CreateMDIClient();
  std::vector<TCustomForm *> MDIChildList() const;
  void SendToClient(UINT msg, WPARAM wParam = 0) const;

  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = TPosition::poDesigned;
  TMainMenu *menu_ = nullptr;
  bool autoScroll_ = false;
  int clientWidth_ = -1, clientHeight_ = -1; // pending until the window exists
  bool modal_ = false;
  TModalResult modalResult_ = mrNone;
  bool active_ = false;
  bool released_ = false;
  TWinControl *activeControl_ = nullptr;
  int pixelsPerInch_ = 96;
  int textHeight_ = 13;
  bool scaled_ = true;
  bool oldCreateOrder_ = false;
  TFormStyle formStyle_ = TFormStyle::fsNormal;
  TTileMode tileMode_ = TTileMode::tbHorizontal;
  HWND clientHandle_ = nullptr;

  friend void RegisterForms();
};

class TForm : public TCustomForm {
public:
  using TCustomForm::TCustomForm;
};

// ----------------------------------------------------------------- TScreen

class TScreen : public TComponent {
public:
  explicit TScreen(TComponent *owner);
  ~TScreen() override;

  // Forms in the order they were created.
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm *Forms(int index) const;
  TCustomForm *ActiveForm() const { return activeForm_; }
  // The font of menus, as the system has it.
  TFont *MenuFont() const { return menuFont_.get(); }
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

  void AddForm(TCustomForm *form);
  void RemoveForm(TCustomForm *form);
  void SetActiveForm(TCustomForm *form);

private:
  std::vector<TCustomForm *> forms_;
  TCustomForm *activeForm_ = nullptr;
  std::unique_ptr<TFont> menuFont_;
};

// ----------------------------------------------------------------- TApplication

using TExceptionEvent = TDelegate<void(TObject *Sender, const Exception &E)>;

class TApplication : public TComponent {
public:
  explicit TApplication(TComponent *owner = nullptr);
  ~TApplication() override;

  // Initialises COM on this thread as a single-threaded apartment; it is uninitialised when
  // the application object goes, if this succeeded.
  void Initialize();
  bool ComInitialized() const { return comInitialized_; }

  const std::string &Title() const { return title_; }
  void SetTitle(const std::string &title) { title_ = title; }
  // The first form created with CreateForm; closing it ends Run.
  TCustomForm *MainForm() const { return mainForm_; }
  // The window that owns the application's dialogs: the main form's (or none).
  HWND Handle() const;

  // Creates a form owned by the application; the first one becomes MainForm.
  template <class F> F *CreateForm() {
    F *form = new F(this);
    if (mainForm_ == nullptr) {
      mainForm_ = form;
      FreeNotification(form);
    }
    return form;
  }

  // Shows the main form and handles messages until Terminate (or closing the main form).
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every message now waiting, then returns.
  void ProcessMessages();
  // Handles one message, waiting for it if none is there.
  void HandleMessage();
  // One message if there is one: false when the queue was empty.
  bool ProcessMessage();
  // Keys for the framework's dialog handling (see the top of this file).
  bool IsKeyMsg(MSG &msg);
  // Ctrl+F4, Ctrl+F6 and the child's system menu key for an MDI main form's children.
  bool IsMDIMsg(MSG &msg);

  // To be called in a catch block: OnException if assigned, otherwise ShowException. An
  // exception that is not an Exception counts as one with an empty message.
  void HandleException(TObject *sender);
  // The standard error display: a message box with the message, captioned with the title.
  void ShowException(const Exception &e);
  TExceptionEvent OnException;

  int MessageBox(const std::string &text, const std::string &caption, UINT flags);

  void Notification(TComponent *component, TOperation operation) override;

private:
  std::string title_;
  TCustomForm *mainForm_ = nullptr;
  bool terminated_ = false;
  bool comInitialized_ = false;
};

// The process's application object and screen: set while they exist.
extern TApplication *Application;
extern TScreen *Screen;

void RegisterForms();
