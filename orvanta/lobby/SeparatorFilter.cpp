#include "orvanta/lobby/SeparatorFilter.h"

#include <cstring>

#include <platform/windows.h>

BOOL IsSeparatorKeyForEdit(const MSG* msg) {
  if (!msg || msg->message != WM_CHAR || (msg->wParam != '|' && msg->wParam != '/'))
    return FALSE;
  HWND focus = ::GetFocus();
  char className[16] = {};
  return focus && ::GetClassName(focus, className, sizeof className) > 0 && std::strcmp(className, "Edit") == 0;
}
