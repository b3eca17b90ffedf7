// Entering waiting rooms from the start screen and game rooms from them, against the game-server
// peer: the exact records on the wire at each step.

#include "LobbyPeerFixture.h"
#include "orvanta/lobby/OpenRoomDlg.h"
#include "orvanta/lobby/TirvoMListView.h"

namespace {

std::string Record(int major, int minor, const std::string& payload, const std::string& flag = "1") {
  return GameServerPeer::Record(major, minor, payload, flag);
}

class RoomEntryPeerTest : public LobbyPeerTest {
protected:
  // A start-screen room button of kind; the waiting room's answer (code 31) shows it.
  void EnterFromStartView(const CString& kind, const CString& number, const CString& title) {
    lobbyScope.emplace(&lobby);
    frame->EnterRoomFromStartView(kind, number, title);
    ReleaseCapture();
  }
  // The open-room dialog answered with title, and with a private password when there is one.
  void AnswerOpenRoom(const char* title, const char* password) {
    lobby.answers[COpenRoomDlg::kTemplateId] = [=](CWnd* dialog, CDialog*) {
      dialog->SetDlgItemText(COpenRoomDlg::kTitleEdit, title);
      if (*password) {
        dialog->CheckDlgButton(COpenRoomDlg::kPublicRadio, BST_UNCHECKED);
        dialog->CheckDlgButton(COpenRoomDlg::kPrivateRadio, BST_CHECKED);
        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(COpenRoomDlg::kPrivateRadio, BN_CLICKED), 0);
        dialog->SetDlgItemText(COpenRoomDlg::kPasswordEdit, password);
      }
      return IDOK;
    };
  }
  std::string Payload(int major, int minor) {
    const std::optional<PeerRecord> record = NextRecord(major, minor);
    return record ? record->payload : std::string("<none>");
  }
};

TEST_F(RoomEntryPeerTest, AWaitingRoomFromTheStartScreenThenAnOpenedRoomJoined) {
  LogIn();
  // Without a waiting room the leave names the room by the frame's (empty) room text.
  frame->SendWaitRoomLeave();
  frame->FlushRequests();
  EXPECT_EQ(Payload(3, 2), "||");

  // The waiting room is named to the server by its number.
  EnterFromStartView("1", "2", "Dan room");
  EXPECT_EQ(Payload(3, 1), "|2|");
  Serve(Record(3, 1, "|2|"), [&] { return frame->GetWaitingRoomView() != nullptr; });
  view = frame->GetWaitingRoomView();
  // The user list is asked for (role 3: major 3), then the room list of the kind-1 room.
  EXPECT_EQ(Payload(3, 3), "|2|5|");
  EXPECT_EQ(Payload(5, 1), "|2|50|");

  // Separators never reach the payload; a second open waits for the first.
  AnswerOpenRoom("My|ro/om", "p/w");
  frame->OnOpenRoom();
  EXPECT_EQ(Payload(4, 2), "|2|1|Myroom|pw|");
  EXPECT_TRUE(frame->IsOpeningRoom());
  ReleaseCapture();
  frame->OnOpenRoom();
  EXPECT_EQ(lobby.shown.back(), "Opening new game room.\n Please wait a moment.");
  EXPECT_TRUE(NoRecord(4, 2));

  // The server opens room 21: the waiting room is left and the room joined with its password.
  Serve(Record(5, 2, "|21|"), [&] { return peer.Records().back().Is(4, 3); });
  EXPECT_EQ(Payload(3, 2), "|2|");
  const std::optional<PeerRecord> join = NextRecord(4, 3);
  ASSERT_TRUE(join);
  EXPECT_EQ(join->payload, "|2|21|pw|");
  EXPECT_EQ(frame->GetRoomPrefix(), "|2|21|");
  EXPECT_EQ(frame->GetHomeWaitRoom(), 2);

  // A refused join ends the opening: the room can be opened again (here cancelled).
  Serve(Record(5, 3, "|0|Room is full.|", "0"), [&] { return !frame->IsOpeningRoom(); });

  // The user's join of room 21 is answered while the open-room dialog is filled in: the room
  // asked for is opened nowhere, and the user goes on in the room he entered.
  EXPECT_EQ(Payload(3, 1), "|2|");
  Serve(Record(3, 1, "|2|"), [&] { return NextRecord(3, 3).has_value(); });
  frame->SendWaitRoomLeave();
  frame->SendJoinRoom("21", "");
  frame->FlushRequests();
  EXPECT_EQ(Payload(4, 3), "|2|21||");
  // The waiting room still shown has been left: its chat and its user list go nowhere.
  frame->SendChatLine("|2|hello|");
  frame->SendWaitRoomQuery("5");
  frame->FlushRequests();
  EXPECT_TRUE(NoRecord(3, 4));
  EXPECT_TRUE(NoRecord(3, 3));
  lobby.answers[COpenRoomDlg::kTemplateId] = [&](CWnd* dialog, CDialog*) {
    Serve(Record(5, 3, "|21|h1|carol|carol|5K|3|3|0|"), [&] { return frame->IsInRoom(); });
    dialog->SetDlgItemText(COpenRoomDlg::kTitleEdit, "Late");
    return IDOK;
  };
  frame->OnOpenRoom();
  EXPECT_TRUE(NoRecord(4, 2));
  EXPECT_FALSE(frame->IsOpeningRoom());
  EXPECT_EQ(Payload(4, 11), "|2|21|POM|");
}

TEST_F(RoomEntryPeerTest, ATeachingRoomListFromTheStartScreenAndAJoinFromIt) {
  LogIn();
  frame->RegisterView(CMainFrame::kTeachingListView, RUNTIME_CLASS(CTirvoMListView));
  EnterFromStartView("3", "4", "Pro room");
  EXPECT_EQ(Payload(5, 1), "|4|50|");
  const std::string room8 = "8|Open game|x||||y|park|3P|KR|4|z|6|1|w|";
  Serve(Record(5, 1, "|1|0|1|" + room8),
        [&] { return frame->GetProRoomListView() && frame->GetProRoomListView()->GetList().GetItemCount() == 1; });
  EXPECT_EQ(frame->GetActiveViewId(), CMainFrame::kTeachingListView);
  EXPECT_EQ(frame->GetLoginRecord()->m_strRoomText6, "4");
  EXPECT_EQ(frame->GetLoginRecord()->m_strRoomText7, "3");

  CListCtrl& list = frame->GetProRoomListView()->GetList();
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  frame->GetProRoomListView()->JoinSelectedRoom();
  EXPECT_EQ(Payload(5, 3), "|4|8||");
}

TEST_F(RoomEntryPeerTest, AForumsWaitingRoomIsNamedByTheForumsTarget) {
  EnterWaitingRoom();
  frame->OpenForumBoard("11", "3", "K11", "Kids", TRUE);
  frame->EnterForumWaitingRoom("K11");
  EXPECT_EQ(Payload(3, 1), "|K11|");
  Serve(Record(3, 1, "|K11|"), [&] { return NextRecord(3, 3).has_value(); });
  EXPECT_EQ(peer.Records()[taken - 1].payload, "|K11|5|");
  frame->SendWaitRoomLeave();
  frame->FlushRequests();
  EXPECT_EQ(Payload(3, 2), "|K11|");
  EXPECT_EQ(frame->GetWaitingRoomKey(), "K11");
}

}  // namespace
