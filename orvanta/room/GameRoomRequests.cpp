// The game room: requests, answers, counting and the ends of a game.
#include "orvanta/room/GameRoom.h"

#include <algorithm>
#include <cstdlib>

#include <platform/files.h>
#include <platform/msgbox.h>
#include <platform/time.h>

#include "orvanta/room/CapturedStoneList.h"
#include "orvanta/room/GameRoomShared.h"
#include "orvanta/room/GiboFileName.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/ResultText.h"
#include "orvanta/room/RoomBoard.h"
#include "orvanta/room/RoomHost.h"

using namespace gameroom;

// ---------------------------------------------------------------------------------------------
// Requests and answers

BOOL CGameRoom::IsSeatedPlayer() const { return m_myColour == kBlack || m_myColour == kWhite; }

void CGameRoom::Answer(short minor, const CString& payload, BOOL yes) {
  std::vector<CString> fields = CRoomMessages::Split(payload);
  m_host.SendAnswer(minor, "|" + Field(fields, 0) + "|" + Field(fields, 1) + (yes ? "|1|" : "|0|"));
}

BOOL CGameRoom::AskYesNo(const CString& text, UINT icon) {
  return m_host.AskUser(text, "Inform", MB_YESNO | icon) == IDYES;
}

void CGameRoom::OnUndoRequest(int code, const CString& payload) {
  if (code == 516) {
    if (!IsSeatedPlayer()) return;
    StopClock();
    const std::weak_ptr<int> life = Life();
    const BOOL yes = AskYesNo("Opponent requests undo(retraction).\nDo you agree?", MB_ICONQUESTION);
    if (Gone(life)) return;
    Answer(16, payload, yes);
    StartClock();
    return;
  }
  // 515: the server's move number after the undo; the moves above it come off.
  // The number comes from the server: bounded, so the arithmetic below stays in range.
  const long oldNumber = std::clamp<long>(ToInt(GetPaneText(kMoveNumber)), 0, 32767);
  const long next = std::clamp<long>(ToInt(Field(CRoomMessages::Split(payload), 2)), 0, 32767) + m_handicap;
  SetPane(kMoveNumber, Number(next - 1));
  StartClock();
  m_bMoveSent = FALSE;
  const int takeBack =
      static_cast<int>(std::clamp<long>(oldNumber + 1 - next, 0, std::max<long>(m_moveCounter - m_handicap, 0)));
  short last = 0;
  for (int i = 0; i < takeBack; ++i) {
    --m_moveCounter;
    last = m_board.GetLastColor();
    m_record.RemoveLastMove();
    m_board.RemoveStone(-1);
    short changed = m_board.GetChangedCount();
    if (changed > 1) {
      // The stones the move had captured are back on the board.
      if (last & kWhite) {
        m_capturedBlack -= changed - 1;
      } else {
        m_capturedWhite -= changed - 1;
      }
      ShowCaptured();
    }
  }
  last = m_board.GetLastColor();
  if (m_myColour == kBlack || m_myColour == kWhite) SetMessage(m_myColour == last ? "It's not yout turn." : "It's your turn.");
  m_host.ClearUndoPending();
}

void CGameRoom::AddCheckStoneMode() {
  LONG mode = m_board.GetGameMode();
  m_board.SetGameMode(mode >= CRoomState::kModeTerritory ? mode | CRoomState::kModeCheckStone
                                                         : CRoomState::kModeCheckStone);
}

void CGameRoom::MarkStones(const std::vector<int>& points, short mask) {
  for (int index : points) m_board.SetStone(static_cast<short>(index / 19), static_cast<short>(index % 19), mask);
}

void CGameRoom::ShowDeadStones(const CRoomMessages::DeadStones& stones) {
  MarkStones(stones.points, stones.black ? kBlack | kDieMask : kWhite | kDieMask);
}

std::vector<int> CGameRoom::OwnDesignation() {
  if (m_myColour != kBlack && m_myColour != kWhite) return {};
  return PointsOf(CCapturedStoneList::Read(m_board).list);
}

short CGameRoom::OpponentColour() const { return m_myColour == kBlack ? kWhite : kBlack; }

void CGameRoom::RemoveDeadStones(const CRoomMessages::DeadStones& stones, const std::vector<int>& kept) {
  ShowDeadStones(stones);
  // The removal takes every marked stone: the user's own marks that were not agreed step aside
  // for it and are marked again after it.
  MarkStones(kept, OpponentColour());
  m_board.RemoveStone(kDieMask);
  MarkStones(kept, OpponentColour() | kDieMask);
}

