// A test with a framework application and a skin manager whose hook skins this thread's windows
// from one skin. The forms a test makes are freed before the manager goes.
#pragma once

#include "framework/gui/forms.h"
#include "tests/win/skindata/skin_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace skintest {

class SkinnedAppTest : public ::testing::Test {
public:
  // Serves the queue through the application (which gives keys to the controls first, for
  // accelerators) until done() or the timeout; false on timeout.
  static bool PumpUntil(const std::function<bool()> &done, int milliseconds = 3000) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (!done()) {
      if (static_cast<int>(end - GetTickCount()) <= 0)
        return false;
      Application->ProcessMessages();
      Sleep(5);
    }
    return true;
  }
  static void Pump(int milliseconds = 50) {
    PumpUntil([] { return false; }, milliseconds);
  }

protected:
  // From SetUp: the application, and the manager skinning from package.
  void StartSkinned(const SkinPackage &package) {
    app_ = std::make_unique<TApplication>(nullptr);
    ASSERT_EQ(SkinManager, nullptr);
    SkinManager = new TSkinManage(false);
    UseSkin(package);
    SkinManager->InstallHook();
    SkinManager->Enabled = true;
  }

  // Replaces the skin (before any form is shown).
  void UseSkin(const SkinPackage &package) {
    if (data_ != nullptr)
      SkinManager->RemoveSkinData(data_.get());
    data_ = LoadData(package);
    ASSERT_FALSE(data_->NoSkin);
    data_->SkinFormtype = sfMainform;
    SkinManager->AddSkinData(data_.get());
  }

  void TearDown() override {
    forms_.clear();
    Pump(20);
    delete SkinManager;
    SkinManager = nullptr;
    data_.reset();
    app_.reset();
  }

  std::unique_ptr<TApplication> app_;
  std::unique_ptr<TSkinData> data_;
  std::vector<std::unique_ptr<TForm>> forms_;
};

} // namespace skintest
