#pragma once
// The registry: keys and values under three roots, kept in one file-backed store.
//
// The store is the file "registry.txt" in the folder named by PLATFORM_HOME (default
// ~/.local/share/pellomar). It is read when first needed and again whenever the file changed
// (another process may have written it), and when PLATFORM_HOME names another folder. Every
// change is written at once to a temporary file that then replaces the store, so a crash never
// leaves a half-written store; when that write fails the change is dropped and the call fails.
// Changes of several processes are serialised by the lock file "registry.lock" beside the store.
// Key and value names compare regardless of the case of ASCII letters. Values are bytes.

#include <cstdint>
#include <string>

#include "platform/files.h"
#include "platform/types.h"

using LSTATUS = LONG;
using REGSAM = DWORD;
using PHKEY = HKEY*;

inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(std::uintptr_t{0x80000000});
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});

// Win32 error codes the registry functions return.
constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;
constexpr LONG ERROR_CANTWRITE = 1013;
constexpr LONG ERROR_KEY_DELETED = 1018;

// Access rights.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_EXECUTE = 0x20019;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Value types.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_LINK = 6;
constexpr DWORD REG_MULTI_SZ = 7;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Opens an existing key below key (an empty or null subKey opens key itself again).
LONG RegOpenKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM access, PHKEY result);
LONG RegOpenKey(HKEY key, const char* subKey, PHKEY result);
// Opens a key, creating it and any missing parents; *disposition tells which happened.
LONG RegCreateKeyEx(HKEY key, const char* subKey, DWORD reserved, char* keyClass, DWORD options,
                    REGSAM access, void* security, PHKEY result, DWORD* disposition);
LONG RegCreateKey(HKEY key, const char* subKey, PHKEY result);
// Closes an opened key; the roots are left alone.
LONG RegCloseKey(HKEY key);

// Reads a value (null or "" is the key's default value). With data null only the type and the
// size are given; when *dataSize is too small the result is ERROR_MORE_DATA with the size needed
// in *dataSize.
LONG RegQueryValueEx(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                     DWORD* dataSize);
// Reads the default value of subKey as text, with the buffer protocol of RegQueryValueEx
// (*valueSize counts the terminator).
LONG RegQueryValue(HKEY key, const char* subKey, char* value, LONG* valueSize);
// Stores size bytes of data as the value (null or "" is the default value).
LONG RegSetValueEx(HKEY key, const char* valueName, DWORD reserved, DWORD type, const BYTE* data,
                   DWORD size);
// Stores text as the default value of subKey (created when missing); type must be REG_SZ.
LONG RegSetValue(HKEY key, const char* subKey, DWORD type, const char* data, DWORD size);
LONG RegDeleteValue(HKEY key, const char* valueName);
// Deletes subKey, which must have no subkeys of its own (ERROR_ACCESS_DENIED otherwise).
LONG RegDeleteKey(HKEY key, const char* subKey);

// The name of the index-th subkey (in the order they were created); ERROR_NO_MORE_ITEMS past
// the last.
LONG RegEnumKey(HKEY key, DWORD index, char* name, DWORD nameSize);
LONG RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* reserved,
                  char* keyClass, DWORD* keyClassSize, void* lastWriteTime);
// The index-th value: its name (*nameSize in characters, without the terminator on return), type
// and data (buffer protocol of RegQueryValueEx).
LONG RegEnumValue(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* reserved, DWORD* type,
                  BYTE* data, DWORD* dataSize);

namespace platform {

// Makes a key refuse every opening that asks for more than KEY_READ (as keys of another user or
// of the system do); tests use it. The mark is kept in the store.
LONG RegistryProtectKey(HKEY root, const char* subKey, bool protect);
// The path of the store file for the current PLATFORM_HOME.
std::string RegistryStorePath();

// Points PLATFORM_HOME at a fresh temporary folder for its lifetime, then restores the previous
// value (tests: registry and profile changes stay inside the test).
class ScopedPlatformHome {
public:
  ScopedPlatformHome();
  ~ScopedPlatformHome();
  ScopedPlatformHome(const ScopedPlatformHome&) = delete;
  ScopedPlatformHome& operator=(const ScopedPlatformHome&) = delete;

  const std::string& Path() const { return m_folder.Path(); }

private:
  TempDir m_folder;
  std::string m_previous;
  bool m_hadPrevious{false};
};

}  // namespace platform
