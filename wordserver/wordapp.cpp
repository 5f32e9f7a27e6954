#include "wordserver/wordapp.h"

#include <algorithm>

#include "wordserver/wordformats.h"

void (*g_onApplicationGone)(WordApplication *destroyed) = nullptr;

namespace {

const WORD kGet = DISPATCH_PROPERTYGET;
const WORD kCall = DISPATCH_METHOD;

const std::vector<AutoMember> kApplicationMembers = {
    {L"Visible", DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT, {}},
    {L"Documents", kGet, {}},
    {L"ActiveDocument", kGet, {}},
    {L"Quit", kCall, {L"SaveChanges", L"OriginalFormat", L"RouteDocument"}},
    {L"Version", kGet, {}},
    {L"Name", kGet, {}},
};
enum { kVisible, kDocuments, kActiveDocument, kQuit, kVersion, kAppName };

const std::vector<AutoMember> kDocumentsMembers = {
    {L"Open",
     kCall,
     {L"FileName", L"ConfirmConversions", L"ReadOnly", L"AddToRecentFiles", L"PasswordDocument",
      L"PasswordTemplate", L"Revert", L"WritePasswordDocument", L"WritePasswordTemplate",
      L"Format", L"Encoding", L"Visible", L"OpenAndRepair", L"DocumentDirection",
      L"NoEncodingDialog", L"XMLTransform"},
     1},
    {L"Count", kGet, {}},
    {L"Item", kCall | kGet, {L"Index"}, 1},
};
enum { kOpen, kCount, kItem };

const std::vector<AutoMember> kDocumentMembers = {
    {L"SaveAs",
     kCall,
     {L"FileName", L"FileFormat", L"LockComments", L"Password", L"AddToRecentFiles",
      L"WritePassword", L"ReadOnlyRecommended", L"EmbedTrueTypeFonts",
      L"SaveNativePictureFormat", L"SaveFormsData", L"SaveAsAOCELetter", L"Encoding",
      L"InsertLineBreaks", L"AllowSubstitutions", L"LineEnding", L"AddBiDiMarks",
      L"CompatibilityMode"}},
    {L"SaveAs2", kCall, {}}, // same parameters as SaveAs; filled in below
    {L"Close", kCall, {L"SaveChanges", L"OriginalFormat", L"RouteDocument"}},
    {L"FullName", kGet, {}},
    {L"Name", kGet, {}},
};
enum { kSaveAs, kSaveAs2, kClose, kFullName, kDocName };

const std::vector<AutoMember> &DocumentMembers() {
  static const std::vector<AutoMember> members = [] {
    std::vector<AutoMember> table = kDocumentMembers;
    table[kSaveAs2].params = table[kSaveAs].params;
    return table;
  }();
  return members;
}

const wchar_t kQuitText[] = L"转换服务已经退出，不能再使用";
const wchar_t kClosedText[] = L"文档已经关闭";

std::wstring FullPathOf(const std::wstring &path) {
  wchar_t buffer[MAX_PATH * 2];
  const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 2, buffer, nullptr);
  return n > 0 && n < MAX_PATH * 2 ? std::wstring(buffer, n) : path;
}

