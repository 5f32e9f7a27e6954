// Late-bound OLE Automation: a VARIANT that owns what it holds, calls by member name through
// IDispatch, and failures as exceptions of the common base.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "framework/core/sysutils.h"

// A failed COM or automation call. Message() is the server's own description where it gave one
// (converted to the ANSI code page), otherwise the system's text for the error code.
class EOleException : public Exception {
public:
  EOleException(std::string message, HRESULT errorCode, std::string source = {})
      : Exception(std::move(message)), errorCode_(errorCode), source_(std::move(source)) {}
  HRESULT ErrorCode() const noexcept { return errorCode_; }
  const std::string &Source() const noexcept { return source_; }

private:
  HRESULT errorCode_;
  std::string source_;
};

// Owns one VARIANT. Narrow strings are ANSI code page text and travel as BSTRs; booleans as
// VT_BOOL; integers as VT_I4. A value holding an IDispatch can be called by member name.
class OleVariant {
public:
  OleVariant() noexcept { VariantInit(&value_); }
  OleVariant(bool value) noexcept;
  OleVariant(std::int32_t value) noexcept;
  OleVariant(const char *ansiText);
  OleVariant(const std::string &ansiText);
  OleVariant(const std::wstring &text);
  // Takes a new reference to `dispatch` (which may be null: the value is then empty).
  explicit OleVariant(IDispatch *dispatch) noexcept;

  OleVariant(const OleVariant &other);
  OleVariant(OleVariant &&other) noexcept;
  OleVariant &operator=(const OleVariant &other);
  OleVariant &operator=(OleVariant &&other) noexcept;
  ~OleVariant() { VariantClear(&value_); }

  // Takes ownership of `raw`, leaving it VT_EMPTY.
  static OleVariant Attach(VARIANT &raw) noexcept;

  // Releases what the value holds (for an automation object: drops this reference).
  void Clear() noexcept;

  VARTYPE Type() const noexcept { return value_.vt; }
  bool IsEmpty() const noexcept { return value_.vt == VT_EMPTY; }
  const VARIANT &Raw() const noexcept { return value_; }

  // Conversions as the automation coercion rules make them; a failure throws EOleException.
  std::string AsString() const;
  std::int32_t AsInteger() const;
  bool AsBoolean() const;

  // Late-bound calls on the automation object this value holds. Arguments are positional.
  OleVariant Get(const std::string &member) const;
  void Put(const std::string &member, const OleVariant &value) const;
  OleVariant Call(const std::string &member, std::initializer_list<OleVariant> args = {}) const;

private:
  OleVariant Invoke(const std::string &member, WORD flags, const OleVariant *args,
                    std::size_t count) const;
  IDispatch *DispatchOrThrow() const;

  VARIANT value_;
};

// Class id from `progId`, then an instance asked for IDispatch, in-process or as a local
// server. COM must have been initialised on the calling thread.
OleVariant CreateOleObject(const std::string &progId);

// ANSI code page text <-> UTF-16, the conversions every BSTR goes through.
std::wstring AnsiToWide(const std::string &ansiText);
std::string WideToAnsi(const wchar_t *text, std::size_t length);

// The system's text for `code`, or "OLE error XXXXXXXX" where the system has none.
std::string OleErrorMessage(HRESULT code);
