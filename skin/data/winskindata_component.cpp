// TSkinData as a component: construction, the held skin and its loads, Loaded and Active, and
// the requests it hands to the manager.
#include "framework/gui/forms.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskindlg.h"
#include "skin/storage/skinread.h"
#include "skin/storage/winskinini.h"
#include "skin/storage/winskinstore.h"

#include <algorithm>

namespace {

template <class E> void Release(E *&slot) {
  if (TObject::IsLive(slot))
    delete slot;
  slot = nullptr;
}

// The size of NONCLIENTMETRICSA without the padded-border field: the size every system since
// the first NT accepts, the same on both bitnesses.
constexpr UINT kNonClientMetricsSize = 340;
static_assert(sizeof(NONCLIENTMETRICSA) >= kNonClientMetricsSize);

bool FileExists(const std::string &name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string TempPath() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(256, buffer);
  return length > 0 && length <= 256 ? std::string(buffer, length) : std::string();
}

} // namespace

TSkinData::TSkinData(TComponent *owner) : TComponent(owner) {
  SkinBuffer = new TMemoryStream;
  AppIcon = new TBitmap;
  AppIcon->SetPixelFormat(TPixelFormat::pf24bit);
  skin3rd_ = new TStringList;
  for (const std::string &line : DefaultSkin3rd())
    skin3rd_->Add(line);

  static const char *const borderNames[4] = {"Left", "Right", "Top", "Bottom"};
  for (int i = 0; i < 4; ++i) {
    Borders[i] = new TDataSkinBorder;
    Borders[i]->Name = borderNames[i];
  }
  Title = new TDataSkinTitle;
  Title->Name = "Title";
  Button = new TDataSkinButton;
  Button->Name = "Buttons";

  MenuImages = new TImageList(16, 16);
  TBitmap glyphs;
  if (LoadBitmapResource(glyphs, myinstance, CaptionGlyphResource) && glyphs.Width() >= 16 &&
      glyphs.Height() >= 16)
    MenuImages->AddMasked(glyphs, clWhite);

  MaxWidth = GetSystemMetrics(SM_CXMAXIMIZED);
  MaxHeight = GetSystemMetrics(SM_CYMAXIMIZED);
}

TSkinData::~TSkinData() {
  delete MenuImages;
  MenuImages = nullptr;
  delete skin3rd_;
  skin3rd_ = nullptr;
  if (SkinManager != nullptr)
    SkinManager->RemoveSkinData(this);
  FreeModel();
  delete AppIcon;
  delete CaptionFont;
  delete SkinBuffer;
}

void TSkinData::FreeModel() {
  for (TDataSkinBorder *&b : Borders)
    Release(b);
  Release(Title);
  Release(Button);
  for (TDataSkinSysButton *&b : SysButtons)
    Release(b);
  SysButtons.clear();
  for (TDataSkinObject **e :
       {&MenuBar,         &ProgressChunk, &GroupBoxEdge, &StatusBarEdges, &TabPane,
        &ToolBars,        &SunkEdge,      &ExtraImages,  &Headerbar,      &MenuItem,
        &MenuBackground,  &Scrollbar,     &HorzScroll,   &VertScroll,     &HorzScrollThumb,
        &VertScrollThumb, &ThumbHorz,     &ThumbVert,    &ThumbLeft,      &ThumbRight,
        &ThumbUp,         &ThumbDown,     &Track,        &TrackVert,      &ComboArrow,
        &Toolbar})
    Release(*e);
  for (TDataSkinBorder **e : {&Progress, &Tab, &ComboButton, &UpDownHorz, &UpDownVert})
    Release(*e);
  Release(GroupBox);
  FaceBrush.Reset();
}

// ------------------------------------------------------------------------- properties

void TSkinData::SetSkin3rd(TStringList *value) {
  if (value != nullptr && value != skin3rd_)
    skin3rd_->Assign(*value);
}

std::string TSkinData::SkinStore() const {
  if (Designing() && SkinBuffer->Size() > 0)
    return "(Good)";
  return "(none)";
}

TSkinManage *TSkinData::Manager() {
  if (SkinManager == nullptr)
    SkinManager = new TSkinManage(false);
  auto &datas = SkinManager->SkinDatas;
  if (std::find(datas.begin(), datas.end(), this) == datas.end())
    SkinManager->AddSkinData(this);
  return SkinManager;
}

void TSkinData::SetActive(bool value) {
  if (value == active_)
    return;
  active_ = value;
  // While form data is read the value is only recorded: Loaded acts on it.
  if (Designing() || IsLoading() || SkinManager == nullptr)
    return;
  TSkinManage *m = SkinManager;
  switch (SkinFormtype) {
  case sfMainform:
    if (value) {
      if (NoSkin)
        return;
      m->ActionSkinData = this;
      m->SetAction(saSkinAll, 250);
      m->State = 1;
    } else {
      m->ActionSkinData = this;
      m->SetAction(saUnskinAll, 250);
    }
    break;
  case sfOnlyThisForm:
    m->ActionSkinData = this;
    if (value && NoSkin)
      return;
    m->SetAction(value ? saSkinAll : saUnskinAll, 250);
    break;
  case sfDialog:
  case sfDLL:
    break;
  }
}

