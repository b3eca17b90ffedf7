// The waiting room's room-list messages (51 and 599): counts never pass the rooms present and
// every room has its nine columns.

#include <cstdint>
#include <cstdlib>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/GradeOrder.h"
#include "orvanta/lobby/RoomListPayload.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const CString text(reinterpret_cast<const char*>(data), static_cast<int>(size));
  const CRoomListPayload list = CRoomListPayload::Parse(text);
  const int fields = CFieldTokenizer(text).GetCount();
  if (static_cast<int>(list.rooms.size()) * kRoomRecordFields > (fields > 3 ? fields - 3 : 0))
    std::abort();
  if (list.hasCount && list.keyLabel.IsEmpty())
    std::abort();
  std::vector<CString> grades;
  for (const CRoomRow& room : list.rooms) {
    const int at = FindRoomInsertIndex(grades, room.Grade());
    if (at < 0 || at > static_cast<int>(grades.size()))
      std::abort();
    grades.insert(grades.begin() + at, room.Grade());
  }
  const CRoomChangePayload change = CRoomChangePayload::Parse(text);
  if (change.kind == CRoomChangePayload::Kind::Opened && change.room.columns[0].IsEmpty())
    std::abort();
  return 0;
}
