#include "skin/storage/winskinstore.h"

TSkinCollectionItem::TSkinCollectionItem(TCollection *collection)
    : TCollectionItem(collection), name_("SkinItem" + std::to_string(ID())) {}

void TSkinCollectionItem::SetName(const std::string &name) {
  if (name == name_) {
    return;
  }
  if (TCollection *owner = Collection()) {
    for (int i = 0; i < owner->Count(); ++i) {
      const auto *other = static_cast<const TSkinCollectionItem *>(owner->Items(i));
      if (other != this && other->name_ == name) {
        throw ESkinStoreError("The name " + name + " is already used.");
      }
    }
  }
  name_ = name;
}

void TSkinCollectionItem::LoadFromFile(const std::string &name) {
  // Read first, so that a file that cannot be read leaves the stored skin as it was.
  TMemoryStream bytes;
  bytes.LoadFromFile(name);
  data_.Clear();
  data_.LoadFromStream(bytes);
}

void TSkinCollectionItem::CopyData(TStream &stream) {
  const int64_t saved = data_.Position();
  data_.SaveToStream(stream);
  data_.SetPosition(saved);
}

void TSkinCollectionItem::Assign(const TCollectionItem &source) {
  const auto *item = dynamic_cast<const TSkinCollectionItem *>(&source);
  if (item == nullptr || item == this) {
    return;
  }
  SetName(item->name_);
  data_.Clear();
  if (const int64_t size = item->data_.Size(); size > 0) {
    data_.WriteBuffer(item->data_.Memory(), static_cast<int32_t>(size));
  }
  data_.SetPosition(0);
}

void TSkinCollectionItem::ReadDataStream(TStream &stream) {
  data_.LoadFromStream(stream);
}

void TSkinCollectionItem::WriteDataStream(TStream &stream) {
  CopyData(stream);
}

TSkinCollection::TSkinCollection()
    : TCollection([](TCollection *owner) { return new TSkinCollectionItem(owner); }) {}

TSkinStore::TSkinStore(TComponent *owner) : TComponent(owner) {}
