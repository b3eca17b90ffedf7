#pragma once
// Menus: HMENU handles built in code or loaded from a module's menu resources, the CMenu wrapper,
// pop-up tracking (headless: answered by the UI script), command-state updates of pop-up items,
// accelerator tables and key names.

#include <vector>

#include "platform/cmdtarget.h"
#include "platform/resources.h"
#include "platform/strings.h"
#include "platform/types.h"
#include "platform/windows.h"

// Item flags of AppendMenu, InsertMenu, ModifyMenu and friends.
constexpr UINT MF_INSERT = 0x0000, MF_CHANGE = 0x0080, MF_APPEND = 0x0100, MF_DELETE = 0x0200,
               MF_REMOVE = 0x1000, MF_BYCOMMAND = 0x0000, MF_BYPOSITION = 0x0400, MF_SEPARATOR = 0x0800,
               MF_ENABLED = 0x0000, MF_GRAYED = 0x0001, MF_DISABLED = 0x0002, MF_UNCHECKED = 0x0000,
               MF_CHECKED = 0x0008, MF_USECHECKBITMAPS = 0x0200, MF_STRING = 0x0000, MF_BITMAP = 0x0004,
               MF_OWNERDRAW = 0x0100, MF_POPUP = 0x0010, MF_MENUBARBREAK = 0x0020, MF_MENUBREAK = 0x0040,
               MF_UNHILITE = 0x0000, MF_HILITE = 0x0080, MF_DEFAULT = 0x1000, MF_RIGHTJUSTIFY = 0x4000;
// MENUITEMINFO types, states and masks.
constexpr UINT MFT_STRING = MF_STRING, MFT_BITMAP = MF_BITMAP, MFT_MENUBARBREAK = MF_MENUBARBREAK,
               MFT_MENUBREAK = MF_MENUBREAK, MFT_OWNERDRAW = MF_OWNERDRAW, MFT_RADIOCHECK = 0x0200,
               MFT_SEPARATOR = MF_SEPARATOR, MFT_RIGHTORDER = 0x2000, MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;
constexpr UINT MFS_GRAYED = 0x0003, MFS_DISABLED = MFS_GRAYED, MFS_CHECKED = MF_CHECKED, MFS_HILITE = MF_HILITE,
               MFS_ENABLED = MF_ENABLED, MFS_UNCHECKED = MF_UNCHECKED, MFS_UNHILITE = MF_UNHILITE,
               MFS_DEFAULT = MF_DEFAULT;
constexpr UINT MIIM_STATE = 0x0001, MIIM_ID = 0x0002, MIIM_SUBMENU = 0x0004, MIIM_CHECKMARKS = 0x0008,
               MIIM_TYPE = 0x0010, MIIM_DATA = 0x0020, MIIM_STRING = 0x0040, MIIM_BITMAP = 0x0080,
               MIIM_FTYPE = 0x0100;
// TrackPopupMenu flags.
constexpr UINT TPM_LEFTBUTTON = 0x0000, TPM_RIGHTBUTTON = 0x0002, TPM_LEFTALIGN = 0x0000,
               TPM_CENTERALIGN = 0x0004, TPM_RIGHTALIGN = 0x0008, TPM_TOPALIGN = 0x0000,
               TPM_VCENTERALIGN = 0x0010, TPM_BOTTOMALIGN = 0x0020, TPM_NONOTIFY = 0x0080,
               TPM_RETURNCMD = 0x0100;
// WM_MENUCHAR answers (in the high word).
constexpr UINT MNC_IGNORE = 0, MNC_CLOSE = 1, MNC_EXECUTE = 2, MNC_SELECT = 3;
constexpr LRESULT MAKELRESULT(WORD lo, WORD hi) { return static_cast<LRESULT>(MAKELONG(lo, hi)); }

