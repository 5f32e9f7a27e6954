// Popup menus: a tree of items that is built into a system popup menu each time it is shown.
//
// The system menu exists only while the popup is tracked: Popup builds it from the items,
// tracks it, destroys it and only then runs the chosen item's Click, so a click handler may
// change or free the menu. Items are found again by their command, never by a pointer kept
// in the system menu, so items freed while the menu is up are simply not found.
//
// With OwnerDraw set, every item is MFT_OWNERDRAW (still carrying its text, so that mnemonics
// and GetMenuString keep working) and a hidden utility window answers WM_MEASUREITEM and
// WM_DRAWITEM through the item's MeasureItem and DrawItem.
#pragma once

#include "framework/core/classes.h"
#include "framework/core/delegates.h"
#include "framework/gui/canvas.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TImageList;
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
  bool Visible = true; // invisible items are left out of the built menu
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
  // The popup menu whose tree holds this item, or null.
  TPopupMenu *GetParentMenu() const;
  bool IsLine() const { return Caption == "-"; }

  // Fires OnClick.
  virtual void Click();

  // The command of the item in the menu built last (unique in its popup, never the Tag); 0
  // when the item was not part of it.
  UINT Command() const { return command_; }
  // The system menu holding this item's children while the popup is tracked, else null.
  HMENU Handle() const { return handle_; }

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
  friend class TPopupMenu;
  void Detach(TMenuItem *item);
  // The glyph column's size: the parent menu's image size, 16 x 16 without images.
  SIZE GlyphSize() const;

  TMenuItem *parent_ = nullptr;
  std::vector<TMenuItem *> items_;
  TPopupMenu *menu_ = nullptr; // set on the root item of a popup only
  UINT command_ = 0;
  HMENU handle_ = nullptr;
};

class TPopupMenu : public TComponent {
public:
  explicit TPopupMenu(TComponent *owner);
  ~TPopupMenu() override;

  TMenuItem *Items() const { return items_; } // the root item (owned)
  TImageList *Images = nullptr;               // borrowed
  bool OwnerDraw = false;
  TNotifyEvent OnPopup; // before the menu is built, so it can still change the items

  // Builds the menu, tracks it at the screen point and runs the chosen item's Click after the
  // menu has closed; returns when the menu closed (chosen or cancelled). A call while this
  // menu is already being tracked does nothing.
  void Popup(int x, int y);
  // The system menu while it is tracked, else null (it is destroyed when tracking ends).
  HMENU Handle() const { return handle_; }
  bool Tracking() const { return handle_ != nullptr; }
  // The item of the built menu with that command, or null.
  TMenuItem *FindItem(UINT command) const;

  void Notification(TComponent *component, TOperation operation) override;

private:
  HMENU BuildMenu(TMenuItem *parent, UINT &nextCommand);
  // Clears the handles (and the commands) left on the items by the last build.
  static void ResetBuild(TMenuItem *item, bool commands);
  void WndProc(TMessage &message);
  void WMMeasureItem(TMessage &message);
  void WMDrawItem(TMessage &message);

  TMenuItem *items_;
  HMENU handle_ = nullptr;
  HWND window_ = nullptr; // owner of the tracked menu, made on the first Popup
  // Cleared when the menu is freed; Popup holds a copy so that it can tell, after tracking,
  // whether a handler freed the menu under it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Registers TMenuItem and TPopupMenu with their published properties (idempotent).
void RegisterMenus();
