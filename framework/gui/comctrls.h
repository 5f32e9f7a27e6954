// Thin wrappers of the common controls the forms use: up-down buttons and date-time pickers.
#pragma once

#include "framework/gui/controls.h"

#include <windows.h>

enum class TUDOrientation { udVertical, udHorizontal };

// A pair of arrow buttons that steps Position between Min and Max (msctls_updown32). With an
// Associate it shows its position in that control's text.
class TUpDown : public TWinControl {
public:
  explicit TUpDown(TComponent *owner);
  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  int Position();
  void SetPosition(int value);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation value);
  TWinControl *Associate() const { return associate_; }
  void SetAssociate(TWinControl *value);
  TNotifyEvent OnChanging;

  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;
  void CreateHandleDone() override;

private:
  int min_ = 0, max_ = 100, position_ = 0;
  TUDOrientation orientation_ = TUDOrientation::udVertical;
  TWinControl *associate_ = nullptr;
};

enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateMode { dmComboBox, dmUpDown };

// A date or time field with a drop-down calendar or up-down arrows (SysDateTimePick32).
class TDateTimePicker : public TWinControl {
public:
  explicit TDateTimePicker(TComponent *owner);
  TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind value);
  TDTDateMode DateMode() const { return dateMode_; }
  void SetDateMode(TDTDateMode value);
  // The value as the control holds it.
  SYSTEMTIME DateTime();
  void SetDateTime(const SYSTEMTIME &value);
  bool DroppedDown();
  TNotifyEvent OnChange;

  void WndProc(TMessage &message) override;

protected:
  void CreateParams(TCreateParams &params) override;

private:
  TDateTimeKind kind_ = TDateTimeKind::dtkDate;
  TDTDateMode dateMode_ = TDTDateMode::dmComboBox;
};

void RegisterComCtrls();
