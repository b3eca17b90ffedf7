// Pop-up menus: tracking (answered by the UI script headless) and command-state updates.
#include <cstdio>

#include "../display/PopupMenuTracker.h"
#include "platform/display.h"
#include "platform/menus.h"
#include "platform/messageloop.h"
#include "platform/uiscript.h"

namespace {

bool IsChoosable(HMENU menu, UINT command) {
  UINT state = ::GetMenuState(menu, command, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED | MF_POPUP | MF_SEPARATOR));
}

// The command the UI script picks, 0 for none; logged when nobody answers or the pick is not an
// item a person could choose.
UINT AskForCommand(HMENU menu, POINT at, HWND owner) {
  platform::UiScript* script = platform::GetUiScript();
  std::optional<UINT> answer = script ? script->OnPopupMenu(menu, at, owner) : std::nullopt;
  if (!answer) {
    char detail[64];
    std::snprintf(detail, sizeof detail, "pop-up menu at %ld,%ld", static_cast<long>(at.x), static_cast<long>(at.y));
    platform::LogUnanswered("menu", detail);
    return 0;
  }
  if (*answer != 0 && !IsChoosable(menu, *answer)) {
    std::fprintf(stderr, "platform: menu command %u is missing or disabled; nothing chosen\n", *answer);
    return 0;
  }
  return *answer;
}

}  // namespace

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, LPCRECT) {
  if (!::IsMenu(menu) || !::IsWindow(owner)) return FALSE;
  bool notify = !(flags & TPM_NONOTIFY);
  if (notify) {
    ::SendMessage(owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    ::SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
  }
  UINT command = 0;
  if (::IsMenu(menu) && ::IsWindow(owner)) {
    // Shown on a display a person picks the item; headless the UI script does.
    command = platform::display::IsInteractive() ? platform::detail::PopupMenuTracker(menu, owner).Track(POINT{x, y}, flags)
                                                 : AskForCommand(menu, POINT{x, y}, owner);
  }
  if (notify && ::IsWindow(owner)) {
    if (command) {
      ::SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(command), static_cast<WORD>(::GetMenuState(menu, command, MF_BYCOMMAND) | MF_HILITE)),
                    reinterpret_cast<LPARAM>(menu));
    }
    ::SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  }
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(command);
  if (command && ::IsWindow(owner)) ::PostMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
  return command != 0;
}

namespace platform {

void UpdateMenuCommands(CMenu* popup, CCmdTarget* target, BOOL disableIfNoHandler) {
  if (!popup || !target) return;
  CCmdUI state;
  state.m_pMenu = popup;
  state.m_nIndexMax = popup->GetMenuItemCount();
  for (UINT index = 0; index < state.m_nIndexMax; ++index) {
    state.m_nIndex = index;
    state.m_nID = popup->GetMenuItemID(static_cast<int>(index));
    // Pop-ups (-1) and separators (0) are no commands.
    if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) continue;
    state.DoUpdate(target, disableIfNoHandler);
    // A handler may have removed items.
    state.m_nIndexMax = popup->GetMenuItemCount();
  }
}

}  // namespace platform
