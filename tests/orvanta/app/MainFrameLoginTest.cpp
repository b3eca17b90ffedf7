// The main frame logging in against the game-server peer: the login dialog, the bytes on the
// wire, the profile, and the frame's answers to refusals, "already logged in" and the resume
// question.

#include "orvanta/app/MainFrameFixture.h"

#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/NoticeDlg.h"

namespace {

using MainFrameLoginTest = MainFrameTest;

TEST_F(MainFrameLoginTest, TypedIdAndPasswordGoOutWithTheHelloAndThePostLoginRequests) {
  LogIn();
  const auto records = peer.Records();
  ASSERT_EQ(Pairs(), (std::vector<std::string>{"0,1", "1,1", "1,11", "0,3", "0,2", "3,6"}));
  const std::string sender = senderNumber();
  EXPECT_EQ(records[0].raw, "\x1b\t" + sender + "/8/0/1/1/|OB_1.5|\x1b\n");
  EXPECT_EQ(records[1].raw, "\x1b\t" + sender + "/11/1/1/1/|carol|pw9|\x1b\n");
  EXPECT_EQ(records[2].raw, "\x1b\t" + sender + "/4/1/11/1/|15|\x1b\n");
  EXPECT_EQ(records[3].raw, "\x1b\t" + sender + "/4/0/3/1/|00|\x1b\n");
  EXPECT_EQ(records[4].raw, "\x1b\t" + sender + "/0/0/2/1/\x1b\n");
  EXPECT_EQ(records[5].raw, "\x1b\t" + sender + "/0/3/6/1/\x1b\n");

  EXPECT_FALSE(frame->IsConnecting());
  EXPECT_EQ(frame->GetConnectImage(), CMainFrame::kConnectedImage);
  EXPECT_EQ(frame->GetNotice(), "Welcome");
  ASSERT_NE(frame->GetLoginRecord(), nullptr);
  EXPECT_EQ(frame->GetLoginRecord()->m_strRole, "3");
  EXPECT_EQ(frame->GetLoginRecord()->m_strId, "carol");
  EXPECT_TRUE(script.shown.empty());
}

TEST_F(MainFrameLoginTest, TheLoginsWaitEndsWithTheServersNoticeShownOnce) {
  LogIn();
  EXPECT_EQ(CWnd::GetCapture(), frame);
  std::vector<std::string> noticeTexts;
  script.answerDialog = [&](UINT templateId, CWnd* dialog) -> INT_PTR {
    CString text;
    dialog->GetDlgItemText(static_cast<int>(CNoticeDlg::kTextEdit), text);
    if (templateId == CNoticeDlg::kTemplateId)
      noticeTexts.push_back(text.str());
    return IDOK;
  };
  peer.Send({{GameServerPeer::Record(3, 6, "|0|"), 0}});
  ASSERT_TRUE(PumpUntil([&] { return Pairs().back() == "1,13"; }));
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
  EXPECT_EQ(noticeTexts, std::vector<std::string>{"Welcome"});
  EXPECT_EQ(frame->GetCurrentWaitRoom(), -1);
  // The start screen asks again each time it comes back; the notice is not shown again.
  const std::size_t sent = peer.RecordCount();
  peer.Send({{GameServerPeer::Record(3, 6, "|0|"), 0}});
  PumpFor(100);
  EXPECT_EQ(noticeTexts.size(), 1u);
  EXPECT_EQ(peer.RecordCount(), sent);
}

TEST_F(MainFrameLoginTest, ThePasswordIsKeptOnlyWhenSaveIsChecked) {
  LogIn(/*save=*/0);
  EXPECT_EQ(profile.GetProfileString("USER", "ID"), "carol");
  EXPECT_EQ(profile.GetProfileString("USER", "PassWord"), CLoginProfile::kDefaultPassword);
  EXPECT_EQ(profile.GetProfileString("USER", "Save"), "0");

  script.logins.push_back({"carol", "pw9", 1, IDOK});
  frame->RunLoginPass();
  EXPECT_EQ(profile.GetProfileString("USER", "PassWord"), "pw9");
  EXPECT_EQ(profile.GetProfileString("USER", "Save"), "1");

  // The next pass shows what was saved: the ID, the password and the checked box.
  frame->RunLoginPass();
  ASSERT_EQ(script.dialogs.size(), 3u);
  EXPECT_EQ(script.dialogs[1].id, "carol");
  EXPECT_EQ(script.dialogs[1].password, "");
  EXPECT_EQ(script.dialogs[2].id, "carol");
  EXPECT_EQ(script.dialogs[2].password, "pw9");
  EXPECT_EQ(script.dialogs[2].save, 1);
}

TEST_F(MainFrameLoginTest, EntriesTheDialogRefusesSendNothing) {
  script.logins.push_back({"", "pw9", 0, IDOK});
  script.logins.push_back({"ca|rol", "pw9", 0, IDOK});
  script.logins.push_back({"carol", "", 0, IDOK});
  script.logins.push_back({"carol", "p/w", 0, IDOK});
  for (int pass = 0; pass < 4; ++pass)
    frame->RunLoginPass();
  PumpFor(100);
  EXPECT_EQ(script.shown, (std::vector<std::string>{
                              "You did not enter ID.",
                              "You have entered a special character.\nSpecial characters are not available.",
                              "You did not enter PASSWORD.",
                              "You have entered a special character.\nSpecial characters are not available."}));
  EXPECT_EQ(peer.ConnectionCount(), 0);
  EXPECT_EQ(frame->GetServerLink(), nullptr);
  EXPECT_FALSE(frame->IsConnecting());
}

TEST_F(MainFrameLoginTest, CancellingTheLoginDialogConnectsNothing) {
  script.logins.push_back({"carol", "pw9", 1, IDCANCEL});
  frame->RunLoginPass();
  PumpFor(50);
  EXPECT_EQ(peer.ConnectionCount(), 0);
  // Nothing typed is stored either.
  EXPECT_EQ(profile.GetProfileString("USER", "ID"), "");
}

TEST_F(MainFrameLoginTest, ARefusedLoginCancelledSendsTheLogoutAndDropsTheRestOfItsGroup) {
  peer.ReplyOnce(1, 1, {{GameServerPeer::LoginRefused("3", "Wrong password.") +
                             GameServerPeer::WaitingRoomList({"room one"}), 0}});
  script.answers["Wrong password."] = IDCANCEL;
  script.logins.push_back({"carol", "pw9", 0, IDOK});
  frame->RunLoginPass();
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 3; }));
  PumpFor(100);
  EXPECT_EQ(Pairs(), (std::vector<std::string>{"0,1", "1,1", "1,2"}));
  EXPECT_EQ(script.shown, std::vector<std::string>{"Wrong password."});
  EXPECT_FALSE(frame->IsConnected());
  EXPECT_FALSE(HasPending("OnWaitingRoomList:|1|1|room one|"));
  for (const CString& call : frame->GetPendingCalls())
    EXPECT_NE(call.Find("OnWaitingRoomList"), 0) << call.str();
}

