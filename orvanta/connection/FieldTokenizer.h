#pragma once
// CFieldTokenizer: reads a list of fields written with a separator in front of every field and
// one at the end ("|a|b|c|"). The list must begin with the separator: the character at the
// current position is never examined.

#include <platform/strings.h>

class CFieldTokenizer {
public:
  // Empty text, position 0, no separator: only filled by assigning another tokenizer to it.
  CFieldTokenizer() = default;
  // Separator "|".
  explicit CFieldTokenizer(const CString& text) : m_text(text) {}
  CFieldTokenizer(const CString& text, char separator) : m_separator(separator), m_text(text) {}
  virtual ~CFieldTokenizer() = default;
  CFieldTokenizer(const CFieldTokenizer&) = default;
  CFieldTokenizer& operator=(const CFieldTokenizer&) = default;

  // The field after the current position; running off the end gives "" and starts over at 0.
  CString NextField();
  // Field index counted from the current position (0-based); always leaves the position at 0.
  CString GetField(int index);
  // Separators at index 1 and after: |a|b|c| has 3.
  int GetCount() const;
  // Fields first..last, each behind a separator, none at the end: |b|c.
  CString JoinFields(short first, short last);
  // Text after the sixth separator (one at index 0 counts), less the text's last character.
  CString GetRest() const;

  char GetSeparator() const { return m_separator; }
  int GetPosition() const { return m_position; }
  const CString& GetText() const { return m_text; }

private:
  char m_separator{'|'};
  int m_position{0};  // index of the separator in front of the next field
  CString m_text;
};
