#include "control/StoneInfo.h"

#include <gtest/gtest.h>

#include "control/StolvexTypes.h"

namespace {

// A record held by the test for its lifetime.
struct HeldRecord {
  HeldRecord() { record->AddRef(); }
  ~HeldRecord() { record->Release(); }
  CStoneInfo* record = new CStoneInfo;
};

TEST(StoneInfoTest, NewRecordAndInit) {
  HeldRecord held;
  CStoneInfo& r = *held.record;
  EXPECT_EQ(r.NumOfChanged(), 0);
  EXPECT_EQ(r.SelfPos(), 0);
  r.Init(5, 5, 0, 3 * 19 + 2, BLACK, NONE, 40);
  EXPECT_EQ(r.NumOfChanged(), 1);
  EXPECT_EQ(r.Sequence(), 5);
  EXPECT_EQ(r.State(), BLACK);
  EXPECT_EQ(r.InvalidPos(), 40);
  EXPECT_EQ(r.PosOfDim(), "dc");
  r.Init(6, -1, -1, -1, -1, -1, -1);
  EXPECT_EQ(r.PosOfDim(), "tt");
  EXPECT_TRUE(r.IsPass());
}

TEST(StoneInfoTest, ChangesAndClampedCopies) {
  HeldRecord held;
  CStoneInfo& r = *held.record;
  r.Init(1, 1, 0, 10, BLACK, NONE, -1);
  r.AddChange(11, REDRAW, WHITE, 7, 0);
  r.SetLastChange(11, INVALID, WHITE, 0, 7);  // after sequence first, then previous
  EXPECT_EQ(r.ChangeAt(1).afterValue, INVALID);
  EXPECT_EQ(r.ChangeAt(1).prevSeq, 7);
  EXPECT_EQ(r.ChangeAt(1).afterSeq, 0);

  short out[4] = {99, 99, 99, 99};
  EXPECT_EQ(r.CopyPositions(4, out), 2);  // clamped to the change count
  EXPECT_EQ(out[0], 10);
  EXPECT_EQ(out[1], 11);
  EXPECT_EQ(out[2], 99);
  EXPECT_EQ(r.CopyPrevValues(0, out), 0);
  EXPECT_EQ(r.CopyAfterValues(-5, out), 0);
  EXPECT_EQ(r.CopyPrevSeqs(2, nullptr), 0);
  EXPECT_EQ(r.CopyAfterSeqs(1, out), 1);
  EXPECT_EQ(out[0], 1);

  const short after[] = {8, 8}, prev[] = {4, 4}, pos[] = {30, 31}, pseq[] = {3, 4}, aseq[] = {0, 0};
  r.AddChanges(2, after, prev, pos, pseq, aseq);
  EXPECT_EQ(r.NumOfChanged(), 4);
  EXPECT_EQ(r.ChangeAt(3).position, 31);
  EXPECT_EQ(r.ChangeAt(9).position, 0);  // past the end: a zeroed entry, not a stray read
}

TEST(StoneInfoTest, AutomationInterface) {
  HeldRecord held;
  CStoneInfo& r = *held.record;
  r.Init(3, 3, 0, 3 * 19 + 2, WHITE, NONE, -1);
  IStoneInfo& info = r;
  EXPECT_EQ(info.get_Sequence(nullptr), E_POINTER);
  EXPECT_EQ(info.GetPrevValue(1, nullptr), E_POINTER);
  EXPECT_EQ(info.SetInvalidPos(nullptr), E_POINTER);
  short ko = 44;
  EXPECT_EQ(info.SetInvalidPos(&ko), S_OK);
  EXPECT_EQ(r.InvalidPos(), 44);
  CComBSTR text;
  ASSERT_EQ(info.get_PosOfDim(&text), S_OK);
  EXPECT_EQ(text.ToCp949(), "dc");
  EXPECT_EQ(r.InterfaceSupportsErrorInfo(IID_IStoneInfo), S_OK);
  EXPECT_EQ(r.InterfaceSupportsErrorInfo(IID_IStoneList), S_FALSE);

  CComPtr<IDispatch> dispatch;
  ASSERT_EQ(r.QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none{};
  ASSERT_EQ(dispatch->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
  EXPECT_EQ(result.vt, VT_I2);
  EXPECT_EQ(result.iVal, 3);
  short self = 0;
  VARIANT arg;
  VariantInit(&arg);
  arg.vt = VT_I2 | VT_BYREF;
  arg.piVal = &self;
  DISPPARAMS one{&arg, nullptr, 1, 0};
  ASSERT_EQ(dispatch->Invoke(8, IID_NULL, 0, DISPATCH_METHOD, &one, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(self, 3 * 19 + 2);
}

}  // namespace
