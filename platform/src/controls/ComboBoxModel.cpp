#include "ComboBoxModel.h"

#include "ComboListModel.h"
#include "platform/dialogs.h"

#include <algorithm>
#include <cstring>

namespace platform::detail {

bool ComboBoxModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return HandleItems(message, wParam, lParam, result) || HandleState(message, wParam, lParam, result);
}

bool ComboBoxModel::HandleItems(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  int index = static_cast<int>(wParam);
  const char* text = reinterpret_cast<const char*>(lParam);
  switch (message) {
    case CB_ADDSTRING: result = m_items.Insert(-1, text, (Style() & CBS_SORT) != 0); return true;
    case CB_INSERTSTRING: result = m_items.Insert(index, text, false); return true;
    case CB_DELETESTRING:
      result = m_items.Erase(index);
      if (index == m_current) SetSelection(-1);
      if (result >= 0 && index < m_current) --m_current;
      return true;
    case CB_RESETCONTENT:
      m_items.Clear();
      SetSelection(-1);
      return true;
    case CB_GETCOUNT: result = m_items.Count(); return true;
    case CB_GETLBTEXT:
      if (!m_items.Valid(index) || !lParam) { result = CB_ERR; return true; }
      std::strcpy(reinterpret_cast<char*>(lParam), m_items.At(index).text.c_str());
      result = static_cast<LRESULT>(m_items.At(index).text.size());
      return true;
    case CB_GETLBTEXTLEN: result = m_items.Valid(index) ? static_cast<LRESULT>(m_items.At(index).text.size()) : CB_ERR; return true;
    case CB_GETITEMDATA: result = m_items.Valid(index) ? static_cast<LRESULT>(m_items.At(index).data) : CB_ERR; return true;
    case CB_SETITEMDATA:
      if (!m_items.Valid(index)) { result = CB_ERR; return true; }
      m_items.At(index).data = static_cast<DWORD_PTR>(lParam);
      result = CB_OKAY;
      return true;
    case CB_FINDSTRING: result = m_items.Find(index, text, false); return true;
    case CB_FINDSTRINGEXACT: result = m_items.Find(index, text, true); return true;
    case CB_SELECTSTRING: {
      int found = m_items.Find(index, text, false);
      if (found >= 0) SetSelection(found);
      result = found;
      return true;
    }
    case CB_GETCURSEL: result = m_current; return true;
    case CB_SETCURSEL:
      SetSelection(m_items.Valid(index) ? index : -1);
      result = m_items.Valid(index) ? index : CB_ERR;
      return true;
    default: return false;
  }
}