std::wstring FileNameOf(const std::wstring &path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The message a user reads for a failed open or save of `path`.
std::wstring FailureText(const BridgeReply &reply, const std::wstring &path) {
  if (reply.error == "missing")
    return L"文件不存在：" + path;
  if (reply.error == "unreadable")
    return L"无法把文件作为文档读取（文件已损坏或不是文档）：" + path;
  if (reply.error == "unwritable")
    return L"无法保存文件（目标文件夹不可写，或文件正被使用）：" + path;
  return L"LibreOffice 转换失败：" + reply.detail;
}

class WordDocuments : public AutoObject {
public:
  explicit WordDocuments(WordApplication *application)
      : AutoObject(kDocumentsMembers), application_(application) {
    application_->AddRef();
  }
  ~WordDocuments() override { application_->Release(); }

protected:
  HRESULT Perform(DISPID id, WORD, const AutoArgs &args, VARIANT *result, EXCEPINFO *excep,
                  UINT *argError) override {
    if (application_->HasQuit())
      return RaiseError(excep, kQuitText);
    const auto &open = application_->OpenDocuments();
    switch (id) {
    case kOpen:
      return application_->Open(args, result, excep, argError);
    case kCount:
      if (result) {
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(open.size());
      }
      return S_OK;
    case kItem: {
      long index = 0;
      std::wstring name;
      const VARTYPE type = static_cast<VARTYPE>(args.Raw(0)->vt & ~VT_BYREF);
      if (type == VT_BSTR) {
        args.String(0, name, argError);
        for (WordDocument *doc : open)
          if (_wcsicmp(doc->Name().c_str(), name.c_str()) == 0 ||
              _wcsicmp(doc->FullName().c_str(), name.c_str()) == 0) {
            ReturnObject(result, doc);
            return S_OK;
          }
        return RaiseError(excep, L"没有打开名为“" + name + L"”的文档");
      }
      if (!args.Integer(0, index, argError))
        return DISP_E_TYPEMISMATCH;
      if (index < 1 || static_cast<size_t>(index) > open.size())
        return RaiseError(excep, L"文档序号超出范围：" + std::to_wstring(index));
      ReturnObject(result, open[static_cast<size_t>(index - 1)]);
      return S_OK;
    }
    }
    return DISP_E_MEMBERNOTFOUND;
  }

private:
  WordApplication *application_;
};

} // namespace

WordDocument::WordDocument(WordApplication *application, long bridgeId, std::wstring fullName)
    : AutoObject(DocumentMembers()), application_(application), bridgeId_(bridgeId),
      fullName_(std::move(fullName)) {}

std::wstring WordDocument::Name() const { return FileNameOf(fullName_); }

HRESULT WordDocument::Perform(DISPID id, WORD, const AutoArgs &args, VARIANT *result,
                              EXCEPINFO *excep, UINT *argError) {
  if (id == kFullName || id == kDocName) {
    ReturnString(result, id == kFullName ? fullName_ : Name());
    return S_OK;
  }
  if (!application_)
    return RaiseError(excep, kClosedText);
  if (application_->HasQuit())
    return RaiseError(excep, kQuitText);
  if (id == kClose) {
    bool save = false;
    if (args.Has(0) && !args.Boolean(0, save, argError))
      return DISP_E_TYPEMISMATCH;
    application_->Close(*this); // nothing of ours is ever changed: there is nothing to save
    return S_OK;
  }
  return SaveAs(args, excep, argError);
}

HRESULT WordDocument::SaveAs(const AutoArgs &args, EXCEPINFO *excep, UINT *argError) {
  std::wstring path = fullName_;
  long format = 0;
  if (args.Has(0) && !args.String(0, path, argError))
    return DISP_E_TYPEMISMATCH;
  if (args.Has(1) && !args.Integer(1, format, argError))
    return DISP_E_TYPEMISMATCH;
  path = FullPathOf(path);
  const HRESULT hr = application_->Save(*this, path, format, excep);
  if (SUCCEEDED(hr))
    fullName_ = path; // as in Word, the document now goes by its new name
  return hr;
}

WordApplication::WordApplication() : AutoObject(kApplicationMembers) {}

WordApplication::~WordApplication() {
  Shutdown();
  if (g_onApplicationGone)
    g_onApplicationGone(this);
}

void WordApplication::Shutdown() {
  for (WordDocument *doc : documents_) {
    doc->Orphan();
    doc->Release();
  }
  documents_.clear();
  bridge_.Stop();
  window_.Show(false);
}

void WordApplication::ShowDocuments() {
  std::vector<std::wstring> names;
  for (WordDocument *doc : documents_)
    names.push_back(doc->FullName());
  window_.Documents(names);
}

