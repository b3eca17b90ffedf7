#include "orvanta/room/SgfScanner.h"

#include <cstdint>
#include <limits>

namespace {

bool IsLetter(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }
bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f'; }

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  return at;
}

}  // namespace

std::size_t CSgfScanner::SkipValue(std::string_view text, std::size_t open, bool* closed) {
  for (std::size_t i = open + 1; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;  // the escaped character, whatever it is, belongs to the value
      continue;
    }
    if (text[i] == ']') {
      if (closed) *closed = true;
      return i + 1;
    }
  }
  if (closed) *closed = false;
  return text.size();
}

bool CSgfScanner::NextProperty(Property& property) {
  std::size_t at = m_position;
  while (at < m_text.size()) {
    if (m_text[at] == '[') {
      at = SkipValue(m_text, at);  // a value without a name: skipped so its contents stay hidden
      continue;
    }
    if (!IsLetter(m_text[at])) {
      ++at;
      continue;
    }
    std::size_t nameStart = at;
    while (at < m_text.size() && IsLetter(m_text[at])) ++at;
    std::size_t open = SkipBlanks(m_text, at);
    if (open >= m_text.size() || m_text[open] != '[') continue;  // letters without a value

    property.name = m_text.substr(nameStart, at - nameStart);
    bool closed = false;
    std::size_t end = SkipValue(m_text, open, &closed);
    property.value = m_text.substr(open + 1, (closed ? end - 1 : end) - (open + 1));
    property.first = m_text.substr(nameStart, end - nameStart);
    for (std::size_t next = SkipBlanks(m_text, end); closed && next < m_text.size() && m_text[next] == '[';
         next = SkipBlanks(m_text, end)) {
      end = SkipValue(m_text, next, &closed);
    }
    property.whole = m_text.substr(nameStart, end - nameStart);
    property.closed = closed;
    m_position = end;
    return true;
  }
  m_position = m_text.size();
  return false;
}

bool CSgfScanner::FindProperty(std::string_view text, std::string_view name, Property& property) {
  CSgfScanner scanner(text);
  while (scanner.NextProperty(property)) {
    if (property.name == name) return true;
  }
  return false;
}

std::size_t CSgfScanner::FindNodeStart(std::string_view text, std::size_t from) {
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '[') {
      i = SkipValue(text, i);
      continue;
    }
    if (text[i] == ';' && i >= from) return i;
    ++i;
  }
  return std::string_view::npos;
}

LONG CSgfScanner::ParseLong(std::string_view text) {
  std::size_t at = SkipBlanks(text, 0);
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<LONG>::max()} + 1;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    if (value < kLimit) value = value * 10 + (text[at] - '0');
  }
  if (value > kLimit) value = kLimit;
  if (negative) value = -value;
  if (value > std::numeric_limits<LONG>::max()) value = std::numeric_limits<LONG>::max();
  return static_cast<LONG>(value);
}
