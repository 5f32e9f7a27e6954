// Menus: a tree of items built into system menus. A popup menu builds its system menu each
// time it is shown; a main menu keeps its menu bar while it exists and rebuilds it on request.
//
// The system menu exists only while the popup is tracked: Popup builds it from the items,
// tracks it, destroys it and only then runs the chosen item's Click, so a click handler may
// change or free the menu. Items are found again by their command, never by a pointer kept
// in the system menu, so items freed while the menu is up are simply not found.
//
// With OwnerDraw set, every item is MFT_OWNERDRAW (still carrying its text, so that mnemonics
// and GetMenuString keep working) and a hidden utility window answers WM_MEASUREITEM and
// WM_DRAWITEM through the item's MeasureItem and DrawItem. A main menu's top-level items stay
// as they are (the bar draws them); its window (the form) routes WM_COMMAND, WM_MEASUREITEM and
// WM_DRAWITEM to it.
#pragma once

#include "framework/core/classes.h"
#include "framework/core/delegates.h"
#include "framework/gui/canvas.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TImageList;
class TMenu;
class TMenuItem;
class TPopupMenu;

using TMenuDrawItemEvent =
    TDelegate<void(TObject *Sender, TCanvas *ACanvas, RECT ARect, bool Selected)>;
using TMenuMeasureItemEvent =
    TDelegate<void(TObject *Sender, TCanvas *ACanvas, int &Width, int &Height)>;

class EMenuError : public Exception {
public:
  using Exception::Exception;
};

class TMenuItem : public TComponent { // Tag comes from TComponent
public:
  explicit TMenuItem(TComponent *owner);
  ~TMenuItem() override;

  std::string Caption;      // "-" makes a separator; "&" marks the mnemonic
  std::string ShortCutText; // shown right-aligned after a tab, e.g. "ALT+F4"
  int ImageIndex = -1;
  bool Enabled = true;
  bool Checked = false;
  bool Visible = true;  // invisible items are left out of the built menu
  bool Default = false; // drawn bold: the item a double click would choose
  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem; // used when the menu is owner-drawn
  TMenuMeasureItemEvent OnMeasureItem;

  // The item becomes the last child and is owned by this item from then on (it leaves its
  // previous parent). Raises EMenuError for null, for this item or one of its ancestors, and
  // for the root item of a popup menu.
  void Add(TMenuItem *item);
  // Frees every child.
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EMenuError for an index out of range.
  TMenuItem *Items(int index) const;
  int IndexOf(const TMenuItem *item) const;
  TMenuItem *Parent() const { return parent_; }
  // The menu whose tree holds this item, or null.
  TMenu *GetParentMenu() const;
  bool IsLine() const { return Caption == "-"; }

  // Fires OnClick.
  virtual void Click();

  // The command of the item in the menu built last (unique in its popup, never the Tag); 0
  // when the item was not part of it.
  UINT Command() const { return command_; }
  // The system menu holding this item's children while it is built, else null.
  HMENU Handle() const { return handle_; }
  // The items of the built menu at this item's level: the visible ones, in order.
  std::vector<TMenuItem *> VisibleItems() const;

  // Owner drawing. MeasureItem starts from the default size and lets OnMeasureItem adjust it;
  // DrawItem calls OnDrawItem, or draws the default look without one. Handlers that only
  // decorate the default can call the Default functions themselves.
  virtual void MeasureItem(TCanvas *canvas, int &width, int &height);
  virtual void DrawItem(TCanvas *canvas, RECT rect, bool selected);
  // Room for the glyph column, the caption and the shortcut, in the canvas's font.
  void DefaultMeasureItem(TCanvas *canvas, int &width, int &height);
  // Menu colours, the image of the parent menu's Images (or a check mark), the caption on the
  // left and the shortcut on the right; disabled text in COLOR_GRAYTEXT; separators as an
  // etched line.
  void DefaultDrawItem(TCanvas *canvas, RECT rect, bool selected);

