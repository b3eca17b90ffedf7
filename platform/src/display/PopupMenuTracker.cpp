#include "PopupMenuTracker.h"

#include "../menus/MenuBar.h"
#include "platform/menus.h"
#include "platform/messageloop.h"
#include "platform/windows.h"

namespace platform::detail {
namespace {

bool IsKey(UINT message) { return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR; }

bool IsSystemKey(UINT message) { return message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR; }

bool IsPress(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
         message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

bool IsMouse(UINT message) { return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK; }

int FirstEnabledItem(HMENU menu) {
  int first = -1;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    MENUITEMINFO info{};
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    if (!::GetMenuItemInfo(menu, static_cast<UINT>(i), TRUE, &info) || (info.fType & MFT_SEPARATOR)) continue;
    if (!(info.fState & MFS_GRAYED)) return i;
    if (first < 0) first = i;
  }
  return first;
}

POINT PointOf(LPARAM lParam) { return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))}; }

}  // namespace

PopupMenuTracker::~PopupMenuTracker() { CloseAll(); }

UINT PopupMenuTracker::Track(POINT screen, UINT flags) {
  HWND first = CreatePopupMenuWindow(m_menu, m_owner, screen, flags);
  if (!first) return 0;
  m_levels.push_back(Level{first, -1});
  ::ShowWindow(first, SW_SHOWNOACTIVATE);
  // Opened from the keyboard, Return chooses at once: the first item a person could choose is
  // highlighted (the first of all when every one is greyed).
  if (MenuBarOpenedByKey(m_owner)) SetPopupMenuHighlight(first, FirstEnabledItem(m_menu));
  ::SetCapture(first);
  RunModalLoop([this] { return Done(); }, [this](MSG& msg) { return Filter(msg); });
  UINT command = m_dismissed ? 0 : ChosenCommand();
  if (::GetCapture() == first) ::ReleaseCapture();
  CloseAll();
  return command;
}

bool PopupMenuTracker::Done() const {
  if (m_dismissed || m_levels.empty() || !::IsWindow(m_owner)) return true;
  HWND first = m_levels.front().window;
  // Someone else took the mouse: the menu cannot go on.
  if (!::IsWindow(first) || ::GetCapture() != first) return true;
  for (const Level& level : m_levels) {
    if (!::IsWindow(level.window) || IsPopupMenuEnded(level.window, nullptr)) return true;
  }
  return false;
}

UINT PopupMenuTracker::ChosenCommand() const {
  UINT command = 0;
  for (const Level& level : m_levels) {
    if (::IsWindow(level.window) && IsPopupMenuEnded(level.window, &command)) return command;
  }
  return 0;
}

bool PopupMenuTracker::Filter(MSG& msg) {
  if (IsKey(msg.message)) return FilterKey(msg);
  if (IsSystemKey(msg.message)) {
    // Alt or F10 again leaves the menu, as on the bar; no other system key opens a second one,
    // but a letter with Alt still held chooses an item as the letter alone does.
    if (msg.message == WM_SYSKEYDOWN && (msg.wParam == VK_MENU || msg.wParam == VK_F10)) {
      m_dismissed = true;
    } else if (msg.message == WM_SYSKEYDOWN) {
      ::TranslateMessage(&msg);
    } else if (msg.message == WM_SYSCHAR) {
      MSG letter = msg;
      letter.message = WM_CHAR;
      FilterKey(letter);
    }
    return true;
  }
  if (IsMouse(msg.message) && !m_levels.empty() && msg.hwnd == m_levels.front().window) return FilterMouse(msg);
  return false;
}

