#include "client/model/CaptureHistory.h"

CCaptureHistory::CCaptureHistory() {
  Add(nullptr);
  m_ko.Add(0);
}

void CCaptureHistory::AddCaptures(CNodeArray* list) {
  m_ko.Add(0);
  Add(list);
}

void CCaptureHistory::SetKo(INT_PTR index, WORD point) { m_ko.SetAt(index, point); }

void CCaptureHistory::GetKo(INT_PTR index, int& x, int& y) const {
  const WORD point = index >= 0 && index < m_ko.GetSize() ? m_ko.GetAt(index) : 0;
  x = point & 0xFF;
  y = point >> 8;
}

BOOL CCaptureHistory::IsKo(INT_PTR index, int x, int y) const {
  if (index < 0 || index >= m_ko.GetSize()) return FALSE;
  return m_ko.GetAt(index) == PackPoint(x, y);
}

void CCaptureHistory::RemoveRange(INT_PTR from, INT_PTR count) {
  if (from < 1 || from >= GetSize() || count < 1 || from + count > GetSize()) return;
  DeleteRange(from, count);
  m_ko.RemoveAt(from, count);
}

void CCaptureHistory::Clear() {
  DeleteFrom(1);
  RemoveAll();
  m_ko.RemoveAll();
}
