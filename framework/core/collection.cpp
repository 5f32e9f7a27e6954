#include "framework/core/collection.h"

#include <algorithm>

TCollectionItem::TCollectionItem(TCollection *collection) {
  if (collection != nullptr) {
    collection->InsertItem(this);
  }
}

TCollectionItem::~TCollectionItem() {
  if (collection_ != nullptr) {
    collection_->RemoveItem(this);
  }
}

int TCollectionItem::Index() const {
  if (collection_ == nullptr) {
    return -1;
  }
  const auto &items = collection_->items_;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
  const int current = Index();
  if (current < 0 || index == current) {
    return;
  }
  auto &items = collection_->items_;
  index = std::clamp(index, 0, static_cast<int>(items.size()) - 1);
  items.erase(items.begin() + current);
  items.insert(items.begin() + index, this);
}

std::string TCollectionItem::DisplayName() const {
  return std::string();
}

void TCollectionItem::Assign(const TCollectionItem &) {}

TCollection::TCollection(TItemFactory factory) : factory_(std::move(factory)) {}

TCollection::~TCollection() {
  Clear();
}

TCollectionItem *TCollection::Add() {
  TCollectionItem *item = factory_(this);
  if (item->collection_ != this) {
    InsertItem(item);
  }
  return item;
}

TCollectionItem *TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) {
    throw ECollectionError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return items_[static_cast<size_t>(index)];
}

TCollectionItem *TCollection::FindItemID(int id) const {
  for (TCollectionItem *item : items_) {
    if (item->id_ == id) {
      return item;
    }
  }
  return nullptr;
}

void TCollection::Delete(int index) {
  delete Items(index);
}

void TCollection::Clear() {
  while (!items_.empty()) {
    delete items_.back();
  }
}

void TCollection::Assign(const TCollection &source) {
  if (&source == this) {
    return;
  }
  Clear();
  for (TCollectionItem *item : source.items_) {
    Add()->Assign(*item);
  }
}

void TCollection::InsertItem(TCollectionItem *item) {
  if (item->collection_ != nullptr && item->collection_ != this) {
    item->collection_->RemoveItem(item);
  }
  item->collection_ = this;
  item->id_ = nextId_++;
  items_.push_back(item);
}

void TCollection::RemoveItem(TCollectionItem *item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  item->collection_ = nullptr;
}