bool ComboBoxModel::HandleState(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE: {
      // A scroll bar asked of a combo box belongs to its list: the closed field has none.
      if (Style() & (WS_VSCROLL | WS_HSCROLL)) ::ShowScrollBar(Hwnd(), SB_BOTH, FALSE);
      RECT window{};
      ::GetWindowRect(Hwnd(), &window);
      // Through WM_WINDOWPOSCHANGING the template's height becomes the dropped height.
      ::SetWindowPos(Hwnd(), nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
      if (HasEdit()) CreateEdit();
      return false;
    }
    case WM_WINDOWPOSCHANGING:
      if (lParam) KeepFieldHeight(*reinterpret_cast<WINDOWPOS*>(lParam));
      return false;
    case WM_SIZE: PlaceEdit(); return false;
    case WM_ENABLE:
      // The field's edit goes grey with the combo box.
      if (Edit()) ::EnableWindow(Edit(), wParam != 0);
      if (!wParam) Drop(false);
      return false;
    case WM_KILLFOCUS:
      // Focus going elsewhere (a click outside) closes the list.
      if (reinterpret_cast<HWND>(wParam) != Edit()) Drop(false);
      return false;
    case WM_DESTROY:
      if (m_list && ::IsWindow(m_list)) ::DestroyWindow(m_list);
      m_list = nullptr;
      return false;
    case CB_GETDROPPEDCONTROLRECT:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = DroppedRect();
      result = lParam != 0;
      return true;
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      if (!HasEdit() || !Edit()) return false;
      if (message == WM_SETTEXT) ::DefWindowProc(Hwnd(), message, wParam, lParam);
      result = ::SendMessage(Edit(), message, wParam, lParam);
      return true;
    case CB_LIMITTEXT:
    case CB_SETEDITSEL:
    case CB_GETEDITSEL: {
      if (!Edit()) { result = CB_ERR; return true; }
      UINT forwarded = message == CB_LIMITTEXT ? EM_LIMITTEXT : message == CB_SETEDITSEL ? EM_SETSEL : EM_GETSEL;
      WPARAM w = message == CB_SETEDITSEL ? static_cast<WPARAM>(static_cast<SHORT>(LOWORD(lParam))) : wParam;
      LPARAM l = message == CB_SETEDITSEL ? static_cast<LPARAM>(static_cast<SHORT>(HIWORD(lParam))) : (message == CB_GETEDITSEL ? lParam : 0);
      result = ::SendMessage(Edit(), forwarded, w, l);
      if (message != CB_GETEDITSEL) result = TRUE;
      return true;
    }
    case WM_COMMAND:
      // The edit child's changes reach the parent as the combo box's own codes.
      if (m_showingSelection || reinterpret_cast<HWND>(lParam) != Edit()) return true;
      if (HIWORD(wParam) == EN_CHANGE) NotifyCommand(CBN_EDITCHANGE);
      if (HIWORD(wParam) == EN_UPDATE) NotifyCommand(CBN_EDITUPDATE);
      return true;
    case CB_SHOWDROPDOWN: Drop(wParam != 0); result = TRUE; return true;
    case CB_GETDROPPEDSTATE: result = m_dropped; return true;
    case CB_SETEXTENDEDUI: m_extendedUi = wParam != 0; result = CB_OKAY; return true;
    case CB_GETEXTENDEDUI: result = m_extendedUi; return true;
    case CB_SETITEMHEIGHT:
      if (static_cast<int>(wParam) == -1) {
        m_fieldItemHeight = std::max(1, static_cast<int>(lParam));
        RECT window{};
        ::GetWindowRect(Hwnd(), &window);
        ::SetWindowPos(Hwnd(), nullptr, 0, 0, window.right - window.left, FieldHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      } else {
        m_itemHeight = std::max(1, static_cast<int>(lParam));
      }
      result = CB_OKAY;
      return true;
    case CB_GETITEMHEIGHT: result = static_cast<int>(wParam) == -1 ? m_fieldItemHeight : m_itemHeight; return true;
    case WM_LBUTTONDOWN:
      ::SetFocus(Hwnd());
      Drop(!m_dropped);
      return true;
    case WM_KEYDOWN: KeyDown(static_cast<UINT>(wParam)); return true;
    case WM_SYSKEYDOWN:
      // Alt+Down and Alt+Up open and close the list as F4 does; other Alt keys are the menus'.
      if ((wParam != VK_DOWN && wParam != VK_UP) || Simple()) return false;
      Drop(!m_dropped);
      return true;
    case WM_GETDLGCODE:
      // The box moves its selection with the arrows; with the list open Return and Escape are its own.
      result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (m_dropped && (wParam == VK_RETURN || wParam == VK_ESCAPE)) result |= DLGC_WANTMESSAGE;
      return true;
    case WM_SETFONT:
      // The field's edit shows its text in the box's font, as the list does.
      if (Edit()) ::SendMessage(Edit(), WM_SETFONT, wParam, lParam);
      return false;
    default: return false;
  }
}

void ComboBoxModel::CreateEdit() {
  RECT client = Client();
  int buttonWidth = ::GetSystemMetrics(SM_CXVSCROLL);
  ::CreateWindowEx(0, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 2, 2,
                   std::max(0, static_cast<int>(client.right) - buttonWidth - 4), std::max(0, static_cast<int>(client.bottom) - 4),
                   Hwnd(), reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kComboEditId)), nullptr, nullptr);
}

void ComboBoxModel::KeepFieldHeight(WINDOWPOS& pos) {
  if (Simple() || (pos.flags & SWP_NOSIZE)) return;
  if (pos.cy > FieldHeight()) m_droppedHeight = pos.cy;
  pos.cy = FieldHeight();
}

void ComboBoxModel::PlaceEdit() {
  HWND edit = Edit();
  if (!edit) return;
  RECT client = Client();
  int buttonWidth = ::GetSystemMetrics(SM_CXVSCROLL);
  ::MoveWindow(edit, 2, 2, std::max(0, static_cast<int>(client.right) - buttonWidth - 4),
               std::max(0, static_cast<int>(client.bottom) - 4), TRUE);
}

RECT ComboBoxModel::DroppedRect() const {
  RECT window{};
  ::GetWindowRect(Hwnd(), &window);
  window.bottom = window.top + std::max(m_droppedHeight, static_cast<int>(window.bottom - window.top));
  return window;
}

