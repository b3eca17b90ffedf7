#pragma once
// CString: a byte string (code page 949 text) with the class library's semantics, and the
// conversions between code page 949, UTF-8 and UTF-16.

#include <cstdarg>
#include <string>
#include <string_view>

#include "platform/types.h"

class CString {
public:
  CString() = default;
  CString(const char* text) : m_data(text ? text : "") {}
  CString(const char* text, int length);
  CString(char ch, int repeat = 1);
  explicit CString(std::string_view text) : m_data(text) {}
  explicit CString(const std::string& text) : m_data(text) {}

  // Length in bytes (a double-byte character counts 2).
  int GetLength() const { return static_cast<int>(m_data.size()); }
  bool IsEmpty() const { return m_data.empty(); }
  void Empty() { m_data.clear(); }
  // Byte at index; an index outside the string gives 0.
  char GetAt(int index) const;
  void SetAt(int index, char ch);
  char operator[](int index) const { return GetAt(index); }

  operator LPCTSTR() const { return m_data.c_str(); }
  LPCTSTR GetString() const { return m_data.c_str(); }
  const std::string& str() const { return m_data; }

  CString& operator=(const char* text);
  CString& operator=(char ch);
  CString& operator+=(const CString& s) { m_data += s.m_data; return *this; }
  CString& operator+=(const char* s) { if (s) m_data += s; return *this; }
  CString& operator+=(char ch) { m_data += ch; return *this; }

  // Byte-wise comparison as unsigned characters: -1, 0 or 1.
  int Compare(const char* other) const;
  // Comparison that ignores the case of ASCII letters only.
  int CompareNoCase(const char* other) const;
  int Collate(const char* other) const { return Compare(other); }

  // Substrings clamp out-of-range and negative arguments to an empty or whole result.
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Left(int count) const;
  CString Right(int count) const;
  CString SpanIncluding(const char* set) const;
  CString SpanExcluding(const char* set) const;

  // Upper/lower case change ASCII letters only; both bytes of a double-byte character are kept.
  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  // Searches return a byte index or -1; a start past the end gives -1, a negative one counts as 0.
  // Searches, replacements, removals and trims work on whole characters: a byte of a double-byte
  // character never matches on its own, so code page 949 text is never cut apart.
  int Find(char ch, int start = 0) const;
  int Find(const char* sub, int start = 0) const;
  int ReverseFind(char ch) const;
  int FindOneOf(const char* set) const;

  // Replace every occurrence; returns how many were replaced. An empty pattern replaces nothing.
  int Replace(char from, char to);
  int Replace(const char* from, const char* to);
  // Remove every occurrence of ch; returns how many were removed.
  int Remove(char ch);
  // Insert before index (clamped to 0..length); returns the new length.
  int Insert(int index, char ch);
  int Insert(int index, const char* text);
  // Delete count bytes from index (clamped); returns the new length.
  int Delete(int index, int count = 1);

  CString& TrimLeft();
  CString& TrimLeft(char target);
  CString& TrimLeft(const char* targets);
  CString& TrimRight();
  CString& TrimRight(char target);
  CString& TrimRight(const char* targets);
  CString& Trim() { TrimRight(); return TrimLeft(); }

  // printf-style formatting; CString arguments must be passed as (LPCTSTR) or GetString().
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void FormatV(const char* format, va_list args);
  void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Writable buffer of at least minLength bytes plus a terminator; ReleaseBuffer(-1) takes the
  // length up to the first zero byte.
  char* GetBuffer(int minLength = 0);
  char* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

  // Loads a string resource of the current resource module; FALSE (and empty) when there is none.
  BOOL LoadString(UINT id);

private:
  std::string m_data;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);
bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator<(const CString& a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);

template <>
struct std::hash<CString> {
  std::size_t operator()(const CString& s) const noexcept { return std::hash<std::string>()(s.str()); }
};

// True when ch can begin a double-byte character of code page 949.
inline bool IsCp949LeadByte(unsigned char ch) { return ch >= 0x81 && ch <= 0xFE; }
// True when ch can end a double-byte character of code page 949.
inline bool IsCp949TrailByte(unsigned char ch) {
  return (ch >= 0x41 && ch <= 0x5A) || (ch >= 0x61 && ch <= 0x7A) || (ch >= 0x81 && ch <= 0xFE);
}
// Length in bytes (1 or 2) of the character that starts at index `at` of text: 2 for a lead byte
// followed by a trail byte, 1 otherwise (a lone lead byte counts as a character of its own).
inline int Cp949CharLength(std::string_view text, std::size_t at) {
  return at + 1 < text.size() && IsCp949LeadByte(static_cast<unsigned char>(text[at])) &&
                 IsCp949TrailByte(static_cast<unsigned char>(text[at + 1]))
             ? 2
             : 1;
}

// Code page 949 bytes of a UTF-8 literal, converted once and kept for the life of the program.
const char* Cp949(const char* utf8);

// Conversions; characters that cannot be converted become '?'.
CString Utf8ToCp949(std::string_view utf8);
std::string Cp949ToUtf8(std::string_view cp949);
std::u16string Cp949ToUtf16(std::string_view cp949);
CString Utf16ToCp949(std::u16string_view utf16);
std::string Utf16ToUtf8(std::u16string_view utf16);
std::u16string Utf8ToUtf16(std::string_view utf8);
