#include "framework/core/classes.h"
#include "tests/native/core/test_classes.h"

#include <gtest/gtest.h>

namespace {

class Components : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterGadgets();
    TGadget::Log.clear();
  }
};

TEST_F(Components, OwnerFreesOwnedComponentsLastFirst) {
  const int live = TObject::LiveCount();
  auto *owner = new TGadget(nullptr);
  owner->SetName("Owner");
  for (const char *name : {"A", "B", "C"})
    (new TGadget(owner))->SetName(name);
  TComponent *b = owner->FindComponent("b");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Owner(), owner);
  EXPECT_EQ(owner->ComponentCount(), 3);
  delete owner;
  EXPECT_EQ(TGadget::Log, (std::vector<std::string>{"free Owner", "free C", "free B", "free A"}));
  EXPECT_FALSE(TObject::IsLive(b));
  EXPECT_EQ(TObject::LiveCount(), live);
}

TEST_F(Components, FreeingAnOwnedComponentTakesItOffTheList) {
  TGadget owner(nullptr);
  auto *a = new TGadget(&owner);
  a->SetName("A");
  auto *b = new TGadget(&owner);
  delete a;
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_EQ(owner.FindComponent("A"), nullptr);
  EXPECT_THROW(owner.Components(1), EComponentError);
}

TEST_F(Components, NamesAreIdentifiersUniqueUnderTheOwner) {
  TGadget owner(nullptr);
  auto *a = new TGadget(&owner);
  auto *b = new TGadget(&owner);
  a->SetName("Button1");
  EXPECT_THROW(b->SetName("BUTTON1"), EComponentError);
  EXPECT_EQ(b->Name(), "");
  for (const char *bad : {"1st", "has space", "dot.ted", "\xd6\xd0"})
    EXPECT_THROW(b->SetName(bad), EComponentError) << bad;
  a->SetName("button1"); // a change of case of its own name is no clash
  EXPECT_EQ(a->Name(), "button1");
  b->SetName("_Button2");
  EXPECT_EQ(owner.FindComponent("_BUTTON2"), b);
  // A component moved to an owner that has its name already is refused.
  TGadget other(nullptr);
  (new TGadget(&other))->SetName("button1");
  EXPECT_THROW(other.InsertComponent(a), EComponentError);
  EXPECT_EQ(a->Owner(), &owner);
}

TEST_F(Components, FreeNotificationClearsAReferenceToAFreedComponent) {
  TGadget owner(nullptr);
  auto *watcher = new TGadget(nullptr);
  auto *target = new TGadget(&owner);
  watcher->Buddy = target;
  target->FreeNotification(watcher);
  delete target;
  EXPECT_EQ(watcher->Buddy, nullptr);
  // The link is gone both ways: freeing the watcher later touches nothing freed.
  delete watcher;
}

TEST_F(Components, SiblingsHearOfARemovedComponentThroughTheOwner) {
  TGadget owner(nullptr);
  auto *a = new TGadget(&owner);
  auto *b = new TGadget(&owner);
  a->Buddy = b;
  delete b;
  EXPECT_EQ(a->Buddy, nullptr);
}

TEST_F(Components, ClassNameIsTheNearestRegisteredClass) {
  struct TUnregistered : TGadgetForm {
    using TGadgetForm::TGadgetForm;
  };
  TGadget gadget(nullptr);
  TUnregistered form(nullptr);
  TComponent plain(nullptr);
  EXPECT_EQ(gadget.ClassName(), "TGadget");
  EXPECT_EQ(form.ClassName(), "TGadgetForm");
  EXPECT_EQ(plain.ClassName(), "TComponent");
  EXPECT_EQ(TStringList().ClassName(), "TObject");
}

} // namespace
