#pragma once
// What the control classes share: they only send messages to their windows.
#include <string>

#include "platform/controls.h"

namespace platform::detail {

// SendMessage with the answer as the int the control classes return.
inline int Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return static_cast<int>(::SendMessage(hwnd, message, wParam, lParam));
}
inline LPARAM Str(LPCTSTR text) { return reinterpret_cast<LPARAM>(text); }
inline WPARAM Idx(int index) { return static_cast<WPARAM>(index); }

// The text of item index, asked with lengthMessage then textMessage (empty for a bad index).
inline void ReadItemText(HWND hwnd, UINT lengthMessage, UINT textMessage, int index, CString& text) {
  int length = Send(hwnd, lengthMessage, Idx(index));
  if (length < 0) {
    text.Empty();
    return;
  }
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  Send(hwnd, textMessage, Idx(index), reinterpret_cast<LPARAM>(buffer.data()));
  text = buffer.c_str();
}

}  // namespace platform::detail
