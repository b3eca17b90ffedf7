#pragma once
// CMemoFile: the kept memos of "./Message.dat". The file is "/" followed by one record per memo,
// "||date|id|name|contents|/", in the Korean code page, with no line breaks. A "/" or "|" inside a
// field (memos from the server may carry them) is written as the byte 0xFF and a letter, "s" or "b"
// (0xFF itself as 0xFF 0xFF): no Korean code page text holds 0xFF, so a file of plain fields reads
// exactly as it always did. The file is replaced whole through a temporary file and a rename, so a
// failed write never leaves half a file behind, and a file we may not write is never replaced.

#include <vector>

#include <platform/strings.h>

struct CMemoEntry {
  CString date;
  CString id;
  CString name;
  CString contents;
};

class CMemoFile {
public:
  static constexpr const char* kDefaultPath = "./Message.dat";

  // A field as stored: its "/", "|" and 0xFF bytes escaped.
  static CString EscapeField(const CString& field);
  // A stored field back as it was; an escape byte not followed by a known letter stays as it is.
  static CString UnescapeField(const CString& stored);
  // The memos of a file's text: one per "/"-separated record, fields 1 to 4 of each.
  static std::vector<CMemoEntry> Parse(const CString& text);
  // The file's text for memos: "/" and one record each.
  static CString Compose(const std::vector<CMemoEntry>& memos);
  // The whole file as read; FALSE (text empty) when it cannot be opened.
  static BOOL ReadText(const CString& path, CString& text);
  // Replaces the file by text whole; FALSE (the file as it was) on failure,
  // also when the file exists and may not be written by this user.
  static BOOL WriteText(const CString& path, const CString& text);
};
