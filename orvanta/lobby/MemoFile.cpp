#include "orvanta/lobby/MemoFile.h"

#include <string>

#include <platform/files.h>

#include "orvanta/connection/FieldTokenizer.h"

std::vector<CMemoEntry> CMemoFile::Parse(const CString& text) {
  std::vector<CMemoEntry> memos;
  CFieldTokenizer records(text, '/');
  const int count = records.GetCount();
  for (int i = 0; i < count; ++i) {
    CFieldTokenizer fields(records.NextField(), '|');
    CMemoEntry memo;
    fields.NextField();  // column 0, the check box, holds nothing
    memo.date = fields.NextField();
    memo.id = fields.NextField();
    memo.name = fields.NextField();
    memo.contents = fields.NextField();
    memos.push_back(memo);
  }
  return memos;
}

CString CMemoFile::Compose(const std::vector<CMemoEntry>& memos) {
  CString text = "/";
  for (const CMemoEntry& memo : memos)
    text += "||" + memo.date + "|" + memo.id + "|" + memo.name + "|" + memo.contents + "|/";
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
  const CString temporary = path + ".tmp";
  CFile file;
  if (!file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
    return FALSE;
  try {
    file.Write(text.GetString(), static_cast<UINT>(text.GetLength()));
    file.Close();
    CFile::Rename(temporary, path);
    return TRUE;
  } catch (CException* error) {
    error->Delete();
    file.Abort();
    ::DeleteFile(temporary);
    return FALSE;
  }
}
