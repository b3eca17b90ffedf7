#pragma once
// Component objects: result codes, GUIDs and their text form, IUnknown and its helpers, error
// information, class factories and creation of registered classes (com_module.h has the server side).

#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/strings.h"
#include "platform/types.h"

// ---- Result codes -------------------------------------------------------------------------------

using HRESULT = std::int32_t;
using SCODE = std::int32_t;

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr HRESULT MakeHresult(std::uint32_t bits) { return static_cast<HRESULT>(bits); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = MakeHresult(0x80004001);
constexpr HRESULT E_NOINTERFACE = MakeHresult(0x80004002);
constexpr HRESULT E_POINTER = MakeHresult(0x80004003);
constexpr HRESULT E_ABORT = MakeHresult(0x80004004);
constexpr HRESULT E_FAIL = MakeHresult(0x80004005);
constexpr HRESULT E_UNEXPECTED = MakeHresult(0x8000FFFF);
constexpr HRESULT E_ACCESSDENIED = MakeHresult(0x80070005);
constexpr HRESULT E_OUTOFMEMORY = MakeHresult(0x8007000E);
constexpr HRESULT E_INVALIDARG = MakeHresult(0x80070057);
constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHresult(0x80040110);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHresult(0x80040111);
constexpr HRESULT REGDB_E_READREGDB = MakeHresult(0x80040150);
constexpr HRESULT REGDB_E_WRITEREGDB = MakeHresult(0x80040151);
constexpr HRESULT REGDB_E_KEYMISSING = MakeHresult(0x80040152);
constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHresult(0x80040154);
constexpr HRESULT CO_E_CLASSSTRING = MakeHresult(0x800401F3);
constexpr HRESULT CO_E_DLLNOTFOUND = MakeHresult(0x800401F8);
constexpr HRESULT CO_E_ERRORINDLL = MakeHresult(0x800401F9);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = MakeHresult(0x80020001);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeHresult(0x80020003);
constexpr HRESULT DISP_E_PARAMNOTFOUND = MakeHresult(0x80020004);
constexpr HRESULT DISP_E_TYPEMISMATCH = MakeHresult(0x80020005);
constexpr HRESULT DISP_E_UNKNOWNNAME = MakeHresult(0x80020006);
constexpr HRESULT DISP_E_NONAMEDARGS = MakeHresult(0x80020007);
constexpr HRESULT DISP_E_BADVARTYPE = MakeHresult(0x80020008);
constexpr HRESULT DISP_E_EXCEPTION = MakeHresult(0x80020009);
constexpr HRESULT DISP_E_OVERFLOW = MakeHresult(0x8002000A);
constexpr HRESULT DISP_E_BADINDEX = MakeHresult(0x8002000B);
constexpr HRESULT DISP_E_ARRAYISLOCKED = MakeHresult(0x8002000D);
constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeHresult(0x8002000E);
constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = MakeHresult(0x8002000F);
constexpr HRESULT TYPE_E_REGISTRYACCESS = MakeHresult(0x8002801C);
constexpr HRESULT TYPE_E_LIBNOTREGISTERED = MakeHresult(0x8002801D);
constexpr HRESULT CONNECT_E_NOCONNECTION = MakeHresult(0x80040200);
constexpr HRESULT CONNECT_E_CANNOTCONNECT = MakeHresult(0x80040202);
constexpr HRESULT SELFREG_E_TYPELIB = MakeHresult(0x80040200);
constexpr HRESULT SELFREG_E_CLASS = MakeHresult(0x80040201);

// ---- Text and GUIDs -----------------------------------------------------------------------------

using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
// A length-prefixed UTF-16 string (com_variant.h allocates and frees them).
using BSTR = OLECHAR*;
using LCID = DWORD;
using DISPID = LONG;
using MEMBERID = DISPID;

struct GUID {
  std::uint32_t Data1{0};
  std::uint16_t Data2{0};
  std::uint16_t Data3{0};
  std::uint8_t Data4[8]{};

  friend constexpr bool operator==(const GUID&, const GUID&) = default;
  // Total order so GUIDs can key ordered containers.
  friend constexpr bool operator<(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1) return a.Data1 < b.Data1;
    if (a.Data2 != b.Data2) return a.Data2 < b.Data2;
    if (a.Data3 != b.Data3) return a.Data3 < b.Data3;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return a.Data4[i] < b.Data4[i];
    return false;
  }
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

namespace guid_detail {
constexpr int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
// Reads `digits` hex digits at text[pos]; false on any non-hex character.
constexpr bool ReadHex(std::string_view text, std::size_t pos, int digits, std::uint32_t& out) {
  out = 0;
  for (int i = 0; i < digits; ++i) {
    int d = HexDigit(text[pos + i]);
    if (d < 0) return false;
    out = (out << 4) | static_cast<std::uint32_t>(d);
  }
  return true;
}
}  // namespace guid_detail

// Parses "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" (braces required, either case of hex digit);
// false and a zero GUID on anything else.
constexpr bool ParseGuid(std::string_view text, GUID& out) {
  using guid_detail::ReadHex;
  out = GUID{};
  if (text.size() != 38 || text[0] != '{' || text[37] != '}' || text[9] != '-' || text[14] != '-' ||
      text[19] != '-' || text[24] != '-')
    return false;
  GUID g;
  std::uint32_t v = 0;
  if (!ReadHex(text, 1, 8, v)) return false;
  g.Data1 = v;
  if (!ReadHex(text, 10, 4, v)) return false;
  g.Data2 = static_cast<std::uint16_t>(v);
  if (!ReadHex(text, 15, 4, v)) return false;
  g.Data3 = static_cast<std::uint16_t>(v);
  constexpr std::size_t kBytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!ReadHex(text, kBytePos[i], 2, v)) return false;
    g.Data4[i] = static_cast<std::uint8_t>(v);
  }
  out = g;
  return true;
}

