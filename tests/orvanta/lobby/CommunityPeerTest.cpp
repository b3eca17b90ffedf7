// The frame's community against the game-server peer: memo lists kept in and reloaded from
// "./Message.dat", messages between users, and the programs and pages the frame starts.

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "LobbyPeerFixture.h"
#include "orvanta/lobby/MemoBoxDlg.h"
#include "orvanta/lobby/ReceivedMessageDlg.h"
#include "orvanta/lobby/SendMemoDlg.h"
#include "orvanta/lobby/SendMessageDlg.h"
#include "orvanta/lobby/TirvoGiboView.h"
#include "orvanta/lobby/UserRecordDlg.h"

namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A stand-in program in the working folder: it writes its arguments, one per line, to
// "<name>.args".
void MakeStandIn(const std::string& name) {
  const std::string script = "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > " + name + ".args.part\nmv " +
                             name + ".args.part " + name + ".args\n";
  std::ofstream(name, std::ios::binary) << script;
  ::chmod(name.c_str(), 0755);
}

class CommunityPeerTest : public LobbyPeerTest {
protected:
  // Waits for a stand-in's record of its arguments.
  std::string ArgumentsOf(const std::string& name) {
    if (!PumpUntil([&] { return std::filesystem::exists(name + ".args"); }))
      return "(not started)";
    return ReadBytes(name + ".args");
  }
  std::string MemoList(const std::vector<std::array<std::string, 4>>& memos) {
    std::string payload = "|" + std::to_string(memos.size()) + "|";
    for (const auto& memo : memos)
      for (const std::string& field : memo) payload += field + "|";
    return GameServerPeer::Record(1, 13, payload);
  }
};

