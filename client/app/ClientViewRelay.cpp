// The relay's lines: each is read by its reader in RelayLine and acted on here.
#include <cstring>
#include <memory>
#include <new>

#include "client/app/ClientView.h"
#include "client/relay/RelayLine.h"
#include "client/widgets/TextUtilities.h"
#include "client/model/GameDiagramDlg.h"
#include "client/model/GameInfo.h"
#include "client/model/ViewMessages.h"
#include "client/resources/ClientIds.h"
#include "platform/files.h"

LRESULT CClientView::OnSocketEvent(WPARAM event, LPARAM success) {
  if (!success) {
    EndConnectionOnError();
    return 0;
  }
  if (event == CRelaySocket::kEventLine) {
    DoReceive(m_socket.GetLineLength(), m_socket.GetLine());
  } else if (event == CRelaySocket::kEventClose) {
    EndConnection(kDisconnectedText);
  }
  return 0;
}

void CClientView::EndConnection(const char* message) {
  // Offline first, so that the board behind the message already shows what the link left.
  Disconnect();
  ShowMessage(message);
}

void CClientView::EndConnectionOnError() {
  if (m_socket.IsConnectionLost()) {
    EndConnection(kDisconnectedText);
  } else {
    const CString error = m_socket.GetErrorText();  // taken before the socket is closed
    EndConnection(error);
  }
}

void CClientView::DoReceive(int length, const char* line) {
  const bool text = m_explainMode == 2;
  const bool voice = m_explainMode == 1;
  switch (MatchRelayTag(line, length)) {
    case RelayTag::Move: OnRelayMove(length, line); break;
    case RelayTag::Clocks: OnRelayClocks(length, line); break;
    case RelayTag::MoveText: OnRelayMoveText(length, line); break;
    case RelayTag::NewGame: OnRelayNewGame(length, line); break;
    case RelayTag::Answer: OnRelayAnswer(length, line); break;
    case RelayTag::TextDiagramMove: if (text) OnRelayDiagramMove(length, line); break;
    case RelayTag::TextDiagramText: if (text) OnRelayDiagramText(length, line); break;
    case RelayTag::TextDiagramEnd: if (text) OnRelayDiagramEnd(length, line); break;
    case RelayTag::VoiceDiagramMove: if (voice) OnRelayDiagramMove(length, line); break;
    case RelayTag::VoiceDiagramText: if (voice) OnRelayDiagramText(length, line); break;
    case RelayTag::VoiceDiagramEnd: if (voice) OnRelayDiagramEnd(length, line); break;
    case RelayTag::Undo: OnRelayUndo(length, line); break;
    case RelayTag::GameInfo: OnRelayGameInfo(length, line); break;
    case RelayTag::BlackPhoto:
    case RelayTag::WhitePhoto: OnRelayStoneImage(length, line); break;
    case RelayTag::HistoryEnd: OnRelayEnd(length, line); break;
    case RelayTag::ServerTime: OnRelayTime(length, line); break;
    case RelayTag::Login:
      if (std::strcmp(line, "ua|ok") == 0) OnLoginAccepted(TRUE); else Disconnect();
      break;
    case RelayTag::MediaAddress: OnRelayMediaAddress(length, line); break;
    case RelayTag::Result: OnRelayResult(length, line); break;
    case RelayTag::Commentary: OnRelayCommentary(length, line); break;
    case RelayTag::GameEnd:
    case RelayTag::Accept:
    case RelayTag::None: break;
  }
}

void CClientView::OnRelayMove(int, const char* line) {
  RelayMove move;
  if (!ParseRelayMove(line, move)) return;
  if (move.moveNumber != m_delayQueue.GetMoveCount() + 1 || m_delayQueue.GetEventCount() >= kMaxRelayEvents) return;
  m_delayQueue.AddEvent(CDelayEvent::kMove, move.moveNumber, move.time, move.x, move.y, move.colour);
  UpdateMoveCounter();
  if (move.hasClocks) {
    const RelayClocks& c = move.clocks;
    SetClocks(c.whiteHours, c.whiteMinutes, c.whiteSeconds, c.blackHours, c.blackMinutes, c.blackSeconds);
  }
}

void CClientView::OnRelayClocks(int, const char* line) {
  RelayClocks c;
  if (!ParseRelayClocks(line, c)) return;
  SetClocks(c.whiteHours, c.whiteMinutes, c.whiteSeconds, c.blackHours, c.blackMinutes, c.blackSeconds);
}

bool CClientView::KeepRelayText(int length) {
  if (m_relayTextBytes + length > kMaxRelayTextBytes) return false;
  m_relayTextBytes += length;
  return true;
}

void CClientView::OnRelayMoveText(int length, const char* line) {
  RelayMoveText comment;
  if (!ParseRelayMoveText(line, comment) || !KeepRelayText(length)) return;
  m_comments.AddComment(comment.moveNumber, comment.text);
  RefreshCommentsIfLive();
}

void CClientView::RefreshCommentsIfLive() {
  if (m_historyComplete && !m_board.IsBrowsing()) RefreshCommentPane();
}

void CClientView::OnRelayNewGame(int, const char*) {
  ClearGame();
  // A new game within the same connection: the queue's clock and the login state carry on.
  if (IsConnected()) {
    StartTimer();
    SetStateFlag(kLoggedIn);
  }
}

void CClientView::OnRelayAnswer(int, const char* line) {
  CString text;
  if (!ParseRelayText(line, text)) return;
  text += "\r\n";
  m_answerPane.AppendAndScroll(text);
}

void CClientView::OnRelayDiagramMove(int length, const char* line) {
  RelayDiagramMove stone;
  if (!ParseRelayDiagramMove(line, stone) || !m_refDiagrams.IsOpenFor(stone.moveNumber) || !KeepRelayText(length))
    return;
  m_refDiagrams.AddDiagramMove(stone.moveNumber, stone.x, stone.y, static_cast<DWORD>(stone.state), stone.diagram);
}

