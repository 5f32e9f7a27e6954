#include "tests/fakes/fake_word_dispatch.h"

#include <cwchar>

#include "tests/fakes/fake_word.h"
#include "tests/fakes/fake_word_journal.h"

LONG g_liveObjects = 0;

namespace {

// The text a deferred fill-in hands over; one call is in flight per thread.
thread_local std::wstring t_deferredDescription;

HRESULT STDAPICALLTYPE FillDeferred(EXCEPINFO *excep) {
  excep->bstrDescription = SysAllocString(t_deferredDescription.c_str());
  return S_OK;
}

std::wstring FlagsText(WORD flags) {
  static const struct {
    WORD flag;
    const wchar_t *name;
  } names[] = {{DISPATCH_METHOD, L"method"},
               {DISPATCH_PROPERTYGET, L"get"},
               {DISPATCH_PROPERTYPUT, L"put"},
               {DISPATCH_PROPERTYPUTREF, L"putref"}};
  std::wstring text;
  for (const auto &entry : names) {
    if (flags & entry.flag)
      text += (text.empty() ? L"" : L"|") + std::wstring(entry.name);
  }
  return text.empty() ? L"none" : text;
}

std::wstring Hex4(LCID lcid) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%04lX", static_cast<unsigned long>(lcid));
  return text;
}

} // namespace

DispatchObject::DispatchObject(const wchar_t *className, std::span<const DispatchMember> members)
    : className_(className), members_(members) {
  InterlockedIncrement(&g_liveObjects);
}

DispatchObject::~DispatchObject() {
  InterlockedDecrement(&g_liveObjects);
}

HRESULT STDMETHODCALLTYPE DispatchObject::QueryInterface(REFIID riid, void **object) {
  if (!object)
    return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *object = static_cast<IDispatch *>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DispatchObject::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG STDMETHODCALLTYPE DispatchObject::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0)
    delete this;
  return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE DispatchObject::GetTypeInfoCount(UINT *count) {
  if (!count)
    return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo **info) {
  if (info)
    *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE DispatchObject::GetIDsOfNames(REFIID riid, LPOLESTR *names, UINT count,
                                                        LCID, DISPID *ids) {
  if (!IsEqualIID(riid, IID_NULL))
    return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0)
    return E_INVALIDARG;
  // Only the member name is known; named arguments are not supported.
  for (UINT i = 0; i < count; ++i)
    ids[i] = DISPID_UNKNOWN;
  for (std::size_t m = 0; m < members_.size(); ++m) {
    if (names[0] && _wcsicmp(names[0], members_[m].name) == 0) {
      ids[0] = static_cast<DISPID>(m + 1);
      return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
  }
  JournalWrite(std::wstring(className_) + L"." + (names[0] ? names[0] : L"") + L" unknown name");
  return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE DispatchObject::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                                 DISPPARAMS *params, VARIANT *result,
                                                 EXCEPINFO *excep, UINT *argError) {
  if (!IsEqualIID(riid, IID_NULL))
    return DISP_E_UNKNOWNINTERFACE;
  if (id < 1 || static_cast<std::size_t>(id) > members_.size())
    return DISP_E_MEMBERNOTFOUND;
  if (!params || (params->cArgs > 0 && !params->rgvarg))
    return E_INVALIDARG;
  const DispatchMember &member = members_[static_cast<std::size_t>(id - 1)];

  // Positional arguments arrive last to first; named ones (only a put's value) come first.
  std::vector<VARIANT *> args;
  for (UINT i = params->cArgs; i > 0; --i)
    args.push_back(&params->rgvarg[i - 1]);

  std::wstring line = std::wstring(className_) + L"." + member.name + L" " + FlagsText(flags) +
                      L" lcid=" + Hex4(lcid) + L" (";
  for (std::size_t i = 0; i < args.size(); ++i)
    line += (i ? L", " : L"") + JournalVariant(*args[i]);
  JournalWrite(line + L")");

  if (!Connected())
    return RPC_E_DISCONNECTED;
  if ((flags & member.kinds) == 0)
    return DISP_E_MEMBERNOTFOUND;
  bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (put) {
    if (params->cNamedArgs != 1 || !params->rgdispidNamedArgs ||
        params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
      return DISP_E_PARAMNOTOPTIONAL;
    if (params->cArgs != 1)
      return DISP_E_BADPARAMCOUNT;
  } else if (params->cNamedArgs != 0) {
    return DISP_E_NONAMEDARGS;
  }
  if (FailSwitchSet(member.name))
    return RaiseDeferredError(excep, kFakeWordSimulated,
                              kFakeWordSimulatedText + std::wstring(member.name));
  if (result)
    VariantInit(result);
  return Perform(id - 1, flags, args, put ? nullptr : result, excep, argError);
}

HRESULT RaiseError(EXCEPINFO *excep, long code, const std::wstring &description) {
  if (excep) {
    *excep = EXCEPINFO{};
    excep->scode = code;
    excep->bstrSource = SysAllocString(kFakeWordSource);
    excep->bstrDescription = SysAllocString(description.c_str());
  }
  return DISP_E_EXCEPTION;
}

HRESULT RaiseDeferredError(EXCEPINFO *excep, long code, const std::wstring &description) {
  if (excep) {
    *excep = EXCEPINFO{};
    excep->scode = code;
    excep->bstrSource = SysAllocString(kFakeWordSource);
    t_deferredDescription = description;
    excep->pfnDeferredFillIn = FillDeferred;
  }
  return DISP_E_EXCEPTION;
}

bool CoerceArgument(const VARIANT &arg, VARTYPE type, VARIANT &converted) {
  VariantInit(&converted);
  return SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT *>(&arg), 0, type));
}

bool ArgumentOmitted(std::span<VARIANT *const> args, std::size_t index) {
  return index >= args.size() ||
         (args[index]->vt == VT_ERROR && args[index]->scode == DISP_E_PARAMNOTFOUND);
}

UINT ArgumentErrorIndex(std::span<VARIANT *const> args, std::size_t index) {
  return static_cast<UINT>(args.size() - 1 - index);
}
