#include "orvanta/room/RoomInfoText.h"

#include <cstdlib>

#include "orvanta/connection/FieldTokenizer.h"

namespace {

// Field 4..7 or 9..12 of the payload: ID, name, grade and the presence flag.
CRoomInfoText::Player ReadPlayer(const std::vector<CString>& fields, std::size_t first) {
  auto at = [&](std::size_t i) { return i < fields.size() ? fields[i] : CString(); };
  CRoomInfoText::Player player;
  player.id = at(first);
  player.name = at(first + 1);
  player.grade = at(first + 2);
  player.presence = at(first + 3) == "0" ? "OUT" : "IN";
  return player;
}

}  // namespace

CRoomInfoText CRoomInfoText::Parse(const CString& payload) {
  CFieldTokenizer tokens(payload, '|');
  // Read once, front to back: the tokenizer starts over at the end, so every later field is
  // looked up in this list and a short payload reads as empty fields.
  std::vector<CString> fields;
  const int count = tokens.GetCount();
  fields.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) fields.push_back(tokens.NextField());
  auto at = [&](std::size_t i) { return i < fields.size() ? fields[i] : CString(); };

  CRoomInfoText info;
  info.title = "Room Inform(" + at(1) + " room)";
  info.status = PlayStatusText(at(2));
  info.black = ReadPlayer(fields, 4);
  info.white = ReadPlayer(fields, 9);
  if (!at(13).IsEmpty())
    info.condition = ConditionText(at(13));
  info.totalMoves = at(14);
  const int observers = std::atoi(at(15).GetString());
  info.observerCount.Format("%d", observers);
  // Four fields an observer, the first not shown; a count larger than the payload stops at its end.
  for (std::size_t first = 16;
       first < fields.size() && info.observers.size() < static_cast<std::size_t>(observers > 0 ? observers : 0);
       first += 4)
    info.observers.push_back({at(first + 1), at(first + 2), at(first + 3)});
  return info;
}

CString CRoomInfoText::PlayStatusText(const CString& code) {
  static const char* const kNames[] = {"Play", "Pause", "Wait", "Count", "End", "Wait", "Review"};
  if (code.GetLength() == 1 && code[0] >= '1' && code[0] <= '7')
    return kNames[code[0] - '1'];
  return code;
}

CString CRoomInfoText::ConditionText(const CString& properties) {
  int handicap = 0;
  const int ha = properties.Find("HA[");
  if (ha >= 0)
    handicap = std::atoi(properties.GetString() + ha + 3);
  CString text;
  if (handicap > 0) {
    text.Format("%d Stones", handicap);
    return text;
  }
  CString komi;
  const int km = properties.Find("KM[");
  if (km >= 0) {
    const int end = properties.Find(']', km + 3);
    komi = end >= 0 ? properties.Mid(km + 3, end - km - 3) : properties.Mid(km + 3);
  }
  if (std::atoi(komi.GetString()) == 0)
    return "One Stone";
  text.Format("Even(%s)", komi.GetString());
  return text;
}
