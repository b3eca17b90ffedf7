#pragma once
// The waiting room's room-list messages read into plain values: the whole list (message 51) and
// one room opened, changed or closed (message 599). Counts never run past the rooms present.

#include <array>
#include <vector>

#include <platform/strings.h>

#include "orvanta/connection/FieldTokenizer.h"

// One room as the room list shows it.
struct CRoomRow {
  static constexpr int kColumns = 9;
  std::array<CString, kColumns> columns;  // public word, number, status, grade, black, white, moves, join, title
  int image{1};  // the public code modulo 2: 1 public, 0 private

  const CString& Number() const { return columns[1]; }
  const CString& Grade() const { return columns[3]; }
  // Reads the 15 fields of one room record at the tokenizer's position.
  static CRoomRow Read(CFieldTokenizer& fields);
  static CString StatusWord(const CString& code);
  static CString PublicWord(const CString& code);
};

struct CRoomListPayload {
  bool reset{false};
  bool hasCount{false};
  std::vector<CRoomRow> rooms;
  CString keyLabel;  // the field after the last room, as label 1263 shows it

  static CRoomListPayload Parse(const CString& payload);
};

struct CRoomChangePayload {
  enum class Kind { Ignored, Opened, Closed, Changed, Other };
  Kind kind{Kind::Ignored};
  CRoomRow room;       // Closed: only the number is set
  CString keyLabel;    // label 1263's new text

  static CRoomChangePayload Parse(const CString& payload);
};

// How a room record's field count is written on the wire.
inline constexpr int kRoomRecordFields = 15;
