// IDispatch for the server's objects: a fixed table of members with their parameter names,
// looked up without regard to case; positional and named arguments sorted into the parameter
// order before the object sees them; failures raised as automation exceptions.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

struct AutoMember {
  const wchar_t *name;
  WORD kinds; // the DISPATCH_* flags the member answers to
  std::vector<const wchar_t *> params;
  size_t required = 0;
};

// The arguments of one call in parameter order; an omitted one is null.
class AutoArgs {
public:
  AutoArgs(std::vector<VARIANT *> values, std::vector<UINT> positions)
      : values_(std::move(values)), positions_(std::move(positions)) {}
  bool Has(size_t index) const { return index < values_.size() && values_[index]; }
  // The argument coerced as automation does; false (with *argError set) when it cannot be.
  bool String(size_t index, std::wstring &out, UINT *argError) const;
  bool Integer(size_t index, long &out, UINT *argError) const;
  bool Boolean(size_t index, bool &out, UINT *argError) const;
  const VARIANT *Raw(size_t index) const { return values_[index]; }

private:
  bool Coerce(size_t index, VARTYPE type, VARIANT &out, UINT *argError) const;
  std::vector<VARIANT *> values_;
  std::vector<UINT> positions_; // each argument's index in DISPPARAMS, for argError
};

// The source every exception of the server names.
extern const wchar_t kErrorSource[];
// Fills `excep` with the server's source and `description`; returns DISP_E_EXCEPTION.
HRESULT RaiseError(EXCEPINFO *excep, const std::wstring &description);

class AutoObject : public IDispatch {
public:
  explicit AutoObject(const std::vector<AutoMember> &members) : members_(members) {}
  AutoObject(const AutoObject &) = delete;
  AutoObject &operator=(const AutoObject &) = delete;
  virtual ~AutoObject() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo **info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR *names, UINT count, LCID lcid,
                                          DISPID *ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS *params, VARIANT *result, EXCEPINFO *excep,
                                   UINT *argError) override;

protected:
  // One call of member `id` (its index in the table). For a put the value is argument 0.
  virtual HRESULT Perform(DISPID id, WORD flags, const AutoArgs &args, VARIANT *result,
                          EXCEPINFO *excep, UINT *argError) = 0;

private:
  LONG references_ = 1;
  const std::vector<AutoMember> &members_;
};

// Puts a new reference to `object` into `result` (which may be null: the call's result unused).
void ReturnObject(VARIANT *result, IDispatch *object);
void ReturnString(VARIANT *result, const std::wstring &text);
