#include "framework/gui/subclass.h"

#include <array>
#include <string>
#include <utility>

namespace {

// The property of each layer, as an atom: every message looks its record up.
LPCSTR PropName(int layer) {
  static const auto atoms = [] {
    std::array<ATOM, TWindowSubclass::kLayers> made{};
    for (int i = 0; i < TWindowSubclass::kLayers; ++i)
      made[static_cast<size_t>(i)] =
          GlobalAddAtomA(("Kestrova.Subclass." + std::to_string(i)).c_str());
    return made;
  }();
  return MAKEINTATOM(atoms[static_cast<size_t>(layer)]);
}

// One message being handled; nested ones (a handler that sends to its own window) stack up.
struct Call {
  bool forwarded = false;
  Call *outer = nullptr;
};

} // namespace

struct TWindowSubclass::Record {
  HWND window = nullptr;
  int layer = 0;
  WNDPROC previous = nullptr;
  bool unicode = false;
  TWindowSubclass *owner = nullptr; // null: a pass-through
  TObject *object = nullptr;
  TWndMethod handler;
  Call *call = nullptr;  // the innermost message being handled
  bool released = false; // off the window; freed when the last call returns

  static LRESULT Dispatch(int layer, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return unicode ? CallWindowProcW(previous, window, msg, wParam, lParam)
                   : CallWindowProcA(previous, window, msg, wParam, lParam);
  }
  WNDPROC Installed() const {
    return reinterpret_cast<WNDPROC>(unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                             : GetWindowLongPtrA(window, GWLP_WNDPROC));
  }
  // Takes the record off the window: the previous procedure goes back when ours is on top.
  void Release();
  void ForgetOwner() {
    if (owner != nullptr)
      owner->record_ = nullptr;
    owner = nullptr;
    object = nullptr;
    handler = nullptr;
  }
  void FreeIfDone() {
    if (released && call == nullptr)
      delete this;
  }
};

namespace {

template <int Layer> LRESULT CALLBACK LayerProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  return TWindowSubclass::Record::Dispatch(Layer, window, msg, wp, lp);
}

template <int... Layers>
constexpr std::array<WNDPROC, sizeof...(Layers)> MakeProcs(std::integer_sequence<int, Layers...>) {
  return {&LayerProc<Layers>...};
}

constexpr auto kProcs = MakeProcs(std::make_integer_sequence<int, TWindowSubclass::kLayers>());

TWindowSubclass::Record *RecordOf(HWND window, int layer) {
  return static_cast<TWindowSubclass::Record *>(GetPropA(window, PropName(layer)));
}

} // namespace

void TWindowSubclass::Record::Release() {
  if (released)
    return;
  if (Installed() == kProcs[static_cast<size_t>(layer)]) {
    if (unicode)
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    else
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  }
  RemovePropA(window, PropName(layer));
  released = true;
}

LRESULT TWindowSubclass::Record::Dispatch(int layer, HWND window, UINT msg, WPARAM wParam,
                                          LPARAM lParam) {
  Record *r = RecordOf(window, layer);
  if (r == nullptr) // cannot happen while the procedure is installed; the class answers
    return CallWindowProcA(reinterpret_cast<WNDPROC>(GetClassLongPtrA(window, GCLP_WNDPROC)),
                           window, msg, wParam, lParam);
  Call call;
  call.outer = r->call;
  r->call = &call;
  LRESULT result = 0;
  if (r->handler.Assigned()) {
    TMessage m{msg, wParam, lParam, 0};
    try {
      const TWndMethod handler = r->handler; // the handler may detach meanwhile
      handler(m);
      result = m.Result;
    } catch (...) {
      // Nothing may unwind through the system's frames. A message the handler had not passed
      // on yet goes to the window's own procedure, so that it is answered (and a paint
      // validates).
      result = call.forwarded ? m.Result : r->CallPrevious(msg, wParam, lParam);
    }
  } else {
    result = r->CallPrevious(msg, wParam, lParam);
  }
  if (msg == WM_NCDESTROY && !r->released) {
    r->ForgetOwner();
    r->Release();
  }
  r->call = call.outer;
  r->FreeIfDone();
  return result;
}

// ----------------------------------------------------------------- the object's side

TWindowSubclass::TWindowSubclass(int layer) : layer_(layer) {}

TWindowSubclass::~TWindowSubclass() {
  Detach();
}

bool TWindowSubclass::Attach(HWND window, TObject *object, const TWndMethod &handler) {
  if (record_ != nullptr || layer_ < 0 || layer_ >= kLayers || !IsWindow(window))
    return false;
  Record *r = RecordOf(window, layer_);
  if (r != nullptr) {
    if (r->owner != nullptr)
      return false;
    // Our pass-through is still in the chain: it serves again, in the place it has.
  } else {
    r = new Record;
    r->window = window;
    r->layer = layer_;
    r->unicode = IsWindowUnicode(window) != FALSE;
    SetPropA(window, PropName(layer_), r);
    const auto proc = reinterpret_cast<LONG_PTR>(kProcs[static_cast<size_t>(layer_)]);
    r->previous =
        reinterpret_cast<WNDPROC>(r->unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, proc)
                                             : SetWindowLongPtrA(window, GWLP_WNDPROC, proc));
    if (r->previous == nullptr) { // not ours to change (another process's window)
      RemovePropA(window, PropName(layer_));
      delete r;
      return false;
    }
  }
  r->owner = this;
  r->object = object;
  r->handler = handler;
  record_ = r;
  window_ = window;
  previous_ = r->previous;
  unicode_ = r->unicode;
  return true;
}

void TWindowSubclass::Detach() {
  Record *r = record_;
  if (r == nullptr)
    return;
  r->ForgetOwner();
  if (r->Installed() == kProcs[static_cast<size_t>(layer_)]) {
    r->Release();
    r->FreeIfDone();
  }
}

void TWindowSubclass::CallPrevious(TMessage &m) const {
  if (previous_ == nullptr)
    return;
  if (record_ != nullptr && record_->call != nullptr)
    record_->call->forwarded = true;
  m.Result = unicode_ ? CallWindowProcW(previous_, window_, m.Msg, m.WParam, m.LParam)
                      : CallWindowProcA(previous_, window_, m.Msg, m.WParam, m.LParam);
}

TObject *TWindowSubclass::Find(HWND window, int layer) {
  if (window == nullptr || layer < 0 || layer >= kLayers)
    return nullptr;
  const Record *r = RecordOf(window, layer);
  return r != nullptr && !r->released ? r->object : nullptr;
}
