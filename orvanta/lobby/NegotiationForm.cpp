#include "orvanta/lobby/NegotiationForm.h"

#include <platform/controls.h>
#include <platform/messages.h>
#include <platform/strings.h>

#include <string>

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

void FillDialogCombo(CWnd& dialog, UINT id, std::initializer_list<const char*> items) {
  CWnd* combo = dialog.GetDlgItem(static_cast<int>(id));
  if (!combo || combo->SendMessage(CB_GETCOUNT) > 0)
    return;
  for (const char* item : items)
    combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Cp949(item)));
}

void FillNegotiationCombos(CWnd& dialog, int maxHandicap) {
  FillDialogCombo(dialog, 1095, {"5분", "10분", "20분", "30분", "40분", "1시간", "2시간", "3시간", "4시간", "5시간", "24시간"});
  FillDialogCombo(dialog, 1096, {"1", "2", "3", "4", "5"});
  FillDialogCombo(dialog, 1097, {"20초", "30초", "40초", "60초", "120초"});
  if (CWnd* combo = dialog.GetDlgItem(static_cast<int>(kNegotiationHandicapCombo)); combo && combo->SendMessage(CB_GETCOUNT) == 0) {
    for (int stones = 2; stones <= maxHandicap; ++stones)
      combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(stones).c_str()));
  }
}
