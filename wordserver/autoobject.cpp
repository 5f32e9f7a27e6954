#include "wordserver/autoobject.h"

const wchar_t kErrorSource[] = L"Kestrova Word";

namespace {

bool Omitted(const VARIANT *value) {
  return value->vt == VT_ERROR && value->scode == DISP_E_PARAMNOTFOUND;
}

} // namespace

bool AutoArgs::Coerce(size_t index, VARTYPE type, VARIANT &out, UINT *argError) const {
  VariantInit(&out);
  if (SUCCEEDED(VariantChangeType(&out, values_[index], 0, type)))
    return true;
  if (argError)
    *argError = positions_[index];
  return false;
}

bool AutoArgs::String(size_t index, std::wstring &out, UINT *argError) const {
  VARIANT v;
  if (!Coerce(index, VT_BSTR, v, argError))
    return false;
  out.assign(v.bstrVal ? v.bstrVal : L"", SysStringLen(v.bstrVal));
  VariantClear(&v);
  return true;
}

bool AutoArgs::Integer(size_t index, long &out, UINT *argError) const {
  VARIANT v;
  if (!Coerce(index, VT_I4, v, argError))
    return false;
  out = v.lVal;
  return true;
}

bool AutoArgs::Boolean(size_t index, bool &out, UINT *argError) const {
  VARIANT v;
  if (!Coerce(index, VT_BOOL, v, argError))
    return false;
  out = v.boolVal != VARIANT_FALSE;
  return true;
}

HRESULT RaiseError(EXCEPINFO *excep, const std::wstring &description) {
  if (excep) {
    *excep = EXCEPINFO{};
    excep->bstrSource = SysAllocString(kErrorSource);
    excep->bstrDescription = SysAllocString(description.c_str());
    excep->scode = E_FAIL;
  }
  return DISP_E_EXCEPTION;
}

void ReturnObject(VARIANT *result, IDispatch *object) {
  if (!result)
    return;
  object->AddRef();
  result->vt = VT_DISPATCH;
  result->pdispVal = object;
}

void ReturnString(VARIANT *result, const std::wstring &text) {
  if (!result)
    return;
  result->vt = VT_BSTR;
  result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

HRESULT STDMETHODCALLTYPE AutoObject::QueryInterface(REFIID riid, void **object) {
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

ULONG STDMETHODCALLTYPE AutoObject::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG STDMETHODCALLTYPE AutoObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0)
    delete this;
  return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE AutoObject::GetTypeInfoCount(UINT *count) {
  if (!count)
    return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE AutoObject::GetTypeInfo(UINT, LCID, ITypeInfo **info) {
  if (info)
    *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE AutoObject::GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID,
                                                    DISPID *ids) {
  if (!names || !ids || count == 0)
    return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i)
    ids[i] = DISPID_UNKNOWN;
  const AutoMember *member = nullptr;
  for (size_t m = 0; m < members_.size(); ++m) {
    if (_wcsicmp(members_[m].name, names[0]) == 0) {
      member = &members_[m];
      ids[0] = static_cast<DISPID>(m);
    }
  }
  if (!member)
    return DISP_E_UNKNOWNNAME;
  HRESULT hr = S_OK;
  for (UINT i = 1; i < count; ++i) {
    for (size_t p = 0; p < member->params.size(); ++p)
      if (_wcsicmp(member->params[p], names[i]) == 0)
        ids[i] = static_cast<DISPID>(p);
    if (ids[i] == DISPID_UNKNOWN)
      hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT STDMETHODCALLTYPE AutoObject::Invoke(DISPID id, REFIID, LCID, WORD flags,
                                             DISPPARAMS *params, VARIANT *result,
                                             EXCEPINFO *excep, UINT *argError) {
  if (id < 0 || static_cast<size_t>(id) >= members_.size() ||
      !(flags & members_[static_cast<size_t>(id)].kinds))
    return DISP_E_MEMBERNOTFOUND;
  DISPPARAMS none{};
  if (!params)
    params = &none;
  if (result)
    VariantInit(result);
  const AutoMember &member = members_[static_cast<size_t>(id)];
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (params->cArgs != 1 || params->cNamedArgs != 1 ||
        params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
      return DISP_E_BADPARAMCOUNT;
    return Perform(id, flags, AutoArgs({&params->rgvarg[0]}, {0}), nullptr, excep, argError);
  }
  const UINT positional = params->cArgs - params->cNamedArgs;
  if (positional > member.params.size())
    return DISP_E_BADPARAMCOUNT;
  std::vector<VARIANT *> values(member.params.size(), nullptr);
  std::vector<UINT> positions(member.params.size(), 0);
  // DISPPARAMS holds the positional arguments last first, after the named ones.
  for (UINT i = 0; i < positional; ++i) {
    values[i] = &params->rgvarg[params->cArgs - 1 - i];
    positions[i] = params->cArgs - 1 - i;
  }
  for (UINT j = 0; j < params->cNamedArgs; ++j) {
    const DISPID p = params->rgdispidNamedArgs[j];
    if (p < 0 || static_cast<size_t>(p) >= values.size()) {
      if (argError)
        *argError = j;
      return DISP_E_PARAMNOTFOUND;
    }
    values[static_cast<size_t>(p)] = &params->rgvarg[j];
    positions[static_cast<size_t>(p)] = j;
  }
  for (size_t p = 0; p < values.size(); ++p) {
    if (values[p] && Omitted(values[p]))
      values[p] = nullptr;
    if (p < member.required && !values[p])
      return DISP_E_PARAMNOTOPTIONAL;
  }
  return Perform(id, flags, AutoArgs(std::move(values), std::move(positions)), result, excep,
                 argError);
}
