#pragma once
// The forum screen's payloads: the forum list (message 71: a count, then id, name and member of
// each forum) and a forum's menu (message 72: id, name, a count, then code, caption, kind,
// number and target of each entry). Counts are clamped to the entries present.

#include <vector>

#include <platform/strings.h>

struct CForumRecord {
  int id{0};
  CString name;
  BOOL joined{FALSE};  // member "1"; any other value is not joined
};

struct CForumMenuEntry {
  int code{0};
  int kind{0};  // 1 join or secede, 2 board, 3 nothing, 4 waiting room
  int number{0};
  CString target;
  CString caption;
};

struct CForumMenu {
  CString forumId;
  CString forumName;
  std::vector<CForumMenuEntry> entries;
};

std::vector<CForumRecord> ParseForumList(const CString& payload);
CForumMenu ParseForumMenu(const CString& payload);
