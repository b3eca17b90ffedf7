// The file and print dialogs over the UI script.
#include <cstdio>

#include "FileChooser.h"
#include "PrintChooser.h"
#include "platform/commondlg.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/gdi.h"
#include "platform/uiscript.h"

namespace {

// Index of the last path separator, -1 when none.
int LastSeparator(const CString& path) {
  int slash = path.ReverseFind('/');
  int backslash = path.ReverseFind('\\');
  return slash > backslash ? slash : backslash;
}

bool Exists(const CString& path) { return ::GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

// ---- file dialog ----

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defaultExt, LPCTSTR fileName, DWORD flags, LPCTSTR filter,
                         CWnd* parent)
    : m_flags(flags), m_open(openFileDialog), m_defaultExt(defaultExt ? defaultExt : ""),
      m_initialName(fileName ? fileName : ""), m_filter(filter ? filter : "") {
  m_pParentWnd = parent;
}

INT_PTR CFileDialog::DoModal() {
  if (platform::display::IsInteractive()) return AskOnScreen();
  platform::UiScript* script = platform::GetUiScript();
  auto answer = script ? script->OnFileDialog(m_open, m_initialName, m_filter) : std::nullopt;
  if (!answer) {
    platform::LogUnanswered(m_open ? "file open dialog" : "file save dialog", m_filter);
    return IDCANCEL;
  }
  if (!*answer || (*answer)->IsEmpty()) return IDCANCEL;
  CString path = Completed(**answer);
  if (!Acceptable(path)) return IDCANCEL;
  m_path = path;
  return IDOK;
}

INT_PTR CFileDialog::AskOnScreen() {
  auto accept = [this](const CString& path) {
    CString completed = Completed(path);
    return Acceptable(completed) ? completed : CString();
  };
  platform::detail::FileChooser chooser({m_open != FALSE, m_initialName, m_filter, accept}, m_pParentWnd);
  if (chooser.DoModal() != IDOK) return IDCANCEL;
  m_path = chooser.Chosen();
  return IDOK;
}

CString CFileDialog::Completed(const CString& path) const {
  int dot = path.ReverseFind('.');
  return !m_defaultExt.IsEmpty() && dot <= LastSeparator(path) ? path + "." + m_defaultExt : path;
}

bool CFileDialog::Acceptable(const CString& path) const {
  if (m_open && (m_flags & OFN_FILEMUSTEXIST) && !Exists(path)) {
    AfxMessageBox(path + "\nFile not found.", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (!m_open && (m_flags & OFN_OVERWRITEPROMPT) && Exists(path)) {
    return AfxMessageBox(path + " already exists.\nDo you want to replace it?", MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
  }
  return true;
}

CString CFileDialog::GetFileName() const { return m_path.Mid(LastSeparator(m_path) + 1); }

CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

CString CFileDialog::GetFileExt() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}

// ---- print dialog ----

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent)
    : m_flags(printSetupOnly ? flags | PD_PRINTSETUP : flags), m_setupOnly(printSetupOnly) {
  m_pParentWnd = parent;
}

CPrintDialog::~CPrintDialog() {
  if (m_dc) ::DeleteDC(m_dc);
}

CString CPrintDialog::OutputPrefix() { return platform::PrinterOutputPrefix(platform::ProgramPrinter()); }

INT_PTR CPrintDialog::DoModal() {
  if (platform::display::IsInteractive()) return AskOnScreen();
  platform::UiScript* script = platform::GetUiScript();
  std::optional<bool> answer = script ? script->OnPrintDialog() : std::nullopt;
  if (!answer) platform::LogUnanswered(m_setupOnly ? "print setup dialog" : "print dialog", "");
  if (!answer.value_or(false)) return IDCANCEL;
  if (m_setupOnly) return IDOK;
  return GetDefaults() ? IDOK : IDCANCEL;
}

INT_PTR CPrintDialog::AskOnScreen() {
  platform::PrinterSetup& printer = platform::ProgramPrinter();
  if (m_setupOnly) {
    platform::detail::PrintSetupChooser chooser(printer, m_pParentWnd);
    if (chooser.DoModal() != IDOK) return IDCANCEL;
    printer.paper = chooser.Setup().paper;
    printer.landscape = chooser.Setup().landscape;
    return IDOK;
  }
  platform::detail::PrintChoice question;
  question.prefix = OutputPrefix();
  question.pageNumbers = !(m_flags & PD_NOPAGENUMS);
  platform::detail::PrintChooser chooser(question, m_pParentWnd);
  if (chooser.DoModal() != IDOK) return IDCANCEL;
  // The printer stays where the person sent it.
  printer.chosenPrefix = chooser.Choice().prefix;
  return GetDefaults() ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults() {
  if (m_dc) ::DeleteDC(m_dc);
  m_dc = platform::CreatePrinterDC(OutputPrefix().GetString(), 300, platform::PaperSizeMm(platform::ProgramPrinter()));
  return m_dc != nullptr;
}

HDC CPrintDialog::GetPrinterDC() {
  HDC dc = m_dc;
  m_dc = nullptr;
  return dc;
}
