#include "skin/storage/winskinstore.h"

#include "tests/native/storage/test_files.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinStore, ItemsAreNamedByIdentifierAndNamesAreUnique) {
  TSkinStore store(nullptr);
  TSkinCollectionItem *first = store.Store().Add();
  TSkinCollectionItem *second = store.Store().Add();
  EXPECT_EQ(first->Name(), "SkinItem0");
  EXPECT_EQ(second->Name(), "SkinItem1");
  EXPECT_EQ(second->SkinData(), "Load Skin");
  second->SetSkinData("anything");
  EXPECT_EQ(second->SkinData(), "Load Skin");

  try {
    second->SetName("SkinItem0");
    FAIL() << "duplicate name accepted";
  } catch (const ESkinStoreError &e) {
    EXPECT_EQ(e.Message(), "The name SkinItem0 is already used.");
  }
  EXPECT_EQ(second->Name(), "SkinItem1");
  second->SetName("skinitem0"); // the comparison is exact
  EXPECT_EQ(second->Name(), "skinitem0");
  second->SetName("skinitem0"); // its own name: nothing happens
  EXPECT_EQ(second->Name(), "skinitem0");

  // Identifiers are not reused after a delete.
  store.Store().Delete(0);
  EXPECT_EQ(store.Store().Add()->Name(), "SkinItem2");
}

TEST(SkinStore, DataLoadsCopiesAndAssigns) {
  ScratchDir dir;
  WriteBytes(dir.Path("a.skn"), Bytes("skin-file-bytes"));
  TSkinStore store(nullptr);
  TSkinCollectionItem *item = store.Store().Add();
  item->LoadFromFile(dir.Path("a.skn"));
  EXPECT_EQ(item->DataSize(), 15);
  EXPECT_THROW(item->LoadFromFile(dir.Path("missing.skn")), EStreamError);
  EXPECT_EQ(item->DataSize(), 15);

  TMemoryStream out;
  out.WriteBuffer(">", 1);
  item->CopyData(out);
  item->CopyData(out); // the item's own position is restored, so it copies all again
  EXPECT_EQ(std::string(reinterpret_cast<char *>(out.Memory()), 31),
            ">skin-file-bytesskin-file-bytes");

  TSkinCollection other;
  TSkinCollectionItem *copy = other.Add();
  item->SetName("Blue");
  copy->Assign(*item);
  EXPECT_EQ(copy->Name(), "Blue");
  EXPECT_EQ(copy->DataSize(), 15);
}

} // namespace
