#include "framework/gui/comobj.h"

#include <cstdio>
#include <vector>

namespace {

// Member names are looked up and calls made in the system default locale.
constexpr LCID kAutomationLocale = LOCALE_SYSTEM_DEFAULT;

// Frees an EXCEPINFO's strings however the call that filled it ends.
struct ExcepInfoHolder {
  EXCEPINFO info{};
  ExcepInfoHolder() = default;
  ExcepInfoHolder(const ExcepInfoHolder &) = delete;
  ExcepInfoHolder &operator=(const ExcepInfoHolder &) = delete;
  ~ExcepInfoHolder() {
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
  }
};

std::string BstrToAnsi(BSTR text) {
  return text ? WideToAnsi(text, SysStringLen(text)) : std::string();
}

// Turns a failed Invoke into the exception, preferring the server's own description.
[[noreturn]] void ThrowInvokeError(HRESULT hr, EXCEPINFO &info, const std::string &member,
                                   UINT argError, std::size_t argCount) {
  if (hr == DISP_E_EXCEPTION) {
    if (info.pfnDeferredFillIn) {
      info.pfnDeferredFillIn(&info);
      info.pfnDeferredFillIn = nullptr;
    }
    HRESULT code = info.scode != 0 ? info.scode : DISP_E_EXCEPTION;
    std::string message = BstrToAnsi(info.bstrDescription);
    if (message.empty())
      message = OleErrorMessage(code);
    throw EOleException(std::move(message), code, BstrToAnsi(info.bstrSource));
  }
  std::string where = member;
  // For these two the server names the argument, counted from the last one.
  if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) && argError < argCount)
    where += ", argument " + std::to_string(argCount - argError);
  throw EOleException(OleErrorMessage(hr) + " (" + where + ")", hr);
}

} // namespace

std::wstring AnsiToWide(const std::string &ansiText) {
  if (ansiText.empty())
    return {};
  int length = MultiByteToWideChar(CP_ACP, 0, ansiText.data(), static_cast<int>(ansiText.size()),
                                   nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansiText.data(), static_cast<int>(ansiText.size()), wide.data(),
                      length);
  return wide;
}

std::string WideToAnsi(const wchar_t *text, std::size_t length) {
  if (length == 0)
    return {};
  int size =
      WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), ansi.data(), size, nullptr,
                      nullptr);
  return ansi;
}

std::string OleErrorMessage(HRESULT code) {
  char *buffer = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char *>(&buffer), 0, nullptr);
  std::string message(buffer ? buffer : "", length);
  LocalFree(buffer);
  while (!message.empty() && (message.back() == '\r' || message.back() == '\n' ||
                              message.back() == ' ' || message.back() == '.'))
    message.pop_back();
  if (message.empty()) {
    char text[32];
    std::snprintf(text, sizeof text, "OLE error %08lX", static_cast<unsigned long>(code));
    message = text;
  }
  return message;
}

OleVariant::OleVariant(bool value) noexcept {
  VariantInit(&value_);
  value_.vt = VT_BOOL;
  value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

OleVariant::OleVariant(std::int32_t value) noexcept {
  VariantInit(&value_);
  value_.vt = VT_I4;
  value_.lVal = value;
}

OleVariant::OleVariant(const char *ansiText) : OleVariant(std::string(ansiText ? ansiText : "")) {}

OleVariant::OleVariant(const std::string &ansiText) : OleVariant(AnsiToWide(ansiText)) {}

OleVariant::OleVariant(const std::wstring &text) {
  VariantInit(&value_);
  BSTR bstr = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!bstr)
    throw EOleException(OleErrorMessage(E_OUTOFMEMORY), E_OUTOFMEMORY);
  value_.vt = VT_BSTR;
  value_.bstrVal = bstr;
}

OleVariant::OleVariant(IDispatch *dispatch) noexcept {
  VariantInit(&value_);
  if (dispatch) {
    dispatch->AddRef();
    value_.vt = VT_DISPATCH;
    value_.pdispVal = dispatch;
  }
}

OleVariant::OleVariant(const OleVariant &other) {
  VariantInit(&value_);
  HRESULT hr = VariantCopy(&value_, const_cast<VARIANT *>(&other.value_));
  if (FAILED(hr))
    throw EOleException(OleErrorMessage(hr), hr);
}

OleVariant::OleVariant(OleVariant &&other) noexcept {
  value_ = other.value_;
  VariantInit(&other.value_);
}

OleVariant &OleVariant::operator=(const OleVariant &other) {
  if (this != &other) {
    OleVariant copy(other);
    *this = std::move(copy);
  }
  return *this;
}

