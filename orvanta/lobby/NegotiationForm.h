#pragma once
// What both play-negotiation dialogs share on screen: the condition radios (even game, black,
// handicap) with the handicap and komi that go with each, and the one-second answer clock with
// its progress bar.

#include <initializer_list>

#include <platform/dialogs.h>

// Controls with the same id in both dialogs.
inline constexpr UINT kNegotiationHandicapCombo = 1093;
inline constexpr UINT kNegotiationKomiEdit = 1094;
inline constexpr UINT kNegotiationProgress = 1462;
// Ticks of one second an answer may take.
inline constexpr int kNegotiationTickLimit = 30;

// Sets condition with its handicap and komi (read from and written back to the dialog); the
// handicap combo is editable only for a handicap game, the komi edit and evenOnly only for an
// even game, which also puts the caret in the komi.
void ApplyNegotiationCondition(CDialog& dialog, int condition, int& conditionData, CString& handicap, float& komi,
                               std::initializer_list<UINT> evenOnly = {});
// One tick of the answer clock: FALSE (nothing changed) once tick has reached the limit, else
// tick and position advance and the progress bar shows position.
BOOL StepNegotiationClock(CWnd& dialog, int& tick, int& position);
// Fills the combo box id of dialog with items (UTF-8, shown in CP949) when it exists and is still
// empty, so a dialog set up again keeps one copy of each item.
void FillDialogCombo(CWnd& dialog, UINT id, std::initializer_list<const char*> items);
// The Korean time-limit, count-down and interval lists, and the handicap list up to maxHandicap.
void FillNegotiationCombos(CWnd& dialog, int maxHandicap);
// Enables control id of dialog when it exists.
void EnableDialogControl(CWnd& dialog, UINT id, BOOL enable);
