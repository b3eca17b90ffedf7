#pragma once
// The print dialogs a person answers on screen: Print (the printer, the folder and file-name
// prefix its pages go to, the pages) and Print Setup (the paper and its orientation).

#include "platform/dialogs.h"
#include "platform/printing.h"

namespace platform::detail {

// What the print dialog asks, and after IDOK what was chosen.
struct PrintChoice {
  CString prefix;       // where pages go: folder and file-name prefix together
  UINT minPage{1};
  UINT maxPage{0xFFFF};  // 0xFFFF: the number of pages is not known
  bool pageNumbers{true};  // whether a range of pages may be chosen
  UINT fromPage{0};     // chosen range; 0, 0 for all pages
  UINT toPage{0};
};

class PrintChooser : public CDialog {
public:
  PrintChooser(PrintChoice choice, CWnd* parent);
  const PrintChoice& Choice() const { return m_choice; }

protected:
  BOOL OnInitDialog() override;
  // Takes the folder (which must exist) and the range (which must lie within the pages); pages
  // printed before under the same prefix are replaced only when the person says yes.
  void OnOK() override;
  DECLARE_MESSAGE_MAP()
  // Enables the range fields while Pages is chosen.
  void OnRangeKind();
  void OnPagesChosen();

private:
  // Whether the range fields hold pages from..to of the document; a message says why not.
  bool ReadRange(UINT& from, UINT& to);

  PrintChoice m_choice;
};

class PrintSetupChooser : public CDialog {
public:
  PrintSetupChooser(PrinterSetup setup, CWnd* parent);
  const PrinterSetup& Setup() const { return m_setup; }

protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

private:
  PrinterSetup m_setup;
};

// Splits a page prefix into its folder (absolute, from the current folder) and its file-name part.
void SplitPrefix(const CString& prefix, CString& folder, CString& name);

}  // namespace platform::detail
