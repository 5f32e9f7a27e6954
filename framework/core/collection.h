// Collections: an owned, ordered list of items of one class, each with an identifier that is
// never reused within its collection.
#pragma once

#include "framework/core/objects.h"
#include "framework/core/sysutils.h"

#include <functional>
#include <string>
#include <vector>

class TCollection;

class ECollectionError : public Exception {
public:
  using Exception::Exception;
};

class TCollectionItem : public TPersistent {
public:
  // Joins collection (if any) at its end and takes the next identifier.
  explicit TCollectionItem(TCollection *collection);
  // Leaves its collection.
  ~TCollectionItem() override;
  TCollectionItem(const TCollectionItem &) = delete;
  TCollectionItem &operator=(const TCollectionItem &) = delete;

  TCollection *Collection() const { return collection_; }
  int ID() const { return id_; }
  // Position in the collection, or -1 outside one.
  int Index() const;
  void SetIndex(int index);
  virtual std::string DisplayName() const;
  // Copies the values of source; the base copies nothing.
  virtual void Assign(const TCollectionItem &source);

private:
  friend class TCollection;
  TCollection *collection_ = nullptr;
  int id_ = 0;
};

class TCollection : public TPersistent {
public:
  using TItemFactory = std::function<TCollectionItem *(TCollection *)>;

  // factory makes an item of the collection's class that joins the collection given to it.
  explicit TCollection(TItemFactory factory);
  // Frees the items.
  ~TCollection() override;
  TCollection(const TCollection &) = delete;
  TCollection &operator=(const TCollection &) = delete;

  TCollectionItem *Add();
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises ECollectionError for an index out of range.
  TCollectionItem *Items(int index) const;
  TCollectionItem *FindItemID(int id) const;
  void Delete(int index);
  void Clear();
  // Replaces the items by new ones assigned from source's.
  void Assign(const TCollection &source);
  int NextID() const { return nextId_; }

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem *item);
  void RemoveItem(TCollectionItem *item);

  TItemFactory factory_;
  std::vector<TCollectionItem *> items_;
  int nextId_ = 0;
};
