// An icon owned by the program: loaded from a resource or adopted from an HICON.
#pragma once

#include "framework/gui/graphics.h"

class EResNotFound : public Exception {
public:
  using Exception::Exception;
};

class TIcon : public TPersistent {
public:
  TIcon() = default;
  TIcon(const TIcon &) = delete;
  TIcon &operator=(const TIcon &) = delete;

  // A copy of the source's icon (CopyIcon), or empty when the source is.
  void Assign(const TIcon &source);

  // Loads an icon resource at the given size (0, 0: the system's large icon size). Raises
  // EResNotFound when the module has no such icon.
  void LoadFromResourceName(HINSTANCE instance, const char *name, int width = 0, int height = 0);
  void LoadFromResourceID(HINSTANCE instance, int id, int width = 0, int height = 0);

  HICON Handle() const { return handle_.Get(); }
  // Takes ownership of the icon (nullptr empties). Shared icons from LoadIcon must not be
  // handed over: pass a CopyIcon of them.
  void SetHandle(HICON icon);
  // Gives the icon away; the icon object is empty afterwards.
  HICON ReleaseHandle();

  bool Empty() const { return !handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

private:
  void Adopt(HICON icon);

  GdiIcon handle_;
  int width_ = 0;
  int height_ = 0;
};
