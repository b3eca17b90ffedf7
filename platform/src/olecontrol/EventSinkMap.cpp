#include "platform/olehost.h"

// Reaches the protected sink maps of container windows.
struct EventSinkDispatch {
  static const AFX_EVENTSINKMAP* MapOf(const CWnd* wnd) { return wnd->GetEventSinkMap(); }
};

const AFX_EVENTSINKMAP* CWnd::GetThisEventSinkMap() {
  static const AFX_EVENTSINKMAP_ENTRY none[] = {{0, 0, nullptr, nullptr}};
  static const AFX_EVENTSINKMAP map{nullptr, none};
  return &map;
}

const AFX_EVENTSINKMAP* CWnd::GetEventSinkMap() const { return GetThisEventSinkMap(); }

namespace platform {

BOOL DispatchControlEvent(CWnd* container, UINT idCtrl, DISPID dispid, DISPPARAMS* params) {
  for (const AFX_EVENTSINKMAP* map = EventSinkDispatch::MapOf(container); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_EVENTSINKMAP_ENTRY* entry = map->lpEntries; entry && entry->pfn; ++entry) {
      if (entry->idCtrl != idCtrl || entry->dispid != dispid) continue;
      // The handler may destroy the container: nothing of it is touched afterwards.
      if (entry->pfn(container, params)) return TRUE;
    }
  }
  return FALSE;
}

bool ConvertEventArguments(const DISPPARAMS* params, const VARTYPE* types, std::size_t count,
                           std::vector<CComVariant>& out) {
  out.clear();
  if (!params || params->cArgs != count || (count && !params->rgvarg)) return false;
  std::vector<CComVariant> converted(count);
  for (std::size_t i = 0; i < count; ++i) {
    // rgvarg holds the arguments last first.
    const VARIANT& source = params->rgvarg[count - 1 - i];
    if (FAILED(VariantCopyInd(&converted[i], &source))) return false;
    if (types[i] != VT_VARIANT && converted[i].vt != types[i] && FAILED(converted[i].ChangeType(types[i])))
      return false;
  }
  out = std::move(converted);
  return true;
}

LPCTSTR EventArg<LPCTSTR>::From(const CComVariant& v, CString& text) {
  text = BstrToCp949(v.bstrVal);
  return text;
}

}  // namespace platform
