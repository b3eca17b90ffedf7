#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "RegistryStore.h"
#include "platform/registry.h"

namespace {

using platform::RegistryStore;
using Key = RegistryStore::Key;

// An opened key: which root, the names below it, and what it may do.
struct OpenedKey {
  HKEY root{nullptr};
  std::vector<std::string> path;
  REGSAM access{0};
};

// Handles of opened keys; numbers never collide with the roots.
class HandleTable {
public:
  HKEY Add(OpenedKey key) {
    HKEY handle = reinterpret_cast<HKEY>(m_next++);
    m_keys.emplace(handle, std::move(key));
    return handle;
  }
  const OpenedKey* Find(HKEY handle) const {
    auto it = m_keys.find(handle);
    return it == m_keys.end() ? nullptr : &it->second;
  }
  bool Remove(HKEY handle) { return m_keys.erase(handle) > 0; }

private:
  std::map<HKEY, OpenedKey> m_keys;
  std::uintptr_t m_next{0x1000};
};

HandleTable& Handles() {
  static HandleTable table;
  return table;
}

std::vector<std::string> SplitPath(const char* subKey) {
  std::vector<std::string> names;
  std::string name;
  for (const char* p = subKey ? subKey : ""; *p; ++p) {
    if (*p == '\\') {
      if (!name.empty()) names.push_back(name);
      name.clear();
    } else {
      name += *p;
    }
  }
  if (!name.empty()) names.push_back(name);
  return names;
}

// What a handle stands for: a root with all access, or an opened key.
std::optional<OpenedKey> Describe(HKEY key) {
  if (RegistryStore::Instance().Root(key)) return OpenedKey{key, {}, KEY_ALL_ACCESS};
  if (const OpenedKey* opened = Handles().Find(key)) return *opened;
  return std::nullopt;
}

Key* Walk(const OpenedKey& from, const std::vector<std::string>& names) {
  Key* key = RegistryStore::Instance().Root(from.root);
  for (const auto* list : {&from.path, &names}) {
    for (const std::string& name : *list) {
      if (!key) return nullptr;
      key = key->Child(name);
    }
  }
  return key;
}

bool Allows(REGSAM granted, REGSAM needed) { return (granted & needed & 0xFFFF) == (needed & 0xFFFF); }

bool Refuses(const Key& key, REGSAM access) { return key.isProtected && (access & ~KEY_READ & 0xFFFF) != 0; }

// Resolves a handle to its key, checking the access the call needs.
LONG Resolve(HKEY handle, REGSAM needed, Key*& key, OpenedKey* description = nullptr) {
  std::optional<OpenedKey> opened = Describe(handle);
  if (!opened) return ERROR_INVALID_HANDLE;
  if (!Allows(opened->access, needed)) return ERROR_ACCESS_DENIED;
  key = Walk(*opened, {});
  if (!key) return ERROR_KEY_DELETED;
  if (description) *description = *opened;
  return ERROR_SUCCESS;
}

HKEY OpenHandle(const OpenedKey& parent, const std::vector<std::string>& names, REGSAM access) {
  OpenedKey child = parent;
  child.path.insert(child.path.end(), names.begin(), names.end());
  child.access = access;
  return Handles().Add(std::move(child));
}

// Copies bytes to the caller with the size protocol of the query functions.
LONG GiveData(const std::string& bytes, BYTE* data, DWORD* dataSize) {
  if (data && !dataSize) return ERROR_INVALID_PARAMETER;
  if (!dataSize) return ERROR_SUCCESS;
  DWORD needed = static_cast<DWORD>(bytes.size());
  if (data && *dataSize < needed) {
    *dataSize = needed;
    return ERROR_MORE_DATA;
  }
  if (data && needed) std::memcpy(data, bytes.data(), needed);
  *dataSize = needed;
  return ERROR_SUCCESS;
}

// Copies a name into a buffer of *size characters; on return *size is the name's length.
LONG GiveName(const std::string& name, char* buffer, DWORD* size) {
  if (!buffer || !size) return ERROR_INVALID_PARAMETER;
  if (*size <= name.size()) {
    *size = static_cast<DWORD>(name.size() + 1);
    return ERROR_MORE_DATA;
  }
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  *size = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

LONG Committed() { return RegistryStore::Instance().Commit() ? ERROR_SUCCESS : ERROR_CANTWRITE; }

}  // namespace

LONG RegOpenKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM access, PHKEY result) {
  (void)options;
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::lock_guard lock(RegistryStore::Instance().Mutex());
  RegistryStore::Instance().Refresh();
  std::optional<OpenedKey> parent = Describe(key);
  if (!parent) return ERROR_INVALID_HANDLE;
  std::vector<std::string> names = SplitPath(subKey);
  Key* found = Walk(*parent, names);
  if (!found) return Walk(*parent, {}) ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
  if (Refuses(*found, access)) return ERROR_ACCESS_DENIED;
  *result = OpenHandle(*parent, names, access);
  return ERROR_SUCCESS;
}

