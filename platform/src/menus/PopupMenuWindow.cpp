#include "PopupMenuWindow.h"

#include <algorithm>

#include "MenuBar.h"

namespace platform::detail {
namespace {

constexpr int kFrame = 3;                          // raised edge and a pixel of menu colour
constexpr int kArrowColumn = 16;                   // sub-menu arrow after the text
constexpr int kAcceleratorGap = 16;                // between the text and the key text
constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER;

// The check-mark column in front of every item's text.
int CheckColumnWidth() { return ::GetSystemMetrics(SM_CXMENUCHECK) + 6; }

// The text of an item, split at its first tab into what is before it and the key text after it.
struct ItemText {
  CString label;
  CString accelerator;
};

ItemText SplitAtTab(const CString& text) {
  int tab = text.Find('\t');
  if (tab < 0) return {text, CString()};
  return {text.Left(tab), text.Mid(tab + 1)};
}

CString TextOf(HMENU menu, UINT position) {
  CString text;
  CMenu* wrapper = CMenu::FromHandle(menu);
  if (wrapper) wrapper->GetMenuString(position, text, MF_BYPOSITION);
  return text;
}

MENUITEMINFO InfoOf(HMENU menu, UINT position) {
  MENUITEMINFO info{};
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
  if (!::GetMenuItemInfo(menu, position, TRUE, &info)) info.fType = MFT_SEPARATOR;  // gone: show nothing
  return info;
}

int TextWidth(CDC& dc, const CString& text) {
  if (text.IsEmpty()) return 0;
  RECT r{0, 0, 0, 0};
  dc.DrawText(text, &r, kTextFormat | DT_CALCRECT);
  return r.right - r.left;
}

int ItemHeight(CDC& dc) {
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  return std::max(::GetSystemMetrics(SM_CYMENU), static_cast<int>(tm.tmHeight) + 4);
}

void DrawTick(CDC& dc, const RECT& box, COLORREF color) {
  CPen pen(PS_SOLID, 1, color);
  CPen* old = dc.SelectObject(&pen);
  int x = (box.left + box.right) / 2 - 3;
  int y = (box.top + box.bottom) / 2 - 1;
  for (int dy = 0; dy < 3; ++dy) {
    dc.MoveTo(x, y + dy);
    dc.LineTo(x + 2, y + dy + 2);
    dc.LineTo(x + 7, y + dy - 3);
  }
  dc.SelectObject(old);
}

void DrawBullet(CDC& dc, const RECT& box, COLORREF color) {
  int cx = (box.left + box.right) / 2;
  int cy = (box.top + box.bottom) / 2;
  CBrush brush(color);
  CPen pen(PS_SOLID, 1, color);
  CBrush* oldBrush = dc.SelectObject(&brush);
  CPen* oldPen = dc.SelectObject(&pen);
  dc.Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
  dc.SelectObject(oldPen);
  dc.SelectObject(oldBrush);
}

void DrawRightArrow(CDC& dc, const RECT& box, COLORREF color) {
  int cx = (box.left + box.right) / 2;
  int cy = (box.top + box.bottom) / 2;
  POINT points[3] = {{cx - 2, cy - 4}, {cx + 2, cy}, {cx - 2, cy + 4}};
  CBrush brush(color);
  CPen pen(PS_SOLID, 1, color);
  CBrush* oldBrush = dc.SelectObject(&brush);
  CPen* oldPen = dc.SelectObject(&pen);
  dc.Polygon(points, 3);
  dc.SelectObject(oldPen);
  dc.SelectObject(oldBrush);
}

}  // namespace

bool PopupMenuWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  POINT point{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
  switch (message) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
      auto* creation = cs ? static_cast<PopupMenuCreation*>(cs->lpCreateParams) : nullptr;
      if (creation) {
        m_menu = creation->menu;
        m_owner = creation->owner;
      }
      Layout();
      return false;
    }
    case WM_MOUSEACTIVATE: result = MA_NOACTIVATE; return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      int index = ItemAt(point);
      if (index != m_highlight) Highlight(index);
      return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      int index = ItemAt(point);
      if (Choosable(index)) End(::GetMenuItemID(m_menu, index));
      return true;
    }
    case WM_KEYDOWN: KeyDown(static_cast<UINT>(wParam)); return true;
    case WM_CHAR: result = Character(static_cast<char>(wParam)) ? 1 : 0; return true;
    case WM_DESTROY:
      // The menu outlives its window: no item stays marked as highlighted.
      if (::IsMenu(m_menu)) MarkHilite(m_highlight, false);
      return false;
    default: return false;
  }
}

