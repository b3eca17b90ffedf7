// The automation test module: one class with a dual interface, a plain-member part, events and
// a collection, and the four entry points of an in-process server.

#include <limits>

#include "platform/com_events.h"
#include "platform/com_module.h"
#include "platform/com_object.h"
#include "platform/com/module/TestWidget.h"

namespace {

CComModule& Module();

class CTestWidget final
    : public CDispatchObject<CTestWidget, ITestWidget, ISupportErrorInfo, IConnectionPointContainer> {
public:
  CTestWidget() : CDispatchObject(&Module()), m_events(this) {
    m_events.Add(DIID_TestWidgetEvents);
    m_items.emplace_back(LONG{1});
    m_items.emplace_back(Cp949("둘"));
    m_items.emplace_back(SHORT{3});
  }

  static const CDispatchTable<CTestWidget>& DispatchTable();

  HRESULT STDMETHODCALLTYPE get_Value(LONG* value) override {
    if (!value) return E_POINTER;
    *value = m_value;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Value(LONG value) override {
    m_value = value;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Title(BSTR* title) override {
    if (!title) return E_POINTER;
    *title = m_title.Copy();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Title(BSTR title) override {
    m_title.Attach(SysAllocStringLen(title, SysStringLen(title)));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Add(LONG a, LONG b, LONG* sum) override {
    if (!sum) return E_POINTER;
    long long total = static_cast<long long>(a) + b;
    if (total < std::numeric_limits<LONG>::min() || total > std::numeric_limits<LONG>::max()) return DISP_E_OVERFLOW;
    *sum = static_cast<LONG>(total);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reverse(VARIANT values, VARIANT* reversed) override;
  HRESULT STDMETHODCALLTYPE Fail(SHORT) override {
    return ReportError(E_INVALIDARG, IID_ITestWidget, "TestWidget", Cp949("잘못된 값입니다"));
  }
  HRESULT STDMETHODCALLTYPE Ping(SHORT n) override {
    m_events.Fire(DIID_TestWidgetEvents, kEventPinged, {CComVariant(n), CComVariant(m_title.m_str)});
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<LONG>(m_items.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Item(LONG index, VARIANT* item) override {
    if (!item) return E_POINTER;
    if (index < 1 || index > static_cast<LONG>(m_items.size())) return E_INVALIDARG;
    VariantInit(item);
    return VariantCopy(item, &m_items[index - 1]);
  }
  HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** enumerator) override {
    if (!enumerator) return E_POINTER;
    *enumerator = nullptr;
    IEnumVARIANT* items = nullptr;
    HRESULT hr = CreateVariantEnumerator(m_items, &items);
    if (SUCCEEDED(hr)) *enumerator = items;
    return hr;
  }

  // Plain members, called only through Invoke.
  void Explode(SHORT code) {
    if (code != 0) AfxThrowOleDispatchException(static_cast<WORD>(code), "Unexpected Failure in GetArray method");
  }
  LONG GetMode() { return m_mode; }
  void SetMode(LONG mode) { m_mode = mode; }

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == IID_ITestWidget ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override {
    if (points) *points = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    return m_events.Find(riid, point);
  }

private:
  LONG m_value{0};
  LONG m_mode{1024};
  CComBSTR m_title;
  std::vector<CComVariant> m_items;
  CConnectionPoints m_events;
};

HRESULT CTestWidget::Reverse(VARIANT values, VARIANT* reversed) {
  if (!reversed) return E_POINTER;
  if (values.vt != (VT_ARRAY | VT_VARIANT) || !values.parray) return E_INVALIDARG;
  LONG low = 0, high = -1;
  SafeArrayGetLBound(values.parray, 1, &low);
  SafeArrayGetUBound(values.parray, 1, &high);
  SAFEARRAY* result = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(high - low + 1));
  if (!result) return E_OUTOFMEMORY;
  for (LONG i = low; i <= high; ++i) {
    CComVariant item;
    LONG to = high - i;
    HRESULT hr = SafeArrayGetElement(values.parray, &i, &item);
    if (SUCCEEDED(hr)) hr = SafeArrayPutElement(result, &to, &item);
    if (FAILED(hr)) {
      SafeArrayDestroy(result);
      return hr;
    }
  }
  VariantInit(reversed);
  reversed->vt = VT_ARRAY | VT_VARIANT;
  reversed->parray = result;
  return S_OK;
}

const CDispatchTable<CTestWidget>& CTestWidget::DispatchTable() {
  using T = CDispatchTable<CTestWidget>;
  static const T table{
      T::Get("Value", kWidgetValue, &ITestWidget::get_Value),
      T::Put("Value", kWidgetValue, &ITestWidget::put_Value),
      T::Get("Title", kWidgetTitle, &ITestWidget::get_Title),
      T::Put("Title", kWidgetTitle, &ITestWidget::put_Title),
      T::MethodWithResult("Add", kWidgetAdd, &ITestWidget::Add),
      T::MethodWithResult("Reverse", kWidgetReverse, &ITestWidget::Reverse),
      T::Method("Fail", kWidgetFail, &ITestWidget::Fail),
      T::Method("Ping", kWidgetPing, &ITestWidget::Ping),
      T::Get("Count", kWidgetCount, &ITestWidget::get_Count),
      T::Get("Item", kWidgetItem, &ITestWidget::get_Item),
      T::Get("_NewEnum", kWidgetNewEnum, &ITestWidget::get__NewEnum),
      T::Function("Explode", kWidgetExplode, &CTestWidget::Explode),
      T::PropertyGet("Mode", kWidgetMode, &CTestWidget::GetMode),
      T::PropertyPut("Mode", kWidgetMode, &CTestWidget::SetMode),
  };
  return table;
}

CComModule& Module() {
  static CComModule module;
  static const bool described = [] {
    ClassRegistration reg;
    reg.clsid = CLSID_TestWidget;
    reg.progId = kTestWidgetProgId;
    reg.userTypeName = "Test Widget";
    reg.control = true;
    reg.miscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_SETCLIENTSITEFIRST;
    reg.toolboxBitmap = 1;
    reg.typeLib = LIBID_TestWidgetLib;
    reg.version = "1.0";
    module.AddClass(reg, CreateObject<CTestWidget>);

    TypeLibDescription lib;
    lib.libid = LIBID_TestWidgetLib;
    lib.name = "TESTWIDGETLib";
    lib.helpString = "Test widget module";
    lib.helpFile = "TestWidget.hlp";
    lib.interfaces = {{IID_ITestWidget, "ITestWidget", "ITestWidget Interface", false},
                      {DIID_TestWidgetEvents, "_DTestWidgetEvents", "Event interface for Test Widget", true}};
    module.SetTypeLibrary(lib);
    return true;
  }();
  (void)described;
  return module;
}

}  // namespace

IMPLEMENT_MODULE_ENTRY_POINTS(Module())
