// The review-play board: its own rules with a recording host, and a whole review driven by the
// game-server peer through the main frame (the room view hosting the real board control).

#include "orvanta/room/ReviewPlayDlg.h"

#include <platform/gdi.h>

#include "../app/MainFrameFixture.h"
#include "ReviewBoardFixture.h"
#include "orvanta/lobby/SelectReplayDlg.h"
#include "orvanta/room/DagukRoomView.h"

namespace {

using namespace reviewtest;
using R = CReviewPlayDlg;

class RecordingHost : public CReviewPlayHost {
public:
  void SendGameRequest(short minor, const CString& extra) override {
    sent.push_back(std::to_string(minor) + ":" + extra.GetString());
  }
  void SendRoomCode32(const CString& move) override { sent.push_back(std::string("32:") + move.GetString()); }
  void SendRoomCode36(const CString& number) override { sent.push_back(std::string("36:") + number.GetString()); }
  void FlushRequests() override { ++flushes; }
  void StopReplay() override { ++stops; }
  BOOL ChooseReviewLeader(CString& third, CString& first) override {
    third = "lee";
    first = "l3";
    return TRUE;
  }
  std::vector<std::string> sent;
  int flushes{0};
  int stops{0};
};

class ReviewPlayDlgTest : public ReviewBoardTest {
protected:
  bool Enabled(R& dialog, UINT id) { return ::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, id)); }
  RecordingHost host;
};

}  // namespace

