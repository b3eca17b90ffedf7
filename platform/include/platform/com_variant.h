#pragma once
// Automation values: BSTR strings, VARIANTs and their coercion, one-dimensional SAFEARRAYs and
// IEnumVARIANT.

#include <memory>
#include <string_view>
#include <vector>

#include "platform/com.h"

// ---- BSTR ----------------------------------------------------------------------------------------
// A BSTR points at UTF-16 text preceded by its length in bytes (4 bytes) and followed by a zero.
// A null BSTR is a valid empty string everywhere.

// A copy of the zero-terminated text; null for a null source.
BSTR SysAllocString(LPCOLESTR text);
// A string of length characters copied from text, or zero-filled when text is null; null when
// the memory cannot be had.
BSTR SysAllocStringLen(LPCOLESTR text, UINT length);
void SysFreeString(BSTR text);
// Length in characters (0 for null).
UINT SysStringLen(BSTR text);
// Length in bytes (0 for null).
UINT SysStringByteLen(BSTR text);

// A new BSTR holding code page 949 text converted to UTF-16.
BSTR Cp949ToBstr(std::string_view cp949);
// The code page 949 form of a BSTR (empty for null).
CString BstrToCp949(BSTR text);

// Owns one BSTR.
class CComBSTR {
public:
  CComBSTR() = default;
  explicit CComBSTR(LPCOLESTR text) : m_str(SysAllocString(text)) {}
  // From code page 949 text.
  explicit CComBSTR(const char* cp949) : m_str(Cp949ToBstr(cp949 ? cp949 : "")) {}
  CComBSTR(const CComBSTR& other) : m_str(other.Copy()) {}
  CComBSTR(CComBSTR&& other) noexcept : m_str(other.Detach()) {}
  ~CComBSTR() { SysFreeString(m_str); }
  CComBSTR& operator=(const CComBSTR& other);
  CComBSTR& operator=(CComBSTR&& other) noexcept;

  operator BSTR() const { return m_str; }
  // Address for out parameters; frees what was held first.
  BSTR* operator&();
  UINT Length() const { return SysStringLen(m_str); }
  // A new copy the caller owns.
  BSTR Copy() const { return m_str ? SysAllocStringLen(m_str, SysStringLen(m_str)) : nullptr; }
  void Attach(BSTR text) { SysFreeString(m_str); m_str = text; }
  BSTR Detach() { BSTR s = m_str; m_str = nullptr; return s; }
  CString ToCp949() const { return BstrToCp949(m_str); }

  BSTR m_str{nullptr};
};

// ---- VARIANT -------------------------------------------------------------------------------------

using VARTYPE = USHORT;
using VARIANT_BOOL = SHORT;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
  VT_TYPEMASK = 0x0FFF,
};

class IDispatch;
struct SAFEARRAY;
struct VARIANT;

struct VARIANT {
  VARTYPE vt{VT_EMPTY};
  WORD wReserved1{0};
  WORD wReserved2{0};
  WORD wReserved3{0};
  union {
    void* byref{nullptr};
    LONG lVal;
    SHORT iVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    SAFEARRAY* parray;
    SHORT* piVal;
    LONG* plVal;
    VARIANT_BOOL* pboolVal;
    SCODE* pscode;
    BSTR* pbstrVal;
    IUnknown** ppunkVal;
    IDispatch** ppdispVal;
    SAFEARRAY** pparray;
    VARIANT* pvarVal;
  };
};
using VARIANTARG = VARIANT;
using LPVARIANT = VARIANT*;

// Flags of VariantChangeType.
constexpr USHORT VARIANT_NOVALUEPROP = 0x1;
constexpr USHORT VARIANT_ALPHABOOL = 0x2;

// Makes v VT_EMPTY without freeing anything (for fresh memory).
void VariantInit(VARIANT* v);
// Frees what v owns (string, array, interface reference; nothing for by-reference values) and
// leaves it VT_EMPTY. DISP_E_BADVARTYPE for a type this system does not know (v is left as is).
HRESULT VariantClear(VARIANT* v);
// Makes dest (cleared first) a deep copy of src (new string, copied array, added reference).
// By-reference values are copied as pointers. On failure dest is unchanged.
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// Like VariantCopy but a by-reference source is copied as the value it points at.
HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src);
// Converts src to type vt into dest (dest may be src). Targets: VT_EMPTY, VT_I2, VT_I4, VT_BOOL,
// VT_BSTR, VT_ERROR, VT_UNKNOWN, VT_DISPATCH, and src's own type. DISP_E_OVERFLOW when a number does
// not fit, DISP_E_TYPEMISMATCH when no conversion exists; dest is unchanged on failure.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt);