LONG RegOpenKey(HKEY key, const char* subKey, PHKEY result) {
  LONG status = RegOpenKeyEx(key, subKey, 0, KEY_ALL_ACCESS, result);
  return status == ERROR_ACCESS_DENIED ? RegOpenKeyEx(key, subKey, 0, KEY_READ, result) : status;
}

LONG RegCreateKeyEx(HKEY key, const char* subKey, DWORD reserved, char* keyClass, DWORD options, REGSAM access,
                    void* security, PHKEY result, DWORD* disposition) {
  (void)reserved, (void)keyClass, (void)options, (void)security;
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::lock_guard lock(RegistryStore::Instance().Mutex());
  RegistryStore::ChangeLock change(RegistryStore::Instance());
  RegistryStore::Instance().Refresh();
  std::vector<std::string> names = SplitPath(subKey);
  Key* base = nullptr;
  OpenedKey parent;
  if (LONG status = Resolve(key, names.empty() ? 0 : KEY_CREATE_SUB_KEY, base, &parent); status != ERROR_SUCCESS)
    return status;
  if (parent.path.size() + names.size() > RegistryStore::kMaxDepth) return ERROR_INVALID_PARAMETER;
  bool created = false;
  Key* current = base;
  for (const std::string& name : names) {
    Key* child = current->Child(name);
    if (!child) {
      child = current->AddChild(name);
      if (!child) return ERROR_INVALID_PARAMETER;  // the path splits at backslashes: cannot happen
      created = true;
    }
    current = child;
  }
  if (Refuses(*current, access)) return ERROR_ACCESS_DENIED;
  if (created && !RegistryStore::Instance().Commit()) return ERROR_CANTWRITE;
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *result = OpenHandle(parent, names, access);
  return ERROR_SUCCESS;
}

LONG RegCreateKey(HKEY key, const char* subKey, PHKEY result) {
  return RegCreateKeyEx(key, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, result, nullptr);
}

LONG RegCloseKey(HKEY key) {
  std::lock_guard lock(RegistryStore::Instance().Mutex());
  if (RegistryStore::Instance().Root(key)) return ERROR_SUCCESS;
  return Handles().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegQueryValueEx(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize) {
  (void)reserved;
  std::lock_guard lock(RegistryStore::Instance().Mutex());
  RegistryStore::Instance().Refresh();
  Key* found = nullptr;
  if (LONG status = Resolve(key, KEY_QUERY_VALUE, found); status != ERROR_SUCCESS) return status;
  const RegistryStore::Value* value = found->FindValue(valueName ? valueName : "");
  if (!value) return ERROR_FILE_NOT_FOUND;
  if (type) *type = value->type;
  return GiveData(value->data, data, dataSize);
}

LONG RegQueryValue(HKEY key, const char* subKey, char* value, LONG* valueSize) {
  if (value && !valueSize) return ERROR_INVALID_PARAMETER;
  HKEY opened = nullptr;
  if (LONG status = RegOpenKeyEx(key, subKey, 0, KEY_QUERY_VALUE, &opened); status != ERROR_SUCCESS) return status;
  DWORD type = REG_NONE;
  DWORD size = 0;
  LONG status = RegQueryValueEx(opened, "", nullptr, &type, nullptr, &size);
  std::string text;
  if (status == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ) status = ERROR_FILE_NOT_FOUND;
  if (status == ERROR_SUCCESS && size > 0) {
    text.resize(size);
    status = RegQueryValueEx(opened, "", nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &size);
    text.resize(size);
  }
  RegCloseKey(opened);
  if (status == ERROR_FILE_NOT_FOUND && type == REG_NONE) status = ERROR_SUCCESS;  // no default value reads as ""
  if (status != ERROR_SUCCESS) return status;
  if (text.empty() || text.back() != '\0') text += '\0';
  DWORD given = valueSize ? static_cast<DWORD>(*valueSize < 0 ? 0 : *valueSize) : 0;
  status = GiveData(text, reinterpret_cast<BYTE*>(value), valueSize ? &given : nullptr);
  if (valueSize) *valueSize = static_cast<LONG>(given);
  return status;
}

LONG RegSetValueEx(HKEY key, const char* valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
  (void)reserved;
  if (!data && size) return ERROR_INVALID_PARAMETER;
  std::lock_guard lock(RegistryStore::Instance().Mutex());
  RegistryStore::ChangeLock change(RegistryStore::Instance());
  RegistryStore::Instance().Refresh();
  Key* found = nullptr;
  if (LONG status = Resolve(key, KEY_SET_VALUE, found); status != ERROR_SUCCESS) return status;
  found->SetValue(valueName ? valueName : "", type, std::string(reinterpret_cast<const char*>(data), data ? size : 0));
  return Committed();
}

LONG RegSetValue(HKEY key, const char* subKey, DWORD type, const char* data, DWORD size) {
  (void)size;  // the stored length is the text's own, whatever the caller says
  if (type != REG_SZ || !data) return ERROR_INVALID_PARAMETER;
  HKEY opened = nullptr;
  if (LONG status = RegCreateKeyEx(key, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr);
      status != ERROR_SUCCESS)
    return status;
  LONG status = RegSetValueEx(opened, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                              static_cast<DWORD>(std::strlen(data) + 1));
  RegCloseKey(opened);
  return status;
}

LONG RegDeleteValue(HKEY key, const char* valueName) {
  std::lock_guard lock(RegistryStore::Instance().Mutex());
  RegistryStore::ChangeLock change(RegistryStore::Instance());
  RegistryStore::Instance().Refresh();
  Key* found = nullptr;
  if (LONG status = Resolve(key, KEY_SET_VALUE, found); status != ERROR_SUCCESS) return status;
  if (!found->RemoveValue(valueName ? valueName : "")) return ERROR_FILE_NOT_FOUND;
  return Committed();
}

LONG RegDeleteKey(HKEY key, const char* subKey) {
  std::vector<std::string> names = SplitPath(subKey);
  if (names.empty()) return ERROR_INVALID_PARAMETER;
  std::lock_guard lock(RegistryStore::Instance().Mutex());
  RegistryStore::ChangeLock change(RegistryStore::Instance());
  RegistryStore::Instance().Refresh();
  std::optional<OpenedKey> parent = Describe(key);
  if (!parent) return ERROR_INVALID_HANDLE;
  std::vector<std::string> parentNames(names.begin(), names.end() - 1);
  Key* holder = Walk(*parent, parentNames);
  Key* victim = holder ? holder->Child(names.back()) : nullptr;
  if (!victim) return ERROR_FILE_NOT_FOUND;
  if (!victim->children.empty() || victim->isProtected) return ERROR_ACCESS_DENIED;
  holder->RemoveChild(victim);
  return Committed();
}

LONG RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* reserved, char* keyClass,
                  DWORD* keyClassSize, void* lastWriteTime) {
  (void)reserved, (void)lastWriteTime;
  std::lock_guard lock(RegistryStore::Instance().Mutex());
  RegistryStore::Instance().Refresh();
  Key* found = nullptr;
  if (LONG status = Resolve(key, KEY_ENUMERATE_SUB_KEYS, found); status != ERROR_SUCCESS) return status;
  if (index >= found->children.size()) return ERROR_NO_MORE_ITEMS;
  if (keyClass && keyClassSize && *keyClassSize > 0) keyClass[0] = '\0';
  if (keyClassSize) *keyClassSize = 0;
  return GiveName(found->children[index]->name, name, nameSize);
}

