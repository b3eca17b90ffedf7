// Arbitrary bytes as the registry store file: every key and value must be reachable through the
// registry functions without fault, and the file written back must read back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/registry.h"

namespace {

// Enumerates every value and subkey below key, depth first (depth bounded for deep inputs).
void Walk(HKEY key, int depth) {
  char name[512];
  BYTE data[64];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof name;
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    LONG status = RegEnumValue(key, i, name, &nameSize, nullptr, &type, data, &dataSize);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_SUCCESS && dataSize > sizeof data) __builtin_trap();
  }
  if (depth > 64) return;
  for (DWORD i = 0; RegEnumKey(key, i, name, sizeof name) != ERROR_NO_MORE_ITEMS; ++i) {
    HKEY child = nullptr;
    if (RegOpenKeyEx(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
      Walk(child, depth + 1);
      RegCloseKey(child);
    }
  }
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Makes the store read its file again on the next call.
void ForceReread(const std::string& home) {
  HKEY key = nullptr;
  ::setenv("PLATFORM_HOME", (home + "/elsewhere").c_str(), 1);
  if (RegOpenKeyEx(HKEY_CURRENT_USER, "", 0, KEY_READ, &key) == ERROR_SUCCESS) RegCloseKey(key);
  ::setenv("PLATFORM_HOME", home.c_str(), 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static platform::ScopedPlatformHome home;
  std::string path = platform::RegistryStorePath();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  ForceReread(home.Path());
  for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) Walk(root, 0);

  // Writing makes the store serialise what it read; reading that back must give the same text.
  if (RegDeleteValue(HKEY_CURRENT_USER, "fuzz-marker") == ERROR_CANTWRITE) __builtin_trap();
  DWORD one = 1;
  if (RegSetValueEx(HKEY_CURRENT_USER, "fuzz-marker", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4) != ERROR_SUCCESS)
    __builtin_trap();
  std::string first = Contents(path);
  ForceReread(home.Path());
  if (RegSetValueEx(HKEY_CURRENT_USER, "fuzz-marker", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4) != ERROR_SUCCESS)
    __builtin_trap();
  if (Contents(path) != first) __builtin_trap();
  return 0;
}
