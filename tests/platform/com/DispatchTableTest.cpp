// Invoke on an in-process dual object: argument checks and coercion, references, ownership of
// results, and failures.

#include <gtest/gtest.h>

#include "platform/com/ComTestSupport.h"
#include "platform/com_dispatch.h"

using comtest::Call;

namespace {

constexpr IID IID_IProbe = GuidFromText("{3F6A2C20-5B7E-4D21-9C1A-7E5D0B2A4C01}");

class IProbe : public IDispatch {
public:
  virtual HRESULT STDMETHODCALLTYPE GetSelfColor(SHORT* color) = 0;
  virtual HRESULT STDMETHODCALLTYPE Take(VARIANT* list) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Name(BSTR name) = 0;
  virtual HRESULT STDMETHODCALLTYPE Small(SHORT value) = 0;
};
}  // namespace
COM_INTERFACE_ID(IProbe, IID_IProbe);
namespace {

enum : DISPID { kSelfColor = 1, kTake, kName, kSmall, kEcho, kSelf, kThrow, kArea };

class CProbe final : public CDispatchObject<CProbe, IProbe> {
public:
  static const CDispatchTable<CProbe>& DispatchTable() {
    using T = CDispatchTable<CProbe>;
    static const T table{
        T::Method("GetSelfColor", kSelfColor, &IProbe::GetSelfColor),
        T::Method("Take", kTake, &IProbe::Take),
        T::Get("Name", kName, &IProbe::get_Name),
        T::Put("Name", kName, &IProbe::put_Name),
        T::Method("Small", kSmall, &IProbe::Small),
        T::Function("Echo", kEcho, &CProbe::Echo),
        T::Function("Self", kSelf, &CProbe::Self),
        T::Function("Throw", kThrow, &CProbe::Throw),
        T::Function("GetAreaInfo", kArea, &CProbe::GetAreaInfo),
    };
    return table;
  }

