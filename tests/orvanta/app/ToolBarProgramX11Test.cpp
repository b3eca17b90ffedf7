// The real `orvanta` program on the tests' X server, driven by mouse as a person does: View > Tool
// Bar from the menu bar shows the tool bar and the status bar, the program then sits idle without
// spending the processor, and a click on the tool bar is still answered.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/ProgramOnScreenTest.h"
#include "support/ProgramScreen.h"

namespace {

using testsupport::ChildProcess;
using testsupport::ProgramScreen;
using Pixels = std::vector<std::vector<unsigned long>>;

constexpr int kMenuBarHeight = ProgramScreen::kMenuBarHeight;

// The share of rows [top, bottom) that changed from before to after.
double Changed(const Pixels& before, const Pixels& after, int top, int bottom) {
  if (before.size() != after.size() || before.empty()) return 1.0;
  long changed = 0, all = 0;
  for (int y = std::max(top, 0); y < std::min<int>(bottom, static_cast<int>(after.size())); ++y)
    for (std::size_t x = 0; x < after[y].size(); ++x, ++all) changed += before[y][x] != after[y][x];
  return all ? static_cast<double>(changed) / static_cast<double>(all) : 0.0;
}

class ToolBarProgramX11Test : public testsupport::ProgramOnScreenTest {};

TEST_F(ToolBarProgramX11Test, BothBarsShownByMouseLeaveTheProgramIdleAndItsToolBarAnswering) {
  ProgramScreen& screen = Screen();
  // No server listens there: the program stays offline, on its start screen.
  auto environment = testsupport::OnScreenEnvironment(DisplayName(), Home());
  environment["ORVANTA_SERVER"] = "127.0.0.1:1";
  ChildProcess orvanta({ORVANTA_PROGRAM_PATH}, environment, Folder(), Folder() + "/orvanta.log");
  ASSERT_TRUE(orvanta.Started());

  // Its first questions (no movie control here: not installed, go on) and the login, cancelled.
  Window frame = 0;
  bool loginCancelled = false;
  auto startScreenOnly = [&] {
    const ProgramScreen::Look look =
        screen.AnswerQuestions([](const std::string& title) { return title.rfind("Orvanta", 0) == 0; });
    frame = look.frame;
    loginCancelled = loginCancelled || look.dialog;
    return frame && !look.messageBox && !look.dialog && loginCancelled;
  };
  ASSERT_TRUE(ChildProcess::WaitUntil(startScreenOnly, 30000)) << orvanta.Output();
  // Its menu bar painted: seven titles.
  std::vector<testsupport::Span> titles;
  ASSERT_TRUE(ChildProcess::WaitUntil([&] { return (titles = screen.MenuBarTitles(frame)).size() == 7; }, 10000))
      << titles.size() << " titles";
  const Pixels before = screen.Pixels(frame);
  const int height = static_cast<int>(before.size());

  // View (the fourth title), then its first line, Tool Bar.
  screen.Click(frame, titles[3].Middle(), kMenuBarHeight / 2);
  Window popup = 0;
  ASSERT_TRUE(ChildProcess::WaitUntil([&] { return (popup = screen.Popup()) != 0; }, 5000)) << orvanta.Output();
  std::vector<testsupport::Span> lines;
  ASSERT_TRUE(ChildProcess::WaitUntil(
      [&] {
        lines = screen.PopupLines(popup);
        return lines.size() >= 2;
      },
      5000))
      << lines.size() << " lines in the pop-up " << screen.Pixels(popup).size() << " rows high";
  screen.Click(popup, 40, lines[0].Middle());

  // The tool bar under the menu bar and the status bar at the bottom are painted.
  Pixels after;
  ASSERT_TRUE(ChildProcess::WaitUntil(
      [&] {
        after = screen.Pixels(frame);
        return screen.Popup() == 0 && Changed(before, after, kMenuBarHeight + 4, kMenuBarHeight + 20) > 0.5 &&
               Changed(before, after, height - 18, height) > 0.3;
      },
      5000))
      << "the bars never showed: " << orvanta.Output();

  // Idle with both bars shown, the program waits for input instead of working.
  const pid_t pid = testsupport::ProcessOf(ORVANTA_PROGRAM_PATH, Folder());
  ASSERT_GT(pid, 0);
  EXPECT_LT(testsupport::ProcessorSecondsOver(pid, std::chrono::seconds(3)), 0.15)
      << "seconds of processor in 3 s of idle time";
  // The same with the pointer resting on the tool bar's empty end, reported again and nudged.
  const int restX = static_cast<int>(screen.Pixels(frame)[0].size()) - 20;
  EXPECT_LT(testsupport::ProcessorSecondsOver(pid, std::chrono::seconds(3),
                                              [&] { screen.RestAndNudge(frame, restX, kMenuBarHeight + 13); }),
            0.3)
      << "seconds of processor in 3 s with the pointer on the tool bar";

  // The tool bar's third button connects: it asks for the login.
  const int row = kMenuBarHeight + 13;
  // The pictures of its buttons, the band's narrow gripper left out.
  std::vector<testsupport::Span> buttons;
  for (const testsupport::Span& span : ProgramScreen::ColumnsNotOf(after, after[row][1], row - 4, row + 4, 3))
    if (span.end - span.begin >= 8) buttons.push_back(span);
  ASSERT_GE(buttons.size(), 3u);
  screen.Click(frame, buttons[2].Middle(), row);
  Window login = 0;
  EXPECT_TRUE(ChildProcess::WaitUntil([&] { return (login = screen.Find("Connect: Pellomar")) != 0; }, 5000))
      << orvanta.Output();
  if (login) screen.Key(login, XK_Escape);
  orvanta.Stop();
}

}  // namespace