TEST_F(ReviewPlayDlgTest, OnlyTheHolderSendsAndTheBoardFollowsTheServer) {
  CGiboRecord game;
  ASSERT_TRUE(game.ReadFile(DataFile("fox-handicap.sgf").c_str()));
  R dialog(game, "Review", 2, TRUE, FALSE, host);
  ASSERT_TRUE(dialog.Create());
  dialog.SetControl(FALSE);
  CStolvex& board = dialog.GetBoard();
  // Started at the first move after the two handicap stones.
  EXPECT_EQ(3, board.GetLogicalPos());
  EXPECT_EQ(3, dialog.GetCurrentPosition());

  // Without the control: no button, click or key sends anything.
  for (UINT id : {R::kFirst, R::kPrev, R::kNext, R::kLast, R::kBackToGame, R::kControl, R::kEndReview})
    ReviewBoardTest::Press(&dialog, id);
  platform::input::Click(board.m_hWnd, PointCentre(board.m_hWnd, 9, 9));
  dialog.RequestMove(10);
  EXPECT_TRUE(host.sent.empty());
  EXPECT_FALSE(Enabled(dialog, R::kNext));

  // The server steps everybody's board.
  dialog.StepForward();
  dialog.StepForward();
  EXPECT_EQ(5, board.GetLogicalPos());
  dialog.StepBack();
  EXPECT_EQ(4, board.GetLogicalPos());
  dialog.OnServerReplay("|a|b|40|");
  EXPECT_EQ(42, board.GetLogicalPos());
  EXPECT_EQ(42, dialog.GetCurrentPosition());

  // The control given: the holder's requests, numbers as the server counts them.
  dialog.SetControl(TRUE);
  EXPECT_TRUE(Enabled(dialog, R::kNext));
  GoToByButton(&dialog, R::kGoto, 10);
  ReviewBoardTest::Press(&dialog, R::kFirst);
  ReviewBoardTest::Press(&dialog, R::kLast);
  ReviewBoardTest::Press(&dialog, R::kNext);
  ReviewBoardTest::Press(&dialog, R::kPrev);
  ReviewBoardTest::Press(&dialog, R::kBackToGame);  // no try line: nothing
  ReviewBoardTest::Press(&dialog, R::kControl);
  EXPECT_EQ((std::vector<std::string>{"36:8", "36:0", "36:100", "29:", "30:", "37:|lee|l3|"}), host.sent);
  EXPECT_EQ(6, host.flushes);
  EXPECT_EQ(42, board.GetLogicalPos());  // requests never move the board

  // A click is a try move request; the stone comes back from the server.
  host.sent.clear();
  platform::input::Click(board.m_hWnd, PointCentre(board.m_hWnd, 9, 9));
  ASSERT_EQ(1u, host.sent.size());
  EXPECT_EQ(std::string("32:") + (board.GetLastColor() == 2 ? "W[jj]" : "B[jj]"), host.sent[0]);
  EXPECT_TRUE(dialog.IsTryMode());
  EXPECT_FALSE(Enabled(dialog, R::kNext));
  EXPECT_TRUE(Enabled(dialog, R::kPrev));
  const Position game42 = BoardPosition(board);

  // Three try stones; the white one's letters p then j put it at column 15, row 9.
  dialog.PlaceTryMove("|a|b|1|B[jj]|");
  dialog.PlaceTryMove("|a|b|2|W[pj]|");
  dialog.PlaceTryMove("|a|b|3|B[aa]|");
  EXPECT_EQ(3, dialog.GetTryCount());
  Position withTries = BoardPosition(board);
  EXPECT_EQ(2, withTries[9 * 19 + 9]);
  EXPECT_EQ(4, withTries[9 * 19 + 15]);
  EXPECT_EQ(2, withTries[0]);
  EXPECT_EQ(45, board.GetLogicalPos());
  ::RedrawWindow(dialog.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
  EXPECT_TRUE(platform::SaveSurfacePng(dialog.m_hWnd, testsupport::SnapshotPath("review_play_try.png").c_str()));
  EXPECT_EQ(0, StonesShownWrong(board, withTries));
  ReviewBoardTest::Press(&dialog, R::kBackToGame);
  EXPECT_EQ("31:", host.sent.back());

  // Three steps back take the try line off; next, N-th and last work again.
  dialog.StepBack();
  dialog.StepBack();
  dialog.StepBack();
  EXPECT_FALSE(dialog.IsTryMode());
  EXPECT_EQ(0, dialog.GetTryCount());
  EXPECT_EQ(42, board.GetLogicalPos());
  EXPECT_TRUE(BoardPosition(board) == game42);
  EXPECT_TRUE(Enabled(dialog, R::kNext));
  EXPECT_TRUE(Enabled(dialog, R::kGoto));

  // A try line the server ends at once; a try stone with letters off the board is not drawn.
  dialog.PlaceTryMove("|a|b|1|W[zz]|");
  EXPECT_TRUE(dialog.IsTryMode());
  EXPECT_TRUE(BoardPosition(board) == game42);
  dialog.EndTryLine("|a|b|");
  EXPECT_FALSE(dialog.IsTryMode());
  EXPECT_EQ(42, board.GetLogicalPos());

  // Hiding ends the user's review.
  ReviewBoardTest::Press(&dialog, R::kClose);
  EXPECT_EQ(1, host.stops);
  EXPECT_FALSE(::IsWindowVisible(dialog.m_hWnd));
}

TEST_F(ReviewPlayDlgTest, JoiningAReviewLoadsItsPositionAndTryLine) {
  CGiboRecord game;
  ASSERT_TRUE(game.ReadFile(DataFile("selfplay-5000.sgf").c_str()));
  R dialog(game, "Review", 2, FALSE, FALSE, host);
  ASSERT_TRUE(dialog.Create());
  const int total = static_cast<int>(RecordMoves(game).size());
  EXPECT_EQ(total, dialog.GetBoard().GetLogicalPos());
  dialog.SetControl(FALSE);
  dialog.ResetTo(20);
  dialog.PositionAt(0);
  EXPECT_EQ(20, dialog.GetBoard().GetLogicalPos());
  dialog.SetTryCount(2);
  dialog.LoadTryMoves(";B[jj];W[jk];B[aa]");
  EXPECT_TRUE(dialog.IsTryMode());
  const Position position = BoardPosition(dialog.GetBoard());
  EXPECT_EQ(2, position[9 * 19 + 9]);
  EXPECT_EQ(4, position[10 * 19 + 9]);
  EXPECT_EQ(0, position[0]);  // only the first try-count stones
}

// ---- Driven by the game-server peer through the main frame ----------------------------------------

namespace {

class ReviewPlayFrameTest : public MainFrameTest {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_control.Registered());
    LogIn();
    frame->SetWaitingRoomKey("1", "k");
    frame->ShowWindow(SW_SHOW);
    view = static_cast<CDagukRoomView*>(RUNTIME_CLASS(CDagukRoomView)->CreateObject());
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 560), frame, 59648));
    view->OnInitialUpdate();
    ASSERT_NE(nullptr, view->GetRoom());
    // A room just made greets the user in its message line.
    EXPECT_EQ(CDagukRoomView::kGreeting, view->GetRoom()->GetPaneText(CGameRoom::kMessage).str());
  }
  void Server(int major, int minor, const std::string& payload, const std::string& flag = "1") {
    peer.Send({{GameServerPeer::Record(major, minor, payload, flag), 0}});
    PumpFor(40);
  }
  // The room requests of minor on the wire, oldest first.
  std::vector<std::string> Sent(int minor) {
    std::vector<std::string> payloads;
    for (const PeerRecord& r : peer.Records())
      if (r.minor == std::to_string(minor) && r.major == "4" && r.flag == "1") payloads.push_back(r.payload);
    return payloads;
  }
  bool WaitSent(int minor, const std::string& payload) {
    return PumpUntil([&] {
      for (const std::string& p : Sent(minor))
        if (p == payload) return true;
      return false;
    });
  }
  std::string Leader() const {
    return std::string(frame->GetLoginRole().GetString()) + "|" + frame->GetUserId().GetString();
  }

  testsupport::StolvexModuleHome m_control;
  platform::ManualClockScope m_manual{1796810400};
  CDagukRoomView* view{nullptr};
};

}  // namespace

