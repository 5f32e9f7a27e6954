#include "tests/fakes/fake_word_objects.h"

#include "tests/fakes/fake_word.h"
#include "tests/fakes/fake_word_journal.h"

namespace {

constexpr DispatchMember kApplicationMembers[] = {
    {L"Visible", DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT},
    {L"Documents", DISPATCH_PROPERTYGET},
    {L"ActiveDocument", DISPATCH_PROPERTYGET},
    {L"Quit", DISPATCH_METHOD},
};
enum ApplicationMember { kVisible, kDocuments, kActiveDocument, kQuit };

constexpr DispatchMember kDocumentsMembers[] = {{L"Open", DISPATCH_METHOD}};
constexpr DispatchMember kDocumentMembers[] = {{L"SaveAs", DISPATCH_METHOD}};

// The real members take at most sixteen arguments.
constexpr std::size_t kMaxArguments = 16;

std::wstring FileNamePart(const std::wstring &path) {
  std::size_t cut = path.find_last_of(L"\\/:");
  return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

// Reads argument `index` as `type` into `converted`, or says why it cannot be.
HRESULT RequireArgument(std::span<VARIANT *const> args, std::size_t index, VARTYPE type,
                        VARIANT &converted, UINT *argError) {
  VariantInit(&converted);
  if (ArgumentOmitted(args, index))
    return DISP_E_PARAMNOTFOUND;
  if (CoerceArgument(*args[index], type, converted))
    return S_OK;
  if (argError)
    *argError = ArgumentErrorIndex(args, index);
  return DISP_E_TYPEMISMATCH;
}

// Checks that the optional arguments first..last, where given, convert to `type`.
HRESULT CheckOptional(std::span<VARIANT *const> args, std::size_t first, std::size_t last,
                      VARTYPE type, UINT *argError) {
  for (std::size_t i = first; i <= last && i < args.size(); ++i) {
    if (ArgumentOmitted(args, i))
      continue;
    VARIANT converted;
    HRESULT hr = RequireArgument(args, i, type, converted, argError);
    VariantClear(&converted);
    if (FAILED(hr))
      return hr;
  }
  return S_OK;
}

bool ReadWholeFile(const std::wstring &path, std::string &bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  bytes.clear();
  char buffer[4096];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0)
    bytes.append(buffer, got);
  CloseHandle(file);
  return ok;
}

bool WriteWholeFile(const std::wstring &path, const std::string &bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  DWORD error = GetLastError();
  CloseHandle(file);
  SetLastError(error);
  return ok;
}

// A child object: answers only while its application has not quit, and keeps it alive.
class ChildObject : public DispatchObject {
public:
  ChildObject(const wchar_t *className, std::span<const DispatchMember> members,
              FakeApplication *application)
      : DispatchObject(className, members), application_(application) {
    application_->AddRef();
  }
  ~ChildObject() override { application_->Release(); }

protected:
  bool Connected() const override { return !application_->Quitted(); }
  FakeApplication *application_;
};

class FakeDocument : public ChildObject {
public:
  FakeDocument(FakeApplication *application, std::size_t index)
      : ChildObject(L"Document", kDocumentMembers, application), index_(index) {}

protected:
  // SaveAs(FileName, FileFormat, ...): the header naming the format, then the source's bytes.
  HRESULT Perform(DISPID, WORD, std::span<VARIANT *const> args, VARIANT *, EXCEPINFO *excep,
                  UINT *argError) override {
    if (args.size() > kMaxArguments)
      return DISP_E_BADPARAMCOUNT;
    VARIANT name;
    HRESULT hr = RequireArgument(args, 0, VT_BSTR, name, argError);
    if (FAILED(hr))
      return hr;
    std::wstring path(name.bstrVal, SysStringLen(name.bstrVal));
    VariantClear(&name);
    long format = 0;
    if (!ArgumentOmitted(args, 1)) {
      VARIANT code;
      hr = RequireArgument(args, 1, VT_I4, code, argError);
      if (FAILED(hr))
        return hr;
      format = code.lVal;
    }
    if (!WriteWholeFile(path, FakeWordTargetContent(format, application_->Document(index_).bytes)))
      return RaiseError(excep, HRESULT_FROM_WIN32(GetLastError()), kFakeWordSaveFailedText + path);
    return S_OK;
  }

private:
  std::size_t index_;
};

class FakeDocuments : public ChildObject {
public:
  explicit FakeDocuments(FakeApplication *application)
      : ChildObject(L"Documents", kDocumentsMembers, application) {}

protected:
  // Open(FileName, ConfirmConversions, ReadOnly, AddToRecentFiles, ...): the new document.
  HRESULT Perform(DISPID, WORD, std::span<VARIANT *const> args, VARIANT *result, EXCEPINFO *excep,
                  UINT *argError) override {
    if (args.size() > kMaxArguments)
      return DISP_E_BADPARAMCOUNT;
    VARIANT name;
    HRESULT hr = RequireArgument(args, 0, VT_BSTR, name, argError);
    if (FAILED(hr))
      return hr;
    std::wstring path(name.bstrVal, SysStringLen(name.bstrVal));
    VariantClear(&name);
    hr = CheckOptional(args, 1, 3, VT_BOOL, argError);
    if (FAILED(hr))
      return hr;
    std::size_t index = 0;
    hr = application_->OpenDocumentAt(path, excep, index);
    if (FAILED(hr))
      return hr;
    ReturnObject(new FakeDocument(application_, index), result);
    return S_OK;
  }
};

} // namespace

