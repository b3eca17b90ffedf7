// Cursors and icons are identities only: a handle names a module and an id.
#include <map>
#include <utility>

#include "platform/resources.h"

namespace platform {
namespace {

// Marker kinds stored in a module's tables.
struct CursorResource {};
struct IconResource {};

struct HandleTable {
  std::map<std::pair<HINSTANCE, UINT>, std::uintptr_t> byIdentity;
  std::map<std::uintptr_t, CursorInfo> byHandle;
  std::uintptr_t next{0x20000};
};

HandleTable& Cursors() {
  static HandleTable table;
  return table;
}

HandleTable& Icons() {
  static HandleTable table;
  return table;
}

std::uintptr_t Intern(HandleTable& table, HINSTANCE module, UINT id) {
  auto [it, added] = table.byIdentity.emplace(std::make_pair(module, id), table.next);
  if (added) {
    table.byHandle[table.next] = CursorInfo{module, id};
    table.next += 2;
  }
  return it->second;
}

bool IsSystemCursor(UINT id) {
  return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32650);
}

bool IsSystemIcon(UINT id) { return id >= 32512 && id <= 32518; }

bool Describe(HandleTable& table, std::uintptr_t handle, CursorInfo* info) {
  auto it = table.byHandle.find(handle);
  if (it == table.byHandle.end()) return false;
  if (info) *info = it->second;
  return true;
}

HCURSOR& CurrentCursor() {
  static HCURSOR cursor{nullptr};
  return cursor;
}

// Looks up a cursor or icon of kind Marker; system ones when module is null.
template <class Marker>
std::uintptr_t Load(HandleTable& table, HINSTANCE module, LPCTSTR name, bool (*isSystem)(UINT)) {
  if (!IS_INTRESOURCE(name)) {
    ResourceModule* m = FindResourceModule(module);
    return m && m->Find<Marker>(name) ? Intern(table, module, 0) : 0;
  }
  UINT id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name));
  if (!module) return isSystem(id) ? Intern(table, nullptr, id) : 0;
  ResourceModule* m = FindResourceModule(module);
  return m && m->Find<Marker>(id) ? Intern(table, module, id) : 0;
}

}  // namespace

bool DescribeCursor(HCURSOR cursor, CursorInfo* info) {
  return Describe(Cursors(), reinterpret_cast<std::uintptr_t>(cursor), info);
}

bool DescribeIcon(HICON icon, CursorInfo* info) { return Describe(Icons(), reinterpret_cast<std::uintptr_t>(icon), info); }

void AddCursorResource(ResourceModule& module, UINT id) { module.Add<CursorResource>(id, CursorResource{}); }
void AddIconResource(ResourceModule& module, UINT id) { module.Add<IconResource>(id, IconResource{}); }

}  // namespace platform

HCURSOR LoadCursor(HINSTANCE module, LPCTSTR name) {
  using namespace platform;
  return reinterpret_cast<HCURSOR>(Load<CursorResource>(Cursors(), module, name, &IsSystemCursor));
}

HICON LoadIcon(HINSTANCE module, LPCTSTR name) {
  using namespace platform;
  return reinterpret_cast<HICON>(Load<IconResource>(Icons(), module, name, &IsSystemIcon));
}

HCURSOR AfxLoadCursor(UINT id) { return LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(id)); }
HCURSOR AfxLoadStandardCursor(LPCTSTR name) { return LoadCursor(nullptr, name); }
HICON AfxLoadIcon(UINT id) { return LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(id)); }

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = platform::CurrentCursor();
  platform::CurrentCursor() = cursor;
  return previous;
}

HCURSOR GetCursor() { return platform::CurrentCursor(); }

int ShowCursor(BOOL show) {
  static int count = 0;
  count += show ? 1 : -1;
  return count;
}
