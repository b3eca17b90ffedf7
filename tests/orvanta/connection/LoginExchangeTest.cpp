// The login exchange over a real link against the game-server peer on loopback: the bytes the
// client writes, and how the dispatcher handles what the server answers.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <platform/messageloop.h>
#include <platform/msgbox.h>
#include <platform/registry.h>
#include <platform/resources.h>
#include <platform/uiscript.h>

#include "orvanta/app/ConnectDlg.h"
#include "orvanta/app/LoginProfile.h"
#include "orvanta/connection/LoginRequests.h"
#include "orvanta/connection/RecordingFrameActions.h"
#include "orvanta/connection/ServerDispatcher.h"
#include "orvanta/connection/ServerLink.h"
#include "orvanta/connection/SessionRecord.h"
#include "peers/orvanta/GameServerPeer.h"

namespace {

// Owns the link the way the main frame does: hello on connect, one group read and dispatched on
// every data event, failure replies handled, and the actions of the login exchange sent for real.
class CLoginHarness : public CWnd, public CRecordingFrameActions {
public:
  CLoginHarness() { CreateEx(0, nullptr, "frame", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr); }
  ~CLoginHarness() override {
    m_link.reset();
    DestroyWindow();
  }

  void Connect(unsigned short port, const CString& id = "alice", const CString& password = "pw1") {
    m_login = CSessionRecord(id, password);
    loginRecord = &m_login;
    m_link = std::make_unique<CServerLink>(this, INVALID_SOCKET);
    m_link->Connect("127.0.0.1", port);
  }

  BOOL QueueRequest(int major, int minor, const CString& payload, const CString& flag) override {
    CRecordingFrameActions::QueueRequest(major, minor, payload, flag);
    if (!m_link || !m_link->IsConnected())
      return FALSE;
    m_link->QueueFrame(0, major, minor, payload, flag);
    return TRUE;
  }
  void FlushRequests() override {
    CRecordingFrameActions::FlushRequests();
    if (m_link)
      m_link->FlushFrames();
  }
  void OnLoginReply(const CString& payload) override {
    CRecordingFrameActions::OnLoginReply(payload);
    Requests().SendOptions("|15|");
  }
  void RequestAdvertInfo() override { Requests().RequestAdvertInfo("00"); }
  void RequestWaitRoomList() override { Requests().RequestWaitRoomList(); }
  void SendPostLoginRequest() override { Requests().SendPostLoginRequest(); }
  void AskLoginRelease() override {
    CRecordingFrameActions::AskLoginRelease();
    Requests().SendLoginRelease(m_login.m_strId);
  }
  void OnRelogin() override {
    CRecordingFrameActions::OnRelogin();
    Requests().QueueLogin(m_login.m_strId, m_login.m_strPassword);
    FlushRequests();
  }
  void SendLogout() override {
    CRecordingFrameActions::SendLogout();
    Requests().SendLogout(0);
  }

  std::vector<WORD> events;
  int groupsRead{0};

protected:
  DECLARE_MESSAGE_MAP()

  LRESULT OnSocketNotify(WPARAM, LPARAM lParam) {
    const WORD event = LOWORD(static_cast<DWORD_PTR>(lParam));
    events.push_back(event);
    if (event == CWndSocket::kNotifyConnected)
      Requests().SendHello(0);
    else if (event == CWndSocket::kNotifyReceived && m_link && m_link->IsConnected())
      ReadAndDispatch();
    return 0;
  }

private:
  CLoginRequests Requests() { return CLoginRequests(m_link.get()); }
  void ReadAndDispatch() {
    const CString group = m_link->ReadFrames();
    if (group.IsEmpty())
      return;
    ++groupsRead;
    m_dispatcher.DispatchServerFrames(group);
  }

  CSessionRecord m_login{"alice", "pw1"};
  std::unique_ptr<CServerLink> m_link;
  CServerDispatcher m_dispatcher{*this};
};

BEGIN_MESSAGE_MAP(CLoginHarness, CWnd)
  ON_MESSAGE(CWndSocket::kNotifyMessage, OnSocketNotify)
END_MESSAGE_MAP()

class CButtonScript : public platform::UiScript {
public:
  std::optional<INT_PTR> OnModalDialog(UINT, CDialog*, HWND dialog) override {
    CWnd::FromHandle(dialog)->SetDlgItemText(CLoginProfile::kIdEdit, "carol");
    CWnd::FromHandle(dialog)->SetDlgItemText(CLoginProfile::kPasswordEdit, "pw9");
    return IDOK;
  }
  std::optional<int> OnMessageBox(const char* text, const char*, UINT) override {
    shown.push_back(text);
    return answer;
  }
  int answer{IDOK};
  std::vector<std::string> shown;
};

std::vector<std::string> Pairs(const std::vector<PeerRecord>& records) {
  std::vector<std::string> pairs;
  for (const PeerRecord& record : records)
    pairs.push_back(record.major + "," + record.minor);
  return pairs;
}

bool PumpUntil(const std::function<bool()>& condition) { return platform::RunUntil(condition, 5000); }

class LoginExchangeTest : public ::testing::Test {
protected:
  GameServerPeer peer;
  CButtonScript script;
  platform::ScopedUiScript scoped{&script};
  CLoginHarness frame;
};

TEST_F(LoginExchangeTest, HelloLoginAndThePostLoginRequestsInOrder) {
  frame.Connect(peer.Port());
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 6; }));
  const auto records = peer.Records();
  EXPECT_EQ(Pairs(records), (std::vector<std::string>{"0,1", "1,1", "1,11", "0,3", "0,2", "3,6"}));
  const std::string sender = records[0].sender;
  EXPECT_NE(sender, "0");
  EXPECT_EQ(records[0].raw, "\x1b\t" + sender + "/8/0/1/1/|OB_1.5|\x1b\n");
  EXPECT_EQ(records[1].raw, "\x1b\t" + sender + "/11/1/1/1/|alice|pw1|\x1b\n");
  EXPECT_EQ(records[2].raw, "\x1b\t" + sender + "/4/1/11/1/|15|\x1b\n");
  EXPECT_EQ(records[3].raw, "\x1b\t" + sender + "/4/0/3/1/|00|\x1b\n");
  EXPECT_EQ(records[4].raw, "\x1b\t" + sender + "/0/0/2/1/\x1b\n");
  EXPECT_EQ(records[5].raw, "\x1b\t" + sender + "/0/3/6/1/\x1b\n");
  EXPECT_EQ(frame.CallsNamed("OnLoginReply"), std::vector<std::string>{"OnLoginReply:|3|Welcome|"});
}

