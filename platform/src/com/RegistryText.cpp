#include "RegistryText.h"

#include <string>

namespace platform::com {

namespace {

// Closes an opened key when it goes out of scope.
class OpenKey {
public:
  OpenKey() = default;
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (m_key) RegCloseKey(m_key);
  }
  HKEY* out() { return &m_key; }
  HKEY get() const { return m_key; }

private:
  HKEY m_key{nullptr};
};

}  // namespace

bool WriteText(HKEY root, const CString& path, const char* valueName, const CString& text) {
  OpenKey key;
  if (RegCreateKeyEx(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.out(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  return RegSetValueEx(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.GetString()),
                       static_cast<DWORD>(text.GetLength() + 1)) == ERROR_SUCCESS;
}

bool CreateKey(HKEY root, const CString& path) {
  OpenKey key;
  return RegCreateKeyEx(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.out(), nullptr) ==
         ERROR_SUCCESS;
}

bool ReadText(HKEY root, const CString& path, const char* valueName, CString& text) {
  text.Empty();
  OpenKey key;
  if (RegOpenKeyEx(root, path, 0, KEY_READ, key.out()) != ERROR_SUCCESS) return false;
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueEx(key.get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  std::string data(size, '\0');
  if (size > 0 &&
      RegQueryValueEx(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return false;
  data.resize(size);
  text = CString(data.c_str());  // up to the terminator
  return true;
}

bool KeyExists(HKEY root, const CString& path) {
  OpenKey key;
  return RegOpenKeyEx(root, path, 0, KEY_READ, key.out()) == ERROR_SUCCESS;
}

std::vector<CString> SubKeys(HKEY root, const CString& path) {
  std::vector<CString> names;
  OpenKey key;
  if (RegOpenKeyEx(root, path, 0, KEY_READ, key.out()) != ERROR_SUCCESS) return names;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD size = sizeof name;
    LONG status = RegEnumKeyEx(key.get(), index, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) break;
    names.emplace_back(name, static_cast<int>(size));
  }
  return names;
}

bool DeleteTree(HKEY root, const CString& path) {
  if (!KeyExists(root, path)) return true;
  for (const CString& child : SubKeys(root, path))
    if (!DeleteTree(root, path + "\\" + child)) return false;
  return RegDeleteKey(root, path) == ERROR_SUCCESS;
}

}  // namespace platform::com
