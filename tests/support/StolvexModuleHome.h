#pragma once
// Registers the real board control module in a temporary PLATFORM_HOME for one test, the way
// ./setup registers it for the user: containers then create the control by its class identifier.
// The test binary gets the module's path as STOLVEX_MODULE_PATH.
#include <dlfcn.h>

#include "platform/com.h"
#include "platform/registry.h"

namespace testsupport {

class StolvexModuleHome {
public:
  StolvexModuleHome() { m_registered = CallEntry("DllRegisterServer") == S_OK; }
  ~StolvexModuleHome() { CoFreeUnusedLibraries(); }
  StolvexModuleHome(const StolvexModuleHome&) = delete;
  StolvexModuleHome& operator=(const StolvexModuleHome&) = delete;

  // True when DllRegisterServer succeeded.
  bool Registered() const { return m_registered; }
  const std::string& Path() const { return m_home.Path(); }

  // Calls an exported entry point of the module (loading it for the call).
  static HRESULT CallEntry(const char* name) {
    void* handle = dlopen(STOLVEX_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    if (!handle) return CO_E_DLLNOTFOUND;
    auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(handle, name));
    const HRESULT hr = entry ? entry() : CO_E_ERRORINDLL;
    dlclose(handle);
    return hr;
  }
  // DllCanUnloadNow of the module as CoCreateInstance loaded it (E_UNEXPECTED when not loaded).
  static HRESULT CanUnloadNow() {
    void* handle = dlopen(STOLVEX_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD);
    if (!handle) return E_UNEXPECTED;
    auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(handle, "DllCanUnloadNow"));
    const HRESULT hr = entry ? entry() : CO_E_ERRORINDLL;
    dlclose(handle);
    return hr;
  }

private:
  platform::ScopedPlatformHome m_home;  // first: the registration goes into it
  bool m_registered{false};
};

}  // namespace testsupport
