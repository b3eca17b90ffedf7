#include <dlfcn.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "RegistryText.h"
#include "platform/com_module.h"

using namespace platform::com;

namespace {

struct LoadedModule {
  std::string path;
  void* handle{nullptr};
  DllGetClassObjectFunction getClassObject{nullptr};
  DllCanUnloadNowFunction canUnloadNow{nullptr};
};

// The in-process servers loaded so far, each once. Program-wide, as modules are.
class ModuleTable {
public:
  static ModuleTable& Instance() {
    static ModuleTable table;
    return table;
  }

  // The loaded module at path, loading it when needed.
  HRESULT Get(const std::string& path, DllGetClassObjectFunction& getClassObject) {
    std::lock_guard lock(m_mutex);
    for (const LoadedModule& m : m_modules)
      if (m.path == path) {
        getClassObject = m.getClassObject;
        return S_OK;
      }
    LoadedModule loaded;
    HRESULT hr = Load(path, loaded);
    if (FAILED(hr)) return hr;
    m_modules.push_back(loaded);
    getClassObject = loaded.getClassObject;
    return S_OK;
  }

  void FreeUnused() {
    std::lock_guard lock(m_mutex);
    for (auto it = m_modules.begin(); it != m_modules.end();) {
      if (it->canUnloadNow && it->canUnloadNow() == S_OK) {
        dlclose(it->handle);
        it = m_modules.erase(it);
      } else {
        ++it;
      }
    }
  }

private:
  static HRESULT Load(const std::string& path, LoadedModule& out) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* why = dlerror();
      std::fprintf(stderr, "CoCreateInstance: cannot load %s: %s\n", path.c_str(), why ? why : "unknown error");
      return CO_E_DLLNOTFOUND;
    }
    auto getClassObject = reinterpret_cast<DllGetClassObjectFunction>(dlsym(handle, "DllGetClassObject"));
    if (!getClassObject) {
      dlclose(handle);
      return CO_E_ERRORINDLL;
    }
    out.path = path;
    out.handle = handle;
    out.getClassObject = getClassObject;
    out.canUnloadNow = reinterpret_cast<DllCanUnloadNowFunction>(dlsym(handle, "DllCanUnloadNow"));
    return S_OK;
  }

  std::recursive_mutex m_mutex;
  std::vector<LoadedModule> m_modules;
};

}  // namespace

HRESULT CoInitialize(void*) { return S_OK; }
HRESULT OleInitialize(void*) { return S_OK; }
void CoUninitialize() {}
void OleUninitialize() {}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void*, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  // Only in-process servers exist here.
  if (!(context & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
  CString path;
  if (!ReadText(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(clsid) + "\\InprocServer32", nullptr, path) ||
      path.IsEmpty())
    return REGDB_E_CLASSNOTREG;
  DllGetClassObjectFunction getClassObject = nullptr;
  HRESULT hr = ModuleTable::Instance().Get(path.str(), getClassObject);
  if (FAILED(hr)) return hr;
  return getClassObject(clsid, riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  IClassFactory* factory = nullptr;
  HRESULT hr = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(outer, riid, ppv);
  factory->Release();
  return hr;
}

void CoFreeUnusedLibraries() { ModuleTable::Instance().FreeUnused(); }

HRESULT CLSIDFromProgID(const char* progId, CLSID* clsid) {
  if (!progId || !clsid) return E_INVALIDARG;
  *clsid = GUID_NULL;
  CString text;
  if (!*progId || !ReadText(HKEY_CLASSES_ROOT, CString(progId) + "\\CLSID", nullptr, text)) return REGDB_E_CLASSNOTREG;
  return ParseGuid(text.str(), *clsid) ? S_OK : CO_E_CLASSSTRING;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
  if (!progId) return E_INVALIDARG;
  return CLSIDFromProgID(Utf16ToCp949(progId).GetString(), clsid);
}
