#include "platform/profile.h"

#include <cstring>
#include <string>

#include "RegistryStore.h"
#include "platform/registry.h"

namespace platform {

namespace {

// Deletes a key and everything below it. The store holds no tree deeper than its limit, so
// depth only stops a walk that a broken store could otherwise make endless.
LONG DeleteTree(HKEY parent, const char* subKey, std::size_t depth = 0) {
  if (depth > RegistryStore::kMaxDepth) return ERROR_ACCESS_DENIED;
  HKEY key = nullptr;
  if (LONG status = RegOpenKeyEx(parent, subKey, 0, KEY_ALL_ACCESS, &key); status != ERROR_SUCCESS) return status;
  char name[256];
  while (RegEnumKey(key, 0, name, sizeof name) == ERROR_SUCCESS) {
    if (DeleteTree(key, name, depth + 1) != ERROR_SUCCESS) break;
  }
  RegCloseKey(key);
  return RegDeleteKey(parent, subKey);
}

}  // namespace

Profile::Profile(const char* appName) : m_appName(appName ? appName : "") {}

void Profile::SetRegistryKey(const char* company) { m_company = company ? company : ""; }

CString Profile::GetAppKeyPath() const {
  CString path = "Software\\";
  if (!m_company.IsEmpty()) path += m_company + "\\";
  return path + m_appName;
}

CString Profile::SectionPath(const char* section) const { return GetAppKeyPath() + "\\" + (section ? section : ""); }

CString Profile::GetProfileString(const char* section, const char* entry, const char* defaultValue) const {
  CString fallback = defaultValue ? defaultValue : "";
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, SectionPath(section), 0, KEY_READ, &key) != ERROR_SUCCESS) return fallback;
  DWORD type = REG_NONE;
  DWORD size = 0;
  std::string text;
  LONG status = RegQueryValueEx(key, entry, nullptr, &type, nullptr, &size);
  if (status == ERROR_SUCCESS && type == REG_SZ) {
    text.resize(size);
    status = RegQueryValueEx(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    text.resize(status == ERROR_SUCCESS ? size : 0);
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return fallback;
  return CString(text.c_str());  // up to the terminator
}

UINT Profile::GetProfileInt(const char* section, const char* entry, int defaultValue) const {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, SectionPath(section), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return static_cast<UINT>(defaultValue);
  DWORD type = REG_NONE;
  DWORD value = 0;
  DWORD size = sizeof value;
  LONG status = RegQueryValueEx(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return static_cast<UINT>(defaultValue);
  return value;
}

BOOL Profile::WriteProfileString(const char* section, const char* entry, const char* value) {
  if (!entry) return DeleteTree(HKEY_CURRENT_USER, SectionPath(section)) == ERROR_SUCCESS ? TRUE : FALSE;
  HKEY key = nullptr;
  if (RegCreateKeyEx(HKEY_CURRENT_USER, SectionPath(section), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return FALSE;
  LONG status = value ? RegSetValueEx(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                      static_cast<DWORD>(std::strlen(value) + 1))
                      : RegDeleteValue(key, entry);
  RegCloseKey(key);
  return status == ERROR_SUCCESS || (!value && status == ERROR_FILE_NOT_FOUND) ? TRUE : FALSE;
}

BOOL Profile::WriteProfileInt(const char* section, const char* entry, int value) {
  if (!entry) return FALSE;
  HKEY key = nullptr;
  if (RegCreateKeyEx(HKEY_CURRENT_USER, SectionPath(section), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return FALSE;
  DWORD number = static_cast<DWORD>(value);
  LONG status = RegSetValueEx(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? TRUE : FALSE;
}

}  // namespace platform
