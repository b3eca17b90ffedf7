// A person at the lobby under the tests' X server against the game-server peer: the record list
// and the ranking paged by clicks on the list's scroll-bar arrow (once a page has arrived and the
// list holds the mouse again, further clicks and a double click on the arrow scroll the list and
// never select or open a row), and the lobby's dialogs taking the first keys typed.

#include <platform/display.h>

#include "LobbyPeerFixture.h"
#include "ShownPixels.h"
#include "support/SnapshotPath.h"
#include "orvanta/lobby/InviteDlg.h"
#include "orvanta/lobby/SearchRoomDlg.h"
#include "orvanta/lobby/SearchUserDlg.h"
#include "orvanta/lobby/TirvoGiboView.h"
#include "orvanta/lobby/TirvoRankView.h"
#include "platform/display/XvfbServer.h"
// Last: it brings in Xlib, whose macros would clash with the names above.
#include "platform/dialogs/ScreenPerson.h"

namespace {

// A page of count records numbered down from first.
std::string RecordPage(int first, int count) {
  std::string payload = "|" + std::to_string(count) + "|";
  for (int n = first; n > first - count; --n) {
    const std::string number = std::to_string(n);
    payload += number + "|2026-12-09|x|b" + number + "|Black|3D|y|w" + number + "|White|1K|" +
               std::to_string(100 + n) + "|B+R|";
  }
  return GameServerPeer::Record(6, 1, payload);
}

// count ranking rows from rank first.
std::string RankPage(int first, int count) {
  std::string payload = "|" + std::to_string(count) + "|";
  for (int rank = first; rank < first + count; ++rank) {
    const std::string r = std::to_string(rank);
    payload += r + "|" + r + "|K" + r + "|u" + r + "|5D|A|" + std::to_string(1000 - rank) + "|" + r + "|0|1|";
  }
  return GameServerPeer::Record(10, 1, payload);
}

class LobbyPeerX11Test : public LobbyPeerTest {
protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty())
      GTEST_SKIP() << "no X server";
    LogIn();
    lobbyScope.emplace(&lobby);
    frame->RegisterView(CMainFrame::kRecordListView, RUNTIME_CLASS(CTirvoGiboView));
    frame->RegisterView(CMainFrame::kRankView, RUNTIME_CLASS(CTirvoRankView));
    ASSERT_TRUE(platform::display::UseX11Display(name.c_str()));
    m_onScreen = true;
    m_person.emplace(name);
    ASSERT_TRUE(m_person->Ready());
    frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
  }
  void TearDown() override {
    m_person.reset();
    ::ReleaseCapture();
    if (m_onScreen)
      platform::display::UseHeadless();
  }
  bool WaitFor(const std::function<bool()>& condition) {
    return PumpUntil([&] {
      platform::display::Sync();
      return condition();
    }, 15000);
  }
  // The vertical bar's down arrow of list, in its client coordinates: right of the client area,
  // at its bottom (a horizontal bar, when shown, lies below).
  static CPoint DownArrow(CListCtrl& list) {
    CRect client;
    list.GetClientRect(&client);
    return CPoint(client.right + ::GetSystemMetrics(SM_CXVSCROLL) / 2,
                  client.bottom - ::GetSystemMetrics(SM_CYVSCROLL) / 2);
  }
  // Clicks the arrow (twice: a double click) and waits until the list has moved down by a row.
  void ClickArrow(CListCtrl& list, bool twice = false) {
    const int top = list.GetTopIndex();
    m_person->Click(list.m_hWnd, DownArrow(list), twice);
    EXPECT_TRUE(WaitFor([&] { return list.GetTopIndex() > top; })) << "the arrow did not scroll the list";
    PumpFor(100);
  }

  std::optional<screentest::ScreenPerson> m_person;
  bool m_onScreen{false};
};

