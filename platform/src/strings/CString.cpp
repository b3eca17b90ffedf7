#include "platform/strings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/resources.h"

namespace {

int ClampIndex(int value, int length) { return std::clamp(value, 0, length); }

const char kAsciiSpaces[] = " \t\n\r\v\f";

// -1, 0 or 1 whatever the C library's strcmp returns, so results are the same in every build.
int CompareBytes(const std::string& a, const char* b) {
  int r = std::strcmp(a.c_str(), b ? b : "");
  return (r > 0) - (r < 0);
}

char AsciiLower(char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; }
char AsciiUpper(char ch) { return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch; }

// Applies a byte transform to single-byte characters only, stepping over double-byte ones whole,
// so that a trail byte that happens to be an ASCII letter is never changed.
template <typename Transform>
void TransformSingleBytes(std::string& s, Transform transform) {
  for (std::size_t i = 0; i < s.size();) {
    int length = Cp949CharLength(s, i);
    if (length == 1) s[i] = transform(s[i]);
    i += static_cast<std::size_t>(length);
  }
}

// A character boundary at or before `at`: the byte before it cannot belong to a double-byte
// character's end, so it is a single-byte character. Short for text with separators in it.
std::size_t BoundaryAtOrBefore(const std::string& text, std::size_t at) {
  while (at > 0 && IsCp949TrailByte(static_cast<unsigned char>(text[at - 1]))) --at;
  return at;
}

// Index of the first character boundary at or after start where text holds `pattern` (which is
// compared byte for byte), or npos. `from` is a known boundary at or before start.
std::size_t FindAtBoundary(const std::string& text, std::string_view pattern, std::size_t start, std::size_t from) {
  for (std::size_t i = from; i <= text.size();) {
    if (i >= start && i + pattern.size() <= text.size() && text.compare(i, pattern.size(), pattern) == 0) return i;
    if (i == text.size()) break;
    i += static_cast<std::size_t>(Cp949CharLength(text, i));
  }
  return std::string::npos;
}

std::size_t FindAtBoundary(const std::string& text, std::string_view pattern, std::size_t start) {
  return FindAtBoundary(text, pattern, start, BoundaryAtOrBefore(text, std::min(start, text.size())));
}

// True when the character text[at, at + length) is one of the characters of set.
bool InSet(std::string_view text, std::size_t at, int length, const char* set) {
  std::string setText(set);
  return FindAtBoundary(setText, text.substr(at, static_cast<std::size_t>(length)), 0) != std::string::npos;
}

// Number of leading bytes made of characters in set (whole characters only).
std::size_t LeadingRun(const std::string& text, const char* set) {
  std::size_t i = 0;
  while (i < text.size()) {
    int length = Cp949CharLength(text, i);
    if (!InSet(text, i, length, set)) break;
    i += static_cast<std::size_t>(length);
  }
  return i;
}

// Index where the trailing run of characters in set begins (text.size() when there is none).
std::size_t TrailingRunStart(const std::string& text, const char* set) {
  std::size_t runStart = text.size();
  for (std::size_t i = 0; i < text.size();) {
    int length = Cp949CharLength(text, i);
    if (!InSet(text, i, length, set))
      runStart = text.size();
    else if (runStart == text.size())
      runStart = i;
    i += static_cast<std::size_t>(length);
  }
  return runStart;
}

}  // namespace

CString::CString(const char* text, int length) {
  if (text && length > 0) m_data.assign(text, strnlen(text, static_cast<std::size_t>(length)));
}

CString::CString(char ch, int repeat) {
  if (repeat > 0) m_data.assign(static_cast<std::size_t>(repeat), ch);
}

char CString::GetAt(int index) const {
  if (index < 0 || index >= GetLength()) return 0;
  return m_data[static_cast<std::size_t>(index)];
}

void CString::SetAt(int index, char ch) {
  if (index >= 0 && index < GetLength()) m_data[static_cast<std::size_t>(index)] = ch;
}

CString& CString::operator=(const char* text) {
  m_data = text ? text : "";
  return *this;
}

CString& CString::operator=(char ch) {
  m_data.assign(1, ch);
  return *this;
}

int CString::Compare(const char* other) const { return CompareBytes(m_data, other); }

