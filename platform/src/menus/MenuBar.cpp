#include "MenuBar.h"

#include <algorithm>
#include <cctype>

namespace platform::detail {
namespace {

constexpr int kItemPadding = 6;  // either side of an item's text
constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

// The item the bar has open while its pop-up is tracked, drawn pressed meanwhile.
struct OpenItem {
  HWND hwnd{nullptr};
  int index{-1};
  int step{0};  // the neighbour asked for from the keyboard: -1 left, 1 right
  bool byKey{false};  // opened from the keyboard: the pop-up starts with an item highlighted
};

OpenItem& CurrentlyOpen() {
  static OpenItem open;
  return open;
}

bool IsTopLevelWithMenu(HWND hwnd) {
  return ::IsWindow(hwnd) && !(static_cast<DWORD>(::GetWindowLong(hwnd, GWL_STYLE)) & WS_CHILD) && ::GetMenu(hwnd);
}

CString TextOf(HMENU menu, int position) {
  CString text;
  CMenu* wrapper = CMenu::FromHandle(menu);
  if (wrapper) wrapper->GetMenuString(static_cast<UINT>(position), text, MF_BYPOSITION);
  return text;
}

UINT StateOf(HMENU menu, int position) {
  MENUITEMINFO info{};
  info.fMask = MIIM_STATE | MIIM_FTYPE;
  if (!::GetMenuItemInfo(menu, static_cast<UINT>(position), TRUE, &info)) return MFS_GRAYED;
  return info.fState;
}

int TextWidth(CDC& dc, const CString& text) {
  if (text.IsEmpty()) return 0;
  RECT r{0, 0, 0, 0};
  dc.DrawText(text, &r, kTextFormat | DT_CALCRECT);
  return r.right - r.left;
}

POINT WindowPointOf(HWND hwnd, POINT screen) {
  RECT window{};
  ::GetWindowRect(hwnd, &window);
  return POINT{screen.x - window.left, screen.y - window.top};
}

}  // namespace

char MenuMnemonic(const CString& text) {
  const char* p = text.GetString();
  for (int i = 0; p[i]; ++i) {
    if (p[i] != '&') continue;
    if (p[i + 1] == '&') {
      ++i;
      continue;
    }
    return p[i + 1];
  }
  return 0;
}

bool SameMnemonic(char a, char b) {
  return a && b && std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

MenuBar::MenuBar(HWND hwnd) : m_hwnd(hwnd) {
  if (!IsTopLevelWithMenu(hwnd)) return;
  m_menu = ::GetMenu(hwnd);
  Layout();
}

void MenuBar::Layout() {
  DWORD style = static_cast<DWORD>(::GetWindowLong(m_hwnd, GWL_STYLE));
  DWORD exStyle = static_cast<DWORD>(::GetWindowLong(m_hwnd, GWL_EXSTYLE));
  RECT without = platform::NonClientInsets(style, exStyle, false);
  RECT with = platform::NonClientInsets(style, exStyle, true);
  RECT window{};
  ::GetWindowRect(m_hwnd, &window);
  m_band = RECT{without.left, without.top, (window.right - window.left) - without.right, with.top};

  HDC hdc = ::GetWindowDC(m_hwnd);
  CDC* dc = platform::DcFromHandle(hdc);
  CGdiObject* oldFont = dc ? dc->SelectStockObject(DEFAULT_GUI_FONT) : nullptr;
  int x = m_band.left;
  int count = std::max(0, ::GetMenuItemCount(m_menu));
  for (int i = 0; i < count; ++i) {
    int width = (dc ? TextWidth(*dc, TextOf(m_menu, i)) : 0) + 2 * kItemPadding;
    m_items.push_back(RECT{x, m_band.top, x + width, m_band.bottom});
    x += width;
  }
  if (dc) dc->SelectObject(oldFont);
  if (hdc) ::ReleaseDC(m_hwnd, hdc);
}

RECT MenuBar::ItemRect(int index) const {
  if (index < 0 || index >= ItemCount()) return RECT{0, 0, 0, 0};
  return m_items[static_cast<std::size_t>(index)];
}

int MenuBar::ItemAt(POINT windowPoint) const {
  if (!PtInRect(&m_band, windowPoint)) return -1;
  for (int i = 0; i < ItemCount(); ++i) {
    RECT r = ItemRect(i);
    // Items past the window's right edge cannot be reached.
    if (r.right > m_band.right) r.right = m_band.right;
    if (PtInRect(&r, windowPoint)) return i;
  }
  return -1;
}

int MenuBar::ItemWithMnemonic(char ch) const {
  for (int i = 0; i < ItemCount(); ++i) {
    if (SameMnemonic(MenuMnemonic(TextOf(m_menu, i)), ch)) return i;
  }
  return -1;
}

void MenuBar::Paint(CDC& dc, int pressed) const {
  if (!Shown()) return;
  dc.FillSolidRect(&m_band, ::GetSysColor(COLOR_MENU));
  CGdiObject* oldFont = dc.SelectStockObject(DEFAULT_GUI_FONT);
  int oldMode = dc.SetBkMode(TRANSPARENT);
  COLORREF oldColor = dc.GetTextColor();
  for (int i = 0; i < ItemCount(); ++i) PaintItem(dc, i, i == pressed);
  dc.SetTextColor(oldColor);
  dc.SetBkMode(oldMode);
  dc.SelectObject(oldFont);
}

void MenuBar::PaintItem(CDC& dc, int index, bool pressed) const {
  RECT rect = ItemRect(index);
  if (rect.left >= m_band.right) return;
  if (rect.right > m_band.right) rect.right = m_band.right;
  bool grayed = (StateOf(m_menu, index) & MFS_GRAYED) != 0;
  RECT text = rect;
  if (pressed) {
    RECT edge = rect;
    dc.DrawEdge(&edge, BDR_SUNKENOUTER, BF_RECT);
    ::OffsetRect(&text, 1, 1);
  }
  // A grayed item is etched: a light copy one pixel down and right shows under the gray.
  if (grayed) {
    RECT etched = text;
    ::OffsetRect(&etched, 1, 1);
    dc.SetTextColor(::GetSysColor(COLOR_3DHILIGHT));
    dc.DrawText(TextOf(m_menu, index), &etched, kTextFormat);
  }
  dc.SetTextColor(::GetSysColor(grayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
  dc.DrawText(TextOf(m_menu, index), &text, kTextFormat);
}

void MenuBar::Open(int index, bool byKey) const {
  // Left and Right on an open pop-up go on to the neighbouring item's pop-up.
  for (;;) {
    int step = OpenOnce(index, byKey);
    byKey = false;  // a neighbour opens as F10 opens: the arrows go on from its top
    if (!step || !::IsWindow(m_hwnd) || ::GetMenu(m_hwnd) != m_menu) return;
    index = Neighbour(index, step);
    if (index < 0) return;
  }
}

int MenuBar::Neighbour(int index, int step) const {
  int count = std::min(ItemCount(), ::GetMenuItemCount(m_menu));
  for (int i = 1; i <= count; ++i) {
    int candidate = ((index + step * i) % count + count) % count;
    if (::GetSubMenu(m_menu, candidate) && !(StateOf(m_menu, candidate) & MFS_GRAYED)) return candidate;
  }
  return -1;
}

int MenuBar::OpenOnce(int index, bool byKey) const {
  if (!Shown() || index < 0 || index >= ItemCount()) return 0;
  ::SendMessage(m_hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(m_menu), 0);
  // The window may have changed or dropped its menu on WM_INITMENU.
  if (!::IsWindow(m_hwnd) || ::GetMenu(m_hwnd) != m_menu || index >= ::GetMenuItemCount(m_menu)) return 0;
  if (StateOf(m_menu, index) & MFS_GRAYED) return 0;
  HMENU popup = ::GetSubMenu(m_menu, index);
  if (!popup) {
    UINT command = ::GetMenuItemID(m_menu, index);
    if (command != 0 && command != static_cast<UINT>(-1))
      ::PostMessage(m_hwnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
    return 0;
  }
  RECT window{};
  ::GetWindowRect(m_hwnd, &window);
  RECT item = ItemRect(index);
  OpenItem& open = CurrentlyOpen();
  open = OpenItem{m_hwnd, index, 0, byKey};
  ::DrawMenuBar(m_hwnd);
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, window.left + item.left, window.top + item.bottom, 0, m_hwnd,
                   nullptr);
  int step = open.step;
  open = OpenItem{};
  if (::IsWindow(m_hwnd)) ::DrawMenuBar(m_hwnd);
  return step;
}

bool MenuBarOpenedByKey(HWND owner) {
  const OpenItem& open = CurrentlyOpen();
  return owner && open.hwnd == owner && open.byKey;
}

bool MenuBarStep(HWND owner, int step) {
  OpenItem& open = CurrentlyOpen();
  if (!owner || open.hwnd != owner) return false;
  open.step = step;
  return true;
}

int MenuBarHitTest(HWND hwnd, POINT screen) {
  MenuBar bar(hwnd);
  if (!bar.Shown()) return 0;
  return PtInRect(&bar.Band(), WindowPointOf(hwnd, screen)) ? HTMENU : 0;
}

bool MenuBarPress(HWND hwnd, POINT screen) {
  MenuBar bar(hwnd);
  if (!bar.Shown() || !PtInRect(&bar.Band(), WindowPointOf(hwnd, screen))) return false;
  bar.Open(bar.ItemAt(WindowPointOf(hwnd, screen)));
  return true;
}

void PaintMenuBar(HWND hwnd) {
  MenuBar bar(hwnd);
  if (!bar.Shown()) return;
  HDC hdc = ::GetWindowDC(hwnd);
  CDC* dc = platform::DcFromHandle(hdc);
  const OpenItem& open = CurrentlyOpen();
  if (dc) bar.Paint(*dc, open.hwnd == hwnd ? open.index : -1);
  if (hdc) ::ReleaseDC(hwnd, hdc);
}

bool MenuBarKey(HWND hwnd, char ch) {
  MenuBar bar(hwnd);
  if (!bar.Shown() || bar.ItemCount() == 0) return false;
  int index = ch ? bar.ItemWithMnemonic(ch) : 0;
  if (index < 0) return false;
  // Alt with a letter opens with an item highlighted, so that Return chooses at once; F10 opens
  // the first pop-up for the arrows.
  bar.Open(index, ch != 0);
  return true;
}

}  // namespace platform::detail

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect) {
  platform::detail::MenuBar bar(hwnd);
  if (!rect || !menu || !bar.Shown() || ::GetMenu(hwnd) != menu || item >= static_cast<UINT>(bar.ItemCount()))
    return FALSE;
  RECT window{};
  ::GetWindowRect(hwnd, &window);
  RECT r = bar.ItemRect(static_cast<int>(item));
  *rect = RECT{window.left + r.left, window.top + r.top, window.left + r.right, window.top + r.bottom};
  return TRUE;
}
