// List views.
#include "framework/gui/listview.h"

#include "framework/core/typinfo.h"

#include <commctrl.h>

#include <algorithm>

TCustomListView::TCustomListView(TComponent *owner) : TWinControl(owner) {
  SetBoundsFields(0, 0, 250, 150);
  SetTabStop(true);
}

void TCustomListView::CreateParams(TCreateParams &p) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);
  TWinControl::CreateParams(p);
  p.SystemClassName = WC_LISTVIEWA;
  p.ExStyle |= WS_EX_CLIENTEDGE;
  static constexpr DWORD kStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  p.Style |= kStyles[static_cast<int>(viewStyle_)] | LVS_SHOWSELALWAYS | LVS_SINGLESEL;
  if (!showColumnHeaders_)
    p.Style |= LVS_NOCOLUMNHEADER;
}

// A new window gets the columns and rows kept here.
void TCustomListView::CreateHandleDone() {
  TWinControl::CreateHandleDone();
  for (int i = 0; i < ColumnCount(); ++i)
    InsertColumn(i);
  for (int i = 0; i < ItemCount(); ++i)
    InsertItem(i);
}

void TCustomListView::SetViewStyle(TViewStyle value) {
  if (value == viewStyle_)
    return;
  viewStyle_ = value;
  RecreateWnd();
}

void TCustomListView::SetShowColumnHeaders(bool value) {
  if (value == showColumnHeaders_)
    return;
  showColumnHeaders_ = value;
  RecreateWnd();
}

void TCustomListView::AddColumn(const std::string &caption, int width) {
  columns_.push_back({caption, width});
  if (HandleAllocated())
    InsertColumn(ColumnCount() - 1);
}

void TCustomListView::InsertColumn(int index) {
  const Column &c = columns_[static_cast<size_t>(index)];
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.cx = c.width;
  column.iSubItem = index;
  column.pszText = const_cast<char *>(c.caption.c_str());
  SendMessageA(Handle(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&column));
}

void TCustomListView::AddItem(const std::vector<std::string> &texts) {
  items_.push_back(texts.empty() ? std::vector<std::string>{""} : texts);
  if (HandleAllocated())
    InsertItem(ItemCount() - 1);
}

void TCustomListView::InsertItem(int index) {
  const std::vector<std::string> &texts = items_[static_cast<size_t>(index)];
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<char *>(texts[0].c_str());
  SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  for (size_t sub = 1; sub < texts.size(); ++sub) {
    item.iSubItem = static_cast<int>(sub);
    item.pszText = const_cast<char *>(texts[sub].c_str());
    SendMessageA(Handle(), LVM_SETITEMTEXTA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
  }
}

std::string TCustomListView::ItemText(int item, int column) const {
  if (item < 0 || item >= ItemCount() || column < 0)
    return {};
  const std::vector<std::string> &texts = items_[static_cast<size_t>(item)];
  return static_cast<size_t>(column) < texts.size() ? texts[static_cast<size_t>(column)] : "";
}

void TCustomListView::Clear() {
  items_.clear();
  if (HandleAllocated())
    SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0);
}

void TCustomListView::SortByColumn(int column, bool ascending) {
  const auto key = [column](const std::vector<std::string> &row) {
    return column >= 0 && static_cast<size_t>(column) < row.size()
               ? row[static_cast<size_t>(column)]
               : std::string();
  };
  std::stable_sort(items_.begin(), items_.end(), [&](const auto &a, const auto &b) {
    return ascending ? key(a) < key(b) : key(b) < key(a);
  });
  if (!HandleAllocated())
    return;
  SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < ItemCount(); ++i)
    InsertItem(i);
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomListView::WndProc(TMessage &m) {
  if (m.Msg == CN_NOTIFY) {
    const auto *header = reinterpret_cast<const NMHDR *>(m.LParam);
    if (header->code == LVN_COLUMNCLICK && OnColumnClick)
      OnColumnClick(this, reinterpret_cast<const NMLISTVIEW *>(m.LParam)->iSubItem);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

void RegisterListViews() {
  static const TEnumInfo styleInfo{"TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}};
  using L = TCustomListView;
  RegisterClass<TCustomListView, TWinControl>(
      "TCustomListView",
      {
          Published::Enumeration("ViewStyle", styleInfo, &L::ViewStyle, &L::SetViewStyle),
          Published::Boolean("ShowColumnHeaders", &L::ShowColumnHeaders,
                             &L::SetShowColumnHeaders),
      });
  RegisterClass<TListView, TCustomListView>("TListView", {});
}
