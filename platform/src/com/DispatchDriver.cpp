#include <cstring>
#include <limits>

#include "platform/com_dispatch.h"

namespace {

[[noreturn]] void ThrowInvokeFailure(HRESULT hr, EXCEPINFO& info) {
  if (hr != DISP_E_EXCEPTION) AfxThrowOleException(hr);
  if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  auto* e = new COleDispatchException(BstrToCp949(info.bstrDescription), info.dwHelpContext, info.wCode);
  e->m_scError = info.wCode ? 0 : info.scode;
  e->m_strSource = BstrToCp949(info.bstrSource);
  e->m_strHelpFile = BstrToCp949(info.bstrHelpFile);
  ClearExcepInfo(&info);
  throw e;
}

// Converts one argument to the type its description byte names.
void ConvertArgument(BYTE described, CComVariant& value) {
  VARTYPE want = described & ~VTS_BYREF_FLAG;
  if (described & VTS_BYREF_FLAG) {
    if (value.vt != (want | VT_BYREF)) AfxThrowOleException(DISP_E_TYPEMISMATCH);
    return;
  }
  if (want == VT_VARIANT) {
    if (value.vt == (VT_VARIANT | VT_BYREF)) {
      CComVariant copy;
      HRESULT hr = VariantCopy(&copy, value.pvarVal);
      if (FAILED(hr)) AfxThrowOleException(hr);
      value = std::move(copy);
    }
    return;
  }
  HRESULT hr = value.ChangeType(want);
  if (FAILED(hr)) AfxThrowOleException(hr);
}

void StoreResult(VARTYPE vtRet, void* out, CComVariant& value) {
  if (vtRet != VT_VARIANT && value.vt != vtRet) {
    HRESULT hr = value.ChangeType(vtRet);
    if (FAILED(hr)) AfxThrowOleException(hr);
  }
  switch (vtRet) {
    case VT_I2: *static_cast<SHORT*>(out) = value.iVal; break;
    case VT_I4: *static_cast<LONG*>(out) = value.lVal; break;
    case VT_BOOL: *static_cast<BOOL*>(out) = value.boolVal != 0; break;
    case VT_ERROR: *static_cast<SCODE*>(out) = value.scode; break;
    case VT_BSTR: *static_cast<CString*>(out) = BstrToCp949(value.bstrVal); break;
    case VT_VARIANT:
      if (FAILED(VariantClear(static_cast<VARIANT*>(out)))) VariantInit(static_cast<VARIANT*>(out));
      value.Detach(static_cast<VARIANT*>(out));
      break;
    case VT_DISPATCH: case VT_UNKNOWN:
      *static_cast<IUnknown**>(out) = value.punkVal;
      value.punkVal = nullptr;
      value.vt = VT_EMPTY;
      break;
    default: AfxThrowOleException(DISP_E_BADVARTYPE);
  }
}

}  // namespace

void COleDispatchDriver::AttachDispatch(LPDISPATCH dispatch, BOOL autoRelease) {
  ReleaseDispatch();
  m_lpDispatch = dispatch;
  m_bAutoRelease = autoRelease;
}

LPDISPATCH COleDispatchDriver::DetachDispatch() {
  LPDISPATCH held = m_lpDispatch;
  m_lpDispatch = nullptr;
  return held;
}

void COleDispatchDriver::ReleaseDispatch() {
  if (m_lpDispatch && m_bAutoRelease) m_lpDispatch->Release();
  m_lpDispatch = nullptr;
}

BOOL COleDispatchDriver::CreateDispatch(REFCLSID clsid, COleException* error) {
  IDispatch* dispatch = nullptr;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  if (FAILED(hr)) {
    if (error) error->m_sc = hr;
    return FALSE;
  }
  AttachDispatch(dispatch, TRUE);
  return TRUE;
}

void COleDispatchDriver::InvokeWithArguments(DISPID id, WORD flags, VARTYPE vtRet, void* result,
                                             const BYTE* paramInfo, std::vector<CComVariant>& values) {
  if (!m_lpDispatch) AfxThrowOleException(E_UNEXPECTED);
  std::size_t described = paramInfo ? std::strlen(reinterpret_cast<const char*>(paramInfo)) : 0;
  if (described != values.size()) AfxThrowOleException(DISP_E_BADPARAMCOUNT);
  for (std::size_t i = 0; i < values.size(); ++i) ConvertArgument(paramInfo[i], values[i]);

  // Invoke takes the arguments last first.
  std::vector<VARIANT> reversed(values.rbegin(), values.rend());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params;
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  params.cArgs = static_cast<UINT>(reversed.size());
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  CComVariant answer;
  EXCEPINFO info;
  UINT argErr = 0;
  HRESULT hr = m_lpDispatch->Invoke(id, IID_NULL, 0, flags, &params, vtRet == VT_EMPTY ? nullptr : &answer,
                                    &info, &argErr);
  if (FAILED(hr)) ThrowInvokeFailure(hr, info);
  if (vtRet != VT_EMPTY && result) StoreResult(vtRet, result, answer);
}

CComVariant COleDispatchDriver::Argument(long v) {
  if (v < std::numeric_limits<LONG>::min() || v > std::numeric_limits<LONG>::max())
    AfxThrowOleException(DISP_E_OVERFLOW);
  return CComVariant(static_cast<LONG>(v));
}

CComVariant COleDispatchDriver::Argument(const VARIANT* v) {
  if (!v) AfxThrowOleException(E_POINTER);
  return CComVariant(*v);
}

CComVariant COleDispatchDriver::ByReference(VARTYPE vt, void* pointer) {
  if (!pointer) AfxThrowOleException(E_POINTER);
  CComVariant value;
  value.vt = vt | VT_BYREF;
  value.byref = pointer;
  return value;
}
