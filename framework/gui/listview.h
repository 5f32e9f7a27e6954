// A list view (SysListView32) with columns and rows of text, for report-style lists.
#pragma once

#include "framework/gui/controls.h"

#include <functional>
#include <string>
#include <vector>

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TCustomListView;
using TLVColumnClickEvent = std::function<void(TCustomListView *sender, int column)>;

// The columns and rows are kept here as well as in the window, so that they survive a
// re-created window and can be sorted.
class TCustomListView : public TWinControl {
public:
  explicit TCustomListView(TComponent *owner);

  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle value);
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool value);

  void AddColumn(const std::string &caption, int width);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  // A row: its caption followed by the texts of the further columns.
  void AddItem(const std::vector<std::string> &texts);
  int ItemCount() const { return static_cast<int>(items_.size()); }
  // The text of a row in a column ("" beyond its texts), as the window shows it.
  std::string ItemText(int item, int column) const;
  void Clear();
  // Orders the rows by their text in column (a stable sort).
  void SortByColumn(int column, bool ascending);

  TLVColumnClickEvent OnColumnClick;

  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;

private:
  struct Column {
    std::string caption;
    int width;
  };
  void InsertColumn(int index);
  void InsertItem(int index);

  TViewStyle viewStyle_ = TViewStyle::vsIcon;
  bool showColumnHeaders_ = true;
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> items_;
};

class TListView : public TCustomListView {
public:
  using TCustomListView::TCustomListView;
};

void RegisterListViews();