TEST_F(CommunityPeerTest, MemosAreKeptInTheMemoFileAndReloadedByteForByte) {
  EnterWaitingRoom();
  ASSERT_NE(frame->GetMemoBox(), nullptr);  // made hidden with the connection
  EXPECT_FALSE(frame->GetMemoBox()->IsWindowVisible());
  const std::string hangul = Cp949("반가워요");
  Serve(MemoList({{{"2026-12-01 09:00", "amy", "Amy", "hello"}}, {{"2026-12-02 10:30", "bo", "Bo", hangul}}}),
        [&] { return frame->GetMemoBox()->GetList().GetItemCount() == 2; });
  CMemoBoxDlg* box = frame->GetMemoBox();
  EXPECT_EQ(box->GetContents(), hangul.c_str());  // the newest is shown
  EXPECT_EQ(Column(box->GetList(), 2), (std::vector<std::string>{"amy", "bo"}));
  EXPECT_FALSE(box->GetList().GetCheck(0));
  EXPECT_EQ(lobby.shown.back(), "You have 2 memos. \n\tDo you wish to check?");  // the question counts them

  // The user keeps Bo's memo; the next memo list replaces the box and writes it.
  box->GetList().SetCheck(1, TRUE);
  Serve(MemoList({{{"2026-12-03 11:00", "cy", "Cy", "third"}}}),
        [&] { return frame->GetMemoBox()->GetList().GetItemCount() == 2 && frame->GetMemoBox()->GetList().GetCheck(0); });
  const std::string stored = "/||2026-12-02 10:30|bo|Bo|" + hangul + "|/";
  EXPECT_EQ(ReadBytes("Message.dat"), stored);
  box = frame->GetMemoBox();
  EXPECT_EQ(Column(box->GetList(), 2), (std::vector<std::string>{"bo", "cy"}));
  EXPECT_TRUE(box->GetList().GetCheck(0));

  // Reloaded and written again untouched, the file is the same to the byte.
  std::filesystem::remove("Message.dat");
  Serve(MemoList({}), [&] { return std::filesystem::exists("Message.dat"); });
  EXPECT_EQ(Column(frame->GetMemoBox()->GetList(), 2), std::vector<std::string>{"bo"});
  EXPECT_EQ(ReadBytes("Message.dat"), stored);

  // The "Memo Box" command asks for the list and shows the box.
  frame->SendMessage(WM_COMMAND, CMainFrame::kMemoBoxCommand);
  EXPECT_TRUE(NextRecord(1, 13).has_value());
  EXPECT_TRUE(frame->GetMemoBox()->IsWindowVisible());
  // No new memos: the question is asked all the same, and the box the person opened stays up
  // with the kept memo even when the answer is No.
  const std::string noneQuestion = "You have 0 memos. \n\tDo you wish to check?";
  lobby.boxAnswers[noneQuestion] = IDNO;
  const std::size_t asked = lobby.shown.size();
  Serve(MemoList({}), [&] { return lobby.shown.size() > asked; });
  EXPECT_EQ(lobby.shown.back(), noneQuestion);
  PumpFor(100);
  ASSERT_TRUE(frame->GetMemoBox()->IsWindowVisible());
  EXPECT_EQ(Column(frame->GetMemoBox()->GetList(), 2), std::vector<std::string>{"bo"});

  // Two new memos; amy's is clicked, then cy's right-clicked and deleted: the pane shows what
  // the menu acts on, and the deleted memo's text goes with it.
  frame->GetMemoBox()->ShowWindow(SW_HIDE);
  Serve(MemoList({{{"2026-12-04 08:00", "amy", "Amy", "from amy"}}, {{"2026-12-05 09:00", "cy", "Cy", "from cy"}}}),
        [&] { return frame->GetMemoBox()->GetList().GetItemCount() == 3; });
  EXPECT_EQ(lobby.shown.back(), "You have 2 memos. \n\tDo you wish to check?");
  box = frame->GetMemoBox();
  ASSERT_TRUE(box->IsWindowVisible());
  CListCtrl& memos = box->GetList();
  // A point of row in the date column, found as the list itself places its rows.
  const auto rowCentre = [&](int row) {
    for (int y = 0; y < 200; ++y)
      if (memos.HitTest(CPoint(60, y)) == row && memos.HitTest(CPoint(60, y + 4)) == row)
        return POINT{60, y + 2};
    return POINT{-1, -1};
  };
  ::ReleaseCapture();  // the waiting room's entry here is never answered, so its wait is let go
  platform::input::Click(memos.m_hWnd, rowCentre(1));
  EXPECT_EQ(box->GetContents(), "from amy");
  lobby.menuChoice = CMemoBoxDlg::kDeleteCommand;
  platform::input::Click(memos.m_hWnd, rowCentre(2), platform::input::Button::Right);
  ASSERT_TRUE(PumpUntil([&] { return memos.GetItemCount() == 2; }));
  EXPECT_EQ(lobby.shown.back(), "Do you wish to delete the selected message?");
  EXPECT_EQ(Column(memos, 2), (std::vector<std::string>{"bo", "amy"}));
  EXPECT_NE(box->GetContents(), "from cy");
  // amy's memo is kept too; the program closes and its next start finds both in the file.
  memos.SetCheck(1, TRUE);
  frame->SetQuietClose(TRUE);
  frame->SendMessage(WM_CLOSE);
  ASSERT_FALSE(::IsWindow(frameHandle()));
  const std::string kept = "/||2026-12-02 10:30|bo|Bo|" + hangul + "|/||2026-12-04 08:00|amy|Amy|from amy|/";
  EXPECT_EQ(ReadBytes("Message.dat"), kept);
  CMemoBoxDlg next;
  ASSERT_TRUE(next.CreateHidden(nullptr));
  EXPECT_EQ(Column(next.GetList(), 4), (std::vector<std::string>{hangul, "from amy"}));
  next.DestroyWindow();
}

