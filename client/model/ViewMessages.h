#pragma once
// Private messages between the relay view and its modeless board dialogs.

#include "platform/types.h"

// A modeless dialog asks the view to close it; wParam its template number (138, 139, 149).
constexpr UINT WM_DIALOG_CLOSED = 0x40E;
// The view tells the game diagram dialog that a reference diagram was filed.
constexpr UINT WM_DIAGRAM_FILED = 0x40F;