// Owns one VARIANT; constructors for the value types the programs pass.
class CComVariant : public VARIANT {
public:
  CComVariant() = default;
  CComVariant(const VARIANT& other) { VariantCopy(this, &other); }
  CComVariant(const CComVariant& other) : VARIANT() { VariantCopy(this, &other); }
  CComVariant(CComVariant&& other) noexcept;
  CComVariant(SHORT value) { vt = VT_I2; iVal = value; }
  CComVariant(LONG value) { vt = VT_I4; lVal = value; }
  CComVariant(bool value) { vt = VT_BOOL; boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; }
  // Code page 949 text as a new BSTR.
  CComVariant(const char* cp949) { vt = VT_BSTR; bstrVal = Cp949ToBstr(cp949 ? cp949 : ""); }
  // A copy of UTF-16 text (a BSTR or a literal) as a new BSTR.
  explicit CComVariant(LPCOLESTR text) { vt = VT_BSTR; bstrVal = SysAllocString(text ? text : u""); }
  // Takes a reference to the object.
  CComVariant(IDispatch* object);
  CComVariant(IUnknown* object);
  ~CComVariant() { VariantClear(this); }
  CComVariant& operator=(const CComVariant& other);
  CComVariant& operator=(CComVariant&& other) noexcept;

  HRESULT Clear() { return VariantClear(this); }
  // Converts in place; unchanged on failure.
  HRESULT ChangeType(VARTYPE type) { return VariantChangeType(this, this, 0, type); }
  // Moves the value out into dest (which is overwritten without clearing) and leaves this empty.
  void Detach(VARIANT* dest);
};

// ---- SAFEARRAY -----------------------------------------------------------------------------------

struct SAFEARRAYBOUND {
  ULONG cElements{0};
  LONG lLbound{0};
};

// One-dimensional arrays only; the element type is kept with the array.
struct SAFEARRAY {
  USHORT cDims{1};
  USHORT fFeatures{0};
  ULONG cbElements{0};
  ULONG cLocks{0};
  void* pvData{nullptr};
  SAFEARRAYBOUND rgsabound[1];
  VARTYPE vt{VT_EMPTY};
};
using LPSAFEARRAY = SAFEARRAY*;

// A zero-filled array of the given element type (VT_I2, VT_I4, VT_BOOL, VT_ERROR, VT_BSTR,
// VT_VARIANT, VT_UNKNOWN, VT_DISPATCH) with dims dimensions; null when dims is not 1, the type is
// not one of those, or the size does not fit in memory.
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, SAFEARRAYBOUND* bounds);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements);
// Frees the array and what its elements own; DISP_E_ARRAYISLOCKED while it is locked.
HRESULT SafeArrayDestroy(SAFEARRAY* array);
UINT SafeArrayGetDim(SAFEARRAY* array);
UINT SafeArrayGetElemsize(SAFEARRAY* array);
HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt);
// Bounds of dimension dim (1-based); DISP_E_BADINDEX for another dimension.
HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound);
HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound);
// Stores a copy of the value at *index, freeing the element it replaces; DISP_E_BADINDEX outside
// the bounds. value points at the number or VARIANT; a BSTR or interface pointer is given itself.
// (Elements are copied: a new string, an added reference, a deep VARIANT copy.)
HRESULT SafeArrayPutElement(SAFEARRAY* array, LONG* index, void* value);
// Copies the element at *index into *value, which is overwritten without being freed (the caller
// owns the copy).
HRESULT SafeArrayGetElement(SAFEARRAY* array, LONG* index, void* value);
// Locks the array and gives its element storage; pair with SafeArrayUnaccessData.
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
HRESULT SafeArrayLock(SAFEARRAY* array);
HRESULT SafeArrayUnlock(SAFEARRAY* array);
// A deep copy.
HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** copy);

// ---- IEnumVARIANT --------------------------------------------------------------------------------

constexpr IID IID_IEnumVARIANT = GuidFromText("{00020404-0000-0000-C000-000000000046}");

class IEnumVARIANT : public IUnknown {
public:
  // Copies up to count items into items (the caller owns them) and advances; S_FALSE when fewer
  // were left. fetched may be null only when count is 1.
  virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) = 0;
  // Advances up to count items; S_FALSE when the end came first.
  virtual HRESULT STDMETHODCALLTYPE Skip(ULONG count) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
  // A new enumerator over the same items at the same position.
  virtual HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** clone) = 0;
};
COM_INTERFACE_ID(IEnumVARIANT, IID_IEnumVARIANT);

// An enumerator over a fixed list of values (copied at creation and shared by clones).
// Returns it with one reference.
HRESULT CreateVariantEnumerator(const std::vector<CComVariant>& items, IEnumVARIANT** enumerator);
