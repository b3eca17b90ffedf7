#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "platform/com_variant.h"

namespace {

// Element size of the element types arrays may hold; 0 for any other type.
ULONG ElementSize(VARTYPE vt) {
  switch (vt) {
    case VT_I2: case VT_BOOL: return sizeof(SHORT);
    case VT_I4: case VT_ERROR: return sizeof(LONG);
    case VT_BSTR: return sizeof(BSTR);
    case VT_UNKNOWN: case VT_DISPATCH: return sizeof(IUnknown*);
    case VT_VARIANT: return sizeof(VARIANT);
    default: return 0;
  }
}

// Address of the element at *index, or null outside the bounds.
void* ElementAt(SAFEARRAY* array, const LONG* index) {
  long long offset = static_cast<long long>(*index) - array->rgsabound[0].lLbound;
  if (offset < 0 || offset >= array->rgsabound[0].cElements) return nullptr;
  return static_cast<char*>(array->pvData) + offset * array->cbElements;
}

void FreeElement(VARTYPE vt, void* element) {
  switch (vt) {
    case VT_BSTR: SysFreeString(*static_cast<BSTR*>(element)); break;
    case VT_UNKNOWN: case VT_DISPATCH:
      if (IUnknown* p = *static_cast<IUnknown**>(element)) p->Release();
      break;
    case VT_VARIANT: VariantClear(static_cast<VARIANT*>(element)); break;
    default: break;
  }
}

// Copies *from into the uninitialised element storage to.
HRESULT CopyElement(VARTYPE vt, void* to, const void* from, ULONG size) {
  switch (vt) {
    case VT_BSTR: {
      BSTR text = *static_cast<const BSTR*>(from);
      BSTR copy = text ? SysAllocStringLen(text, SysStringLen(text)) : nullptr;
      if (text && !copy) return E_OUTOFMEMORY;
      *static_cast<BSTR*>(to) = copy;
      return S_OK;
    }
    case VT_UNKNOWN: case VT_DISPATCH: {
      IUnknown* p = *static_cast<IUnknown* const*>(from);
      if (p) p->AddRef();
      *static_cast<IUnknown**>(to) = p;
      return S_OK;
    }
    case VT_VARIANT: {
      VARIANT* dest = static_cast<VARIANT*>(to);
      VariantInit(dest);
      return VariantCopy(dest, static_cast<const VARIANT*>(from));
    }
    default:
      std::memcpy(to, from, size);
      return S_OK;
  }
}

USHORT FeaturesOf(VARTYPE vt) {
  constexpr USHORT kBstr = 0x100, kUnknown = 0x200, kDispatch = 0x400, kVariant = 0x800;
  switch (vt) {
    case VT_BSTR: return kBstr;
    case VT_UNKNOWN: return kUnknown;
    case VT_DISPATCH: return kDispatch;
    case VT_VARIANT: return kVariant;
    default: return 0;
  }
}

}  // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, SAFEARRAYBOUND* bounds) {
  ULONG size = ElementSize(vt);
  if (dims != 1 || !bounds || size == 0) return nullptr;
  std::size_t count = bounds[0].cElements;
  if (count > std::numeric_limits<std::size_t>::max() / size) return nullptr;
  auto* array = new (std::nothrow) SAFEARRAY;
  if (!array) return nullptr;
  array->vt = vt;
  array->cbElements = size;
  array->fFeatures = FeaturesOf(vt);
  array->rgsabound[0] = bounds[0];
  if (count > 0) {
    array->pvData = std::calloc(count, size);
    if (!array->pvData) {
      delete array;
      return nullptr;
    }
  }
  return array;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements) {
  SAFEARRAYBOUND bound{elements, lowerBound};
  return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
  if (!array) return S_OK;
  if (array->cLocks > 0) return DISP_E_ARRAYISLOCKED;
  char* data = static_cast<char*>(array->pvData);
  for (ULONG i = 0; i < array->rgsabound[0].cElements; ++i) FreeElement(array->vt, data + i * array->cbElements);
  std::free(array->pvData);
  delete array;
  return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* array) { return array ? array->cDims : 0; }

UINT SafeArrayGetElemsize(SAFEARRAY* array) { return array ? array->cbElements : 0; }

HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt) {
  if (!array || !vt) return E_INVALIDARG;
  *vt = array->vt;
  return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound) {
  if (!array || !bound) return E_INVALIDARG;
  if (dim != 1) return DISP_E_BADINDEX;
  *bound = array->rgsabound[0].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound) {
  if (!array || !bound) return E_INVALIDARG;
  if (dim != 1) return DISP_E_BADINDEX;
  long long upper = static_cast<long long>(array->rgsabound[0].lLbound) + array->rgsabound[0].cElements - 1;
  if (upper > std::numeric_limits<LONG>::max()) return DISP_E_OVERFLOW;
  *bound = static_cast<LONG>(upper);
  return S_OK;
}

HRESULT SafeArrayPutElement(SAFEARRAY* array, LONG* index, void* value) {
  if (!array || !index) return E_INVALIDARG;
  bool mayBeNull = array->vt == VT_BSTR || array->vt == VT_UNKNOWN || array->vt == VT_DISPATCH;
  if (!value && !mayBeNull) return E_INVALIDARG;
  void* element = ElementAt(array, index);
  if (!element) return DISP_E_BADINDEX;
  // Strings and interfaces are given as themselves, other types through a pointer.
  void* direct = value;
  bool byItself = array->vt == VT_BSTR || array->vt == VT_UNKNOWN || array->vt == VT_DISPATCH;
  const void* source = byItself ? static_cast<const void*>(&direct) : value;
  // Copy first, so a failed copy leaves the old element in place.
  alignas(VARIANT) unsigned char fresh[sizeof(VARIANT)];
  HRESULT hr = CopyElement(array->vt, fresh, source, array->cbElements);
  if (FAILED(hr)) return hr;
  FreeElement(array->vt, element);
  std::memcpy(element, fresh, array->cbElements);
  return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY* array, LONG* index, void* value) {
  if (!array || !index || !value) return E_INVALIDARG;
  void* element = ElementAt(array, index);
  if (!element) return DISP_E_BADINDEX;
  return CopyElement(array->vt, value, element, array->cbElements);
}

HRESULT SafeArrayLock(SAFEARRAY* array) {
  if (!array) return E_INVALIDARG;
  ++array->cLocks;
  return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* array) {
  if (!array) return E_INVALIDARG;
  if (array->cLocks == 0) return E_UNEXPECTED;
  --array->cLocks;
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
  if (!array || !data) return E_INVALIDARG;
  ++array->cLocks;
  *data = array->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) { return SafeArrayUnlock(array); }

HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** copy) {
  if (!copy) return E_INVALIDARG;
  *copy = nullptr;
  if (!array) return S_OK;
  SAFEARRAY* result = SafeArrayCreate(array->vt, 1, array->rgsabound);
  if (!result) return E_OUTOFMEMORY;
  char* from = static_cast<char*>(array->pvData);
  char* to = static_cast<char*>(result->pvData);
  for (ULONG i = 0; i < array->rgsabound[0].cElements; ++i) {
    HRESULT hr = CopyElement(array->vt, to + i * array->cbElements, from + i * array->cbElements, array->cbElements);
    if (FAILED(hr)) {
      SafeArrayDestroy(result);
      return hr;
    }
  }
  *copy = result;
  return S_OK;
}