TEST_F(LoginExchangeTest, TheIdAndPasswordTypedInTheLoginDialogGoOnTheWire) {
  static platform::ResourceModule& module = platform::CreateResourceModule("login-exchange-tests");
  platform::AddDialogTemplate(module, CConnectDlg::kTemplateId, CConnectDlg::BuildTemplate());
  platform::ResourceScope scope(module.Handle());
  platform::ScopedPlatformHome home;
  platform::Profile profile("Orvanta");
  CLoginProfile remembered(profile);
  CString id;
  CString password;
  ASSERT_TRUE(CConnectDlg::RunLoginPass(&frame, remembered, id, password));
  frame.Connect(peer.Port(), id, password);
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 2; }));
  EXPECT_EQ(peer.Records()[1].payload, "|carol|pw9|");
  // Nothing saved before: "Save" reads 0, so the box starts off and the password is not kept.
  EXPECT_EQ(profile.GetProfileString("USER", "PassWord"), CLoginProfile::kDefaultPassword);
}

TEST_F(LoginExchangeTest, ARecordSplitOverTwoSegmentsIsDispatchedOnceWhole) {
  const std::string accepted = GameServerPeer::LoginAccepted("1", "split notice");
  peer.ReplyOnce(1, 1, {{accepted.substr(0, 9), 0}, {accepted.substr(9), 50}});
  frame.Connect(peer.Port());
  ASSERT_TRUE(PumpUntil([&] { return !frame.CallsNamed("OnLoginReply").empty(); }));
  platform::RunUntil([] { return false; }, 100);
  EXPECT_EQ(frame.CallsNamed("OnLoginReply"), std::vector<std::string>{"OnLoginReply:|1|split notice|"});
}

TEST_F(LoginExchangeTest, AlreadyLoggedInReleasesTheOldLoginAndLogsInAgain) {
  peer.ReplyOnce(1, 1, {{GameServerPeer::LoginRefused("204", "Already logged in."), 0}});
  peer.ReplyAlways(1, 8, {{GameServerPeer::Record(1, 8, "|alice|"), 0}});
  script.answer = IDOK;
  frame.Connect(peer.Port());
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 8; }));
  const auto records = peer.Records();
  EXPECT_EQ(Pairs(records), (std::vector<std::string>{"0,1", "1,1", "1,8", "1,1", "1,11", "0,3", "0,2", "3,6"}));
  EXPECT_EQ(records[2].flag, "\x01");
  EXPECT_EQ(records[2].payload, "|alice|");
  EXPECT_EQ(records[3].payload, "|alice|pw1|");
  EXPECT_EQ(script.shown, std::vector<std::string>{"Already logged in."});
}

TEST_F(LoginExchangeTest, RefusedLoginCancelledLogsOutAndTheRestOfTheReadIsHandled) {
  peer.ReplyOnce(1, 1, {{GameServerPeer::LoginRefused("3", "Wrong password.") +
                             GameServerPeer::WaitingRoomList({"room one"}), 0}});
  script.answer = IDCANCEL;
  frame.Connect(peer.Port());
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 3; }));
  platform::RunUntil([] { return false; }, 100);
  EXPECT_EQ(Pairs(peer.Records()), (std::vector<std::string>{"0,1", "1,1", "1,2"}));
  EXPECT_EQ(frame.CallsNamed("OnWaitingRoomList").size(), 1u);
  EXPECT_EQ(script.shown, std::vector<std::string>{"Wrong password."});
}

TEST_F(LoginExchangeTest, RefusedLoginRetriedClosesTheLink) {
  peer.ReplyOnce(1, 1, {{GameServerPeer::LoginRefused("3", "Wrong password."), 0}});
  script.answer = IDRETRY;
  frame.Connect(peer.Port());
  ASSERT_TRUE(PumpUntil([&] { return !frame.CallsNamed("CloseLink").empty(); }));
  EXPECT_EQ(frame.CallsNamed("SetConnected"), std::vector<std::string>{"SetConnected:0"});
  EXPECT_TRUE(frame.CallsNamed("SendLogout").empty());
}

TEST_F(LoginExchangeTest, TheServerClosingTheConnectionReachesTheFrame) {
  frame.Connect(peer.Port());
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 6; }));
  peer.CloseConnection();
  ASSERT_TRUE(PumpUntil([&] {
    return std::find(frame.events.begin(), frame.events.end(), CWndSocket::kNotifyClosed) != frame.events.end();
  }));
}

}  // namespace
