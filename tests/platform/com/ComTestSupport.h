#pragma once
// Shared pieces of the automation tests: an event sink that records what it receives, and short
// ways to call Invoke.

#include <functional>
#include <vector>

#include "platform/com_dispatch.h"
#include "platform/com_object.h"

namespace comtest {

// One received event: its id and its arguments in declaration order.
struct ReceivedEvent {
  DISPID id{0};
  std::vector<CComVariant> args;
};

// An event sink for the event interface eventIid; records every call.
class CRecordingSink final : public CComObjectImpl<IDispatch> {
public:
  explicit CRecordingSink(const IID& eventIid) : m_eventIid(eventIid) {}

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    ReceivedEvent event;
    event.id = id;
    for (UINT i = params->cArgs; i > 0; --i) event.args.emplace_back(params->rgvarg[i - 1]);
    events.push_back(std::move(event));
    if (onEvent) onEvent();
    return S_OK;
  }

  std::vector<ReceivedEvent> events;
  // Runs after each recorded event (for sinks that act inside the event).
  std::function<void()> onEvent;

protected:
  void* FindInterface(REFIID riid) override {
    if (riid == m_eventIid) return static_cast<IDispatch*>(this);
    return CComObjectImpl<IDispatch>::FindInterface(riid);
  }

private:
  IID m_eventIid{};
};

// Invokes id with arguments given in declaration order.
inline HRESULT Call(IDispatch* object, DISPID id, WORD flags, std::vector<CComVariant> args, VARIANT* result,
                    EXCEPINFO* exception = nullptr, UINT* argErr = nullptr) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params;
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  params.cArgs = static_cast<UINT>(reversed.size());
  if (flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  return object->Invoke(id, IID_NULL, 0, flags, &params, result, exception, argErr);
}

// The DISPID that GetIDsOfNames gives for a name, or DISPID_UNKNOWN.
inline DISPID IdOf(IDispatch* object, const char16_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  object->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
  return id;
}

}  // namespace comtest
