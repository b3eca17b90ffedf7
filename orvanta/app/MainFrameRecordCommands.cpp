// The frame's commands on play records: a record file opened for review or sent to continue a
// game from, a stored game or a listed record asked for, the memo command of the screen shown and
// the text of the save command.

#include <platform/commondlg.h>
#include <platform/strings.h>

#include "orvanta/app/FrameReviewHost.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/app/OrvantaDoc.h"
#include "orvanta/room/RoomSelfPlayDlg.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/lobby/TirvoGiboView.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/room/GameReviewDlg.h"
#include "orvanta/room/GiboRecord.h"

namespace {

// Asks for a record file to open; an empty path when the user cancels.
CString AskRecordFile(CWnd* owner) {
  CFileDialog dialog(TRUE, "sgf", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, Cp949("바둑 Files(*.sgf)|*.sgf||"),
                     owner);
  return dialog.DoModal() == IDOK ? dialog.GetPathName() : CString();
}

}  // namespace

BOOL CMainFrame::ReadRecordFile(const CString& path, CGiboRecord& record) {
  if (record.ReadFile(path))
    return TRUE;
  // Nothing half read is ever shown or sent.
  Ask("The play record cannot be read.", "Inform", MB_OK | MB_ICONEXCLAMATION);
  return FALSE;
}

void CMainFrame::OnOpenLocalRecord() {
  const CString path = AskRecordFile(this);
  CGiboRecord record;
  if (path.IsEmpty() || !ReadRecordFile(path, record))
    return;
  SendRecordGame(record);
  FlushRequests();
}

void CMainFrame::SendRecordGame(const CGiboRecord& record) { SendGameRequest(41, "|(" + record.GetRootText() + ")|"); }

void CMainFrame::OnFileOpen() {
  const CString path = AskRecordFile(this);
  CGiboRecord record;
  if (path.IsEmpty() || !ReadRecordFile(path, record))
    return;
  CGameReviewDlg dialog(record, this);
  CFrameReviewHost host(*this);
  dialog.SetHost(&host);
  dialog.DoModal();
}

void CMainFrame::OnSelfPlay() {
  // The room's record is the document's; a frame without the room still has the document's.
  CGiboRecord record;
  if (m_pGameRoom) {
    record = m_pGameRoom->GetRecord();
  } else if (auto* document = dynamic_cast<COrvantaDoc*>(GetActiveDocument())) {
    record = document->m_roomRecord;
  }
  CRoomSelfPlayDlg dialog(this, *this, record, m_pGameRoom ? m_pGameRoom->GetMyColour() : 0);
  dialog.DoModal();
}

void CMainFrame::OnUpdateFileSave(CCmdUI* cmdUI) {
  cmdUI->SetText(IsGameRoomActive() ? "Save This Play(&S)\tCtrl+S" : "Save Play Record(&S)\tCtrl+S");
}

void CMainFrame::OnReviewRecord() {
  auto* list = m_nActiveViewId == kRecordListView ? dynamic_cast<CTirvoGiboView*>(GetContentView()) : nullptr;
  if (!list)
    return;
  const int row = list->GetList().GetNextItem(-1, LVNI_SELECTED);
  if (row < 0) {
    MessageBox("Select a game record.", "Inform", MB_ICONEXCLAMATION);
    return;
  }
  RequestRecordPage(list->GetList().GetItemText(row, 0));
  FlushRequests();
}

void CMainFrame::SendStoredGameChoice(const CString& choice) { SendGameRequest(25, choice + "|"); }

void CMainFrame::OnStoredGames() {
  // A player of a game in recess continues one of his stored games; anyone else lists his records.
  if ((m_wRoomState & 8) != 0 && m_wRoomState > 63) {
    SendStoredGameChoice("0");
  } else {
    QueueRequest(6, 2, "|-1|50|LI|" + m_strUserId + "|", "1");
  }
  FlushRequests();
}

void CMainFrame::OnSendMemoToUser() {
  if (m_nActiveViewId == kWaitingRoomView) {
    if (auto* room = dynamic_cast<CTirvoDListView*>(GetContentView()))
      room->OnSendMemo();
  } else if (m_nActiveViewId == kGameRoomView) {
    if (auto* room = dynamic_cast<CDagukRoomView*>(GetContentView()))
      room->SendMemoToSelected();
  }
  FlushRequests();
}