TEST_F(CommunityPeerTest, AReplyFromTheMemoBoxAndTheSendMemoCommandGoOutAsMemos) {
  EnterWaitingRoom();
  Serve(MemoList({{{"d", "amy", "Amy", "hi"}}}), [&] { return frame->GetMemoBox()->GetList().GetItemCount() == 1; });
  lobby.answers[CSendMessageDlg::kTemplateId] = [](CWnd* wnd, CDialog*) {
    wnd->SetDlgItemText(CSendMessageDlg::kTextEdit, "see you");
    return IDOK;
  };
  frame->GetMemoBox()->SendMessage(WM_COMMAND, CMemoBoxDlg::kReplyCommand);
  const auto reply = NextRecord(1, 14);
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->payload, "|amy|see you|");
  lobby.answers[CSendMessageDlg::kTemplateId] = [](CWnd* wnd, CDialog*) {
    wnd->SetDlgItemText(CSendMessageDlg::kReceiverEdit, "bo");
    wnd->SetDlgItemText(CSendMessageDlg::kTextEdit, "a memo");
    return IDOK;
  };
  frame->SendMessage(WM_COMMAND, CMainFrame::kSendMemoCommand);
  const auto memo = NextRecord(1, 14);
  ASSERT_TRUE(memo.has_value());
  EXPECT_EQ(memo->payload, "|bo|a memo|");
}

TEST_F(CommunityPeerTest, AReceivedMessageIsShownCleanAndAnsweredToItsSender) {
  EnterWaitingRoom();
  CString shownText;
  CString caption;
  lobby.answers[CReceivedMessageDlg::kTemplateId] = [&](CWnd* wnd, CDialog*) {
    wnd->GetDlgItemText(CReceivedMessageDlg::kReceivedEdit, shownText);
    wnd->GetWindowText(caption);
    wnd->SetDlgItemText(CReceivedMessageDlg::kAnswerEdit, "fine");
    return IDOK;
  };
  Serve(GameServerPeer::Record(1, 5, "|2|amy|x|y|hi\tthere\nfriend|"), [&] { return !lobby.dialogs.empty(); });
  const auto answer = NextRecord(1, 5);
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(answer->payload, "|2|amy|fine|");
  EXPECT_EQ(shownText, "hithere\r\nfriend");
  EXPECT_EQ(caption, CString("amy") + Cp949("님이 보낸 메시지"));
}

TEST_F(CommunityPeerTest, SendMessageFromTheWaitingRoomNamesTheChosenWaitingRoom) {
  EnterWaitingRoom();
  lobby.answers[CSendMemoDlg::kTemplateId] = [](CWnd* wnd, CDialog* dialog) {
    CComboBox* combo = &static_cast<CSendMemoDlg*>(dialog)->GetWaitingRoomCombo();
    CString own;
    combo->GetLBText(combo->GetCurSel(), own);
    EXPECT_EQ(own, "Kyu room");  // the user's own waiting room is 3
    combo->SetCurSel(combo->FindStringExact(-1, "Pro"));
    wnd->SetDlgItemText(CSendMemoDlg::kUserIdEdit, "dan");
    wnd->SetDlgItemText(CSendMemoDlg::kMessageEdit, "hello");
    return IDOK;
  };
  frame->SendMessage(WM_COMMAND, CMainFrame::kSendMessageCommand);
  const auto message = NextRecord(1, 5);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->payload, "|5|dan|hello|");
}

