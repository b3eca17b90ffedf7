#include "orvanta/connection/ServerDispatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include <platform/msgbox.h>
#include <platform/uiscript.h>
#include <platform/windows.h>

#include "orvanta/connection/ServerLink.h"
#include "orvanta/connection/ServerRecord.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/connection/RecordingFrameActions.h"

namespace {

std::string Rec(const std::string& major, const std::string& minor, const std::string& payload,
                const std::string& flag = "1") {
  return "\x1b\t7/" + std::to_string(payload.size()) + "/" + major + "/" + minor + "/" + flag + "/" + payload +
         "\x1b\n";
}

std::string Rec(int major, int minor, const std::string& payload, const std::string& flag = "1") {
  return Rec(std::to_string(major), std::to_string(minor), payload, flag);
}

// Answers message boxes from a list and remembers what they showed.
class CAnsweringScript : public platform::UiScript {
public:
  std::optional<int> OnMessageBox(const char* text, const char* caption, UINT style) override {
    shown.push_back(text);
    captions.push_back(caption ? caption : "");
    styles.push_back(style);
    if (answers.empty())
      return std::nullopt;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<int> answers;
  std::vector<std::string> shown;
  std::vector<std::string> captions;
  std::vector<UINT> styles;
};

class ServerDispatcherTest : public ::testing::Test {
protected:
  void Dispatch(const std::string& group) { dispatcher.DispatchServerFrames(CString(group)); }
  int CountCalls(const std::string& name) const { return static_cast<int>(frame.CallsNamed(name).size()); }

  CSessionRecord login{"alice", "pw1"};
  CRecordingFrameActions frame;
  CServerDispatcher dispatcher{frame};
};

TEST(ServerRecordTest, CodesFoldMajorsTwoAndFourOnly) {
  EXPECT_EQ(CServerRecord::MessageCode("5", "13"), 513);
  EXPECT_EQ(CServerRecord::MessageCode("1", "12"), 112);
  EXPECT_EQ(CServerRecord::MessageCode("0", "1"), 1);
  EXPECT_EQ(CServerRecord::MessageCode("10", "1"), 101);
  EXPECT_EQ(CServerRecord::MessageCode("7", "10"), 710);
  EXPECT_EQ(CServerRecord::MessageCode("2", "31"), 331);
  EXPECT_EQ(CServerRecord::MessageCode("4", "13"), 513);
  EXPECT_EQ(CServerRecord::MessageCode("24", "1"), 241);
  EXPECT_EQ(CServerRecord::MessageCode("x", "1"), 0);
}

TEST(ServerRecordTest, NumbersClampInsteadOfOverflowing) {
  EXPECT_EQ(CServerRecord::ParseNumber("99999999999999999999"), 2147483647);
  EXPECT_EQ(CServerRecord::ParseNumber("-99999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(CServerRecord::ParseNumber("  12ab"), 12);
  EXPECT_EQ(CServerRecord::ParseNumber(""), 0);
  EXPECT_EQ(CServerRecord::ParseNumber("\x01"), 0);
}

TEST(ServerRecordTest, SplitsJoinedRecordsAndStopsAtOneWithoutEnd) {
  const std::string group = Rec(0, 2, "|a|") + Rec(3, 4, "|b/c|") + "\x1b\t7/3/5/6/1/|x|";
  const auto records = CServerRecord::SplitGroup(CString(group));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].m_nCode, 2);
  EXPECT_EQ(records[0].m_strPayload, "|a|");
  EXPECT_EQ(records[1].m_nCode, 34);
  EXPECT_EQ(records[1].m_strPayload, "|b/c|");
  EXPECT_EQ(records[1].m_strFlag, "1");
}

TEST(ServerRecordTest, MatchesTheLinkWriterRecordForRecord) {
  const CString written = CServerLink::FormatFrame(1234, 0, 1, "|OB_1.5|", "1");
  const auto records = CServerRecord::SplitGroup(written);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].m_strPayload, "|OB_1.5|");
  EXPECT_EQ(records[0].m_nCode, 1);
  EXPECT_TRUE(CServerRecord::SplitGroup("").empty());
  EXPECT_TRUE(CServerRecord::SplitGroup("\x1b\t").empty());
}

