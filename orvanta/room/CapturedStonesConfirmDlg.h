#pragma once
// CCapturedStonesConfirmDlg: the room's confirmation for captured stones and counting results
// (template 463). It grows with the lines of its question and can sit with its bottom-right
// corner on a point of the screen.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CCapturedStonesConfirmDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 463;
  static constexpr UINT kLine1 = 1409, kLine2 = 1410, kIcon = 462;

  explicit CCapturedStonesConfirmDlg(CWnd* parent = nullptr);
  static platform::DialogTemplate BuildTemplate();

  // Line 0 (the question) or line 1 (a second line); other indexes are ignored.
  void SetText(int index, const CString& text);
  // The screen point the dialog's bottom-right corner goes to; 0 in either leaves it centred.
  void SetAnchor(int bottom, int right) {
    m_nAnchorBottom = bottom;
    m_nAnchorRight = right;
  }
  // Non-zero: only OK, centred.
  void SetMode(int oneButton) { m_nOneButton = oneButton; }
  // Zero hides an empty second line and gives its room back.
  void SetOption(int keepLine2) { m_nKeepLine2 = keepLine2; }

  // The number of line feeds in text.
  static int CountLines(const CString& text);

protected:
  BOOL OnInitDialog() override;

private:
  // How much taller than its template line the question is, wrapped at the line's width.
  int ExtraHeight(const CRect& line1) const;
  // How much wider than line1 the question's widest line is (0 when it fits), so that no line
  // breaks in the middle of a figure.
  int ExtraWidth(const CRect& line1) const;
  CRect ChildRect(UINT id) const;
  void MoveChildBy(UINT id, int dx, int dy);

  int m_nOneButton{0};
  CString m_strLine1;
  CString m_strLine2;
  int m_nAnchorBottom{0};
  int m_nAnchorRight{0};
  int m_nKeepLine2{1};
};
