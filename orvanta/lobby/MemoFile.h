#pragma once
// CMemoFile: the kept memos of "./Message.dat". The file is "/" followed by one record per memo,
// "||date|id|name|contents|/", in the Korean code page, with no line breaks. It is replaced whole
// through a temporary file and a rename, so a failed write never leaves half a file behind.

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

  // The memos of a file's text: one per "/"-separated record, fields 1 to 4 of each.
  static std::vector<CMemoEntry> Parse(const CString& text);
  // The file's text for memos: "/" and one record each.
  static CString Compose(const std::vector<CMemoEntry>& memos);
  // The whole file as read; FALSE (text empty) when it cannot be opened.
  static BOOL ReadText(const CString& path, CString& text);
  // Replaces the file by text through path + ".tmp"; FALSE (the file as it was) on failure.
  static BOOL WriteText(const CString& path, const CString& text);
};
