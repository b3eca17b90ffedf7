#include "ButtonModel.h"

#include <algorithm>

namespace platform::detail {

bool ButtonModel::IsCheckKind() const {
  DWORD k = Kind();
  return k == BS_CHECKBOX || k == BS_AUTOCHECKBOX || k == BS_3STATE || k == BS_AUTO3STATE;
}

bool ButtonModel::IsRadioKind() const { return Kind() == BS_RADIOBUTTON || Kind() == BS_AUTORADIOBUTTON; }

bool ButtonModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case BM_GETCHECK: result = m_check; return true;
    case BM_SETCHECK:
      m_check = static_cast<UINT>(wParam) & (BST_CHECKED | BST_INDETERMINATE);
      Redraw();
      return true;
    case BM_GETSTATE:
      result = m_check | (m_pushed ? BST_PUSHED : 0) | (m_focus ? BST_FOCUS : 0);
      return true;
    case BM_SETSTATE: SetPushed(wParam != 0); return true;
    case BM_SETSTYLE:
      ::SetWindowLong(Hwnd(), GWL_STYLE, static_cast<LONG>((Style() & ~0xFFFFu) | (wParam & 0xFFFF)));
      if (lParam) Redraw();
      return true;
    case BM_CLICK: Click(); return true;
    case BM_GETIMAGE: result = reinterpret_cast<LRESULT>(m_image); return true;
    case BM_SETIMAGE:
      result = reinterpret_cast<LRESULT>(m_image);
      m_image = reinterpret_cast<HANDLE>(lParam);
      Redraw();
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Kind() != BS_GROUPBOX) MouseDown();
      return true;
    case WM_MOUSEMOVE: MouseMove(CPoint(lParam)); return true;
    case WM_LBUTTONUP: MouseUp(CPoint(lParam)); return true;
    case WM_CAPTURECHANGED:
      m_tracking = false;
      SetPushed(false);
      return true;
    case WM_SETFOCUS: m_focus = true; Redraw(); return false;
    case WM_KILLFOCUS: m_focus = false; Redraw(); return false;
    case WM_KEYUP:
      if (wParam == VK_SPACE) Click();
      return true;
    case WM_NCHITTEST:
      result = Kind() == BS_GROUPBOX ? HTTRANSPARENT : HTCLIENT;
      return true;
    default: return false;
  }
}

void ButtonModel::SetPushed(bool pushed) {
  if (m_pushed == pushed) return;
  m_pushed = pushed;
  Redraw();
}

void ButtonModel::MouseDown() {
  m_tracking = true;
  ::SetCapture(Hwnd());
  ::SetFocus(Hwnd());
  SetPushed(true);
}

void ButtonModel::MouseMove(POINT point) {
  if (!m_tracking) return;
  RECT client = Client();
  SetPushed(::PtInRect(&client, point) != FALSE);
}

void ButtonModel::MouseUp(POINT point) {
  if (!m_tracking) return;
  m_tracking = false;
  RECT client = Client();
  bool inside = ::PtInRect(&client, point) != FALSE;
  SetPushed(false);
  if (::GetCapture() == Hwnd()) ::ReleaseCapture();
  if (inside) Click();
}

void ButtonModel::Click() {
  DWORD kind = Kind();
  if (kind == BS_GROUPBOX) return;
  if (kind == BS_AUTOCHECKBOX) m_check = m_check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
  if (kind == BS_AUTO3STATE) m_check = (m_check + 1) % 3;
  if (kind == BS_AUTORADIOBUTTON) {
    UncheckGroupRadios();
    m_check = BST_CHECKED;
  }
  Redraw();
  NotifyCommand(BN_CLICKED);
}

// Auto radio buttons of one group: the siblings from the last WS_GROUP before this one up to the
// next WS_GROUP.
void ButtonModel::UncheckGroupRadios() {
  HWND parent = ::GetParent(Hwnd());
  if (!parent) return;
  std::vector<HWND> siblings = platform::ChildWindows(parent);
  std::size_t self = 0;
  while (self < siblings.size() && siblings[self] != Hwnd()) ++self;
  if (self == siblings.size()) return;
  std::size_t first = self;
  while (first > 0 && !(::GetWindowLong(siblings[first], GWL_STYLE) & WS_GROUP)) --first;
  for (std::size_t i = first; i < siblings.size(); ++i) {
    if (i > first && (::GetWindowLong(siblings[i], GWL_STYLE) & WS_GROUP)) break;
    auto* other = ModelAs<ButtonModel>(siblings[i]);
    if (other && other != this && other->Kind() == BS_AUTORADIOBUTTON && other->m_check) {
      other->m_check = BST_UNCHECKED;
      other->Redraw();
    }
  }
}

void ButtonModel::Paint(CDC& dc, const RECT& client) {
  if (Kind() == BS_OWNERDRAW) {
    PaintOwnerDrawn(dc, client);
  } else if (Kind() == BS_GROUPBOX) {
    PaintGroup(dc, client);
  } else if (IsCheckKind() || IsRadioKind()) {
    PaintCheck(dc, client);
  } else {
    PaintPush(dc, client);
  }
}

