// The real `client` program on the tests' X server, driven by mouse as a person does: its tool bar
// and status bar hidden and shown again from the View menu, then idle with both shown it spends no
// processor time, and a click on its tool bar is still answered.

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
using testsupport::Span;
using Pixels = std::vector<std::vector<unsigned long>>;

constexpr int kMenuBarHeight = ProgramScreen::kMenuBarHeight;

class ClientBarsX11Test : public testsupport::ProgramOnScreenTest {};

TEST_F(ClientBarsX11Test, BothBarsToggledByMouseLeaveTheProgramIdleAndItsToolBarAnswering) {
  ProgramScreen& screen = Screen();
  // No relay server is configured: the viewer says so and stays up without a game.
  ChildProcess client({CLIENT_PROGRAM_PATH}, testsupport::OnScreenEnvironment(DisplayName(), Home()),
                      Folder(), Folder() + "/client.log");
  ASSERT_TRUE(client.Started());
  Window frame = 0;
  bool told = false;  // the message that no relay server is set
  auto viewerOnly = [&] {
    const ProgramScreen::Look look =
        screen.AnswerQuestions([](const std::string& title) { return title == "Ondrivo Client"; });
    frame = look.frame;
    told = told || look.messageBox;
    return frame && !look.messageBox && !look.dialog && told;
  };
  ASSERT_TRUE(ChildProcess::WaitUntil(viewerOnly, 30000)) << client.Output();
  std::vector<Span> titles;
  ASSERT_TRUE(ChildProcess::WaitUntil([&] { return (titles = screen.MenuBarTitles(frame)).size() == 5; }, 10000))
      << titles.size() << " titles";

  // Chooses line of the View menu (the second title) with the mouse and waits until the window
  // shows something else in rows [top, bottom) (from the bottom when negative).
  auto chooseView = [&](int line, int top, int bottom) {
    const Pixels before = screen.Pixels(frame);
    const int height = static_cast<int>(before.size());
    if (top < 0) top += height;
    if (bottom <= 0) bottom += height;
    screen.Click(frame, titles[1].Middle(), kMenuBarHeight / 2);
    Window popup = 0;
    std::vector<Span> lines;
    const bool opened = ChildProcess::WaitUntil(
        [&] {
          if (!(popup = screen.Popup())) return false;
          lines = screen.PopupLines(popup);
          return lines.size() > static_cast<std::size_t>(line);
        },
        5000);
    if (!opened) return false;
    screen.Click(popup, 40, lines[static_cast<std::size_t>(line)].Middle());
    return ChildProcess::WaitUntil(
        [&] {
          const Pixels after = screen.Pixels(frame);
          if (screen.Popup() || after.size() != before.size()) return false;
          for (int y = top; y < bottom; ++y)
            if (after[y] != before[y]) return true;
          return false;
        },
        5000);
  };
  // Toolbar and Statusbar off, then on again.
  EXPECT_TRUE(chooseView(0, kMenuBarHeight + 2, kMenuBarHeight + 20)) << "tool bar hidden";
  EXPECT_TRUE(chooseView(1, -16, 0)) << "status bar hidden";
  EXPECT_TRUE(chooseView(0, kMenuBarHeight + 2, kMenuBarHeight + 20)) << "tool bar shown";
  EXPECT_TRUE(chooseView(1, -16, 0)) << "status bar shown";

  // Idle with both bars shown, the program waits for input instead of working.
  const pid_t pid = testsupport::ProcessOf(CLIENT_PROGRAM_PATH, Folder());
  ASSERT_GT(pid, 0);
  EXPECT_LT(testsupport::ProcessorSecondsOver(pid, std::chrono::seconds(3)), 0.15)
      << "seconds of processor in 3 s of idle time";
  // The same with the pointer resting on the tool bar's empty end, reported again and nudged.
  const int restX = static_cast<int>(screen.Pixels(frame)[0].size()) - 20;
  EXPECT_LT(testsupport::ProcessorSecondsOver(pid, std::chrono::seconds(3),
                                              [&] { screen.RestAndNudge(frame, restX, kMenuBarHeight + 12); }),
            0.3)
      << "seconds of processor in 3 s with the pointer on the tool bar";

  // The tool bar's first button opens a record: the file dialog comes.
  const Pixels shown = screen.Pixels(frame);
  const int row = kMenuBarHeight + 12;
  const std::vector<Span> buttons = ProgramScreen::ColumnsNotOf(shown, shown[row][1], row - 4, row + 4, 3);
  ASSERT_FALSE(buttons.empty());
  screen.Click(frame, buttons[0].Middle(), row);
  Window open = 0;
  EXPECT_TRUE(ChildProcess::WaitUntil([&] { return (open = screen.Find("Open")) != 0; }, 5000)) << client.Output();
  if (open) screen.Key(open, XK_Escape);
  client.Stop();
}

}  // namespace
