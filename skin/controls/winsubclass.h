// The control skinning base: one TSkinControl (or painter derived from it) per skinned control.
//
// An object hooks itself into a control's message stream in one of two ways and lets go again
// in reverse order:
//   Init      a framework control: its WindowProc delegate is swapped for NewWndProc; the
//             object is owned by the control and dies with it;
//   Inithwnd  a bare window (a child of a standard dialog): its window procedure is replaced
//             by one static procedure that finds the object through a window property.
// Painters either replace the control's painting (they catch WM_PAINT) or overlay it (they
// paint over the control's own picture after its WM_PAINT, usually just the border).
//
// The painters live in files of their own: winsubclass_button (push, bit, speed and menu
// buttons), winsubclass_check (check boxes, radio buttons, group boxes), winsubclass_edit
// (edits, date-time pickers, up-down buttons), winsubclass_combo (combo boxes),
// winsubclass_box (colour-only containers).
#pragma once

#include "framework/core/classes.h"
#include "framework/core/delegates.h"
#include "framework/gui/bitmap.h"
#include "framework/gui/canvas.h"
#include "framework/gui/graphics.h"
#include "framework/gui/subclass.h"
#include "skin/data/winskindlg.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

class TControl;
class TWinControl;
class TGraphicControl;
class TSkinData;
class TDataSkinObject;
class TWinSkinForm;

// Mouse over the control (scMouseIn), left button or space held (scDown).
enum TSkinControlState : uint8_t { scMouseIn = 1, scDown = 2 };
using TSkinControlStates = uint8_t;

class TSkinControl : public TComponent {
public:
  explicit TSkinControl(TComponent *owner);
  ~TSkinControl() override;
  TSkinControl(const TSkinControl &) = delete;
  TSkinControl &operator=(const TSkinControl &) = delete;

  TSkinControlStates MouseState = 0;
  TCanvas *Canvas = nullptr; // lent by the form object for one paint at a time
  bool Enabled = false;
  bool Focused = false;
  std::wstring Caption;
  WNDPROC OldWndProc = nullptr; // bare windows: the procedure we replaced
  bool Active = true;
  bool Unicode = false;
  TSkinData *SkinData = nullptr;
  HWND Handle = nullptr;
  TWndMethod OldWindowProc; // framework controls: the WindowProc we replaced
  TWinControl *Control = nullptr;
  RECT WindowRect{0, 0, 0, 0};
  TGraphicControl *GraphicControl = nullptr; // speed buttons: repaints go there
  bool ChangeColor = false;
  TColor SavedColor = 0;
  bool Initialized = false;
  int SkinState = 0; // 1 attached, 6 the window got WM_NCDESTROY
  TWinSkinForm *SkinForm = nullptr;
  int Kind = 0;

  // --- attaching
  virtual void Init(TWinSkinForm *form, TSkinData *data, TCanvas *canvas, bool changeColor);
  virtual void Inithwnd(HWND window, TSkinData *data, TCanvas *canvas, TWinSkinForm *form);
  // Gives the control back what attaching changed (base: its colour).
  virtual void Unsubclass();
  virtual void SkinChange();
  virtual int GetState() { return 1; }
  bool Subclassed() const { return window_.Attached(); }

  // --- messages
  void NewWndProc(TMessage &message);
  void Default(TMessage &message);
  // A press the control handles itself: its own handling first, then the pressed look.
  void DefaultThenPress(TMessage &message);
  // False: handled here, the control does not see the message.
  virtual bool BeforeProc(TMessage &message);
  virtual void AfterProc(TMessage &message);

  // --- painting
  virtual void Invalidate();
  void MouseLeave();
  virtual void PaintControl(HDC dc);
  void WMPaint(TMessage &message);
  void WMERASEBKGND(TMessage &message);
  // The painter proper; R is the window rectangle at the origin.
  virtual void DrawControl(HDC dc, const RECT &r);
  LONG_PTR GetWindowLongEx(HWND window, int index) const;

  // --- helpers of the painters
  void FillBG(HDC dc, const RECT &r);
  TColor GetParentColor(TColor defaultColor) const;
  void FillParentBG(HDC dc, const RECT &r);
  void DrawFocus(HDC dc, const std::wstring &text, const RECT &r, UINT format);
  void DrawCaption(TCanvas &canvas, const RECT &r, const std::wstring &text, bool enabled,
                   bool unused, UINT format);
  void DrawImgCaption(TCanvas &canvas, const RECT &r, HIMAGELIST images, int imageIndex,
                      const std::wstring &text, int alignment);
  int TextHeight(HDC dc, const std::string &text);
  void DrawSkinMap(HDC dc, const RECT &r, TDataSkinObject *element, int frameIndex, int frameCount);
  void DrawBuf(HDC dc, const RECT &r);
  // The window text of Handle (wide or narrow by the platform).
  std::wstring WindowText() const;

protected:
  // Takes the windowed control as this object's, with the skin, canvas and form, and has the
  // form list the object; false when the control has no window.
  bool Adopt(TControl *control, TSkinData *data, TCanvas *canvas, TWinSkinForm *form);
  // Puts NewWndProc in the control's WindowProc, keeping the old one (restored on destruction).
  void HookWindowProc(TControl *control);
  // Binds Handle's window procedure to this object (Inithwnd) and unbinds it again.
  void BindWindow();
  void UnbindWindow();

private:
  // The messages of a bare window, through window_.
  void BoundMessage(TMessage &message);
  // The last nine-sliced state image DrawSkinMap composed: a repaint in the same state and
  // size only copies it.
  struct SlicedImage {
    const TDataSkinObject *element = nullptr;
    const TBitmap *source = nullptr;
    int width = 0, height = 0, frame = 0, frames = 0;
    std::unique_ptr<TBitmap> image;
  } sliced_;
  TWindowSubclass window_{slControl};
  TControl *hooked_ = nullptr; // the control whose WindowProc is ours
};

inline int Width(const RECT &r) {
  return r.right - r.left;
}
inline int Height(const RECT &r) {
  return r.bottom - r.top;
}

// The skinning object bound to a bare window, or null.
TSkinControl *FindBoundSkinControl(HWND window);

// True when the skin has the element and its picture is not empty.
bool HasSkinImage(const TDataSkinObject *element);
// The font a window was given (WM_GETFONT) as the canvas font.
void AssignWindowFont(TCanvas &canvas, HWND window);
// Fills r with a solid brush of colour.
void FillColor(HDC dc, const RECT &r, TColor colour);
// Centred caption of the menu bar: alignment only chooses the format, the text is centred.
void MyDrawCaption(TCanvas &canvas, const RECT &r, const std::wstring &text, bool enabled,
                   bool unused, int alignment);
// One frame of a bare bitmap stretched over r, magenta transparent: through a temporary canvas
// on dc (1), DrawTranmap (2) or on a canvas (3).
void DrawSkinMap1(HDC dc, const RECT &r, TBitmap &bitmap, int frameIndex, int frameCount);
void DrawSkinMap2(HDC dc, const RECT &r, TBitmap &bitmap, int frameIndex, int frameCount);
void DrawSkinMap3(TCanvas &canvas, const RECT &r, TBitmap &bitmap, int frameIndex, int frameCount);
// s with its first occurrence of old replaced by replacement.
std::wstring StringReplaceW(const std::wstring &s, const std::wstring &old,
                            const std::wstring &replacement);
