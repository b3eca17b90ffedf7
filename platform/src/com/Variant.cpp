#include <cstdint>
#include <string>

#include "platform/com_dispatch.h"
#include "platform/com_variant.h"

namespace {

bool IsScalarType(VARTYPE base) {
  switch (base) {
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_BSTR: case VT_DISPATCH:
    case VT_ERROR: case VT_BOOL: case VT_UNKNOWN:
      return true;
    default:
      return false;
  }
}

// Whether this system knows how to copy and free a value of type vt.
bool IsKnownType(VARTYPE vt) {
  VARTYPE base = vt & VT_TYPEMASK;
  VARTYPE flags = vt & ~VT_TYPEMASK;
  if (flags & ~(VT_ARRAY | VT_BYREF)) return false;
  if (flags == 0) return IsScalarType(base);
  if (base == VT_EMPTY || base == VT_NULL) return false;
  return IsScalarType(base) || base == VT_VARIANT;
}

void SetEmpty(VARIANT* v) {
  v->vt = VT_EMPTY;
  v->byref = nullptr;
}

// Copies a value that is not by-reference into fresh dest; dest is untouched on failure.
HRESULT CopyOwnedValue(VARIANT* dest, const VARIANT& src) {
  VARIANT copy = src;
  if (src.vt & VT_ARRAY) {
    if (src.parray) {
      HRESULT hr = SafeArrayCopy(src.parray, &copy.parray);
      if (FAILED(hr)) return hr;
    }
  } else if (src.vt == VT_BSTR) {
    if (src.bstrVal) {
      copy.bstrVal = SysAllocStringLen(src.bstrVal, SysStringLen(src.bstrVal));
      if (!copy.bstrVal) return E_OUTOFMEMORY;
    }
  } else if (src.vt == VT_DISPATCH || src.vt == VT_UNKNOWN) {
    if (src.punkVal) src.punkVal->AddRef();
  }
  *dest = copy;
  return S_OK;
}

// The value a by-reference VARIANT points at, as a VARIANT that shares its storage.
HRESULT Dereference(const VARIANT& src, VARIANT& shallow) {
  if (!src.byref) return E_INVALIDARG;
  VARTYPE base = src.vt & ~VT_BYREF;
  if (base == VT_VARIANT) {
    if (src.pvarVal->vt & VT_BYREF) return DISP_E_BADVARTYPE;
    shallow = *src.pvarVal;
    return S_OK;
  }
  shallow = VARIANT{};
  shallow.vt = base;
  if (base & VT_ARRAY) {
    shallow.parray = *src.pparray;
    return S_OK;
  }
  switch (base) {
    case VT_I2: shallow.iVal = *src.piVal; break;
    case VT_BOOL: shallow.boolVal = *src.pboolVal; break;
    case VT_I4: shallow.lVal = *src.plVal; break;
    case VT_ERROR: shallow.scode = *src.pscode; break;
    case VT_BSTR: shallow.bstrVal = *src.pbstrVal; break;
    case VT_DISPATCH: shallow.pdispVal = *src.ppdispVal; break;
    case VT_UNKNOWN: shallow.punkVal = *src.ppunkVal; break;
    default: return DISP_E_BADVARTYPE;
  }
  return S_OK;
}

// ---- coercion ----

constexpr std::int64_t kParseLimit = std::int64_t{1} << 40;

HRESULT ParseInteger(BSTR text, std::int64_t& out) {
  std::u16string_view s(text ? text : u"", text ? SysStringLen(text) : 0);
  std::size_t i = 0, end = s.size();
  while (i < end && (s[i] == u' ' || s[i] == u'\t')) ++i;
  while (end > i && (s[end - 1] == u' ' || s[end - 1] == u'\t')) --end;
  bool negative = false;
  if (i < end && (s[i] == u'-' || s[i] == u'+')) negative = s[i++] == u'-';
  if (i == end) return DISP_E_TYPEMISMATCH;
  std::int64_t value = 0;
  for (; i < end; ++i) {
    if (s[i] < u'0' || s[i] > u'9') return DISP_E_TYPEMISMATCH;
    value = value * 10 + (s[i] - u'0');
    if (value > kParseLimit) return DISP_E_OVERFLOW;
  }
  out = negative ? -value : value;
  return S_OK;
}

bool EqualsAsciiNoCase(BSTR text, const char* word) {
  UINT n = SysStringLen(text);
  for (UINT i = 0; i < n; ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = c - u'A' + u'a';
    if (!word[i] || c != static_cast<unsigned char>(word[i])) return false;
  }
  return word[n] == 0;
}

HRESULT NumberOf(const VARIANT& v, std::int64_t& out) {
  switch (v.vt) {
    case VT_EMPTY: out = 0; return S_OK;
    case VT_I2: out = v.iVal; return S_OK;
    case VT_I4: out = v.lVal; return S_OK;
    case VT_BOOL: out = v.boolVal ? -1 : 0; return S_OK;
    case VT_BSTR:
      if (v.bstrVal && EqualsAsciiNoCase(v.bstrVal, "true")) { out = -1; return S_OK; }
      if (v.bstrVal && EqualsAsciiNoCase(v.bstrVal, "false")) { out = 0; return S_OK; }
      return ParseInteger(v.bstrVal, out);
    default: return DISP_E_TYPEMISMATCH;
  }
}

HRESULT ToInteger(const VARIANT& v, VARTYPE vt, VARIANT& out) {
  std::int64_t n = 0;
  HRESULT hr = NumberOf(v, n);
  if (FAILED(hr)) return hr;
  out = VARIANT{};
  out.vt = vt;
  if (vt == VT_I2) {
    if (n < INT16_MIN || n > INT16_MAX) return DISP_E_OVERFLOW;
    out.iVal = static_cast<SHORT>(n);
  } else if (vt == VT_I4) {
    if (n < INT32_MIN || n > INT32_MAX) return DISP_E_OVERFLOW;
    out.lVal = static_cast<LONG>(n);
  } else {
    out.boolVal = n ? VARIANT_TRUE : VARIANT_FALSE;
  }
  return S_OK;
}

HRESULT ToText(const VARIANT& v, USHORT flags, VARIANT& out) {
  std::string text;
  switch (v.vt) {
    case VT_EMPTY: break;
    case VT_I2: text = std::to_string(v.iVal); break;
    case VT_I4: text = std::to_string(v.lVal); break;
    case VT_BOOL:
      if (flags & VARIANT_ALPHABOOL)
        text = v.boolVal ? "True" : "False";
      else
        text = v.boolVal ? "-1" : "0";
      break;
    default: return DISP_E_TYPEMISMATCH;
  }
  out = VARIANT{};
  out.vt = VT_BSTR;
  out.bstrVal = Cp949ToBstr(text);
  return out.bstrVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT ToInterface(const VARIANT& v, VARTYPE vt, VARIANT& out) {
  if (v.vt != VT_DISPATCH && v.vt != VT_UNKNOWN) return DISP_E_TYPEMISMATCH;
  out = VARIANT{};
  out.vt = vt;
  if (!v.punkVal) return S_OK;
  const IID& iid = vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown;
  if (FAILED(v.punkVal->QueryInterface(iid, &out.byref))) {
    out = VARIANT{};
    return DISP_E_TYPEMISMATCH;
  }
  return S_OK;
}

// A new value of type vt from a value that is not by-reference.
HRESULT Convert(const VARIANT& v, USHORT flags, VARTYPE vt, VARIANT& out) {
  if (v.vt == vt) return CopyOwnedValue(&out, v);
  switch (vt) {
    case VT_I2: case VT_I4: case VT_BOOL: return ToInteger(v, vt, out);
    case VT_BSTR: return ToText(v, flags, out);
    case VT_DISPATCH: case VT_UNKNOWN: return ToInterface(v, vt, out);
    default: return DISP_E_TYPEMISMATCH;
  }
}

}  // namespace

void VariantInit(VARIANT* v) {
  if (v) SetEmpty(v);
}

HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_INVALIDARG;
  if (!IsKnownType(v->vt)) return DISP_E_BADVARTYPE;
  if (!(v->vt & VT_BYREF)) {
    if (v->vt & VT_ARRAY) {
      if (v->parray) {
        HRESULT hr = SafeArrayDestroy(v->parray);
        if (FAILED(hr)) return hr;
      }
    } else if (v->vt == VT_BSTR) {
      SysFreeString(v->bstrVal);
    } else if ((v->vt == VT_DISPATCH || v->vt == VT_UNKNOWN) && v->punkVal) {
      v->punkVal->Release();
    }
  }
  SetEmpty(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
  if (!dest || !src) return E_INVALIDARG;
  if (dest == src) return S_OK;
  if (!IsKnownType(src->vt)) return DISP_E_BADVARTYPE;
  VARIANT copy;
  HRESULT hr = (src->vt & VT_BYREF) ? (copy = *src, S_OK) : CopyOwnedValue(&copy, *src);
  if (FAILED(hr)) return hr;
  hr = VariantClear(dest);
  if (FAILED(hr)) {
    VariantClear(&copy);
    return hr;
  }
  *dest = copy;
  return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src) {
  if (!dest || !src) return E_INVALIDARG;
  if (!(src->vt & VT_BYREF)) return VariantCopy(dest, src);
  if (!IsKnownType(src->vt)) return DISP_E_BADVARTYPE;
  VARIANT shallow;
  HRESULT hr = Dereference(*src, shallow);
  if (FAILED(hr)) return hr;
  if (!IsKnownType(shallow.vt)) return DISP_E_BADVARTYPE;
  VARIANT copy;
  hr = CopyOwnedValue(&copy, shallow);
  if (FAILED(hr)) return hr;
  hr = VariantClear(dest);
  if (FAILED(hr)) {
    VariantClear(&copy);
    return hr;
  }
  *dest = copy;
  return S_OK;
}

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt) {
  if (!dest || !src) return E_INVALIDARG;
  if (!IsKnownType(src->vt)) return DISP_E_BADVARTYPE;
  VARIANT value = *src;
  if (src->vt & VT_BYREF) {
    HRESULT hr = Dereference(*src, value);
    if (FAILED(hr)) return hr;
  }
  VARIANT converted;
  HRESULT hr = Convert(value, flags, vt, converted);
  if (FAILED(hr)) return hr;
  hr = VariantClear(dest);
  if (FAILED(hr)) {
    VariantClear(&converted);
    return hr;
  }
  *dest = converted;
  return S_OK;
}

// ---- CComVariant ----

CComVariant::CComVariant(CComVariant&& other) noexcept : VARIANT(other) { SetEmpty(&other); }

CComVariant::CComVariant(IDispatch* object) {
  vt = VT_DISPATCH;
  pdispVal = object;
  if (object) object->AddRef();
}

CComVariant::CComVariant(IUnknown* object) {
  vt = VT_UNKNOWN;
  punkVal = object;
  if (object) object->AddRef();
}

CComVariant& CComVariant::operator=(const CComVariant& other) {
  VariantCopy(this, &other);
  return *this;
}

CComVariant& CComVariant::operator=(CComVariant&& other) noexcept {
  if (this != &other) {
    VariantClear(this);
    static_cast<VARIANT&>(*this) = other;
    SetEmpty(&other);
  }
  return *this;
}

void CComVariant::Detach(VARIANT* dest) {
  *dest = *this;
  SetEmpty(this);
}