void CGameRoom::OnDesignationMessage(int code, const CString& payload) {
  CRoomMessages::DeadStones stones = CRoomMessages::ReadDeadStones(payload);
  if (code == 518) {
    if (!IsSeatedPlayer()) return;
    if (m_host.IsStonesDesignated()) {
      m_host.BuildBoardText();
      m_host.ClearDesignation();
    }
    // The user's own marks, shown again should he refuse the opponent's.
    const std::vector<int> own = OwnDesignation();
    LONG mode = m_board.GetGameMode();
    AddCheckStoneMode();
    ShowDeadStones(stones);
    const std::weak_ptr<int> life = Life();
    BOOL yes = m_host.RunCapturedStonesDlg("Do you agree to designating captured stones?");
    if (Gone(life)) return;
    Answer(18, payload, yes);
    m_board.SetGameMode(mode);
    if (yes) {
      SetMessage("You agree to designating captured stones.");
    } else {
      m_host.ClearDesignation();
      m_board.UnCheckStone(kDieMask);
      MarkStones(own, OpponentColour() | kDieMask);
      m_board.Redraw(-1, -1);
      SetMessage("Ask for designating captured stones is rejected.");
    }
    return;
  }
  // 517: the dead stones count as captured ones of their colour.
  // Only the agreed stones leave the board; the user's own pending marks stay shown.
  std::vector<int> own = OwnDesignation();
  std::erase_if(own, [&](int index) { return std::find(stones.points.begin(), stones.points.end(), index) != stones.points.end(); });
  (stones.black ? m_deadBlack : m_deadWhite) += static_cast<int>(stones.points.size());
  ShowCaptured();
  RemoveDeadStones(stones, own);
  m_host.ClearDesignation();
  AddCheckStoneMode();
  m_board.Redraw(-1, -1);
  m_state.SetSubStatus(CRoomState::kDeadAgreed);
}

void CGameRoom::OnFinishMessage(int code, const CString& payload) {
  switch (code) {
    case 522: {
      if (!IsSeatedPlayer()) return;
      const std::weak_ptr<int> life = Life();
      BOOL yes = AskYesNo("Opponent requests designating captured stones.\nDo you agree?", MB_ICONQUESTION);
      if (Gone(life)) return;
      Answer(22, payload, yes);
      if (!yes) {
        StartClock();
        m_host.EnableFinishButton();
      }
      return;
    }
    case 535: {
      if (!IsSeatedPlayer()) return;
      const std::weak_ptr<int> life = Life();
      const BOOL yes = AskYesNo("Opponent cancels finishing game.\nDo you agree?", MB_ICONQUESTION);
      if (!Gone(life)) Answer(35, payload, yes);
      return;
    }
    case 521:
      if (m_myColour == kBlack || m_myColour == kWhite) {
        SetMessage("Send after designating your opponent's captured stones.");
      } else {
        SetMessage("Game is finished.");
      }
      m_state.BeginCounting(m_myColour);
      m_board.SetGameMode(CRoomState::kModeCheckStone);
      m_state.SetSubStatus(CRoomState::kDesignating);
      StopClock();
      StopBlink();
      SetStatus("Move complete");
      m_host.ClearReconnecting();
      m_host.ToggleEndRequested();
      return;
    case 534:
      SetMessage("Restarting match.");
      m_state.BeginPlaying(m_myColour);
      m_board.SetGameMode(CRoomState::kModePlay);
      m_capturedBlack = m_capturedWhite = m_deadBlack = m_deadWhite = 0;
      ShowCaptured();
      RedrawFromRecord();
      StartClock();
      m_host.ToggleEndRequested();
      m_host.UpdateRoomButtons();
      SetStatus("In Playing");
      return;
    default:
      return;
  }
}

void CGameRoom::OnPauseMessage(int code, const CString& payload) {
  if (code == 524) {
    if (!IsSeatedPlayer()) return;
    StopClock();
    const std::weak_ptr<int> life = Life();
    BOOL yes = AskYesNo("Opponent requests a pause game.\nDo you agree?", MB_ICONQUESTION);
    if (Gone(life)) return;
    Answer(24, payload, yes);
    if (!yes) StartClock();
    return;
  }
  m_board.SetGameMode(CRoomState::kModeNone);
  m_state.SetSubStatus(CRoomState::kInRecess);
  StopClock();
  SetStatus("In Recess");
  SetMessage("It's in recess.");
}