void ComboBoxModel::ShowList(bool show) {
  if (!show) {
    if (m_list && ::IsWindow(m_list)) ::ShowWindow(m_list, SW_HIDE);
    return;
  }
  if (!m_list || !::IsWindow(m_list)) {
    m_list = ::CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "ComboLBox", "", WS_POPUP, 0, 0, 0, 0, Hwnd(), nullptr,
                              nullptr, Hwnd());
  }
  auto* list = ModelAs<ComboListModel>(m_list);
  if (!list) return;
  RECT field{};
  ::GetWindowRect(Hwnd(), &field);
  int rows = std::clamp((m_droppedHeight - FieldHeight() - 2) / m_itemHeight, 1, std::max(1, m_items.Count()));
  int height = rows * m_itemHeight + 2;
  int top = field.bottom;
  // No room under the field: the list opens above it.
  if (top + height > ::GetSystemMetrics(SM_CYSCREEN) && field.top - height >= 0) top = field.top - height;
  ::SetWindowPos(m_list, HWND_TOPMOST, field.left, top, field.right - field.left, height, SWP_NOACTIVATE);
  ::SendMessage(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  // Items beyond the rows shown are reached by the list's own scroll bar.
  ::ShowScrollBar(m_list, SB_VERT, m_items.Count() > rows);
  list->Reset();
  ::ShowWindow(m_list, SW_SHOWNOACTIVATE);
}

void ComboBoxModel::ChooseFromList(int index) {
  UserSelect(index);
  Drop(false);
}

void ComboBoxModel::SetSelection(int index) {
  m_current = index;
  const char* text = m_items.Valid(index) ? m_items.At(index).text.c_str() : "";
  if (HasEdit() && Edit()) {
    HWND edit = Edit();
    // Showing the selection is not an edit by the user: no CBN_EDITCHANGE for it.
    ::DefWindowProc(Hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    m_showingSelection = true;
    ::SendMessage(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    m_showingSelection = false;
  } else {
    ::DefWindowProc(Hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  if (auto* list = m_dropped ? ModelAs<ComboListModel>(m_list) : nullptr) list->Reset();
  Redraw();
}

void ComboBoxModel::UserSelect(int index) {
  if (!m_items.Valid(index) || index == m_current) return;
  SetSelection(index);
  NotifyCommand(CBN_SELCHANGE);
}

void ComboBoxModel::Drop(bool drop, bool accept) {
  if (drop == m_dropped) return;
  if (drop) NotifyCommand(CBN_DROPDOWN);
  m_dropped = drop;
  ShowList(drop);
  if (!drop) {
    NotifyCommand(accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    NotifyCommand(CBN_CLOSEUP);
  }
  Redraw();
}

void ComboBoxModel::KeyDown(UINT key) {
  if (key == VK_F4 && !m_extendedUi) {
    Drop(!m_dropped);
  } else if (key == VK_DOWN && m_extendedUi && !m_dropped) {
    Drop(true);  // with the extended interface the arrow opens the list instead of moving
  } else if (key == VK_DOWN) {
    UserSelect(std::min(m_current + 1, m_items.Count() - 1));
  } else if (key == VK_UP) {
    UserSelect(std::max(m_current - 1, 0));
  } else if (key == VK_RETURN && m_dropped) {
    Drop(false);
  } else if (key == VK_ESCAPE && m_dropped) {
    Drop(false, false);
  }
}

void ComboBoxModel::Paint(CDC& dc, const RECT& client) {
  RECT r = client;
  bool enabled = ::IsWindowEnabled(Hwnd()) != FALSE;
  // Disabled, the field takes the face colour and the arrow goes grey.
  dc.FillSolidRect(&r, ::GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
  DrawSunkenFrame(dc, r);
  int buttonWidth = ::GetSystemMetrics(SM_CXVSCROLL);
  RECT button{r.right - buttonWidth, r.top, r.right, r.bottom};
  dc.DrawFrameControl(&button, DFC_BUTTON, DFCS_BUTTONPUSH | (m_dropped ? DFCS_PUSHED : 0));
  DrawDownArrow(dc, button, enabled);
  if (HasEdit()) return;
  RECT label{r.left + 2, r.top, button.left, r.bottom};
  DrawLabel(dc, Text(), label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, enabled);
}

}  // namespace platform::detail