HRESULT WordApplication::Open(const AutoArgs &args, VARIANT *result, EXCEPINFO *excep,
                              UINT *argError) {
  std::wstring path;
  if (!args.String(0, path, argError))
    return DISP_E_TYPEMISMATCH;
  // The optional arguments are checked for their types; none changes how LibreOffice reads.
  for (size_t flag : {1, 2, 3, 6, 11, 12, 14}) {
    bool ignored = false;
    if (args.Has(flag) && !args.Boolean(flag, ignored, argError))
      return DISP_E_TYPEMISMATCH;
  }
  path = FullPathOf(path);
  window_.Status(L"正在打开 " + path);
  const BridgeReply reply = bridge_.Call(OpenRequest(OfficeBridge::BridgePath(path)));
  if (!reply.ok) {
    window_.Status(L"打开失败：" + path);
    return RaiseError(excep, FailureText(reply, path));
  }
  auto *doc = new WordDocument(this, reply.id, path);
  documents_.push_back(doc);
  ShowDocuments();
  window_.Status(L"已打开 " + path);
  ReturnObject(result, doc);
  return S_OK;
}

HRESULT WordApplication::Save(WordDocument &document, const std::wstring &path, long format,
                              EXCEPINFO *excep) {
  SaveFormat how;
  if (!SaveFormatOf(static_cast<int>(format), GetACP(), GetOEMCP(), how))
    return RaiseError(excep, L"不支持的文件格式代码 " + std::to_wstring(format) +
                                 L"：LibreOffice 不能写出这种格式");
  window_.Status(L"正在保存 " + path);
  const BridgeReply reply = bridge_.Call(
      SaveRequest(document.BridgeId(), OfficeBridge::BridgePath(path), how.filter, how.post));
  if (!reply.ok) {
    window_.Status(L"保存失败：" + path);
    return RaiseError(excep, FailureText(reply, path));
  }
  window_.Status(L"已保存 " + path);
  return S_OK;
}

void WordApplication::Close(WordDocument &document) {
  const auto found = std::find(documents_.begin(), documents_.end(), &document);
  if (found == documents_.end())
    return;
  bridge_.Call(CloseRequest(document.BridgeId()));
  documents_.erase(found);
  document.Orphan();
  ShowDocuments();
  document.Release();
}

HRESULT WordApplication::Perform(DISPID id, WORD flags, const AutoArgs &args, VARIANT *result,
                                 EXCEPINFO *excep, UINT *argError) {
  if (quit_)
    return RaiseError(excep, kQuitText);
  switch (id) {
  case kVisible:
    if (flags & DISPATCH_PROPERTYPUT) {
      bool visible = false;
      if (!args.Boolean(0, visible, argError))
        return DISP_E_TYPEMISMATCH;
      window_.Show(visible);
    } else if (result) {
      result->vt = VT_BOOL;
      result->boolVal = window_.Visible() ? VARIANT_TRUE : VARIANT_FALSE;
    }
    return S_OK;
  case kDocuments: {
    auto *documents = new WordDocuments(this);
    ReturnObject(result, documents);
    documents->Release();
    return S_OK;
  }
  case kActiveDocument:
    if (documents_.empty())
      return RaiseError(excep, L"没有打开的文档");
    ReturnObject(result, documents_.back());
    return S_OK;
  case kQuit: {
    bool save = false;
    if (args.Has(0) && !args.Boolean(0, save, argError))
      return DISP_E_TYPEMISMATCH;
    // The reply goes out at once; LibreOffice ends as the process does, right after it.
    quit_ = true;
    window_.Show(false);
    if (g_onApplicationGone)
      g_onApplicationGone(nullptr);
    return S_OK;
  }
  case kVersion:
    ReturnString(result, L"16.0");
    return S_OK;
  case kAppName:
    ReturnString(result, L"Kestrova Word (LibreOffice)");
    return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}
