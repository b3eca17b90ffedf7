#pragma once
// CBoardDraft: a post being written or modified on a forum's board, kept while the board is not
// shown so that leaving the board, for whatever reason, never throws the person's text away.

#include <platform/strings.h>

struct CBoardDraft {
  CString forumId;    // the board the post goes to
  CString boardCode;
  CString number;     // the post being modified; empty for a new post
  CString title;
  CString contents;
  int editMode{0};    // CPlacardView::kNewPost or kModifyPost

  // The key the frame keeps a draft under: one draft per board.
  static CString KeyOf(const CString& forum, const CString& code) { return forum + "|" + code; }
};