TEST_F(ServerDispatcherTest, HelloAnswerSendsTheLoginAtOnceAndTheRestOfTheGroupFollows) {
  frame.loginRecord = &login;
  Dispatch(Rec(0, 1, "|OK|") + Rec(0, 2, "|1|room|"));
  ASSERT_EQ(frame.queued.size(), 1u);
  EXPECT_EQ(frame.queued[0].major, 1);
  EXPECT_EQ(frame.queued[0].minor, 1);
  EXPECT_EQ(frame.queued[0].payload, "|alice|pw1|");
  EXPECT_EQ(frame.queued[0].flag, "1");
  EXPECT_EQ(frame.calls, (std::vector<std::string>{"QueueRequest:1,1:|alice|pw1|", "Flush",
                                                   "OnWaitingRoomList:|1|room|", "Flush"}));
}

TEST_F(ServerDispatcherTest, HelloAnswerWithoutLoginRecordSendsNothing) {
  Dispatch(Rec(0, 1, "|OK|"));
  EXPECT_TRUE(frame.queued.empty());
}

TEST_F(ServerDispatcherTest, LoginAcceptedRunsThePostLoginSequence) {
  Dispatch(Rec(1, 1, "|3|Hello|"));
  const std::vector<std::string> expected = {"OnLoginReply:|3|Hello|", "RequestAdvertInfo", "RequestWaitRoomList",
                                             "SendPostLoginRequest",   "SetConnectButton",  "UpdateButtons:11:|3|Hello|",
                                             "Flush"};
  EXPECT_EQ(frame.calls, expected);
}


TEST_F(ServerDispatcherTest, FailureOfMovesOrConditionsStopsDeferringMoves) {
  frame.deferring = TRUE;
  Dispatch(Rec(5, 9, "|a|b|", "0"));
  EXPECT_FALSE(frame.deferring);
  frame.deferring = TRUE;
  Dispatch(Rec(5, 10, "|a|b|", "3"));
  EXPECT_FALSE(frame.deferring);
  frame.deferring = TRUE;
  Dispatch(Rec(5, 11, "|a|b|", "0"));
  EXPECT_TRUE(frame.deferring);
}

TEST_F(ServerDispatcherTest, PayloadWithSlashesReachesTheActionWhole) {
  Dispatch(Rec(3, 4, "|see http://x.example/a/b|"));
  EXPECT_EQ(frame.CallsNamed("OnWaitRoomChat"), std::vector<std::string>{"OnWaitRoomChat:|see http://x.example/a/b|"});
}

TEST_F(ServerDispatcherTest, MajorTwoAndFourReachTheirFoldedCodes) {
  Dispatch(Rec("2", "10", "|n|"));
  Dispatch(Rec("4", "13", "|a|b|1|"));
  EXPECT_EQ(CountCalls("OnNegotiationAgreed"), 1);
  EXPECT_EQ(frame.CallsNamed("OnMatchMessage"), std::vector<std::string>{"OnMatchMessage:513:|a|b|1|:1"});
}

TEST_F(ServerDispatcherTest, RefusedDrawTellsTheRoomAndTheRecordsAfterItFollow) {
  frame.gameRoomActive = TRUE;
  Dispatch(Rec(5, 19, "|a|b|0|") + Rec(5, 6, "|chat|"));
  EXPECT_EQ(frame.CallsNamed("ShowRoomNotice"),
            std::vector<std::string>{"ShowRoomNotice:Request for drawn play is rejected."});
  EXPECT_EQ(CountCalls("StartRoomClock"), 1);
  EXPECT_EQ(CountCalls("OnRoomChat"), 1);
  EXPECT_EQ(CountCalls("UpdateButtons"), 0);
  EXPECT_EQ(CountCalls("OnDrawMessage"), 0);
}

TEST_F(ServerDispatcherTest, RefusalOutsideTheGameRoomLeavesTheRoomAlone) {
  Dispatch(Rec(5, 15, "|a|b|0|") + Rec(5, 6, "|chat|"));
  EXPECT_EQ(CountCalls("ShowRoomNotice"), 0);
  EXPECT_EQ(CountCalls("StartRoomClock"), 0);
  EXPECT_EQ(CountCalls("ClearUndoPending"), 1);
  // A refused undo does not end the group.
  EXPECT_EQ(CountCalls("OnRoomChat"), 1);
}

