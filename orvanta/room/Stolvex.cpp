#include "orvanta/room/Stolvex.h"

namespace {

// Dispatch ids of the members the client calls.
enum : LONG {
  kGameMode = 2,
  kUserColor = 3,
  kNumOfAdvatage = 4,
  kLogicalPos = 5,
  kBreakPoint = 6,
  kGoPrev = 10,
  kGoNext = 11,
  kSetDrawStone = 12,
  kGetStone = 13,
  kGetStoneList = 14,
  kRedraw = 16,
  kGetLastColor = 18,
  kInit = 21,
  kRemoveStone = 25,
  kSetStone = 26,
  kUnCheckStone = 27,
  kGetChangedCount = 28,
  kSetMyTurn = 29,
  kGetBigPos = 34,
  kSetBigPos = 35,
};

}  // namespace

IMPLEMENT_DYNCREATE(CStolvex, CWnd)

BOOL CStolvex::Create(LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateControl(CLSID_StolvexControl, windowName, style, rect, parent, id);
}

LONG CStolvex::GetGameMode() {
  LONG mode = 0;
  GetProperty(kGameMode, VT_I4, &mode);
  return mode;
}
void CStolvex::SetGameMode(LONG mode) { SetProperty(kGameMode, VT_I4, mode); }

SHORT CStolvex::GetUserColor() {
  SHORT colour = 0;
  GetProperty(kUserColor, VT_I2, &colour);
  return colour;
}
void CStolvex::SetUserColor(SHORT colour) { SetProperty(kUserColor, VT_I2, colour); }
void CStolvex::SetNumOfAdvatage(SHORT count) { SetProperty(kNumOfAdvatage, VT_I2, count); }

SHORT CStolvex::GetLogicalPos() {
  SHORT position = 0;
  GetProperty(kLogicalPos, VT_I2, &position);
  return position;
}
void CStolvex::SetBreakPoint(SHORT position) { SetProperty(kBreakPoint, VT_I2, position); }

void CStolvex::GoPrev(SHORT flag) {
  static const BYTE parms[] = VTS_I2;
  InvokeHelper(kGoPrev, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, flag);
}
void CStolvex::GoNext(SHORT flag) {
  static const BYTE parms[] = VTS_I2;
  InvokeHelper(kGoNext, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, flag);
}
void CStolvex::SetDrawStone(SHORT row, SHORT col, SHORT colour, SHORT moveNumber) {
  static const BYTE parms[] = VTS_I2 VTS_I2 VTS_I2 VTS_I2;
  InvokeHelper(kSetDrawStone, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, row, col, colour, moveNumber);
}

VARIANT CStolvex::GetStone(SHORT state) {
  static const BYTE parms[] = VTS_I2;
  VARIANT result{};
  InvokeHelper(kGetStone, DISPATCH_METHOD, VT_VARIANT, &result, parms, state);
  return result;
}
VARIANT CStolvex::GetStoneList() {
  VARIANT result{};
  InvokeHelper(kGetStoneList, DISPATCH_METHOD, VT_VARIANT, &result, nullptr);
  return result;
}

void CStolvex::Redraw(SHORT row, SHORT col) {
  static const BYTE parms[] = VTS_I2 VTS_I2;
  InvokeHelper(kRedraw, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, row, col);
}

SHORT CStolvex::GetLastColor() {
  SHORT colour = 0;
  InvokeHelper(kGetLastColor, DISPATCH_METHOD, VT_I2, &colour, nullptr);
  return colour;
}
void CStolvex::Init() { InvokeHelper(kInit, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr); }

void CStolvex::RemoveStone(SHORT mask) {
  static const BYTE parms[] = VTS_I2;
  InvokeHelper(kRemoveStone, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, mask);
}
void CStolvex::SetStone(SHORT row, SHORT col, SHORT mask) {
  static const BYTE parms[] = VTS_I2 VTS_I2 VTS_I2;
  InvokeHelper(kSetStone, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, row, col, mask);
}
void CStolvex::UnCheckStone(SHORT mask) {
  static const BYTE parms[] = VTS_I2;
  InvokeHelper(kUnCheckStone, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, mask);
}
SHORT CStolvex::GetChangedCount() {
  SHORT count = 0;
  InvokeHelper(kGetChangedCount, DISPATCH_METHOD, VT_I2, &count, nullptr);
  return count;
}
void CStolvex::SetMyTurn(SHORT flag) {
  static const BYTE parms[] = VTS_I2;
  InvokeHelper(kSetMyTurn, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, flag);
}
CString CStolvex::GetBigPos(SHORT mask) {
  static const BYTE parms[] = VTS_I2;
  CString text;
  InvokeHelper(kGetBigPos, DISPATCH_METHOD, VT_BSTR, &text, parms, mask);
  return text;
}
void CStolvex::SetBigPos(SHORT index, SHORT flag) {
  static const BYTE parms[] = VTS_I2 VTS_I2;
  InvokeHelper(kSetBigPos, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, index, flag);
}
