#pragma once
// The program's resource table: dialog templates, strings and icons, registered under the
// program's module handle. Each kind has its own registration function; RegisterOrvantaResources
// does them all and is what the program and the tests call.

#include <platform/resources.h>
#include <platform/types.h>

// String resource of the document template and the frame's caption.
constexpr UINT IDR_MAINFRAME = 128;
// The status bar's key-state panes and their texts.
constexpr UINT ID_INDICATOR_CAPS = 0xE701;
constexpr UINT ID_INDICATOR_NUM = 0xE702;
constexpr UINT ID_INDICATOR_SCRL = 0xE703;

// Templates of the start view, the main menu pane and the About dialog, and their controls.
constexpr UINT kStartViewTemplate = 412;
constexpr UINT kStartViewFlashId = 1421;
constexpr UINT kMainMenuTemplate = 276;
constexpr UINT kMainMenuBannerId = 1461;
constexpr UINT kAboutTemplate = 100;
// The hand shown over a banner with a link.
constexpr UINT kBannerLinkCursor = 533;
// The main menu pane's pop-up menu in the game room (its first pop-up holds "Sound").
constexpr UINT kRoomPopupMenu = 111;

// Registers every resource of the program under module (an unknown handle registers nothing and
// returns FALSE). Registering twice replaces the earlier entries.
BOOL RegisterOrvantaResources(HINSTANCE module);
// The dialog templates (the login dialog, 179).
void RegisterOrvantaDialogs(platform::ResourceModule& module);
// The start view's, the main menu pane's and the About dialog's templates.
void RegisterOrvantaScreens(platform::ResourceModule& module);
// The string resources (the document template, 128, and the status bar's panes).
void RegisterOrvantaStrings(platform::ResourceModule& module);
// The icons (the frame's icon, 128).
void RegisterOrvantaIcons(platform::ResourceModule& module);
