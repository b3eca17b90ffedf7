#include "ToolBarModel.h"

#include <algorithm>

#include "ImageListStore.h"
#include "platform/controls_imagelist.h"

namespace platform::detail {
namespace {

constexpr int kSeparatorWidth = 8;
// Bitmap strips mark transparent pixels with the classic face grey.
constexpr COLORREF kStripMask = RGB(192, 192, 192);

}  // namespace

ToolBarModel::~ToolBarModel() {
  if (m_ownsImages) ImageList_Destroy(m_images);
}

bool ToolBarModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return HandleButtons(message, wParam, lParam, result) || HandleMouse(message, lParam);
}

bool ToolBarModel::HandleButtons(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  int command = static_cast<int>(wParam);
  switch (message) {
    case TB_BUTTONSTRUCTSIZE: return true;
    case TB_SETBITMAPSIZE:
      m_bitmapSize = SIZE{std::max(1, static_cast<int>(LOWORD(lParam))), std::max(1, static_cast<int>(HIWORD(lParam)))};
      result = TRUE;
      return true;
    case TB_SETBUTTONSIZE:
      m_buttonSize = SIZE{std::max(1, static_cast<int>(LOWORD(lParam))), std::max(1, static_cast<int>(HIWORD(lParam)))};
      result = TRUE;
      break;
    case TB_ADDBITMAP: result = AddBitmap(command, reinterpret_cast<const TBADDBITMAP*>(lParam)); return true;
    case TB_SETIMAGELIST:
      result = reinterpret_cast<LRESULT>(m_images);
      if (m_ownsImages) {
        ImageList_Destroy(m_images);
        result = 0;
      }
      m_images = reinterpret_cast<HIMAGELIST>(lParam);
      m_ownsImages = false;
      break;
    case TB_GETIMAGELIST: result = reinterpret_cast<LRESULT>(m_images); return true;
    case TB_SETHOTIMAGELIST:
      result = reinterpret_cast<LRESULT>(m_hotImages);
      m_hotImages = reinterpret_cast<HIMAGELIST>(lParam);
      break;
    case TB_GETHOTIMAGELIST: result = reinterpret_cast<LRESULT>(m_hotImages); return true;
    case TB_SETBUTTONWIDTH:
      m_minWidth = LOWORD(lParam);
      m_maxWidth = HIWORD(lParam);
      result = TRUE;
      break;
    case TB_ADDBUTTONS: {
      const auto* buttons = reinterpret_cast<const TBBUTTON*>(lParam);
      if (!buttons) { result = FALSE; return true; }
      m_buttons.insert(m_buttons.end(), buttons, buttons + command);
      result = TRUE;
      break;
    }
    case TB_DELETEBUTTON:
      if (command < 0 || command >= static_cast<int>(m_buttons.size())) { result = FALSE; return true; }
      m_buttons.erase(m_buttons.begin() + command);
      result = TRUE;
      break;
    case TB_GETBUTTON:
      if (command < 0 || command >= static_cast<int>(m_buttons.size()) || !lParam) { result = FALSE; return true; }
      *reinterpret_cast<TBBUTTON*>(lParam) = m_buttons[static_cast<std::size_t>(command)];
      result = TRUE;
      return true;
    case TB_BUTTONCOUNT: result = static_cast<LRESULT>(m_buttons.size()); return true;
    case TB_COMMANDTOINDEX: result = IndexOf(command); return true;
    case TB_GETITEMRECT:
      if (command < 0 || command >= static_cast<int>(m_buttons.size()) || !lParam) { result = FALSE; return true; }
      *reinterpret_cast<RECT*>(lParam) = ButtonRect(command);
      result = TRUE;
      return true;
    case TB_ENABLEBUTTON: result = SetStateBits(command, TBSTATE_ENABLED, LOWORD(lParam) != 0); return true;
    case TB_CHECKBUTTON: result = SetStateBits(command, TBSTATE_CHECKED, LOWORD(lParam) != 0); return true;
    case TB_PRESSBUTTON: result = SetStateBits(command, TBSTATE_PRESSED, LOWORD(lParam) != 0); return true;
    case TB_HIDEBUTTON: result = SetStateBits(command, TBSTATE_HIDDEN, LOWORD(lParam) != 0); return true;
    case TB_ISBUTTONENABLED:
    case TB_ISBUTTONCHECKED: {
      int index = IndexOf(command);
      BYTE bit = message == TB_ISBUTTONENABLED ? TBSTATE_ENABLED : TBSTATE_CHECKED;
      result = index >= 0 && (m_buttons[static_cast<std::size_t>(index)].fsState & bit) ? TRUE : FALSE;
      return true;
    }
    case TB_GETSTATE: {
      int index = IndexOf(command);
      result = index >= 0 ? m_buttons[static_cast<std::size_t>(index)].fsState : -1;
      return true;
    }
    case TB_CHANGEBITMAP: {
      int index = IndexOf(command);
      if (index < 0) { result = FALSE; return true; }
      int& bitmap = m_buttons[static_cast<std::size_t>(index)].iBitmap;
      result = TRUE;
      // As with the state bits: the same picture again is no change to paint.
      if (bitmap == static_cast<int>(LOWORD(lParam))) return true;
      bitmap = static_cast<int>(LOWORD(lParam));
      break;
    }
    case TB_GETBITMAP: {
      int index = IndexOf(command);
      result = index >= 0 ? m_buttons[static_cast<std::size_t>(index)].iBitmap : -1;
      return true;
    }
    case TB_SETSTATE: {
      int index = IndexOf(command);
      if (index < 0) { result = FALSE; return true; }
      m_buttons[static_cast<std::size_t>(index)].fsState = static_cast<BYTE>(LOWORD(lParam));
      result = TRUE;
      break;
    }
    default: return false;
  }
  Redraw();
  return true;
}

