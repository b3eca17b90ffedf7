#pragma once
// The frame's menu bar (menu 128) and its keys (accelerator table 128): every frame command that
// has a menu text, once, under the pop-up a user looks for it in.

#include <vector>

#include <platform/menus.h>
#include <platform/resources.h>

// One pop-up of the menu bar and its items (command 0 is a separator).
struct CMenuBarPopup {
  const char* title;
  std::vector<platform::MenuItemTemplate> items;
};

// The pop-ups, left to right.
const std::vector<CMenuBarPopup>& GetMenuBarPopups();
// The keys of the frame's commands.
const std::vector<ACCEL>& GetMenuBarKeys();
// Registers menu 128 and accelerator table 128.
void RegisterOrvantaMenus(platform::ResourceModule& module);
