#include "orvanta/lobby/ChatMacroDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>

#include "orvanta/lobby/SeparatorFilter.h"

BEGIN_MESSAGE_MAP(CChatMacroDlg, CDialog)
  ON_BN_CLICKED(CChatMacroDlg::kDeleteAllButton, OnDeleteAll)
END_MESSAGE_MAP()

platform::DialogTemplate CChatMacroDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 250;
  t.cy = 150;
  t.caption = "Chatting Macro";
  t.fontName = "Arial";
  t.fontSize = 9;
  static const char* const kLabels[kMacroCount] = {"[F2]", "[F3]", "[F4]", "[F5]", "[F6]", "[F7]", "[F8]", "[F9]"};
  for (int i = 0; i < kMacroCount; ++i) {
    const int y = 8 + i * 15;
    t.items.push_back(platform::VisibleItem("Static", 0xFFFF, 8, y + 2, 22, 8, SS_LEFT, kLabels[i]));
    t.items.push_back(platform::VisibleItem("Edit", kFirstEdit + static_cast<UINT>(i), 32, y, 150, 12,
                                            ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER));
  }
  t.items.push_back(platform::VisibleItem("Button", IDOK, 192, 8, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "OK"));
  t.items.push_back(
      platform::VisibleItem("Button", kDeleteAllButton, 192, 26, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Delete ALL"));
  t.items.push_back(platform::VisibleItem("Button", IDCANCEL, 192, 44, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"));
  // Enter in an edit presses this invisible, disabled default button, so it closes nothing.
  platform::DialogItemTemplate hidden{"Button", kHiddenDefaultButton, 192, 120, 50, 14, BS_DEFPUSHBUTTON | WS_DISABLED, 0,
                                      "Button1"};
  t.items.push_back(hidden);
  return t;
}

BOOL CChatMacroDlg::OnInitDialog() {
  SetDefID(kHiddenDefaultButton);
  return CDialog::OnInitDialog();
}

BOOL CChatMacroDlg::PreTranslateMessage(MSG* msg) {
  if (IsSeparatorKeyForEdit(msg))
    return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

void CChatMacroDlg::DoDataExchange(CDataExchange* dx) {
  for (int i = 0; i < kMacroCount; ++i) DDX_Text(dx, static_cast<int>(kFirstEdit) + i, m_macros[static_cast<std::size_t>(i)]);
}

void CChatMacroDlg::OnDeleteAll() {
  for (CString& macro : m_macros) macro.Empty();
  UpdateData(FALSE);
}
