#include "framework/core/delegates.h"
#include "framework/core/objects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A control whose messages go through a replaceable WindowProc, as framework controls do.
class TFakeControl : public TObject {
public:
  TWndMethod WindowProc;
  std::vector<std::string> Seen;
  TFakeControl() : WindowProc(this, &TFakeControl::WndProc) {}
  virtual void WndProc(TMessage &m) {
    Seen.push_back("control " + std::to_string(m.Msg));
    m.Result = 1;
  }
  void Perform(TMessage &m) { WindowProc(m); }
};

class TDerivedControl : public TFakeControl {
public:
  void WndProc(TMessage &m) override {
    Seen.push_back("derived " + std::to_string(m.Msg));
    TFakeControl::WndProc(m);
  }
};

// A painter hooks the control: save, install its own, pass on to the saved one, restore.
class TPainter : public TObject {
public:
  explicit TPainter(TFakeControl &c) : control(c) {
    saved = control.WindowProc;
    control.WindowProc = TWndMethod(this, &TPainter::NewWndProc);
  }
  ~TPainter() override {
    if (control.WindowProc == TWndMethod(this, &TPainter::NewWndProc))
      control.WindowProc = saved;
  }
  void NewWndProc(TMessage &m) {
    control.Seen.push_back("painter " + std::to_string(m.Msg));
    if (m.Msg != 0x3523)
      saved(m);
    else
      m.Result = 7;
  }
  TFakeControl &control;
  TWndMethod saved;
};

TEST(Delegates, HookSavesReplacesAndRestoresWindowProc) {
  TFakeControl control;
  const TWndMethod original = control.WindowProc;
  {
    TPainter painter(control);
    EXPECT_FALSE(control.WindowProc == original);
    TMessage m{15, 0, 0, 0};
    control.Perform(m);
    TMessage own{0x3523, 0, 0, 0};
    control.Perform(own);
    EXPECT_EQ(own.Result, 7);
    EXPECT_EQ(control.Seen,
              (std::vector<std::string>{"painter 15", "control 15", "painter 13603"}));
  }
  EXPECT_TRUE(control.WindowProc == original);
  control.Seen.clear();
  TMessage m{20, 0, 0, 0};
  control.Perform(m);
  EXPECT_EQ(control.Seen, std::vector<std::string>{"control 20"});
}

TEST(Delegates, TwoHooksUnwoundInReverseOrder) {
  TFakeControl control;
  const TWndMethod original = control.WindowProc;
  auto *first = new TPainter(control);
  auto *second = new TPainter(control);
  TMessage m{1, 0, 0, 0};
  control.Perform(m);
  EXPECT_EQ(control.Seen, (std::vector<std::string>{"painter 1", "painter 1", "control 1"}));
  delete second;
  EXPECT_TRUE(control.WindowProc == TWndMethod(first, &TPainter::NewWndProc));
  delete first;
  EXPECT_TRUE(control.WindowProc == original);
}

TEST(Delegates, EqualityIsExact) {
  TFakeControl a, b;
  TDerivedControl d;
  struct Case {
    const char *what;
    TWndMethod x, y;
    bool equal;
  } cases[] = {
      {"same object and member", TWndMethod(&a, &TFakeControl::WndProc),
       TWndMethod(&a, &TFakeControl::WndProc), true},
      {"other object", TWndMethod(&a, &TFakeControl::WndProc),
       TWndMethod(&b, &TFakeControl::WndProc), false},
      {"other member", TWndMethod(&d, &TFakeControl::WndProc),
       TWndMethod(&d, &TDerivedControl::WndProc), false},
      {"both empty", TWndMethod(), TWndMethod(nullptr), true},
      {"empty and assigned", TWndMethod(), TWndMethod(&a, &TFakeControl::WndProc), false},
      {"null object binds nothing",
       TWndMethod(static_cast<TFakeControl *>(nullptr), &TFakeControl::WndProc), TWndMethod(),
       true},
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.x == c.y, c.equal) << c.what;
}

TEST(Delegates, VirtualMemberDispatchesAndBaseMemberBindsThroughDerivedPointer) {
  TDerivedControl d;
  TWndMethod viaBase(&d, &TFakeControl::WndProc); // virtual: reaches the override
  TMessage m{3, 0, 0, 0};
  viaBase(m);
  EXPECT_EQ(d.Seen, (std::vector<std::string>{"derived 3", "control 3"}));
  EXPECT_EQ(viaBase.Data(), static_cast<void *>(static_cast<TFakeControl *>(&d)));
}

TEST(Delegates, CallingAnUnassignedDelegateRaises) {
  TNotifyEvent none;
  EXPECT_FALSE(none);
  EXPECT_THROW(none(nullptr), EDelegateError);
  try {
    none(nullptr);
  } catch (const Exception &e) {
    EXPECT_NE(e.Message().find("unassigned"), std::string::npos);
  }
}

} // namespace
