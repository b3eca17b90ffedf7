#pragma once
// The ranking's rows (messages 101, 102 and 104: a count, then rows of ten fields) and the
// pro-room list (message 51: first-page flag, an unused field, a count, then rooms of fifteen
// fields). Counts are clamped to the rows the payload holds.

#include <array>
#include <vector>

#include <platform/strings.h>

struct CRankRow {
  static constexpr int kFields = 10;
  std::array<CString, kFields> fields;
  // The texts of the ranking's seven columns.
  std::array<CString, 7> Columns() const;
};

struct CProRoomRow {
  static constexpr int kFields = 15;
  std::array<CString, kFields> fields;  // r1 .. r15
  // The texts of the pro-room list's seven columns.
  std::array<CString, 7> Columns() const;
};

struct CRankListPayload {
  static CRankListPayload Parse(const CString& payload);
  int count{0};
  std::vector<CRankRow> rows;
};

struct CProRoomListPayload {
  static CProRoomListPayload Parse(const CString& payload);
  BOOL firstPage{FALSE};
  std::vector<CProRoomRow> rows;
};

// 100 * wins / (wins + losses), 0 without games; draws are not counted.
double WinRate(const CString& wins, const CString& losses);
