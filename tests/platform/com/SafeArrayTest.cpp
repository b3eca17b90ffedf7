#include <gtest/gtest.h>

#include <limits>

#include "platform/com_variant.h"

namespace {

TEST(SafeArrayTest, BoundsAndElementAccessRespectTheLowerBound) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_I2, 1, 3);
  ASSERT_NE(array, nullptr);
  LONG low = 0, high = 0;
  EXPECT_EQ(SafeArrayGetLBound(array, 1, &low), S_OK);
  EXPECT_EQ(SafeArrayGetUBound(array, 1, &high), S_OK);
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 3);
  EXPECT_EQ(SafeArrayGetLBound(array, 2, &low), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayGetDim(array), 1u);
  EXPECT_EQ(SafeArrayGetElemsize(array), 2u);

  SHORT value = 7;
  LONG index = 3;
  EXPECT_EQ(SafeArrayPutElement(array, &index, &value), S_OK);
  index = 0;
  EXPECT_EQ(SafeArrayPutElement(array, &index, &value), DISP_E_BADINDEX);
  index = 4;
  EXPECT_EQ(SafeArrayGetElement(array, &index, &value), DISP_E_BADINDEX);
  index = std::numeric_limits<LONG>::min();
  EXPECT_EQ(SafeArrayGetElement(array, &index, &value), DISP_E_BADINDEX);

  SHORT* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(array, reinterpret_cast<void**>(&data)), S_OK);
  EXPECT_EQ(data[0], 0);  // new elements are zero
  EXPECT_EQ(data[2], 7);
  data[1] = -4;
  EXPECT_EQ(SafeArrayDestroy(array), DISP_E_ARRAYISLOCKED);
  ASSERT_EQ(SafeArrayUnaccessData(array), S_OK);
  EXPECT_EQ(SafeArrayUnaccessData(array), E_UNEXPECTED);
  index = 2;
  SHORT back = 0;
  ASSERT_EQ(SafeArrayGetElement(array, &index, &back), S_OK);
  EXPECT_EQ(back, -4);
  EXPECT_EQ(SafeArrayDestroy(array), S_OK);
}

TEST(SafeArrayTest, UnsupportedShapesAndSizesGiveNoArray) {
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
  EXPECT_EQ(SafeArrayCreate(VT_I2, 2, bounds), nullptr);
  EXPECT_EQ(SafeArrayCreate(VT_I2, 0, bounds), nullptr);
  EXPECT_EQ(SafeArrayCreateVector(VT_EMPTY, 0, 2), nullptr);
  EXPECT_EQ(SafeArrayCreateVector(0x0FFF, 0, 2), nullptr);
  SAFEARRAY* empty = SafeArrayCreateVector(VT_VARIANT, 0, 0);
  ASSERT_NE(empty, nullptr);
  LONG high = 99;
  EXPECT_EQ(SafeArrayGetUBound(empty, 1, &high), S_OK);
  EXPECT_EQ(high, -1);
  EXPECT_EQ(SafeArrayDestroy(empty), S_OK);
}

TEST(SafeArrayTest, VariantAndStringElementsAreOwnedAndCopiedDeeply) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  ASSERT_NE(array, nullptr);
  CComVariant text(Cp949("패"));
  LONG index = 0;
  ASSERT_EQ(SafeArrayPutElement(array, &index, &text), S_OK);
  // Replacing an element frees the one it replaces.
  CComVariant other("second");
  ASSERT_EQ(SafeArrayPutElement(array, &index, &other), S_OK);

  SAFEARRAY* copy = nullptr;
  ASSERT_EQ(SafeArrayCopy(array, &copy), S_OK);
  CComVariant fromCopy, fromOriginal;
  ASSERT_EQ(SafeArrayGetElement(copy, &index, &fromCopy), S_OK);
  ASSERT_EQ(SafeArrayGetElement(array, &index, &fromOriginal), S_OK);
  EXPECT_EQ(BstrToCp949(fromCopy.bstrVal), "second");
  EXPECT_NE(fromCopy.bstrVal, fromOriginal.bstrVal);
  EXPECT_EQ(SafeArrayDestroy(copy), S_OK);

  // A VARIANT holding the array owns it.
  CComVariant holder;
  holder.vt = VT_ARRAY | VT_VARIANT;
  holder.parray = array;
  CComVariant second(holder);
  EXPECT_NE(second.parray, holder.parray);

  SAFEARRAY* strings = SafeArrayCreateVector(VT_BSTR, 0, 1);
  ASSERT_NE(strings, nullptr);
  CComBSTR word(Cp949("돌"));
  ASSERT_EQ(SafeArrayPutElement(strings, &index, word.m_str), S_OK);
  BSTR out = nullptr;
  ASSERT_EQ(SafeArrayGetElement(strings, &index, &out), S_OK);
  EXPECT_NE(out, word.m_str);
  EXPECT_EQ(BstrToCp949(out), Cp949("돌"));
  SysFreeString(out);
  VARTYPE vt = VT_EMPTY;
  EXPECT_EQ(SafeArrayGetVartype(strings, &vt), S_OK);
  EXPECT_EQ(vt, VT_BSTR);
  EXPECT_EQ(SafeArrayDestroy(strings), S_OK);
}

TEST(SafeArrayTest, ShortArrayOfBoardCellsTravelsInAVariant) {
  SAFEARRAY* cells = SafeArrayCreateVector(VT_I2, 0, 361);
  ASSERT_NE(cells, nullptr);
  for (LONG i = 0; i < 361; ++i) {
    SHORT cell = static_cast<SHORT>(i % 5 == 0 ? 2 : 1);
    ASSERT_EQ(SafeArrayPutElement(cells, &i, &cell), S_OK);
  }
  CComVariant area;
  area.vt = VT_ARRAY | VT_I2;
  area.parray = cells;
  CComVariant copy(area);
  LONG index = 360;
  SHORT cell = 0;
  ASSERT_EQ(SafeArrayGetElement(copy.parray, &index, &cell), S_OK);
  EXPECT_EQ(cell, 2);
}

}  // namespace