int CString::CompareNoCase(const char* other) const {
  const char* a = m_data.c_str();
  const char* b = other ? other : "";
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(AsciiLower(*a));
    unsigned char cb = static_cast<unsigned char>(AsciiLower(*b));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  int length = GetLength();
  first = ClampIndex(first, length);
  count = std::clamp(count, 0, length - first);
  return CString(std::string_view(m_data).substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
  int length = GetLength();
  count = ClampIndex(count, length);
  return Mid(length - count, count);
}

CString CString::SpanIncluding(const char* set) const {
  return Left(static_cast<int>(std::strspn(m_data.c_str(), set ? set : "")));
}

CString CString::SpanExcluding(const char* set) const {
  return Left(static_cast<int>(std::strcspn(m_data.c_str(), set ? set : "")));
}

CString& CString::MakeUpper() {
  TransformSingleBytes(m_data, AsciiUpper);
  return *this;
}

CString& CString::MakeLower() {
  TransformSingleBytes(m_data, AsciiLower);
  return *this;
}

CString& CString::MakeReverse() {
  std::reverse(m_data.begin(), m_data.end());
  return *this;
}

int CString::Find(char ch, int start) const {
  if (start < 0) start = 0;
  if (start >= GetLength()) return -1;
  std::size_t at = FindAtBoundary(m_data, std::string_view(&ch, 1), static_cast<std::size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* sub, int start) const {
  if (!sub) return -1;
  if (start < 0) start = 0;
  if (start > GetLength()) return -1;
  std::size_t at = FindAtBoundary(m_data, sub, static_cast<std::size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const {
  int found = -1;
  for (std::size_t i = 0; i < m_data.size();) {
    int length = Cp949CharLength(m_data, i);
    if (length == 1 && m_data[i] == ch) found = static_cast<int>(i);
    i += static_cast<std::size_t>(length);
  }
  return found;
}

int CString::FindOneOf(const char* set) const {
  if (!set || !*set) return -1;
  for (std::size_t i = 0; i < m_data.size();) {
    int length = Cp949CharLength(m_data, i);
    if (InSet(m_data, i, length, set)) return static_cast<int>(i);
    i += static_cast<std::size_t>(length);
  }
  return -1;
}

int CString::Replace(char from, char to) {
  int count = 0;
  for (std::size_t i = 0; i < m_data.size();) {
    int length = Cp949CharLength(m_data, i);
    if (length == 1 && m_data[i] == from) {
      m_data[i] = to;
      ++count;
    }
    i += static_cast<std::size_t>(length);
  }
  return count;
}

int CString::Replace(const char* from, const char* to) {
  if (!from || !*from) return 0;
  std::string_view pattern(from);
  std::string_view replacement(to ? to : "");
  std::string result;
  int count = 0;
  std::size_t pos = 0;
  std::size_t boundary = 0;  // the last match began on a boundary: searching on from it stays linear
  for (;;) {
    std::size_t at = FindAtBoundary(m_data, pattern, pos, boundary);
    if (at == std::string::npos) break;
    result.append(m_data, pos, at - pos);
    result.append(replacement);
    pos = at + pattern.size();
    boundary = at;
    ++count;
  }
  if (count == 0) return 0;
  result.append(m_data, pos, std::string::npos);
  m_data.swap(result);
  return count;
}

int CString::Remove(char ch) {
  std::string kept;
  int count = 0;
  for (std::size_t i = 0; i < m_data.size();) {
    int length = Cp949CharLength(m_data, i);
    if (length == 1 && m_data[i] == ch)
      ++count;
    else
      kept.append(m_data, i, static_cast<std::size_t>(length));
    i += static_cast<std::size_t>(length);
  }
  m_data.swap(kept);
  return count;
}

int CString::Insert(int index, char ch) {
  m_data.insert(static_cast<std::size_t>(ClampIndex(index, GetLength())), 1, ch);
  return GetLength();
}

int CString::Insert(int index, const char* text) {
  if (text) m_data.insert(static_cast<std::size_t>(ClampIndex(index, GetLength())), text);
  return GetLength();
}

int CString::Delete(int index, int count) {
  int length = GetLength();
  if (index < 0) index = 0;
  if (index < length && count > 0) {
    count = std::min(count, length - index);
    m_data.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(count));
  }
  return GetLength();
}

CString& CString::TrimLeft() { return TrimLeft(kAsciiSpaces); }

CString& CString::TrimLeft(char target) {
  const char set[2] = {target, '\0'};
  return TrimLeft(set);
}

CString& CString::TrimLeft(const char* targets) {
  if (!targets || !*targets) return *this;
  m_data.erase(0, LeadingRun(m_data, targets));
  return *this;
}

CString& CString::TrimRight() { return TrimRight(kAsciiSpaces); }

CString& CString::TrimRight(char target) {
  const char set[2] = {target, '\0'};
  return TrimRight(set);
}

CString& CString::TrimRight(const char* targets) {
  if (!targets || !*targets) return *this;
  m_data.erase(TrailingRunStart(m_data, targets));
  return *this;
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::FormatV(const char* format, va_list args) {
  if (!format) {
    m_data.clear();
    return;
  }
  va_list measure;
  va_copy(measure, args);
  int needed = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (needed < 0) {
    m_data.clear();
    return;
  }
  std::string out(static_cast<std::size_t>(needed) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), format, args);
  out.resize(static_cast<std::size_t>(needed));
  m_data.swap(out);
}

void CString::AppendFormat(const char* format, ...) {
  CString tail;
  va_list args;
  va_start(args, format);
  tail.FormatV(format, args);
  va_end(args);
  m_data += tail.m_data;
}

char* CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) m_data.resize(static_cast<std::size_t>(minLength));
  return m_data.data();
}

char* CString::GetBufferSetLength(int length) {
  m_data.resize(static_cast<std::size_t>(std::max(length, 0)));
  return m_data.data();
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) {
    m_data.resize(std::strlen(m_data.c_str()));
  } else {
    m_data.resize(std::min(static_cast<std::size_t>(newLength), m_data.size()));
  }
}

BOOL CString::LoadString(UINT id) {
  m_data.clear();
  return AfxLoadStringResource(id, *this);
}

CString operator+(const CString& a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, const char* b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const char* a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, char b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(char a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
