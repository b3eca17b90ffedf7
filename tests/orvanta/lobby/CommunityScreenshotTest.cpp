// Pictures of the forum screen, the bulletin board and the memo box under X11, for people to look
// at, each checked for what it must show; and the board used by clicks at the program's own size.

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

#include "../app/MovieControlKey.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/lobby/AssociationView.h"
#include "orvanta/lobby/MemoBoxDlg.h"
#include "orvanta/lobby/PlacardView.h"
#include "orvanta/widgets/MainMenu.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/resources/OrvantaResources.h"
#include "platform/display/XvfbServer.h"
#include "FrameOnScreen.h"
#include "ShownPixels.h"
#include "support/SnapshotPath.h"
#include "support/StolvexModuleHome.h"

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>

#include "platform/display/XPointerKeys.h"

namespace {

using lobbytest::WithFrame;

TEST(CommunityScreenshotTest, TheForumListWithAForumsMenu) {
  WithFrame("orvanta-forum-picture", [](CMainFrame* frame) {
    frame->SwitchView(CMainFrame::kForumView);
    CAssociationView* forum = frame->GetForumView();
    ASSERT_NE(forum, nullptr);
    forum->OnForumList("|5|10|Seoul Go|1|11|Kids|0|12|Pros|1|13|" + CString(Cp949("바둑사랑")) + "|0|14|Weekend|1|");
    forum->BuildForumMenu("|10|Seoul Go|4|1|Join/Secede|1|0||2|Board|2|0|B10|3|Notice|3|0||4|Forum Room|4|0|K10|");
    // The five forums' names and words, and every menu button's caption.
    EXPECT_GE(lobbytest::WaitForRows(forum->GetList(), "part.png", 150), 150);
    ASSERT_EQ(forum->GetButtonCount(), 4u);
    for (std::size_t i = 0; i < forum->GetButtonCount(); ++i)
      EXPECT_GE(lobbytest::DarkPixels(lobbytest::ShownPixels(forum->GetButton(i)->m_hWnd, "part.png")), 15) << i;
    const std::string path = testsupport::SnapshotPath("orvanta-forum-list.png");
    EXPECT_FALSE(lobbytest::ShownPixels(frame->m_hWnd, path).pixels.empty()) << path;
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
    // The six posts, the post's contents, and each button's caption.
    EXPECT_GE(lobbytest::WaitForRows(board->GetList(), "part.png", 300), 300);
    EXPECT_GE(lobbytest::DarkPixels(
                  lobbytest::ShownPixels(board->GetDlgItem(CPlacardView::kContentsEdit)->m_hWnd, "part.png")),
              100);
    for (UINT id : {CPlacardView::kWriteButton, CPlacardView::kSearchButton, CPlacardView::kNextPageButton})
      EXPECT_GE(lobbytest::DarkPixels(lobbytest::ShownPixels(board->GetDlgItem(id)->m_hWnd, "part.png")), 15) << id;
    const std::string path = testsupport::SnapshotPath("orvanta-bulletin-board.png");
    EXPECT_FALSE(lobbytest::ShownPixels(frame->m_hWnd, path).pixels.empty()) << path;
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
    // Three memos in the list and the newest one's contents below it.
    EXPECT_GE(lobbytest::WaitForRows(box->GetList(), "part.png", 150), 150);
    EXPECT_GE(lobbytest::DarkPixels(
                  lobbytest::ShownPixels(box->GetDlgItem(CMemoBoxDlg::kContentsEdit)->m_hWnd, "part.png")),
              60);
    const std::string path = testsupport::SnapshotPath("orvanta-memo-box.png");
    EXPECT_FALSE(lobbytest::ShownPixels(box->m_hWnd, path).pixels.empty()) << path;
  });
}

// At the program's own 800x600 every button of the board stands inside the shown part of the
// board, and a person's clicks on them reach them.
TEST(BulletinBoardX11Test, AtEightHundredBySixHundredEveryButtonIsReached) {
  WithFrame("orvanta-board-x11", [](CMainFrame* frame) {
    frame->SwitchView(CMainFrame::kBulletinBoardView);
    CPlacardView* board = frame->GetBoardView();
    ASSERT_NE(board, nullptr);
    board->OnPostList("|4|2|-1|2|2|amy|202612091530|4|Hello|1|bo|202612081030|2|Welcome|");
    platform::testing::XPointerKeys person(platform::testing::TestDisplayName());
    ASSERT_TRUE(person.Ready());
    CRect frameClient;
    frame->GetClientRect(&frameClient);
    CRect shown;
    board->GetWindowRect(&shown);
    frame->ScreenToClient(&shown);
    shown.IntersectRect(&shown, &frameClient);
    const auto centre = [&](UINT id) {
      CRect rect;
      board->GetDlgItem(id)->GetWindowRect(&rect);
      frame->ScreenToClient(&rect);
      return rect;
    };
    for (UINT id : {CPlacardView::kWriteButton, CPlacardView::kSendButton, CPlacardView::kModifyButton,
                    CPlacardView::kDeleteButton, CPlacardView::kSearchButton, CPlacardView::kNextPageButton,
                    CPlacardView::kCancelButton}) {
      const CRect button = centre(id);
      CRect inside;
      EXPECT_TRUE(inside.IntersectRect(&button, &shown) && inside == button) << id << " lies outside the shown board";
    }
    const auto waitFor = [](const std::function<bool()>& shownState) {
      return platform::RunUntil([&] {
        platform::display::Sync();
        return shownState();
      }, 5000);
    };
    person.Click(frame->m_hWnd, centre(CPlacardView::kWriteButton).CenterPoint());
    EXPECT_TRUE(waitFor([&] { return board->GetEditMode() == CPlacardView::kNewPost; }));
    EXPECT_TRUE(waitFor([&] { return board->GetDlgItem(CPlacardView::kCancelButton)->IsWindowEnabled(); }));
    person.Click(frame->m_hWnd, centre(CPlacardView::kCancelButton).CenterPoint());
    EXPECT_TRUE(waitFor([&] { return board->GetEditMode() == 0 && !board->IsEditing(); }));
    const std::string path = testsupport::SnapshotPath("orvanta-bulletin-board-800.png");
    EXPECT_FALSE(lobbytest::ShownPixels(frame->m_hWnd, path).pixels.empty()) << path;
  }, CSize(800, 600));
}

// At the program's own 800x600, with or without its tool bar, every form view fits its pane: no
// scroll bar shows beside the start screen, the waiting room, the game room, the forum, the board or
// the main menu pane.
TEST(OrvantaScreensX11Test, AtEightHundredBySixHundredNoPaneShowsAScrollBar) {
  WithFrame("orvanta-screens-x11", [](CMainFrame* frame) {
    testsupport::StolvexModuleHome control;  // the game room is made around the board control
    ASSERT_TRUE(control.Registered());
    frame->RegisterView(CMainFrame::kGameRoomView, RUNTIME_CLASS(CDagukRoomView));
    platform::testing::XPointerKeys screen(platform::testing::TestDisplayName());
    ASSERT_TRUE(screen.Ready());
    for (const bool toolBar : {false, true}) {
      if (frame->IsToolBarShown() != toolBar)
        frame->SendMessage(WM_COMMAND, CMainFrame::kToolBarCommand);
      for (UINT id : {CMainFrame::kWaitingRoomView, CMainFrame::kGameRoomView, CMainFrame::kForumView,
                      CMainFrame::kBulletinBoardView, CMainFrame::kStartView}) {
        frame->SwitchView(id);
        for (CWnd* pane : {frame->GetSplitter().GetPane(0, 0), static_cast<CWnd*>(frame->GetMainMenu())}) {
          ASSERT_NE(pane, nullptr) << id;
          EXPECT_FALSE(pane->GetStyle() & (WS_VSCROLL | WS_HSCROLL))
              << "view " << id << (toolBar ? " with" : " without") << " the tool bar";
        }
      }
    }
    // What the server shows of the start screen: along the right edge of the start view and of the
    // menu pane, the colours of their own drawing, not a bar's arrow button.
    frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    platform::Surface shot;
    ASSERT_TRUE(platform::RunUntil([&] {
      platform::display::Sync();
      shot = screen.Shown(frame->m_hWnd);
      return shot.width > 0;
    }, 5000));
    EXPECT_TRUE(platform::SaveSurfacePng(shot, testsupport::SnapshotPath("orvanta-start-800.png").c_str()));
    const auto strip = [&](CWnd* pane) {
      CRect rect;
      pane->GetWindowRect(&rect);
      frame->ScreenToClient(&rect);
      rect.left = rect.right - ::GetSystemMetrics(SM_CXVSCROLL);
      rect.IntersectRect(&rect, CRect(0, 0, shot.width, shot.height));
      return rect;
    };
    // The movie's ground runs to the start view's edge...
    const CRect view = strip(frame->GetSplitter().GetPane(0, 0));
    ASSERT_FALSE(view.IsRectEmpty());
    const std::uint32_t ground = shot.Row(view.CenterPoint().y)[view.left - 40];
    int other = 0;
    for (int y = view.top; y < view.bottom; ++y)
      for (int x = view.left; x < view.right; ++x)
        other += shot.Row(y)[x] != ground ? 1 : 0;
    EXPECT_EQ(other, 0) << "pixels along the start view's right edge unlike the movie's ground";
    // ...and the menu pane's right end shows its light background piece, no arrow.
    const CRect menu = strip(frame->GetMainMenu());
    ASSERT_FALSE(menu.IsRectEmpty());
    platform::Surface end(menu.Width(), menu.Height());
    for (int y = 0; y < end.height; ++y)
      for (int x = 0; x < end.width; ++x)
        end.Row(y)[x] = shot.Row(menu.top + y)[menu.left + x];
    EXPECT_EQ(lobbytest::DarkPixels(end), 0);
  }, CSize(800, 600));
}

}  // namespace
