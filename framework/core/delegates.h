// Method pointers: an object and one of its member functions, held as a small value.
//
// Events (OnClick) and a control's WindowProc are delegates. They can be copied, compared and put
// back exactly: a painter that hooks a control saves the current WindowProc, installs its own and
// restores the saved one when it lets go, and == tells whether the installed one is still its own.
#pragma once

#include "framework/core/sysutils.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

class TObject;

// The message record of a window procedure. The fields have the widths of UINT, WPARAM, LPARAM
// and LRESULT on both bitnesses, so that the record is the same on every target.
struct TMessage {
  uint32_t Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

class EDelegateError : public Exception {
public:
  using Exception::Exception;
};

// The untyped part of a delegate: the object, the member function (its bytes) and the typed
// trampoline that calls it. Two values are equal when all three are equal.
struct TMethod {
  struct Probe;
  using MemberBytes = std::array<unsigned char, sizeof(void (Probe::*)())>;

  void *Data = nullptr;
  void (*Code)() = nullptr;
  MemberBytes Member{};

  bool Assigned() const { return Code != nullptr; }
  friend bool operator==(const TMethod &a, const TMethod &b) {
    return a.Data == b.Data && a.Code == b.Code && a.Member == b.Member;
  }
};

template <typename Signature> class TDelegate;

template <typename R, typename... Args> class TDelegate<R(Args...)> {
public:
  TDelegate() = default;
  TDelegate(std::nullptr_t) {}

  // The member may be declared in a base class of the object's type; it is bound to that base.
  template <class O, class C>
  requires std::is_convertible_v<O *, C *> TDelegate(O *object, R (C::*member)(Args...)) {
    using Member = R (C::*)(Args...);
    static_assert(sizeof(Member) <= sizeof(TMethod::MemberBytes),
                  "member function pointer larger than the delegate's storage");
    if (object == nullptr || member == nullptr)
      return;
    method_.Data = static_cast<void *>(static_cast<C *>(object));
    method_.Code = reinterpret_cast<void (*)()>(&Invoke<C>);
    std::memcpy(method_.Member.data(), &member, sizeof(Member));
  }

  // Wraps an untyped value; the caller guarantees that it was made for this signature.
  static TDelegate FromMethod(const TMethod &method) {
    TDelegate d;
    d.method_ = method;
    return d;
  }
  const TMethod &Method() const { return method_; }
  void *Data() const { return method_.Data; }

  bool Assigned() const { return method_.Assigned(); }
  explicit operator bool() const { return Assigned(); }

  // Calling an unassigned delegate is a programming error; it raises instead of crashing.
  R operator()(Args... args) const {
    if (!Assigned())
      throw EDelegateError("call of an unassigned method pointer");
    auto code = reinterpret_cast<R (*)(const TMethod &, Args...)>(method_.Code);
    return code(method_, std::forward<Args>(args)...);
  }

  friend bool operator==(const TDelegate &a, const TDelegate &b) { return a.method_ == b.method_; }

private:
  template <class C> static R Invoke(const TMethod &m, Args... args) {
    R (C::*member)(Args...);
    std::memcpy(&member, m.Member.data(), sizeof(member));
    return (static_cast<C *>(m.Data)->*member)(std::forward<Args>(args)...);
  }

  TMethod method_;
};

using TNotifyEvent = TDelegate<void(TObject *Sender)>;
using TWndMethod = TDelegate<void(TMessage &Message)>;