// ------------------------------------------------------------------------- loading

bool TSkinData::LoadFromFile(const std::string &fileName) {
  skinFile_ = fileName;
  if (Designing()) {
    if (!fileName.empty() && SkinBuffer->Size() > 0)
      SkinBuffer->Clear();
    return false;
  }
  if (!FileExists(fileName))
    return false;
  TMemoryStream bytes;
  try {
    bytes.LoadFromFile(fileName);
  } catch (const EStreamError &) {
    // Unreadable (locked, say): the same as a file that is not there.
    return false;
  }
  return TakeSkin(bytes);
}

bool TSkinData::LoadFromStream(TStream &stream) {
  TMemoryStream bytes;
  bytes.LoadFromStream(stream);
  return TakeSkin(bytes);
}

bool TSkinData::TakeSkin(TMemoryStream &bytes) {
  const bool hadSkin = !NoSkin;
  TMemoryStream previous;
  previous.LoadFromStream(*SkinBuffer);
  SkinBuffer->LoadFromStream(bytes);
  switch (ReadPackage()) {
  case PackageRead::Read:
    UpdateSkin();
    return true;
  case PackageRead::NotOpened:
    // Not a skin: nothing of the model was touched, and every window keeps drawing (and
    // pointing at) the elements of the skin in use.
    SkinBuffer->LoadFromStream(previous);
    NoSkin = !hadSkin;
    return false;
  case PackageRead::Broken:
    // The model was partly rewritten: it is read again from the skin in use, and the windows
    // let go of the elements that went and take the new ones, as after any load.
    SkinBuffer->LoadFromStream(previous);
    if (hadSkin && LoadSkin())
      UpdateSkin();
    return false;
  }
  return false;
}

void TSkinData::LoadFromCollection(TSkinStore *store, int index) {
  if (store == nullptr || index < 0 || index >= store->Store().Count())
    return;
  NoSkin = true;
  SkinBuffer->Clear();
  store->Store().Items(index)->CopyData(*SkinBuffer);
  SkinBuffer->SetPosition(0);
  LoadSkin();
  UpdateSkin();
}

bool TSkinData::LoadSkin() {
  return ReadPackage() == PackageRead::Read;
}

TSkinData::PackageRead TSkinData::ReadPackage() {
  if (Designing())
    return PackageRead::NotOpened;
  NoSkin = true;
  const std::string tempPath = TempPath();

  TSkinReader reader;
  TMemoryStream fileBuffer;
  TQuickIni ini;
  struct Scratch {
    TSkinData &data;
    ~Scratch() {
      data.reader_ = nullptr;
      data.FileBuffer = nullptr;
      data.ini_ = nullptr;
    }
  } scratch{*this};
  reader_ = &reader;
  FileBuffer = &fileBuffer;

  // A package that cannot be opened, or whose declared size the codec refuses, leaves the
  // model as it was (NoSkin stays true).
  bool opened = false;
  try {
    SkinBuffer->SetPosition(0);
    opened = reader.Loadfromstream(*SkinBuffer);
  } catch (const Exception &) {
    opened = false;
  }
  if (!opened)
    return PackageRead::NotOpened;

  std::string iniName;
  reader.readIni(".ini", fileBuffer, iniName);
  fileBuffer.SetPosition(0);
  ini.LoadFromStream(&fileBuffer);
  ini_ = &ini;
  try {
    LoadFromIni(tempPath + iniName);
  } catch (const Exception &) {
    // A model that could not be completed is not offered: NoSkin stays true.
    return PackageRead::Broken;
  }
  return PackageRead::Read;
}

bool TSkinData::ReadBinaryProperty(const std::string &name, TStream &stream) {
  if (AnsiSameText(name, "SkinStream")) {
    ReadData(stream);
    return true;
  }
  return TComponent::ReadBinaryProperty(name, stream);
}

void TSkinData::ReadData(TStream &stream) {
  if (!ReadSkinStream(stream, *SkinBuffer))
    return;
  if (!Designing() && !StartUnskinned)
    LoadSkin();
}

void TSkinData::WriteData(TStream &stream) {
  WriteSkinStream(stream, *SkinBuffer);
}

void TSkinData::Loaded() {
  TComponent::Loaded();
  if (Designing())
    return;
  if (pGetScrollBarInfo == nullptr)
    SkinControls = SetWithout(SkinControls, xcScrollbar);
  TSkinManage *m = Manager();
  CreateCaptionFont();

  if (SkinFormtype != sfMainform) {
    m->Enabled = true;
    m->State += 1;
    auto *form = dynamic_cast<TCustomForm *>(Owner());
    if (form != nullptr && active_)
      m->AddForm(form->Handle());
    return;
  }

  m->InstallHook();
  if (active_) {
    if (NoSkin) {
      active_ = false;
    } else {
      m->ActionSkinData = this;
      m->SetAction(saSkinAll, 250);
    }
  }
  if (InSet(SkinControls, xcMainMenu))
    SkinControls = SetWithout(SkinControls, xcMenuItem);
  else
    SkinControls = SetWithout(SkinControls, xcSystemMenu);
  GetAppIcon();
}