void PopupMenuWindow::Layout() {
  m_rows.clear();
  HDC hdc = ::GetDC(Hwnd());
  CDC* dc = hdc ? CDC::FromHandle(hdc) : nullptr;
  int count = dc ? ::GetMenuItemCount(m_menu) : 0;
  CGdiObject* oldFont = dc ? dc->SelectStockObject(DEFAULT_GUI_FONT) : nullptr;
  int ownerDrawnWidth = 0;
  int labelWidth = 0;        // widest text before a tab
  int acceleratorWidth = 0;  // widest text after a tab
  int top = kFrame;
  for (int i = 0; i < count; ++i) {
    int label = 0, accelerator = 0;
    SIZE size = MeasureItem(static_cast<UINT>(i), *dc, label, accelerator);
    Row row;
    row.ownerDrawn = (InfoOf(m_menu, static_cast<UINT>(i)).fType & MFT_OWNERDRAW) != 0;
    row.rect = RECT{kFrame, top, kFrame, top + size.cy};
    if (row.ownerDrawn) ownerDrawnWidth = std::max(ownerDrawnWidth, static_cast<int>(size.cx));
    labelWidth = std::max(labelWidth, label);
    acceleratorWidth = std::max(acceleratorWidth, accelerator);
    m_rows.push_back(row);
    top += size.cy;
  }
  if (dc) dc->SelectObject(oldFont);
  if (hdc) ::ReleaseDC(Hwnd(), hdc);
  int textWidth = CheckColumnWidth() + labelWidth + (acceleratorWidth ? kAcceleratorGap + acceleratorWidth : 0) + kArrowColumn;
  int inner = std::max(ownerDrawnWidth, textWidth);
  for (Row& row : m_rows) row.rect.right = kFrame + inner;
  m_extent = SIZE{inner + 2 * kFrame, top + kFrame};
}

SIZE PopupMenuWindow::MeasureItem(UINT position, CDC& dc, int& labelWidth, int& acceleratorWidth) {
  MENUITEMINFO info = InfoOf(m_menu, position);
  int height = ItemHeight(dc);
  if (info.fType & MFT_OWNERDRAW) {
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, info.wID, 0, static_cast<UINT>(height), info.dwItemData};
    if (m_owner) ::SendMessage(m_owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    return SIZE{static_cast<LONG>(measure.itemWidth) + ::GetSystemMetrics(SM_CXMENUCHECK) - 1, static_cast<LONG>(measure.itemHeight)};
  }
  if (info.fType & MFT_SEPARATOR) return SIZE{0, ::GetSystemMetrics(SM_CYMENU) / 2};
  ItemText text = SplitAtTab(TextOf(m_menu, position));
  labelWidth = TextWidth(dc, text.label);
  acceleratorWidth = TextWidth(dc, text.accelerator);
  return SIZE{0, height};
}

int PopupMenuWindow::ItemAt(POINT point) const {
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    const RECT& r = m_rows[i].rect;
    if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return static_cast<int>(i);
  }
  return -1;
}

bool PopupMenuWindow::ItemRect(int index, RECT& rect) const {
  if (index < 0 || index >= static_cast<int>(m_rows.size())) return false;
  rect = m_rows[static_cast<std::size_t>(index)].rect;
  return true;
}

