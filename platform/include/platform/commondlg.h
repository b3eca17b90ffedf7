#pragma once
// The file-open/save dialog and the print dialog. On an interactive display a person answers them
// on screen; headless the UI script (uiscript.h) does: the file dialog by a path or a cancel, the
// print dialog by print or cancel. No answer cancels (logged).

#include "platform/dialogs.h"

constexpr DWORD OFN_READONLY = 0x00000001, OFN_OVERWRITEPROMPT = 0x00000002, OFN_HIDEREADONLY = 0x00000004,
                OFN_NOCHANGEDIR = 0x00000008, OFN_PATHMUSTEXIST = 0x00000800, OFN_FILEMUSTEXIST = 0x00001000,
                OFN_EXPLORER = 0x00080000;
constexpr DWORD PD_ALLPAGES = 0x00000000, PD_SELECTION = 0x00000001, PD_PAGENUMS = 0x00000002,
                PD_NOSELECTION = 0x00000004, PD_NOPAGENUMS = 0x00000008, PD_PRINTSETUP = 0x00000040, PD_RETURNDC = 0x00000100,
                PD_RETURNDEFAULT = 0x00000400, PD_USEDEVMODECOPIES = 0x00040000;

class CFileDialog : public CDialog {
public:
  // defaultExt is appended (after a dot) to a chosen name that has no extension; filter is
  // "Text|pattern|...||".
  explicit CFileDialog(BOOL openFileDialog, LPCTSTR defaultExt = nullptr, LPCTSTR fileName = nullptr,
                       DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = nullptr,
                       CWnd* parent = nullptr);

  // IDOK with a path chosen, else IDCANCEL. A save dialog with OFN_OVERWRITEPROMPT asks before
  // choosing an existing file; OFN_FILEMUSTEXIST refuses a missing one (with a message).
  INT_PTR DoModal() override;
  // The chosen path, its last part, that part without extension, and the extension.
  CString GetPathName() const { return m_path; }
  CString GetFileName() const;
  CString GetFileTitle() const;
  CString GetFileExt() const;

  DWORD m_flags{0};

private:
  // The dialog on screen, for a person to answer.
  INT_PTR AskOnScreen();
  // path with the default extension when its name has none.
  CString Completed(const CString& path) const;
  // False (after a message) when the choice must not be taken.
  bool Acceptable(const CString& path) const;

  BOOL m_open{TRUE};
  CString m_defaultExt;
  CString m_initialName;
  CString m_filter;
  CString m_path;
};

class CPrintDialog : public CDialog {
public:
  explicit CPrintDialog(BOOL printSetupOnly, DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS,
                        CWnd* parent = nullptr);
  ~CPrintDialog() override;

  // IDOK to print (a printer context is made), else IDCANCEL; on screen, pages printed before
  // under the chosen prefix are replaced only when the person says so. The setup-only dialog (built with
  // printSetupOnly) makes no context: on screen it sets the paper and orientation of the program's
  // printer (printing.h).
  INT_PTR DoModal() override;
  // Makes the printer context without asking; FALSE when it cannot be made.
  BOOL GetDefaults();
  // The printer context of the last IDOK; the caller owns it from then on (DeleteDC).
  HDC GetPrinterDC();
  CString GetDeviceName() const { return "Raster printer"; }
  // Where printed pages go: where a person last sent them, else PLATFORM_PRINT_PREFIX, else
  // "printed-page-".
  static CString OutputPrefix();

  DWORD m_flags{0};

private:
  // The print (or print setup) dialog on screen; the choice stays with the program's printer.
  INT_PTR AskOnScreen();

  HDC m_dc{nullptr};
  BOOL m_setupOnly{FALSE};
};
