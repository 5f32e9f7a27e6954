// The skin store: a component holding several skin files, each as an item of its Store
// collection, from which the skin data component loads a skin by index.
#pragma once

#include "framework/core/classes.h"
#include "framework/core/collection.h"
#include "framework/core/streams.h"

#include <cstdint>
#include <string>

class ESkinStoreError : public Exception {
public:
  using Exception::Exception;
};

class TSkinCollectionItem : public TCollectionItem {
public:
  explicit TSkinCollectionItem(TCollection *collection);

  const std::string &Name() const { return name_; }
  // Unique within the collection (exact comparison); a taken name raises ESkinStoreError and
  // the old name stays.
  void SetName(const std::string &name);
  // An entry point for an editing tool: reads as "Load Skin", writing does nothing.
  std::string SkinData() const { return "Load Skin"; }
  void SetSkinData(const std::string &) {}
  int32_t DataSize() { return static_cast<int32_t>(data_.Size()); }

  // Replaces the stored skin file bytes by the file's.
  void LoadFromFile(const std::string &name);
  // Appends the stored bytes to stream; the item's own position is kept.
  void CopyData(TStream &stream);
  std::string DisplayName() const override { return name_; }
  // Copies name and bytes from another skin item.
  void Assign(const TCollectionItem &source) override;

  // The DataStream binary property of form data: the skin file bytes alone.
  void ReadDataStream(TStream &stream);
  void WriteDataStream(TStream &stream);

private:
  std::string name_;
  TMemoryStream data_;
};

class TSkinCollection : public TCollection {
public:
  TSkinCollection();
  TSkinCollectionItem *Add() { return static_cast<TSkinCollectionItem *>(TCollection::Add()); }
  TSkinCollectionItem *Items(int index) const {
    return static_cast<TSkinCollectionItem *>(TCollection::Items(index));
  }
};

class TSkinStore : public TComponent {
public:
  explicit TSkinStore(TComponent *owner);
  TSkinCollection &Store() { return store_; }
  void SetStore(const TSkinCollection &store) { store_.Assign(store); }

private:
  TSkinCollection store_;
};
