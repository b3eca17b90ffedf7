#include "orvanta/connection/FieldTokenizer.h"

CString CFieldTokenizer::NextField() {
  int found = m_text.Find(m_separator, m_position + 1);
  if (found < 0) {
    m_position = 0;
    return CString();
  }
  CString field = m_text.Mid(m_position + 1, found - m_position - 1);
  m_position = found;
  return field;
}

CString CFieldTokenizer::GetField(int index) {
  CString field;
  for (int i = 0; i <= index; ++i) field = NextField();
  m_position = 0;
  return field;
}

int CFieldTokenizer::GetCount() const {
  int count = 0;
  for (int found = m_text.Find(m_separator, 1); found >= 0; found = m_text.Find(m_separator, found + 1)) ++count;
  return count;
}

CString CFieldTokenizer::JoinFields(short first, short last) {
  CString joined;
  for (int i = first; i <= last; ++i) {
    joined += m_separator;
    joined += GetField(i);
  }
  return joined;
}

CString CFieldTokenizer::GetRest() const {
  constexpr int kHeaderSeparators = 6;
  int seen = 0;
  for (int i = 0; i < m_text.GetLength(); ++i) {
    if (m_text[i] != m_separator) continue;
    if (++seen == kHeaderSeparators) return m_text.Mid(i + 1, m_text.GetLength() - 1 - (i + 1));
  }
  return CString();
}
