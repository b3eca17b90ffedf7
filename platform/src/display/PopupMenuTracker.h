#pragma once
// Tracks a pop-up menu a person answers: the menu's window is shown at a screen point and holds
// the mouse while a nested message loop runs, until an item is chosen, Escape is pressed or the
// mouse is pressed outside every open menu. Items with a sub-menu open it beside themselves.

#include <vector>

#include "platform/geometry.h"
#include "platform/messages.h"
#include "platform/types.h"

namespace platform::detail {

class PopupMenuTracker {
public:
  PopupMenuTracker(HMENU menu, HWND owner) : m_menu(menu), m_owner(owner) {}
  ~PopupMenuTracker();
  PopupMenuTracker(const PopupMenuTracker&) = delete;
  PopupMenuTracker& operator=(const PopupMenuTracker&) = delete;

  // Shows the menu at screen (placed by the TPM_ alignment flags) and waits; returns the command
  // chosen, 0 when the menu was dismissed or could not be shown.
  UINT Track(POINT screen, UINT flags);

private:
  // One open menu window and the item of its parent menu that opened it (-1 for the first).
  struct Level {
    HWND window{nullptr};
    int openedBy{-1};
  };

  bool Done() const;
  // Keys go to the innermost menu, whoever has the focus; the mouse goes to the menu under it; a
  // press outside every menu dismisses them all.
  bool Filter(MSG& msg);
  bool FilterKey(MSG& msg);
  bool FilterMouse(MSG& msg);
  // The innermost open menu window containing a screen point; null for none.
  HWND MenuAt(POINT screen) const;
  std::size_t LevelOf(HWND window) const;
  // After input at a level: closes the menus opened from another item, opens the highlighted
  // item's sub-menu when asked to.
  void FollowHighlight(std::size_t level, bool openSubMenu);
  bool OpenSubMenu(std::size_t level);
  // Closes the menus opened from level's menu (the deeper ones).
  void CloseAfter(std::size_t level);
  void CloseAll();
  // Closes the innermost menus until keep are left.
  void CloseDownTo(std::size_t keep);
  UINT ChosenCommand() const;

  HMENU m_menu{nullptr};
  HWND m_owner{nullptr};
  std::vector<Level> m_levels;
  bool m_dismissed{false};
};

}  // namespace platform::detail
