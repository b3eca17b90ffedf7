// Menu handles and their items, CMenu, and menu resources.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>

#include "MenuBar.h"
#include "platform/menus.h"

namespace {

struct MenuItem {
  UINT type{MFT_STRING};  // MFT_ bits
  UINT state{0};          // MFS_ bits
  UINT id{0};
  HMENU sub{nullptr};
  CString text;
  ULONG_PTR data{0};
  HBITMAP bitmap{nullptr};
  HBITMAP checked{nullptr};
  HBITMAP unchecked{nullptr};
};

struct MenuData {
  bool popup{false};
  std::vector<MenuItem> items;
  CMenu* object{nullptr};               // attached permanent object
  std::unique_ptr<CMenu> temporary;     // made by FromHandle
};

struct MenuStore {
  std::map<HMENU, MenuData> menus;
  std::uintptr_t next{0x3000};
};

MenuStore& Store() {
  static MenuStore store;
  return store;
}

MenuData* FindMenu(HMENU menu) {
  auto it = Store().menus.find(menu);
  return it == Store().menus.end() ? nullptr : &it->second;
}

HMENU NewMenu(bool popup) {
  HMENU handle = reinterpret_cast<HMENU>(Store().next++);
  Store().menus[handle].popup = popup;
  return handle;
}

// The item at position, or the first item with command id (searching pop-ups deeply); its menu
// and index are reported.
MenuItem* Locate(HMENU menu, UINT item, UINT flags, HMENU* owner = nullptr, std::size_t* index = nullptr) {
  MenuData* data = FindMenu(menu);
  if (!data) return nullptr;
  if (flags & MF_BYPOSITION) {
    if (item >= data->items.size()) return nullptr;
    if (owner) *owner = menu;
    if (index) *index = item;
    return &data->items[item];
  }
  for (std::size_t i = 0; i < data->items.size(); ++i) {
    MenuItem& candidate = data->items[i];
    if (!candidate.sub && !(candidate.type & MFT_SEPARATOR) && candidate.id == item) {
      if (owner) *owner = menu;
      if (index) *index = i;
      return &candidate;
    }
    if (candidate.sub) {
      if (MenuItem* found = Locate(candidate.sub, item, flags, owner, index)) return found;
    }
  }
  return nullptr;
}

// An item as AppendMenu's arguments describe it; false when they are contradictory.
bool MakeItem(UINT flags, UINT_PTR newItem, LPCTSTR text, MenuItem* out) {
  MenuItem item;
  item.type = flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW | MF_MENUBREAK | MF_MENUBARBREAK | MF_RIGHTJUSTIFY);
  item.state = (flags & (MF_GRAYED | MF_DISABLED) ? MFS_GRAYED : 0) | (flags & MF_CHECKED) | (flags & MF_DEFAULT) |
               (flags & MF_HILITE);
  if (flags & MF_POPUP) {
    item.sub = reinterpret_cast<HMENU>(newItem);
    if (!FindMenu(item.sub)) return false;
  } else {
    item.id = static_cast<UINT>(newItem);
  }
  if (flags & MF_OWNERDRAW) {
    item.data = reinterpret_cast<ULONG_PTR>(text);
  } else if (flags & MF_BITMAP) {
    item.bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(text));
  } else if (!(flags & MF_SEPARATOR)) {
    item.text = text ? text : "";
  }
  *out = std::move(item);
  return true;
}

void DestroyTree(HMENU menu) {
  MenuData* data = FindMenu(menu);
  if (!data) return;
  std::vector<HMENU> subs;
  for (const MenuItem& item : data->items) {
    if (item.sub) subs.push_back(item.sub);
  }
  if (data->object) data->object->m_hMenu = nullptr;
  Store().menus.erase(menu);
  for (HMENU sub : subs) DestroyTree(sub);
}

HMENU BuildMenu(const std::vector<platform::MenuItemTemplate>& items, bool popup) {
  HMENU menu = NewMenu(popup);
  for (const platform::MenuItemTemplate& item : items) {
    if (!item.items.empty()) {
      ::AppendMenu(menu, MF_POPUP | item.flags, reinterpret_cast<UINT_PTR>(BuildMenu(item.items, true)), item.text);
    } else if (item.id == 0 && item.text.IsEmpty()) {
      ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      ::AppendMenu(menu, MF_STRING | item.flags, item.id, item.text);
    }
  }
  return menu;
}

