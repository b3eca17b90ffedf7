#pragma once
// The waiting room's user-list messages read into plain values: the full list (message 33) and
// one user entering or leaving (message 399). Counts never run past the users present.

#include <vector>

#include <platform/strings.h>

struct CUserEntry {
  CString number;  // the user's waiting room ("1" when the server leaves it empty)
  CString id;
  CString name;
  CString grade;
};

struct CUserListPayload {
  bool reset{false};     // the list starts anew
  bool hasCount{false};  // a count was given: rows and labels are updated
  std::vector<CUserEntry> users;

  static CUserListPayload Parse(const CString& payload);
};

struct CUserChangePayload {
  enum class Kind { Ignored, Entered, Left, Other };
  Kind kind{Kind::Ignored};  // Ignored: the message changes nothing at all
  CUserEntry user;

  static CUserChangePayload Parse(const CString& payload);
};
