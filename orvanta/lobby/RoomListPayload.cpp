#include "orvanta/lobby/RoomListPayload.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kLeadingFields = 3;

CString KeyLabel(const CString& field) { return field.IsEmpty() ? CString("0 ") : field + " "; }

CString PlayerText(const CString& name, const CString& grade) {
  return name.IsEmpty() ? CString() : name + "(" + grade + ")";
}

}  // namespace

CString CRoomRow::StatusWord(const CString& code) {
  if (code.IsEmpty() || code == "3" || code == "6")
    return "Wait";
  if (code == "1") return "Play";
  if (code == "2") return "Pause";
  if (code == "4") return "Count";
  if (code == "5") return "End";
  if (code == "7") return "Review";
  return code;
}

CString CRoomRow::PublicWord(const CString& code) {
  if (code.IsEmpty() || code == "1")
    return "Public";
  if (code == "2")
    return "Private";
  return code;
}

CRoomRow CRoomRow::Read(CFieldTokenizer& fields) {
  std::array<CString, kRoomRecordFields + 1> f;  // f[1]..f[15] as the record numbers them
  for (int i = 1; i <= kRoomRecordFields; ++i) f[i] = fields.NextField();
  const CString publicCode = f[14].IsEmpty() ? CString("1") : f[14];
  CRoomRow row;
  row.columns = {PublicWord(publicCode), f[1], StatusWord(f[13]), f[15], PlayerText(f[4], f[6]),
                 PlayerText(f[8], f[10]), f[12], f[11], f[2]};
  row.image = std::atoi(publicCode) % 2;
  return row;
}

CRoomListPayload CRoomListPayload::Parse(const CString& payload) {
  CRoomListPayload result;
  CFieldTokenizer fields(payload);
  const CString first = fields.NextField();
  fields.NextField();
  const CString count = fields.NextField();
  result.reset = first == "1";
  if (count.IsEmpty())
    return result;
  result.hasCount = true;
  const int present = std::max(0, (fields.GetCount() - kLeadingFields) / kRoomRecordFields);
  const int n = std::clamp(std::atoi(count), 0, present);
  result.rooms.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) result.rooms.push_back(CRoomRow::Read(fields));
  // Past the last field the tokenizer starts over; a list that ends with its rooms has no label.
  const int labelIndex = kLeadingFields + n * kRoomRecordFields;
  result.keyLabel = KeyLabel(labelIndex < fields.GetCount() ? fields.NextField() : CString());
  return result;
}

CRoomChangePayload CRoomChangePayload::Parse(const CString& payload) {
  CRoomChangePayload result;
  if (payload.IsEmpty())
    return result;
  CFieldTokenizer fields(payload);
  const int present = fields.GetCount();
  const CString operation = fields.NextField();
  if (operation == "2") {
    result.kind = Kind::Closed;
    result.room.columns[1] = present > 1 ? fields.NextField() : CString();
    result.keyLabel = (present > 2 ? fields.NextField() : CString()) + " ";
    return result;
  }
  if (present < 1 + kRoomRecordFields)
    return result;  // a record cut short is no room
  result.room = CRoomRow::Read(fields);
  result.keyLabel = (present > 1 + kRoomRecordFields ? fields.NextField() : CString()) + " ";
  result.kind = operation == "1" ? Kind::Opened : operation == "3" ? Kind::Changed : Kind::Other;
  return result;
}