TEST_F(ServerDispatcherTest, AgreedDrawGetsThePayloadWithoutItsAnswerWord) {
  Dispatch(Rec(5, 19, "|a|b|1|c|"));
  const std::vector<std::string> expected = {"UpdateButtons:519:|a|b|c|", "OnDrawMessage:|a|b|c|", "Flush"};
  EXPECT_EQ(frame.calls, expected);
}

TEST_F(ServerDispatcherTest, AgreedAnswersDropTheAnswerWord) {
  Dispatch(Rec(5, 21, "|a|b|1|z|"));
  Dispatch(Rec(5, 12, "|a|b|1|z|"));
  Dispatch(Rec(5, 45, "|a|b|1|z|"));
  EXPECT_EQ(frame.CallsNamed("OnFinishMessage"), std::vector<std::string>{"OnFinishMessage:|a|b|z|"});
  EXPECT_EQ(frame.CallsNamed("OnMatchMessage"), std::vector<std::string>{"OnMatchMessage:512:|a|b|z|:1"});
  EXPECT_EQ(frame.CallsNamed("OnCountMessage"), std::vector<std::string>{"OnCountMessage:|a|b|z|"});
}

TEST_F(ServerDispatcherTest, RefusedNegotiationClearsItsFlag) {
  Dispatch(Rec(5, 12, "|a|b|0|") + Rec(3, 4, "|x|"));
  EXPECT_EQ(CountCalls("ClearNegotiationPending"), 1);
  EXPECT_EQ(CountCalls("OnMatchMessage"), 0);
  EXPECT_EQ(CountCalls("OnWaitRoomChat"), 1);
}

TEST_F(ServerDispatcherTest, DeferredMovesAreQueuedInOrderAndTheReadGoesOn) {
  frame.deferring = TRUE;
  Dispatch(Rec(5, 14, "|B|dd|30|") + Rec(5, 14, "|W|pp|29|") + Rec(3, 4, "|x|"));
  EXPECT_EQ(frame.CallsNamed("QueueDeferredText"),
            (std::vector<std::string>{"QueueDeferredText:|B|dd|30|", "QueueDeferredText:|W|pp|29|"}));
  EXPECT_EQ(CountCalls("OnOpponentMove"), 0);
  EXPECT_EQ(CountCalls("OnWaitRoomChat"), 1);
  frame.deferring = FALSE;
  Dispatch(Rec(5, 14, "|B|dd|30|") + Rec(5, 14, "|W|pp|29|"));
  EXPECT_EQ(CountCalls("OnOpponentMove"), 2);
}

// A logout ends the session: what the server sent after it in the same read belongs to none.
TEST_F(ServerDispatcherTest, TheRecordsAfterALogoutAreLeft) {
  frame.closing = TRUE;
  Dispatch(Rec(1, 2, "") + Rec(3, 4, "|x|"));
  EXPECT_EQ(frame.calls, (std::vector<std::string>{"SetLogoutReceived", "OnLogoutReply"}));
  frame.calls.clear();
  frame.closing = FALSE;
  frame.linkOpen = TRUE;
  Dispatch(Rec(1, 2, "") + Rec(3, 4, "|x|"));
  EXPECT_EQ(frame.calls, (std::vector<std::string>{"SetLogoutReceived", "OnLogoutReply", "Flush"}));
}

// A record cut before its ESC LF stops the dispatch: the records before it are handled, nothing
// after it is, and what they queued is not flushed. A group-ending record before the cut still
// flushes.
TEST_F(ServerDispatcherTest, ARecordWithoutItsEndStopsWithoutFlushing) {
  Dispatch(Rec(3, 4, "|a|") + "\x1b\t7/3/3/4/1/|b|");
  EXPECT_EQ(CountCalls("OnWaitRoomChat"), 1);
  EXPECT_EQ(CountCalls("Flush"), 0);
  Dispatch("\x1b\t7/3/3/4/1/|b|" + Rec(3, 4, "|c|"));
  EXPECT_EQ(CountCalls("OnWaitRoomChat"), 2);
  EXPECT_EQ(CountCalls("Flush"), 0);
  Dispatch(Rec(1, 13, "|3|") + "\x1b\t7/3/3/4/1/|b|");
  EXPECT_EQ(CountCalls("Flush"), 1);
  Dispatch(Rec(3, 4, "|d|"));
  EXPECT_EQ(CountCalls("Flush"), 2);
}