int ToolBarModel::AddBitmap(int count, const TBADDBITMAP* add) {
  if (!add || add->hInst) return -1;  // only bitmap handles: resources are loaded by the caller
  if (!m_images) {
    m_images = ImageList_Create(m_bitmapSize.cx, m_bitmapSize.cy, ILC_COLOR32 | ILC_MASK, count, 4);
    m_ownsImages = true;
  }
  int first = ImageList_AddMasked(m_images, reinterpret_cast<HBITMAP>(add->nID), kStripMask);
  return first;
}

bool ToolBarModel::SetStateBits(int command, BYTE bits, bool on) {
  int index = IndexOf(command);
  if (index < 0) return false;
  BYTE& state = m_buttons[static_cast<std::size_t>(index)].fsState;
  const BYTE changed = static_cast<BYTE>(on ? state | bits : state & ~bits);
  // The frame sets every button's state at each idle turn; repainting for a state that stays
  // would paint again and again and keep the loop from ever waiting for input.
  if (changed == state) return true;
  state = changed;
  Redraw();
  return true;
}

int ToolBarModel::IndexOf(int command) const {
  for (std::size_t i = 0; i < m_buttons.size(); ++i) {
    if (!(m_buttons[i].fsStyle & TBSTYLE_SEP) && m_buttons[i].idCommand == command) return static_cast<int>(i);
  }
  return -1;
}

int ToolBarModel::ButtonWidth() const {
  int width = m_buttonSize.cx;
  if (m_maxWidth > 0) width = std::min(width, m_maxWidth);
  return std::max(width, m_minWidth);
}

RECT ToolBarModel::ButtonRect(int index) const {
  int left = 0;
  for (int i = 0; i < index; ++i) {
    const TBBUTTON& b = m_buttons[static_cast<std::size_t>(i)];
    if (b.fsState & TBSTATE_HIDDEN) continue;
    left += (b.fsStyle & TBSTYLE_SEP) ? kSeparatorWidth : ButtonWidth();
  }
  const TBBUTTON& b = m_buttons[static_cast<std::size_t>(index)];
  int width = (b.fsState & TBSTATE_HIDDEN) ? 0 : (b.fsStyle & TBSTYLE_SEP) ? kSeparatorWidth : ButtonWidth();
  return RECT{left, 2, left + width, 2 + m_buttonSize.cy};
}

int ToolBarModel::ButtonAt(POINT point) const {
  for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
    const TBBUTTON& b = m_buttons[static_cast<std::size_t>(i)];
    RECT r = ButtonRect(i);
    if (!(b.fsStyle & TBSTYLE_SEP) && ::PtInRect(&r, point)) return i;
  }
  return -1;
}

