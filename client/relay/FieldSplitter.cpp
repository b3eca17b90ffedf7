#include "client/relay/FieldSplitter.h"

#include <cstring>
#include <new>

void CFieldSplitter::Clear() {
  delete[] m_copy;
  m_copy = nullptr;
  m_count = 0;
}

int CFieldSplitter::Split(const char* text, char separator) {
  Clear();
  std::size_t length = text ? std::strlen(text) : 0;
  if (length < 1) return -1;
  m_copy = new (std::nothrow) char[length + 1];
  if (!m_copy) return -1;
  std::memcpy(m_copy, text, length);
  m_copy[length] = '\0';

  int count = 0;
  char* fieldStart = m_copy;
  auto store = [&](char* start) {
    if (count < kMaxFields) m_fields[count] = start;
    ++count;
  };
  for (std::size_t i = 0; i < length; ++i) {
    if (m_copy[i] != separator) continue;
    m_copy[i] = '\0';
    store(fieldStart);
    fieldStart = m_copy + i + 1;
  }
  if (*fieldStart != '\0') store(fieldStart);
  m_count = count;
  return count;
}

const char* CFieldSplitter::GetField(int index) const {
  if (index < 0 || index >= m_count || index >= kMaxFields) return nullptr;
  return m_fields[index];
}
