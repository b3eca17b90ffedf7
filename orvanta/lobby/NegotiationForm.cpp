#include "orvanta/lobby/NegotiationForm.h"

#include <platform/controls.h>
#include <platform/messages.h>

#include "orvanta/lobby/NegotiationTerms.h"

void ApplyNegotiationCondition(CDialog& dialog, int condition, int& conditionData, CString& handicap, float& komi,
                               std::initializer_list<UINT> evenOnly) {
  dialog.UpdateData(TRUE);
  conditionData = condition;
  handicap = condition == kConditionHandicap ? "2" : "0";
  komi = condition == kConditionEven ? 6.5f : 0.0f;
  EnableDialogControl(dialog, kNegotiationHandicapCombo, condition == kConditionHandicap);
  for (const UINT id : evenOnly) EnableDialogControl(dialog, id, condition == kConditionEven);
  EnableDialogControl(dialog, kNegotiationKomiEdit, condition == kConditionEven);
  dialog.UpdateData(FALSE);
  if (condition != kConditionEven)
    return;
  if (CWnd* edit = dialog.GetDlgItem(static_cast<int>(kNegotiationKomiEdit))) {
    edit->SetFocus();
    edit->SendMessage(EM_SETSEL, 0, -1);
  }
}

BOOL StepNegotiationClock(CWnd& dialog, int& tick, int& position) {
  if (tick >= kNegotiationTickLimit)
    return FALSE;
  ++tick;
  ++position;
  if (CWnd* progress = dialog.GetDlgItem(static_cast<int>(kNegotiationProgress)))
    progress->SendMessage(PBM_SETPOS, static_cast<WPARAM>(position));
  return TRUE;
}

void EnableDialogControl(CWnd& dialog, UINT id, BOOL enable) {
  if (CWnd* control = dialog.GetDlgItem(static_cast<int>(id)))
    control->EnableWindow(enable);
}