  // Form data: an item nested in a popup menu or in another item is added to it.
  void SetParentComponent(TComponent *parent) override;
  TComponent *GetParentComponent() const override;

private:
  friend class TMenu;
  void Detach(TMenuItem *item);
  // The glyph column's size: the parent menu's image size, 16 x 16 without images.
  SIZE GlyphSize() const;

  TMenuItem *parent_ = nullptr;
  std::vector<TMenuItem *> items_;
  TMenu *menu_ = nullptr; // set on the root item of a menu only
  UINT command_ = 0;
  HMENU handle_ = nullptr;
};

// What popup and main menus share: the item tree, its images and the building of system menus.
class TMenu : public TComponent {
public:
  explicit TMenu(TComponent *owner);
  ~TMenu() override;

  TMenuItem *Items() const { return items_; } // the root item (owned)
  TImageList *Images = nullptr;               // borrowed
  bool OwnerDraw = false;
  bool RightToLeft = false; // laid out and read from the right

  // The item of the built menu with that command, or null.
  TMenuItem *FindItem(UINT command) const;
  virtual HMENU Handle() const = 0;

  void Notification(TComponent *component, TOperation operation) override;

protected:
  // A system menu of parent's visible children; depth 1 for the root's own items. Items below
  // minOwnerDrawDepth are never owner-drawn.
  HMENU BuildMenu(TMenuItem *parent, UINT &nextCommand, bool bar, int depth = 1);
  // Clears the handles (and the commands) left on the items by the last build.
  static void ResetBuild(TMenuItem *item, bool commands);
  // Measures and draws the items of the built menu for WM_MEASUREITEM and WM_DRAWITEM; false
  // for a message that is not about one of them.
  bool MeasureItemMessage(MEASUREITEMSTRUCT *measure);
  bool DrawItemMessage(DRAWITEMSTRUCT *draw);

  int minOwnerDrawDepth_ = 1;

private:
  TMenuItem *items_;
};

class TPopupMenu : public TMenu {
public:
  explicit TPopupMenu(TComponent *owner);
  ~TPopupMenu() override;

  TNotifyEvent OnPopup; // before the menu is built, so it can still change the items

  // Builds the menu, tracks it at the screen point and runs the chosen item's Click after the
  // menu has closed; returns when the menu closed (chosen or cancelled). A call while this
  // menu is already being tracked does nothing.
  void Popup(int x, int y);
  // The system menu while it is tracked, else null (it is destroyed when tracking ends).
  HMENU Handle() const override { return handle_; }
  bool Tracking() const { return handle_ != nullptr; }
  // The window that owns the tracked menu (made on the first Popup), or null.
  HWND Window() const { return window_; }

private:
  void WndProc(TMessage &message);

  HMENU handle_ = nullptr;
  HWND window_ = nullptr;
  // Cleared when the menu is freed; Popup holds a copy so that it can tell, after tracking,
  // whether a handler freed the menu under it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// A form's menu bar. The bar is built on the first Handle() and kept; after changing the items,
// Rebuild() makes a new one and hands it to the window that shows the old one.
class TMainMenu : public TMenu {
public:
  explicit TMainMenu(TComponent *owner);
  ~TMainMenu() override;

  HMENU Handle() const override;
  void Rebuild();
  // The window showing the bar (set by the form); told of a rebuilt bar with CM_MENUCHANGED.
  HWND Window = nullptr;
  // Sets or clears MFT_OWNERDRAW on the built drop-down items after OwnerDraw changed.
  void ApplyOwnerDraw();
  // WM_COMMAND of a menu item: runs the enabled item's Click; false when no item has it.
  bool DispatchCommand(UINT command);
  // WM_MEASUREITEM and WM_DRAWITEM of the form: true when an item of this menu was handled.
  bool MeasureItem(MEASUREITEMSTRUCT *measure) { return MeasureItemMessage(measure); }
  bool DrawItem(DRAWITEMSTRUCT *draw) { return DrawItemMessage(draw); }

private:
  void ApplyOwnerDraw(TMenuItem *parent, int depth);
  mutable HMENU handle_ = nullptr;
};

// Registers TMenuItem, TPopupMenu and TMainMenu with their published properties (idempotent).
void RegisterMenus();
