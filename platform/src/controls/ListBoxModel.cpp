#include "ListBoxModel.h"

#include <algorithm>
#include <cstring>

namespace platform::detail {

bool ListBoxModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return HandleItems(message, wParam, lParam, result) || HandleSelection(message, wParam, lParam, result) ||
         HandleInput(message, wParam, lParam);
}

bool ListBoxModel::HandleItems(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  int index = static_cast<int>(wParam);
  const char* text = reinterpret_cast<const char*>(lParam);
  switch (message) {
    case LB_ADDSTRING: result = m_items.Insert(-1, text, (Style() & LBS_SORT) != 0); break;
    case LB_INSERTSTRING: result = m_items.Insert(index, text, false); break;
    case LB_DELETESTRING:
      result = m_items.Erase(index);
      if (result >= 0 && m_current >= m_items.Count()) m_current = -1;
      break;
    case LB_RESETCONTENT:
      m_items.Clear();
      m_current = -1;
      m_top = 0;
      break;
    case LB_GETCOUNT: result = m_items.Count(); return true;
    case LB_GETTEXT:
      if (!m_items.Valid(index) || !lParam) { result = LB_ERR; return true; }
      std::strcpy(reinterpret_cast<char*>(lParam), m_items.At(index).text.c_str());
      result = static_cast<LRESULT>(m_items.At(index).text.size());
      return true;
    case LB_GETTEXTLEN: result = m_items.Valid(index) ? static_cast<LRESULT>(m_items.At(index).text.size()) : LB_ERR; return true;
    case LB_GETITEMDATA: result = m_items.Valid(index) ? static_cast<LRESULT>(m_items.At(index).data) : LB_ERR; return true;
    case LB_SETITEMDATA:
      if (!m_items.Valid(index)) { result = LB_ERR; return true; }
      m_items.At(index).data = static_cast<DWORD_PTR>(lParam);
      result = LB_OKAY;
      return true;
    case LB_FINDSTRING: result = m_items.Find(index, text, false); return true;
    case LB_FINDSTRINGEXACT: result = m_items.Find(index, text, true); return true;
    case LB_GETITEMRECT:
      if (!m_items.Valid(index) || !lParam) { result = LB_ERR; return true; }
      *reinterpret_cast<RECT*>(lParam) = ItemRect(index);
      result = LB_OKAY;
      return true;
    case LB_GETITEMHEIGHT: result = m_itemHeight; return true;
    case LB_SETITEMHEIGHT: m_itemHeight = std::max(1, static_cast<int>(LOWORD(lParam))); break;
    case LB_GETTOPINDEX: result = m_top; return true;
    case LB_SETTOPINDEX:
      if (!m_items.Valid(index)) { result = LB_ERR; return true; }
      m_top = index;
      break;
    default: return false;
  }
  Redraw();
  return true;
}

bool ListBoxModel::HandleSelection(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  int index = static_cast<int>(wParam);
  switch (message) {
    case LB_GETCURSEL:
      result = Multi() ? m_current : (m_items.Valid(m_current) && m_items.At(m_current).selected ? m_current : LB_ERR);
      return true;
    case LB_SETCURSEL:
      if (Multi()) { result = LB_ERR; return true; }
      Select(index);
      result = m_items.Valid(index) ? index : LB_ERR;
      return true;
    case LB_GETSEL: result = m_items.Valid(index) ? m_items.At(index).selected : LB_ERR; return true;
    case LB_SETSEL: {
      int item = static_cast<int>(lParam);
      if (!Multi()) { result = LB_ERR; return true; }
      for (int i = 0; i < m_items.Count(); ++i) {
        if (item == -1 || i == item) m_items.At(i).selected = wParam != 0;
      }
      Redraw();
      result = LB_OKAY;
      return true;
    }
    case LB_GETSELCOUNT: {
      int n = 0;
      for (int i = 0; i < m_items.Count(); ++i) n += m_items.At(i).selected ? 1 : 0;
      result = Multi() ? n : LB_ERR;
      return true;
    }
    case LB_SELECTSTRING: {
      int found = m_items.Find(index, reinterpret_cast<const char*>(lParam), false);
      if (found >= 0) Select(found);
      result = found;
      return true;
    }
    default: return false;
  }
}

bool ListBoxModel::HandleInput(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      ::SetFocus(Hwnd());
      UserSelect(ItemAt(CPoint(lParam)));
      return true;
    case WM_LBUTTONDBLCLK:
      if ((Style() & LBS_NOTIFY) && ItemAt(CPoint(lParam)) >= 0) NotifyCommand(LBN_DBLCLK);
      return true;
    case WM_KEYDOWN:
      if (wParam == VK_DOWN) UserSelect(std::min(m_current + 1, m_items.Count() - 1));
      if (wParam == VK_UP) UserSelect(std::max(m_current - 1, 0));
      return true;
    default: return false;
  }
}

// Selects index alone (single selection) or makes it current (multiple selection).
void ListBoxModel::Select(int index) {
  if (!Multi()) {
    for (int i = 0; i < m_items.Count(); ++i) m_items.At(i).selected = i == index;
  }
  m_current = m_items.Valid(index) ? index : -1;
  Redraw();
}

void ListBoxModel::UserSelect(int index) {
  if (!m_items.Valid(index)) return;
  bool changed = index != m_current || !m_items.At(index).selected;
  if (Multi()) {
    m_items.At(index).selected = !m_items.At(index).selected;
    changed = true;
  }
  Select(index);
  if (changed && (Style() & LBS_NOTIFY)) NotifyCommand(LBN_SELCHANGE);
}

int ListBoxModel::ItemAt(POINT point) const {
  int index = m_top + point.y / m_itemHeight;
  return point.y >= 0 && m_items.Valid(index) ? index : -1;
}

RECT ListBoxModel::ItemRect(int index) const {
  RECT client = Client();
  int top = (index - m_top) * m_itemHeight;
  return RECT{0, top, client.right, top + m_itemHeight};
}

void ListBoxModel::Paint(CDC& dc, const RECT& client) {
  RECT r = client;
  ::FillRect(dc.GetSafeHdc(), &r, ParentColors(dc, WM_CTLCOLORLISTBOX));
  for (int i = m_top; i < m_items.Count(); ++i) {
    RECT item = ItemRect(i);
    if (item.top >= client.bottom) break;
    DrawColoredItemRow(dc, item, m_items.At(i).text.c_str(), m_items.At(i).selected);
  }
}

}  // namespace platform::detail