bool ToolBarModel::HandleMouse(UINT message, LPARAM lParam) {
  CPoint point(lParam);
  switch (message) {
    case WM_LBUTTONDOWN: {
      int index = ButtonAt(point);
      if (index < 0 || !(m_buttons[static_cast<std::size_t>(index)].fsState & TBSTATE_ENABLED)) return true;
      m_pressed = index;
      m_buttons[static_cast<std::size_t>(index)].fsState |= TBSTATE_PRESSED;
      ::SetCapture(Hwnd());
      Redraw();
      return true;
    }
    case WM_LBUTTONUP: {
      if (m_pressed < 0) return true;
      int index = m_pressed;
      m_pressed = -1;
      if (::GetCapture() == Hwnd()) ::ReleaseCapture();
      TBBUTTON& b = m_buttons[static_cast<std::size_t>(index)];
      b.fsState &= static_cast<BYTE>(~TBSTATE_PRESSED);
      Redraw();
      if (ButtonAt(point) != index) return true;
      if (b.fsStyle & TBSTYLE_CHECK) b.fsState ^= TBSTATE_CHECKED;
      HWND parent = ::GetParent(Hwnd());
      if (parent) {
        ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(b.idCommand), static_cast<WORD>(BN_CLICKED)),
                      reinterpret_cast<LPARAM>(Hwnd()));
      }
      return true;
    }
    case WM_MOUSEMOVE: SetHot(ButtonAt(point)); return false;
    case WM_TIMER: {
      if (m_hot < 0) return false;
      // The pointer may leave without a message here: its place is looked at while a button is hot.
      POINT cursor{};
      RECT window{};
      ::GetCursorPos(&cursor);
      ::GetWindowRect(Hwnd(), &window);
      if (!::PtInRect(&window, cursor)) SetHot(-1);
      return true;
    }
    case WM_CAPTURECHANGED:
      // Released without the button going up (its window was disabled): the press is undone.
      if (m_pressed >= 0 && m_pressed < static_cast<int>(m_buttons.size())) {
        m_buttons[static_cast<std::size_t>(m_pressed)].fsState &= static_cast<BYTE>(~TBSTATE_PRESSED);
        Redraw();
      }
      m_pressed = -1;
      return true;
    default: return false;
  }
}

void ToolBarModel::SetHot(int index) {
  if (index == m_hot) return;
  m_hot = index;
  if (m_hot >= 0) ::SetTimer(Hwnd(), kHotTimer, 100, nullptr);
  else ::KillTimer(Hwnd(), kHotTimer);
  if (Style() & TBSTYLE_FLAT) Redraw();
}

void ToolBarModel::Paint(CDC& dc, const RECT& client) {
  FillFace(dc, client);
  for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
    const TBBUTTON& b = m_buttons[static_cast<std::size_t>(i)];
    RECT r = ButtonRect(i);
    if (b.fsState & TBSTATE_HIDDEN) continue;
    if (b.fsStyle & TBSTYLE_SEP) {
      RECT line{r.left + kSeparatorWidth / 2 - 1, r.top, r.left + kSeparatorWidth / 2 + 1, r.bottom};
      dc.DrawEdge(&line, EDGE_ETCHED, BF_LEFT);
      continue;
    }
    bool down = (b.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED)) != 0;
    // A flat button shows its edge only under the pointer (and when enabled) or when down.
    bool raised = !(Style() & TBSTYLE_FLAT) || (i == m_hot && (b.fsState & TBSTATE_ENABLED));
    if (down || raised) dc.DrawEdge(&r, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    int x = (r.left + r.right - m_bitmapSize.cx) / 2 + (down ? 1 : 0);
    int y = (r.top + r.bottom - m_bitmapSize.cy) / 2 + (down ? 1 : 0);
    // The hot images show under the pointer and while pressed.
    const bool hot = (b.fsState & TBSTATE_PRESSED) || i == m_hot;
    HIMAGELIST images = hot && m_hotImages ? m_hotImages : m_images;
    if (!images) continue;
    if (b.fsState & TBSTATE_ENABLED) DrawImage(images, b.iBitmap, dc, x, y, ILD_TRANSPARENT);
    else DrawDisabledImage(m_images, b.iBitmap, dc, x, y);
  }
}

}  // namespace platform::detail
