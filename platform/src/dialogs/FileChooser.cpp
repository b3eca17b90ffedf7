// The on-screen file dialog.
#include "FileChooser.h"

#include <algorithm>

#include "PlatformDialogs.h"
#include "platform/controls_defs.h"
#include "platform/files.h"
#include "platform/gdi.h"

namespace platform::detail {

BEGIN_MESSAGE_MAP(FileChooser, CDialog)
  ON_LBN_DBLCLK(kFileList, OnListDoubleClick)
  ON_LBN_SELCHANGE(kFileList, OnListSelectionChange)
  ON_CBN_SELCHANGE(kFilterCombo, OnFilterChange)
END_MESSAGE_MAP()

CString StartFolder(const CString& initialName) {
  char cwd[4096] = "";
  CString current = ::GetCurrentDirectory(sizeof cwd, cwd) > 0 && cwd[0] == '/' ? CString(cwd) : CString("/");
  CString path = ResolvePath(current, initialName);
  int separator = std::max(initialName.ReverseFind('/'), initialName.ReverseFind('\\'));
  if (separator < 0) return current;
  CString folder = FolderOf(path);
  return IsFolder(folder) ? folder : current;
}

FileChooser::FileChooser(FileQuestion question, CWnd* parent)
    : m_question(std::move(question)), m_filters(ParseFileFilter(m_question.filter)) {
  m_pParentWnd = parent;
  InitModalIndirect(PlatformDialogTemplate(kFileDialogTemplate));
}

BOOL FileChooser::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(m_question.open ? "Open" : "Save As");
  SetDlgItemText(IDOK, m_question.open ? "&Open" : "&Save");
  for (const FileFilterChoice& choice : m_filters) SendDlgItemMessage(kFilterCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.text.GetString()));
  SendDlgItemMessage(kFilterCombo, CB_SETCURSEL, 0, 0);
  int separator = std::max(m_question.initialName.ReverseFind('/'), m_question.initialName.ReverseFind('\\'));
  SetDlgItemText(kFileNameEdit, m_question.initialName.Mid(separator + 1));
  ShowFolder(StartFolder(m_question.initialName));
  // A person types a name or a path at once.
  GotoDlgCtrl(GetDlgItem(kFileNameEdit));
  return FALSE;
}

void FileChooser::ShowFolder(const CString& folder) {
  m_folder = folder;
  ShowFolderText();
  int filter = static_cast<int>(SendDlgItemMessage(kFilterCombo, CB_GETCURSEL, 0, 0));
  const FileFilterChoice& choice = m_filters[filter >= 0 && filter < static_cast<int>(m_filters.size()) ? filter : 0];
  m_lines = ListFolder(m_folder, choice.patterns);
  SendDlgItemMessage(kFileList, LB_RESETCONTENT, 0, 0);
  for (const FolderEntry& line : m_lines) {
    CString text = line.folder && line.name != ".." ? "[" + line.name + "]" : line.name;
    SendDlgItemMessage(kFileList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.GetString()));
  }
}

void FileChooser::ShowFolderText() {
  CWnd* control = GetDlgItem(kFolderText);
  if (!control) return;
  CRect box;
  control->GetClientRect(&box);
  CClientDC dc(control);
  HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), reinterpret_cast<HGDIOBJ>(control->SendMessage(WM_GETFONT)));
  CString text = m_folder;
  // Cut whole characters from the left: a Korean one is two bytes.
  while (text.GetLength() > 1 && dc.GetTextExtent("..." + text).cx > box.Width()) {
    text = text.Mid(Cp949CharLength(std::string_view(text.GetString(), static_cast<std::size_t>(text.GetLength())), 0));
  }
  ::SelectObject(dc.GetSafeHdc(), old);
  control->SetWindowText(text == m_folder ? text : "..." + text);
}

void FileChooser::OnOK() {
  CWnd* focus = GetFocus();
  int line = static_cast<int>(SendDlgItemMessage(kFileList, LB_GETCURSEL, 0, 0));
  if (focus && focus->m_hWnd == GetDlgItem(kFileList)->m_hWnd && line >= 0) {
    OpenLine(line);
    return;
  }
  CString typed;
  GetDlgItemText(kFileNameEdit, typed);
  typed.TrimLeft().TrimRight();
  if (typed.IsEmpty()) return;
  Take(ResolvePath(m_folder, typed));
}

void FileChooser::OnListDoubleClick() {
  int line = static_cast<int>(SendDlgItemMessage(kFileList, LB_GETCURSEL, 0, 0));
  if (line >= 0) OpenLine(line);
}

void FileChooser::OnListSelectionChange() {
  int line = static_cast<int>(SendDlgItemMessage(kFileList, LB_GETCURSEL, 0, 0));
  if (line >= 0 && line < static_cast<int>(m_lines.size()) && !m_lines[line].folder) {
    SetDlgItemText(kFileNameEdit, m_lines[line].name);
  }
}

void FileChooser::OnFilterChange() { ShowFolder(m_folder); }

void FileChooser::OpenLine(int index) {
  if (index < 0 || index >= static_cast<int>(m_lines.size())) return;
  Take(ResolvePath(m_folder, m_lines[index].name));
}

void FileChooser::Take(const CString& path) {
  if (IsFolder(path)) {
    ShowFolder(path);
    SetDlgItemText(kFileNameEdit, "");
    return;
  }
  CString taken = m_question.accept ? m_question.accept(path) : path;
  if (taken.IsEmpty()) return;
  m_chosen = taken;
  EndDialog(IDOK);
}

}  // namespace platform::detail
