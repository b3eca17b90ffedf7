#include <cstdio>
#include <map>

#include "platform/com_object.h"
#include "platform/olehost.h"

namespace {

// The container's side of one hosted control: holds the control while its window lives and
// hands its events to the container's sink maps.
class COleControlSite final : public CComObjectImpl<IOleControlSite, IDispatch> {
public:
  // Connects to the control's events and makes its window; false when the window cannot be made.
  bool Host(IUnknown* control, HWND container, const RECT& rect, UINT id, DWORD style);
  // Disconnects the events and lets the control go.
  void Disconnect();

  HRESULT STDMETHODCALLTYPE OnControlWindowDestroyed() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  // An event of the control.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

  IDispatch* Dispatch() const { return m_dispatch; }
  IUnknown* Control() const { return m_control; }
  HWND Window() const { return m_window; }

protected:
  void* FindInterface(REFIID riid) override {
    if (riid == m_eventIid && riid != IID_NULL) return static_cast<IDispatch*>(this);
    return CComObjectImpl::FindInterface(riid);
  }

private:
  void Advise();

  CComPtr<IUnknown> m_control;
  CComPtr<IDispatch> m_dispatch;
  CComPtr<IOleInPlaceControl> m_inPlace;
  CComPtr<IConnectionPoint> m_point;
  DWORD m_cookie{0};
  IID m_eventIid{};
  HWND m_container{nullptr};
  HWND m_window{nullptr};
  UINT m_id{0};
};

std::map<HWND, CComPtr<COleControlSite>>& Sites() {
  static std::map<HWND, CComPtr<COleControlSite>> sites;
  return sites;
}

COleControlSite* FindSite(HWND window) {
  auto it = Sites().find(window);
  return it == Sites().end() ? nullptr : it->second.p;
}

bool COleControlSite::Host(IUnknown* control, HWND container, const RECT& rect, UINT id, DWORD style) {
  m_control = control;
  m_container = container;
  m_id = id;
  if (FAILED(control->QueryInterface(&m_inPlace)) || FAILED(control->QueryInterface(&m_dispatch))) return false;
  Advise();
  m_inPlace->LoadState(nullptr, 0);
  if (FAILED(m_inPlace->CreateInPlaceWindow(this, container, &rect, id, style, &m_window)) || !m_window) {
    Disconnect();
    return false;
  }
  return true;
}

void COleControlSite::Advise() {
  if (FAILED(m_inPlace->GetEventInterface(&m_eventIid)) || m_eventIid == IID_NULL) return;
  CComPtr<IConnectionPointContainer> points;
  if (FAILED(m_control->QueryInterface(&points))) return;
  if (FAILED(points->FindConnectionPoint(m_eventIid, &m_point))) return;
  if (FAILED(m_point->Advise(static_cast<IDispatch*>(this), &m_cookie))) m_point.Release();
}

void COleControlSite::Disconnect() {
  if (m_point) m_point->Unadvise(m_cookie);
  m_point.Release();
  m_inPlace.Release();
  m_dispatch.Release();
  m_control.Release();
}

HRESULT COleControlSite::OnControlWindowDestroyed() {
  // The map's reference may be the last: stay alive until this call returns.
  CComPtr<IOleControlSite> keep(this);
  Disconnect();
  Sites().erase(m_window);
  m_window = nullptr;
  return S_OK;
}

HRESULT COleControlSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  CWnd* container = CWnd::FromHandlePermanent(m_container);
  if (container && params) platform::DispatchControlEvent(container, m_id, id, params);
  return S_OK;
}

}  // namespace

namespace platform {

HWND CreateHostedControl(const CLSID& clsid, HWND parent, const RECT& rect, UINT id, DWORD style, LPCTSTR windowName) {
  if (!::IsWindow(parent)) return nullptr;
  CComPtr<IUnknown> control;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&control));
  if (FAILED(hr)) {
    std::fprintf(stderr, "platform: control %s could not be created (0x%08X)\n", GuidToString(clsid).GetString(),
                 static_cast<unsigned>(hr));
    return nullptr;
  }
  CComPtr<COleControlSite> site;
  site.Attach(COleControlSite::Create<COleControlSite>());
  if (!site || !site->Host(control, parent, rect, id, style)) {
    std::fprintf(stderr, "platform: control %s could not be placed in its container\n", GuidToString(clsid).GetString());
    return nullptr;
  }
  HWND window = site->Window();
  Sites()[window] = site;
  if (windowName) ::SetWindowText(window, windowName);
  return window;
}

IDispatch* HostedControlDispatch(HWND window) {
  COleControlSite* site = FindSite(window);
  IDispatch* dispatch = site ? site->Dispatch() : nullptr;
  if (dispatch) dispatch->AddRef();
  return dispatch;
}

IUnknown* HostedControlUnknown(HWND window) {
  COleControlSite* site = FindSite(window);
  return site ? site->Control() : nullptr;
}

std::size_t HostedControlCount() { return Sites().size(); }

}  // namespace platform
