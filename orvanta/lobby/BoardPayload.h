#pragma once
// A page of a forum's bulletin board (message 710): forum id, board code, start key, a count,
// then number, author, date (12 digits), read count and title of each post. The count is clamped
// to the posts present.

#include <vector>

#include <platform/strings.h>

struct CBoardPost {
  CString number;
  CString author;
  CString date;
  CString reads;
  CString title;
};

struct CBoardPage {
  static CBoardPage Parse(const CString& payload);
  CString forumId;
  CString boardCode;
  CString startKey;
  std::vector<CBoardPost> posts;
};
