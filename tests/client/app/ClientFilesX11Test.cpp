// The viewer's File and Help commands as a person takes them on an X server: a relayed game saved
// through the menu bar and the on-screen file dialog, the relay left, the saved file opened again
// through the same dialog (the board shows what it showed), and Help handing its address to the
// desktop's opener. Every input goes through the X server.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ClientSessionSupport.h"
#include "platform/display.h"
#include "platform/display/XvfbServer.h"
#include "platform/files.h"
#include "platform/surface.h"
#include "platform/time.h"
// Bring Xlib in: after the program's headers.
#include "platform/dialogs/ScreenPerson.h"
#include "platform/display/XPointerKeys.h"

namespace {

using clienttest::Session;
using screentest::ScreenPerson;
using screentest::FileLine;
using screentest::FileNameFocused;
using screentest::FileNameShown;
using screentest::ShownDialog;
using screentest::ShownPopupMenu;

constexpr int kFilePopup = 0, kEtcPopup = 2, kHelpPopup = 4;  // pop-ups of the menu bar

// Five moves of a relayed game with its players, as the relay sends them.
const char kRelayed[] =
    "gi|bn|Kim Relay\ngi|wn|Lee Viewer\n"
    "am|001|b|pd|1999990001|010000|005950\n"
    "am|002|w|dp|1999990002|005940|005950\n"
    "am|003|b|pp|1999990003|005940|005930\n"
    "am|004|w|dd|1999990004|005920|005930\n"
    "am|005|b|qf|1999990005|005920|005910\n"
    "eh\n";

// Pixels that differ between two pictures of the same size; -1 when the sizes differ.
int Differing(const platform::Surface& a, const platform::Surface& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  int n = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) n += a.Row(y)[x] != b.Row(y)[x] ? 1 : 0;
  return n;
}
int Dark(const platform::Surface& shot) {
  int n = 0;
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x) {
      const std::uint32_t p = shot.Row(y)[x];
      n += ((p >> 16) & 0xFF) < 0x40 && ((p >> 8) & 0xFF) < 0x40 && (p & 0xFF) < 0x40 ? 1 : 0;
    }
  return n;
}

class ClientFilesX11Test : public ::testing::Test {
protected:
  void SetUp() override {
    if (platform::testing::TestDisplayName().empty()) GTEST_SKIP() << "no X server";
    m_previous = std::filesystem::current_path();
    // The file dialog starts in the current folder.
    std::filesystem::current_path(m_dir.Path());
  }
  void TearDown() override {
    platform::display::UseHeadless();
    if (!m_previous.empty()) std::filesystem::current_path(m_previous);
  }

  platform::TempDir m_dir;
  std::filesystem::path m_previous;
};

TEST_F(ClientFilesX11Test, ARelayedGameIsSavedOpenedAgainAndHelpIsOpened) {
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(view.IsConnected());
  ASSERT_TRUE(s.Relay(kRelayed, [&] { return view.GetBoard().GetLastMove() == 5; }));
  // The person's steps run from timers on the real clock.
  platform::Clock::SetManual(false);
  ASSERT_TRUE(platform::display::UseX11Display(platform::testing::TestDisplayName().c_str()));
  const HWND top = s.frame->GetSafeHwnd();
  s.frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER);
  s.frame->ShowWindow(SW_SHOW);
  s.frame->UpdateWindow();
  ScreenPerson person(platform::testing::TestDisplayName());
  platform::testing::XPointerKeys screen(platform::testing::TestDisplayName());
  ASSERT_TRUE(person.Ready() && screen.Ready());
  const HWND board = view.GetBoard().GetSafeHwnd();
  const auto boardShown = [&] {
    s.frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    platform::PumpMessages();
    return screen.Shown(board);
  };
  const platform::Surface relayed = boardShown();
  EXPECT_GT(Dark(relayed), 200) << "black stones on the board";

  // Save As from the File pop-up: a name typed, Enter; the extension is the dialog's.
  const std::string saved = m_dir.Path() + "/relayed.sgf";
  person.ThenChoose(ID_FILE_SAVE_AS);
  person.Then([] { return FileNameFocused("Save As"); }, [&] { person.Type(ShownDialog("Save As"), "relayed"); });
  person.Then([] { return FileNameShown("Save As") == "relayed"; },
              [&] { person.Key(ShownDialog("Save As"), XK_Return); });
  ASSERT_TRUE(person.Drive([&] {
    person.ClickMenuTitle(top, kFilePopup);
    Session::WaitFor([&] { return std::filesystem::exists(saved) && !ShownDialog("Save As"); }, 20000);
  }));

  // Disconnect from the Etc pop-up: a record can be opened only off the relay.
  person.ThenChoose(ID_DISCONNECT);
  ASSERT_TRUE(person.Drive([&] {
    person.ClickMenuTitle(top, kEtcPopup);
    Session::WaitFor([&] { return !view.IsConnected() && !ShownPopupMenu(); }, 20000);
  }));

  // Open from the File pop-up: the saved file's line double clicked.
  person.ThenChoose(ID_FILE_OPEN);
  person.Then([] { return FileLine("Open", "relayed.sgf") >= 0; },
              [&] { person.ClickFileLine("Open", "relayed.sgf", true); });
  ASSERT_TRUE(person.Drive([&] {
    person.ClickMenuTitle(top, kFilePopup);
    Session::WaitFor([&] { return !ShownDialog("Open") && view.GetBoard().GetLastMove() == 5; }, 20000);
  }));
  EXPECT_EQ(s.Text(IDC_BLACK_NAME).Find("Kim Relay"), 0) << s.Text(IDC_BLACK_NAME).GetString();
  EXPECT_EQ(s.Text(IDC_WHITE_NAME).Find("Lee Viewer"), 0) << s.Text(IDC_WHITE_NAME).GetString();
  const platform::Surface reopened = boardShown();
  EXPECT_TRUE(person.Snapshot(top, "client-reopened.png"));
  // The same stones where they were; the last-move mark may be drawn alike or not.
  const int differing = Differing(relayed, reopened);
  EXPECT_GE(differing, 0);
  EXPECT_LT(differing, relayed.width * relayed.height / 100) << differing << " pixels differ";

  // Help from the Help pop-up: the desktop's opener receives the help pages' address.
  const std::string opener = m_dir.Path() + "/opener.sh";
  const std::string opened = m_dir.Path() + "/opened.txt";
  std::ofstream(opener) << "#!/bin/sh\necho \"$1\" > '" << opened << ".part' && mv '" << opened << ".part' '" << opened
                        << "'\n";
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
  ::setenv("PLATFORM_OPENER", opener.c_str(), 1);
  person.ThenChoose(ID_HELP);
  const bool helped = person.Drive([&] {
    person.ClickMenuTitle(top, kHelpPopup);
    Session::WaitFor([&] { return std::filesystem::exists(opened); }, 20000);
  });
  ::unsetenv("PLATFORM_OPENER");
  ASSERT_TRUE(helped);
  ASSERT_TRUE(Session::WaitFor([&] { return std::filesystem::exists(opened); }, 20000));
  std::string address;
  std::getline(std::ifstream(opened), address);
  const char* configured = GetClientConfig().GetHelpUrl();
  EXPECT_EQ(address, configured ? configured : CClientView::kDefaultHelpUrl);
}

}  // namespace
