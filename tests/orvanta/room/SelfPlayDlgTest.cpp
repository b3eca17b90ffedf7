// The self-play board on the real board control: a study of both colours played by clicks with
// captures, saved and read back; and the study opened from the review dialog's position.

#include "orvanta/room/SelfPlayDlg.h"

#include <platform/gdi.h>

#include "ReviewBoardFixture.h"
#include "orvanta/room/GameReviewDlg.h"

namespace {

using namespace reviewtest;
using S = CSelfPlayDlg;

class SelfPlayDlgTest : public ReviewBoardTest {
protected:
  static void ClickPoint(S* dialog, int col, int row) {
    HWND board = dialog->GetBoard().m_hWnd;
    platform::input::Click(board, PointCentre(board, row, col));
  }
};

// Black takes a white stone in the upper left at move 9, white a black stone on the right edge at
// move 16; the rest are moves far apart. Colours alternate from black.
const std::pair<int, int> kStudy[] = {
    {3, 3},   {1, 1},   {1, 0},   {15, 15}, {0, 1},   {15, 3},  {2, 1},  {3, 15},  {1, 2},  {10, 10}, {18, 9},
    {18, 8},  {5, 5},   {18, 10}, {6, 6},   {17, 9},  {4, 10},  {14, 10}, {4, 12}, {14, 12}, {4, 14}, {14, 14},
    {6, 2},   {12, 2},  {6, 16},  {12, 16}, {8, 4},   {10, 4},  {8, 14},  {10, 14}, {2, 8},  {16, 6}};

}  // namespace

TEST_F(SelfPlayDlgTest, StudyOfBothColoursWithCapturesIsSavedAndReadBack) {
  auto dir = platform::MakeTempDir();
  const std::string saved = dir / "study.sgf";
  std::vector<Move> clicked;
  Position expected(361, 0);
  int colour = 2;
  for (auto [col, row] : kStudy) {
    clicked.push_back({colour, col, row});
    Play(expected, col, row, colour);
    colour = colour == 2 ? 4 : 2;
  }
  script.handlers[S::kTemplateId] = [&](CDialog* dialog) -> INT_PTR {
    auto* study = static_cast<S*>(dialog);
    CString title;
    study->GetWindowText(title);
    EXPECT_STREQ(Cp949("놓아보기"), title);
    // The room's buttons are not there on a free board.
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(study->m_hWnd, S::kAutoReplay)));
    for (auto [col, row] : kStudy) ClickPoint(study, col, row);
    EXPECT_TRUE(study->IsStudyMode());
    EXPECT_EQ(static_cast<short>(std::size(kStudy)), study->GetStudyMoves());
    EXPECT_TRUE(BoardPosition(study->GetBoard()) == expected);
    EXPECT_EQ(0, expected[1 * 19 + 1]);   // the white stone taken at move 9
    EXPECT_EQ(0, expected[9 * 19 + 18]);  // the black stone taken at move 16
    // Next and N-th do not apply to a study line.
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(study->m_hWnd, S::kNext)));
    EXPECT_TRUE(RecordMoves(study->GetStudyRecord()) == clicked);

    // A stone taken back leaves the study record as well; the click after it replaces it.
    Press(study, S::kPrev);
    EXPECT_EQ(static_cast<int>(std::size(kStudy)) - 1, study->GetBoard().GetLogicalPos());
    EXPECT_EQ(static_cast<size_t>(std::size(kStudy)) - 1, RecordMoves(study->GetStudyRecord()).size());
    ClickPoint(study, 16, 6);
    EXPECT_TRUE(RecordMoves(study->GetStudyRecord()) == clicked);

    ::RedrawWindow(study->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    EXPECT_TRUE(platform::SaveSurfacePng(study->m_hWnd, testsupport::SnapshotPath("selfplay_study.png").c_str()));
    EXPECT_EQ(0, StonesShownWrong(study->GetBoard(), BoardPosition(study->GetBoard())));
    script.file = saved.c_str();
    Press(study, S::kSave);
    EXPECT_EQ("No title", script.fileDefaults.back());
    return S::kClose;
  };
  S dialog(CGiboRecord(), Cp949("놓아보기"), 2, FALSE, nullptr, -1);
  EXPECT_EQ(IDOK, dialog.DoModal());
  CGiboRecord back;
  ASSERT_TRUE(back.ReadFile(saved.c_str()));
  EXPECT_TRUE(RecordMoves(back) == clicked);
  EXPECT_EQ(0, back.GetHandicap());
}