  HRESULT STDMETHODCALLTYPE GetSelfColor(SHORT* color) override {
    if (!color) return E_POINTER;
    *color = 2;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Take(VARIANT* list) override {
    seenType = list ? list->vt : static_cast<VARTYPE>(VT_NULL);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) override {
    *name = m_name.Copy();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Name(BSTR name) override {
    m_name.Attach(SysAllocStringLen(name, SysStringLen(name)));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Small(SHORT value) override {
    lastSmall = value;
    return S_OK;
  }

  BSTR Echo(BSTR text) { return SysAllocStringLen(text, SysStringLen(text)); }
  IDispatch* Self() {
    AddRef();
    return this;
  }
  void Throw(SHORT kind) {
    if (kind == 1) throw new CMemoryException;
    if (kind == 2) AfxThrowOleException(E_ACCESSDENIED);
  }
  VARIANT GetAreaInfo() {
    VARIANT area{};
    area.vt = VT_ARRAY | VT_I2;
    area.parray = SafeArrayCreateVector(VT_I2, 0, 361);
    return area;
  }

  VARTYPE seenType{VT_EMPTY};
  SHORT lastSmall{0};

private:
  CComBSTR m_name;
};

class DispatchTableTest : public ::testing::Test {
protected:
  DispatchTableTest() { m_probe.Attach(CProbe::Create<CProbe>()); }
  CComPtr<CProbe> m_probe;
  IDispatch* dispatch() { return static_cast<IProbe*>(m_probe); }
};

TEST_F(DispatchTableTest, ByReferenceArgumentsWriteIntoTheCallersStorage) {
  SHORT color = 0;
  CComVariant ref;
  ref.vt = VT_I2 | VT_BYREF;
  ref.piVal = &color;
  ASSERT_EQ(Call(dispatch(), kSelfColor, DISPATCH_METHOD, {ref}, nullptr), S_OK);
  EXPECT_EQ(color, 2);

  CComVariant inner(SHORT{0});
  CComVariant viaVariant;
  viaVariant.vt = VT_VARIANT | VT_BYREF;
  viaVariant.pvarVal = &inner;
  ASSERT_EQ(Call(dispatch(), kSelfColor, DISPATCH_METHOD, {viaVariant}, nullptr), S_OK);
  EXPECT_EQ(inner.iVal, 2);

  LONG wide = 0;
  CComVariant wrong;
  wrong.vt = VT_I4 | VT_BYREF;
  wrong.plVal = &wide;
  UINT argErr = 9;
  EXPECT_EQ(Call(dispatch(), kSelfColor, DISPATCH_METHOD, {wrong}, nullptr, nullptr, &argErr), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argErr, 0u);
  EXPECT_EQ(Call(dispatch(), kSelfColor, DISPATCH_METHOD, {CComVariant(SHORT{0})}, nullptr), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(wide, 0);
}

TEST_F(DispatchTableTest, VariantPointerParameterSeesWhateverWasPassed) {
  ASSERT_EQ(Call(dispatch(), kTake, DISPATCH_METHOD, {CComVariant(dispatch())}, nullptr), S_OK);
  EXPECT_EQ(m_probe->seenType, VT_DISPATCH);
  CComVariant inner(Cp949("목록"));
  CComVariant ref;
  ref.vt = VT_VARIANT | VT_BYREF;
  ref.pvarVal = &inner;
  ASSERT_EQ(Call(dispatch(), kTake, DISPATCH_METHOD, {ref}, nullptr), S_OK);
  EXPECT_EQ(m_probe->seenType, VT_BSTR);
}

TEST_F(DispatchTableTest, MalformedCallsAreRefusedBeforeTheMemberRuns) {
  CComVariant value(SHORT{4});
  DISPPARAMS params;
  params.rgvarg = &value;
  params.cArgs = 1;
  // A put without the named DISPID_PROPERTYPUT argument.
  EXPECT_EQ(dispatch()->Invoke(kName, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
            DISP_E_PARAMNOTOPTIONAL);
  // Named arguments on a method.
  DISPID named = 0;
  params.rgdispidNamedArgs = &named;
  params.cNamedArgs = 1;
  EXPECT_EQ(dispatch()->Invoke(kSmall, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
            DISP_E_NONAMEDARGS);
  params.cNamedArgs = 2;
  EXPECT_EQ(dispatch()->Invoke(kSmall, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), E_INVALIDARG);
  params.cNamedArgs = 0;
  EXPECT_EQ(dispatch()->Invoke(kSmall, IID_IProbe, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
  EXPECT_EQ(dispatch()->Invoke(kSmall, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), E_INVALIDARG);
  params.rgvarg = nullptr;
  EXPECT_EQ(dispatch()->Invoke(kSmall, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), E_INVALIDARG);
  EXPECT_EQ(m_probe->lastSmall, 0);

  UINT argErr = 9;
  EXPECT_EQ(Call(dispatch(), kSmall, DISPATCH_METHOD, {CComVariant(LONG{70000})}, nullptr, nullptr, &argErr),
            DISP_E_OVERFLOW);
  EXPECT_EQ(argErr, 0u);
  EXPECT_EQ(m_probe->lastSmall, 0);
  ASSERT_EQ(Call(dispatch(), kSmall, DISPATCH_METHOD, {CComVariant(LONG{-7})}, nullptr), S_OK);
  EXPECT_EQ(m_probe->lastSmall, -7);
}

TEST_F(DispatchTableTest, ResultsAreHandedOverOrFreedWhenNotWanted) {
  CComVariant result;
  ASSERT_EQ(Call(dispatch(), kEcho, DISPATCH_METHOD, {CComVariant("hello")}, &result), S_OK);
  ASSERT_EQ(result.vt, VT_BSTR);
  EXPECT_EQ(BstrToCp949(result.bstrVal), "hello");
  // Without a result VARIANT the string, the reference and the array are released (the sanitizer
  // reports a leak otherwise).
  EXPECT_EQ(Call(dispatch(), kEcho, DISPATCH_METHOD, {CComVariant("dropped")}, nullptr), S_OK);
  EXPECT_EQ(Call(dispatch(), kSelf, DISPATCH_METHOD, {}, nullptr), S_OK);
  EXPECT_EQ(Call(dispatch(), kArea, DISPATCH_METHOD, {}, nullptr), S_OK);
  EXPECT_EQ(Call(dispatch(), kName, DISPATCH_PROPERTYGET, {}, nullptr), S_OK);

  ASSERT_EQ(Call(dispatch(), kSelf, DISPATCH_METHOD, {}, &result), S_OK);
  ASSERT_EQ(result.vt, VT_DISPATCH);
  EXPECT_EQ(result.pdispVal, dispatch());
  ASSERT_EQ(Call(dispatch(), kArea, DISPATCH_METHOD, {}, &result), S_OK);
  ASSERT_EQ(result.vt, VT_ARRAY | VT_I2);
  LONG high = 0;
  SafeArrayGetUBound(result.parray, 1, &high);
  EXPECT_EQ(high, 360);
}

TEST_F(DispatchTableTest, FrameworkExceptionsBecomeFailureCodes) {
  EXCEPINFO info;
  EXPECT_EQ(Call(dispatch(), kThrow, DISPATCH_METHOD, {CComVariant(SHORT{1})}, nullptr, &info), DISP_E_EXCEPTION);
  EXPECT_EQ(info.scode, E_OUTOFMEMORY);
  ClearExcepInfo(&info);
  EXPECT_EQ(Call(dispatch(), kThrow, DISPATCH_METHOD, {CComVariant(SHORT{2})}, nullptr), E_ACCESSDENIED);
  EXPECT_EQ(Call(dispatch(), kThrow, DISPATCH_METHOD, {CComVariant(SHORT{0})}, nullptr), S_OK);
}

TEST_F(DispatchTableTest, NamesAndDescriptionsComeFromTheTable) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(u"getselfcolor"), const_cast<LPOLESTR>(u"color")};
  DISPID ids[2] = {0, 0};
  EXPECT_EQ(dispatch()->GetIDsOfNames(IID_NULL, names, 2, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], kSelfColor);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
  EXPECT_EQ(dispatch()->GetIDsOfNames(IID_NULL, names, 1, 0, ids), S_OK);

  const DispMemberInfo* put = CProbe::DispatchTable().FindMember(kName, DISPATCH_PROPERTYPUT);
  ASSERT_NE(put, nullptr);
  EXPECT_EQ(put->params, std::vector<VARTYPE>{VT_BSTR});
  const DispMemberInfo* get = CProbe::DispatchTable().FindMember(kName, DISPATCH_PROPERTYGET);
  ASSERT_NE(get, nullptr);
  EXPECT_EQ(get->result, VT_BSTR);
  EXPECT_TRUE(get->params.empty());
  const DispMemberInfo* color = CProbe::DispatchTable().FindMember(kSelfColor, DISPATCH_METHOD);
  ASSERT_NE(color, nullptr);
  EXPECT_EQ(color->params, std::vector<VARTYPE>{VT_I2 | VT_BYREF});
  EXPECT_EQ(CProbe::DispatchTable().FindMember(kSelfColor, DISPATCH_PROPERTYGET), nullptr);

  UINT count = 5;
  EXPECT_EQ(dispatch()->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 0u);
}

TEST_F(DispatchTableTest, InterfacesShareOneIdentity) {
  CComPtr<IUnknown> fromDispatch, fromProbe;
  ASSERT_EQ(dispatch()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromDispatch)), S_OK);
  CComPtr<IProbe> probe;
  ASSERT_EQ(dispatch()->QueryInterface(&probe), S_OK);
  ASSERT_EQ(probe->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromProbe)), S_OK);
  EXPECT_EQ(fromDispatch.p, fromProbe.p);
  EXPECT_EQ(static_cast<IDispatch*>(probe.p), dispatch());

  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(dispatch()->QueryInterface(IID_IClassFactory, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(dispatch()->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

}  // namespace
