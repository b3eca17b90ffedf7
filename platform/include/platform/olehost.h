#pragma once
// Hosting controls: a container window creates a control by class identifier (CWnd::CreateControl,
// or a dialog template entry whose class name is the braced CLSID), calls it through a wrapper
// window's InvokeHelper, and receives its events through an event sink map:
//
//   class CRoomView : public CFormView {
//     void OnBoardPosition(SHORT row, SHORT col, SHORT color, LONG hwnd);
//     DECLARE_EVENTSINK_MAP()
//   };
//   BEGIN_EVENTSINK_MAP(CRoomView, CFormView)
//     ON_EVENT(CRoomView, 1119, 3, OnBoardPosition, VTS_I2 VTS_I2 VTS_I2 VTS_I4)
//   END_EVENTSINK_MAP()
//
// Handlers take SHORT (VTS_I2), LONG (VTS_I4), LPCTSTR (VTS_BSTR, code page 949),
// const VARIANT& (VTS_VARIANT) or IDispatch* (VTS_DISPATCH) arguments and return void or BOOL
// (FALSE lets the search go on to the base class's map).

#include <utility>

#include "platform/com_dispatch.h"
#include "platform/olecontrol.h"
#include "platform/windows.h"

// ---- event sink maps ---------------------------------------------------------------------------

// Calls one handler of target with the event's arguments; FALSE when the arguments do not fit the
// handler or the handler declined.
using AfxEventHandler = BOOL (*)(CWnd* target, DISPPARAMS* params);

struct AFX_EVENTSINKMAP_ENTRY {
  UINT idCtrl{0};          // the control's child id
  DISPID dispid{0};        // the event
  const char* params{nullptr};  // VTS_* description of the arguments
  AfxEventHandler pfn{nullptr}; // null ends the table
};

struct AFX_EVENTSINKMAP {
  const AFX_EVENTSINKMAP* (*pfnGetBaseMap)();  // null at the root
  const AFX_EVENTSINKMAP_ENTRY* lpEntries;
};

namespace platform {

// How an event argument reaches a handler parameter of type A.
template <class A>
struct EventArg;
template <>
struct EventArg<SHORT> {
  static constexpr VARTYPE vt = VT_I2;
  static SHORT From(const CComVariant& v, CString&) { return v.iVal; }
};
template <>
struct EventArg<LONG> {
  static constexpr VARTYPE vt = VT_I4;
  static LONG From(const CComVariant& v, CString&) { return v.lVal; }
};
template <>
struct EventArg<LPCTSTR> {
  static constexpr VARTYPE vt = VT_BSTR;
  // The code page 949 text is kept in text for the handler's call.
  static LPCTSTR From(const CComVariant& v, CString& text);
};
template <>
struct EventArg<const VARIANT&> {
  static constexpr VARTYPE vt = VT_VARIANT;
  static const VARIANT& From(const CComVariant& v, CString&) { return v; }
};
template <>
struct EventArg<IDispatch*> {
  static constexpr VARTYPE vt = VT_DISPATCH;
  static IDispatch* From(const CComVariant& v, CString&) { return v.pdispVal; }
};

// The event's arguments in declaration order, each converted to types[i]; false (nothing
// converted) when the count differs or a value does not convert.
bool ConvertEventArguments(const DISPPARAMS* params, const VARTYPE* types, std::size_t count,
                           std::vector<CComVariant>& out);

template <class F>
struct EventHandlerTraits;
template <class C, class R, class... A>
struct EventHandlerTraits<R (C::*)(A...)> {
  using Class = C;
  using Result = R;
  static constexpr std::size_t arity = sizeof...(A);
  template <std::size_t... I>
  static R Call(C& target, R (C::*fn)(A...), const std::vector<CComVariant>& args, std::index_sequence<I...>) {
    (void)args;
    CString texts[sizeof...(A) + 1];
    return (target.*fn)(EventArg<A>::From(args[I], texts[I])...);
  }
  static constexpr VARTYPE types[sizeof...(A) + 1] = {EventArg<A>::vt..., VT_EMPTY};
};

// The handler entry of ON_EVENT: converts the arguments and calls Fn on the container.
template <auto Fn>
BOOL EventSinkThunk(CWnd* target, DISPPARAMS* params) {
  using Traits = EventHandlerTraits<decltype(Fn)>;
  std::vector<CComVariant> args;
  if (!ConvertEventArguments(params, Traits::types, Traits::arity, args)) return FALSE;
  auto& self = static_cast<typename Traits::Class&>(*target);
  if constexpr (std::is_void_v<typename Traits::Result>) {
    Traits::Call(self, Fn, args, std::make_index_sequence<Traits::arity>{});
    return TRUE;
  } else {
    return Traits::Call(self, Fn, args, std::make_index_sequence<Traits::arity>{}) ? TRUE : FALSE;
  }
}

// Hands event dispid of the control with child id idCtrl to container's sink maps (its class
// chain, derived first); TRUE when a handler took it.
BOOL DispatchControlEvent(CWnd* container, UINT idCtrl, DISPID dispid, DISPPARAMS* params);

// Creates control class clsid as a child of parent and hosts it there: its events go to
// parent's sink maps and a wrapper attached to the returned window reaches it by InvokeHelper.
// Null when the class is not registered or the control cannot be made (logged).
HWND CreateHostedControl(const CLSID& clsid, HWND parent, const RECT& rect, UINT id, DWORD style,
                         LPCTSTR windowName = nullptr);
// The dispatch interface of the control hosted in window (a reference the caller releases), or
// null when window hosts none.
IDispatch* HostedControlDispatch(HWND window);
// The control object hosted in window (no reference added), or null.
IUnknown* HostedControlUnknown(HWND window);
// How many controls are hosted right now (a control's site goes with its window).
std::size_t HostedControlCount();

}  // namespace platform

