// IDispatch written by hand for the server's objects: a fixed table of members, looked up
// without regard to case as the real server does, every Invoke journaled as received.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <span>
#include <string>
#include <vector>

struct DispatchMember {
  const wchar_t *name;
  WORD kinds; // the DISPATCH_* flags the member answers to
};

// Counts the server's live objects, for DllCanUnloadNow.
extern LONG g_liveObjects;

// Fills `excep` as an automation server reports a failure and returns DISP_E_EXCEPTION.
HRESULT RaiseError(EXCEPINFO *excep, long code, const std::wstring &description);
// Same, with the description left to the caller's deferred fill-in.
HRESULT RaiseDeferredError(EXCEPINFO *excep, long code, const std::wstring &description);

// The argument converted to `type` as the automation rules coerce; false if it cannot be.
// `converted` must be cleared by the caller on success.
bool CoerceArgument(const VARIANT &arg, VARTYPE type, VARIANT &converted);
// Whether an optional argument was left out (VT_ERROR DISP_E_PARAMNOTFOUND) or not passed.
bool ArgumentOmitted(std::span<VARIANT *const> args, std::size_t index);
// Invoke's argument error index (last argument first) of the argument at `index`.
UINT ArgumentErrorIndex(std::span<VARIANT *const> args, std::size_t index);

class DispatchObject : public IDispatch {
public:
  DispatchObject(const wchar_t *className, std::span<const DispatchMember> members);
  DispatchObject(const DispatchObject &) = delete;
  DispatchObject &operator=(const DispatchObject &) = delete;
  virtual ~DispatchObject();

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
  // One call that passed the checks common to every member. `args` are in the caller's order;
  // for a put the value is the only argument. `id` is the member's index in the table.
  virtual HRESULT Perform(DISPID id, WORD flags, std::span<VARIANT *const> args, VARIANT *result,
                          EXCEPINFO *excep, UINT *argError) = 0;
  // Whether the object still answers (the application refuses everything after "Quit").
  virtual bool Connected() const { return true; }

private:
  LONG references_ = 1;
  const wchar_t *className_;
  std::span<const DispatchMember> members_;
};
