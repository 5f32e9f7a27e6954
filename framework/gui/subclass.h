// Subclassing a window for an object: the window's procedure is replaced by one that hands every
// message to the object's message method, and put back when the object lets go.
//
// One window can carry one subclass per layer (a form's frame, a control, a popup menu, ...),
// each with its own static procedure and its own window property, "Kestrova.Subclass.N". The
// property leads to a small record that the window keeps: the previous procedure, whether the
// window is a wide-character one (the calls follow it), and the object's method while it is
// attached.
//
// Letting go puts the previous procedure back only while ours is still the window's procedure.
// When another subclass was installed over ours meanwhile, ours stays as a pass-through (every
// message goes straight to the previous procedure, never to DefWindowProc) until the window is
// destroyed or the same layer attaches again. The record goes with the window.
#pragma once

#include "framework/core/delegates.h"

#include <windows.h>

class TObject;

class TWindowSubclass {
public:
  static constexpr int kLayers = 8;

  explicit TWindowSubclass(int layer);
  ~TWindowSubclass();
  TWindowSubclass(const TWindowSubclass &) = delete;
  TWindowSubclass &operator=(const TWindowSubclass &) = delete;

  // Routes window's messages to handler, a method of object (which Find reports). False when
  // the window is not one, or this layer of it already serves another object.
  bool Attach(HWND window, TObject *object, const TWndMethod &handler);
  // Lets go of the window (see above); nothing when not attached.
  void Detach();

  bool Attached() const { return record_ != nullptr; }
  HWND Window() const { return window_; }
  // The procedure messages go on to (kept after letting go, for the message being handled).
  WNDPROC Previous() const { return previous_; }
  bool Unicode() const { return unicode_; }
  // Hands the message to the previous procedure and stores its answer in message.Result.
  void CallPrevious(TMessage &message) const;

  // The object whose handler serves this layer of window, or null.
  static TObject *Find(HWND window, int layer);

  struct Record;

private:
  int layer_;
  Record *record_ = nullptr;
  HWND window_ = nullptr;
  WNDPROC previous_ = nullptr;
  bool unicode_ = false;
  friend struct Record;
};