bool PopupMenuWindow::Highlight(int index) {
  bool valid = index >= 0 && index < static_cast<int>(m_rows.size()) &&
               !(InfoOf(m_menu, static_cast<UINT>(index)).fType & MFT_SEPARATOR);
  int previous = m_highlight;
  m_highlight = valid ? index : -1;
  MarkHilite(previous, false);
  MarkHilite(m_highlight, true);
  RECT r{};
  if (ItemRect(previous, r)) ::InvalidateRect(Hwnd(), &r, FALSE);
  if (ItemRect(m_highlight, r)) ::InvalidateRect(Hwnd(), &r, FALSE);
  if (valid && m_owner && previous != m_highlight) {
    MENUITEMINFO info = InfoOf(m_menu, static_cast<UINT>(index));
    UINT state = ::GetMenuState(m_menu, static_cast<UINT>(index), MF_BYPOSITION);
    // A pop-up item is named by its position, and its state's high byte is its item count.
    UINT item = info.hSubMenu ? static_cast<UINT>(index) : info.wID;
    UINT flags = (info.hSubMenu ? state & 0xFF : state) | MF_HILITE;
    ::SendMessage(m_owner, WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(item), static_cast<WORD>(flags)),
                  reinterpret_cast<LPARAM>(m_menu));
  }
  return valid || index == -1;
}

void PopupMenuWindow::MarkHilite(int index, bool on) const {
  if (index < 0 || index >= ::GetMenuItemCount(m_menu)) return;
  MENUITEMINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  if (!::GetMenuItemInfo(m_menu, static_cast<UINT>(index), TRUE, &info)) return;
  info.fState = on ? (info.fState | MFS_HILITE) : (info.fState & ~MFS_HILITE);
  ::SetMenuItemInfo(m_menu, static_cast<UINT>(index), TRUE, &info);
}

bool PopupMenuWindow::Choosable(int index) const {
  if (index < 0 || index >= static_cast<int>(m_rows.size())) return false;
  MENUITEMINFO info = InfoOf(m_menu, static_cast<UINT>(index));
  return !(info.fType & MFT_SEPARATOR) && !info.hSubMenu && !(info.fState & MFS_GRAYED);
}

UINT PopupMenuWindow::Command() const { return Choosable(m_highlight) ? ::GetMenuItemID(m_menu, m_highlight) : 0; }

int PopupMenuWindow::NextHighlightable(int from, int step) const {
  int count = static_cast<int>(m_rows.size());
  for (int n = 1; n <= count; ++n) {
    int index = ((from + step * n) % count + count) % count;
    if (!(InfoOf(m_menu, static_cast<UINT>(index)).fType & MFT_SEPARATOR)) return index;
  }
  return -1;
}

void PopupMenuWindow::End(UINT command) {
  m_ended = true;
  m_chosen = command;
}

void PopupMenuWindow::KeyDown(UINT key) {
  if (m_rows.empty()) {
    if (key == VK_ESCAPE) End(0);
    return;
  }
  switch (key) {
    case VK_DOWN: Highlight(NextHighlightable(m_highlight < 0 ? -1 : m_highlight, 1)); break;
    case VK_UP: Highlight(NextHighlightable(m_highlight < 0 ? static_cast<int>(m_rows.size()) : m_highlight, -1)); break;
    case VK_RETURN:
      if (Choosable(m_highlight)) End(Command());
      break;
    case VK_ESCAPE: End(0); break;
    default: break;
  }
}

bool PopupMenuWindow::Character(char ch) {
  if (static_cast<unsigned char>(ch) < 0x20) return false;  // Return, Escape, Tab act as keys
  std::vector<int> matches;
  for (int i = 0; i < static_cast<int>(m_rows.size()); ++i) {
    MENUITEMINFO info = InfoOf(m_menu, static_cast<UINT>(i));
    if (info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW)) continue;
    if (SameMnemonic(MenuMnemonic(TextOf(m_menu, static_cast<UINT>(i))), ch)) matches.push_back(i);
  }
  if (matches.empty()) {
    if (!m_owner) return false;
    // Items the owner draws have no text here: the owner knows their letters.
    LRESULT answer = ::SendMessage(m_owner, WM_MENUCHAR, MAKEWPARAM(static_cast<unsigned char>(ch), MF_POPUP),
                                   reinterpret_cast<LPARAM>(m_menu));
    return FollowMenuCharAnswer(answer);
  }
  if (matches.size() == 1) return ChooseByKey(matches[0]);
  // Several items share the letter: each press moves on to the next of them.
  auto next = std::upper_bound(matches.begin(), matches.end(), m_highlight);
  Highlight(next == matches.end() ? matches.front() : *next);
  return false;
}