void ButtonModel::PaintOwnerDrawn(CDC& dc, const RECT& client) {
  // The owner paints all of it; the parent's colours only reach the context it draws with.
  ParentColors(dc, WM_CTLCOLORBTN);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(Id());
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = (m_pushed ? ODS_SELECTED : 0) | (m_focus ? ODS_FOCUS : 0) |
                   (::IsWindowEnabled(Hwnd()) ? 0 : ODS_DISABLED) | (m_check ? ODS_CHECKED : 0);
  item.hwndItem = Hwnd();
  item.hDC = dc.GetSafeHdc();
  item.rcItem = client;
  HWND parent = ::GetParent(Hwnd());
  if (parent) ::SendMessage(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void ButtonModel::PaintPush(CDC& dc, const RECT& client) {
  RECT r = client;
  // The face covers the brush; the parent may still change the context (its font, say).
  ParentColors(dc, WM_CTLCOLORBTN);
  FillFace(dc, r);
  UINT state = DFCS_BUTTONPUSH | (m_pushed ? DFCS_PUSHED : 0) | (::IsWindowEnabled(Hwnd()) ? 0 : DFCS_INACTIVE);
  dc.DrawFrameControl(&r, DFC_BUTTON, state);
  if (Kind() == BS_DEFPUSHBUTTON) dc.Draw3dRect(&client, RGB(0, 0, 0), RGB(0, 0, 0));
  RECT label = client;
  if (m_pushed) ::OffsetRect(&label, 1, 1);
  if ((Style() & BS_BITMAP) && m_image)
    PaintImage(dc, label);
  else
    DrawLabel(dc, Text(), label, DT_CENTER | DT_VCENTER | DT_SINGLELINE, ::IsWindowEnabled(Hwnd()) != FALSE);
  if (m_focus) {
    RECT focus = client;
    ::InflateRect(&focus, -4, -4);
    dc.DrawFocusRect(&focus);
  }
}

void ButtonModel::PaintImage(CDC& dc, const RECT& area) {
  BITMAP size{};
  if (!::GetObject(reinterpret_cast<HGDIOBJ>(m_image), sizeof size, &size)) return;
  const CPoint at((area.left + area.right - size.bmWidth) / 2, (area.top + area.bottom - size.bmHeight) / 2);
  const UINT state = ::IsWindowEnabled(Hwnd()) ? DSS_NORMAL : DSS_DISABLED;
  dc.DrawState(at, CSize(size.bmWidth, size.bmHeight), reinterpret_cast<HBITMAP>(m_image), DST_BITMAP | state);
}

void ButtonModel::PaintCheck(CDC& dc, const RECT& client) {
  ::FillRect(dc.GetSafeHdc(), &client, ParentColors(dc, WM_CTLCOLORSTATIC));
  int box = 13;
  int top = (client.top + client.bottom - box) / 2;
  RECT mark{client.left, top, client.left + box, top + box};
  UINT state = (IsRadioKind() ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) | (m_check ? DFCS_CHECKED : 0) |
               (m_pushed ? DFCS_PUSHED : 0) | (::IsWindowEnabled(Hwnd()) ? 0 : DFCS_INACTIVE);
  dc.DrawFrameControl(&mark, DFC_BUTTON, state);
  RECT label{client.left + box + 4, client.top, client.right, client.bottom};
  CString text = Text();
  DrawColoredLabel(dc, text, label, DT_LEFT | DT_VCENTER | DT_SINGLELINE, ::IsWindowEnabled(Hwnd()) != FALSE);
  if (m_focus && !text.IsEmpty()) {
    // The focus mark goes round the label (with its shortcut letter's mark left out of the width).
    RECT measured = label;
    dc.DrawText(text, &measured, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    int height = measured.bottom - measured.top;
    int top = (label.top + label.bottom - height) / 2;
    RECT focus{label.left - 1, std::max<LONG>(client.top, top - 1), std::min<LONG>(client.right, measured.right + 1),
               std::min<LONG>(client.bottom, top + height + 1)};
    dc.DrawFocusRect(&focus);
  }
}

void ButtonModel::PaintGroup(CDC& dc, const RECT& client) {
  CString text = Text();
  CSize extent = dc.GetTextExtent(text);
  RECT frame{client.left, client.top + extent.cy / 2, client.right, client.bottom};
  dc.DrawEdge(&frame, EDGE_ETCHED, BF_RECT);
  if (text.IsEmpty()) return;
  RECT label{client.left + 6, client.top, client.left + 10 + extent.cx, client.top + extent.cy};
  ::FillRect(dc.GetSafeHdc(), &label, ParentColors(dc, WM_CTLCOLORSTATIC));
  DrawColoredLabel(dc, text, label, DT_CENTER | DT_SINGLELINE, ::IsWindowEnabled(Hwnd()) != FALSE);
}

}  // namespace platform::detail
