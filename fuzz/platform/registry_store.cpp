// Arbitrary bytes as the registry store file: every key and value must be reachable through the
// registry functions without fault, and the file written back must read back to the same text.
// Then the trees are deleted as the programs delete them (a profile section, a class's
// unregistration, a key with everything below it): each deletion must end and leave no key behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/com_module.h"
#include "platform/profile.h"
#include "platform/registry.h"

namespace {

// Levels below a root the store holds at most.
constexpr int kMaxDepth = 512;

// Enumerates every value and subkey below key, depth first. Every listed subkey must open, and no
// tree may be deeper than the store allows.
void Walk(HKEY key, int depth) {
  if (depth > kMaxDepth) __builtin_trap();
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
  for (DWORD i = 0;; ++i) {
    LONG status = RegEnumKey(key, i, name, sizeof name);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) continue;  // a name longer than the buffer
    HKEY child = nullptr;
    if (RegOpenKeyEx(key, name, 0, KEY_READ, &child) != ERROR_SUCCESS) __builtin_trap();
    Walk(child, depth + 1);
    RegCloseKey(child);
  }
}

// The names of key's subkeys that fit a 256-byte buffer.
std::vector<std::string> SubKeys(HKEY root, const char* path) {
  std::vector<std::string> names;
  HKEY key = nullptr;
  if (RegOpenKeyEx(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  char name[256];
  for (DWORD i = 0; RegEnumKey(key, i, name, sizeof name) != ERROR_NO_MORE_ITEMS; ++i) names.emplace_back(name);
  RegCloseKey(key);
  return names;
}

bool Exists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// Deletes key's subkey name with everything below it by the plain registry calls; the result of
// the last RegDeleteKey.
LONG DeleteTree(HKEY key, const char* name, int depth) {
  if (depth > kMaxDepth) __builtin_trap();
  HKEY opened = nullptr;
  if (LONG status = RegOpenKeyEx(key, name, 0, KEY_ALL_ACCESS, &opened); status != ERROR_SUCCESS) return status;
  char child[256];
  while (RegEnumKey(opened, 0, child, sizeof child) == ERROR_SUCCESS)
    if (DeleteTree(opened, child, depth + 1) != ERROR_SUCCESS) break;
  RegCloseKey(opened);
  return RegDeleteKey(key, name);
}

void DeleteEverything() {
  // Profile sections of an application without a company key live right under Software.
  platform::Profile profile("");
  for (const std::string& section : SubKeys(HKEY_CURRENT_USER, "Software")) {
    if (profile.WriteProfileString(section.c_str(), nullptr, nullptr) && Exists(HKEY_CURRENT_USER, "Software\\" + section))
      __builtin_trap();
  }
  for (const std::string& clsid : SubKeys(HKEY_CLASSES_ROOT, "CLSID")) {
    ClassRegistration reg;
    std::u16string text = Utf8ToUtf16(clsid);
    if (CLSIDFromString(text.c_str(), &reg.clsid) != S_OK) continue;
    if (UnregisterClassEntries(reg) == S_OK && Exists(HKEY_CLASSES_ROOT, "CLSID\\" + clsid)) __builtin_trap();
  }
  for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    for (const std::string& name : SubKeys(root, "")) {
      if (DeleteTree(root, name.c_str(), 1) == ERROR_SUCCESS && Exists(root, name)) __builtin_trap();
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

  DeleteEverything();
  return 0;
}
