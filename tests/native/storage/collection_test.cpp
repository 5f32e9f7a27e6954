#include "framework/core/collection.h"

#include <gtest/gtest.h>

namespace {

class TNamedItem : public TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;
  void Assign(const TCollectionItem &source) override {
    text = static_cast<const TNamedItem &>(source).text;
  }
  std::string text;
};

TEST(Collection, OwnsItemsAndNeverReusesIdentifiers) {
  const int liveBefore = TObject::LiveCount();
  {
    TCollection items([](TCollection *owner) { return new TNamedItem(owner); });
    TCollectionItem *a = items.Add();
    TCollectionItem *b = items.Add();
    EXPECT_EQ(a->ID(), 0);
    EXPECT_EQ(b->Index(), 1);
    delete a; // an item freed directly leaves its collection
    EXPECT_EQ(items.Count(), 1);
    EXPECT_EQ(b->Index(), 0);
    EXPECT_EQ(items.Add()->ID(), 2);
    EXPECT_EQ(items.FindItemID(1), b);
    EXPECT_EQ(items.FindItemID(0), nullptr);
    b->SetIndex(5);
    EXPECT_EQ(b->Index(), 1);
    EXPECT_THROW(items.Items(2), ECollectionError);
  }
  EXPECT_EQ(TObject::LiveCount(), liveBefore);
}

TEST(Collection, AssignCopiesEveryItem) {
  TCollection source([](TCollection *owner) { return new TNamedItem(owner); });
  static_cast<TNamedItem *>(source.Add())->text.push_back('x');
  static_cast<TNamedItem *>(source.Add())->text.push_back('y');
  TCollection dest([](TCollection *owner) { return new TNamedItem(owner); });
  dest.Add();
  dest.Assign(source);
  ASSERT_EQ(dest.Count(), 2);
  EXPECT_EQ(static_cast<TNamedItem *>(dest.Items(1))->text, "y");
}

} // namespace