UINT StateFlags(const MenuItem& item) {
  UINT flags = item.type | item.state;
  if (item.sub) flags |= MF_POPUP | (static_cast<UINT>(FindMenu(item.sub)->items.size()) << 8);
  return flags;
}

}  // namespace

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu) {
  if (!FindMenu(menu)) return FALSE;
  DestroyTree(menu);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return FindMenu(menu) != nullptr; }

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR newItem, LPCTSTR text) {
  MenuData* data = FindMenu(menu);
  MenuItem item;
  if (!data || !MakeItem(flags, newItem, text, &item)) return FALSE;
  data->items.push_back(std::move(item));
  return TRUE;
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCTSTR text) {
  MenuData* data = FindMenu(menu);
  MenuItem item;
  if (!data || !MakeItem(flags, newItem, text, &item)) return FALSE;
  HMENU owner = menu;
  std::size_t index = data->items.size();
  if (!(flags & MF_BYPOSITION) || position < data->items.size()) {
    if (!Locate(menu, position, flags, &owner, &index)) {
      if (!(flags & MF_BYPOSITION)) return FALSE;
    }
  }
  auto& items = FindMenu(owner)->items;
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(std::min(index, items.size())), std::move(item));
  return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCTSTR text) {
  MenuItem* target = Locate(menu, position, flags);
  MenuItem item;
  if (!target || !MakeItem(flags, newItem, text, &item)) return FALSE;
  // A pop-up replaced by something else is destroyed, as the item owned it.
  if (target->sub && target->sub != item.sub) DestroyTree(target->sub);
  *target = std::move(item);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  HMENU owner = nullptr;
  std::size_t index = 0;
  if (!Locate(menu, position, flags, &owner, &index)) return FALSE;
  auto& items = FindMenu(owner)->items;
  items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  MenuItem* item = Locate(menu, position, flags);
  if (!item) return FALSE;
  HMENU sub = item->sub;
  if (!RemoveMenu(menu, position, flags)) return FALSE;
  if (sub) DestroyTree(sub);
  return TRUE;
}

HMENU GetSubMenu(HMENU menu, int position) {
  MenuItem* item = position < 0 ? nullptr : Locate(menu, static_cast<UINT>(position), MF_BYPOSITION);
  return item ? item->sub : nullptr;
}