void ReturnObject(DispatchObject *object, VARIANT *result) {
  if (result) {
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
  } else {
    object->Release();
  }
}

FakeApplication::FakeApplication() : DispatchObject(L"Application", kApplicationMembers) {}

FakeApplication::~FakeApplication() {
  JournalWrite(L"Application released");
}

HRESULT FakeApplication::OpenDocumentAt(const std::wstring &path, EXCEPINFO *excep,
                                        std::size_t &index) {
  std::wstring name = FileNamePart(path);
  if (name.find(kFakeWordOpenMarker) != std::wstring::npos)
    return RaiseError(excep, kFakeWordOpenRefused, kFakeWordOpenRefusedText + name);
  OpenDocument document{path, {}};
  if (!ReadWholeFile(path, document.bytes))
    return RaiseError(excep, kFakeWordFileNotFound, kFakeWordNotFoundText + path);
  documents_.push_back(std::move(document));
  index = active_ = documents_.size() - 1;
  return S_OK;
}

HRESULT FakeApplication::Perform(DISPID id, WORD flags, std::span<VARIANT *const> args,
                                 VARIANT *result, EXCEPINFO *excep, UINT *argError) {
  switch (id) {
  case kVisible:
    if (flags & DISPATCH_PROPERTYPUT) {
      VARIANT value;
      HRESULT hr = RequireArgument(args, 0, VT_BOOL, value, argError);
      if (FAILED(hr))
        return hr;
      visible_ = value.boolVal != VARIANT_FALSE;
      return S_OK;
    }
    if (!args.empty())
      return DISP_E_BADPARAMCOUNT;
    if (result) {
      result->vt = VT_BOOL;
      result->boolVal = visible_ ? VARIANT_TRUE : VARIANT_FALSE;
    }
    return S_OK;
  case kDocuments:
    if (!args.empty())
      return DISP_E_BADPARAMCOUNT;
    ReturnObject(new FakeDocuments(this), result);
    return S_OK;
  case kActiveDocument:
    if (!args.empty())
      return DISP_E_BADPARAMCOUNT;
    if (documents_.empty())
      return RaiseError(excep, kFakeWordNoDocument, kFakeWordNoDocumentText);
    ReturnObject(new FakeDocument(this, active_), result);
    return S_OK;
  case kQuit: {
    // Quit(SaveChanges, OriginalFormat, RouteDocument): SaveChanges is a Boolean or a number.
    if (args.size() > 3)
      return DISP_E_BADPARAMCOUNT;
    HRESULT hr = CheckOptional(args, 0, 2, VT_I4, argError);
    if (FAILED(hr))
      return hr;
    quitted_ = true;
    return S_OK;
  }
  }
  return DISP_E_MEMBERNOTFOUND;
}
