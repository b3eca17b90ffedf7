#pragma once
// The state behind one control window. The control classes' window procedures find the model of
// their window here; the C++ control classes only send messages, so both paths meet in Handle.

#include <memory>

#include "platform/controls_defs.h"
#include "platform/gdi.h"
#include "platform/windows.h"

namespace platform::detail {

// Lines (or rows) a control scrolls for one notch of the mouse wheel.
constexpr int kWheelLines = 3;

class ControlModel {
public:
  explicit ControlModel(HWND hwnd) : m_hwnd(hwnd) {}
  virtual ~ControlModel() = default;
  ControlModel(const ControlModel&) = delete;
  ControlModel& operator=(const ControlModel&) = delete;

  // Answers one message; false passes it on to the default procedure.
  virtual bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  // Draws the whole control into dc (client coordinates).
  virtual void Paint(CDC& dc, const RECT& client) = 0;

  HWND Hwnd() const { return m_hwnd; }
  // The font given by WM_SETFONT (null: the system font); painting and measuring select it.
  HFONT Font() const { return m_font; }
  void SetFont(HFONT font) { m_font = font; }

protected:
  DWORD Style() const { return static_cast<DWORD>(::GetWindowLong(m_hwnd, GWL_STYLE)); }
  RECT Client() const;
  CString Text() const;
  int Id() const { return ::GetDlgCtrlID(m_hwnd); }
  // WM_COMMAND with code to the parent.
  void NotifyCommand(int code) const;
  // WM_NOTIFY to the parent: fills the header of hdr and returns the parent's answer.
  LRESULT Notify(NMHDR& hdr, UINT code) const;
  void Redraw() const { ::InvalidateRect(m_hwnd, nullptr, TRUE); }
  // Asks the parent how to paint (message is one of WM_CTLCOLOR*): the text colour, background
  // colour and mode it chose stay on dc, and the brush to fill with is returned; the system's
  // colours when the parent gives no brush.
  HBRUSH ParentColors(CDC& dc, UINT message) const;

  // A context of the control's window with its font selected, released on destruction.
  class MeasuringDC {
  public:
    explicit MeasuringDC(const ControlModel& model);
    ~MeasuringDC();
    MeasuringDC(const MeasuringDC&) = delete;
    MeasuringDC& operator=(const MeasuringDC&) = delete;
    // Null when the window has no context to give.
    CDC* get() const { return m_dc; }

  private:
    HWND m_hwnd;
    HDC m_hdc;
    CDC* m_dc{nullptr};
  };

private:
  HWND m_hwnd;
  HFONT m_font{nullptr};
};

// Attaches a fresh model to hwnd (replacing any) and returns it.
ControlModel* AttachModel(HWND hwnd, std::unique_ptr<ControlModel> model);
// The model of a control window; null for other windows.
ControlModel* FindModel(HWND hwnd);
// The procedure shared by all control classes once the model exists: paints, answers, and drops
// the model at WM_NCDESTROY.
LRESULT RunModel(ControlModel& model, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Window procedure of a control class whose state is a Model.
template <class Model>
LRESULT ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ControlModel* model = FindModel(hwnd);
  if (!model) {
    if (message == WM_NCDESTROY) return ::DefWindowProc(hwnd, message, wParam, lParam);
    model = AttachModel(hwnd, std::make_unique<Model>(hwnd));
  }
  return RunModel(*model, hwnd, message, wParam, lParam);
}

// A model of a window of another class, for the controls that draw alike; null when it is not Model.
template <class Model>
Model* ModelAs(HWND hwnd) {
  return dynamic_cast<Model*>(FindModel(hwnd));
}

// Plain classic drawing shared by the controls.
void FillFace(CDC& dc, const RECT& rect);
void DrawSunkenFrame(CDC& dc, RECT& rect);
void DrawLabel(CDC& dc, const CString& text, RECT rect, UINT format, bool enabled);
// A label in the colours left on dc by ParentColors (grey when disabled).
void DrawColoredLabel(CDC& dc, const CString& text, RECT rect, UINT format, bool enabled);
// Colours the system gives a control for a WM_CTLCOLOR* message, set on hdc; returns the brush.
HBRUSH DefaultControlColors(HDC hdc, UINT message);
// One row of a list: the text, on the highlight colour when selected.
void DrawItemRow(CDC& dc, const RECT& row, const char* text, bool selected);
// The same row with an unselected text in dc's current text colour.
void DrawColoredItemRow(CDC& dc, const RECT& row, const char* text, bool selected);
// A small filled triangle pointing down, centred in rect (grey when not enabled).
void DrawDownArrow(CDC& dc, const RECT& rect, bool enabled = true);
enum class ArrowDirection { Up, Down, Left, Right };
// A small filled triangle pointing in direction, centred in rect (grey when not enabled).
void DrawArrow(CDC& dc, const RECT& rect, ArrowDirection direction, bool enabled = true);

}  // namespace platform::detail
