// What the relay path puts on screen when it skips work: panes and the status bar must still follow
// every real change, including changes made after a paint or after the game was cleared.
#include <gtest/gtest.h>

#include <string>

#include "ClientSessionSupport.h"
#include "client/widgets/ProgressStatusBar.h"

namespace {

using clienttest::Session;

std::string Str(const CString& text) { return std::string(static_cast<const char*>(text)); }

TEST(ClientRelayUpdateTest, CommentPaneAndClocksFollowTheGameAcrossANewGame) {
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay("am|001|b|pd|1999999000|010000|005950\nte|1|Star point\neh\n",
                      [&] { return view.IsHistoryComplete(); }));
  const std::string comment = "[001] Star point\r\n";
  const std::string before = "[000] Before play\r\n";
  EXPECT_EQ(Str(s.Text(IDC_COMMENT_PANE)), comment);
  EXPECT_EQ(Str(s.Text(IDC_WHITE_CLOCK)), "01 : 00 : 00");

  // Each step: lines relayed, then the pane and the white clock as they must read.
  struct Step {
    const char* lines;
    int lastMove;
    std::string pane;
    const char* whiteClock;
  };
  const Step steps[] = {
      // The same clocks again, and a move without a comment: the pane empties.
      {"am|002|w|dp|1999999001|010000|005950\n", 2, "", "01 : 00 : 00"},
      // A take-back shows move 1's comment again.
      {"um|002|1999999002\n", 1, comment, "01 : 00 : 00"},
      // Back to the empty board, which has its own comment.
      {"te|0|Before play\num|001|1999999003\n", 0, before, "01 : 00 : 00"},
      // A new game empties the pane and the clocks behind the relay path's back.
      {"ng\n", 0, "", "00 : 00 : 00"},
      // The same texts and clocks once more: all must show again.
      {"te|0|Before play\n", 0, before, "00 : 00 : 00"},
      {"am|001|b|pd|1999999003|010000|005950\nte|1|Star point\n", 1, comment, "01 : 00 : 00"},
      {"am|002|w|dp|1999999004|005959|005950\n", 2, "", "00 : 59 : 59"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.lines);
    ASSERT_TRUE(s.Relay(step.lines, [&] {
      return view.GetBoard().GetLastMove() == step.lastMove && Str(s.Text(IDC_COMMENT_PANE)) == step.pane &&
             Str(s.Text(IDC_WHITE_CLOCK)) == step.whiteClock;
    })) << "last move " << view.GetBoard().GetLastMove() << ", pane \"" << Str(s.Text(IDC_COMMENT_PANE))
        << "\", white clock \"" << Str(s.Text(IDC_WHITE_CLOCK)) << "\"";
  }
}

TEST(ClientRelayUpdateTest, StatusBarPanesRepaintForEveryChangeAfterAPaint) {
  Session s;
  s.script.login = false;
  s.Start();
  s.frame->ShowWindow(SW_SHOW);
  CProgressStatusBar& bar = s.frame->GetStatusBar();
  // Each step changes the bar (or not), with or without a paint before it.
  struct Step {
    int progress;
    int colour;
    bool paintFirst;
    bool invalid;  // whether the bar waits for a paint afterwards
    const char* text;
  };
  const Step steps[] = {
      {0, 2, true, false, "progress :   0"},   // nothing changed
      {1, 2, true, true, "progress :   1"},    // the count
      {2, 2, false, true, "progress :   2"},   // again before the paint: still waiting, new text
      {2, 1, true, true, "progress :   2"},    // the colour alone, after a paint
      {3, 2, true, true, "progress :   3"},    // both, after a paint
      {3, 2, true, false, "progress :   3"},   // the same again
      {250, 1, true, true, "progress : 250"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.progress);
    if (step.paintFirst) {
      bar.UpdateWindow();
      ASSERT_FALSE(bar.GetUpdateRect(nullptr));
    }
    bar.SetProgress(step.progress);
    bar.SetNextColor(step.colour, false);
    EXPECT_EQ(bar.GetUpdateRect(nullptr) != FALSE, step.invalid);
    EXPECT_EQ(Str(bar.GetProgressText()), step.text);
    EXPECT_EQ(bar.GetNextColor(), step.colour);
  }
}

}  // namespace