TEST_F(ReviewPlayFrameTest, TheServerDrivesTheReviewAndHandsTheControlOverAndBack) {
  Server(5, 2, "|12|");
  Server(5, 3, "|12|hc|carol|Carol|3k|1|3|1|");
  ASSERT_EQ(CMainFrame::kGameRoomView, frame->GetActiveViewId());
  Server(5, 10, "||");
  Server(5, 12, "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|60|10|2|");
  const char* moves[] = {"B[pd]", "W[dd]", "B[pp]", "W[dp]", "B[fq]", "W[cn]"};
  for (int i = 0; i < 6; ++i)
    Server(5, 14, "|a|b|" + std::to_string(i + 1) + "|" + moves[i] + "|" + (i % 2 ? "WL[50]" : "BL[50]") + "|");
  ASSERT_TRUE(PumpUntil([&] { return view->GetRoom()->GetMoveCounter() == 6; }));

  // The review starts with this user leading it: the board opens at the first move.
  Server(5, 27, "|a|b|1|" + Leader() + "|");
  CReviewPlayDlg* review = frame->GetReviewPlayDlg();
  ASSERT_NE(nullptr, review);
  EXPECT_TRUE(::IsWindowVisible(review->m_hWnd));
  EXPECT_TRUE(review->HasControl());
  EXPECT_EQ(1, review->GetBoard().GetLogicalPos());
  EXPECT_EQ("In step-by-step replay.", view->GetRoom()->GetPaneText(CGameRoom::kMessage).str());
  // The room's commands follow the review.
  EXPECT_EQ(CRoomState::kStepReview, view->GetRoom()->GetSubStatus());
  EXPECT_EQ(0x400, view->GetRoom()->GetRoomState());

  // The server's review moves.
  Server(5, 29, "|a|b|");
  Server(5, 29, "|a|b|");
  Server(5, 29, "|a|b|");
  EXPECT_EQ(4, review->GetBoard().GetLogicalPos());
  Server(5, 30, "|a|b|");
  EXPECT_EQ(3, review->GetBoard().GetLogicalPos());
  Server(5, 36, "|a|b|5|");
  EXPECT_EQ(5, review->GetBoard().GetLogicalPos());

  // The holder's requests, exactly as they go on the wire.
  CReviewPlayDlg& dialog = *review;
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(CReviewPlayDlg::kNext, BN_CLICKED), 0);
  EXPECT_TRUE(WaitSent(29, "|k|12|"));
  dialog.RequestMove(2);
  EXPECT_TRUE(WaitSent(36, "|k|12|2|"));
  HWND board = review->GetBoard().m_hWnd;
  platform::input::Click(board, PointCentre(board, 9, 9));
  EXPECT_TRUE(WaitSent(32, "|k|12|W[jj]|"));
  EXPECT_TRUE(review->IsTryMode());

  // The try moves come back from the server and are shown; then the line is taken back.
  Server(5, 32, "|a|b|1|W[jj]|");
  Server(5, 32, "|a|b|2|B[jk]|");
  EXPECT_EQ(2, review->GetTryCount());
  Position shown = BoardPosition(review->GetBoard());
  EXPECT_EQ(4, shown[9 * 19 + 9]);
  EXPECT_EQ(2, shown[10 * 19 + 9]);
  ::RedrawWindow(review->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
  EXPECT_TRUE(platform::SaveSurfacePng(review->m_hWnd, testsupport::SnapshotPath("review_play_server.png").c_str()));
  // The picture shows the game's stones and both try stones in their colours.
  EXPECT_EQ(0, StonesShownWrong(review->GetBoard(), shown));
  Server(5, 31, "|a|b|");
  EXPECT_FALSE(review->IsTryMode());
  EXPECT_EQ(0, BoardPosition(review->GetBoard())[9 * 19 + 9]);
  EXPECT_EQ(5, review->GetBoard().GetLogicalPos());

  // The control handed to lee, then back.
  review->HandOverControl("hl", "lee");
  EXPECT_TRUE(WaitSent(37, "|k|12||hl|lee|"));
  Server(5, 37, "|a|b|3|lee|");
  EXPECT_FALSE(review->HasControl());
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(review->m_hWnd, CReviewPlayDlg::kNext)));
  const size_t before = peer.RecordCount();
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(CReviewPlayDlg::kNext, BN_CLICKED), 0);
  platform::input::Click(board, PointCentre(board, 3, 3));
  PumpFor(60);
  EXPECT_EQ(before, peer.RecordCount());
  Server(5, 32, "|a|b|1|B[cc]|");  // lee's try move reaches this board too
  EXPECT_EQ(2, BoardPosition(review->GetBoard())[2 * 19 + 2]);
  Server(5, 30, "|a|b|");
  EXPECT_FALSE(review->IsTryMode());
  Server(5, 37, "|a|b|" + Leader() + "|");
  EXPECT_TRUE(review->HasControl());
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(review->m_hWnd, CReviewPlayDlg::kNext)));

  // The end of the review closes the board.
  Server(5, 39, "|a|b|");
  EXPECT_EQ(nullptr, frame->GetReviewPlayDlg());
  EXPECT_EQ("The match has ended.", view->GetRoom()->GetPaneText(CGameRoom::kMessage).str());
  EXPECT_EQ(CRoomState::kGameEnded, view->GetRoom()->GetSubStatus());

  // Joining a review under way: the board opens where the game stands, not at its first move,
  // the room's clock stopped and its phase the review's.
  view->GetRoom()->StartClock();
  Server(5, 40, "|a|b|");
  review = frame->GetReviewPlayDlg();
  ASSERT_NE(nullptr, review);
  EXPECT_EQ(6, review->GetBoard().GetLogicalPos());
  EXPECT_FALSE(view->GetRoom()->IsClockRunning());
  EXPECT_EQ(CRoomState::kStepReview, view->GetRoom()->GetSubStatus());
  Server(5, 39, "|a|b|");
  EXPECT_EQ(nullptr, frame->GetReviewPlayDlg());
}

