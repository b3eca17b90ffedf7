#include "orvanta/lobby/ForumPayload.h"

#include <algorithm>
#include <cstdlib>

#include "orvanta/connection/FieldTokenizer.h"

std::vector<CForumRecord> ParseForumList(const CString& payload) {
  CFieldTokenizer fields(payload);
  const int present = std::max(0, fields.GetCount() - 1) / 3;
  const int count = std::clamp(std::atoi(fields.NextField()), 0, present);
  std::vector<CForumRecord> forums;
  for (int i = 0; i < count; ++i) {
    CForumRecord forum;
    forum.id = std::atoi(fields.NextField());
    forum.name = fields.NextField();
    forum.joined = fields.NextField() == "1";
    forums.push_back(forum);
  }
  return forums;
}

CForumMenu ParseForumMenu(const CString& payload) {
  CFieldTokenizer fields(payload);
  CForumMenu menu;
  const int present = std::max(0, fields.GetCount() - 3) / 5;
  menu.forumId = fields.NextField();
  menu.forumName = fields.NextField();
  const int count = std::clamp(std::atoi(fields.NextField()), 0, present);
  for (int i = 0; i < count; ++i) {
    CForumMenuEntry entry;
    entry.code = std::atoi(fields.NextField());
    entry.caption = fields.NextField();
    entry.kind = std::atoi(fields.NextField());
    entry.number = std::atoi(fields.NextField());
    entry.target = fields.NextField();
    menu.entries.push_back(entry);
  }
  return menu;
}