// ------------------------------------------------------------------------- manager requests

void TSkinData::UpdateSkin() {
  if (Designing() || IsLoading())
    return;
  if (SkinManager == nullptr)
    Loaded();
  TSkinManage *m = Manager();
  m->ActionSkinData = this;
  m->DeleteSysbtn();
  // Skinning in effect (a further component of another form type counts the state up).
  if (m->State != 0 && m->State != 4)
    m->SetAction(saSkinChanged, 250);
}

void TSkinData::Install() {
  TSkinManage *m = Manager();
  m->ActionSkinData = this;
  m->SetAction(saSkinAll, 250);
}

void TSkinData::Uninstall() {
  TSkinManage *m = Manager();
  m->ActionSkinData = this;
  m->SetAction(saUnskinAll, 250);
}

void TSkinData::SkinForm(HWND window) {
  TSkinManage *m = Manager();
  struct ForceScope {
    TSkinManage *m;
    ~ForceScope() { m->Force = false; }
  } scope{m};
  m->Force = true;
  m->AddForm(window);
}

void TSkinData::ChangeForm(TCustomForm *form) {
  if (form == nullptr)
    return;
  TSkinManage *m = Manager();
  m->ChangeFormHandle = form->Handle();
  m->ActionSkinData = this;
  m->SetAction(saChangeForm, 250);
}

void TSkinData::EnableSkin(bool value) {
  Manager()->Enabled = value;
}

int TSkinData::InstallThread(DWORD threadId) {
  return Manager()->InstallThread(threadId);
}

void TSkinData::UnInstallThread(DWORD threadId) {
  Manager()->UnInstallThread(threadId);
}

void TSkinData::UpdateMenu(TCustomForm *form) {
  if (SkinManager != nullptr)
    SkinManager->UpdateMenu(form);
}

void TSkinData::UpdateMainMenu(bool value) {
  MainMenuUpdate = value;
  if (value && SkinManager != nullptr)
    SkinManager->UpdateMainMenu();
}

void TSkinData::UpdateSkinControl(TCustomForm *form, TControl *control) {
  if (SkinManager != nullptr)
    SkinManager->UpdateSkinControl(form, control);
}

void TSkinData::AddNestForm(TControl *host, TCustomForm *form) {
  if (SkinManager != nullptr)
    SkinManager->AddNestForm(host, form);
}

void TSkinData::DeleteGraphicControl(TCustomForm *form, TControl *control) {
  if (SkinManager != nullptr)
    SkinManager->DeleteGraphicControl(form, control);
}

// ------------------------------------------------------------------------- services

void TSkinData::DoFormSkin(HWND, const std::string &className, bool &DoSkin) {
  if (OnFormSkin) {
    OnFormSkin(this, className, DoSkin);
    return;
  }
  if (className == "SysMonthCal32")
    DoSkin = false;
  else if (InSet(SkinControls, xcFastReport) && className.rfind("Tfr", 0) == 0)
    DoSkin = false;
}

void TSkinData::DoSkinChanged() {
  if (OnSkinChanged)
    OnSkinChanged(this);
}

void TSkinData::ChangeProperty(TObject *obj, const std::string &propName,
                               const std::string &valueName) {
  const TPropInfo *info = GetPropInfo(obj, propName);
  if (info != nullptr && info->Kind == TTypeKind::Enumeration)
    SetProperty(obj, propName, valueName);
}

void TSkinData::GetAppIcon() {
  HWND app = Application != nullptr ? Application->Handle() : nullptr;
  if (app == nullptr)
    return;
  auto icon = reinterpret_cast<HICON>(SendMessageA(app, WM_GETICON, ICON_SMALL, 0));
  if (icon == nullptr)
    icon = reinterpret_cast<HICON>(SendMessageA(app, WM_GETICON, ICON_BIG, 0));
  if (icon == nullptr)
    return;
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  TBitmap picture(cx, cy, TPixelFormat::pf24bit);
  HDC dc = picture.Canvas().Handle();
  {
    GdiBrush magenta(CreateSolidBrush(0xFF00FF));
    const RECT all{0, 0, cx, cy};
    FillRect(dc, &all, magenta.Get());
  }
  GdiIcon copy(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE)));
  DrawIconEx(dc, 0, 0, copy ? copy.Get() : icon, cx, cy, 0, nullptr, DI_NORMAL);
  GdiFlush();
  AppIcon->Assign(picture);
  AppIcon->SetTransparentColor(clFuchsia);
  AppIcon->SetTransparent(true);
}

void TSkinData::CreateCaptionFont() {
  delete CaptionFont;
  CaptionFont = new TFont;
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = kNonClientMetricsSize;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0))
    CaptionFont->AssignLogFont(metrics.lfCaptionFont);
}

bool TSkinData::GetScrollBarInfo(HWND window, LONG idObject, SCROLLBARINFO &info) {
  return pGetScrollBarInfo != nullptr && pGetScrollBarInfo(window, idObject, &info) != FALSE;
}