struct MENUITEMINFO {
  UINT cbSize{sizeof(MENUITEMINFO)};
  UINT fMask{0};
  UINT fType{0};
  UINT fState{0};
  UINT wID{0};
  HMENU hSubMenu{nullptr};
  HBITMAP hbmpChecked{nullptr};
  HBITMAP hbmpUnchecked{nullptr};
  ULONG_PTR dwItemData{0};
  LPTSTR dwTypeData{nullptr};  // text (MIIM_STRING / MFT_STRING); on Get, a buffer of cch + 1 bytes
  UINT cch{0};
  HBITMAP hbmpItem{nullptr};
};
using LPMENUITEMINFO = MENUITEMINFO*;
using LPCMENUITEMINFO = const MENUITEMINFO*;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its pop-ups; FALSE for an unknown handle.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// newItem is a command id, or the pop-up's HMENU with MF_POPUP; text is the item's text, or the
// item data with MF_OWNERDRAW.
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR newItem, LPCTSTR text);
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCTSTR text);
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCTSTR text);
// RemoveMenu keeps a pop-up alive; DeleteMenu destroys it.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
HMENU GetSubMenu(HMENU menu, int position);
// -1 for an unknown handle.
int GetMenuItemCount(HMENU menu);
// -1 for a pop-up or a bad position; 0 for a separator.
UINT GetMenuItemID(HMENU menu, int position);
// Copies the text (at most maxCount - 1 bytes); returns its length. buffer null: the length.
int GetMenuString(HMENU menu, UINT item, LPTSTR buffer, int maxCount, UINT flags);
// Return the previous state, or (UINT)-1 when the item does not exist.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
// MF_ flags of the item; for a pop-up the item count in the high byte. (UINT)-1 when none.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFO info);
BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info);
// The menu resource name of module; null when there is none.
HMENU LoadMenu(HINSTANCE module, LPCTSTR name);
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
// Repaints the menu bar of hwnd (nothing to paint without a menu); FALSE for an unknown window.
BOOL DrawMenuBar(HWND hwnd);
// The screen rectangle of item (a position) of hwnd's menu bar; FALSE when menu is not the bar
// hwnd shows or the position has no item.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect);
// Shows a pop-up for owner (headless: the UI script picks the command, none by default). Sends
// WM_INITMENUPOPUP first; a grayed or missing command counts as none. With TPM_RETURNCMD returns
// the command (0: none); otherwise posts WM_COMMAND to owner and returns TRUE when one was chosen.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, LPCRECT rect);

// ---- accelerators ----

constexpr BYTE FVIRTKEY = 0x01, FNOINVERT = 0x02, FSHIFT = 0x04, FCONTROL = 0x08, FALT = 0x10;

struct ACCEL {
  BYTE fVirt{0};  // FVIRTKEY: key is a virtual key; else a character
  WORD key{0};
  WORD cmd{0};
};
using LPACCEL = ACCEL*;

HACCEL CreateAcceleratorTable(const ACCEL* entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
// Loads an accelerator resource of module (a new handle per call; tables are never changed).
HACCEL LoadAccelerators(HINSTANCE module, LPCTSTR name);
// Copies at most count entries into entries; with entries null returns the table's size.
int CopyAcceleratorTable(HACCEL table, LPACCEL entries, int count);
// A key message matching an entry (modifiers as held) becomes WM_COMMAND (high word 1) sent to
// hwnd; TRUE then.
int TranslateAccelerator(HWND hwnd, HACCEL table, MSG* msg);

constexpr UINT MAPVK_VK_TO_VSC = 0, MAPVK_VSC_TO_VK = 1, MAPVK_VK_TO_CHAR = 2;
// Virtual key <-> scan code (0 when there is none).
UINT MapVirtualKey(UINT code, UINT mapType);
// The name of the key of lParam's scan code (bits 16-23, extended bit 24); returns its length.
int GetKeyNameText(LONG lParam, LPTSTR buffer, int size);

// ---- CMenu ----

class CMenu : public CObject {
public:
  CMenu() = default;
  // Destroys an attached menu.
  ~CMenu() override;
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  HMENU m_hMenu{nullptr};

  operator HMENU() const { return m_hMenu; }
  HMENU GetSafeHmenu() const { return m_hMenu; }
  // The attached object, else a temporary one owned by the menu (valid until it is destroyed).
  static CMenu* FromHandle(HMENU menu);
  BOOL Attach(HMENU menu);
  HMENU Detach();

  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  BOOL LoadMenu(UINT id);
  BOOL LoadMenu(LPCTSTR name);
  BOOL DestroyMenu();

  BOOL AppendMenu(UINT flags, UINT_PTR newItem = 0, LPCTSTR text = nullptr);
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR newItem = 0, LPCTSTR text = nullptr);
  BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR newItem = 0, LPCTSTR text = nullptr);
  BOOL RemoveMenu(UINT position, UINT flags);
  BOOL DeleteMenu(UINT position, UINT flags);
  CMenu* GetSubMenu(int position) const;
  UINT GetMenuItemCount() const;
  UINT GetMenuItemID(int position) const;
  int GetMenuString(UINT item, LPTSTR buffer, int maxCount, UINT flags) const;
  int GetMenuString(UINT item, CString& text, UINT flags) const;
  UINT CheckMenuItem(UINT item, UINT check);
  UINT EnableMenuItem(UINT item, UINT enable);
  UINT GetMenuState(UINT item, UINT flags) const;
  BOOL GetMenuItemInfo(UINT item, LPMENUITEMINFO info, BOOL byPosition = FALSE);
  BOOL SetMenuItemInfo(UINT item, LPCMENUITEMINFO info, BOOL byPosition = FALSE);
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);

