#include "control/StoneList.h"

#include <gtest/gtest.h>

#include "control/StolvexTypes.h"

namespace {

class StoneListTest : public ::testing::Test {
protected:
  StoneListTest() {
    list->AddRef();
    for (short k = 1; k <= 3; ++k) {
      CStoneInfo* r = new CStoneInfo;
      r->Init(k, k, 0, static_cast<short>(k * 10), BLACK, NONE, -1);
      list->Add(r);
    }
  }
  ~StoneListTest() override {
    if (list)
      list->Release();
  }

  // The sequence number of the record a VARIANT holds; -1 when it holds none.
  static short SequenceOf(const VARIANT& v) {
    CComPtr<IStoneInfo> info;
    short sequence = -1;
    if (v.vt == VT_DISPATCH && v.pdispVal &&
        SUCCEEDED(v.pdispVal->QueryInterface(IID_IStoneInfo, reinterpret_cast<void**>(&info))))
      info->get_Sequence(&sequence);
    return sequence;
  }

  CStoneList* list = new CStoneList;
};

TEST_F(StoneListTest, ItemsFollowTheCollectionRules) {
  LONG count = 0;
  ASSERT_EQ(list->get_Count(&count), S_OK);
  EXPECT_EQ(count, 3);
  CComVariant item;
  ASSERT_EQ(list->get_Item(0, &item), S_OK);  // below 1 gives the first item
  EXPECT_EQ(SequenceOf(item), 1);
  ASSERT_EQ(list->get_Item(3, &item), S_OK);
  EXPECT_EQ(SequenceOf(item), 3);
  EXPECT_EQ(list->get_Item(4, &item), E_FAIL);
  EXPECT_EQ(list->Item(-7), list->At(1));
  EXPECT_EQ(list->Item(4), nullptr);
}

TEST_F(StoneListTest, RemoveAndLookupByPoint) {
  EXPECT_EQ(list->Remove(0), E_INVALIDARG);
  EXPECT_EQ(list->Remove(4), E_INVALIDARG);
  CComVariant found;
  ASSERT_EQ(list->GetStone(20, &found), S_OK);
  EXPECT_EQ(SequenceOf(found), 2);
  EXPECT_EQ(list->GetStone(21, &found), E_INVALIDARG);

  // A holder outside the list keeps the record alive after its removal.
  ASSERT_EQ(list->Remove(2), S_OK);
  EXPECT_EQ(list->Count(), 2);
  EXPECT_EQ(SequenceOf(found), 2);
  EXPECT_EQ(list->FindBySelfPos(20), nullptr);
  EXPECT_EQ(list->FindBySelfPos(30)->Sequence(), 3);
}

TEST_F(StoneListTest, ForeignItemsAreKeptButHaveNoRecord) {
  CComVariant number(LONG{7});
  ASSERT_EQ(list->Add(number), S_OK);
  EXPECT_EQ(list->Count(), 4);
  EXPECT_EQ(list->At(4), nullptr);
  CComVariant item;
  ASSERT_EQ(list->get_Item(4, &item), S_OK);
  EXPECT_EQ(item.vt, VT_I4);
  EXPECT_EQ(item.lVal, 7);
  EXPECT_EQ(list->InterfaceSupportsErrorInfo(IID_IStoneList), S_OK);
  EXPECT_EQ(list->InterfaceSupportsErrorInfo(IID_IStoneInfo), S_FALSE);
}

TEST_F(StoneListTest, EnumeratorWalksCopiesAndOutlivesItsHolder) {
  CComPtr<IUnknown> unknown;
  ASSERT_EQ(list->get__NewEnum(&unknown), S_OK);
  CComPtr<IEnumVARIANT> items;
  ASSERT_EQ(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&items)), S_OK);

  VARIANT two[2];
  ULONG fetched = 0;
  EXPECT_EQ(items->Next(2, nullptr, &fetched), E_POINTER);
  EXPECT_EQ(items->Next(2, two, nullptr), E_POINTER);
  ASSERT_EQ(items->Next(2, two, &fetched), S_OK);
  EXPECT_EQ(fetched, 2u);
  EXPECT_EQ(SequenceOf(two[1]), 2);
  VariantClear(&two[0]);
  VariantClear(&two[1]);

  CComPtr<IEnumVARIANT> copy;
  ASSERT_EQ(items->Clone(&copy), S_OK);
  ASSERT_EQ(items->Next(2, two, &fetched), S_FALSE);  // only one was left
  EXPECT_EQ(fetched, 1u);
  EXPECT_EQ(SequenceOf(two[0]), 3);
  VariantClear(&two[0]);
  EXPECT_EQ(items->Skip(1), S_FALSE);
  EXPECT_EQ(items->Reset(), S_OK);
  EXPECT_EQ(items->Skip(3), S_OK);

  // The clone stayed at the third item, and keeps the list alive by itself.
  items.Release();
  list->Release();
  list = nullptr;
  VARIANT one;
  ASSERT_EQ(copy->Next(1, &one, nullptr), S_OK);
  EXPECT_EQ(SequenceOf(one), 3);
  VariantClear(&one);
}

}  // namespace