TEST_F(LobbyPeerX11Test, ArrowClicksAfterAPageArrivedScrollAndOpenNothing) {
  struct Case {
    const char* name;
    std::function<CListCtrl*()> show;        // shows the list with its first page
    std::string nextPage;                    // the payload that asks for the second page
    std::function<std::string()> secondPage;  // the server's second page
    int openMajor, openMinor;                // what opening a row asks for
  };
  const Case cases[] = {
      {"records",
       [&]() -> CListCtrl* {
         frame->SearchRecords("");
         if (!NextRecord(6, 1) || !frame->GetRecordListView())
           return nullptr;
         CListCtrl& list = frame->GetRecordListView()->GetList();
         peer.Send({{RecordPage(200, 50), 0}});
         return WaitFor([&] { return list.GetItemCount() == 50; }) ? &list : nullptr;
       },
       "|150|50|", [] { return RecordPage(150, 50); }, 6, 3},
      {"ranking",
       [&]() -> CListCtrl* {
         peer.Send({{RankPage(1, 50), 0}});
         if (!WaitFor([&] { return frame->GetRankView() && frame->GetRankView()->GetList().GetItemCount() == 50; }))
           return nullptr;
         return &frame->GetRankView()->GetList();
       },
       "|51|50", [] { return RankPage(51, 50); }, 10, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CListCtrl* shown = c.show();
    ASSERT_NE(shown, nullptr);
    CListCtrl& list = *shown;
    ASSERT_TRUE(list.GetStyle() & WS_VSCROLL);
    // With the last row in sight, an arrow click asks for the next page.
    list.EnsureVisible(list.GetItemCount() - 1, FALSE);
    PumpFor(50);
    m_person->Click(list.m_hWnd, DownArrow(list));
    const auto next = NextRecord(c.openMajor, 1);
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(next->payload, c.nextPage);
    peer.Send({{c.secondPage(), 0}});
    ASSERT_TRUE(WaitFor([&] { return list.GetItemCount() == 100; }));
    EXPECT_EQ(::GetCapture(), list.m_hWnd);  // the list holds the mouse again

    // The person goes on clicking the arrow, then double clicks it.
    ClickArrow(list);
    ClickArrow(list);
    ClickArrow(list, true);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), -1) << "a click on the arrow selected a row";
    EXPECT_TRUE(NoRecord(c.openMajor, c.openMinor)) << "a click on the arrow opened a row";
    EXPECT_TRUE(NoRecord(c.openMajor, 1));

    // A row itself still opens with a double click.
    CRect row;
    list.GetItemRect(list.GetTopIndex(), &row, LVIR_BOUNDS);
    m_person->Click(list.m_hWnd, CPoint(40, row.CenterPoint().y), true);
    const auto open = NextRecord(c.openMajor, c.openMinor);
    ASSERT_TRUE(open.has_value());
    frame->EndWaitCapture();
    ::ReleaseCapture();
  }
}