TEST_F(CommunityPeerTest, UserInformationShowsTheRecordAndLeadsToTheUsersGames) {
  EnterWaitingRoom();
  frame->RegisterView(CMainFrame::kRecordListView, RUNTIME_CLASS(CTirvoGiboView));
  const std::string record = "|x|12|3400|amy|y|3D|20261209134501|10|1|2|3|0|1|4|2|0|40|6|9||1500|";
  std::map<UINT, std::string> shown;
  lobby.answers[CUserRecordDlg::kTemplateId] = [&](CWnd* wnd, CDialog*) {
    for (UINT id : {CUserRecordDlg::kLastConnect, CUserRecordDlg::kRanking, CUserRecordDlg::kPresentGrade,
                    CUserRecordDlg::kPausedPlays, CUserRecordDlg::kScore}) {
      CString text;
      wnd->GetDlgItemText(static_cast<int>(id), text);
      shown[id] = text.str();
    }
    wnd->SendMessage(WM_COMMAND, MAKEWPARAM(CUserRecordDlg::kRecordsButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(wnd->GetDlgItem(CUserRecordDlg::kRecordsButton)->m_hWnd));
    return IDCANCEL;  // only when the button did not end it
  };
  Serve(GameServerPeer::Record(10, 3, record), [&] { return !shown.empty(); });
  EXPECT_EQ(shown[CUserRecordDlg::kLastConnect], "2026/12/09  13:45:01");
  EXPECT_EQ(shown[CUserRecordDlg::kRanking], "12 ( Total: 3400 )");
  EXPECT_EQ(shown[CUserRecordDlg::kPresentGrade], "17wins 3drawns 3 loses");
  EXPECT_EQ(shown[CUserRecordDlg::kPausedPlays], "0 **");
  EXPECT_EQ(shown[CUserRecordDlg::kScore], "1500 points");
  const auto games = NextRecord(6, 2);
  ASSERT_TRUE(games.has_value());
  EXPECT_EQ(games->payload, "|-1|50|LI|amy|");
  EXPECT_EQ(frame->GetActiveViewId(), CMainFrame::kRecordListView);
  EXPECT_EQ(CUserRecordDlg::FieldText("|a|b|c|d|e|f|g|h|i|j|k|l|m|n|o|p|q|r|s|t|", CUserRecordDlg::kScore), "0 point");
}

TEST_F(CommunityPeerTest, SiblingCommandsStartTheProgramsBesideOrvantaWithTheirArguments) {
  MakeStandIn("Vornel");
  MakeStandIn("Kelvra");
  MakeStandIn("User");
  frame->SendMessage(WM_COMMAND, CMainFrame::kLiveRelayCommand);
  EXPECT_EQ(ArgumentsOf("Vornel"), "");
  EXPECT_TRUE(std::filesystem::exists("Vornel.args"));
  frame->SendMessage(WM_COMMAND, CMainFrame::kServiceCommand);
  frame->SendMessage(WM_COMMAND, CMainFrame::kRegisterCommand);
  EXPECT_TRUE(PumpUntil([] { return std::filesystem::exists("Kelvra.args") && std::filesystem::exists("User.args"); }));
  EXPECT_TRUE(script.shown.empty());
  // Without the program: the message, and the frame stays as it was.
  std::filesystem::remove("Kelvra");
  frame->ShowWindow(SW_SHOWNORMAL);
  frame->SendMessage(WM_COMMAND, CMainFrame::kServiceCommand);
  EXPECT_EQ(script.shown, std::vector<std::string>{" Unable to find execution file.\nReinstall"});
  EXPECT_FALSE(frame->IsIconic());
}

TEST_F(CommunityPeerTest, PagesAndMailGoToTheDesktopOpenerAsOneArgument) {
  MakeStandIn("opener");
  const std::string opener = std::filesystem::current_path() / "opener";
  ::setenv("PLATFORM_OPENER", opener.c_str(), 1);
  frame->startForReal = true;
  frame->SendMessage(WM_COMMAND, CMainFrame::kHomePageCommand);
  EXPECT_EQ(ArgumentsOf("opener"), "[http://www.pellomar.example/index.htm]\n");
  std::filesystem::remove("opener.args");
  CFieldTokenizer mail("|dan@example.org; rm -rf x|");
  frame->OnMailTo(mail);
  EXPECT_EQ(ArgumentsOf("opener"), "[mailto:dan@example.org; rm -rf x]\n");
  ::unsetenv("PLATFORM_OPENER");
}

TEST_F(CommunityPeerTest, AForcedUpgradeStartsTheDownloaderWithTheServersTextAndCloses) {
  MakeStandIn("DownLoad");
  frame->startForReal = true;
  peer.ReplyOnce(0, 1, {{GameServerPeer::Record(0, 1, "|99|1.6 \"beta\"|http://up.example/a b|", "0"), 0}});
  script.logins.push_back({"carol", "pw9", 0, IDOK});
  frame->RunLoginPass();
  EXPECT_EQ(ArgumentsOf("DownLoad"), "[-s]\n[|1.6 \"beta\"|http://up.example/a b|]\n");
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(frameHandle()); }));
}

}  // namespace
