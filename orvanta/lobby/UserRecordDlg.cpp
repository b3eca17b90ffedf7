#include "orvanta/lobby/UserRecordDlg.h"

#include <cstdlib>

#include <platform/controls.h>

#include "orvanta/connection/FieldTokenizer.h"

namespace {

CString Results(const CString& wins, const CString& draws, const CString& losses) {
  return wins + "wins " + draws + "drawns " + losses + " loses";
}

CString Number(int n) {
  CString text;
  text.Format("%d", n);
  return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CUserRecordDlg, CDialog)
  ON_BN_CLICKED(CUserRecordDlg::kRecordsButton, OnRecords)
END_MESSAGE_MAP()

CUserRecordDlg::CUserRecordDlg(const CString& payload, CWnd* parent) : CDialog(kTemplateId, parent), m_strPayload(payload) {}

platform::DialogTemplate CUserRecordDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 240;
  t.cy = 200;
  t.caption = "User Information";
  t.fontName = Cp949("굴림");
  t.fontSize = 9;
  const std::pair<UINT, const char*> rows[] = {
      {kUserId, "User ID"},           {kGrade, "User Grade"},       {kLastConnect, "Last Connect"},
      {kRanking, "Ranking"},          {kSameGrade, "Same Grade"},   {kHighGrade, "High Grade"},
      {kLowGrade, "Low Grade"},       {kPresentGrade, "Present Grade"}, {kTotalRecord, "Total Record"},
      {kPausedPlays, "Paused Plays"}, {kScore, "Score"},
  };
  int y = 8;
  for (const auto& [id, label] : rows) {
    t.items.push_back(platform::VisibleItem("Static", 0xFFFF, 8, y, 60, 9, SS_LEFT, label));
    t.items.push_back(platform::VisibleItem("Static", id, 72, y, 160, 9, SS_LEFT, ""));
    y += 14;
  }
  t.items.push_back(platform::VisibleItem("Button", kRecordsButton, 40, y + 6, 80, 14, BS_PUSHBUTTON | WS_TABSTOP,
                                          "View Play Records"));
  t.items.push_back(platform::VisibleItem("Button", IDOK, 130, y + 6, 60, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "Close"));
  return t;
}

CString CUserRecordDlg::FieldText(const CString& payload, UINT control) {
  CFieldTokenizer fields(payload);
  const auto f = [&](int i) { return fields.GetField(i); };
  const auto sum = [&](int offset) {
    return Number(std::atoi(f(7 + offset)) + std::atoi(f(10 + offset)) + std::atoi(f(13 + offset)));
  };
  switch (control) {
    case kUserId: return f(3);
    case kGrade: return f(5);
    case kLastConnect: {
      const CString d = f(6);
      return d.Mid(0, 4) + "/" + d.Mid(4, 2) + "/" + d.Mid(6, 2) + "  " + d.Mid(8, 2) + ":" + d.Mid(10, 2) + ":" +
             d.Mid(12, 2);
    }
    case kRanking: return f(1) + " ( Total: " + f(2) + " )";
    case kSameGrade: return Results(f(7), f(8), f(9));
    case kHighGrade: return Results(f(10), f(11), f(12));
    case kLowGrade: return Results(f(13), f(14), f(15));
    case kPresentGrade: return Results(sum(0), sum(1), sum(2));
    case kTotalRecord: return Results(f(16), f(17), f(18));
    case kPausedPlays: return f(19).IsEmpty() ? CString("0 **") : f(19) + " **";
    case kScore: return fields.GetCount() == 21 ? f(20) + " points" : CString("0 point");
    default: return CString();
  }
}

BOOL CUserRecordDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (m_nShowRecords == 0)
    if (CWnd* button = GetDlgItem(static_cast<int>(kRecordsButton)))
      button->ShowWindow(SW_HIDE);
  for (UINT id : {kUserId, kGrade, kLastConnect, kRanking, kSameGrade, kHighGrade, kLowGrade, kPresentGrade,
                  kTotalRecord, kPausedPlays, kScore})
    SetDlgItemText(static_cast<int>(id), FieldText(m_strPayload, id));
  return TRUE;
}

void CUserRecordDlg::OnRecords() { EndDialog(kRecordsResult); }
