// Join from a user search while the game room is shown with no game on: whether the user may go
// is read from the board's own colour, the one the room's seats give the user.

#include "../room/FrameRoomFixture.h"
#include "LobbyPeerFixture.h"
#include "orvanta/lobby/UserInfoListDlg.h"

namespace {

class UserSearchJoinFromRoomTest : public FrameRoomTest {
protected:
  CLobbyScript lobby;
  std::optional<platform::ScopedUiScript> lobbyScope;
};

TEST_F(UserSearchJoinFromRoomTest, TheBoardsColourDecidesWhetherTheUserMayGo) {
  frame->SwitchView(CMainFrame::kGameRoomView);
  ASSERT_TRUE(frame->IsGameRoomActive());
  frame->GetLoginRecord()->SetEntry("room", "pw", "1", "12");
  frame->GetLoginRecord()->m_strRoomText5 = "12";
  lobbyScope.emplace(&lobby);
  lobby.answers[CUserInfoListDlg::kTemplateId] = [](CWnd* wnd, CDialog*) -> INT_PTR {
    wnd->SendMessage(WM_COMMAND, MAKEWPARAM(CUserInfoListDlg::kJoinButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(wnd->GetDlgItem(CUserInfoListDlg::kJoinButton)->m_hWnd));
    return IDCANCEL;
  };
  // kim plays in room 14 of the user's own waiting room.
  const std::string found = "|a|b|c|1|kim|Kim|3D|k|14|1|1|Dan room|";
  struct Case {
    short colour;         // the board's user colour
    const char* refusal;  // what the user is told, or null when the user goes to room 14
  };
  const Case cases[] = {
      {2, "The player can not go there directly."},  // seated: black
      {4, "The player can not go there directly."},  // seated: white
      {1, nullptr},                                   // no colour: an observer goes on
  };
  for (const Case& c : cases) {
    board.SetUserColor(c.colour);
    lobby.shown.clear();
    const std::size_t asked = lobby.dialogs.size();
    peer.Send({{GameServerPeer::Record(1, 4, found), 0}});
    ASSERT_TRUE(PumpUntil([&] { return lobby.dialogs.size() > asked && (!lobby.shown.empty() || !c.refusal); }))
        << c.colour;
    if (c.refusal) {
      EXPECT_EQ(lobby.shown, std::vector<std::string>{c.refusal}) << c.colour;
      EXPECT_NE(frame->GetLoginRecord()->m_nRoomNumber, 14) << c.colour;
      continue;
    }
    // The observer leaves this room for room 14, and the server is asked for it.
    ASSERT_TRUE(PumpUntil([&] { return frame->GetLoginRecord()->m_nRoomNumber == 14; })) << c.colour;
    EXPECT_TRUE(lobby.shown.empty());
    ASSERT_TRUE(PumpUntil([&] {
      for (const PeerRecord& r : peer.Records())
        if (r.minor == "3" && r.payload.find("|14|") != std::string::npos)
          return true;
      return false;
    })) << "no entry into room 14 was sent";
  }
}

}  // namespace