TEST_F(ServerDispatcherTest, RoomEntryUpdatesButtonsOnlyWithoutPendingEntry) {
  frame.entryPending = TRUE;
  Dispatch(Rec(5, 3, "|r|"));
  EXPECT_EQ(CountCalls("UpdateButtons"), 0);
  frame.entryPending = FALSE;
  Dispatch(Rec(5, 3, "|r|"));
  EXPECT_EQ(CountCalls("UpdateButtons"), 1);
  EXPECT_EQ(frame.CallsNamed("OnEnterGameRoom")[0], "OnEnterGameRoom:53:|r|");
}

TEST_F(ServerDispatcherTest, RoomOpenedLeavesTheWaitingRoomAndJoinsTheNewRoomWithItsPassword) {
  CSessionRecord login("me", "pw");
  login.SetEntry("title", "secret", "Wait", "1");
  frame.loginRecord = &login;
  Dispatch(Rec(5, 2, "|17|"));
  const std::vector<std::string> expected = {"SendWaitRoomLeave",     "Flush",
                                             "OnRoomOpened:|17|",     "UpdateButtons:52:|17|",
                                             "SendJoinRoom:17|secret", "UpdateButtons:52:|17|",
                                             "Flush"};
  EXPECT_EQ(frame.calls, expected);
  // Without a login there is no room to join.
  frame.loginRecord = nullptr;
  frame.calls.clear();
  Dispatch(Rec(5, 2, "|18|"));
  EXPECT_EQ(frame.CallsNamed("SendJoinRoom").size(), 0u);
}

TEST_F(ServerDispatcherTest, UnknownCodesOnlyReachTheButtonsUpdate) {
  Dispatch(Rec(9, 9, "|q|"));
  EXPECT_EQ(frame.calls, (std::vector<std::string>{"UpdateButtons:99:|q|", "Flush"}));
}

