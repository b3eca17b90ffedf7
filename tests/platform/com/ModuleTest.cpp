// A real in-process server, registered into a temporary registry and reached only through it.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "ModuleEntryCalls.h"

#include "platform/com/ComTestSupport.h"
#include "platform/com/module/TestWidget.h"
#include "platform/com_events.h"
#include "platform/com_module.h"
#include "platform/registry.h"

using comtest::Call;
using comtest::CRecordingSink;
using comtest::IdOf;

namespace {

CString ReadDefault(const CString& path) {
  char text[512] = {};
  LONG size = sizeof text;
  if (RegQueryValue(HKEY_CLASSES_ROOT, path, text, &size) != ERROR_SUCCESS) return CString("<missing>");
  return CString(text);
}

class ComModuleTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(comtest::CallModuleEntry(COM_TEST_MODULE_PATH, "DllRegisterServer"), S_OK); }
  void TearDown() override { CoFreeUnusedLibraries(); }

  CComPtr<IDispatch> CreateWidget() {
    CComPtr<IDispatch> widget;
    EXPECT_EQ(CoCreateInstance(CLSID_TestWidget, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&widget)),
              S_OK);
    return widget;
  }

  platform::ScopedPlatformHome m_home;
};

TEST_F(ComModuleTest, RegistrationWritesClassProgIdAndTypeLibraryEntries) {
  CString clsid = GuidToString(CLSID_TestWidget);
  char real[PATH_MAX];
  ASSERT_NE(realpath(COM_TEST_MODULE_PATH, real), nullptr);
  EXPECT_EQ(ReadDefault("CLSID\\" + clsid + "\\InprocServer32"), CString(real));
  EXPECT_EQ(ReadDefault("CLSID\\" + clsid), "Test Widget");
  EXPECT_EQ(ReadDefault("CLSID\\" + clsid + "\\ProgID"), kTestWidgetProgId);
  EXPECT_EQ(ReadDefault("CLSID\\" + clsid + "\\MiscStatus\\1"), "131073");
  EXPECT_EQ(ReadDefault("CLSID\\" + clsid + "\\TypeLib"), GuidToString(LIBID_TestWidgetLib));
  HKEY control = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "CLSID\\" + clsid + "\\Control", 0, KEY_READ, &control), ERROR_SUCCESS);
  RegCloseKey(control);

  CLSID found;
  EXPECT_EQ(CLSIDFromProgID(kTestWidgetProgId, &found), S_OK);
  EXPECT_EQ(found, CLSID_TestWidget);
  EXPECT_EQ(CLSIDFromProgID(u"TESTWIDGET.TestWidget.1", &found), S_OK);
  EXPECT_EQ(CLSIDFromProgID("NoSuch.Class.1", &found), REGDB_E_CLASSNOTREG);

  TypeLibDescription lib;
  ASSERT_EQ(QueryTypeLibrary(LIBID_TestWidgetLib, 1, 0, lib), S_OK);
  EXPECT_EQ(lib.name, "TESTWIDGETLib");
  EXPECT_EQ(lib.helpString, "Test widget module");
  EXPECT_EQ(lib.helpFile, "TestWidget.hlp");
  EXPECT_EQ(lib.path, CString(real));
  ASSERT_EQ(lib.interfaces.size(), 2u);
  for (const TypeLibInterface& item : lib.interfaces) {
    if (item.iid == DIID_TestWidgetEvents) {
      EXPECT_EQ(item.name, "_DTestWidgetEvents");
      EXPECT_TRUE(item.dispatchOnly);
    } else {
      EXPECT_EQ(item.iid, IID_ITestWidget);
      EXPECT_EQ(item.helpString, "ITestWidget Interface");
      EXPECT_FALSE(item.dispatchOnly);
    }
  }
  EXPECT_EQ(QueryTypeLibrary(LIBID_TestWidgetLib, 2, 0, lib), TYPE_E_LIBNOTREGISTERED);
}