bool PopupMenuWindow::FollowMenuCharAnswer(LRESULT answer) {
  int index = static_cast<int>(LOWORD(answer));
  switch (HIWORD(answer)) {
    case MNC_EXECUTE: return index < static_cast<int>(m_rows.size()) && ChooseByKey(index);
    case MNC_SELECT:
      if (index < static_cast<int>(m_rows.size())) Highlight(index);
      return false;
    case MNC_CLOSE: End(0); return false;
    default: return false;
  }
}

bool PopupMenuWindow::ChooseByKey(int index) {
  Highlight(index);
  if (m_highlight != index) return false;
  if (Choosable(index)) {
    End(::GetMenuItemID(m_menu, index));
    return false;
  }
  MENUITEMINFO info = InfoOf(m_menu, static_cast<UINT>(index));
  return info.hSubMenu != nullptr && !(info.fState & MFS_GRAYED);
}

void PopupMenuWindow::Paint(CDC& dc, const RECT& client) {
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_MENU));
  RECT frame = client;
  dc.DrawEdge(&frame, EDGE_RAISED, BF_RECT);
  CGdiObject* oldFont = dc.SelectStockObject(DEFAULT_GUI_FONT);
  int count = std::min(static_cast<int>(m_rows.size()), ::GetMenuItemCount(m_menu));
  for (int i = 0; i < count; ++i) PaintItem(dc, i);
  dc.SelectObject(oldFont);
}

void PopupMenuWindow::PaintItem(CDC& dc, int index) {
  MENUITEMINFO info = InfoOf(m_menu, static_cast<UINT>(index));
  const RECT& rect = m_rows[static_cast<std::size_t>(index)].rect;
  if (info.fType & MFT_OWNERDRAW) {
    PaintOwnerDrawn(dc, index, info);
  } else if (info.fType & MFT_SEPARATOR) {
    PaintSeparator(dc, rect);
  } else {
    PaintText(dc, index, info, TextOf(m_menu, static_cast<UINT>(index)));
  }
}

