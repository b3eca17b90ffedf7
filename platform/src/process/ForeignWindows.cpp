#include "ForeignWindows.h"

#include "platform/windows.h"

namespace platform::process {

ForeignWindows& ForeignWindows::Instance() {
  static ForeignWindows* table = new ForeignWindows;  // window objects may look handles up at exit
  return *table;
}

HWND ForeignWindows::HandleFor(const ForeignWindow& window) {
  auto found = m_handles.find(window);
  if (found != m_handles.end()) return reinterpret_cast<HWND>(found->second);
  std::uintptr_t number = m_nextHandle;
  m_nextHandle += 2;
  m_handles[window] = number;
  m_windows[number] = window;
  return reinterpret_cast<HWND>(number);
}

std::optional<ForeignWindow> ForeignWindows::Lookup(HWND hwnd) const {
  auto found = m_windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
  if (found == m_windows.end()) return std::nullopt;
  return found->second;
}

bool ForeignWindows::IsForeignNumber(HWND hwnd) {
  auto number = reinterpret_cast<std::uintptr_t>(hwnd);
  return number >= kFirstHandle && (number & 1) != 0;
}

CWnd* ForeignWindows::ObjectFor(HWND hwnd) {
  auto number = reinterpret_cast<std::uintptr_t>(hwnd);
  if (!m_windows.count(number)) return nullptr;
  std::unique_ptr<CWnd>& object = m_objects[number];
  if (!object) {
    object = std::make_unique<CWnd>();
    object->m_hWnd = hwnd;
  }
  return object.get();
}

}  // namespace platform::process
