#include "client/widgets/RegistryKey.h"

#include "client/widgets/RegistryValue.h"

int CRegistryKey::ReadValue(const char* subKey, const char* valueName, CRegistryValue& value) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(m_root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueEx(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    RegCloseKey(key);
    return 0;
  }
  BYTE* data = value.Alloc(size);
  if (RegQueryValueEx(key, valueName, nullptr, &type, data, &size) != ERROR_SUCCESS) {
    RegCloseKey(key);
    value.Free();
    return 0;
  }
  value.SetType(type);
  RegCloseKey(key);
  return 1;
}