void PopupMenuWindow::PaintOwnerDrawn(CDC& dc, int index, const MENUITEMINFO& info) {
  UINT state = (index == m_highlight ? ODS_SELECTED : 0u) | (info.fState & MFS_GRAYED ? ODS_GRAYED | ODS_DISABLED : 0u) |
               (info.fState & MFS_CHECKED ? ODS_CHECKED : 0u) | (info.fState & MFS_DEFAULT ? ODS_DEFAULT : 0u);
  DRAWITEMSTRUCT item{ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(m_menu), dc.GetSafeHdc(),
                      m_rows[static_cast<std::size_t>(index)].rect, info.dwItemData};
  if (m_owner) ::SendMessage(m_owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
}

void PopupMenuWindow::PaintSeparator(CDC& dc, const RECT& rect) {
  RECT line{rect.left + 1, (rect.top + rect.bottom) / 2 - 1, rect.right - 1, rect.bottom};
  dc.DrawEdge(&line, EDGE_ETCHED, BF_TOP);
}

void PopupMenuWindow::PaintText(CDC& dc, int index, const MENUITEMINFO& info, const CString& text) {
  RECT rect = m_rows[static_cast<std::size_t>(index)].rect;
  bool highlighted = index == m_highlight;
  bool grayed = (info.fState & MFS_GRAYED) != 0;
  dc.FillSolidRect(&rect, ::GetSysColor(highlighted ? COLOR_HIGHLIGHT : COLOR_MENU));
  COLORREF color = ::GetSysColor(grayed ? COLOR_GRAYTEXT : highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  RECT check{rect.left, rect.top, rect.left + CheckColumnWidth(), rect.bottom};
  if ((info.fState & MFS_CHECKED) && (info.fType & MFT_RADIOCHECK)) DrawBullet(dc, check, color);
  if ((info.fState & MFS_CHECKED) && !(info.fType & MFT_RADIOCHECK)) DrawTick(dc, check, color);
  if (info.hSubMenu) DrawRightArrow(dc, RECT{rect.right - kArrowColumn, rect.top, rect.right, rect.bottom}, color);

  ItemText parts = SplitAtTab(text);
  RECT label{check.right, rect.top, rect.right - kArrowColumn, rect.bottom};
  int oldMode = dc.SetBkMode(TRANSPARENT);
  COLORREF oldColor = dc.GetTextColor();
  // A grayed item is etched: a light copy one pixel down and right shows under the gray.
  if (grayed && !highlighted) {
    RECT etched = label;
    ::OffsetRect(&etched, 1, 1);
    dc.SetTextColor(::GetSysColor(COLOR_3DHILIGHT));
    dc.DrawText(parts.label, &etched, kTextFormat | DT_LEFT);
    dc.DrawText(parts.accelerator, &etched, kTextFormat | DT_RIGHT);
  }
  dc.SetTextColor(color);
  dc.DrawText(parts.label, &label, kTextFormat | DT_LEFT);
  dc.DrawText(parts.accelerator, &label, kTextFormat | DT_RIGHT);
  dc.SetTextColor(oldColor);
  dc.SetBkMode(oldMode);
}

}  // namespace platform::detail

namespace {

using platform::detail::PopupMenuWindow;

PopupMenuWindow* PopupOf(HWND popup) { return platform::detail::ModelAs<PopupMenuWindow>(popup); }

// Top-left of a window of size placed at point by the TPM_ alignment flags, inside the screen.
POINT PlaceOnScreen(POINT point, SIZE size, UINT flags) {
  POINT at = point;
  if (flags & TPM_CENTERALIGN) at.x -= size.cx / 2;
  if (flags & TPM_RIGHTALIGN) at.x -= size.cx;
  if (flags & TPM_VCENTERALIGN) at.y -= size.cy / 2;
  if (flags & TPM_BOTTOMALIGN) at.y -= size.cy;
  int width = ::GetSystemMetrics(SM_CXSCREEN);
  int height = ::GetSystemMetrics(SM_CYSCREEN);
  at.x = std::max(0, std::min(static_cast<int>(at.x), width - static_cast<int>(size.cx)));
  at.y = std::max(0, std::min(static_cast<int>(at.y), height - static_cast<int>(size.cy)));
  return at;
}

bool RegisterPopupMenuClass() {
  WNDCLASS wc{};
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = &platform::detail::ControlProc<PopupMenuWindow>;
  wc.lpszClassName = platform::kPopupMenuClass;
  return ::RegisterClass(&wc) != 0;
}

// The class is ready before any program code runs.
const bool g_popupClassRegistered = RegisterPopupMenuClass();

}  // namespace

namespace platform {

HWND CreatePopupMenuWindow(HMENU menu, HWND owner, POINT screen, UINT flags) {
  if (!::IsMenu(menu) || !::IsWindow(owner)) return nullptr;
  detail::PopupMenuCreation creation{menu, owner};
  HWND popup = ::CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kPopupMenuClass, "", WS_POPUP, screen.x, screen.y, 0,
                                0, owner, nullptr, nullptr, &creation);
  PopupMenuWindow* window = PopupOf(popup);
  if (!window) {
    if (popup) ::DestroyWindow(popup);
    return nullptr;
  }
  SIZE size = window->Extent();
  POINT at = PlaceOnScreen(screen, size, flags);
  ::SetWindowPos(popup, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  return popup;
}

HMENU GetPopupMenuWindowMenu(HWND popup) {
  PopupMenuWindow* window = PopupOf(popup);
  return window ? window->Menu() : nullptr;
}

int PopupMenuItemFromPoint(HWND popup, POINT client) {
  PopupMenuWindow* window = PopupOf(popup);
  return window ? window->ItemAt(client) : -1;
}

BOOL GetPopupMenuItemRect(HWND popup, int position, LPRECT rect) {
  PopupMenuWindow* window = PopupOf(popup);
  return window && rect && window->ItemRect(position, *rect);
}

BOOL SetPopupMenuHighlight(HWND popup, int position) {
  PopupMenuWindow* window = PopupOf(popup);
  return window && window->Highlight(position);
}

int GetPopupMenuHighlight(HWND popup) {
  PopupMenuWindow* window = PopupOf(popup);
  return window ? window->Highlighted() : -1;
}

UINT GetPopupMenuCommand(HWND popup) {
  PopupMenuWindow* window = PopupOf(popup);
  return window ? window->Command() : 0;
}

BOOL IsPopupMenuEnded(HWND popup, UINT* command) {
  PopupMenuWindow* window = PopupOf(popup);
  if (!window || !window->Ended()) return FALSE;
  if (command) *command = window->Chosen();
  return TRUE;
}

}  // namespace platform
