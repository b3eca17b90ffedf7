#include <cstdio>
#include <cstring>
#include <map>
#include <optional>

#include "platform/gdi_dc.h"
#include "platform/olecontrol.h"
#include "platform/resources.h"

// The window side of controls. A control's window is not attached to the control object: a
// container's wrapper may attach itself to it, and the class procedure below hands every
// message on to the control.
struct OleControlWindows {
  static constexpr const char* kClassName = "OleControl";

  static std::map<HWND, COleControl*>& Bound() {
    static std::map<HWND, COleControl*> bound;
    return bound;
  }
  // The control whose window is being made: its first message binds it.
  static COleControl*& Creating() {
    static COleControl* creating = nullptr;
    return creating;
  }

  static void RegisterOnce() {
    static const bool registered = [] {
      WNDCLASS wc{};
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = &Proc;
      wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
      wc.lpszClassName = kClassName;
      return ::RegisterClass(&wc) != FALSE;
    }();
    (void)registered;
  }

  static COleControl* Bind(HWND hwnd) {
    auto it = Bound().find(hwnd);
    if (it != Bound().end()) return it->second;
    COleControl* control = Creating();
    if (!control) return nullptr;
    Creating() = nullptr;
    control->m_hWnd = hwnd;
    Bound()[hwnd] = control;
    return control;
  }

  static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    COleControl* control = Bind(hwnd);
    if (!control) return ::DefWindowProc(hwnd, message, wParam, lParam);
    LRESULT result = control->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      Bound().erase(hwnd);
      control->WindowDestroyed();
    }
    return result;
  }
};

BEGIN_MESSAGE_MAP(COleControl, CWnd)
  ON_WM_PAINT()
  ON_WM_SIZE()
END_MESSAGE_MAP()

COleControl::COleControl() = default;

COleControl::~COleControl() {
  m_destroying = true;
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  if (CConnectionPoint* point = m_events.Get(m_eventIid)) point->UnadviseAll();
  if (m_module) m_module->Unlock();
}

// ---- object ----

HRESULT COleControl::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IDispatch || (riid == m_dispatchIid && riid != IID_NULL))
    *ppv = static_cast<IDispatch*>(this);
  else if (riid == IID_IConnectionPointContainer)
    *ppv = static_cast<IConnectionPointContainer*>(this);
  else if (riid == IID_IOleInPlaceControl)
    *ppv = static_cast<IOleInPlaceControl*>(this);
  if (!*ppv) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG COleControl::AddRef() { return ++m_refs; }

ULONG COleControl::Release() {
  ULONG left = --m_refs;
  if (left == 0 && !m_destroying) {
    // References taken and dropped while the destructor runs must not reach zero again.
    m_destroying = true;
    m_refs = 1u << 30;
    delete this;
  }
  return left;
}

void COleControl::BindToModule(CComModule* module, HINSTANCE resources) {
  if (m_module || !module) return;
  m_module = module;
  m_resources = resources;
  m_module->Lock();
}

// ---- dispatch ----

HRESULT COleControl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT COleControl::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT COleControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  const CDispatchTableBase* map = GetDispatchMap();
  if (!map) {
    for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  return map->GetIDsOfNames(names, count, ids);
}

HRESULT COleControl::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                            EXCEPINFO* exception, UINT* argErr) {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  // The member may make its container release the control: keep it alive for the call.
  CComPtr<IDispatch> keep(static_cast<IDispatch*>(this));
  std::optional<platform::ResourceScope> scope;
  if (m_resources) scope.emplace(m_resources);
  return InvokeDispatchMap(id, flags, params, result, exception, argErr);
}

HRESULT COleControl::InvokeDispatchMap(DISPID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return DISP_E_MEMBERNOTFOUND;
}

void COleControl::ThrowError(SCODE sc, LPCTSTR description, UINT helpId) {
  auto* e = new COleDispatchException(description ? description : "", helpId, 0);
  e->m_scError = sc;
  throw e;
}

