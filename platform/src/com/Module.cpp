#include <dlfcn.h>

#include <climits>
#include <cstdlib>

#include "platform/com_module.h"

// The factory of one class; it lives as long as its module, and a client holding it (or a
// LockServer lock) keeps the module loaded.
class CComModule::ClassFactory final : public IClassFactory {
public:
  ClassFactory(CComModule& module, ObjectCreator create) : m_module(module), m_create(std::move(create)) {}
  ~ClassFactory() override = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid != IID_IUnknown && riid != IID_IClassFactory) {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(m_module.Lock()); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(m_module.Unlock()); }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return m_create(riid, ppv);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      m_module.Lock();
    else
      m_module.Unlock();
    return S_OK;
  }

private:
  CComModule& m_module;
  ObjectCreator m_create;
};

CComModule::CComModule() = default;
CComModule::~CComModule() = default;

void CComModule::AddClass(const ClassRegistration& reg, ObjectCreator create) {
  ClassEntry entry;
  entry.reg = reg;
  entry.factory = std::make_unique<ClassFactory>(*this, std::move(create));
  m_classes.push_back(std::move(entry));
}

HRESULT CComModule::GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (ClassEntry& entry : m_classes)
    if (entry.reg.clsid == clsid) return entry.factory->QueryInterface(riid, ppv);
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CComModule::RegisterServer() {
  CString path = GetModulePath();
  if (m_hasTypeLib) {
    TypeLibDescription lib = m_typeLib;
    if (lib.path.IsEmpty()) lib.path = path;
    if (FAILED(RegisterTypeLibrary(lib))) return SELFREG_E_TYPELIB;
  }
  for (const ClassEntry& entry : m_classes)
    if (FAILED(RegisterClassEntries(entry.reg, path))) return SELFREG_E_CLASS;
  return S_OK;
}

HRESULT CComModule::UnregisterServer() {
  if (m_hasTypeLib) {
    HRESULT hr = UnRegisterTypeLib(m_typeLib.libid, m_typeLib.majorVersion, m_typeLib.minorVersion);
    // A library already gone has nothing left to remove.
    if (FAILED(hr) && hr != TYPE_E_LIBNOTREGISTERED) return SELFREG_E_TYPELIB;
  }
  for (const ClassEntry& entry : m_classes)
    if (FAILED(UnregisterClassEntries(entry.reg))) return SELFREG_E_CLASS;
  return S_OK;
}

CString CComModule::GetModulePath() const {
  Dl_info info{};
  if (!dladdr(this, &info) || !info.dli_fname) return CString();
  char resolved[PATH_MAX];
  if (!realpath(info.dli_fname, resolved)) return CString(info.dli_fname);
  return CString(resolved);
}
