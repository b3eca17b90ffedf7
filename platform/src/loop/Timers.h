#pragma once
// Timer table of the message loop (internal).

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/messages.h"
#include "platform/windows.h"

namespace platform::detail {

// Adds or replaces the timer (hwnd, id); a null hwnd gets a fresh id. Returns the id.
UINT_PTR AddTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
bool RemoveTimer(HWND hwnd, UINT_PTR id);
void RemoveWindowTimers(HWND hwnd);
void ClearTimers();
// The earliest timer due at now (for hwnd, or any when null) as a WM_TIMER message; when remove,
// the timer is rescheduled one interval after now.
bool TakeDueTimer(std::uint64_t now, HWND filter, MSG* msg, bool remove);
// When the next timer falls due; none without timers.
std::optional<std::uint64_t> NextTimerDue();
// Fires, in time order, every timer due up to target: setClock(due) then dispatch, rescanning the
// table after each so a timer killed by a handler never fires.
void FireTimersUntil(std::uint64_t target, const std::function<void(std::uint64_t)>& setClock);

}  // namespace platform::detail
