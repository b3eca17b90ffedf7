// Pictures of the forum screen and the memo box under X11, for people to look at.

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <functional>

#include <platform/display.h>
#include <platform/files.h>
#include <platform/gdi.h>
#include <platform/messageloop.h>
#include <platform/profile.h>
#include <platform/registry.h>
#include <platform/resources.h>
#include <platform/time.h>
#include <platform/windows.h>

#include "../connection/MovieControlKey.h"
#include "orvanta/connection/MainFrame.h"
#include "orvanta/lobby/AssociationView.h"
#include "orvanta/lobby/MemoBoxDlg.h"
#include "orvanta/lobby/PlacardView.h"
#include "orvanta/resources/OrvantaResources.h"
#include "platform/display/XvfbServer.h"
#include "support/SnapshotPath.h"

namespace {

// A frame in a fresh working folder shown on the test's X server; the body runs with it.
void WithFrame(const char* moduleName, const std::function<void(CMainFrame*)>& body) {
  const std::string& display = platform::testing::TestDisplayName();
  if (display.empty())
    GTEST_SKIP() << "no X server";
  if (!platform::display::UseX11Display(display.c_str()))
    GTEST_SKIP() << "cannot open " << display;
  platform::Clock::SetManual(false);
  {
    platform::ScopedPlatformHome home;
    SetMovieControlInstalled(true);
    platform::TempDir folder;
    char* previous = ::getcwd(nullptr, 0);
    ASSERT_EQ(::chdir(folder.Path().c_str()), 0);
    platform::ResourceModule& module = platform::CreateResourceModule(moduleName);
    RegisterOrvantaResources(module.Handle());
    platform::ResourceScope resources(module.Handle());
    CServerAddress address;
    address.m_strHost = "127.0.0.1";
    address.m_nPort = 1;
    auto* frame = new CMainFrame(address);
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
    frame->MoveWindow(0, 0, 900, 560);
    frame->ShowWindow(SW_SHOW);
    body(frame);
    frame->DestroyWindow();
    platform::PumpMessages();
    if (previous) {
      (void)!::chdir(previous);
      std::free(previous);
    }
  }
  platform::display::UseHeadless();
  platform::ResetMessageQueue();
}

TEST(CommunityScreenshotTest, TheForumListWithAForumsMenu) {
  WithFrame("orvanta-forum-picture", [](CMainFrame* frame) {
    frame->SwitchView(CMainFrame::kForumView);
    CAssociationView* forum = frame->GetForumView();
    ASSERT_NE(forum, nullptr);
    forum->OnForumList("|5|10|Seoul Go|1|11|Kids|0|12|Pros|1|13|" + CString(Cp949("바둑사랑")) + "|0|14|Weekend|1|");
    forum->BuildForumMenu("|10|Seoul Go|4|1|Join/Secede|1|0||2|Board|2|0|B10|3|Notice|3|0||4|Forum Room|4|0|K10|");
    platform::RunUntil([] { return false; }, 300);
    platform::display::Sync();
    const std::string path = testsupport::SnapshotPath("orvanta-forum-list.png");
    EXPECT_TRUE(platform::SaveSurfacePng(frame->m_hWnd, path.c_str())) << path;
  });
}

TEST(CommunityScreenshotTest, TheBulletinBoardWithAPostOpen) {
  WithFrame("orvanta-board-picture", [](CMainFrame* frame) {
    frame->SwitchView(CMainFrame::kBulletinBoardView);
    CPlacardView* board = frame->GetBoardView();
    ASSERT_NE(board, nullptr);
    CString posts = "|4|2|-1|6|";
    const char* titles[] = {"Weekend meeting", "Lesson notes", "Joseki question", "Welcome!", "Club rules", "Tournament"};
    for (int n = 6; n >= 1; --n) {
      CString row;
      row.Format("%d|%s|2026120%d1%d30|%d|%s|", n, n % 2 ? "amy" : "bo", n, n, n * 7, titles[6 - n]);
      posts += row;
    }
    board->OnPostList(posts);
    board->OnPostText("|4|2|6|bo|202612061630|42|Weekend meeting|We meet on Saturday at 3 in the club room.\r\nBring a board!|");
    platform::RunUntil([] { return false; }, 300);
    platform::display::Sync();
    const std::string path = testsupport::SnapshotPath("orvanta-bulletin-board.png");
    EXPECT_TRUE(platform::SaveSurfacePng(frame->m_hWnd, path.c_str())) << path;
  });
}

TEST(CommunityScreenshotTest, TheMemoBoxWithKeptAndNewMemos) {
  WithFrame("orvanta-memo-picture", [](CMainFrame* frame) {
    std::ofstream("Message.dat", std::ios::binary)
        << "/||2026-12-01 09:00|amy|Amy|Thanks for the game yesterday!|/||2026-12-02 10:30|bo|Bo|" << Cp949("다음 주에 또 둬요.")
        << "|/";
    frame->CreateMemoBox();
    CMemoBoxDlg* box = frame->GetMemoBox();
    ASSERT_NE(box, nullptr);
    box->AddMemo("2026-12-09 13:55", "cy", "Cy", "Are you free for a lesson on Friday?");
    box->SelectNewest();
    box->ShowWindow(SW_SHOW);
    platform::RunUntil([] { return false; }, 300);
    platform::display::Sync();
    const std::string path = testsupport::SnapshotPath("orvanta-memo-box.png");
    EXPECT_TRUE(platform::SaveSurfacePng(box->m_hWnd, path.c_str())) << path;
  });
}

}  // namespace
