#pragma once
// The record list's page and search replies (messages 61 and 62): a count N, then N records of
// twelve fields each. The count is clamped to the records the payload holds.

#include <array>
#include <vector>

#include <platform/strings.h>

struct CRecordRow {
  static constexpr int kFields = 12;
  std::array<CString, kFields> fields;
};

class CRecordListPayload {
public:
  static CRecordListPayload Parse(const CString& payload);

  int count{0};  // field 0 as sent
  std::vector<CRecordRow> rows;
};
