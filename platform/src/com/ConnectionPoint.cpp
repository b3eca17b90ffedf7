#include <algorithm>

#include "platform/com_events.h"

CConnectionPoint::CConnectionPoint(IConnectionPointContainer* container, REFIID eventIid)
    : m_container(container), m_eventIid(eventIid) {}

CConnectionPoint::~CConnectionPoint() { UnadviseAll(); }

HRESULT CConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid != IID_IUnknown && riid != IID_IConnectionPoint) {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  *ppv = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

ULONG CConnectionPoint::AddRef() { return m_container->AddRef(); }

ULONG CConnectionPoint::Release() { return m_container->Release(); }

HRESULT CConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = m_eventIid;
  return S_OK;
}

HRESULT CConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = m_container;
  m_container->AddRef();
  return S_OK;
}

HRESULT CConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  // Event interfaces are dispatch interfaces: the sink's answer for the event IID is an IDispatch.
  void* events = nullptr;
  if (FAILED(sink->QueryInterface(m_eventIid, &events)) || !events) return CONNECT_E_CANNOTCONNECT;
  Sink entry;
  entry.cookie = m_nextCookie++;
  entry.dispatch.Attach(static_cast<IDispatch*>(events));
  m_sinks.push_back(std::move(entry));
  *cookie = m_sinks.back().cookie;
  return S_OK;
}

HRESULT CConnectionPoint::Unadvise(DWORD cookie) {
  auto it = std::find_if(m_sinks.begin(), m_sinks.end(), [cookie](const Sink& s) { return s.cookie == cookie; });
  if (it == m_sinks.end()) return CONNECT_E_NOCONNECTION;
  CComPtr<IDispatch> leaving = std::move(it->dispatch);
  m_sinks.erase(it);
  // Released last: the sink's destruction may call back into this point.
  leaving.Release();
  return S_OK;
}

HRESULT CConnectionPoint::EnumConnections(IEnumConnections** connections) {
  if (connections) *connections = nullptr;
  return E_NOTIMPL;
}

void CConnectionPoint::Fire(DISPID id, const std::vector<CComVariant>& args) {
  if (m_sinks.empty()) return;
  // Holding the object keeps this point alive should a sink release it; the snapshot keeps each
  // sink alive should it detach during the call.
  CComPtr<IConnectionPointContainer> keepAlive(m_container);
  std::vector<CComPtr<IDispatch>> sinks;
  for (const Sink& s : m_sinks) sinks.push_back(s.dispatch);
  for (const CComPtr<IDispatch>& sink : sinks) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params;
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  }
}

void CConnectionPoint::UnadviseAll() {
  std::vector<Sink> leaving = std::move(m_sinks);
  m_sinks.clear();
}

void CConnectionPoints::Add(REFIID eventIid) {
  if (!Get(eventIid)) m_points.push_back(std::make_unique<CConnectionPoint>(m_container, eventIid));
}

HRESULT CConnectionPoints::Find(REFIID riid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = Get(riid);
  if (!*point) return CONNECT_E_NOCONNECTION;
  (*point)->AddRef();
  return S_OK;
}

CConnectionPoint* CConnectionPoints::Get(REFIID eventIid) {
  for (const auto& p : m_points)
    if (p->EventIid() == eventIid) return p.get();
  return nullptr;
}

void CConnectionPoints::Fire(REFIID eventIid, DISPID id, const std::vector<CComVariant>& args) {
  if (CConnectionPoint* p = Get(eventIid)) p->Fire(id, args);
}
