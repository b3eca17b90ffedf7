#include "orvanta/app/OrvantaDoc.h"

#include <platform/app.h>
#include <platform/msgbox.h>

#include "orvanta/app/MainFrame.h"
#include "orvanta/room/GiboFileName.h"

IMPLEMENT_DYNCREATE(COrvantaDoc, CDocument)

COrvantaDoc::COrvantaDoc() = default;

COrvantaDoc::~COrvantaDoc() { DeleteContents(); }

BOOL COrvantaDoc::OnNewDocument() { return CDocument::OnNewDocument(); }

void COrvantaDoc::DeleteContents() {
  POSITION position = m_roomMap.GetStartPosition();
  while (position) {
    WORD number = 0;
    CObject* record = nullptr;
    m_roomMap.GetNextAssoc(position, number, record);
    delete record;
  }
  m_roomMap.RemoveAll();
}

void COrvantaDoc::SetPathName(LPCTSTR path, BOOL addToRecent) {
  CDocument::SetPathName(path, addToRecent);
  m_strPathName.Empty();
}

CGiboRecord* COrvantaDoc::GetRecordForView(UINT viewId) {
  if (viewId == CMainFrame::kGameRoomView)
    return &m_roomRecord;
  if (viewId == CMainFrame::kRecordListView)
    return &m_listRecord;
  return nullptr;
}

BOOL COrvantaDoc::IsEmptyRecord(const CGiboRecord& record) {
  // The setup text always names its property; stones are its bracketed values.
  return record.GetTotalMoves() == 0 && record.GetSetup().Find('[') < 0;
}

CGiboRecord* COrvantaDoc::ActiveRecord() {
  auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
  return frame ? GetRecordForView(frame->GetActiveViewId()) : nullptr;
}

CString COrvantaDoc::ProposedFileName(const CGiboRecord& record) {
  CString a, black, white, d;
  record.GetBlackPlayer(a, black, a, d);
  record.GetWhitePlayer(a, white, a, d);
  if (black.IsEmpty() && white.IsEmpty()) return CString();
  return CGiboFileName::Safe(black) + "_" + CGiboFileName::Safe(white);
}

BOOL COrvantaDoc::DoSave(LPCTSTR path, BOOL replace) {
  CGiboRecord* record = ActiveRecord();
  // Nothing to write is said before a name is asked for, on a screen without a record as well.
  if (!record || IsEmptyRecord(*record)) {
    AfxMessageBox("The selected game record is not found.");
    return FALSE;
  }
  CString proposed = path ? CString(path) : CString();
  if (proposed.IsEmpty() && record) proposed = ProposedFileName(*record);
  return CDocument::DoSave(proposed.IsEmpty() ? nullptr : proposed.GetString(), replace);
}

BOOL COrvantaDoc::OnSaveDocument(LPCTSTR path) {
  CGiboRecord* record = ActiveRecord();
  if (!record)
    return TRUE;
  if (IsEmptyRecord(*record)) {
    AfxMessageBox("The selected game record is not found.");
    return FALSE;
  }
  if (!record->WriteFile(path)) {
    AfxMessageBox("File save fail.");
    return FALSE;
  }
  return TRUE;
}