// ---- events ----

HRESULT COleControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points) *points = nullptr;
  return E_NOTIMPL;
}

HRESULT COleControl::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  return m_events.Find(riid, point);
}

void COleControl::InitializeIIDs(const IID* dispatchIid, const IID* eventIid) {
  if (dispatchIid) m_dispatchIid = *dispatchIid;
  if (eventIid && *eventIid != IID_NULL && !m_events.Get(*eventIid)) {
    m_eventIid = *eventIid;
    m_events.Add(m_eventIid);
  }
}

namespace {

bool EventListed(const std::vector<DispMemberInfo>* map, DISPID id) {
  if (!map) return true;
  for (const DispMemberInfo& event : *map)
    if (event.dispid == id) return true;
  return false;
}

// Converts values to the types params describes; false when they do not fit.
bool ConvertToDescribed(const BYTE* params, std::vector<CComVariant>& values) {
  std::size_t described = params ? std::strlen(reinterpret_cast<const char*>(params)) : 0;
  if (described != values.size()) return false;
  for (std::size_t i = 0; i < described; ++i) {
    VARTYPE want = params[i] & ~VTS_BYREF_FLAG;
    if (want == VT_VARIANT) continue;
    if (values[i].vt != want && FAILED(values[i].ChangeType(want))) return false;
  }
  return true;
}

}  // namespace

void COleControl::FireEventWith(DISPID id, const BYTE* params, std::vector<CComVariant>& values) {
  if (m_eventIid == IID_NULL || !EventListed(GetEventMap(), id)) {
    std::fprintf(stderr, "platform: control event %d is not in its event map; not fired\n", static_cast<int>(id));
    return;
  }
  if (!ConvertToDescribed(params, values)) {
    std::fprintf(stderr, "platform: arguments of control event %d do not fit its description; not fired\n",
                 static_cast<int>(id));
    return;
  }
  // A sink may release the control while it handles the event.
  CComPtr<IDispatch> keep(static_cast<IDispatch*>(this));
  m_events.Fire(m_eventIid, id, values);
}

namespace platform {

DispMemberInfo EventMember(const char* name, DISPID id, const char* vtsParams) {
  DispMemberInfo info;
  info.name = name;
  info.dispid = id;
  info.kind = DISPATCH_METHOD;
  for (const char* p = vtsParams ? vtsParams : ""; *p; ++p) info.params.push_back(static_cast<BYTE>(*p));
  return info;
}

}  // namespace platform

// ---- hosting ----

HRESULT COleControl::CreateInPlaceWindow(IOleControlSite* site, HWND parent, const RECT* rect, UINT id, DWORD style,
                                         HWND* window) {
  if (window) *window = nullptr;
  if (m_hWnd) return E_UNEXPECTED;
  OleControlWindows::RegisterOnce();
  RECT place = rect ? *rect : RECT{0, 0, m_size.cx, m_size.cy};
  std::optional<platform::ResourceScope> scope;
  if (m_resources) scope.emplace(m_resources);
  OleControlWindows::Creating() = this;
  HWND hwnd = ::CreateWindowEx(0, OleControlWindows::kClassName, "", style | WS_CHILD, place.left, place.top,
                               place.right - place.left, place.bottom - place.top, parent,
                               reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), AfxGetInstanceHandle(),
                               nullptr);
  OleControlWindows::Creating() = nullptr;
  if (!hwnd) return E_FAIL;
  m_site = site;
  m_size = SIZE{place.right - place.left, place.bottom - place.top};
  if (window) *window = hwnd;
  return S_OK;
}

HRESULT COleControl::GetEventInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = m_eventIid;
  return S_OK;
}