void CGameRoom::OnContinueMessage(int code, const CString& payload) {
  std::vector<CString> fields = CRoomMessages::Split(payload);
  if (code == 526) {
    if (!IsSeatedPlayer()) return;
    const std::weak_ptr<int> life = Life();
    const BOOL yes = AskYesNo("There is a request for continued play.\nDo you accept?", MB_ICONQUESTION);
    if (!Gone(life)) Answer(26, payload, yes);
    return;
  }
  if (code == 527) {
    CString who = Field(fields, 2);
    if (who == GetPaneText(kBlackName)) m_bBlackSeated = TRUE;
    if (who == GetPaneText(kWhiteName)) m_bWhiteSeated = TRUE;
    SetMessage(who + " has entered the room.");
    return;
  }
  if (fields.size() == 2) {
    m_board.SetGameMode(CRoomState::kModePlay);
    // Only the recess bit comes off: a pause never set it, and the colour bits must stay.
    m_state.ClearRecess();
    StartClock();
  } else {
    RestoreGame(payload);
  }
  m_state.SetSubStatus(CRoomState::kInPlay);
  SetStatus("In Playing");
  SetMessage("Game is processing again.");
  m_bBlackSeated = m_bWhiteSeated = TRUE;
}

void CGameRoom::OnResumeRequest(int code, const CString& payload) {
  if (code == 542) {
    if (!IsSeatedPlayer()) return;
    const std::weak_ptr<int> life = Life();
    const BOOL yes = AskYesNo("Opponent requests to continue the game.\nDo you agree?", MB_ICONINFORMATION);
    if (!Gone(life)) Answer(42, payload, yes);
    return;
  }
  RestoreGame(payload);
  SetStatus("In Playing");
  SetMessage("Play is started.");
}

void CGameRoom::ShowOwners(const CString& owners) {
  m_board.SetGameMode(CRoomState::kModeNone | CRoomState::kModeResult);
  // Every point gets its entry, so no point keeps a value from before; a point of neither side
  // (and one the text leaves out) shows no mark at all.
  for (int i = 0; i < kBoardPoints; ++i) {
    char owner = i < owners.GetLength() ? owners[i] : '0';
    short mask = owner == '1' ? kBlack : owner == '2' ? kWhite : 0;
    m_board.SetStone(static_cast<short>(i % 19), static_cast<short>(i / 19), mask);
  }
  m_board.Redraw(-1, -1);
}

void CGameRoom::OnCountResult(int code, const CString& payload) {
  CRoomMessages::Count count = CRoomMessages::ReadCount(payload);
  m_record.SetResult(count.result);
  ShowOwners(count.owners);
  CString words = CResultText::FormatResult(count.result);
  SetStatus(words);
  if (code == 544) {
    SetStatus("In Counting");
    if (!IsSeatedPlayer()) return;
    CString question = CResultText::CountProposal(count.blackPoints, count.blackStones, count.whitePoints,
                                                  count.whiteStones, count.komi, count.result);
    // The question stands on a line of its own under the result.
    const std::weak_ptr<int> life = Life();
    BOOL yes = m_host.RunCapturedStonesDlg(question + "\nDo you agree?");
    if (Gone(life)) return;
    Answer(45, payload, yes);
    if (!yes) SetStatus("In Couting");
    return;
  }
  SetMessage("Counting is finished.");
  AppendChat(CResultText::CountChat(count.blackPoints, count.blackStones, count.whitePoints, count.whiteStones,
                                    count.komi, count.result));
  const std::weak_ptr<int> life = Life();
  m_host.AskUser("Counting is completed.\n", "Inform", MB_OK | MB_ICONINFORMATION);
  if (Gone(life)) return;
  m_state.EndGame(m_myColour);
  SaveRecordToGiboFolder();
}

void CGameRoom::OnStalemateArea(const CString& payload) {
  if (!IsSeatedPlayer()) return;
  if (m_host.HasOwnStalemateArea()) m_board.UnCheckStone(kBlackStalemate);
  LONG mode = m_board.GetGameMode();
  if (mode < CRoomState::kModeTerritory) m_board.SetGameMode(mode + CRoomState::kModeTerritory);
  for (int index : CRoomMessages::ReadPointList(payload, 2)) m_board.SetBigPos(static_cast<short>(index), -1);
  m_board.Redraw(-1, -1);
  const std::weak_ptr<int> life = Life();
  BOOL yes = m_host.RunCapturedStonesDlg("Do you agree to designation of stalemate area?");
  if (Gone(life)) return;
  Answer(47, payload, yes);
  if (yes) {
    m_host.Flush();
  } else {
    m_board.UnCheckStone(kOwnStalemate);
    m_board.Redraw(-1, -1);
  }
  if (m_host.HasOwnStalemateArea()) {
    for (int index : PointsOf(m_host.GetStalemateText()))
      m_board.SetBigPos(static_cast<short>(index), 0);
  }
}

