#pragma once
// The interface of the automation test module: a dual object with properties, methods, a
// collection and an event, built into its own shared object and reached only through the registry.

#include "platform/com_dispatch.h"

constexpr CLSID CLSID_TestWidget = GuidFromText("{3F6A2C10-5B7E-4D21-9C1A-7E5D0B2A4C01}");
constexpr IID IID_ITestWidget = GuidFromText("{3F6A2C11-5B7E-4D21-9C1A-7E5D0B2A4C01}");
constexpr IID DIID_TestWidgetEvents = GuidFromText("{3F6A2C12-5B7E-4D21-9C1A-7E5D0B2A4C01}");
constexpr GUID LIBID_TestWidgetLib = GuidFromText("{3F6A2C13-5B7E-4D21-9C1A-7E5D0B2A4C01}");
constexpr const char* kTestWidgetProgId = "TESTWIDGET.TestWidget.1";

// Dispatch ids of ITestWidget.
enum TestWidgetDispid : DISPID {
  kWidgetItem = DISPID_VALUE,
  kWidgetValue = 1,
  kWidgetTitle = 2,
  kWidgetAdd = 3,
  kWidgetReverse = 4,
  kWidgetFail = 5,
  kWidgetPing = 6,
  kWidgetExplode = 7,
  kWidgetMode = 8,
  kWidgetCount = 9,
  kWidgetNewEnum = DISPID_NEWENUM,
};
// Dispatch id of the event Pinged (short n, BSTR title).
constexpr DISPID kEventPinged = 1;

class ITestWidget : public IDispatch {
public:
  virtual HRESULT STDMETHODCALLTYPE get_Value(LONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Value(LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Title(BSTR* title) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Title(BSTR title) = 0;
  // *sum = a + b; DISP_E_OVERFLOW when it does not fit.
  virtual HRESULT STDMETHODCALLTYPE Add(LONG a, LONG b, LONG* sum) = 0;
  // A new array (VT_ARRAY | VT_VARIANT) with the items of values in reverse order.
  virtual HRESULT STDMETHODCALLTYPE Reverse(VARIANT values, VARIANT* reversed) = 0;
  // Fails with E_INVALIDARG and error information whose description is Korean text.
  virtual HRESULT STDMETHODCALLTYPE Fail(SHORT code) = 0;
  // Fires Pinged (n, title) to every connected sink.
  virtual HRESULT STDMETHODCALLTYPE Ping(SHORT n) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* count) = 0;
  // Item index (1-based); E_INVALIDARG outside 1..Count.
  virtual HRESULT STDMETHODCALLTYPE get_Item(LONG index, VARIANT* item) = 0;
  virtual HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** enumerator) = 0;
};
COM_INTERFACE_ID(ITestWidget, IID_ITestWidget);