// Every code of the table reaches the action it names, with or without the buttons update.
TEST_F(ServerDispatcherTest, EveryCodeReachesItsAction) {
  struct Row {
    int major, minor;
    const char* action;
    bool update;
  };
  const Row rows[] = {
      {0, 2, "OnWaitingRoomList", false}, {0, 3, "OnAdvertInfo", false}, {1, 4, "OnUserSearchResult", false},
      {1, 5, "OnUserMessage", false}, {1, 6, "OnOperatorNotice", false}, {1, 8, "OnRelogin", true},
      {1, 9, "OnMailTo", false}, {3, 1, "UpdateTitle", true}, {3, 3, "OnWaitRoomUsers", true},
      {3, 4, "OnWaitRoomChat", false}, {3, 6, "OnPostLoginNotice", true}, {3, 9, "OnNegotiationRefused", false},
      {5, 1, "OnRoomLists", true}, {5, 4, "OnLeftGameRoom", true}, {5, 5, "OnChatBan", false},
      {5, 6, "OnRoomChat", false}, {5, 7, "OnRoomInformation", false}, {5, 8, "OnRoomCode58", true},
      {5, 9, "OnGameInProgress", false}, {6, 1, "OnRecordListPage", true}, {6, 2, "OnRecordSearchResult", true},
      {6, 3, "OnRecordText", true}, {7, 1, "OnForumList", true}, {7, 2, "OnForumMenu", false},
      {7, 3, "OnForumJoined", false}, {7, 4, "OnForumSeceded", false}, {10, 1, "OnRankList", true},
      {10, 2, "OnRankPage", true}, {10, 3, "OnUserRecord", false}, {10, 4, "OnRankPage2", true},
      {1, 12, "OnInvitation", false}, {1, 15, "OnMemoNotice", false}, {1, 19, "OnNegotiationRequest", false},
      {3, 99, "OnWaitingRoomUserChange", false}, {5, 10, "OnRoomMoves", false}, {5, 11, "OnRoomEntered", false},
      {5, 15, "OnUndoMessage", true}, {5, 16, "OnUndoMessage", false}, {5, 17, "OnDesignationMessage", true},
      {5, 18, "OnDesignationMessage", true}, {5, 20, "OnDrawMessage", true}, {5, 22, "OnFinishMessage", true},
      {5, 23, "OnPauseMessage", true}, {5, 24, "OnPauseMessage", true}, {5, 25, "OnContinueMessage", true},
      {5, 26, "OnContinueMessage", true}, {5, 27, "OnReviewMessage", true}, {5, 28, "OnReviewMessage", true},
      {5, 29, "OnReplayStep", false}, {5, 32, "OnReplayStep", false}, {5, 33, "OnObserverAdvice", false},
      {5, 34, "OnFinishMessage", true}, {5, 35, "OnFinishMessage", true}, {5, 36, "OnReplayDlgMessage", false},
      {5, 37, "OnReplayStep", false}, {5, 38, "OnTimeOver", true}, {5, 39, "OnReplayStep", true},
      {5, 40, "OnReplayStep", true}, {5, 41, "OnResumeMessage", true}, {5, 42, "OnResumeMessage", true},
      {5, 43, "OnResignResult", true}, {5, 44, "OnCountMessage", true}, {5, 46, "OnStalemateAnswer", true},
      {5, 47, "OnStalemateAnswer", true}, {5, 51, "OnClockStart", true}, {5, 55, "OnLeaveCountdown", false},
      {5, 56, "OnWinWithoutCounting", true}, {5, 99, "OnWaitingRoomRoomChange", false},
      {7, 10, "OnBoardPostList", true}, {7, 11, "OnBoardPost", false}, {7, 12, "OnPostAdded", false},
      {7, 13, "OnPostDeleted", false}, {7, 14, "OnReadCount", false},
  };
  for (const Row& row : rows) {
    CRecordingFrameActions target;
    CServerDispatcher one(target);
    one.DispatchServerFrames(CString(Rec(row.major, row.minor, "|a|b|1|")));
    EXPECT_EQ(target.CallsNamed(row.action).size(), 1u) << row.major << "," << row.minor;
    EXPECT_EQ(!target.CallsNamed("UpdateButtons").empty(), row.update) << row.major << "," << row.minor;
  }
}

TEST(DropAnswerFieldTest, RemovesFieldTwoOnly) {
  EXPECT_EQ(CServerDispatcher::DropAnswerField("|a|b|0|c|"), "|a|b|c|");
  EXPECT_EQ(CServerDispatcher::DropAnswerField("|a|b|1|"), "|a|b|");
  EXPECT_EQ(CServerDispatcher::DropAnswerField("|a|b|"), "|a|b|");
  EXPECT_EQ(CServerDispatcher::DropAnswerField("|a||0||e|"), "|a|||e|");
  EXPECT_EQ(CServerDispatcher::DropAnswerField(""), "|");
  EXPECT_EQ(CServerDispatcher::DropAnswerField("|"), "|");
}

class FailedReplyTest : public ServerDispatcherTest {
protected:
  void Fail(int code, const std::string& payload) {
    CFieldTokenizer tokens{CString(payload)};
    int c = code;
    dispatcher.OnFailedReply(&tokens, &c);
  }
  CAnsweringScript script;
  platform::ScopedUiScript scoped{&script};
};

TEST_F(FailedReplyTest, AlreadyLoggedInAskedAndReleasedOnOk) {
  script.answers = {IDOK};
  Fail(11, "|204|You are already logged in.|");
  ASSERT_EQ(script.shown.size(), 1u);
  EXPECT_EQ(script.shown[0], "You are already logged in.");
  EXPECT_EQ(script.captions[0], "Inform");
  EXPECT_EQ(script.styles[0] & MB_TYPEMASK, MB_OKCANCEL);
  EXPECT_EQ(CountCalls("AskLoginRelease"), 1);
  EXPECT_EQ(CountCalls("SetConnected"), 0);
  script.answers = {IDCANCEL};
  Fail(11, "|204|You are already logged in.|");
  EXPECT_EQ(CountCalls("AskLoginRelease"), 1);
  EXPECT_EQ(frame.CallsNamed("SetConnected"), std::vector<std::string>{"SetConnected:0"});
}

