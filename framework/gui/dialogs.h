// The open-file and save-file dialogs.
#pragma once

#include "framework/core/classes.h"
#include "framework/core/stringlist.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

enum class TOpenOption {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoNetworkButton,
  ofNoLongNames,
  ofOldStyleDialog,
  ofNoDereferenceLinks,
  ofEnableIncludeNotify,
  ofEnableSizing,
  ofExplorer
};
using TOpenOptions = uint32_t;
constexpr TOpenOptions OpenOption(TOpenOption o) {
  return TOpenOptions{1} << static_cast<int>(o);
}

// "Text files|*.txt|All|*.*" as the dialog wants it: each '|' a NUL, two NULs at the end. The
// split respects double-byte characters, whose second byte may be a '|'.
std::string FilterToDialogFormat(const std::string &filter);
// The files a dialog's buffer names: one full path, or (multiple selection) a folder and the
// names inside it, joined to full paths.
std::vector<std::string> FilesFromDialogBuffer(const char *buffer, size_t size);
// folder + '\' + name, without doubling a backslash that ends the folder (a drive root).
std::string JoinPath(const std::string &folder, const std::string &name);

class TOpenDialog : public TComponent {
public:
  explicit TOpenDialog(TComponent *owner);
  ~TOpenDialog() override;

  const std::string &Title() const { return title_; }
  void SetTitle(const std::string &value) { title_ = value; }
  const std::string &Filter() const { return filter_; }
  void SetFilter(const std::string &value) { filter_ = value; }
  // 1-based, as the dialog counts the filter's pairs.
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int value) { filterIndex_ = value; }
  const std::string &InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string &value) { initialDir_ = value; }
  const std::string &DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const std::string &value) { defaultExt_ = value; }
  TOpenOptions Options() const { return options_; }
  void SetOptions(TOpenOptions value) { options_ = value; }

  // Shows the dialog over the active window (the application's window when there is none);
  // true when the user chose files.
  virtual bool Execute();
  // The first chosen file, as a full path.
  const std::string &FileName() const { return fileName_; }
  void SetFileName(const std::string &value) { fileName_ = value; }
  // Every chosen file, as full paths, in the order the dialog gives them.
  TStrings *Files() const { return files_.get(); }

  // Room for a long multiple selection: the dialog fails rather than truncate when the names
  // do not fit.
  static constexpr size_t kBufferSize = 256 * 1024;

protected:
  // Runs the system's dialog; false when the user cancelled or it failed.
  virtual bool RunDialog(OPENFILENAMEA &ofn);

private:
  std::string title_;
  std::string filter_;
  int filterIndex_ = 1;
  std::string initialDir_;
  std::string defaultExt_;
  TOpenOptions options_ =
      OpenOption(TOpenOption::ofHideReadOnly) | OpenOption(TOpenOption::ofEnableSizing);
  std::string fileName_;
  std::unique_ptr<TStringList> files_;
};

// The same dialog asking for a file to save to.
class TSaveDialog : public TOpenDialog {
public:
  using TOpenDialog::TOpenDialog;

protected:
  bool RunDialog(OPENFILENAMEA &ofn) override;
};

void RegisterDialogs();
