#pragma once
// The server side of component objects: a module's object count and class table, class
// factories, and the registration of classes and type libraries in HKEY_CLASSES_ROOT.
//
// A module (a shared object loaded by CoCreateInstance) holds one CComModule, lists its classes in
// it and exports the four entry points, each a call of the module object:
// IMPLEMENT_MODULE_ENTRY_POINTS(TheModule()) defines them.

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "platform/com.h"

// What HKEY_CLASSES_ROOT\CLSID\{clsid} says about a class.
struct ClassRegistration {
  CLSID clsid{};
  CString progId;           // "" for none
  CString userTypeName;     // default value of the CLSID key and of the ProgID key
  CString threadingModel{"Apartment"};
  bool control{false};      // writes the Control key (a class containers may host)
  DWORD miscStatus{0};      // OLEMISC_* bits, written under MiscStatus\1 when not 0
  int toolboxBitmap{0};     // resource id of the toolbox bitmap, 0 for none
  GUID typeLib{};           // GUID_NULL for none
  CString version;          // "1.0"; "" for none
};

// One described interface of a type library.
struct TypeLibInterface {
  IID iid{};
  CString name;        // e.g. "_DStolvex"
  CString helpString;  // documentation string
  bool dispatchOnly{false};  // a dispatch-only interface (events, dispatch maps), else dual
};

// A type library as registered: its identity, documentation and interfaces.
struct TypeLibDescription {
  GUID libid{};
  WORD majorVersion{1};
  WORD minorVersion{0};
  CString name;        // library name, e.g. "STOLVEXLib"
  CString helpString;  // documentation string (the default value of the version key)
  CString helpFile;    // may name a file that does not exist
  CString path;        // the module holding it; filled by the module object when empty
  std::vector<TypeLibInterface> interfaces;
};

// OLEMISC_* status bits of controls.
constexpr DWORD OLEMISC_RECOMPOSEONRESIZE = 0x1;
constexpr DWORD OLEMISC_CANTLINKINSIDE = 0x10;
constexpr DWORD OLEMISC_INSIDEOUT = 0x80;
constexpr DWORD OLEMISC_ACTIVATEWHENVISIBLE = 0x100;
constexpr DWORD OLEMISC_SETCLIENTSITEFIRST = 0x20000;

// Writes the class's keys (CLSID key, InprocServer32 = modulePath, ProgID both ways, Control,
// MiscStatus, ToolboxBitmap32, TypeLib, Version). SELFREG_E_CLASS when the registry refuses.
HRESULT RegisterClassEntries(const ClassRegistration& reg, const char* modulePath);
// Removes the CLSID key with everything below it and the ProgID key; S_OK also when absent.
HRESULT UnregisterClassEntries(const ClassRegistration& reg);
// Writes HKCR\TypeLib\{libid}\<major.minor> (documentation, FLAGS, HELPDIR, HelpFile, Name, the
// path under 0\linux) and HKCR\Interface\{iid} for each interface. SELFREG_E_TYPELIB on failure.
HRESULT RegisterTypeLibrary(const TypeLibDescription& lib);
// Removes one version of a registered type library and its interfaces' keys; the library key goes
// when no version is left. TYPE_E_LIBNOTREGISTERED when that version is not registered.
HRESULT UnRegisterTypeLib(REFGUID libid, WORD majorVersion, WORD minorVersion, LCID lcid = 0);
// Reads a registered type library back (name, help string and file, path, interfaces listed under
// the library). TYPE_E_LIBNOTREGISTERED when absent.
HRESULT QueryTypeLibrary(REFGUID libid, WORD majorVersion, WORD minorVersion, TypeLibDescription& out);

// Creates one object of a class and returns interface riid of it.
using ObjectCreator = std::function<HRESULT(REFIID riid, void** ppv)>;

// A module's live-object and lock count, its class table and its registration.
class CComModule {
public:
  CComModule();
  // Destroys the class factories, which live as long as the module.
  ~CComModule();
  CComModule(const CComModule&) = delete;
  CComModule& operator=(const CComModule&) = delete;

  // Counts one live object or server lock; both return the new count.
  LONG Lock() { return ++m_locks; }
  LONG Unlock() { return --m_locks; }
  LONG GetLockCount() const { return m_locks.load(); }

  // Adds a creatable class with its registration (control classes, property pages, ...).
  void AddClass(const ClassRegistration& reg, ObjectCreator create);
  // Sets the type library that RegisterServer writes (its path defaults to the module).
  void SetTypeLibrary(const TypeLibDescription& lib) { m_typeLib = lib; m_hasTypeLib = true; }

  // The class factory of clsid (CLASS_E_CLASSNOTAVAILABLE for a class not in the table).
  HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv);
  // S_OK when no object is alive and no lock is held, else S_FALSE.
  HRESULT CanUnloadNow() const { return m_locks.load() == 0 ? S_OK : S_FALSE; }
  // Registers the type library, then each class, with this module's path.
  HRESULT RegisterServer();
  // Removes what RegisterServer wrote.
  HRESULT UnregisterServer();
  // The file this module object lives in.
  CString GetModulePath() const;

private:
  class ClassFactory;
  struct ClassEntry {
    ClassRegistration reg;
    std::unique_ptr<ClassFactory> factory;
  };
  std::atomic<LONG> m_locks{0};
  std::vector<ClassEntry> m_classes;
  TypeLibDescription m_typeLib;
  bool m_hasTypeLib{false};
};

// Entry points a module exports, looked up by name when it is loaded.
using DllGetClassObjectFunction = HRESULT (*)(REFCLSID, REFIID, void**);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();

// Defines DllGetClassObject, DllCanUnloadNow, DllRegisterServer and DllUnregisterServer over the
// CComModule that moduleExpr yields (evaluated at each call).
#define IMPLEMENT_MODULE_ENTRY_POINTS(moduleExpr)                                        \
  extern "C" HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {   \
    return (moduleExpr).GetClassObject(clsid, riid, object);                           \
  }                                                                                    \
  extern "C" HRESULT DllCanUnloadNow() { return (moduleExpr).CanUnloadNow(); }         \
  extern "C" HRESULT DllRegisterServer() { return (moduleExpr).RegisterServer(); }     \
  extern "C" HRESULT DllUnregisterServer() { return (moduleExpr).UnregisterServer(); }
