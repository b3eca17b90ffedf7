#pragma once
// The file dialog a person answers on screen: the folder shown, its sub-folders and the files the
// chosen filter lets through, a name edit that takes a name or a path (focused first), OK and
// Cancel. Double click or Enter on a line opens the folder or takes the file.

#include <functional>
#include <vector>

#include "FolderListing.h"
#include "platform/dialogs.h"

namespace platform::detail {

// What the dialog asks.
struct FileQuestion {
  bool open{true};
  CString initialName;  // a name, or a path whose folder the dialog starts in
  CString filter;       // "Text|*.ext|...||"
  // The path as the caller takes it (completed with a default extension), or empty when it must
  // not be taken (the caller told the person why); the dialog then stays open.
  std::function<CString(const CString& path)> accept;
};

class FileChooser : public CDialog {
public:
  FileChooser(FileQuestion question, CWnd* parent);

  // The path taken when DoModal answered IDOK.
  const CString& Chosen() const { return m_chosen; }

protected:
  BOOL OnInitDialog() override;
  // Enter or OK: the line of the focused list, else what the name edit holds.
  void OnOK() override;
  DECLARE_MESSAGE_MAP()

  void OnListDoubleClick();
  void OnListSelectionChange();
  void OnFilterChange();

private:
  void ShowFolder(const CString& folder);
  // Opens the folder of the line at index or takes its file.
  void OpenLine(int index);
  // Takes path if it names a folder (shown then) or the caller accepts it.
  void Take(const CString& path);
  // The folder line shortened from the left until it fits its control.
  void ShowFolderText();

  FileQuestion m_question;
  std::vector<FileFilterChoice> m_filters;
  std::vector<FolderEntry> m_lines;  // the list's lines, in the list's order
  CString m_folder;
  CString m_chosen;
};

// The folder the dialog starts in: that of initialName when it names an existing one, else the
// current folder.
CString StartFolder(const CString& initialName);

}  // namespace platform::detail
