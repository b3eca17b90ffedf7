#include "control/StolvexPropPage.h"

#include "control/StolvexIds.h"
#include "platform/ddx.h"

CStolvexPropPage::CStolvexPropPage() : COlePropertyPage(IDD_PROPPAGE_STOLVEX, IDS_STOLVEX_PPG_CAPTION) {
  SetHelpInfo("Names to appear in the control", "STOLVEX.HLP");
}

void CStolvexPropPage::DoDataExchange(CDataExchange* dx) { DDP_PostProcessing(dx); }
