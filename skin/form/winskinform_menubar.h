// The skinned menu bar: the window's own menu bar is taken away and drawn in the menu band
// under the caption, one TMenuBtn per top-level item. A button's drop-down is tracked with
// TrackPopupMenu while a message-filter hook moves between the top-level items with the arrow
// keys and the mouse.
#pragma once

#include "skin/form/winskinform.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class TMainMenu;
class TMenuItem;
class TSkinData;

class TMenuBtn : public TNCObject {
public:
  explicit TMenuBtn(TWinSkinForm *form) : TNCObject(form) {}

  TSkinData *SkinData = nullptr;
  int Index = 0;
  std::wstring Caption;
  bool Enabled = true;
  TMenuItem *Item = nullptr; // the framework item, or none for a native menu
  HMENU SubMenu = nullptr;   // the drop-down, or none
  UINT Command = 0;

  void Draw() override;
  // The accelerator character (after an ampersand), lower case; 0 when none.
  wchar_t Accelerator() const;
};

class TWinSkinMenu : public TComponent {
public:
  TWinSkinMenu(TWinSkinForm *form, TSkinData *data, TMainMenu *menu);
  ~TWinSkinMenu() override;

  std::vector<std::unique_ptr<TMenuBtn>> Buttons;
  TMainMenu *Menu;
  RECT BandRect{0, 0, 0, 0};
  TSkinData *SkinData;
  TWinSkinForm *Form;
  TBitmap Background; // the band as last painted, without captions
  int ButtonCount = 0;
  bool Painting = false;
  HMENU MenuHandle = nullptr;

  // Rebuild Buttons from the window's menu (or the one kept), then take the menu off the window.
  void UpdataBtn();
  void UpdataBtn1();
  void UpdataBtn2(HMENU menu);
  void DrawMenu(HDC dc, const RECT &rect);
  // The button under a point in window coordinates, or null.
  TMenuBtn *FindBtn(POINT point) const;
  bool RightToLeft() const;
  // Marks every item under menu owner-drawn (remembering which it changed).
  void MakeOwnerDrawn(HMENU menu);
  // Gives back the items MakeOwnerDrawn changed.
  void RestoreOwnerDrawn();

private:
  void ClearButtons();
  // Common end of the rebuilds: the skinned band replaces the system's bar.
  void TakeMenu();
  std::vector<std::pair<HMENU, UINT>> ownerDrawn_;
};

// Tidies the separators of item's visible children: none first, last or twice in a row.
void TidySeparators(TMenuItem *item);
