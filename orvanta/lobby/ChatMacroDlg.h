#pragma once
// CChatMacroDlg: the editor of the eight chat phrases for F2 to F9 (template 446). "Delete ALL"
// empties them on screen only; OK takes the edits, Cancel leaves the caller's phrases alone.

#include <array>

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CChatMacroDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 446;
  static constexpr UINT kFirstEdit = 1368;  // F2; F9 is 1375
  static constexpr UINT kDeleteAllButton = 1449;
  static constexpr UINT kHiddenDefaultButton = 1192;
  static constexpr int kMacroCount = 8;

  explicit CChatMacroDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}
  static platform::DialogTemplate BuildTemplate();

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  std::array<CString, kMacroCount> m_macros;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnDeleteAll();
  DECLARE_MESSAGE_MAP()
};
