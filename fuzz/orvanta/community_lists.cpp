// The record list's pages (messages 61 and 62), the ranking's rows (101, 102, 104), the
// pro-room list (51), the forum list and menu (71, 72) and the board pages (710): counts never pass the rows present, and every row's columns are made.

#include <cstdint>
#include <cstdlib>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/BoardPayload.h"
#include "orvanta/lobby/ForumPayload.h"
#include "orvanta/lobby/RankListPayload.h"
#include "orvanta/lobby/RecordListPayload.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const CString text(reinterpret_cast<const char*>(data), static_cast<int>(size));
  const CRecordListPayload page = CRecordListPayload::Parse(text);
  const int fields = CFieldTokenizer(text).GetCount();
  if (static_cast<int>(page.rows.size()) * CRecordRow::kFields > (fields > 0 ? fields - 1 : 0))
    std::abort();
  if (page.count >= 0 && static_cast<int>(page.rows.size()) > page.count)
    std::abort();
  const CRankListPayload ranks = CRankListPayload::Parse(text);
  if (static_cast<int>(ranks.rows.size()) * CRankRow::kFields > (fields > 0 ? fields - 1 : 0))
    std::abort();
  for (const CRankRow& row : ranks.rows) row.Columns();
  const CProRoomListPayload rooms = CProRoomListPayload::Parse(text);
  if (static_cast<int>(rooms.rows.size()) * CProRoomRow::kFields > (fields > 3 ? fields - 3 : 0))
    std::abort();
  for (const CProRoomRow& row : rooms.rows) row.Columns();
  if (static_cast<int>(ParseForumList(text).size()) * 3 > (fields > 1 ? fields - 1 : 0))
    std::abort();
  if (static_cast<int>(CBoardPage::Parse(text).posts.size()) * 5 > (fields > 4 ? fields - 4 : 0))
    std::abort();
  if (static_cast<int>(ParseForumMenu(text).entries.size()) * 5 > (fields > 3 ? fields - 3 : 0))
    std::abort();
  return 0;
}
