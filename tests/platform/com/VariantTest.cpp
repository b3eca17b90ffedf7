#include <gtest/gtest.h>

#include "platform/com/ComTestSupport.h"
#include "platform/com_variant.h"

namespace {

TEST(BstrTest, LengthPrefixAndTerminatorSurroundTheText) {
  const OLECHAR withZero[] = {u'a', 0, u'b'};
  BSTR text = SysAllocStringLen(withZero, 3);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 3u);
  EXPECT_EQ(SysStringByteLen(text), 6u);
  EXPECT_EQ(text[2], u'b');
  EXPECT_EQ(text[3], 0);
  SysFreeString(text);

  BSTR blank = SysAllocStringLen(nullptr, 4);
  ASSERT_NE(blank, nullptr);
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(blank[i], 0);
  SysFreeString(blank);

  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);
  EXPECT_EQ(SysAllocStringLen(u"x", 0xFFFFFFFFu), nullptr);
}

TEST(BstrTest, KoreanTextConvertsBothWays) {
  const char* text = Cp949("기보 저장");
  CComBSTR wide(text);
  EXPECT_EQ(wide.Length(), 5u);
  EXPECT_EQ(wide.m_str[0], u'기');
  EXPECT_EQ(wide.ToCp949(), text);
  EXPECT_EQ(BstrToCp949(nullptr), "");
  CComBSTR copy = wide;
  EXPECT_NE(copy.m_str, wide.m_str);
  EXPECT_EQ(copy.ToCp949(), text);
}

TEST(VariantTest, CopyIsDeepAndClearFreesWhatIsOwned) {
  CComVariant text("abc");
  CComVariant copy(text);
  ASSERT_EQ(copy.vt, VT_BSTR);
  EXPECT_NE(copy.bstrVal, text.bstrVal);
  EXPECT_EQ(BstrToCp949(copy.bstrVal), "abc");
  EXPECT_EQ(VariantCopy(&copy, &copy), S_OK);
  EXPECT_EQ(BstrToCp949(copy.bstrVal), "abc");

  CComPtr<comtest::CRecordingSink> object(new comtest::CRecordingSink(IID_NULL));
  {
    CComVariant held(static_cast<IDispatch*>(object));
    CComVariant again(held);
    EXPECT_EQ(object->AddRef(), 4u);  // ours, held, again, this one
    object->Release();
  }
  EXPECT_EQ(object->AddRef(), 2u);
  object->Release();

  // By-reference values point at the caller's storage and are never freed.
  SHORT number = 9;
  VARIANT ref;
  ref.vt = VT_I2 | VT_BYREF;
  ref.piVal = &number;
  CComVariant refCopy(ref);
  EXPECT_EQ(refCopy.piVal, &number);
  EXPECT_EQ(VariantClear(&ref), S_OK);
  EXPECT_EQ(ref.vt, VT_EMPTY);

  VARIANT strange;
  strange.vt = 0x0FFF;
  EXPECT_EQ(VariantClear(&strange), DISP_E_BADVARTYPE);
  CComVariant target(LONG{5});
  EXPECT_EQ(VariantCopy(&target, &strange), DISP_E_BADVARTYPE);
  EXPECT_EQ(target.lVal, 5);
}

TEST(VariantTest, CopyIndTakesTheValueBehindAReference) {
  CComBSTR text("deep");
  VARIANT ref;
  ref.vt = VT_BSTR | VT_BYREF;
  ref.pbstrVal = &text.m_str;
  CComVariant value;
  ASSERT_EQ(VariantCopyInd(&value, &ref), S_OK);
  ASSERT_EQ(value.vt, VT_BSTR);
  EXPECT_NE(value.bstrVal, text.m_str);
  EXPECT_EQ(BstrToCp949(value.bstrVal), "deep");

  ref.pbstrVal = nullptr;
  EXPECT_EQ(VariantCopyInd(&value, &ref), E_INVALIDARG);
}

struct Conversion {
  CComVariant from;
  VARTYPE to;
  HRESULT expected;
  const char* text;  // expected value as text (after converting the result to a string)
};