bool PopupMenuTracker::FilterKey(MSG& msg) {
  std::size_t inner = m_levels.size() - 1;
  HWND window = m_levels[inner].window;
  if (msg.message == WM_CHAR) {
    // A letter that opens a sub-menu opens it with its first item highlighted.
    if (::SendMessage(window, WM_CHAR, msg.wParam, msg.lParam) && OpenSubMenu(inner)) {
      ::SendMessage(m_levels.back().window, WM_KEYDOWN, VK_DOWN, 0);
    }
    return true;
  }
  if (msg.message == WM_KEYDOWN) {
    UINT key = static_cast<UINT>(msg.wParam);
    // Letters come back as WM_CHAR; Return and Escape act here and type nothing afterwards.
    if (key != VK_RETURN && key != VK_ESCAPE) ::TranslateMessage(&msg);
    if ((key == VK_ESCAPE || key == VK_LEFT) && inner > 0) {
      CloseAfter(inner - 1);  // back to the menu that opened this one
      return true;
    }
    if (key == VK_LEFT && MenuBarStep(m_owner, -1)) {
      m_dismissed = true;  // a bar's pop-up: the bar opens the one on the left
      return true;
    }
    if (key == VK_RIGHT || key == VK_RETURN) {
      if (OpenSubMenu(inner)) {
        ::SendMessage(m_levels.back().window, WM_KEYDOWN, VK_DOWN, 0);  // its first item
        return true;
      }
      if (key == VK_RIGHT && MenuBarStep(m_owner, 1)) m_dismissed = true;
      if (key == VK_RIGHT) return true;
    }
  }
  ::SendMessage(window, msg.message, msg.wParam, msg.lParam);
  return true;
}

bool PopupMenuTracker::FilterMouse(MSG& msg) {
  POINT screen = PointOf(msg.lParam);
  ::ClientToScreen(msg.hwnd, &screen);
  HWND target = MenuAt(screen);
  if (!target) {
    if (IsPress(msg.message)) m_dismissed = true;
    return true;
  }
  POINT local = screen;
  ::ScreenToClient(target, &local);
  ::SendMessage(target, msg.message, msg.wParam, MAKELPARAM(static_cast<WORD>(local.x), static_cast<WORD>(local.y)));
  std::size_t level = LevelOf(target);
  if (level < m_levels.size()) FollowHighlight(level, true);
  return true;
}

HWND PopupMenuTracker::MenuAt(POINT screen) const {
  for (auto it = m_levels.rbegin(); it != m_levels.rend(); ++it) {
    RECT r{};
    if (::GetWindowRect(it->window, &r) && PtInRect(&r, screen)) return it->window;
  }
  return nullptr;
}

std::size_t PopupMenuTracker::LevelOf(HWND window) const {
  for (std::size_t i = 0; i < m_levels.size(); ++i) {
    if (m_levels[i].window == window) return i;
  }
  return m_levels.size();
}

void PopupMenuTracker::FollowHighlight(std::size_t level, bool openSubMenu) {
  if (level >= m_levels.size() || !::IsWindow(m_levels[level].window)) return;
  int highlighted = GetPopupMenuHighlight(m_levels[level].window);
  if (level + 1 < m_levels.size() && m_levels[level + 1].openedBy != highlighted) CloseAfter(level);
  if (openSubMenu && level + 1 == m_levels.size()) OpenSubMenu(level);
}

bool PopupMenuTracker::OpenSubMenu(std::size_t level) {
  if (level + 1 != m_levels.size()) return false;
  HWND parent = m_levels[level].window;
  int item = GetPopupMenuHighlight(parent);
  HMENU sub = item >= 0 ? ::GetSubMenu(GetPopupMenuWindowMenu(parent), item) : nullptr;
  if (!sub || (::GetMenuState(GetPopupMenuWindowMenu(parent), static_cast<UINT>(item), MF_BYPOSITION) & MF_GRAYED)) {
    return false;
  }
  ::SendMessage(m_owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(static_cast<WORD>(item), 0));
  RECT r{};
  if (!::IsWindow(parent) || !GetPopupMenuItemRect(parent, item, &r)) return false;
  POINT at{r.right, r.top};
  ::ClientToScreen(parent, &at);
  HWND window = CreatePopupMenuWindow(sub, m_owner, at, 0);
  if (!window) return false;
  m_levels.push_back(Level{window, item});
  ::ShowWindow(window, SW_SHOWNOACTIVATE);
  return true;
}

void PopupMenuTracker::CloseAfter(std::size_t level) { CloseDownTo(level + 1); }

void PopupMenuTracker::CloseAll() { CloseDownTo(0); }

void PopupMenuTracker::CloseDownTo(std::size_t keep) {
  while (m_levels.size() > keep) {
    HWND window = m_levels.back().window;
    m_levels.pop_back();
    if (::IsWindow(window)) ::DestroyWindow(window);
  }
}

}  // namespace platform::detail