// A GUID from its text form for constants; malformed text fails to compile.
consteval GUID GuidFromText(std::string_view text) {
  GUID g;
  if (!ParseGuid(text, g)) throw "malformed GUID text";
  return g;
}

constexpr GUID GUID_NULL{};
constexpr IID IID_NULL{};
constexpr bool IsEqualGUID(REFGUID a, REFGUID b) { return a == b; }
constexpr bool IsEqualIID(REFIID a, REFIID b) { return a == b; }
constexpr bool IsEqualCLSID(REFCLSID a, REFCLSID b) { return a == b; }

// The text form with braces and upper-case hex digits.
CString GuidToString(REFGUID guid);
// Writes the text form and its terminator into buffer; returns the characters written including
// the terminator, or 0 when cchMax is below 39.
int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int cchMax);
// Parses a braced text form; CO_E_CLASSSTRING when it is malformed (and *clsid is zeroed).
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);
HRESULT IIDFromString(LPCOLESTR text, IID* iid);

// ---- IUnknown and interface identities ----------------------------------------------------------

#define STDMETHODCALLTYPE
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE

// Maps an interface type to its IID; specialise with COM_INTERFACE_ID at global scope.
template <class Interface>
struct InterfaceId;
#define COM_INTERFACE_ID(Interface, iid)    \
  template <>                               \
  struct InterfaceId<Interface> {           \
    static constexpr const IID& value = iid; \
  }

constexpr IID IID_IUnknown = GuidFromText("{00000000-0000-0000-C000-000000000046}");
constexpr IID IID_IClassFactory = GuidFromText("{00000001-0000-0000-C000-000000000046}");
constexpr IID IID_IErrorInfo = GuidFromText("{1CF2B120-547D-101B-8E65-08002B2BD119}");
constexpr IID IID_ICreateErrorInfo = GuidFromText("{22F03340-547D-101B-8E65-08002B2BD119}");
constexpr IID IID_ISupportErrorInfo = GuidFromText("{DF0B3D60-548F-101B-8E65-08002B2BD119}");

// The root of every object interface: identity, and a reference count that frees the object at 0.
class IUnknown {
public:
  // Stores an AddRef'ed pointer to the interface riid in *ppv, or null and E_NOINTERFACE.
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) = 0;
  // Both return the new count, for diagnostics only.
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;

  // Typed QueryInterface.
  template <class Interface>
  HRESULT QueryInterface(Interface** pp) {
    return QueryInterface(InterfaceId<Interface>::value, reinterpret_cast<void**>(pp));
  }

protected:
  // Objects are freed by Release only.
  virtual ~IUnknown() = default;
};
COM_INTERFACE_ID(IUnknown, IID_IUnknown);
using LPUNKNOWN = IUnknown*;

