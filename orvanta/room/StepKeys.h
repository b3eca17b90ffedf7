#pragma once
// The keys that step a game shown move by move (the review and self-play dialogs): arrows go back
// and forward, Home and End to the ends. The step happens on the key's release; its press is
// swallowed so no control of the dialog acts on it as well.

#include <platform/windows.h>

enum class StepKey { kNone, kPrevious, kNext, kFirst, kLast };

// The step a released key asks for (kNone for other keys).
StepKey StepKeyOf(WPARAM key);