OleVariant &OleVariant::operator=(OleVariant &&other) noexcept {
  if (this != &other) {
    VariantClear(&value_);
    value_ = other.value_;
    VariantInit(&other.value_);
  }
  return *this;
}

OleVariant OleVariant::Attach(VARIANT &raw) noexcept {
  OleVariant result;
  result.value_ = raw;
  VariantInit(&raw);
  return result;
}

void OleVariant::Clear() noexcept {
  VariantClear(&value_);
}

namespace {

// The value converted by the automation coercion rules; the source is only read.
OleVariant ConvertedTo(const VARIANT &value, VARTYPE type) {
  VARIANT converted;
  VariantInit(&converted);
  HRESULT hr =
      VariantChangeTypeEx(&converted, const_cast<VARIANT *>(&value), kAutomationLocale, 0, type);
  if (FAILED(hr))
    throw EOleException(OleErrorMessage(hr), hr);
  return OleVariant::Attach(converted);
}

} // namespace

std::string OleVariant::AsString() const {
  if (value_.vt == VT_BSTR)
    return BstrToAnsi(value_.bstrVal);
  return BstrToAnsi(ConvertedTo(value_, VT_BSTR).Raw().bstrVal);
}

std::int32_t OleVariant::AsInteger() const {
  return ConvertedTo(value_, VT_I4).Raw().lVal;
}

bool OleVariant::AsBoolean() const {
  return ConvertedTo(value_, VT_BOOL).Raw().boolVal != VARIANT_FALSE;
}

IDispatch *OleVariant::DispatchOrThrow() const {
  if (value_.vt == VT_DISPATCH && value_.pdispVal)
    return value_.pdispVal;
  if (value_.vt == (VT_DISPATCH | VT_BYREF) && value_.ppdispVal && *value_.ppdispVal)
    return *value_.ppdispVal;
  throw EOleException("Variant does not reference an automation object", DISP_E_TYPEMISMATCH);
}

OleVariant OleVariant::Get(const std::string &member) const {
  return Invoke(member, DISPATCH_PROPERTYGET, nullptr, 0);
}

void OleVariant::Put(const std::string &member, const OleVariant &value) const {
  Invoke(member, DISPATCH_PROPERTYPUT, &value, 1);
}

OleVariant OleVariant::Call(const std::string &member,
                            std::initializer_list<OleVariant> args) const {
  // Methods whose result is used may be properties with parameters on some servers; late-bound
  // callers conventionally allow both.
  return Invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args.begin(), args.size());
}

OleVariant OleVariant::Invoke(const std::string &member, WORD flags, const OleVariant *args,
                              std::size_t count) const {
  IDispatch *dispatch = DispatchOrThrow();

  std::wstring wideName = AnsiToWide(member);
  LPOLESTR names[1] = {wideName.data()};
  DISPID dispId = DISPID_UNKNOWN;
  HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, kAutomationLocale, &dispId);
  if (hr == DISP_E_UNKNOWNNAME)
    throw EOleException("Method '" + member + "' not supported by automation object", hr);
  if (FAILED(hr))
    throw EOleException(OleErrorMessage(hr) + " (" + member + ")", hr);

  // IDispatch takes positional arguments last to first. The copies are shallow: the callee
  // only reads them, and the OleVariants keep ownership.
  std::vector<VARIANTARG> reversed(count);
  for (std::size_t i = 0; i < count; ++i)
    reversed[count - 1 - i] = args[i].value_;

  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  params.cArgs = static_cast<UINT>(count);
  if (flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }

  VARIANT result;
  VariantInit(&result);
  ExcepInfoHolder excep;
  UINT argError = 0;
  hr = dispatch->Invoke(dispId, IID_NULL, kAutomationLocale, flags, &params,
                        (flags & DISPATCH_PROPERTYPUT) ? nullptr : &result, &excep.info, &argError);
  if (FAILED(hr)) {
    VariantClear(&result);
    ThrowInvokeError(hr, excep.info, member, argError, count);
  }
  return Attach(result);
}

OleVariant CreateOleObject(const std::string &progId) {
  std::wstring wideId = AnsiToWide(progId);
  CLSID classId;
  HRESULT hr = CLSIDFromProgID(wideId.c_str(), &classId);
  if (FAILED(hr))
    throw EOleException(OleErrorMessage(hr) + " (" + progId + ")", hr);

  IDispatch *dispatch = nullptr;
  hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                        reinterpret_cast<void **>(&dispatch));
  if (FAILED(hr))
    throw EOleException(OleErrorMessage(hr) + " (" + progId + ")", hr);
  OleVariant object(dispatch);
  dispatch->Release();
  return object;
}
