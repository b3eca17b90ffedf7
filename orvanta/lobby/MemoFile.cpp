#include "orvanta/lobby/MemoFile.h"

#include <string>

#include <platform/files.h>

#include "orvanta/connection/FieldTokenizer.h"

namespace {

constexpr char kEscape = '\xFF';

}  // namespace

CString CMemoFile::EscapeField(const CString& field) {
  std::string stored;
  for (const char c : field.str()) {
    if (c == '/')
      stored += "\xFFs";
    else if (c == '|')
      stored += "\xFF" "b";
    else if (c == kEscape)
      stored += "\xFF\xFF";
    else
      stored += c;
  }
  return CString(stored.c_str());
}

CString CMemoFile::UnescapeField(const CString& stored) {
  const std::string text = stored.str();
  std::string field;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == kEscape && (next == 's' || next == 'b' || next == kEscape)) {
      field += next == 's' ? '/' : next == 'b' ? '|' : kEscape;
      ++i;
    } else {
      field += text[i];
    }
  }
  return CString(field.c_str());
}

std::vector<CMemoEntry> CMemoFile::Parse(const CString& text) {
  std::vector<CMemoEntry> memos;
  CFieldTokenizer records(text, '/');
  const int count = records.GetCount();
  for (int i = 0; i < count; ++i) {
    CFieldTokenizer fields(records.NextField(), '|');
    CMemoEntry memo;
    fields.NextField();  // column 0, the check box, holds nothing
    memo.date = UnescapeField(fields.NextField());
    memo.id = UnescapeField(fields.NextField());
    memo.name = UnescapeField(fields.NextField());
    memo.contents = UnescapeField(fields.NextField());
    memos.push_back(memo);
  }
  return memos;
}

CString CMemoFile::Compose(const std::vector<CMemoEntry>& memos) {
  CString text = "/";
  for (const CMemoEntry& memo : memos)
    text += "||" + EscapeField(memo.date) + "|" + EscapeField(memo.id) + "|" + EscapeField(memo.name) + "|" +
            EscapeField(memo.contents) + "|/";
  return text;
}

BOOL CMemoFile::ReadText(const CString& path, CString& text) {
  text.Empty();
  CFile file;
  if (!file.Open(path, CFile::modeReadWrite | CFile::typeBinary))
    return FALSE;
  try {
    std::string bytes;
    char chunk[4096];
    for (UINT got; (got = file.Read(chunk, sizeof chunk)) > 0;)
      bytes.append(chunk, got);
    file.Close();
    // The text ends at its first NUL, as the stored buffer is read as a C string.
    text = CString(bytes.c_str());
    return TRUE;
  } catch (CException* error) {
    error->Delete();
    file.Abort();
    return FALSE;
  }
}

BOOL CMemoFile::WriteText(const CString& path, const CString& text) {
  return platform::ReplaceFileContents(path, text.str());
}