void CGameRoom::OnStalemateAgreed(const CString& payload) {
  if (m_myColour != kBlack && m_myColour != kWhite) {
    for (int index : CRoomMessages::ReadPointList(payload, 3)) {
      m_board.SetBigPos(static_cast<short>(index), -1);
      m_board.SetBigPos(static_cast<short>(index), 1);
    }
  }
  if (!m_host.HasOwnStalemateArea()) {
    for (int index : PointsOf(m_host.GetStalemateText())) m_board.SetBigPos(static_cast<short>(index), 1);
    m_host.SetStalemateText(CString());
  } else {
    for (int index : PointsOf(m_board.GetBigPos(kOwnStalemate))) m_board.SetBigPos(static_cast<short>(index), 1);
    CString kept = m_board.GetBigPos(kBlackStalemate);
    m_host.SetStalemateText(kept);
    for (int index : PointsOf(kept)) m_board.SetBigPos(static_cast<short>(index), 0);
  }
  m_board.Redraw(-1, -1);
  LONG mode = m_board.GetGameMode();
  if (mode > CRoomState::kModeTerritory) m_board.SetGameMode(mode - CRoomState::kModeTerritory);
  SetMessage("Stalemate area is designated.");
}

// ---------------------------------------------------------------------------------------------
// Ends of a game

void CGameRoom::EndGame() {
  StopClock();
  StopBlink();
  m_state.EndGame(m_myColour);
  m_board.SetGameMode(CRoomState::kModeNone);
}

void CGameRoom::OnGameDrawn(const CString&) {
  EndGame();
  m_record.SetResult("RE[V]");
  SetStatus("Drawn Game");
  SetMessage("The match is drawn.");
  SaveRecordToGiboFolder();
  m_host.AskUser("The match is drawn.", "Inform", MB_OK | MB_ICONINFORMATION);
}

void CGameRoom::OnResignResult(const CString& payload) {
  EndGame();
  CString loser = Field(CRoomMessages::Split(payload), 3);
  bool blackGaveUp = loser == GetPaneText(kBlackName);
  CString winner = GetPaneText(blackGaveUp ? kWhiteName : kBlackName);
  SetStatus(blackGaveUp ? "W won by KO." : "B won by KO.");
  SetMessage(winner + " won by KO.");
  // The result goes into the record before it is saved, so the saved file says who won.
  m_record.SetResult(blackGaveUp ? "RE[W+R]" : "RE[B+R]");
  SaveRecordToGiboFolder();
  m_host.AskUser(winner + " won without counting.", "Inform", MB_OK | MB_ICONINFORMATION);
}

void CGameRoom::OnTimeOver(const CString& payload) {
  EndGame();
  std::vector<CString> fields = CRoomMessages::Split(payload);
  CString a, b, c, d;
  m_record.GetBlackPlayer(a, b, c, d);
  bool blackLost = a == Field(fields, 3) && b == Field(fields, 4);
  if (blackLost) {
    m_record.SetResult("RE[W+T]");
    SetStatus("W won by time");
    SetPane(kBlackSeconds, "0 sec");
    SetPane(kBlackPeriods, "0 **");
  } else {
    m_record.SetResult("RE[B+T]");
    SetStatus("B won by time");
    SetPane(kWhiteSeconds, "0 sec");
    SetPane(kWhitePeriods, "0 **");
  }
  SetMessage("The match has ended.");
  SaveRecordToGiboFolder();
}

void CGameRoom::OnWinWithoutCounting(const CString& payload) {
  m_board.SetGameMode(CRoomState::kModeNone);
  const std::weak_ptr<int> life = Life();
  m_host.AskUser(Field(CRoomMessages::Split(payload), 3) + " won without counting.", "Inform", MB_OK | MB_ICONINFORMATION);
  if (Gone(life)) return;
  m_state.SetWord(CRoomState::kEnded);
  m_state.SetSubStatus(CRoomState::kGameEnded);
}

void CGameRoom::SetGameMode(LONG mode) { m_board.SetGameMode(mode); }

void CGameRoom::LeaveDesignationMode() {
  m_board.UnCheckStone(kDieMask);
  m_board.Redraw(-1, -1);
}

void CGameRoom::LeaveCountingMode() {
  m_board.SetGameMode(CRoomState::kModeCheckStone);
  m_board.Redraw(-1, -1);
}

void CGameRoom::ClearStalemateArea() {
  m_board.UnCheckStone(kOwnStalemate);
  m_board.Redraw(-1, -1);
}

void CGameRoom::ToggleSequenceNumbers() {
  LONG mode = m_board.GetGameMode();
  m_board.SetGameMode(mode & CRoomState::kModeSequence ? mode & ~CRoomState::kModeSequence
                                                       : mode | CRoomState::kModeSequence);
}

void CGameRoom::SaveRecordToGiboFolder() {
  if (!m_host.IsSaveRecordOn()) return;
  ::CreateDirectory(CGiboFileName::kFolder);
  CString path = CGiboFileName::Build(GetPaneText(kBlackName), GetPaneText(kWhiteName));
  if (!platform::ReplaceFileContents(path, m_record.ToFileText().str())) m_host.AskUser("File can not be made.", "Inform", MB_OK | MB_ICONINFORMATION);
}
