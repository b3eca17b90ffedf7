#pragma once
// Tests run in a registry of their own: the movie control counts as installed only when its class
// key is there, and a frame without it first asks to install it.
#include <platform/registry.h>

#include "orvanta/app/ShockwaveFlash.h"

inline void SetMovieControlInstalled(bool installed) {
  if (!installed) {
    ::RegDeleteKey(HKEY_CLASSES_ROOT, CShockwaveFlash::kClassKey);
    return;
  }
  HKEY key = nullptr;
  if (::RegCreateKeyEx(HKEY_CLASSES_ROOT, CShockwaveFlash::kClassKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                       nullptr) == ERROR_SUCCESS)
    ::RegCloseKey(key);
}