class IClassFactory : public IUnknown {
public:
  // Makes a new object and returns its interface riid; aggregation (outer != null) is refused.
  virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) = 0;
  // Keeps the module loaded while lock is TRUE (counted).
  virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) = 0;
};
COM_INTERFACE_ID(IClassFactory, IID_IClassFactory);

// Error information that a failing call leaves for its caller (per thread).
class IErrorInfo : public IUnknown {
public:
  virtual HRESULT STDMETHODCALLTYPE GetGUID(GUID* guid) = 0;
  // The following three return new strings the caller frees with SysFreeString.
  virtual HRESULT STDMETHODCALLTYPE GetSource(BSTR* source) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDescription(BSTR* description) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR* helpFile) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD* helpContext) = 0;
};
COM_INTERFACE_ID(IErrorInfo, IID_IErrorInfo);

class ICreateErrorInfo : public IUnknown {
public:
  virtual HRESULT STDMETHODCALLTYPE SetGUID(REFGUID guid) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSource(LPCOLESTR source) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetDescription(LPCOLESTR description) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHelpFile(LPCOLESTR helpFile) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD helpContext) = 0;
};
COM_INTERFACE_ID(ICreateErrorInfo, IID_ICreateErrorInfo);

class ISupportErrorInfo : public IUnknown {
public:
  // S_OK when failures of interface riid leave error information, S_FALSE otherwise.
  virtual HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) = 0;
};
COM_INTERFACE_ID(ISupportErrorInfo, IID_ISupportErrorInfo);

// A new, empty error-information object.
HRESULT CreateErrorInfo(ICreateErrorInfo** created);
// Makes info (may be null) the thread's current error information, replacing any earlier one.
HRESULT SetErrorInfo(DWORD reserved, IErrorInfo* info);
// Takes the thread's current error information (S_FALSE and null when there is none) and clears it.
HRESULT GetErrorInfo(DWORD reserved, IErrorInfo** info);
// Builds and sets error information in one step; returns hr so a failing method can
// `return ReportError(...)`. Texts are code page 949.
HRESULT ReportError(HRESULT hr, REFIID iid, const char* source, const char* description);

// ---- Smart pointer -------------------------------------------------------------------------------

// Owns one reference to an interface.
template <class T>
class CComPtr {
public:
  CComPtr() = default;
  CComPtr(T* p) : p(p) { if (p) p->AddRef(); }
  CComPtr(const CComPtr& other) : CComPtr(other.p) {}
  CComPtr(CComPtr&& other) noexcept : p(other.p) { other.p = nullptr; }
  ~CComPtr() { Release(); }
  CComPtr& operator=(const CComPtr& other) { Reset(other.p); return *this; }
  CComPtr& operator=(CComPtr&& other) noexcept {
    if (this != std::addressof(other)) { Release(); p = other.p; other.p = nullptr; }
    return *this;
  }
  CComPtr& operator=(T* other) { Reset(other); return *this; }

  T* operator->() const { return p; }
  operator T*() const { return p; }
  // Address for out parameters; the pointer must be empty.
  T** operator&() { return &p; }
  // Drops the reference held.
  void Release() { if (T* old = p) { p = nullptr; old->Release(); } }
  // Takes ownership of a reference the caller already holds.
  void Attach(T* other) { Release(); p = other; }
  // Gives up ownership without releasing.
  T* Detach() { T* old = p; p = nullptr; return old; }

  T* p{nullptr};

private:
  void Reset(T* other) {
    if (other) other->AddRef();
    Release();
    p = other;
  }
};

// ---- Creating objects ----------------------------------------------------------------------------

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_ALL = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

// Accepted for the programs' start-up and shutdown; the runtime needs no per-thread set-up.
HRESULT CoInitialize(void* reserved);
HRESULT OleInitialize(void* reserved);
void CoUninitialize();
void OleUninitialize();

// Finds the class's module in HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32, loads it once and
// asks its DllGetClassObject. REGDB_E_CLASSNOTREG when the class is not registered,
// CO_E_DLLNOTFOUND when the module cannot be loaded, CO_E_ERRORINDLL when it lacks the entry point.
HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* serverInfo, REFIID riid, void** ppv);
// CoGetClassObject, then IClassFactory::CreateInstance.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv);
// Unloads every module loaded by the two above whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();
// The class registered under HKEY_CLASSES_ROOT\<progId>\CLSID; REGDB_E_CLASSNOTREG when none.
HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);
// Code page 949 form of the above.
HRESULT CLSIDFromProgID(const char* progId, CLSID* clsid);