TEST_F(MainFrameLoginTest, ARefusedLoginRetriedClosesTheLinkAndAsksForTheLoginAgain) {
  peer.ReplyOnce(1, 1, {{GameServerPeer::LoginRefused("3", "Wrong password."), 0}});
  script.answers["Wrong password."] = IDRETRY;
  script.logins.push_back({"carol", "pw9", 0, IDOK});
  script.logins.push_back({"carol", "pw10", 0, IDOK});
  frame->RunLoginPass();
  ASSERT_TRUE(PumpUntil([&] { return peer.ConnectionCount() == 2 && peer.RecordCount() >= 8; }));
  EXPECT_EQ(script.shown, (std::vector<std::string>{"Wrong password.", kDisconnectedMessage}));
  EXPECT_EQ(Pairs(0), (std::vector<std::string>{"0,1", "1,1"}));
  EXPECT_EQ(Pairs(1), (std::vector<std::string>{"0,1", "1,1", "1,11", "0,3", "0,2", "3,6"}));
  EXPECT_EQ(peer.Records()[3].payload, "|carol|pw10|");
  // The closed link went away once its own notification was over.
  EXPECT_EQ(frame->GetRetiredLinkCount(), 0);
}

TEST_F(MainFrameLoginTest, AlreadyLoggedInAnsweredOkReleasesTheOldLoginAndLogsInAgain) {
  peer.ReplyOnce(1, 1, {{GameServerPeer::LoginRefused("204", "Already logged in."), 0}});
  peer.ReplyAlways(1, 8, {{GameServerPeer::Record(1, 8, "|carol|"), 0}});
  script.answers["Already logged in."] = IDOK;
  script.logins.push_back({"carol", "pw9", 0, IDOK});
  frame->RunLoginPass();
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 8; }));
  EXPECT_EQ(Pairs(), (std::vector<std::string>{"0,1", "1,1", "1,8", "1,1", "1,11", "0,3", "0,2", "3,6"}));
  const auto records = peer.Records();
  EXPECT_EQ(records[2].raw, "\x1b\t" + senderNumber() + "/7/1/8/\x01/|carol|\x1b\n");
  EXPECT_EQ(records[3].payload, "|carol|pw9|");
  EXPECT_EQ(script.shown, std::vector<std::string>{"Already logged in."});
  EXPECT_TRUE(frame->IsConnected());
}

