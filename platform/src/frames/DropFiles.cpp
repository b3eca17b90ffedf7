// Drop handles: the list of paths a WM_DROPFILES carries, alive until DragFinish.
#include <cstring>
#include <map>
#include <string>

#include "platform/frames.h"

namespace {

std::map<HDROP, std::vector<std::string>>& Drops() {
  static std::map<HDROP, std::vector<std::string>> drops;
  return drops;
}

HDROP NewDropHandle() {
  static std::uintptr_t next = 0x7D000;
  return reinterpret_cast<HDROP>(++next);
}

}  // namespace

UINT DragQueryFile(HDROP drop, UINT index, LPTSTR buffer, UINT size) {
  auto it = Drops().find(drop);
  if (it == Drops().end()) return 0;
  const auto& paths = it->second;
  if (index == 0xFFFFFFFF) return static_cast<UINT>(paths.size());
  if (index >= paths.size()) return 0;
  const std::string& path = paths[index];
  if (!buffer) return static_cast<UINT>(path.size());
  if (size == 0) return 0;
  size_t copied = std::min<size_t>(path.size(), size - 1);
  std::memcpy(buffer, path.data(), copied);
  buffer[copied] = '\0';
  return static_cast<UINT>(copied);
}

void DragFinish(HDROP drop) { Drops().erase(drop); }

namespace platform {

BOOL PostDroppedFiles(HWND hwnd, const std::vector<CString>& paths) {
  if (!::IsWindow(hwnd) || !(::GetWindowLong(hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)) return FALSE;
  HDROP drop = NewDropHandle();
  auto& stored = Drops()[drop];
  for (const CString& path : paths) stored.emplace_back(static_cast<LPCTSTR>(path));
  if (!::PostMessage(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0)) {
    DragFinish(drop);
    return FALSE;
  }
  return TRUE;
}

}  // namespace platform
