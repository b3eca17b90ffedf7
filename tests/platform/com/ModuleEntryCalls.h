#pragma once
// Calls into a test module's exported entry points the way a registration tool would, through a
// handle of the test's own, so tests can register modules and ask whether they may unload.
#include <dlfcn.h>

#include "platform/com.h"

namespace comtest {

// Calls the exported entry point `name` of the module at path (loading it for the call).
inline HRESULT CallModuleEntry(const char* path, const char* name) {
  void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!handle) return CO_E_DLLNOTFOUND;
  auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(handle, name));
  HRESULT hr = entry ? entry() : CO_E_ERRORINDLL;
  dlclose(handle);
  return hr;
}

// DllCanUnloadNow of the module at path as CoCreateInstance loaded it (E_UNEXPECTED when it is
// not loaded).
inline HRESULT CanUnloadLoadedModule(const char* path) {
  void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return E_UNEXPECTED;
  auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(handle, "DllCanUnloadNow"));
  HRESULT hr = entry ? entry() : CO_E_ERRORINDLL;
  dlclose(handle);
  return hr;
}

}  // namespace comtest
