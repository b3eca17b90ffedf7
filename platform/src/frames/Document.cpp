// Documents: title and path, the view list, and opening, saving and closing.
#include "platform/document.h"

#include <algorithm>

#include "platform/app.h"
#include "platform/commondlg.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/frames.h"
#include "platform/uiscript.h"
#include "platform/view.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
  ON_COMMAND(ID_FILE_SAVE, OnFileSave)
  ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
  ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
END_MESSAGE_MAP()

CDocument::~CDocument() {
  for (CView* view : m_viewList) view->m_pDocument = nullptr;
  m_viewList.clear();
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR title) {
  m_strTitle = title ? title : "";
  for (CView* view : m_viewList) {
    if (CFrameWnd* frame = view->GetParentFrame()) frame->OnUpdateFrameTitle(TRUE);
  }
}

void CDocument::SetPathName(LPCTSTR path, BOOL addToRecent) {
  m_strPathName = path ? path : "";
  SetTitle(platform::FileNameOf(m_strPathName));
  if (addToRecent && !m_strPathName.IsEmpty() && AfxGetApp()) AfxGetApp()->AddToRecentFileList(m_strPathName);
}

void CDocument::AddView(CView* view) {
  if (!view || std::find(m_viewList.begin(), m_viewList.end(), view) != m_viewList.end()) return;
  m_viewList.push_back(view);
  view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view) {
  auto found = std::find(m_viewList.begin(), m_viewList.end(), view);
  if (found == m_viewList.end()) return;
  m_viewList.erase(found);
  view->m_pDocument = nullptr;
  // A document nobody shows any more is closed (and deleted when it deletes itself).
  if (m_viewList.empty() && m_bAutoDelete) OnCloseDocument();
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject) {
  // A view may leave the list while it updates: work on a copy.
  std::vector<CView*> views = m_viewList;
  for (CView* view : views) {
    if (view != sender && std::find(m_viewList.begin(), m_viewList.end(), view) != m_viewList.end()) {
      view->OnUpdate(sender, hint, hintObject);
    }
  }
}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.Empty();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR path) {
  CFile file;
  if (!path || !file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
    CString text;
    text.Format("Cannot open the file %s.", path ? path : "");
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }
  DeleteContents();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR path) {
  CFile file;
  if (!path || !file.Open(path, CFile::modeCreate | CFile::modeWrite)) {
    CString text;
    text.Format("Cannot save the file %s.", path ? path : "");
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::OnCloseDocument() {
  // Destroying the frames removes the views; that must not close this document a second time.
  BOOL autoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  while (!m_viewList.empty()) {
    CView* view = m_viewList.front();
    CFrameWnd* frame = view->GetParentFrame();
    if (frame) {
      frame->DestroyWindow();
    } else {
      view->DestroyWindow();
    }
    // A view whose window is already gone leaves the list here.
    if (!m_viewList.empty() && m_viewList.front() == view) RemoveView(view);
  }
  m_bAutoDelete = autoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

BOOL CDocument::SaveModified() {
  if (!IsModified()) return TRUE;
  CString name = m_strTitle.IsEmpty() ? CString("Untitled") : m_strTitle;
  CString text;
  text.Format("Save changes to %s?", name.GetString());
  switch (AfxMessageBox(text, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDCANCEL:
      return FALSE;
    case IDYES:
      return DoFileSave();
    default:
      return TRUE;
  }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* frame) {
  for (CView* view : m_viewList) {
    CFrameWnd* other = view->GetParentFrame();
    if (other && other != frame) return TRUE;  // another frame still shows the document
  }
  return SaveModified();
}

BOOL CDocument::DoSave(LPCTSTR path, BOOL replace) {
  CString target = path ? path : "";
  if (target.IsEmpty() || replace) {
    if (target.IsEmpty()) target = m_strTitle;
    std::optional<CString> chosen =
        platform::display::IsInteractive() ? ChooseSavePath(target) : ScriptedSavePath(target);
    if (!chosen) return FALSE;
    target = *chosen;
  }
  if (!OnSaveDocument(target)) return FALSE;
  if (replace) SetPathName(target);
  return TRUE;
}

std::optional<CString> CDocument::ScriptedSavePath(const CString& initialName) const {
  platform::UiScript* script = platform::GetUiScript();
  auto answer = script ? script->OnFileDialog(FALSE, initialName, nullptr) : std::nullopt;
  if (!answer) {
    platform::LogUnanswered("file save dialog", initialName);
    return std::nullopt;
  }
  return *answer;
}

std::optional<CString> CDocument::ChooseSavePath(const CString& initialName) const {
  CString filter, ext;
  if (m_pDocTemplate && m_pDocTemplate->GetDocString(filter, CDocTemplate::filterName) &&
      m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt) && !ext.IsEmpty()) {
    filter += "|*" + ext + "|";
  } else {
    filter.Empty();
    ext.Empty();
  }
  filter += "All Files (*.*)|*.*||";
  CFileDialog dialog(FALSE, ext.IsEmpty() ? nullptr : ext.Mid(ext[0] == '.' ? 1 : 0).GetString(), initialName,
                     OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter, AfxGetMainWnd());
  if (dialog.DoModal() != IDOK) return std::nullopt;
  return dialog.GetPathName();
}

BOOL CDocument::DoFileSave() {
  return m_strPathName.IsEmpty() ? DoSave(nullptr, TRUE) : DoSave(m_strPathName, FALSE);
}

void CDocument::OnFileSave() { DoFileSave(); }

void CDocument::OnFileSaveAs() { DoSave(nullptr, TRUE); }

void CDocument::OnFileClose() {
  if (SaveModified()) OnCloseDocument();
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