TEST_F(FailedReplyTest, RefusedLoginRetryClosesTheLinkWithoutFlushing) {
  script.answers = {IDRETRY};
  Fail(11, "|7|Wrong password.|");
  EXPECT_EQ(script.styles[0] & MB_TYPEMASK, MB_RETRYCANCEL);
  EXPECT_EQ(frame.calls, (std::vector<std::string>{"SetConnected:0", "CloseLink"}));
}

TEST_F(FailedReplyTest, RefusedLoginCancelLogsOut) {
  script.answers = {IDCANCEL};
  Fail(11, "|7|Wrong password.|");
  EXPECT_EQ(frame.calls, (std::vector<std::string>{"SetConnected:0", "SendLogout", "SetConnectButton", "Flush"}));
}

TEST_F(FailedReplyTest, UpgradeStartsWithoutFlushing) {
  Fail(1, "|99|http://x|");
  EXPECT_EQ(script.shown, std::vector<std::string>{" You must upgrade your program.\n Starting upgrade."});
  EXPECT_EQ(frame.calls, (std::vector<std::string>{"SetUpgradeFlag", "StartUpgrade:|99|http://x|"}));
}

TEST_F(FailedReplyTest, SilentCodesShowNothing) {
  Fail(3, "|1|x|");
  Fail(510, "|1|x|");
  EXPECT_TRUE(script.shown.empty());
  EXPECT_TRUE(frame.calls.empty());
  Fail(32, "|1|x|");
  EXPECT_TRUE(script.shown.empty());
  EXPECT_EQ(frame.calls, std::vector<std::string>{"Flush"});
}

TEST_F(FailedReplyTest, FailedRoomEntryReturnsToTheWaitingRoom) {
  frame.loginRecord = &login;
  login.SetEntry("t2", "t1", "t3", "t5");
  Fail(53, "|0|Room is full.|");
  EXPECT_EQ(script.shown, std::vector<std::string>{"Room is full."});
  EXPECT_EQ(login.m_strRoomText1, "");
  EXPECT_EQ(login.m_strRoomText3, CSessionRecord::NotAvailableText());
  const std::vector<std::string> expected = {"EndWaitCapture", "ClearRoomEntryFlag", "SendWaitRoomEnter",
                                             "ClearRoomSubState", "Flush"};
  EXPECT_EQ(frame.calls, expected);
}

TEST_F(FailedReplyTest, RefusedCountingSetsTheBoardModeAndSaysSo) {
  Fail(545, "|0|whatever|");
  EXPECT_EQ(script.shown, std::vector<std::string>{"Counting is rejected."});
  EXPECT_EQ(frame.CallsNamed("SetBoardGameMode"), std::vector<std::string>{"SetBoardGameMode:8192"});
}

TEST_F(FailedReplyTest, OtherCodesShowFieldOne) {
  Fail(31, "|0|No such room.|");
  Fail(777, "|0|Odd.|");
  EXPECT_EQ(script.shown, (std::vector<std::string>{"No such room.", "Odd."}));
  EXPECT_EQ(frame.CallsNamed("SetCurrentWaitRoom"), std::vector<std::string>{"SetCurrentWaitRoom:-1"});
}

TEST_F(FailedReplyTest, InvitationFailureDependsOnTheActiveView) {
  Fail(112, "|0|busy|");
  EXPECT_EQ(CountCalls("OnInviteUser"), 1);
  frame.gameRoomActive = TRUE;
  Fail(112, "|0|busy|");
  EXPECT_EQ(CountCalls("ClearInvitationPending"), 1);
}

TEST_F(FailedReplyTest, NullArgumentsAreHandled) {
  dispatcher.OnFailedReply(nullptr, nullptr);
  EXPECT_EQ(script.shown, std::vector<std::string>{""});
}

// A failure reply in the middle of a read is handled in its place, its own flush included.
TEST_F(FailedReplyTest, FailureReplyIsHandledInItsPlace) {
  script.answers = {IDOK};
  Dispatch(Rec(0, 2, "|1|r|") + Rec(1, 1, "|204|Already|", "0") + Rec(3, 4, "|chat|"));
  EXPECT_EQ(script.shown, std::vector<std::string>{"Already"});
  EXPECT_EQ(frame.calls, (std::vector<std::string>{"OnWaitingRoomList:|1|r|", "AskLoginRelease", "Flush",
                                                   "OnWaitRoomChat:|chat|", "Flush"}));
}