TEST_F(MainFrameLoginTest, AlreadyLoggedInCancelledStaysOffline) {
  peer.ReplyOnce(1, 1, {{GameServerPeer::LoginRefused("204", "Already logged in."), 0}});
  script.answers["Already logged in."] = IDCANCEL;
  script.logins.push_back({"carol", "pw9", 0, IDOK});
  frame->RunLoginPass();
  ASSERT_TRUE(PumpUntil([&] { return !script.shown.empty(); }));
  PumpFor(100);
  EXPECT_EQ(Pairs(), (std::vector<std::string>{"0,1", "1,1"}));
  EXPECT_FALSE(frame->IsConnected());
}

TEST_F(MainFrameLoginTest, AnOutdatedClientIsToldToUpgradeAndSendsNoLogin) {
  peer.ReplyOnce(0, 1, {{GameServerPeer::Record(0, 1, "|99|1.6|http://up.example/|", "0"), 0}});
  script.logins.push_back({"carol", "pw9", 0, IDOK});
  frame->RunLoginPass();
  ASSERT_TRUE(PumpUntil([&] { return !script.shown.empty(); }));
  PumpFor(50);
  EXPECT_EQ(script.shown, std::vector<std::string>{" You must upgrade your program.\n Starting upgrade."});
  EXPECT_EQ(commandLines, std::vector<std::string>{"DownLoad.exe -s \"|1.6|http://up.example/|\""});
  EXPECT_FALSE(::IsWindow(frameHandle()));  // closed without its question
  EXPECT_EQ(Pairs(), std::vector<std::string>{"0,1"});
}

TEST_F(MainFrameLoginTest, ALoginReplyAfterAnUnfinishedGameAsksToResumeIt) {
  const std::string question = "Match was concluded improperly\nDo you wish to move directly to the game room?";
  peer.ReplyOnce(1, 1, {{GameServerPeer::Record(1, 1, "|2|Back again|5|77|12|Room title|"), 0}});
  script.answers[question] = IDYES;
  LogIn();
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 7; }));
  EXPECT_EQ(script.shown, std::vector<std::string>{question});
  EXPECT_TRUE(frame->IsResuming());
  const CSessionRecord* record = frame->GetLoginRecord();
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->m_strRole, "2");
  EXPECT_EQ(record->m_strRoomText7, "5");
  EXPECT_EQ(record->m_strRoomText6, "77");
  EXPECT_EQ(record->m_strRoomText4, "12");
  EXPECT_EQ(record->m_strRoomText1, "Room title");
  EXPECT_EQ(record->m_nRoomNumber, 77);
  EXPECT_EQ(Pairs(), (std::vector<std::string>{"0,1", "1,1", "1,11", "1,13", "0,3", "0,2", "3,6"}));

  // The server's notice after the login takes the user back into the game's room; the memo list,
  // asked for with the login reply, is not asked for again.
  peer.Send({{GameServerPeer::Record(3, 6, "|0|"), 0}});
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 8; }));
  PumpFor(100);
  const auto records = peer.Records();
  EXPECT_EQ(records[7].major + "," + records[7].minor + " " + records[7].payload, "5,3 |5|77|12|");
  EXPECT_EQ(records.size(), 8u);
  EXPECT_FALSE(frame->IsResuming());
  EXPECT_TRUE(frame->IsNoticeShown());
}

