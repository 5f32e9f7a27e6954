#include "tests/native/core/test_classes.h"
#include "framework/core/streams.h"

const TEnumInfo GadgetKindInfo{"TGadgetKind", {"gkPlain", "gkFlat", "gkRaised"}};
const TEnumInfo ControlTypeInfo{
    "TSkinControlType",
    {"xcMainMenu", "xcPopupMenu",   "xcMenuItem",   "xcToolbar",   "xcControlbar", "xcCombo",
     "xcCheckBox", "xcRadioButton", "xcProgress",   "xcScrollbar", "xcEdit",       "xcButton",
     "xcBitBtn",   "xcSpeedButton", "xcSpin",       "xcPanel",     "xcGroupBox",   "xcStatusBar",
     "xcTab",      "xcTrackBar",    "xcSystemMenu", "xcFastReport"}};

std::vector<std::string> TGadget::Log;

TGadget::TGadget(TComponent *owner)
    : TComponent(owner), font_(new TGadgetFont), items_(new TStringList) {}

TGadget::~TGadget() {
  Log.push_back("free " + Name());
  delete font_;
  delete items_;
}

void TGadget::Loaded() {
  TComponent::Loaded();
  Log.push_back("loaded " + Name());
}

bool TGadget::ReadBinaryProperty(const std::string &name, TStream &stream) {
  if (name != "Data")
    return false;
  Log.push_back("binary at " + std::to_string(stream.Position()));
  Data.resize(static_cast<size_t>(stream.Size()));
  if (!Data.empty())
    stream.ReadBuffer(Data.data(), static_cast<int32_t>(Data.size()));
  return true;
}

void TGadget::Notification(TComponent *component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == Buddy)
    Buddy = nullptr;
}

void RegisterGadgets() {
  RegisterClass<TGadgetFont>("TGadgetFont", {
                                                Published::Integer("Height", &TGadgetFont::Height),
                                                Published::String("Name", &TGadgetFont::Name),
                                            });
  RegisterClass<TGadget, TComponent>(
      "TGadget", {
                     Published::Integer("Width", &TGadget::Width),
                     Published::Integer("Color", &TGadget::Color),
                     Published::Enumeration("Kind", GadgetKindInfo, &TGadget::Kind),
                     Published::Set("Controls", ControlTypeInfo, &TGadget::Controls),
                     Published::Set("SmallSet", GadgetKindInfo, &TGadget::SmallSet),
                     Published::Boolean("Enabled", &TGadget::Enabled),
                     Published::String("Caption", &TGadget::Caption),
                     Published::WideString("Hint", &TGadget::Hint),
                     Published::Object("Font", &TGadget::Font),
                     Published::Object("Items", &TGadget::Items),
                     Published::Object("Buddy", &TGadget::Buddy),
                     Published::Event("OnClick", &TGadget::OnClick),
                 });
  RegisterClass<TGadgetForm, TGadget>(
      "TGadgetForm", {Published::Object("Button1", &TGadgetForm::Button1)},
      {Published::Method("Button1Click", &TGadgetForm::Button1Click),
       Published::Method("Paint", &TGadgetForm::Paint)});
  RegisterClass<TFixedGadget, TComponent>("TFixedGadget", {});
  RegisterClass<TPlainComponent, TComponent>("TPlainComponent", {});
  RegisterIntegerConstants({{"clBtnFace", 0x8000000F}, {"clRed", 0x0000FF}});
}
