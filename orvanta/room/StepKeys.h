#pragma once
// The keys that step a game shown move by move (the review and self-play dialogs): arrows go back
// and forward, Home and End to the ends. The step happens on the key's release; its press is
// swallowed so no control of the dialog acts on it as well.

#include <functional>

#include <platform/controls_defs.h>
#include <platform/windows.h>

enum class StepKey { kNone, kPrevious, kNext, kFirst, kLast };

// The step a released key asks for (kNone for other keys).
StepKey StepKeyOf(WPARAM key);

// The dialog's button of a step (null when it has none): it looks pressed while its key is down.
using StepButtonOf = std::function<CWnd*(StepKey)>;

// The ids of a dialog's step buttons; 0 for a step without one.
struct StepButtonIds {
  UINT previous{0};
  UINT next{0};
  UINT first{0};
  UINT last{0};
};
// The buttons of dialog named by ids, as RouteStepKey asks for them.
StepButtonOf StepButtonsOf(CWnd& dialog, StepButtonIds ids);

// Routes a key message of a stepping dialog: a released step key runs step and is consumed, its
// press is consumed too (the End key's press only when swallowLastPress). While the key is down
// its button, when buttonOf names one, looks pressed. TRUE when consumed.
BOOL RouteStepKey(const MSG& msg, const std::function<void(StepKey)>& step, bool swallowLastPress = true,
                  const StepButtonOf& buttonOf = nullptr);