void CClientView::OnRelayDiagramText(int length, const char* line) {
  RelayMoveText text;
  if (!ParseRelayMoveText(line, text) || !m_refDiagrams.IsOpenFor(text.moveNumber) || !KeepRelayText(length)) return;
  m_refDiagrams.AddDiagramText(text.moveNumber, text.text);
}

void CClientView::OnRelayDiagramEnd(int, const char* line) {
  int moveNumber = 0, diagram = 0;
  if (!ParseRelayDiagramEnd(line, moveNumber, diagram) || !m_refDiagrams.IsOpenFor(moveNumber)) return;
  if (m_refDiagrams.CloseDiagram(moveNumber, diagram) < 0) return;
  if (m_diagramDlg != nullptr) m_diagramDlg->SendMessage(WM_DIAGRAM_FILED, 0, 0);
  if (m_board.GetCurrentMove() == moveNumber) EnableButton(IDC_BTN_REF, true);
}

void CClientView::OnRelayUndo(int length, const char* line) {
  int moveNumber = 0;
  std::int64_t time = 0;
  if (!ParseRelayUndo(line, length, moveNumber, time)) return;
  if (moveNumber != m_delayQueue.GetMoveCount() || m_delayQueue.GetEventCount() >= kMaxRelayEvents) return;
  m_delayQueue.AddEvent(CDelayEvent::kTakeBack, moveNumber, time, 0, 0, 0);
  UpdateMoveCounter();
}

void CClientView::OnRelayGameInfo(int, const char* line) {
  RelayInfoLabel label = RelayInfoLabel::None;
  if (!ApplyRelayGameInfo(line, GetGameInfo(), label)) return;
  RefreshPlayerInfo();
  switch (label) {
    case RelayInfoLabel::BlackName: InvalidateControl(IDC_BLACK_NAME); break;
    case RelayInfoLabel::BlackAffiliation: InvalidateControl(IDC_BLACK_AFFILIATION); break;
    case RelayInfoLabel::WhiteName: InvalidateControl(IDC_WHITE_NAME); break;
    case RelayInfoLabel::WhiteAffiliation: InvalidateControl(IDC_WHITE_AFFILIATION); break;
    case RelayInfoLabel::None: break;
  }
}

void CClientView::OnRelayStoneImage(int, const char* line) {
  RelayPhoto photo;
  if (!ParseRelayPhoto(line, photo) || photo.count <= 0) return;
  if (photo.count > kMaxPhotoBytes) {
    // The bytes cannot be skipped safely: reading them as lines would be reading garbage.
    EndConnection(kDisconnectedText);
    return;
  }
  ReceivePhotograph(photo.black, static_cast<int>(photo.count));
}

void CClientView::ReceivePhotograph(bool black, int count) {
  std::unique_ptr<char[]> bytes(new (std::nothrow) char[static_cast<size_t>(count)]);
  if (!bytes) {
    EndConnection(kDisconnectedText);
    return;
  }
  if (!m_socket.ReceiveBlock(bytes.get(), count)) {
    // Whatever of the photograph is still to come would be read as relay lines.
    EndConnectionOnError();
    return;
  }
  // The file's name is made here, in the temporary folder: nothing of the line names it.
  char folder[MAX_PATH] = {};
  CPhotoFile& file = black ? m_blackPhotoFile : m_whitePhotoFile;
  if (::GetTempPath(MAX_PATH, folder) == 0 || !file.Write(folder, bytes.get(), static_cast<std::size_t>(count))) {
    ShowMessage("File open fail.");
    return;
  }
  // Each photograph has a path of its own, so the pane loads it even when the side had one.
  CGameInfo& info = GetGameInfo();
  (black ? info.m_blackPhotoPath : info.m_whitePhotoPath) = file.GetPath();
  RefreshPlayerInfo();
}

void CClientView::OnRelayEnd(int, const char*) {
  m_historyComplete = 1;
  if (!m_mediaAddress.IsEmpty()) m_delayQueue.Enable();
  SetStateFlag(kHistoryComplete);
  AdvanceQueue(true);
  RefreshCommentPane();
  OnLoginAccepted(TRUE);
}

void CClientView::OnRelayTime(int, const char* line) {
  std::int64_t time = 0;
  if (ParseRelayServerTime(line, time)) m_delayQueue.SetServerTime(time);
}

void CClientView::OnRelayMediaAddress(int, const char* line) {
  CString address;
  if (!ParseRelayMediaAddress(line, address)) return;
  if (address == "null") {
    m_mediaAddress.Empty();
    return;
  }
  if (m_explainMode == 1) m_mediaAddress = address;
  ClearStateFlag(kNoMedia);
}

void CClientView::OnRelayResult(int, const char* line) { ApplyRelayResult(line, GetGameInfo()); }

void CClientView::OnRelayCommentary(int, const char* line) {
  CString text;
  if (!ParseRelayText(line, text)) return;
  m_commentaryCaption = text;
  CString word;
  LoadUiText("Commentary", word);
  CString caption;
  caption.Format("< %s : %s >", static_cast<const char*>(word), static_cast<const char*>(m_commentaryCaption));
  SetLabel(IDC_COMMENT_CAPTION, caption);
}

void CClientView::OnLoginAccepted(BOOL accepted) {
  const bool live = accepted && !m_mediaAddress.IsEmpty() && m_historyComplete;
  EnableButton(IDC_BTN_VOICE, live);
  EnableButton(IDC_BTN_DELAY, live);
  EnableButton(IDC_BTN_PLAYINFO, accepted != FALSE);
}
