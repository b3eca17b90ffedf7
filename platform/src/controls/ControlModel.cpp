#include "ControlModel.h"

#include <unordered_map>

namespace platform::detail {
namespace {

std::unordered_map<HWND, std::unique_ptr<ControlModel>>& Models() {
  static std::unordered_map<HWND, std::unique_ptr<ControlModel>> models;
  return models;
}

void PaintModel(ControlModel& model, HWND hwnd) {
  PAINTSTRUCT ps{};
  HDC hdc = ::BeginPaint(hwnd, &ps);
  CDC* dc = hdc ? CDC::FromHandle(hdc) : nullptr;
  if (dc) {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    if (model.Font()) ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(model.Font()));
    model.Paint(*dc, client);
  }
  ::EndPaint(hwnd, &ps);
}

}  // namespace

RECT ControlModel::Client() const {
  RECT r{};
  ::GetClientRect(m_hwnd, &r);
  return r;
}

CString ControlModel::Text() const {
  CString text;
  CWnd* wnd = CWnd::FromHandle(m_hwnd);
  if (wnd) wnd->GetWindowText(text);
  return text;
}

void ControlModel::NotifyCommand(int code) const {
  HWND parent = ::GetParent(m_hwnd);
  if (!parent) return;
  ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(Id()), static_cast<WORD>(code)),
                reinterpret_cast<LPARAM>(m_hwnd));
}

LRESULT ControlModel::Notify(NMHDR& hdr, UINT code) const {
  hdr.hwndFrom = m_hwnd;
  hdr.idFrom = static_cast<UINT_PTR>(Id());
  hdr.code = code;
  HWND parent = ::GetParent(m_hwnd);
  return parent ? ::SendMessage(parent, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr)) : 0;
}

HBRUSH ControlModel::ParentColors(CDC& dc, UINT message) const {
  HDC hdc = dc.GetSafeHdc();
  HBRUSH brush = DefaultControlColors(hdc, message);
  HWND parent = ::GetParent(m_hwnd);
  if (!parent) return brush;
  auto chosen = reinterpret_cast<HBRUSH>(::SendMessage(parent, message, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(m_hwnd)));
  // No brush means the parent left it to the system, whatever it did to the context meanwhile.
  return chosen ? chosen : DefaultControlColors(hdc, message);
}

HBRUSH DefaultControlColors(HDC hdc, UINT message) {
  const bool window = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  const int background = window ? COLOR_WINDOW : COLOR_BTNFACE;
  if (hdc) {
    ::SetTextColor(hdc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkColor(hdc, ::GetSysColor(background));
    ::SetBkMode(hdc, OPAQUE);
  }
  return ::GetSysColorBrush(background);
}

ControlModel* AttachModel(HWND hwnd, std::unique_ptr<ControlModel> model) {
  auto& slot = Models()[hwnd];
  slot = std::move(model);
  return slot.get();
}

ControlModel* FindModel(HWND hwnd) {
  auto it = Models().find(hwnd);
  return it == Models().end() ? nullptr : it->second.get();
}

ControlModel::MeasuringDC::MeasuringDC(const ControlModel& model)
    : m_hwnd(model.Hwnd()), m_hdc(::GetDC(model.Hwnd())) {
  if (!m_hdc) return;
  if (model.Font()) ::SelectObject(m_hdc, reinterpret_cast<HGDIOBJ>(model.Font()));
  m_dc = CDC::FromHandle(m_hdc);
}

ControlModel::MeasuringDC::~MeasuringDC() {
  if (m_hdc) ::ReleaseDC(m_hwnd, m_hdc);
}

LRESULT RunModel(ControlModel& model, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    LRESULT r = ::DefWindowProc(hwnd, message, wParam, lParam);
    Models().erase(hwnd);  // model is gone from here on
    return r;
  }
  LRESULT result = 0;
  // Every control keeps the font it is given, and lets its model see the change (layouts
  // measured with the old font are stale).
  if (message == WM_SETFONT) {
    model.SetFont(reinterpret_cast<HFONT>(wParam));
    model.Handle(message, wParam, lParam, result);
    if (LOWORD(lParam)) ::InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
  }
  if (message == WM_GETFONT) return reinterpret_cast<LRESULT>(model.Font());
  if (model.Handle(message, wParam, lParam, result)) return result;
  if (message == WM_PAINT || message == WM_PRINTCLIENT) {
    PaintModel(model, hwnd);
    return 0;
  }
  if (message == WM_ERASEBKGND) return TRUE;  // Paint covers the whole client area
  if (message == WM_ENABLE || message == WM_SETTEXT) {
    LRESULT r = ::DefWindowProc(hwnd, message, wParam, lParam);
    ::InvalidateRect(hwnd, nullptr, TRUE);
    return r;
  }
  return ::DefWindowProc(hwnd, message, wParam, lParam);
}