int GetMenuItemCount(HMENU menu) {
  MenuData* data = FindMenu(menu);
  return data ? static_cast<int>(data->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  MenuItem* item = position < 0 ? nullptr : Locate(menu, static_cast<UINT>(position), MF_BYPOSITION);
  if (!item || item->sub) return static_cast<UINT>(-1);
  return (item->type & MFT_SEPARATOR) ? 0 : item->id;
}

int GetMenuString(HMENU menu, UINT position, LPTSTR buffer, int maxCount, UINT flags) {
  MenuItem* item = Locate(menu, position, flags);
  if (!item) return 0;
  int length = item->text.GetLength();
  if (!buffer) return length;
  if (maxCount <= 0) return 0;
  int copied = std::min(length, maxCount - 1);
  std::memcpy(buffer, item->text.GetString(), static_cast<std::size_t>(copied));
  buffer[copied] = '\0';
  return copied;
}

DWORD CheckMenuItem(HMENU menu, UINT position, UINT check) {
  MenuItem* item = Locate(menu, position, check);
  if (!item) return static_cast<DWORD>(-1);
  DWORD previous = item->state & MF_CHECKED;
  item->state = (item->state & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT position, UINT enable) {
  MenuItem* item = Locate(menu, position, enable);
  if (!item) return static_cast<BOOL>(-1);
  BOOL previous = static_cast<BOOL>(item->state & MFS_GRAYED);
  item->state = (item->state & ~MFS_GRAYED) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

UINT GetMenuState(HMENU menu, UINT position, UINT flags) {
  MenuItem* item = Locate(menu, position, flags);
  return item ? StateFlags(*item) : static_cast<UINT>(-1);
}

BOOL GetMenuItemInfo(HMENU menu, UINT position, BOOL byPosition, LPMENUITEMINFO info) {
  MenuItem* item = info ? Locate(menu, position, byPosition ? MF_BYPOSITION : MF_BYCOMMAND) : nullptr;
  if (!item) return FALSE;
  UINT mask = info->fMask;
  if (mask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = item->type;
  if (mask & MIIM_STATE) info->fState = item->state;
  if (mask & MIIM_ID) info->wID = item->id;
  if (mask & MIIM_SUBMENU) info->hSubMenu = item->sub;
  if (mask & MIIM_DATA) info->dwItemData = item->data;
  if (mask & MIIM_BITMAP) info->hbmpItem = item->bitmap;
  if (mask & MIIM_CHECKMARKS) {
    info->hbmpChecked = item->checked;
    info->hbmpUnchecked = item->unchecked;
  }
  if ((mask & (MIIM_STRING | MIIM_TYPE)) && !(item->type & (MFT_OWNERDRAW | MFT_SEPARATOR | MFT_BITMAP))) {
    UINT length = static_cast<UINT>(item->text.GetLength());
    if (info->dwTypeData && info->cch > 0) {
      UINT copied = std::min(length, info->cch - 1);
      std::memcpy(info->dwTypeData, item->text.GetString(), copied);
      info->dwTypeData[copied] = '\0';
      info->cch = copied;
    } else {
      info->cch = length;
    }
  }
  return TRUE;
}

BOOL SetMenuItemInfo(HMENU menu, UINT position, BOOL byPosition, LPCMENUITEMINFO info) {
  MenuItem* item = info ? Locate(menu, position, byPosition ? MF_BYPOSITION : MF_BYCOMMAND) : nullptr;
  if (!item) return FALSE;
  UINT mask = info->fMask;
  if (mask & MIIM_SUBMENU) {
    if (info->hSubMenu && !FindMenu(info->hSubMenu)) return FALSE;
    item->sub = info->hSubMenu;
  }
  if (mask & (MIIM_TYPE | MIIM_FTYPE)) item->type = info->fType;
  if (mask & MIIM_STATE) item->state = info->fState;
  if (mask & MIIM_ID) item->id = info->wID;
  if (mask & MIIM_DATA) item->data = info->dwItemData;
  if (mask & MIIM_BITMAP) item->bitmap = info->hbmpItem;
  if (mask & MIIM_CHECKMARKS) {
    item->checked = info->hbmpChecked;
    item->unchecked = info->hbmpUnchecked;
  }
  bool textGiven = (mask & MIIM_STRING) || ((mask & MIIM_TYPE) && !(info->fType & (MFT_OWNERDRAW | MFT_SEPARATOR | MFT_BITMAP)));
  if (textGiven) item->text = info->dwTypeData ? info->dwTypeData : "";
  return TRUE;
}

HMENU LoadMenu(HINSTANCE module, LPCTSTR name) {
  platform::ResourceModule* resources = module ? platform::FindResourceModule(module) : platform::CurrentResourceModule();
  const platform::MenuTemplate* tmpl = resources ? resources->Find<platform::MenuTemplate>(name) : nullptr;
  return tmpl ? BuildMenu(tmpl->items, false) : nullptr;
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  if (!::IsWindow(hwnd) || (menu && !FindMenu(menu))) return FALSE;
  platform::SetWindowMenuHandle(hwnd, menu);
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  CWnd* wnd = CWnd::FromHandle(hwnd);
  return wnd ? wnd->GetMenuHandle() : nullptr;
}

BOOL DrawMenuBar(HWND hwnd) {
  if (!::IsWindow(hwnd)) return FALSE;
  platform::detail::PaintMenuBar(hwnd);
  return TRUE;
}

// ---- CMenu ----

CMenu::~CMenu() {
  if (!m_temporary && m_hMenu) DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU menu) {
  MenuData* data = FindMenu(menu);
  if (!data) return nullptr;
  if (data->object) return data->object;
  if (!data->temporary) {
    data->temporary = std::make_unique<CMenu>();
    data->temporary->m_hMenu = menu;
    data->temporary->m_temporary = true;
  }
  return data->temporary.get();
}

BOOL CMenu::Attach(HMENU menu) {
  MenuData* data = FindMenu(menu);
  if (!data || m_hMenu || data->object) return FALSE;
  data->object = this;
  m_hMenu = menu;
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU menu = m_hMenu;
  if (MenuData* data = FindMenu(menu); data && data->object == this) data->object = nullptr;
  m_hMenu = nullptr;
  return menu;
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
BOOL CMenu::LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCE(id)); }

BOOL CMenu::LoadMenu(LPCTSTR name) {
  if (m_hMenu) return FALSE;
  HMENU menu = ::LoadMenu(nullptr, name);
  return menu ? Attach(menu) : FALSE;
}

BOOL CMenu::DestroyMenu() {
  HMENU menu = Detach();
  return menu ? ::DestroyMenu(menu) : FALSE;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR newItem, LPCTSTR text) { return ::AppendMenu(m_hMenu, flags, newItem, text); }
BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR newItem, LPCTSTR text) {
  return ::InsertMenu(m_hMenu, position, flags, newItem, text);
}
BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR newItem, LPCTSTR text) {
  return ::ModifyMenu(m_hMenu, position, flags, newItem, text);
}
BOOL CMenu::RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
BOOL CMenu::DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
CMenu* CMenu::GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
UINT CMenu::GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
UINT CMenu::GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
int CMenu::GetMenuString(UINT item, LPTSTR buffer, int maxCount, UINT flags) const {
  return ::GetMenuString(m_hMenu, item, buffer, maxCount, flags);
}
int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const {
  MenuItem* found = Locate(m_hMenu, item, flags);
  text = found ? found->text : CString();
  return text.GetLength();
}
UINT CMenu::CheckMenuItem(UINT item, UINT check) { return ::CheckMenuItem(m_hMenu, item, check); }
UINT CMenu::EnableMenuItem(UINT item, UINT enable) { return static_cast<UINT>(::EnableMenuItem(m_hMenu, item, enable)); }
UINT CMenu::GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
BOOL CMenu::GetMenuItemInfo(UINT item, LPMENUITEMINFO info, BOOL byPosition) {
  return ::GetMenuItemInfo(m_hMenu, item, byPosition, info);
}
BOOL CMenu::SetMenuItemInfo(UINT item, LPCMENUITEMINFO info, BOOL byPosition) {
  return ::SetMenuItemInfo(m_hMenu, item, byPosition, info);
}
BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) {
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, platform::SafeHwnd(owner), rect);
}

namespace platform {

CMenu* MenuFromHandle(HMENU menu) { return CMenu::FromHandle(menu); }

void AddMenuResource(ResourceModule& module, UINT id, MenuTemplate menu) { module.Add<MenuTemplate>(id, std::move(menu)); }

}  // namespace platform
