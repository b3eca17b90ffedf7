// The on-screen print and print setup dialogs.
#include "PrintChooser.h"

#include "FileChooser.h"
#include "FolderListing.h"
#include "PlatformDialogs.h"
#include "platform/controls_defs.h"
#include "platform/files.h"
#include "platform/msgbox.h"

namespace platform::detail {
namespace {

constexpr const char* kPrinterText = "Raster printer (PNG pages)";

}  // namespace

void SplitPrefix(const CString& prefix, CString& folder, CString& name) {
  CString path = ResolvePath(StartFolder(""), prefix);
  bool endsInFolder = prefix.IsEmpty() || prefix[prefix.GetLength() - 1] == '/' || prefix[prefix.GetLength() - 1] == '\\';
  folder = endsInFolder ? path : FolderOf(path);
  name = endsInFolder ? CString() : NameOf(path);
}

// ---- print ----

BEGIN_MESSAGE_MAP(PrintChooser, CDialog)
  ON_BN_CLICKED(kAllPages, OnRangeKind)
  ON_BN_CLICKED(kPageRange, OnPagesChosen)
END_MESSAGE_MAP()

PrintChooser::PrintChooser(PrintChoice choice, CWnd* parent) : m_choice(std::move(choice)) {
  m_pParentWnd = parent;
  InitModalIndirect(PlatformDialogTemplate(kPrintDialogTemplate));
}

BOOL PrintChooser::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(kPrinterName, kPrinterText);
  CString folder, name;
  SplitPrefix(m_choice.prefix, folder, name);
  SetDlgItemText(kPrintFolderEdit, folder);
  SetDlgItemText(kPrintPrefixEdit, name);
  CheckRadioButton(kAllPages, kPageRange, kAllPages);
  SetDlgItemInt(kFromPageEdit, m_choice.minPage, FALSE);
  if (m_choice.maxPage != 0xFFFF) {
    SetDlgItemInt(kToPageEdit, m_choice.maxPage, FALSE);
  } else {
    SetDlgItemInt(kToPageEdit, m_choice.minPage, FALSE);
  }
  GetDlgItem(kPageRange)->EnableWindow(m_choice.pageNumbers);
  OnRangeKind();
  return TRUE;
}

void PrintChooser::OnRangeKind() {
  bool range = IsDlgButtonChecked(kPageRange) == BST_CHECKED;
  GetDlgItem(kFromPageEdit)->EnableWindow(range);
  GetDlgItem(kToPageEdit)->EnableWindow(range);
}

void PrintChooser::OnPagesChosen() {
  OnRangeKind();
  // Choosing pages is choosing which: the first page's field takes the keys.
  GotoDlgCtrl(GetDlgItem(kFromPageEdit));
}

bool PrintChooser::ReadRange(UINT& from, UINT& to) {
  BOOL fromRead = FALSE, toRead = FALSE;
  from = GetDlgItemInt(kFromPageEdit, &fromRead, FALSE);
  to = GetDlgItemInt(kToPageEdit, &toRead, FALSE);
  if (fromRead && toRead && m_choice.minPage <= from && from <= to && to <= m_choice.maxPage) return true;
  CString text;
  if (m_choice.maxPage == 0xFFFF) {
    text.Format("Enter the pages to print, from page %u on.", m_choice.minPage);
  } else {
    text.Format("Enter the pages to print, between %u and %u.", m_choice.minPage, m_choice.maxPage);
  }
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
  GotoDlgCtrl(GetDlgItem(fromRead && m_choice.minPage <= from ? kToPageEdit : kFromPageEdit));
  return false;
}

void PrintChooser::OnOK() {
  CString folderText, name;
  GetDlgItemText(kPrintFolderEdit, folderText);
  GetDlgItemText(kPrintPrefixEdit, name);
  CString folder = ResolvePath(StartFolder(""), folderText.TrimLeft().TrimRight());
  if (!IsFolder(folder)) {
    AfxMessageBox(folder + "\nThe folder does not exist.", MB_OK | MB_ICONEXCLAMATION);
    GotoDlgCtrl(GetDlgItem(kPrintFolderEdit));
    return;
  }
  UINT from = 0, to = 0;
  if (IsDlgButtonChecked(kPageRange) == BST_CHECKED && !ReadRange(from, to)) return;
  const CString prefix = (folder == "/" ? folder : folder + "/") + name;
  // Sheets go out as <prefix>1.png on: an earlier printout under the name goes only on the
  // person's word.
  const CString firstSheet = prefix + "1.png";
  if (::GetFileAttributes(firstSheet) != INVALID_FILE_ATTRIBUTES &&
      AfxMessageBox(firstSheet + " already exists.\nDo you want to replace the pages printed before?",
                    MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
    GotoDlgCtrl(GetDlgItem(kPrintPrefixEdit));
    return;
  }
  m_choice.prefix = prefix;
  m_choice.fromPage = from;
  m_choice.toPage = to;
  EndDialog(IDOK);
}

// ---- print setup ----

PrintSetupChooser::PrintSetupChooser(PrinterSetup setup, CWnd* parent) : m_setup(std::move(setup)) {
  m_pParentWnd = parent;
  InitModalIndirect(PlatformDialogTemplate(kPrintSetupTemplate));
}

BOOL PrintSetupChooser::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(kPrinterName, kPrinterText);
  for (const char* paper : {"A4 (210 x 297 mm)", "Letter (8.5 x 11 in)"}) {
    SendDlgItemMessage(kPaperCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(paper));
  }
  SendDlgItemMessage(kPaperCombo, CB_SETCURSEL, m_setup.paper == Paper::Letter ? 1 : 0, 0);
  CheckRadioButton(kPortrait, kLandscape, m_setup.landscape ? kLandscape : kPortrait);
  return TRUE;
}

void PrintSetupChooser::OnOK() {
  m_setup.paper = SendDlgItemMessage(kPaperCombo, CB_GETCURSEL, 0, 0) == 1 ? Paper::Letter : Paper::A4;
  m_setup.landscape = IsDlgButtonChecked(kLandscape) == BST_CHECKED;
  EndDialog(IDOK);
}

}  // namespace platform::detail