void FillFace(CDC& dc, const RECT& rect) { dc.FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE)); }

void DrawSunkenFrame(CDC& dc, RECT& rect) {
  dc.DrawEdge(&rect, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
}

void DrawLabel(CDC& dc, const CString& text, RECT rect, UINT format, bool enabled) {
  int oldMode = dc.SetBkMode(TRANSPARENT);
  COLORREF oldColor = dc.SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
  if (!enabled) {
    // Disabled text is engraved: a light copy one pixel down and right under the grey.
    RECT shadow = rect;
    ::OffsetRect(&shadow, 1, 1);
    dc.DrawText(text, &shadow, format);
  }
  dc.SetTextColor(::GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  dc.DrawText(text, &rect, format);
  dc.SetTextColor(oldColor);
  dc.SetBkMode(oldMode);
}

void DrawColoredLabel(CDC& dc, const CString& text, RECT rect, UINT format, bool enabled) {
  COLORREF old = enabled ? dc.GetTextColor() : dc.SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
  dc.DrawText(text, &rect, format);
  if (!enabled) dc.SetTextColor(old);
}

void DrawColoredItemRow(CDC& dc, const RECT& row, const char* text, bool selected) {
  if (selected) {
    DrawItemRow(dc, row, text, true);
    return;
  }
  int oldMode = dc.SetBkMode(TRANSPARENT);
  RECT label = row;
  label.left += 2;
  dc.DrawText(text, -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  dc.SetBkMode(oldMode);
}

void DrawItemRow(CDC& dc, const RECT& row, const char* text, bool selected) {
  if (selected) dc.FillSolidRect(&row, ::GetSysColor(COLOR_HIGHLIGHT));
  int oldMode = dc.SetBkMode(TRANSPARENT);
  COLORREF old = dc.SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT label = row;
  label.left += 2;
  dc.DrawText(text, -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  dc.SetTextColor(old);
  dc.SetBkMode(oldMode);
}

void DrawDownArrow(CDC& dc, const RECT& rect, bool enabled) { DrawArrow(dc, rect, ArrowDirection::Down, enabled); }

void DrawArrow(CDC& dc, const RECT& rect, ArrowDirection direction, bool enabled) {
  int cx = (rect.left + rect.right) / 2;
  int cy = (rect.top + rect.bottom) / 2;
  POINT points[3];
  switch (direction) {
    case ArrowDirection::Up: points[0] = {cx - 4, cy + 2}; points[1] = {cx + 4, cy + 2}; points[2] = {cx, cy - 2}; break;
    case ArrowDirection::Down: points[0] = {cx - 4, cy - 2}; points[1] = {cx + 4, cy - 2}; points[2] = {cx, cy + 2}; break;
    case ArrowDirection::Left: points[0] = {cx + 2, cy - 4}; points[1] = {cx + 2, cy + 4}; points[2] = {cx - 2, cy}; break;
    case ArrowDirection::Right: points[0] = {cx - 2, cy - 4}; points[1] = {cx - 2, cy + 4}; points[2] = {cx + 2, cy}; break;
  }
  CBrush brush(::GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  CBrush* oldBrush = dc.SelectObject(&brush);
  CGdiObject* oldPen = dc.SelectStockObject(NULL_PEN);
  dc.Polygon(points, 3);
  dc.SelectObject(oldPen);
  dc.SelectObject(oldBrush);
}

}  // namespace platform::detail
