#include "platform/strings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/resources.h"

namespace {

int ClampIndex(int value, int length) { return std::clamp(value, 0, length); }

bool IsAsciiSpace(char ch) { return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\v' || ch == '\f'; }

int CompareBytes(const std::string& a, const char* b) {
  return std::strcmp(a.c_str(), b ? b : "");
}

char AsciiLower(char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; }
char AsciiUpper(char ch) { return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch; }

// Applies a byte transform to single-byte characters only, stepping over double-byte ones whole,
// so that a trail byte that happens to be an ASCII letter is never changed.
template <typename Transform>
void TransformSingleBytes(std::string& s, Transform transform) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (IsCp949LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
      ++i;
      continue;
    }
    s[i] = transform(s[i]);
  }
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
  std::size_t at = m_data.find(ch, static_cast<std::size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* sub, int start) const {
  if (!sub) return -1;
  if (start < 0) start = 0;
  if (start > GetLength()) return -1;
  std::size_t at = m_data.find(sub, static_cast<std::size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const {
  std::size_t at = m_data.rfind(ch);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const char* set) const {
  if (!set || !*set) return -1;
  std::size_t at = m_data.find_first_of(set);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(char from, char to) {
  int count = 0;
  for (char& c : m_data) {
    if (c == from) {
      c = to;
      ++count;
    }
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
  for (;;) {
    std::size_t at = m_data.find(pattern, pos);
    if (at == std::string::npos) break;
    result.append(m_data, pos, at - pos);
    result.append(replacement);
    pos = at + pattern.size();
    ++count;
  }
  if (count == 0) return 0;
  result.append(m_data, pos, std::string::npos);
  m_data.swap(result);
  return count;
}

int CString::Remove(char ch) {
  std::size_t before = m_data.size();
  m_data.erase(std::remove(m_data.begin(), m_data.end(), ch), m_data.end());
  return static_cast<int>(before - m_data.size());
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

CString& CString::TrimLeft() {
  std::size_t i = 0;
  while (i < m_data.size() && IsAsciiSpace(m_data[i])) ++i;
  m_data.erase(0, i);
  return *this;
}

CString& CString::TrimLeft(char target) {
  std::size_t i = 0;
  while (i < m_data.size() && m_data[i] == target) ++i;
  m_data.erase(0, i);
  return *this;
}

CString& CString::TrimLeft(const char* targets) {
  if (!targets) return *this;
  std::size_t i = m_data.find_first_not_of(targets);
  m_data.erase(0, i == std::string::npos ? m_data.size() : i);
  return *this;
}

CString& CString::TrimRight() {
  while (!m_data.empty() && IsAsciiSpace(m_data.back())) m_data.pop_back();
  return *this;
}

CString& CString::TrimRight(char target) {
  while (!m_data.empty() && m_data.back() == target) m_data.pop_back();
  return *this;
}

CString& CString::TrimRight(const char* targets) {
  if (!targets) return *this;
  std::size_t i = m_data.find_last_not_of(targets);
  m_data.erase(i == std::string::npos ? 0 : i + 1);
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

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
CString operator+(char a, const CString& b) { CString r(a); r += b; return r; }
bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
