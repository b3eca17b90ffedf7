// The game review dialog on the real board control: whole recorded games (an engine's and another
// server's) loaded, stepped, replayed on the manual clock, printed to PNG pages and saved.

#include "orvanta/room/GameReviewDlg.h"

#include <cstdlib>
#include <filesystem>
#include <map>

#include <platform/gdi.h>

#include "ReviewBoardFixture.h"
#include "orvanta/room/ReviewHost.h"

namespace {

using namespace reviewtest;
using D = CGameReviewDlg;

class GameReviewDlgTest : public ReviewBoardTest {};

struct GameFile {
  const char* name;
  bool picture;  // a picture of the dialog mid-game is written
};

}  // namespace

TEST_F(GameReviewDlgTest, RecordedGamesLoadStepReplayPrintAndSaveBack) {
  const GameFile games[] = {{"selfplay-5000", true}, {"selfplay-5001", false}, {"selfplay-5002", false},
                            {"selfplay-5003", false}, {"selfplay-5004", false}, {"selfplay-5005", false},
                            {"fox-even", false},      {"fox-handicap", true}};
  auto dir = platform::MakeTempDir();
  for (const GameFile& game : games) {
    SCOPED_TRACE(game.name);
    CGiboRecord record;
    ASSERT_TRUE(record.ReadFile((DataFile(std::string(game.name) + ".sgf")).c_str()));
    const std::vector<Move> moves = ReadMoves(DataFile(std::string(game.name) + ".moves"));
    ASSERT_EQ(moves.size(), RecordMoves(record).size());
    const Position expected = FinalPosition(record, moves);
    const int handicap = SetupStoneCount(record);
    const int total = handicap + static_cast<int>(moves.size());
    script.messages.clear();
    const std::string prefix = testsupport::SnapshotPath(std::string("review_print_") + game.name + "_");
    const std::string saved = dir / (std::string(game.name) + ".sgf");
    bool ran = false;

    script.handlers[D::kTemplateId] = [&](CDialog* dialog) -> INT_PTR {
      auto* review = static_cast<D*>(dialog);
      CStolvex& board = review->GetBoard();
      ran = true;
      // Loaded: every move placed, the position the rules give.
      EXPECT_EQ(std::to_string(total), Text(review, D::kMoveNumber));
      EXPECT_EQ(total, board.GetLogicalPos());
      EXPECT_TRUE(BoardPosition(board) == expected);

      // First, then step by step to the end.
      Press(review, D::kFirst);
      EXPECT_EQ(handicap + 1, board.GetLogicalPos());
      EXPECT_EQ(std::to_string(handicap + 1), Text(review, D::kMoveNumber));
      int steps = 0;
      while (board.GetLogicalPos() < total && steps <= total) {
        Press(review, D::kNext);
        ++steps;
      }
      EXPECT_EQ(total - handicap - 1, steps);
      EXPECT_TRUE(BoardPosition(board) == expected);
      EXPECT_EQ(std::to_string(total), Text(review, D::kMoveNumber));
      Press(review, D::kNext);
      EXPECT_EQ(1, Count("It is last."));

      // Half way, the picture; then the automatic replay on timer 100, one move a second.
      if (game.picture) {
        GoToByButton(review, D::kGoto, total / 2);
        EXPECT_EQ(total / 2, board.GetLogicalPos());
        ::RedrawWindow(review->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
        EXPECT_TRUE(platform::SaveSurfacePng(review->m_hWnd,
                                             testsupport::SnapshotPath(std::string("review_") + game.name + ".png").c_str()));
        const Position half = BoardPosition(board);
        EXPECT_GT(std::count(half.begin(), half.end(), 2), 0);
        EXPECT_EQ(0, StonesShownWrong(board, half));
      }
      Press(review, D::kFirst);
      AnswerViewMode(Cp949("1초"));
      Press(review, D::kViewMode);
      EXPECT_TRUE(review->IsAutoReplayOn());
      EXPECT_EQ(1000, review->GetInterval());
      platform::Clock::Advance(1000);
      EXPECT_EQ(handicap + 2, board.GetLogicalPos());
      platform::Clock::Advance(static_cast<std::uint64_t>(total - handicap - 2) * 1000);
      EXPECT_EQ(total, board.GetLogicalPos());
      EXPECT_TRUE(BoardPosition(board) == expected);
      EXPECT_EQ(1, Count("It is last."));
      platform::Clock::Advance(1000);
      EXPECT_EQ(2, Count("It is last."));
      EXPECT_FALSE(review->IsAutoReplayOn());
      platform::Clock::Advance(5000);
      EXPECT_EQ(2, Count("It is last."));

      // Printed through the printer context: page 1 at least.
      ::setenv("PLATFORM_PRINT_PREFIX", prefix.c_str(), 1);
      std::filesystem::remove(prefix + "1.png");
      Press(review, D::kPrint);
      ::unsetenv("PLATFORM_PRINT_PREFIX");
      EXPECT_TRUE(std::filesystem::exists(prefix + "1.png"));

      // Saved under the chosen name; the file gives back the same game.
      script.file = saved.c_str();
      Press(review, D::kSave);
      EXPECT_EQ(Text(review, D::kBlackName) + "_" + Text(review, D::kWhiteName), script.fileDefaults.back());
      return D::kClose;
    };
    D dialog(record, nullptr);
    EXPECT_EQ(IDOK, dialog.DoModal());
    ASSERT_TRUE(ran);
    CGiboRecord back;
    ASSERT_TRUE(back.ReadFile(saved.c_str()));
    EXPECT_TRUE(RecordMoves(back) == RecordMoves(record));
    EXPECT_EQ(record.GetHandicap(), back.GetHandicap());
    EXPECT_STREQ(record.GetSetup(), back.GetSetup());
    EXPECT_STREQ(record.GetResult(), back.GetResult());
  }
}

TEST_F(GameReviewDlgTest, PanelShowsTheRecordsConditionClocksAndTimeOver) {
  CGiboRecord record;
  record.SetBlackPlayer("k1", "kim", "x", "5d");
  record.SetWhitePlayer("k2", "lee", "y", "6d");
  // 10 minutes with 3 periods of 30 seconds; black lost on time inside his periods.
  record.SetRootInfo("600", "30:3", "2026-12-09", "6.5", "0");
  record.SetResult("RE[W+T]");
  record.AppendMove("B[pd]", "BL[200]");
  record.AppendMove("W[dd]", "WL[590]");
  record.AppendMove("B[pp]", "BL[90]");
  record.AppendMove("W[dp]", "WL[3725]");
  script.handlers[D::kTemplateId] = [&](CDialog* dialog) -> INT_PTR {
    auto* review = static_cast<D*>(dialog);
    EXPECT_EQ("Even(6.5)", Text(review, D::kCondition));
    EXPECT_EQ("kim", Text(review, D::kBlackName));
    EXPECT_EQ("6d", Text(review, D::kWhiteRank));
    EXPECT_EQ("White  won by timeover.", Text(review, D::kResult));
    // Black's time left equals the byo-yomi total: no main time, and lost on time: "0 **".
    EXPECT_EQ("0hr 0min 0sec", Text(review, D::kBlackClock));
    EXPECT_EQ("0 **", Text(review, D::kBlackPeriods));
    EXPECT_EQ("1hr 0min 35sec", Text(review, D::kWhiteClock));
    Press(review, D::kFirst);
    Press(review, D::kNext);
    EXPECT_EQ("2", Text(review, D::kMoveNumber));
    // The clock of the node at the cursor follows the step: no longer the game's last times but
    // those of the moves around the second (black 200 - 90 s, white 590 - 90 s).
    const std::string blackClock = Text(review, D::kBlackClock), whiteClock = Text(review, D::kWhiteClock);
    EXPECT_TRUE(blackClock == "0hr 1min 50sec" || whiteClock == "0hr 8min 20sec") << blackClock << " " << whiteClock;
    // The numbers shown and hidden again.
    const LONG mode = review->GetBoard().GetGameMode();
    Press(review, D::kSequence);
    EXPECT_EQ(mode | 0x1000, review->GetBoard().GetGameMode());
    EXPECT_EQ("None Seq", Text(review, D::kSequence));
    Press(review, D::kSequence);
    EXPECT_EQ(mode, review->GetBoard().GetGameMode());
    EXPECT_EQ("View Seq", Text(review, D::kSequence));
    // A save that cannot be made says so and leaves nothing behind.
    EXPECT_FALSE(review->SaveRecordTo("/nonexistent-folder/x.sgf"));
    EXPECT_EQ(1, Count("File can not be made."));
    return D::kClose;
  };
  D dialog(record, nullptr);
  EXPECT_EQ(IDOK, dialog.DoModal());
}

TEST_F(GameReviewDlgTest, CapturedCountsFollowTheMoveShownBothWays) {
  // Black takes a stone at move 3 (aa) and White one at move 6 (sa); the rest take nothing.
  CGiboRecord record;
  record.SetRootInfo("600", "30:3", "", "6.5", "0");
  const char* moves[] = {"B[ba]", "W[aa]", "B[ab]", "W[ra]", "B[sa]", "W[sb]", "B[dd]", "W[pp]", "B[dp]"};
  for (int i = 0; i < 9; ++i) record.AppendMove(moves[i], i % 2 ? "WL[600]" : "BL[600]");
  script.handlers[D::kTemplateId] = [&](CDialog* dialog) -> INT_PTR {
    auto* review = static_cast<D*>(dialog);
    auto counts = [&] { return Text(review, D::kBlackCaptured) + "/" + Text(review, D::kWhiteCaptured); };
    const std::string atEnd = counts();
    EXPECT_NE("0/0", atEnd);
    Press(review, D::kFirst);
    EXPECT_EQ("0/0", counts());
    Press(review, D::kNext);
    EXPECT_EQ("0/0", counts());  // move 2
    Press(review, D::kNext);
    const std::string afterThree = counts();  // move 3 takes aa
    EXPECT_NE("0/0", afterThree);
    Press(review, D::kPrev);
    EXPECT_EQ("0/0", counts());
    Press(review, D::kNext);
    EXPECT_EQ(afterThree, counts());
    Press(review, D::kLast);
    EXPECT_EQ(atEnd, counts());
    EXPECT_EQ("1/1", atEnd);
    // Back to the middle by the go-to prompt, and on to the end by single steps.
    GoToByButton(review, D::kGoto, 4);
    EXPECT_EQ(afterThree, counts());
    while (review->GetBoard().GetLogicalPos() < 9) Press(review, D::kNext);
    EXPECT_EQ(atEnd, counts());
    return D::kClose;
  };
  D dialog(record, nullptr);
  EXPECT_EQ(IDOK, dialog.DoModal());
}

TEST(GameReviewResult, ResultTexts) {
  const std::pair<const char*, const char*> cases[] = {
      {"RE[B+R]", "Black  won without counting.."}, {"RE[W+T]", "White  won by timeover."},
      {"RE[B+6.5]", "Black  won by 6.5"},           {"RE[?]", "The match has not ended."},
      {";", "The match has not ended."},            {"RE[Void]", "Black/WhiteThe match is drawn."},
      {"", "Black/White"}};
  for (const auto& [result, text] : cases) EXPECT_STREQ(text, CGameReviewDlg::ShowResult(result)) << result;
}

TEST_F(GameReviewDlgTest, RecordWithoutMovesOrByoyomiOpensEmpty) {
  CGiboRecord record;
  record.SetRootInfo("0", "0:0", "", "0", "0");
  script.handlers[D::kTemplateId] = [&](CDialog* dialog) -> INT_PTR {
    auto* review = static_cast<D*>(dialog);
    EXPECT_EQ("0", Text(review, D::kMoveNumber));
    EXPECT_EQ("One Stone", Text(review, D::kCondition));
    Press(review, D::kNext);
    EXPECT_EQ(1, Count("It is last."));
    Press(review, D::kPrev);
    Press(review, D::kLast);
    EXPECT_EQ(0, review->GetBoard().GetLogicalPos());
    return D::kClose;
  };
  D dialog(record, nullptr);
  EXPECT_EQ(IDOK, dialog.DoModal());
}

TEST_F(GameReviewDlgTest, MovesPlayedAgainOnAPointGoOnToASecondPrintedPage) {
  // Twelve moves on two points: ten of them are listed under the board, nine fit on page 1.
  CGiboRecord record;
  record.SetRootInfo("600", "0:0", "", "6.5", "0");
  for (int i = 0; i < 12; ++i) record.AppendMove(i % 2 ? "W[dd]" : "B[pp]", i % 2 ? "WL[0]" : "BL[0]");
  const std::string prefix = testsupport::SnapshotPath("review_print_replayed_");
  std::filesystem::remove(prefix + "2.png");
  script.handlers[D::kTemplateId] = [&](CDialog* dialog) -> INT_PTR {
    auto* review = static_cast<D*>(dialog);
    // No byo-yomi and no time left: no periods to count, and nothing divides by zero.
    EXPECT_EQ("0 **", Text(review, D::kBlackPeriods));
    EXPECT_EQ("0hr 0min 0sec", Text(review, D::kBlackClock));
    ::setenv("PLATFORM_PRINT_PREFIX", prefix.c_str(), 1);
    EXPECT_TRUE(review->PrintRecord());
    script.print = false;
    EXPECT_FALSE(review->PrintRecord());
    ::unsetenv("PLATFORM_PRINT_PREFIX");
    return D::kClose;
  };
  D dialog(record, nullptr);
  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_TRUE(std::filesystem::exists(prefix + "1.png"));
  EXPECT_TRUE(std::filesystem::exists(prefix + "2.png"));
}

TEST_F(GameReviewDlgTest, KeysStepThroughTheGame) {
  CGiboRecord record;
  ASSERT_TRUE(record.ReadFile(DataFile("selfplay-5001.sgf").c_str()));
  const int total = static_cast<int>(RecordMoves(record).size());
  script.handlers[D::kTemplateId] = [&](CDialog* dialog) -> INT_PTR {
    auto* review = static_cast<D*>(dialog);
    CStolvex& board = review->GetBoard();
    // While a step key is down its button looks pressed; the release steps and lets it go.
    const std::map<UINT, UINT> buttonOfKey = {
        {VK_HOME, D::kFirst}, {VK_RIGHT, D::kNext}, {VK_UP, D::kNext}, {VK_LEFT, D::kPrev}, {VK_END, D::kLast}};
    auto pressed = [&](UINT id) {
      return (::SendMessage(::GetDlgItem(review->m_hWnd, static_cast<int>(id)), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    };
    auto key = [&](UINT vk) {
      MSG down{};
      down.hwnd = review->m_hWnd;
      down.message = WM_KEYDOWN;
      down.wParam = vk;
      MSG up = down;
      up.message = WM_KEYUP;
      EXPECT_TRUE(review->PreTranslateMessage(&down));
      EXPECT_TRUE(pressed(buttonOfKey.at(vk))) << vk;
      EXPECT_TRUE(review->PreTranslateMessage(&up));
      EXPECT_FALSE(pressed(buttonOfKey.at(vk))) << vk;
    };
    key(VK_HOME);
    EXPECT_EQ(1, board.GetLogicalPos());
    key(VK_RIGHT);
    key(VK_UP);
    EXPECT_EQ(3, board.GetLogicalPos());
    key(VK_LEFT);
    EXPECT_EQ(2, board.GetLogicalPos());
    key(VK_END);
    EXPECT_EQ(total, board.GetLogicalPos());
    return D::kClose;
  };
  D dialog(record, nullptr);
  EXPECT_EQ(IDOK, dialog.DoModal());
}

TEST_F(GameReviewDlgTest, TheViewModeDialogsChoiceSetsTheReplayInterval) {
  CGiboRecord record;
  ASSERT_TRUE(record.ReadFile(DataFile("selfplay-5001.sgf").c_str()));
  struct Case {
    const char* chosen;  // "" cancels the dialog
    int interval;        // ms between two moves; 0 = no replay starts
  };
  const Case cases[] = {{"3초", 3000}, {"10초", 10000}, {"1sec", 1000}, {"5초", 5000}, {"", 0}, {"초", 0}};
  script.handlers[D::kTemplateId] = [&](CDialog* dialog) -> INT_PTR {
    auto* review = static_cast<D*>(dialog);
    CStolvex& board = review->GetBoard();
    for (const Case& c : cases) {
      SCOPED_TRACE(c.chosen);
      Press(review, D::kFirst);
      const int start = board.GetLogicalPos();
      AnswerViewMode(Cp949(c.chosen));
      Press(review, D::kViewMode);
      EXPECT_EQ(c.interval != 0, review->IsAutoReplayOn());
      if (c.interval == 0) {
        platform::Clock::Advance(20000);
        EXPECT_EQ(start, board.GetLogicalPos());
        continue;
      }
      EXPECT_EQ(c.interval, review->GetInterval());
      platform::Clock::Advance(static_cast<std::uint64_t>(c.interval) - 1);
      EXPECT_EQ(start, board.GetLogicalPos());
      platform::Clock::Advance(1);
      EXPECT_EQ(start + 1, board.GetLogicalPos());
      platform::Clock::Advance(static_cast<std::uint64_t>(c.interval));
      EXPECT_EQ(start + 2, board.GetLogicalPos());
      // The same button stops it without asking again.
      const size_t asked = viewModeShown.size();
      Press(review, D::kViewMode);
      EXPECT_FALSE(review->IsAutoReplayOn());
      EXPECT_EQ(asked, viewModeShown.size());
      platform::Clock::Advance(static_cast<std::uint64_t>(c.interval) * 2);
      EXPECT_EQ(start + 2, board.GetLogicalPos());
    }
    return D::kClose;
  };
  D dialog(record, nullptr);
  EXPECT_EQ(IDOK, dialog.DoModal());
  // Every time the dialog opened on its preset.
  EXPECT_EQ(std::vector<std::string>(std::size(cases), "1sec"), viewModeShown);
}

namespace {

class RecordingReviewHost : public CReviewHost {
public:
  BOOL IsConnected() override { return connected; }
  void RequestPlayerInfo(const CString& key, const CString& name) override { asked.push_back(key.str() + "|" + name.str()); }
  bool connected{true};
  std::vector<std::string> asked;
};

}  // namespace

TEST_F(GameReviewDlgTest, ADoubleClickOnANameAsksForThePlayersInformationWhileConnected) {
  CGiboRecord record;
  record.SetBlackPlayer("k1", "kim", "x", "5d");
  record.SetRootInfo("600", "30:3", "", "6.5", "0");
  record.AppendMove("B[pd]", "BL[200]");
  enum Target { kBlack, kWhite, kBoard, kBlackThroughTheDialog };
  struct Case {
    const char* what;
    bool connected;
    Target target;
    const char* asked;  // "key|name" of the request, nullptr for none
  };
  const Case cases[] = {
      {"black name", true, kBlack, "k1|kim"},
      {"the same area, given in the dialog's coordinates", true, kBlackThroughTheDialog, "k1|kim"},
      {"offline", false, kBlack, nullptr},
      {"white without a name", true, kWhite, nullptr},
      {"outside the names", true, kBoard, nullptr},
  };
  RecordingReviewHost host;
  script.handlers[D::kTemplateId] = [&](CDialog* dialog) -> INT_PTR {
    auto* review = static_cast<D*>(dialog);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      host.connected = c.connected;
      host.asked.clear();
      MSG click{};
      click.message = WM_LBUTTONDBLCLK;
      click.lParam = MAKELPARAM(4, 4);
      switch (c.target) {
        case kBlack: click.hwnd = ::GetDlgItem(review->m_hWnd, D::kBlackName); break;
        case kWhite: click.hwnd = ::GetDlgItem(review->m_hWnd, D::kWhiteName); break;
        case kBoard: click.hwnd = review->GetBoard().m_hWnd; break;
        case kBlackThroughTheDialog: {
          CRect name;
          ::GetWindowRect(::GetDlgItem(review->m_hWnd, D::kBlackName), &name);
          review->ScreenToClient(&name);
          click.hwnd = review->m_hWnd;
          click.lParam = MAKELPARAM(name.left + 3, name.top + 3);
          break;
        }
      }
      review->PreTranslateMessage(&click);
      EXPECT_EQ(c.asked ? std::vector<std::string>{c.asked} : std::vector<std::string>{}, host.asked);
    }
    return D::kClose;
  };
  D dialog(record, nullptr);
  dialog.SetHost(&host);
  EXPECT_EQ(IDOK, dialog.DoModal());
  // Without a host the dialog is offline: a double click asks nobody.
  script.handlers[D::kTemplateId] = [&](CDialog* dialog) -> INT_PTR {
    MSG click{::GetDlgItem(dialog->m_hWnd, D::kBlackName), WM_LBUTTONDBLCLK, 0, MAKELPARAM(4, 4), 0, {0, 0}};
    EXPECT_FALSE(dialog->PreTranslateMessage(&click));
    return D::kClose;
  };
  D offline(record, nullptr);
  EXPECT_EQ(IDOK, offline.DoModal());
}
