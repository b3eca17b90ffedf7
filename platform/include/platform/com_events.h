#pragma once
// Events of automation objects: connection points to which clients attach event sinks, fired
// synchronously to every sink in the order they were attached.
//
// An object with events lists IConnectionPointContainer among its interfaces, holds one
// CConnectionPoints and forwards FindConnectionPoint to it:
//
//   HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** cp) override {
//     return m_events.Find(riid, cp);
//   }
//   ...
//   m_events.Fire(DIID_Events, 2, {CComVariant(SHORT{3}), CComVariant(LONG{hwnd})});

#include <memory>
#include <vector>

#include "platform/com_dispatch.h"

constexpr IID IID_IConnectionPointContainer = GuidFromText("{B196B284-BAB4-101A-B69C-00AA00341D07}");
constexpr IID IID_IConnectionPoint = GuidFromText("{B196B286-BAB4-101A-B69C-00AA00341D07}");

class IConnectionPointContainer;
// Enumerations of connections and connection points are not offered (E_NOTIMPL).
class IEnumConnections;
class IEnumConnectionPoints;

class IConnectionPoint : public IUnknown {
public:
  // The event interface's identifier.
  virtual HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) = 0;
  // Attaches sink (which must answer the event interface's identifier); *cookie identifies the
  // connection for Unadvise. CONNECT_E_CANNOTCONNECT when the sink does not implement it.
  virtual HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) = 0;
  // Detaches a sink; CONNECT_E_NOCONNECTION for an unknown cookie.
  virtual HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) = 0;
};
COM_INTERFACE_ID(IConnectionPoint, IID_IConnectionPoint);

class IConnectionPointContainer : public IUnknown {
public:
  virtual HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) = 0;
  // The connection point of event interface riid; CONNECT_E_NOCONNECTION when there is none.
  virtual HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) = 0;
};
COM_INTERFACE_ID(IConnectionPointContainer, IID_IConnectionPointContainer);

// One connection point, owned by its container object: its reference count is the container's,
// so a client holding the point keeps the object alive.
class CConnectionPoint final : public IConnectionPoint {
public:
  CConnectionPoint(IConnectionPointContainer* container, REFIID eventIid);
  ~CConnectionPoint() override;
  CConnectionPoint(const CConnectionPoint&) = delete;
  CConnectionPoint& operator=(const CConnectionPoint&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

  // Calls event id on every sink attached when the firing starts, with args in declaration
  // order. A sink may detach itself or others, or release the object, during the call.
  void Fire(DISPID id, const std::vector<CComVariant>& args);
  // Detaches every sink (the object is going away).
  void UnadviseAll();
  std::size_t SinkCount() const { return m_sinks.size(); }
  const IID& EventIid() const { return m_eventIid; }

private:
  struct Sink {
    DWORD cookie{0};
    CComPtr<IDispatch> dispatch;
  };

  IConnectionPointContainer* m_container{nullptr};
  IID m_eventIid{};
  std::vector<Sink> m_sinks;
  DWORD m_nextCookie{1};
};

// The connection points of one object, one per event interface.
class CConnectionPoints {
public:
  explicit CConnectionPoints(IConnectionPointContainer* container) : m_container(container) {}

  // Adds the point of event interface eventIid.
  void Add(REFIID eventIid);
  // FindConnectionPoint's answer.
  HRESULT Find(REFIID riid, IConnectionPoint** point);
  // The point of eventIid, or null.
  CConnectionPoint* Get(REFIID eventIid);
  // Fires event id of interface eventIid (nothing when there is no such point).
  void Fire(REFIID eventIid, DISPID id, const std::vector<CComVariant>& args);

private:
  IConnectionPointContainer* m_container{nullptr};
  std::vector<std::unique_ptr<CConnectionPoint>> m_points;
};
