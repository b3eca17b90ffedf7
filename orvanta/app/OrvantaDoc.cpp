#include "orvanta/app/OrvantaDoc.h"

#include <platform/app.h>
#include <platform/msgbox.h>

#include "orvanta/app/MainFrame.h"

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

BOOL COrvantaDoc::OnSaveDocument(LPCTSTR path) {
  auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
  CGiboRecord* record = frame ? GetRecordForView(frame->GetActiveViewId()) : nullptr;
  if (!record)
    return TRUE;
  if (IsEmptyRecord(*record)) {
    AfxMessageBox("The selected game record is not found.");
    return TRUE;
  }
  record->WriteFile(path);
  return TRUE;
}
