// TSkinData's published interface: its enumerations, its registration with the class registry
// and the default class mapping of Skin3rd.
// windows.h first: its RegisterClass macro then renames the registry template and its uses
// alike.
#include <windows.h>

#include "skin/data/winskindata.h"

const TEnumInfo &SkinControlTypeInfo() {
  static const TEnumInfo info{
      "TSkinControlType",
      {"xcMainMenu", "xcPopupMenu",   "xcMenuItem",   "xcToolbar",   "xcControlbar", "xcCombo",
       "xcCheckBox", "xcRadioButton", "xcProgress",   "xcScrollbar", "xcEdit",       "xcButton",
       "xcBitBtn",   "xcSpeedButton", "xcSpin",       "xcPanel",     "xcGroupBox",   "xcStatusBar",
       "xcTab",      "xcTrackBar",    "xcSystemMenu", "xcFastReport"}};
  return info;
}

const TEnumInfo &SkinOptionInfo() {
  static const TEnumInfo info{"TSkinOption",
                              {"xoMDIScrollbar", "xoMenuMerge", "xoTransparent", "xoPreview",
                               "xoParentBackGround", "xoNoFocusRect", "xoToolbarBK",
                               "xoMDIChildBorder", "xoMenuBG"}};
  return info;
}

const TEnumInfo &SkinFormTypeInfo() {
  static const TEnumInfo info{"TSkinFormType",
                              {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"}};
  return info;
}

void RegisterSkinDataClasses() {
  RegisterComponentClass();
  using D = TSkinData;
  RegisterClass<TSkinData, TComponent>(
      "TSkinData", {
                       Published::Boolean("Active", &D::Active, &D::SetActive),
                       Published::Integer("DisableTag", &D::DisableTag),
                       Published::Set("SkinControls", SkinControlTypeInfo(), &D::SkinControls),
                       Published::Set("Options", SkinOptionInfo(), &D::Options),
                       Published::Object("Skin3rd", &D::Skin3rd, &D::SetSkin3rd),
                       Published::String("SkinFile", &D::SkinFile, &D::SetSkinFile),
                       Published::String("SkinStore", &D::SkinStore, &D::SetSkinStore),
                       Published::Enumeration("SkinFormtype", SkinFormTypeInfo(), &D::SkinFormtype),
                       Published::String("Version", &D::Version, &D::SetVersion),
                       Published::Boolean("MenuUpdate", &D::MenuUpdate),
                       Published::Boolean("MenuMerge", &D::MenuMerge),
                       Published::Event("OnFormSkin", &D::OnFormSkin),
                       Published::Event("OnSkinChanged", &D::OnSkinChanged),
                       Published::Event("OnSkinControl", &D::OnSkinControl),
                   });
}

namespace {

// Appends one line per class name, all mapped to kind.
void Map(std::vector<std::string> &list, const char *kind,
         std::initializer_list<const char *> classes) {
  for (const char *name : classes)
    list.push_back(std::string(name) + "=" + kind);
}

std::vector<std::string> BuildDefaultSkin3rd() {
  std::vector<std::string> l;
  Map(l, "pngbitbtn", {"TPngBitBtn"});
  Map(l, "scrollbar", {"TVirtualStringTree", "TVirtualDrawTree"});
  Map(l, "Panel", {"TTBXDockablePanel"});
  Map(l, "scrollbar", {"TAdvPanelGroup"});
  Map(l, "combobox", {"TComboboxex"});
  Map(l, "speedbutton", {"TRxSpeedButton"});
  Map(l, "scrollbar", {"THTMLViewer", "TDBCtrlGrid"});
  Map(l, "speedbutton", {"TfrSpeedButton", "TfrTBButton"});
  Map(l, "Panel", {"TControlBar", "TTBDock", "TTBToolbar"});
  Map(l, "scrollbar", {"TImageEnMView", "TImageEnView", "TAdvMemo", "TDBAdvMemo"});
  Map(l, "combobox",
      {"TcxDBLookupComboBox", "TcxDBComboBox", "TcxDBDateEdit", "TcxDBImageComboBox",
       "TcxDBCalcEdit", "TcxDBBlobEdit", "TcxDBPopupEdit", "TcxDBFontNameComboBox",
       "TcxDBShellComboBox"});
  Map(l, "bitbtn", {"TcxButton"});
  Map(l, "combobox", {"TRxLookupEdit", "TRxDBLookupCombo"});

  Map(l, "panel", {"TRzGroup"});
  Map(l, "combobox",
      {"TRzDateTimeEdit", "TRzColorEdit", "TRzDateTimePicker", "TRzDBDateTimeEdit",
       "TRzDbColorEdit", "TRzDBDateTimePicker"});
  Map(l, "button", {"TRzButton"});
  Map(l, "bitbtn", {"TRzBitbtn"});
  Map(l, "menubtn", {"TRzMenuButton"});
  Map(l, "CheckGroup", {"TRzCheckGroup"});
  Map(l, "Radiogroup", {"TRzRadioGroup", "TRzDBRadioGroup"});
  Map(l, "Edit", {"TRzButtonEdit"});
  Map(l, "Radiobutton", {"TRzDBRadioButton"});

  Map(l, "panel",
      {"TLMDCalculator", "TLMDGROUPBOX", "TLMDSIMPLEPANEL", "TLMDDBCalendar", "TLMDButtonPanel",
       "TLMDLMDCalculator", "TLMDHeaderPanel", "TLMDTechnicalLine", "TLMDLMDClock",
       "TLMDTrackbar"});
  Map(l, "Combobox",
      {"TLMDListCombobox", "TLMDCheckListCombobox", "TLMDHeaderListCombobox", "TLMDImageCombobox",
       "TLMDColorCombobox", "TLMDFontCombobox", "TLMDFontSizeCombobox", "TLMDPrinterCombobox",
       "TLMDDriveCombobox", "TLMDCalculatorComboBox", "TLMDTrackBarComboBox",
       "TLMDCalendarComboBox", "TLMDTreeComboBox", "TLMDFontSizeCombobox"});
  Map(l, "bitbtn", {"TLMDButton"});
  Map(l, "CheckGroup", {"TLMDCheckGroup", "TLMDDBCheckGroup"});
  Map(l, "radiogroup", {"TLMDRADIOGROUP", "TLMDDBRADIOGROUP"});
  Map(l, "Radiobutton", {"TLMDRadiobutton"});
  Map(l, "Groupbox", {"TLMDGroupBox"});
  Map(l, "Checkbox", {"TLMDCHECKBOX", "TLMDDBCHECKBOX"});
  Map(l, "Edit",
      {"TLMDCalculatorEdit", "TLMDEDIT", "TLMDMASKEDIT", "TLMDBROWSEEDIT", "TLMDEXTSPINEDIT",
       "TLMDCALENDAREDIT", "TLMDFILEOPENEDIT", "TLMDFILESAVEEDIT", "TLMDCOLOREDIT", "TLMDDBEDIT",
       "TLMDDBMASKEDIT", "TLMDDBEXTSPINEDIT", "TLMDDBSPINEDIT", "TLMDDBEDITDBLookup",
       "TLMDEDITDBLookup"});

  Map(l, "Combobox", {"TDBLookupCombobox"});
  Map(l, "Combobox",
      {"TWWDBCombobox", "TWWDBLookupCombo", "TWWKeyCombo", "TWWTempKeyCombo", "TWWDBDateTimePicker",
       "TWWDBCombobox"});
  Map(l, "radiogroup", {"TWWRADIOGROUP"});
  Map(l, "edit", {"TWWDBEDIT"});
  Map(l, "radiogroup", {"TcxDBRadioGroup", "TcxRadioGroup"});
  Map(l, "groupbox", {"TcxGroupbox"});
  Map(l, "edit",
      {"TOVCPICTUREFIELD", "TOVCDBPICTUREFIELD", "TOVCSLIDEREDIT", "TOVCDBSLIDEREDIT",
       "TOVCSIMPLEFIELD", "TOVCDBSIMPLEFIELD", "TO32DBFLEXEDIT", "TOVCNUMERICFIELD",
       "TOVCDBNUMERICFIELD"});
  Map(l, "Checkbox", {"TDBCheckboxEh", "TDBCheckboxEh"});
  return l;
}

} // namespace

const std::vector<std::string> &DefaultSkin3rd() {
  static const std::vector<std::string> list = BuildDefaultSkin3rd();
  return list;
}