TEST_F(ComModuleTest, PropertiesByDispidAndByNameAndThroughTheVtableAreOneState) {
  CComPtr<IDispatch> widget = CreateWidget();
  ASSERT_TRUE(widget);
  EXPECT_EQ(IdOf(widget, u"value"), kWidgetValue);
  EXPECT_EQ(IdOf(widget, u"VALUE"), kWidgetValue);
  EXPECT_EQ(IdOf(widget, u"_NewEnum"), DISPID_NEWENUM);
  EXPECT_EQ(IdOf(widget, u"Valu"), DISPID_UNKNOWN);

  CComVariant result;
  ASSERT_EQ(Call(widget, kWidgetValue, DISPATCH_PROPERTYPUT, {CComVariant(LONG{77})}, nullptr), S_OK);
  ASSERT_EQ(Call(widget, IdOf(widget, u"Value"), DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(result.lVal, 77);

  // A text argument is coerced to the property's type.
  ASSERT_EQ(Call(widget, kWidgetValue, DISPATCH_PROPERTYPUT, {CComVariant("-12")}, nullptr), S_OK);
  CComPtr<ITestWidget> dual;
  ASSERT_EQ(widget->QueryInterface(&dual), S_OK);
  LONG value = 0;
  ASSERT_EQ(dual->get_Value(&value), S_OK);
  EXPECT_EQ(value, -12);
  ASSERT_EQ(dual->put_Value(5), S_OK);
  ASSERT_EQ(Call(widget, kWidgetValue, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(result.lVal, 5);

  // Plain (dispatch-map style) members on the same object.
  ASSERT_EQ(Call(widget, kWidgetMode, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(result.lVal, 1024);
  ASSERT_EQ(Call(widget, kWidgetMode, DISPATCH_PROPERTYPUT, {CComVariant(SHORT{8192})}, nullptr), S_OK);
  ASSERT_EQ(Call(widget, kWidgetMode, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &result), S_OK);
  EXPECT_EQ(result.lVal, 8192);
}

TEST_F(ComModuleTest, MethodsTakeArgumentsInDeclarationOrderAndReturnResults) {
  CComPtr<IDispatch> widget = CreateWidget();
  CComVariant result;
  ASSERT_EQ(Call(widget, kWidgetAdd, DISPATCH_METHOD, {CComVariant(LONG{2}), CComVariant(SHORT{40})}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(result.lVal, 42);

  UINT argErr = 99;
  EXPECT_EQ(Call(widget, kWidgetAdd, DISPATCH_METHOD, {CComVariant(LONG{2}), CComVariant("many")}, &result, nullptr,
                 &argErr),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argErr, 0u);  // rgvarg index of the second argument
  EXPECT_EQ(Call(widget, kWidgetAdd, DISPATCH_METHOD, {CComVariant(LONG{2})}, &result), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Call(widget, 4242, DISPATCH_METHOD, {}, &result), DISP_E_MEMBERNOTFOUND);
  // A method cannot be put, a read-only property cannot be put.
  EXPECT_EQ(Call(widget, kWidgetAdd, DISPATCH_PROPERTYPUT, {CComVariant(LONG{1})}, nullptr), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Call(widget, kWidgetCount, DISPATCH_PROPERTYPUT, {CComVariant(LONG{1})}, nullptr), DISP_E_MEMBERNOTFOUND);
}

TEST_F(ComModuleTest, KoreanTextAndVariantArraysTravelBothWays) {
  CComPtr<IDispatch> widget = CreateWidget();
  const char* title = Cp949("바둑 생중계");
  ASSERT_EQ(Call(widget, kWidgetTitle, DISPATCH_PROPERTYPUT, {CComVariant(title)}, nullptr), S_OK);
  CComVariant result;
  ASSERT_EQ(Call(widget, kWidgetTitle, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  ASSERT_EQ(result.vt, VT_BSTR);
  EXPECT_EQ(BstrToCp949(result.bstrVal), title);
  EXPECT_EQ(SysStringLen(result.bstrVal), 6u);

  SAFEARRAY* items = SafeArrayCreateVector(VT_VARIANT, 1, 3);
  ASSERT_NE(items, nullptr);
  CComVariant first(LONG{7}), second(Cp949("흑")), third(SHORT{-1});
  LONG index = 1;
  SafeArrayPutElement(items, &index, &first);
  index = 2;
  SafeArrayPutElement(items, &index, &second);
  index = 3;
  SafeArrayPutElement(items, &index, &third);
  CComVariant array;
  array.vt = VT_ARRAY | VT_VARIANT;
  array.parray = items;

  ASSERT_EQ(Call(widget, kWidgetReverse, DISPATCH_METHOD, {array}, &result), S_OK);
  ASSERT_EQ(result.vt, VT_ARRAY | VT_VARIANT);
  LONG low = -1, high = -1;
  SafeArrayGetLBound(result.parray, 1, &low);
  SafeArrayGetUBound(result.parray, 1, &high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 2);
  CComVariant last, middle, firstBack;
  index = 0;
  ASSERT_EQ(SafeArrayGetElement(result.parray, &index, &last), S_OK);
  EXPECT_EQ(last.vt, VT_I2);
  EXPECT_EQ(last.iVal, -1);
  index = 1;
  ASSERT_EQ(SafeArrayGetElement(result.parray, &index, &middle), S_OK);
  ASSERT_EQ(middle.vt, VT_BSTR);
  EXPECT_EQ(BstrToCp949(middle.bstrVal), Cp949("흑"));
  index = 2;
  ASSERT_EQ(SafeArrayGetElement(result.parray, &index, &firstBack), S_OK);
  EXPECT_EQ(firstBack.lVal, 7);

  // Anything but an array of VARIANTs is refused by the object.
  EXPECT_EQ(Call(widget, kWidgetReverse, DISPATCH_METHOD, {CComVariant(LONG{1})}, &result, nullptr), E_INVALIDARG);
}

TEST_F(ComModuleTest, EventsReachEveryConnectedSinkUntilItDisconnects) {
  CComPtr<IDispatch> widget = CreateWidget();
  CComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(widget->QueryInterface(&container), S_OK);
  CComPtr<IConnectionPoint> point;
  ASSERT_EQ(container->FindConnectionPoint(DIID_TestWidgetEvents, &point), S_OK);
  CComPtr<IConnectionPoint> none;
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, &none), CONNECT_E_NOCONNECTION);

  CComPtr<CRecordingSink> first(new CRecordingSink(DIID_TestWidgetEvents));
  CComPtr<CRecordingSink> second(new CRecordingSink(DIID_TestWidgetEvents));
  CComPtr<CRecordingSink> wrongKind(new CRecordingSink(IID_ITestWidget));
  DWORD firstCookie = 0, secondCookie = 0, wrongCookie = 0;
  ASSERT_EQ(point->Advise(first->GetUnknown(), &firstCookie), S_OK);
  ASSERT_EQ(point->Advise(second->GetUnknown(), &secondCookie), S_OK);
  EXPECT_NE(firstCookie, secondCookie);
  EXPECT_EQ(point->Advise(wrongKind->GetUnknown(), &wrongCookie), CONNECT_E_CANNOTCONNECT);

  ASSERT_EQ(Call(widget, kWidgetTitle, DISPATCH_PROPERTYPUT, {CComVariant(Cp949("백"))}, nullptr), S_OK);
  ASSERT_EQ(Call(widget, kWidgetPing, DISPATCH_METHOD, {CComVariant(SHORT{5})}, nullptr), S_OK);
  ASSERT_EQ(first->events.size(), 1u);
  ASSERT_EQ(second->events.size(), 1u);
  const comtest::ReceivedEvent& event = first->events[0];
  EXPECT_EQ(event.id, kEventPinged);
  ASSERT_EQ(event.args.size(), 2u);
  EXPECT_EQ(event.args[0].iVal, 5);
  EXPECT_EQ(BstrToCp949(event.args[1].bstrVal), Cp949("백"));

  ASSERT_EQ(point->Unadvise(firstCookie), S_OK);
  EXPECT_EQ(point->Unadvise(firstCookie), CONNECT_E_NOCONNECTION);
  ASSERT_EQ(Call(widget, kWidgetPing, DISPATCH_METHOD, {CComVariant(SHORT{6})}, nullptr), S_OK);
  EXPECT_EQ(first->events.size(), 1u);
  EXPECT_EQ(second->events.size(), 2u);
  // The sink still connected is released with the object.
}

TEST_F(ComModuleTest, CollectionIsEnumeratedThroughNewEnum) {
  CComPtr<IDispatch> widget = CreateWidget();
  CComVariant result;
  ASSERT_EQ(Call(widget, DISPID_NEWENUM, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  ASSERT_EQ(result.vt, VT_UNKNOWN);
  CComPtr<IEnumVARIANT> items;
  ASSERT_EQ(result.punkVal->QueryInterface(&items), S_OK);

  VARIANT got[2];
  ULONG fetched = 0;
  ASSERT_EQ(items->Next(2, got, &fetched), S_OK);
  EXPECT_EQ(fetched, 2u);
  EXPECT_EQ(got[0].lVal, 1);
  EXPECT_EQ(BstrToCp949(got[1].bstrVal), Cp949("둘"));
  VariantClear(&got[0]);
  VariantClear(&got[1]);

  CComPtr<IEnumVARIANT> copy;
  ASSERT_EQ(items->Clone(&copy), S_OK);
  EXPECT_EQ(items->Next(2, got, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 1u);
  EXPECT_EQ(got[0].iVal, 3);
  VariantClear(&got[0]);
  EXPECT_EQ(items->Next(1, got, nullptr), S_FALSE);

  // The clone kept the position it was made at.
  ASSERT_EQ(copy->Next(1, got, nullptr), S_OK);
  EXPECT_EQ(got[0].vt, VT_I2);
  VariantClear(&got[0]);
  ASSERT_EQ(items->Reset(), S_OK);
  EXPECT_EQ(items->Skip(2), S_OK);
  EXPECT_EQ(items->Skip(2), S_FALSE);

  // Item by DISPID_VALUE, 1-based.
  ASSERT_EQ(Call(widget, DISPID_VALUE, DISPATCH_PROPERTYGET, {CComVariant(LONG{3})}, &result), S_OK);
  EXPECT_EQ(result.iVal, 3);
}

TEST_F(ComModuleTest, FailuresBecomeExceptionInformation) {
  CComPtr<IDispatch> widget = CreateWidget();
  EXCEPINFO info;
  CComVariant result;
  ASSERT_EQ(Call(widget, kWidgetFail, DISPATCH_METHOD, {CComVariant(SHORT{1})}, nullptr, &info), DISP_E_EXCEPTION);
  EXPECT_EQ(info.scode, E_INVALIDARG);
  EXPECT_EQ(info.wCode, 0);
  EXPECT_EQ(BstrToCp949(info.bstrDescription), Cp949("잘못된 값입니다"));
  EXPECT_EQ(BstrToCp949(info.bstrSource), "TestWidget");
  ClearExcepInfo(&info);

  // A plain member's raised exception keeps the object's own code and text.
  ASSERT_EQ(Call(widget, kWidgetExplode, DISPATCH_METHOD, {CComVariant(SHORT{1003})}, nullptr, &info),
            DISP_E_EXCEPTION);
  EXPECT_EQ(info.wCode, 1003);
  EXPECT_EQ(BstrToCp949(info.bstrDescription), "Unexpected Failure in GetArray method");
  ClearExcepInfo(&info);

  // An index outside the collection, with and without room for exception information.
  EXPECT_EQ(Call(widget, DISPID_VALUE, DISPATCH_PROPERTYGET, {CComVariant(LONG{4})}, &result, &info),
            DISP_E_EXCEPTION);
  EXPECT_EQ(info.scode, E_INVALIDARG);
  ClearExcepInfo(&info);
  EXPECT_EQ(Call(widget, DISPID_VALUE, DISPATCH_PROPERTYGET, {CComVariant(LONG{0})}, &result), E_INVALIDARG);
  // A stale error left by an earlier call does not describe a later failure.
  ASSERT_EQ(Call(widget, kWidgetFail, DISPATCH_METHOD, {CComVariant(SHORT{1})}, nullptr), E_INVALIDARG);
  EXPECT_EQ(Call(widget, kWidgetAdd, DISPATCH_METHOD, {CComVariant(LONG{0x7FFFFFFF}), CComVariant(LONG{1})}, &result,
                 &info),
            DISP_E_EXCEPTION);
  EXPECT_EQ(info.scode, DISP_E_OVERFLOW);
  EXPECT_EQ(info.bstrDescription, nullptr);
  ClearExcepInfo(&info);
}

TEST_F(ComModuleTest, DispatchDriverCallsTypedMembersAndThrowsFailures) {
  COleDispatchDriver driver;
  ASSERT_TRUE(driver.CreateDispatch(CLSID_TestWidget));
  static const BYTE twoLongs[] = VTS_I4 VTS_I4;
  LONG sum = 0;
  driver.InvokeHelper(kWidgetAdd, DISPATCH_METHOD, VT_I4, &sum, twoLongs, 19, 23L);
  EXPECT_EQ(sum, 42);

  static const BYTE oneText[] = VTS_BSTR;
  driver.InvokeHelper(kWidgetTitle, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, oneText, Cp949("대국실"));
  CString title;
  driver.GetProperty(kWidgetTitle, VT_BSTR, &title);
  EXPECT_EQ(title, Cp949("대국실"));
  SHORT asShort = 0;
  static const BYTE oneShort[] = VTS_I2;
  driver.InvokeHelper(kWidgetValue, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, oneShort, SHORT{300});
  driver.GetProperty(kWidgetValue, VT_I2, &asShort);
  EXPECT_EQ(asShort, 300);
  // Values are converted to the described type, and results to the requested one.
  driver.SetProperty(kWidgetValue, VT_I4, "-41");
  CString asText;
  driver.GetProperty(kWidgetValue, VT_BSTR, &asText);
  EXPECT_EQ(asText, "-41");
  driver.SetProperty(kWidgetValue, VT_I4, 100000);
  bool overflowed = false;
  try {
    driver.GetProperty(kWidgetValue, VT_I2, &asShort);
  } catch (COleException* e) {
    overflowed = e->m_sc == DISP_E_OVERFLOW;
    e->Delete();
  }
  EXPECT_TRUE(overflowed);

  // A VARIANT result is handed over whole.
  static const BYTE oneLong[] = VTS_I4;
  VARIANT item;
  driver.InvokeHelper(DISPID_VALUE, DISPATCH_PROPERTYGET, VT_VARIANT, &item, oneLong, 2);
  ASSERT_EQ(item.vt, VT_BSTR);
  EXPECT_EQ(BstrToCp949(item.bstrVal), Cp949("둘"));
  driver.InvokeHelper(DISPID_VALUE, DISPATCH_PROPERTYGET, VT_VARIANT, &item, oneLong, 1);
  EXPECT_EQ(item.vt, VT_I4);
  VariantClear(&item);

  bool thrown = false;
  try {
    driver.InvokeHelper(kWidgetExplode, DISPATCH_METHOD, VT_EMPTY, nullptr, oneShort, SHORT{1004});
  } catch (COleDispatchException* e) {
    thrown = true;
    EXPECT_EQ(e->m_wCode, 1004);
    EXPECT_EQ(e->m_strDescription, "Unexpected Failure in GetArray method");
    e->Delete();
  }
  EXPECT_TRUE(thrown);

  thrown = false;
  try {
    driver.InvokeHelper(kWidgetAdd, DISPATCH_METHOD, VT_I4, &sum, oneShort, SHORT{1});
  } catch (COleException* e) {
    thrown = true;
    EXPECT_EQ(e->m_sc, DISP_E_BADPARAMCOUNT);
    e->Delete();
  }
  EXPECT_TRUE(thrown);

  COleException failure(S_OK);
  COleDispatchDriver missing;
  EXPECT_FALSE(missing.CreateDispatch(GuidFromText("{00000000-1111-2222-3333-444444444444}"), &failure));
  EXPECT_EQ(failure.m_sc, REGDB_E_CLASSNOTREG);
}

TEST_F(ComModuleTest, ModuleCanUnloadOnlyWhenEverythingIsReleased) {
  CComPtr<IDispatch> widget = CreateWidget();
  CComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(widget->QueryInterface(&container), S_OK);
  widget.Release();
  CoFreeUnusedLibraries();  // must not unload a module with a live object
  EXPECT_EQ(comtest::CanUnloadLoadedModule(COM_TEST_MODULE_PATH), S_FALSE);  // the container interface still holds the object
  container.Release();
  EXPECT_EQ(comtest::CanUnloadLoadedModule(COM_TEST_MODULE_PATH), S_OK);

  // A class factory and a server lock each keep the module too.
  CComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(CLSID_TestWidget, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  EXPECT_EQ(comtest::CanUnloadLoadedModule(COM_TEST_MODULE_PATH), S_FALSE);
  factory->LockServer(TRUE);
  CComPtr<CRecordingSink> outer(new CRecordingSink(IID_NULL));
  IUnknown* inner = nullptr;
  EXPECT_EQ(factory->CreateInstance(outer->GetUnknown(), IID_IUnknown, reinterpret_cast<void**>(&inner)),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(inner, nullptr);
  factory.Release();
  EXPECT_EQ(comtest::CanUnloadLoadedModule(COM_TEST_MODULE_PATH), S_FALSE);
  ASSERT_EQ(CoGetClassObject(CLSID_TestWidget, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  factory->LockServer(FALSE);
  factory.Release();
  EXPECT_EQ(comtest::CanUnloadLoadedModule(COM_TEST_MODULE_PATH), S_OK);

  // Unloaded, then loaded again on the next creation.
  CoFreeUnusedLibraries();
  EXPECT_EQ(comtest::CanUnloadLoadedModule(COM_TEST_MODULE_PATH), E_UNEXPECTED);
  CComPtr<IDispatch> again = CreateWidget();
  EXPECT_TRUE(again);
}

TEST_F(ComModuleTest, UnregisteredClassCannotBeCreated) {
  ASSERT_EQ(comtest::CallModuleEntry(COM_TEST_MODULE_PATH, "DllUnregisterServer"), S_OK);
  CComPtr<IDispatch> widget;
  EXPECT_EQ(CoCreateInstance(CLSID_TestWidget, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                             reinterpret_cast<void**>(&widget)),
            REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(widget);
  CLSID found;
  EXPECT_EQ(CLSIDFromProgID(kTestWidgetProgId, &found), REGDB_E_CLASSNOTREG);
  TypeLibDescription lib;
  EXPECT_EQ(QueryTypeLibrary(LIBID_TestWidgetLib, 1, 0, lib), TYPE_E_LIBNOTREGISTERED);
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "Interface\\" + GuidToString(IID_ITestWidget), 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
  // Unregistering twice is harmless.
  EXPECT_EQ(comtest::CallModuleEntry(COM_TEST_MODULE_PATH, "DllUnregisterServer"), S_OK);
}

TEST_F(ComModuleTest, ClassRegisteredToAMissingFileIsReported) {
  ClassRegistration reg;
  reg.clsid = GuidFromText("{3F6A2C1F-5B7E-4D21-9C1A-7E5D0B2A4C01}");
  ASSERT_EQ(RegisterClassEntries(reg, (m_home.Path() + "/missing.so").c_str()), S_OK);
  CComPtr<IUnknown> object;
  EXPECT_EQ(CoCreateInstance(reg.clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&object)),
            CO_E_DLLNOTFOUND);
  // The test module does not make this class.
  char real[PATH_MAX];
  ASSERT_NE(realpath(COM_TEST_MODULE_PATH, real), nullptr);
  ASSERT_EQ(RegisterClassEntries(reg, real), S_OK);
  EXPECT_EQ(CoCreateInstance(reg.clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&object)),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(UnregisterClassEntries(reg), S_OK);
}

}  // namespace