TEST(VariantTest, ChangeTypeCoercesNumbersTextAndBooleans) {
  const Conversion cases[] = {
      {CComVariant("  42 "), VT_I4, S_OK, "42"},
      {CComVariant("-32768"), VT_I2, S_OK, "-32768"},
      {CComVariant("32768"), VT_I2, DISP_E_OVERFLOW, nullptr},
      {CComVariant("99999999999999999999"), VT_I4, DISP_E_OVERFLOW, nullptr},
      {CComVariant("4x"), VT_I4, DISP_E_TYPEMISMATCH, nullptr},
      {CComVariant(""), VT_I4, DISP_E_TYPEMISMATCH, nullptr},
      {CComVariant("-"), VT_I2, DISP_E_TYPEMISMATCH, nullptr},
      {CComVariant("TRUE"), VT_I2, S_OK, "-1"},
      {CComVariant(LONG{70000}), VT_I2, DISP_E_OVERFLOW, nullptr},
      {CComVariant(LONG{-5}), VT_BSTR, S_OK, "-5"},
      {CComVariant(SHORT{12}), VT_I4, S_OK, "12"},
      {CComVariant(true), VT_I2, S_OK, "-1"},
      {CComVariant(false), VT_BSTR, S_OK, "0"},
      {CComVariant(), VT_I4, S_OK, "0"},
      {CComVariant(), VT_BSTR, S_OK, ""},
      {CComVariant(LONG{3}), VT_BOOL, S_OK, "-1"},
  };
  for (const Conversion& c : cases) {
    CComVariant result;
    HRESULT hr = VariantChangeType(&result, &c.from, 0, c.to);
    EXPECT_EQ(hr, c.expected) << (c.text ? c.text : "(failure)") << " to " << c.to;
    if (FAILED(hr)) {
      EXPECT_EQ(result.vt, VT_EMPTY);
      continue;
    }
    EXPECT_EQ(result.vt, c.to);
    ASSERT_EQ(result.ChangeType(VT_BSTR), S_OK);
    EXPECT_EQ(BstrToCp949(result.bstrVal), c.text);
  }
  CComVariant flag(true);
  CComVariant word;
  ASSERT_EQ(VariantChangeType(&word, &flag, VARIANT_ALPHABOOL, VT_BSTR), S_OK);
  EXPECT_EQ(BstrToCp949(word.bstrVal), "True");
}

TEST(VariantTest, ChangeTypeInPlaceKeepsTheValueOnFailure) {
  CComVariant value("123");
  ASSERT_EQ(value.ChangeType(VT_I2), S_OK);
  EXPECT_EQ(value.vt, VT_I2);
  EXPECT_EQ(value.iVal, 123);
  CComVariant text("not a number");
  EXPECT_EQ(text.ChangeType(VT_I4), DISP_E_TYPEMISMATCH);
  ASSERT_EQ(text.vt, VT_BSTR);
  EXPECT_EQ(BstrToCp949(text.bstrVal), "not a number");

  LONG number = 65;
  VARIANT ref;
  ref.vt = VT_I4 | VT_BYREF;
  ref.plVal = &number;
  CComVariant converted;
  ASSERT_EQ(VariantChangeType(&converted, &ref, 0, VT_I2), S_OK);
  EXPECT_EQ(converted.iVal, 65);
}

TEST(VariantTest, ChangeTypeBetweenInterfacesAsksTheObject) {
  CComPtr<comtest::CRecordingSink> object(new comtest::CRecordingSink(IID_NULL));
  CComVariant unknown(object->GetUnknown());
  CComVariant dispatch;
  ASSERT_EQ(VariantChangeType(&dispatch, &unknown, 0, VT_DISPATCH), S_OK);
  EXPECT_EQ(dispatch.pdispVal, static_cast<IDispatch*>(object));
  EXPECT_EQ(VariantChangeType(&dispatch, &unknown, 0, VT_I4), DISP_E_TYPEMISMATCH);

  CComVariant none;
  none.vt = VT_UNKNOWN;
  none.punkVal = nullptr;
  ASSERT_EQ(VariantChangeType(&dispatch, &none, 0, VT_DISPATCH), S_OK);
  EXPECT_EQ(dispatch.pdispVal, nullptr);
}

TEST(EnumVariantTest, NextRefusesMissingOutPointers) {
  CComPtr<IEnumVARIANT> items;
  ASSERT_EQ(CreateVariantEnumerator({CComVariant(LONG{1}), CComVariant("two")}, &items), S_OK);
  VARIANT got[2];
  EXPECT_EQ(items->Next(1, nullptr, nullptr), E_POINTER);
  EXPECT_EQ(items->Next(2, got, nullptr), E_POINTER);
  ASSERT_EQ(items->Next(1, got, nullptr), S_OK);
  EXPECT_EQ(got[0].lVal, 1);
  VariantClear(&got[0]);
  ULONG fetched = 7;
  ASSERT_EQ(items->Next(0, got, &fetched), S_OK);
  EXPECT_EQ(fetched, 0u);

  CComPtr<IEnumVARIANT> empty;
  ASSERT_EQ(CreateVariantEnumerator({}, &empty), S_OK);
  EXPECT_EQ(empty->Next(1, got, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
  EXPECT_EQ(empty->Skip(0), S_OK);
  EXPECT_EQ(empty->Skip(1), S_FALSE);
}

}  // namespace