TEST_F(SelfPlayDlgTest, StudyFromTheReviewPositionCopiesTheGameUpToIt) {
  CGiboRecord game;
  ASSERT_TRUE(game.ReadFile(DataFile("fox-handicap.sgf").c_str()));
  const std::vector<Move> moves = ReadMoves(DataFile("fox-handicap.moves"));
  const std::vector<Move> first38(moves.begin(), moves.begin() + 38);
  const Position at40 = FinalPosition(game, first38);
  auto dir = platform::MakeTempDir();
  const std::string beforeClick = dir / "before.sgf", afterClick = dir / "after.sgf";
  bool studied = false;

  script.handlers[S::kTemplateId] = [&](CDialog* dialog) -> INT_PTR {
    auto* study = static_cast<S*>(dialog);
    studied = true;
    EXPECT_EQ(40, study->GetBoard().GetLogicalPos());
    EXPECT_TRUE(BoardPosition(study->GetBoard()) == at40);
    // Before any click the game is what is saved.
    script.file = beforeClick.c_str();
    Press(study, S::kSave);
    // The first click copies the game's 38 moves after its two handicap stones.
    HWND board = study->GetBoard().m_hWnd;
    platform::input::Click(board, PointCentre(board, 9, 9));
    std::vector<Move> expected = first38;
    expected.push_back({study->GetStudyRecord().GetTotalMoves() > 0 ? moves[38].colour : 2, 9, 9});
    EXPECT_TRUE(RecordMoves(study->GetStudyRecord()) == expected);
    EXPECT_STREQ(game.GetSetup(), study->GetStudyRecord().GetSetup());
    EXPECT_STREQ("RE[B+R]", study->GetStudyRecord().GetResult());
    EXPECT_NE(std::string::npos, std::string(study->GetStudyRecord().GetRoot().GetString()).find("KM[0.0]"));
    script.file = afterClick.c_str();
    Press(study, S::kSave);
    // Leaving the study puts the game back at its last move.
    Press(study, S::kLast);
    EXPECT_FALSE(study->IsStudyMode());
    EXPECT_EQ(40, study->GetBoard().GetLogicalPos());
    EXPECT_TRUE(BoardPosition(study->GetBoard()) == at40);
    return S::kClose;
  };
  script.handlers[CGameReviewDlg::kTemplateId] = [&](CDialog* dialog) -> INT_PTR {
    auto* review = static_cast<CGameReviewDlg*>(dialog);
    review->GoToMove(40);
    Press(review, CGameReviewDlg::kBreakPoint);
    return CGameReviewDlg::kClose;
  };
  CGameReviewDlg review(game, nullptr);
  EXPECT_EQ(IDOK, review.DoModal());
  ASSERT_TRUE(studied);

  CGiboRecord before, after;
  ASSERT_TRUE(before.ReadFile(beforeClick.c_str()));
  EXPECT_TRUE(RecordMoves(before) == first38);
  EXPECT_EQ(2, before.GetHandicap());
  ASSERT_TRUE(after.ReadFile(afterClick.c_str()));
  EXPECT_EQ(39u, RecordMoves(after).size());
  EXPECT_STREQ(game.GetSetup(), after.GetSetup());
}

TEST_F(SelfPlayDlgTest, RoomStudyReplaysOnTheTimerToTheLastMove) {
  CGiboRecord game;
  ASSERT_TRUE(game.ReadFile(DataFile("selfplay-5002.sgf").c_str()));
  const int total = static_cast<int>(RecordMoves(game).size());
  script.handlers[S::kTemplateId] = [&](CDialog* dialog) -> INT_PTR {
    auto* study = static_cast<S*>(dialog);
    CStolvex& board = study->GetBoard();
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(study->m_hWnd, S::kAutoReplay)));
    EXPECT_EQ(total, board.GetLogicalPos());
    Press(study, S::kFirst);
    EXPECT_EQ(1, board.GetLogicalPos());
    // The preset interval as the dialog opens with it: one move a second.
    AnswerViewMode("1sec");
    Press(study, S::kAutoReplay);
    platform::Clock::Advance(static_cast<std::uint64_t>(total - 1) * 1000);
    EXPECT_EQ(total, board.GetLogicalPos());
    EXPECT_EQ(0, Count("It is last."));
    platform::Clock::Advance(1000);
    EXPECT_EQ(1, Count("It is last."));
    platform::Clock::Advance(3000);
    EXPECT_EQ(1, Count("It is last."));
    // Back to move 10 and a study there; the last-move command leaves it for the game's end.
    GoToByButton(study, S::kGoto, 10);
    EXPECT_EQ(10, board.GetLogicalPos());
    HWND window = board.m_hWnd;
    platform::input::Click(window, PointCentre(window, 9, 9));
    EXPECT_TRUE(study->IsStudyMode());
    EXPECT_EQ(11, board.GetLogicalPos());
    Press(study, S::kLast);
    EXPECT_FALSE(study->IsStudyMode());
    EXPECT_EQ(total, board.GetLogicalPos());
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(study->m_hWnd, S::kNext)));
    return S::kClose;
  };
  S dialog(game, Cp949("참고도"), 2, TRUE, nullptr, -1);
  EXPECT_EQ(IDOK, dialog.DoModal());
}
