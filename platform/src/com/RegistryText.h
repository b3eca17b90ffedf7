#pragma once
// Text values of HKEY_CLASSES_ROOT as the registration and creation code reads and writes them.

#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/strings.h"

namespace platform::com {

// Sets a text value (valueName null or "" for the default) of root\path, creating the key.
bool WriteText(HKEY root, const CString& path, const char* valueName, const CString& text);
// Creates root\path with no value.
bool CreateKey(HKEY root, const CString& path);
// Reads a text value; false when the key or value is missing or is not text.
bool ReadText(HKEY root, const CString& path, const char* valueName, CString& text);
// Whether root\path exists.
bool KeyExists(HKEY root, const CString& path);
// Names of the direct subkeys of root\path (empty when it is missing).
std::vector<CString> SubKeys(HKEY root, const CString& path);
// Deletes root\path and everything below it; true also when it did not exist.
bool DeleteTree(HKEY root, const CString& path);

}  // namespace platform::com