TEST_F(MainFrameLoginTest, DecliningToResumeKeepsOnlyTheRoleAndTheNotice) {
  const std::string question = "Match was concluded improperly\nDo you wish to move directly to the game room?";
  peer.ReplyOnce(1, 1, {{GameServerPeer::Record(1, 1, "|2|Back\tagain|5|77|12|Room title|"), 0}});
  script.answers[question] = IDNO;
  LogIn();
  PumpFor(100);
  EXPECT_FALSE(frame->IsResuming());
  EXPECT_EQ(frame->GetNotice(), "Backagain");
  EXPECT_EQ(frame->GetLoginRecord()->m_strRoomText6, "");
  EXPECT_EQ(Pairs(), (std::vector<std::string>{"0,1", "1,1", "1,11", "0,3", "0,2", "3,6"}));
  // The notice after the login joins no room.
  peer.Send({{GameServerPeer::Record(3, 6, "|0|"), 0}});
  ASSERT_TRUE(PumpUntil([&] { return frame->IsNoticeShown(); }));
  PumpFor(50);
  EXPECT_EQ(Pairs(), (std::vector<std::string>{"0,1", "1,1", "1,11", "0,3", "0,2", "3,6", "1,13"}));
}

TEST_F(MainFrameLoginTest, APostLoginNoticeAsksForMemosOnlyWithANoticeToShow) {
  peer.ReplyOnce(1, 1, {{GameServerPeer::LoginAccepted("1", ""), 0}});
  LogIn();
  peer.Send({{GameServerPeer::Record(3, 6, "|0|"), 0}});
  ASSERT_TRUE(PumpUntil([&] {
    CString title;
    ::GetWindowText(frameHandle(), title.GetBuffer(64), 64);
    title.ReleaseBuffer();
    return title == "Orvanta 1.5";
  }));
  PumpFor(50);
  // No notice: no dialog, and the memo list is not asked for.
  EXPECT_EQ(Pairs(), (std::vector<std::string>{"0,1", "1,1", "1,11", "0,3", "0,2", "3,6"}));
  EXPECT_FALSE(frame->IsNoticeShown());
  EXPECT_TRUE(script.dialogs.size() == 1);  // the login dialog only
  // A memo arriving afterwards still brings the list.
  peer.Send({{GameServerPeer::Record(1, 15, "|1|"), 0}});
  ASSERT_TRUE(PumpUntil([&] { return Pairs().size() == 7; }));
  EXPECT_EQ(Pairs().back(), "1,13");
}

TEST_F(MainFrameLoginTest, ALoginReplySplitOverTwoSegmentsIsDispatchedOnceWhole) {
  const std::string accepted = GameServerPeer::LoginAccepted("1", "split notice");
  peer.ReplyOnce(1, 1, {{accepted.substr(0, 9), 0}, {accepted.substr(9), 50}});
  LogIn();
  PumpFor(100);
  EXPECT_EQ(frame->GetNotice(), "split notice");
  EXPECT_EQ(frame->GetLoginRecord()->m_strRole, "1");
  // One dispatch of the reply: the options and the three post-login requests once each.
  EXPECT_EQ(Pairs(), (std::vector<std::string>{"0,1", "1,1", "1,11", "0,3", "0,2", "3,6"}));
}

TEST_F(MainFrameLoginTest, RecordsAfterTheHelloAnswerInItsGroupAreDropped) {
  peer.ReplyOnce(0, 1, {{GameServerPeer::HelloReply() + GameServerPeer::WaitingRoomList({"room one"}), 0}});
  LogIn();
  PumpFor(50);
  for (const CString& call : frame->GetPendingCalls())
    EXPECT_NE(call.Find("OnWaitingRoomList"), 0) << call.str();
}

}  // namespace
