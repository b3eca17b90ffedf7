#include "client/model/SelectionStack.h"

void CSelectionStack::Push(CDC* dc, CGdiObject* object) {
  if (dc == nullptr || object == nullptr) return;
  if (auto* palette = dynamic_cast<CPalette*>(object)) {
    CPalette* previous = dc->SelectPalette(palette, FALSE);
    m_entries.push_back({dc, previous ? previous->GetSafeHandle() : nullptr, true});
    return;
  }
  m_entries.push_back({dc, dc->SelectObject(object->GetSafeHandle()), false});
}

void CSelectionStack::PushStock(CDC* dc, int index) {
  if (dc == nullptr) return;
  m_entries.push_back({dc, dc->SelectObject(::GetStockObject(index)), false});
}

void CSelectionStack::Pop() {
  if (m_entries.empty()) return;
  const Entry entry = m_entries.back();
  m_entries.pop_back();
  if (entry.previous == nullptr) return;
  if (entry.palette)
    entry.dc->SelectPalette(CPalette::FromHandle(reinterpret_cast<HPALETTE>(entry.previous)), FALSE);
  else
    entry.dc->SelectObject(entry.previous);
}

void CSelectionStack::PopAll() {
  while (!m_entries.empty()) Pop();
}