LONG RegEnumKey(HKEY key, DWORD index, char* name, DWORD nameSize) {
  return RegEnumKeyEx(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
}

LONG RegEnumValue(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* reserved, DWORD* type, BYTE* data,
                  DWORD* dataSize) {
  (void)reserved;
  std::lock_guard lock(RegistryStore::Instance().Mutex());
  RegistryStore::Instance().Refresh();
  Key* found = nullptr;
  if (LONG status = Resolve(key, KEY_QUERY_VALUE, found); status != ERROR_SUCCESS) return status;
  if (index >= found->values.size()) return ERROR_NO_MORE_ITEMS;
  const RegistryStore::Value& value = found->values[index];
  if (LONG status = GiveName(value.name, name, nameSize); status != ERROR_SUCCESS) return status;
  if (type) *type = value.type;
  return GiveData(value.data, data, dataSize);
}

namespace platform {

LONG RegistryProtectKey(HKEY root, const char* subKey, bool protect) {
  std::lock_guard lock(RegistryStore::Instance().Mutex());
  RegistryStore::ChangeLock change(RegistryStore::Instance());
  RegistryStore::Instance().Refresh();
  std::optional<OpenedKey> parent = Describe(root);
  if (!parent) return ERROR_INVALID_HANDLE;
  Key* found = Walk(*parent, SplitPath(subKey));
  if (!found) return ERROR_FILE_NOT_FOUND;
  found->isProtected = protect;
  return Committed();
}

std::string RegistryStorePath() {
  std::lock_guard lock(RegistryStore::Instance().Mutex());
  return RegistryStore::Instance().FilePath();
}

}  // namespace platform

namespace platform {

ScopedPlatformHome::ScopedPlatformHome() {
  if (const char* previous = std::getenv("PLATFORM_HOME")) {
    m_previous = previous;
    m_hadPrevious = true;
  }
  ::setenv("PLATFORM_HOME", m_folder.Path().c_str(), 1);
}

ScopedPlatformHome::~ScopedPlatformHome() {
  if (m_hadPrevious)
    ::setenv("PLATFORM_HOME", m_previous.c_str(), 1);
  else
    ::unsetenv("PLATFORM_HOME");
}

}  // namespace platform
