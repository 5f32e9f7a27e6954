// A small family of components that publishes one property of every kind, for the tests of
// the property registry and the form reader.
#pragma once

#include "framework/core/classes.h"
#include "framework/core/delegates.h"
#include "framework/core/stringlist.h"
#include "framework/core/typinfo.h"

#include <cstdint>
#include <string>
#include <vector>

enum TGadgetKind { gkPlain, gkFlat, gkRaised };
extern const TEnumInfo GadgetKindInfo;
extern const TEnumInfo ControlTypeInfo; // xcMainMenu .. xcFastReport, 22 values

class TGadgetFont : public TPersistent {
public:
  int Height = 0;
  std::string Name;
};

// Records what the reader does to it in a log shared by the test.
class TGadget : public TComponent {
public:
  explicit TGadget(TComponent *owner);
  ~TGadget() override;

  int Width = 0;
  int32_t Color = 0;
  TGadgetKind Kind = gkPlain;
  uint32_t Controls = 0;
  uint16_t SmallSet = 0;
  bool Enabled = false;
  std::string Caption;
  std::wstring Hint;
  TGadget *Buddy = nullptr;
  TNotifyEvent OnClick;
  std::vector<uint8_t> Data;
  TComponent *Parent = nullptr;

  TGadgetFont *Font() const { return font_; }
  TStringList *Items() const { return items_; }

  void Loaded() override;
  void SetParentComponent(TComponent *parent) override { Parent = parent; }
  bool ReadBinaryProperty(const std::string &name, TStream &stream) override;
  void Notification(TComponent *component, TOperation operation) override;

  static std::vector<std::string> Log;

private:
  TGadgetFont *font_;
  TStringList *items_;
};

class TGadgetForm : public TGadget {
public:
  using TGadget::TGadget;
  TGadget *Button1 = nullptr;
  int Clicks = 0;
  TObject *LastSender = nullptr;
  void Button1Click(TObject *sender) {
    ++Clicks;
    LastSender = sender;
  }
  void Paint(TMessage &) {}
};

// A class that cannot be created from form data (no owner constructor).
class TFixedGadget : public TComponent {
public:
  TFixedGadget() : TComponent(nullptr) {}
};

// A component that is no gadget.
class TPlainComponent : public TComponent {
public:
  using TComponent::TComponent;
};

void RegisterGadgets();
