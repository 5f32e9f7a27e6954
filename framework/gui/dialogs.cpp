#include "framework/gui/dialogs.h"
#include "framework/core/typinfo.h"

#include "framework/gui/forms.h"

#include <commdlg.h>

#include <vector>

namespace {

bool LeadByte(char c) {
  return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
}

// True when the last character of s (not the trail byte of a double-byte one) is c.
bool EndsWithChar(const std::string &s, char c) {
  size_t i = 0, last = std::string::npos;
  while (i < s.size()) {
    last = i;
    i += (LeadByte(s[i]) && i + 1 < s.size()) ? 2 : 1;
  }
  return last != std::string::npos && last == s.size() - 1 && s[last] == c;
}

DWORD DialogFlags(TOpenOptions options) {
  static const DWORD flags[] = {OFN_READONLY,
                                OFN_OVERWRITEPROMPT,
                                OFN_HIDEREADONLY,
                                OFN_NOCHANGEDIR,
                                OFN_SHOWHELP,
                                OFN_NOVALIDATE,
                                OFN_ALLOWMULTISELECT,
                                OFN_EXTENSIONDIFFERENT,
                                OFN_PATHMUSTEXIST,
                                OFN_FILEMUSTEXIST,
                                OFN_CREATEPROMPT,
                                OFN_SHAREAWARE,
                                OFN_NOREADONLYRETURN,
                                OFN_NOTESTFILECREATE,
                                OFN_NONETWORKBUTTON,
                                OFN_NOLONGNAMES,
                                0 /* ofOldStyleDialog */,
                                OFN_NODEREFERENCELINKS,
                                OFN_ENABLEINCLUDENOTIFY,
                                OFN_ENABLESIZING,
                                OFN_EXPLORER};
  DWORD result = 0;
  for (size_t i = 0; i < sizeof flags / sizeof flags[0]; ++i)
    if ((options & (TOpenOptions{1} << i)) != 0)
      result |= flags[i];
  // Explorer style unless the old one is asked for: the old style separates multiple names
  // with blanks, which names may contain.
  if ((options & OpenOption(TOpenOption::ofOldStyleDialog)) == 0)
    result |= OFN_EXPLORER;
  return result;
}

} // namespace

std::string FilterToDialogFormat(const std::string &filter) {
  std::string out;
  out.reserve(filter.size() + 2);
  for (size_t i = 0; i < filter.size(); ++i) {
    char c = filter[i];
    if (LeadByte(c) && i + 1 < filter.size()) {
      out += c;
      out += filter[++i];
      continue;
    }
    out += c == '|' ? '\0' : c;
  }
  out += '\0';
  out += '\0';
  return out;
}

std::string JoinPath(const std::string &folder, const std::string &name) {
  if (folder.empty() || EndsWithChar(folder, '\\') || EndsWithChar(folder, '/'))
    return folder + name;
  return folder + "\\" + name;
}

std::vector<std::string> FilesFromDialogBuffer(const char *buffer, size_t size) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i < size && buffer[i] != '\0') {
    size_t end = i;
    while (end < size && buffer[end] != '\0')
      ++end;
    parts.emplace_back(buffer + i, end - i);
    i = end + 1;
  }
  if (parts.size() <= 1)
    return parts;
  std::vector<std::string> files;
  for (size_t k = 1; k < parts.size(); ++k)
    files.push_back(JoinPath(parts[0], parts[k]));
  return files;
}

TOpenDialog::TOpenDialog(TComponent *owner)
    : TComponent(owner), files_(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
  std::vector<char> buffer(kBufferSize, '\0');
  if (fileName_.size() < buffer.size())
    std::copy(fileName_.begin(), fileName_.end(), buffer.begin());
  const std::string filter = FilterToDialogFormat(filter_);

  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  if (ofn.hwndOwner == nullptr && Application != nullptr)
    ofn.hwndOwner = Application->Handle();
  ofn.hInstance = GetModuleHandleA(nullptr);
  ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(filterIndex_ > 0 ? filterIndex_ : 1);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
  ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
  ofn.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str();
  ofn.Flags = DialogFlags(options_);

  if (!RunDialog(ofn)) {
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
      throw Exception("Too many files were selected at once");
    return false;
  }
  std::vector<std::string> files = FilesFromDialogBuffer(buffer.data(), buffer.size());
  files_->BeginUpdate();
  files_->Clear();
  for (const std::string &f : files)
    files_->Add(f);
  files_->EndUpdate();
  fileName_ = files.empty() ? std::string() : files.front();
  filterIndex_ = static_cast<int>(ofn.nFilterIndex);
  return !files.empty();
}

bool TOpenDialog::RunDialog(OPENFILENAMEA &ofn) {
  return GetOpenFileNameA(&ofn) != FALSE;
}

bool TSaveDialog::RunDialog(OPENFILENAMEA &ofn) {
  return GetSaveFileNameA(&ofn) != FALSE;
}

void RegisterDialogs() {
  static const TEnumInfo optionsInfo{"TOpenOption", {"ofReadOnly",
                                                     "ofOverwritePrompt",
                                                     "ofHideReadOnly",
                                                     "ofNoChangeDir",
                                                     "ofShowHelp",
                                                     "ofNoValidate",
                                                     "ofAllowMultiSelect",
                                                     "ofExtensionDifferent",
                                                     "ofPathMustExist",
                                                     "ofFileMustExist",
                                                     "ofCreatePrompt",
                                                     "ofShareAware",
                                                     "ofNoReadOnlyReturn",
                                                     "ofNoTestFileCreate",
                                                     "ofNoNetworkButton",
                                                     "ofNoLongNames",
                                                     "ofOldStyleDialog",
                                                     "ofNoDereferenceLinks",
                                                     "ofEnableIncludeNotify",
                                                     "ofEnableSizing",
                                                     "ofExplorer"}};
  using D = TOpenDialog;
  RegisterClass<TOpenDialog, TComponent>(
      "TOpenDialog", {
                         Published::String("Title", &D::Title, &D::SetTitle),
                         Published::String("Filter", &D::Filter, &D::SetFilter),
                         Published::Integer("FilterIndex", &D::FilterIndex, &D::SetFilterIndex),
                         Published::String("InitialDir", &D::InitialDir, &D::SetInitialDir),
                         Published::String("DefaultExt", &D::DefaultExt, &D::SetDefaultExt),
                         Published::String("FileName", &D::FileName, &D::SetFileName),
                         Published::Set("Options", optionsInfo, &D::Options, &D::SetOptions),
                     });
  RegisterClass<TSaveDialog, TOpenDialog>("TSaveDialog", {});
}