HRESULT COleControl::LoadState(const BYTE* data, ULONG size) {
  std::optional<platform::ResourceScope> scope;
  if (m_resources) scope.emplace(m_resources);
  if (!data || size == 0) {
    OnResetState();
    m_modified = FALSE;
    return S_OK;
  }
  CPropExchange px(CPropExchange::Mode::Load, data, size);
  DoPropExchange(&px);
  m_modified = FALSE;
  if (px.Succeeded()) return S_OK;
  OnResetState();
  return E_FAIL;
}

HRESULT COleControl::SaveState(std::vector<BYTE>* state) {
  if (!state) return E_POINTER;
  CPropExchange px(CPropExchange::Mode::Save);
  DoPropExchange(&px);
  *state = px.Stream();
  m_modified = FALSE;
  return S_OK;
}

HRESULT COleControl::Close() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  return S_OK;
}

void COleControl::WindowDestroyed() {
  m_hWnd = nullptr;
  CComPtr<IOleControlSite> site;
  site.Attach(m_site.Detach());
  if (!site || m_destroying) return;
  // The site lets go of the control: keep it alive until this call is over.
  AddRef();
  site->OnControlWindowDestroyed();
  site.Release();
  Release();
}

// ---- window and painting ----

LRESULT COleControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  std::optional<platform::ResourceScope> scope;
  if (m_resources) scope.emplace(m_resources);
  return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT COleControl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_hWnd ? ::DefWindowProc(m_hWnd, message, wParam, lParam) : 0;
}

void COleControl::OnPaint() {
  CPaintDC dc(this);
  CRect bounds;
  GetClientRect(&bounds);
  OnDraw(&dc, bounds, CRect(dc.m_ps.rcPaint));
}

void COleControl::OnSize(UINT type, int cx, int cy) {
  m_size = SIZE{cx, cy};
  CWnd::OnSize(type, cx, cy);
}

void COleControl::OnDraw(CDC*, const CRect&, const CRect&) {}

void COleControl::InvalidateControl(LPCRECT rect) {
  if (m_hWnd) ::InvalidateRect(m_hWnd, rect, FALSE);
}

BOOL COleControl::GetControlSize(int* cx, int* cy) const {
  SIZE size = m_size;
  if (m_hWnd) {
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    size = SIZE{r.right - r.left, r.bottom - r.top};
  }
  if (cx) *cx = size.cx;
  if (cy) *cy = size.cy;
  return TRUE;
}

BOOL COleControl::SetControlSize(int cx, int cy) {
  if (cx < 0 || cy < 0) return FALSE;
  m_size = SIZE{cx, cy};
  if (m_hWnd) ::SetWindowPos(m_hWnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

void COleControl::SetInitialSize(int cx, int cy) {
  if (cx < 0 || cy < 0) return;
  m_initialSize = SIZE{cx, cy};
  if (!m_hWnd) m_size = m_initialSize;
}

// ---- persisted state ----

void COleControl::DoPropExchange(CPropExchange* px) { ExchangeExtent(px); }

void COleControl::OnResetState() {
  CPropExchange px(CPropExchange::Mode::Reset);
  DoPropExchange(&px);
}

BOOL COleControl::ExchangeVersion(CPropExchange* px, DWORD versionDefault, BOOL) {
  DWORD version = versionDefault;
  BOOL ok = px->ExchangeVersion(version, versionDefault);
  m_versionLoaded = version;
  return ok;
}

BOOL COleControl::ExchangeExtent(CPropExchange* px) {
  int cx = 0, cy = 0;
  GetControlSize(&cx, &cy);
  LONG width = cx, height = cy;
  BOOL ok = px->ExchangeLong(width, m_initialSize.cx);
  ok = px->ExchangeLong(height, m_initialSize.cy) && ok;
  if (!px->IsLoading()) return ok;
  if (width < 0 || height < 0) {
    width = m_initialSize.cx;
    height = m_initialSize.cy;
    ok = FALSE;
  }
  SetControlSize(width, height);
  return ok;
}