#define DECLARE_EVENTSINK_MAP()                                        \
protected:                                                             \
  static const AFX_EVENTSINKMAP* GetThisEventSinkMap();                \
  const AFX_EVENTSINKMAP* GetEventSinkMap() const override;

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                                       \
  const AFX_EVENTSINKMAP* theClass::GetEventSinkMap() const { return GetThisEventSinkMap(); } \
  const AFX_EVENTSINKMAP* theClass::GetThisEventSinkMap() {                             \
    const AFX_EVENTSINKMAP* (*const baseMap)() = &baseClass::GetThisEventSinkMap;       \
    static const AFX_EVENTSINKMAP_ENTRY entries[] = {

// Routes event dispid of control id to member pfnHandler, whose parameters follow vtsParams.
#define ON_EVENT(theClass, id, dispid, pfnHandler, vtsParams) \
  {static_cast<UINT>(id), static_cast<DISPID>(dispid), vtsParams, &platform::EventSinkThunk<&theClass::pfnHandler>},

#define END_EVENTSINK_MAP()                        \
  {0, 0, nullptr, nullptr}};                       \
    static const AFX_EVENTSINKMAP map{baseMap, entries}; \
    return &map;                                   \
  }

// ---- wrapper calls -------------------------------------------------------------------------------

template <class... Args>
void CWnd::InvokeHelper(LONG dispid, WORD flags, USHORT vtRet, void* result, const BYTE* paramInfo,
                        Args... args) {
  IDispatch* dispatch = platform::HostedControlDispatch(m_hWnd);
  if (!dispatch) AfxThrowOleException(E_UNEXPECTED);
  COleDispatchDriver driver(dispatch, TRUE);
  driver.InvokeHelper(dispid, flags, vtRet, result, paramInfo, args...);
}

template <class T>
void CWnd::SetProperty(LONG dispid, USHORT vtProp, T value) {
  const BYTE described[2] = {static_cast<BYTE>(vtProp), 0};
  InvokeHelper(dispid, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, described, value);
}
