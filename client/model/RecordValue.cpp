#include "client/model/RecordValue.h"

#include <climits>
#include <cstring>
#include <string_view>

CString CRecordValue::Escape(const CString& text) {
  if (text.str().find_first_of("\\]") == std::string::npos) return text;
  CString out;
  for (int i = 0; i < text.GetLength(); ++i) {
    const char ch = text[i];
    if (ch == '\\' || ch == ']') out += '\\';
    out += ch;
  }
  return out;
}

CString CRecordValue::Unescape(const char* begin, int length) {
  if (!std::memchr(begin, '\\', static_cast<std::size_t>(length))) return CString(std::string_view(begin, length));
  CString out;
  for (int i = 0; i < length; ++i) {
    if (begin[i] == '\\' && i + 1 < length && (begin[i + 1] == '\\' || begin[i + 1] == ']')) ++i;
    out += begin[i];
  }
  return out;
}

bool CRecordValue::IsClosingBracket(const char* text, int start, int index) {
  int backslashes = 0;
  for (int i = index - 1; i >= start && text[i] == '\\'; --i) ++backslashes;
  return backslashes % 2 == 0;
}

int CRecordValue::ParseInt(const char* text) {
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '\v' || *p == '\f') ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}