TEST_F(FailedReplyTest, AnyFlagOtherThanOneIsAFailureReply) {
  Dispatch(Rec(3, 4, "|0|two|", "2") + Rec(3, 4, "|0|empty|", "") + Rec(3, 4, "|0|word|", "abc") +
           Rec(3, 4, "|0|one|", "01"));
  EXPECT_EQ(script.shown, (std::vector<std::string>{"two", "empty", "word"}));
  EXPECT_EQ(frame.CallsNamed("OnWaitRoomChat"), std::vector<std::string>{"OnWaitRoomChat:|0|one|"});
}

// No record is lost to where a read ended: after each record that used to end its group (and
// every failure reply) the records behind it are handled, in order, once. Where the record's
// answer must leave at once it is flushed before the next record is handled.
TEST_F(FailedReplyTest, TheRecordsAfterAnyRecordOfTheReadAreHandledInOrder) {
  struct Row {
    std::string record;
    bool flushedBefore;  // a flush comes between the record's handling and the next record
    int answer{IDOK};
  };
  const Row rows[] = {
      {Rec(0, 1, "|OK|"), true},
      {Rec(1, 13, "|1|d|id|n|memo|"), true, IDNO},
      {Rec(1, 15, "|1|"), true},
      {Rec(1, 18, "|a|bob|"), false},
      {Rec(5, 12, "|a|b|0|"), true},
      {Rec(5, 14, "|B|dd|30|"), true},  // while moves are deferred
      {Rec(5, 19, "|a|b|0|"), true},
      {Rec(5, 21, "|a|b|0|"), true},
      {Rec(5, 23, "|a|b|0|"), true},
      {Rec(5, 25, "|a|b|0|"), true},
      {Rec(5, 27, "|a|b|0|"), true},
      {Rec(5, 34, "|a|b|0|"), true},
      {Rec(5, 41, "|a|b|0|"), true},
      {Rec(5, 45, "|a|b|0|"), true},
      {Rec(5, 46, "|a|b|0|"), true},
      // Failure replies: any flag but 1.
      {Rec(0, 2, "|0|No list.|", "0"), true},
      {Rec(1, 1, "|204|Already in.|", "0"), true},
      {Rec(1, 1, "|7|Wrong.|", "0"), true, IDCANCEL},
      {Rec(0, 1, "|99|http://x|", "0"), false},
      {Rec(5, 10, "|0|x|", "2"), false},
      {Rec(5, 12, "|0|Busy.|", ""), true, IDCANCEL},
      {Rec(3, 4, "|0|x|", "abc"), true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.record.substr(2));
    CRecordingFrameActions target;
    target.loginRecord = &login;
    target.deferring = TRUE;
    CServerDispatcher one(target);
    script.answers = {row.answer};
    one.DispatchServerFrames(CString(row.record + Rec(3, 4, "|after|") + Rec(3, 4, "|last|")));
    const auto& calls = target.calls;
    const auto after = std::find(calls.begin(), calls.end(), "OnWaitRoomChat:|after|");
    ASSERT_NE(after, calls.end());
    ASSERT_EQ(after + 1, std::find(calls.begin(), calls.end(), "OnWaitRoomChat:|last|"));
    EXPECT_EQ(after != calls.begin() && *(after - 1) == "Flush", row.flushedBefore);
    EXPECT_EQ(calls.back(), "Flush");
    EXPECT_EQ(target.CallsNamed("OnWaitRoomChat").size(), 2u);
  }
  // A failure reply whose handling closes the link ends the read: the records after it would
  // reach a session that is gone.
  CRecordingFrameActions target;
  CServerDispatcher one(target);
  script.answers = {IDRETRY};
  one.DispatchServerFrames(CString(Rec(1, 1, "|7|Wrong.|", "0") + Rec(3, 4, "|after|")));
  EXPECT_EQ(target.calls, (std::vector<std::string>{"SetConnected:0", "CloseLink"}));
}

}  // namespace
