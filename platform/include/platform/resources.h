#pragma once
// Resource modules: each program and the control module registers its own resource table under
// its HINSTANCE; lookups go to the current resource module. Ids overlap between modules, so there
// is never one global table.

#include <any>
#include <map>
#include <memory>
#include <string>
#include <typeindex>

#include "platform/strings.h"
#include "platform/types.h"

// A resource name is either a number made with MAKEINTRESOURCE or a string.
inline LPCTSTR MAKEINTRESOURCE(UINT id) { return reinterpret_cast<LPCTSTR>(static_cast<std::uintptr_t>(id & 0xFFFF)); }
inline bool IS_INTRESOURCE(LPCTSTR name) { return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0; }

namespace platform {

// One module's resources: strings, and tables of any other kind keyed by type (dialog templates,
// menus, bitmaps, ... are added by the areas that define those kinds).
class ResourceModule {
public:
  explicit ResourceModule(std::string name);
  ResourceModule(const ResourceModule&) = delete;
  ResourceModule& operator=(const ResourceModule&) = delete;

  HINSTANCE Handle() const { return m_handle; }
  const std::string& Name() const { return m_name; }

  void AddString(UINT id, const char* text);
  // Null when the module has no string id.
  const CString* FindString(UINT id) const;

  // Stores value of kind T under name (a MAKEINTRESOURCE id or a string), replacing an old one.
  template <class T>
  void Add(LPCTSTR name, T value) { Table(typeid(T))[KeyOf(name)] = std::move(value); }
  template <class T>
  void Add(UINT id, T value) { Add<T>(MAKEINTRESOURCE(id), std::move(value)); }
  // Null when there is no resource of kind T under name.
  template <class T>
  const T* Find(LPCTSTR name) const {
    const auto* table = FindTable(typeid(T));
    if (!table) return nullptr;
    auto it = table->find(KeyOf(name));
    return it == table->end() ? nullptr : std::any_cast<T>(&it->second);
  }
  template <class T>
  const T* Find(UINT id) const { return Find<T>(MAKEINTRESOURCE(id)); }

  // The table key of a name: "#id" for numbers, the string itself otherwise.
  static std::string KeyOf(LPCTSTR name);

private:
  using KindTable = std::map<std::string, std::any>;
  KindTable& Table(std::type_index kind) { return m_tables[kind]; }
  const KindTable* FindTable(std::type_index kind) const;

  std::string m_name;
  HINSTANCE m_handle{nullptr};
  std::map<UINT, CString> m_strings;
  std::map<std::type_index, KindTable> m_tables;
};

// Creates a module (owned by the platform for the life of the process) and returns it; its handle
// identifies it from then on.
ResourceModule& CreateResourceModule(const std::string& name);
// The module of a handle; null for an unknown handle.
ResourceModule* FindResourceModule(HINSTANCE handle);
// The current resource module; null when none was set.
ResourceModule* CurrentResourceModule();
// Sets the program's instance handle (and the resource handle, when none is set yet).
void SetInstanceHandle(HINSTANCE handle);

// RAII: makes handle the current resource module for a scope (a module's entry points use it).
class ResourceScope {
public:
  explicit ResourceScope(HINSTANCE handle);
  ~ResourceScope();
  ResourceScope(const ResourceScope&) = delete;
  ResourceScope& operator=(const ResourceScope&) = delete;

private:
  HINSTANCE m_previous{nullptr};
};

// A cursor or icon handle: the module that defined it (null for a system one) and its id.
struct CursorInfo {
  HINSTANCE module{nullptr};
  UINT id{0};
};
// What a cursor or icon handle stands for; false for an unknown handle.
bool DescribeCursor(HCURSOR cursor, CursorInfo* info);
bool DescribeIcon(HICON icon, CursorInfo* info);
// Marks id as a cursor / icon resource of a module (the programs' resource tables call these).
void AddCursorResource(ResourceModule& module, UINT id);
void AddIconResource(ResourceModule& module, UINT id);

}  // namespace platform

// Loads string resource id from the current resource module into out; FALSE when there is none.
BOOL AfxLoadStringResource(UINT id, CString& out);
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE handle);
HINSTANCE AfxGetInstanceHandle();
// Copies string id of module into buffer (at most maxCount - 1 bytes); returns the length, 0 if none.
int LoadString(HINSTANCE module, UINT id, LPTSTR buffer, int maxCount);

// System cursors and icons (module null).
inline const LPCTSTR IDC_ARROW = MAKEINTRESOURCE(32512);
inline const LPCTSTR IDC_IBEAM = MAKEINTRESOURCE(32513);
inline const LPCTSTR IDC_WAIT = MAKEINTRESOURCE(32514);
inline const LPCTSTR IDC_CROSS = MAKEINTRESOURCE(32515);
inline const LPCTSTR IDC_UPARROW = MAKEINTRESOURCE(32516);
inline const LPCTSTR IDC_SIZENWSE = MAKEINTRESOURCE(32642);
inline const LPCTSTR IDC_SIZENESW = MAKEINTRESOURCE(32643);
inline const LPCTSTR IDC_SIZEWE = MAKEINTRESOURCE(32644);
inline const LPCTSTR IDC_SIZENS = MAKEINTRESOURCE(32645);
inline const LPCTSTR IDC_SIZEALL = MAKEINTRESOURCE(32646);
inline const LPCTSTR IDC_NO = MAKEINTRESOURCE(32648);
inline const LPCTSTR IDC_HAND = MAKEINTRESOURCE(32649);
inline const LPCTSTR IDC_APPSTARTING = MAKEINTRESOURCE(32650);
inline const LPCTSTR IDI_APPLICATION = MAKEINTRESOURCE(32512);
inline const LPCTSTR IDI_HAND = MAKEINTRESOURCE(32513);
inline const LPCTSTR IDI_QUESTION = MAKEINTRESOURCE(32514);
inline const LPCTSTR IDI_EXCLAMATION = MAKEINTRESOURCE(32515);
inline const LPCTSTR IDI_ASTERISK = MAKEINTRESOURCE(32516);

// A cursor of module (null module: a system cursor); null when the module has no such cursor.
HCURSOR LoadCursor(HINSTANCE module, LPCTSTR name);
HICON LoadIcon(HINSTANCE module, LPCTSTR name);
// Current-module and system shortcuts of the class library.
HCURSOR AfxLoadCursor(UINT id);
HCURSOR AfxLoadStandardCursor(LPCTSTR name);
HICON AfxLoadIcon(UINT id);
// Sets the mouse cursor; returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
int ShowCursor(BOOL show);