private:
  bool m_temporary{false};
};

namespace platform {

// One item of a menu resource; a pop-up when it has items.
struct MenuItemTemplate {
  CString text;  // empty with id 0: a separator
  UINT id{0};
  UINT flags{0};  // MF_GRAYED, MF_CHECKED, ...
  std::vector<MenuItemTemplate> items;
};
// A menu resource: the items of the bar (or of the one pop-up).
struct MenuTemplate {
  std::vector<MenuItemTemplate> items;
};
void AddMenuResource(ResourceModule& module, UINT id, MenuTemplate menu);
// An accelerator resource.
struct AcceleratorTemplate {
  std::vector<ACCEL> entries;
};
void AddAcceleratorResource(ResourceModule& module, UINT id, AcceleratorTemplate table);

// Runs target's update handlers over popup's command items (WM_INITMENUPOPUP work of a frame):
// each handler enables, checks or renames its item; with disableIfNoHandler an item with no
// command handler is grayed.
void UpdateMenuCommands(CMenu* popup, CCmdTarget* target, BOOL disableIfNoHandler);

// ---- pop-up menu windows ----
// A window of class kPopupMenuClass shows one pop-up menu: text with the part after a tab
// right-aligned, separators, check marks, grayed items, the highlight and sub-menu arrows.
// Owner-drawn items are measured once at creation (WM_MEASUREITEM to the owner, ODT_MENU, the
// item's command and data) and drawn by the owner (WM_DRAWITEM with the menu as hwndItem). The
// window follows the mouse (moves highlight, a release on a command ends it) and the keys (up,
// down, Enter ends with the highlighted command, Escape ends with none). Opening sub-menus and
// closing the window are the tracker's work.

inline constexpr LPCTSTR kPopupMenuClass = "#32768";

// Creates a hidden top-level window for menu on behalf of owner, placed at the screen point by the
// TPM_ alignment flags and kept on the screen; show it with ShowWindow(SW_SHOWNOACTIVATE). Null
// for a bad menu or owner.
HWND CreatePopupMenuWindow(HMENU menu, HWND owner, POINT screen, UINT flags = 0);
// The menu a pop-up menu window shows; null for any other window.
HMENU GetPopupMenuWindowMenu(HWND popup);
// The item position under a client point of the window; -1 for none.
int PopupMenuItemFromPoint(HWND popup, POINT client);
// The item's rectangle in the window's client coordinates; FALSE for a bad window or position.
BOOL GetPopupMenuItemRect(HWND popup, int position, LPRECT rect);
// Highlights an item (-1: none) and repaints it; a separator or bad position highlights nothing
// and returns FALSE. The owner hears WM_MENUSELECT.
BOOL SetPopupMenuHighlight(HWND popup, int position);
// The highlighted position, -1 for none.
int GetPopupMenuHighlight(HWND popup);
// The command of the highlighted item if a person could choose it (not grayed, no separator, no
// sub-menu); 0 otherwise.
UINT GetPopupMenuCommand(HWND popup);
// Whether a click, Enter or Escape in the window ended the menu; command gets the command chosen
// then (0 for Escape). The window stays until the tracker destroys it.
BOOL IsPopupMenuEnded(HWND popup, UINT* command);

}  // namespace platform
