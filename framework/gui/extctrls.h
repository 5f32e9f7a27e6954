// Pictures, panels and timers.
#pragma once

#include "framework/gui/bitmap.h"
#include "framework/gui/controls.h"
#include "framework/gui/icon.h"
#include "framework/gui/stdctrls.h"

#include <memory>
#include <vector>

// A picture that holds an icon or a bitmap (or nothing).
class TPicture : public TPersistent {
public:
  TPicture();
  ~TPicture() override;

  // The icon and the bitmap are made on first use; using one drops the other.
  TIcon &Icon();
  TBitmap &Bitmap();
  bool HasIcon() const { return icon_ != nullptr && !icon_->Empty(); }
  bool HasBitmap() const { return bitmap_ != nullptr && !bitmap_->Empty(); }
  bool Empty() const { return !HasIcon() && !HasBitmap(); }
  int Width() const;
  int Height() const;
  void Clear();
  // A BMP file or an ICO file (the size closest to the system's large icon is taken).
  // Raises EInvalidGraphic for anything else.
  void LoadFromMemory(const void *data, size_t size);
  void LoadFromStream(TStream &stream);

  TNotifyEvent OnChange;
  void Changed();

private:
  std::unique_ptr<TIcon> icon_;
  std::unique_ptr<TBitmap> bitmap_;
};

class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent *owner);
  ~TImage() override;

  TPicture *Picture() const { return picture_.get(); }
  // A transparent bitmap leaves its transparent colour's pixels showing the parent; icons are
  // always drawn with their mask.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

  // Form data writes the picture as the binary property Picture: BMP or ICO bytes.
  bool ReadBinaryProperty(const std::string &name, TStream &stream) override;

protected:
  void Paint() override;

private:
  void PictureChanged(TObject *sender);
  RECT DestRect() const;

  std::unique_ptr<TPicture> picture_;
  bool transparent_ = false;
  bool stretch_ = false;
  bool center_ = false;
  bool autoSize_ = false;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// Draws a 3-D frame of width pixels inside rect and shrinks rect by it.
void Frame3D(HDC dc, RECT &rect, TColor topColor, TColor bottomColor, int width);

class TCustomPanel : public TCustomControl {
public:
  explicit TCustomPanel(TComponent *owner);

  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // Accepted for the skin engine's class rules; a panel here always paints its background.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { transparent_ = value; }

protected:
  void CreateParams(TCreateParams &params) override;
  void Paint() override;

private:
  TBevelCut bevelInner_ = TBevelCut::bvNone;
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TAlignment alignment_ = TAlignment::taCenter;
  bool transparent_ = false;
};

class TPanel : public TCustomPanel {
public:
  using TCustomPanel::TCustomPanel;
};

// Raises OnTimer every Interval milliseconds while Enabled, through a hidden window's WM_TIMER.
// A group box of radio buttons made from Items, one of which (ItemIndex) is checked. The
// buttons are children (and components) of the group, laid out in Columns.
class TCustomRadioGroup : public TCustomGroupBox {
public:
  explicit TCustomRadioGroup(TComponent *owner);
  ~TCustomRadioGroup() override;
  TStrings *Items() const { return items_.get(); }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value);
  int Columns() const { return columns_; }
  void SetColumns(int value);
  // Makes the buttons again from Items (after the items changed).
  void UpdateButtons();
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TRadioButton *Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }
  void Loaded() override;

protected:
  void BoundsChanged() override { ArrangeButtons(); }

private:
  void ArrangeButtons();
  void ButtonClick(TObject *sender);
  std::unique_ptr<TStrings> items_;
  std::vector<TRadioButton *> buttons_; // owned through the component tree
  int itemIndex_ = -1;
  int columns_ = 1;
};

class TRadioGroup : public TCustomRadioGroup {
public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

class TTimer : public TComponent {
public:
  explicit TTimer(TComponent *owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned value);
  const TNotifyEvent &OnTimer() const { return onTimer_; }
  void SetOnTimer(const TNotifyEvent &handler);

  void Loaded() override;

private:
  void UpdateTimer();
  void WndProc(TMessage &message);

  HWND window_ = nullptr;
  bool enabled_ = true;
  bool running_ = false;
  unsigned interval_ = 1000;
  TNotifyEvent onTimer_;
};

void RegisterExtControls();
