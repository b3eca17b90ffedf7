#include "orvanta/lobby/LobbyText.h"

#include <algorithm>
#include <climits>
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

int ClampedNumber(const CString& text) {
  // strtoll saturates where atoi's result would be undefined.
  const long long value = std::strtoll(text, nullptr, 10);
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

CString SteppedNumberText(const CString& text, int step) {
  const long long value = static_cast<long long>(ClampedNumber(text)) + step;
  CString result;
  result.Format("%d", static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)));
  return result;
}

CString CutCp949(const CString& text, int maxBytes) {
  const std::string& bytes = text.str();
  std::size_t end = 0;
  while (end < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[end]);
    const std::size_t width = lead >= 0x81 && lead <= 0xFE && end + 1 < bytes.size() ? 2 : 1;
    if (end + width > static_cast<std::size_t>(std::max(0, maxBytes)))
      break;
    end += width;
  }
  return CString(bytes.substr(0, end).c_str());
}
