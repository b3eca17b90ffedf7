#include "orvanta/room/CapturedStoneList.h"

#include <algorithm>
#include <string>

#include <platform/com_dispatch.h>
#include <platform/com_variant.h>

#include "orvanta/room/RoomBoard.h"

namespace {

constexpr DISPID kPosOfDim = 9;  // the point text of a move record

}  // namespace

CCapturedStoneList CCapturedStoneList::Read(CRoomBoard& board) {
  CCapturedStoneList stones;
  const short state = (board.GetUserColor() & 2) ? 36 : 34;
  VARIANT found = board.GetStone(state);
  SAFEARRAY* array = (found.vt == (VT_ARRAY | VT_VARIANT)) ? found.parray : nullptr;
  LONG lower = 0, upper = -1;
  if (array && SUCCEEDED(SafeArrayGetLBound(array, 1, &lower)) && SUCCEEDED(SafeArrayGetUBound(array, 1, &upper))) {
    for (LONG index = lower; index <= upper; ++index) {
      VARIANT item{};
      if (FAILED(SafeArrayGetElement(array, &index, &item)))
        continue;
      CString point;
      if (item.vt == VT_DISPATCH && item.pdispVal) {
        COleDispatchDriver record(item.pdispVal, FALSE);
        record.GetProperty(kPosOfDim, VT_BSTR, &point);
      }
      VariantClear(&item);
      // The record gives the row first; the server wants the column first.
      std::string text = point.str();
      std::reverse(text.begin(), text.end());
      stones.list += CString(text.c_str()) + "|";
      ++stones.count;
    }
  }
  VariantClear(&found);
  return stones;
}