TEST_F(ReviewPlayFrameTest, AWhitePlayerReviewsAHandicapGameAndHandsTheControlToAChosenPerson) {
  Server(5, 2, "|12|");
  Server(5, 3, "|12|hc|carol|Carol|3k|1|3|1|");
  ASSERT_EQ(CMainFrame::kGameRoomView, frame->GetActiveViewId());
  Server(5, 10, "||");
  // carol (this user, at her own host) holds white in a two-stone game; ann watches.
  const std::string own = frame->GetLoginRole().str();
  Server(5, 12, "|a|b|1|hl|lee|l3|4k|" + own + "|carol|c3|3k|2|0.5|60|10|2|");
  Server(5, 3, "|12|h1|ann|Ann|2k|1|2|0|");
  const char* moves[] = {"W[cc]", "B[qq]", "W[ee]"};
  for (int i = 0; i < 3; ++i)
    Server(5, 14, "|a|b|" + std::to_string(i + 1) + "|" + moves[i] + "|" + (i % 2 ? "BL[50]" : "WL[50]") + "|");
  CGameRoom* room = view->GetRoom();
  ASSERT_EQ(4, room->GetMyColour());
  ASSERT_EQ(2, room->GetHandicap());

  Server(5, 27, "|a|b|1|" + Leader() + "|");
  CReviewPlayDlg* review = frame->GetReviewPlayDlg();
  ASSERT_NE(nullptr, review);
  // The review board takes the room's colour: its handicap counts for the opponent.
  EXPECT_EQ(4, review->GetUserColour());

  // The control button offers everyone in the room but the user; Cancel and an OK without a row
  // send nothing, a chosen row sends its host and ID.
  std::vector<std::string> offered;
  int answer = IDCANCEL;
  std::string pick;
  script.answerDialog = [&](UINT templateId, CWnd* dialog) -> INT_PTR {
    if (templateId != CSelectReplayDlg::kTemplateId) return IDCANCEL;
    CListCtrl* list = static_cast<CListCtrl*>(dialog->GetDlgItem(CSelectReplayDlg::kPlayerList));
    offered.clear();
    for (int row = 0; row < list->GetItemCount(); ++row) {
      offered.push_back(list->GetItemText(row, 0).str() + "," + list->GetItemText(row, 1).str() + "," +
                        list->GetItemText(row, 2).str());
      if (list->GetItemText(row, 0).str() == pick) list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    return answer;
  };
  auto pressControl = [&] {
    review->SendMessage(WM_COMMAND, MAKEWPARAM(CReviewPlayDlg::kControl, BN_CLICKED), 0);
    PumpFor(60);
  };
  pressControl();
  EXPECT_EQ((std::vector<std::string>{"lee,4k,hl", "ann,2k,h1"}), offered);
  answer = IDOK;
  pressControl();
  EXPECT_TRUE(Sent(37).empty());
  pick = "ann";
  pressControl();
  EXPECT_TRUE(WaitSent(37, "|k|12||h1|ann|"));
  EXPECT_EQ(1u, Sent(37).size());
}