// Each dialog opens with the keyboard where a person types first: the keys typed at once land
// there, and what the dialog does with them follows.
TEST_F(LobbyPeerX11Test, TheLobbysDialogsTakeTheFirstKeysTyped) {
  using screentest::ShownDialog;
  using screentest::TextOf;
  platform::ScopedUiScript person(nullptr);  // the dialogs are answered on the screen
  const auto typedInto = [&](const char* caption, UINT edit, const char* text) {
    m_person->Then([caption] { return ShownDialog(caption) != nullptr && ::GetFocus() != nullptr; },
                   [this, caption, text] { m_person->Type(ShownDialog(caption), text); });
    m_person->Then([caption, edit, text] {
                     HWND dialog = ShownDialog(caption);
                     return dialog && TextOf(::GetDlgItem(dialog, static_cast<int>(edit))) == text;
                   },
                   [] {});
  };

  // Search User, from the frame's command: the ID typed is searched for.
  typedInto(CSearchUserDlg::kSearchCaption, CSearchUserDlg::kTextEdit, "kim");
  m_person->Then([] { return true; }, [this] { m_person->Key(ShownDialog(CSearchUserDlg::kSearchCaption), XK_Return); });
  EXPECT_TRUE(m_person->Drive([&] { frame->SendMessage(WM_COMMAND, CMainFrame::kSearchUserCommand); }))
      << "the typed ID did not reach its box";
  const auto search = NextRecord(1, 4);
  ASSERT_TRUE(search.has_value());
  EXPECT_EQ(search->payload, "|User ID|kim|");

  // Search Play Room: the ID of a room's player.
  CSearchRoomDlg rooms(frame);
  rooms.SetWaitingRoom(nullptr, frame);
  typedInto("Search Play Room", CSearchRoomDlg::kIdEdit, "lee");
  m_person->Then([] { return true; }, [this] { m_person->Key(ShownDialog("Search Play Room"), XK_Escape); });
  EXPECT_TRUE(m_person->Drive([&] { rooms.DoModal(); })) << "the typed ID did not reach its box";

  // Invite, shown by the game room: the invitee's ID.
  CInviteDlg invite(frame);
  ASSERT_TRUE(invite.Create(frame));
  invite.ShowWindow(SW_SHOW);
  const HWND inviteWindow = invite.m_hWnd;
  ASSERT_TRUE(WaitFor([&] { return ::GetFocus() != nullptr && ::IsWindowVisible(inviteWindow); }));
  m_person->Type(inviteWindow, "amy");
  EXPECT_TRUE(WaitFor([&] { return TextOf(::GetDlgItem(inviteWindow, CInviteDlg::kIdEdit)) == "amy"; }))
      << "the typed ID did not reach its box";
  invite.DestroyWindow();
}

// Search Play Room's headings show whole in the header's own font, and the Invite dialog's hidden
// "Host No" column leaves its header blank where it would be.
TEST_F(LobbyPeerX11Test, DialogHeadingsShowWholeAndAHiddenColumnDrawsNothing) {
  CSearchRoomDlg rooms(frame);
  rooms.SetWaitingRoom(nullptr, frame);
  ASSERT_TRUE(rooms.Create(CSearchRoomDlg::kTemplateId, frame));
  rooms.ShowWindow(SW_SHOW);
  CFlatHeaderCtrl& header = rooms.GetResults().GetFlatHeader();
  ASSERT_EQ(header.GetItemCount(), 7);
  for (int column = 0; column < header.GetItemCount(); ++column) {
    HDITEMEX record;
    header.GetItemEx(column, record);
    EXPECT_GE(rooms.GetResults().GetColumnWidth(column), header.ContentWidth(column, record)) << column;
  }
  lobbytest::ShownPixels(rooms.m_hWnd, testsupport::SnapshotPath("orvanta-search-room.png"));
  rooms.DestroyWindow();

  CInviteDlg invite(frame);
  ASSERT_TRUE(invite.Create(frame));
  invite.ShowWindow(SW_SHOW);
  CFlatListCtrl& users = invite.GetList();
  ASSERT_EQ(users.GetColumnWidth(4), 0);
  int shown = 0;
  for (int column = 0; column < 4; ++column) shown += users.GetColumnWidth(column);
  const platform::Surface strip =
      lobbytest::ShownPixels(users.GetFlatHeader().m_hWnd, testsupport::SnapshotPath("orvanta-invite-header.png"));
  ASSERT_GT(strip.width, shown + 24);
  int ink = 0;
  for (int y = 2; y < strip.height - 2; ++y)
    for (int x = shown + 1; x < shown + 24; ++x) {
      const std::uint32_t pixel = strip.Row(y)[x];
      ink += ((pixel >> 16) & 0xFF) < 0x80 && ((pixel >> 8) & 0xFF) < 0x80 && (pixel & 0xFF) < 0x80;
    }
  EXPECT_EQ(ink, 0) << "the hidden column's header is drawn";
  lobbytest::ShownPixels(invite.m_hWnd, testsupport::SnapshotPath("orvanta-invite.png"));
  invite.DestroyWindow();
}

}  // namespace
