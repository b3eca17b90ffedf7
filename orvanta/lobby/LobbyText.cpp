#include "orvanta/lobby/LobbyText.h"

#include <cstdlib>

#include "orvanta/connection/FieldTokenizer.h"

CString AppendChatText(const CString& current, const CString& line) {
  if (current.GetLength() <= kChatBoxLimit)
    return current + line;
  int start = 0;
  while (start < current.GetLength() && current.GetLength() - start + line.GetLength() > kChatBoxLimit) {
    const int lineEnd = current.Find('\n', start);
    start = lineEnd < 0 ? current.GetLength() : lineEnd + 1;
  }
  return current.Mid(start) + line;
}

CString FormatChatLine(const CString& payload) {
  if (payload.IsEmpty())
    return CString();
  CFieldTokenizer fields(payload);
  return "[" + fields.GetField(2) + "]" + fields.GetField(5) + "\r\n";
}

CString RemoveSeparators(const CString& text) {
  CString clean = text;
  clean.Remove('|');
  clean.Remove('/');
  return clean;
}

int LeadingNumber(const CString& text) { return std::atoi(text); }
