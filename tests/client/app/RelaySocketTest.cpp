#include "client/app/RelaySocket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "peers/client/RelayPeer.h"
#include "platform/messageloop.h"
#include "platform/time.h"
#include "platform/windows.h"

namespace {

struct SocketEvent {
  int event;
  int success;
  std::string line;
};

// The socket's owner: records each event with the line the socket held while it was handled.
class OwnerWnd : public CWnd {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_SOCKET_EVENT) return CWnd::WindowProc(message, wParam, lParam);
    events.push_back({static_cast<int>(wParam), static_cast<int>(lParam),
                      std::string(socket->GetLine(), static_cast<size_t>(socket->GetLineLength()))});
    if (onLine && wParam == CRelaySocket::kEventLine) onLine(events.back().line);
    return 0;
  }

  CRelaySocket* socket{nullptr};
  std::function<void(const std::string&)> onLine;
  std::vector<SocketEvent> events;
};

class RelaySocketTest : public ::testing::Test {
protected:
  void SetUp() override {
    platform::ResetMessageQueue();
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    owner.socket = &socket;
  }
  void TearDown() override {
    socket.Close();
    owner.DestroyWindow();
    platform::ResetMessageQueue();
  }

  void ConnectAndLogin() {
    ASSERT_TRUE(socket.Connect(&owner, "127.0.0.1", peer.Port())) << socket.GetErrorText().GetString();
    ASSERT_TRUE(socket.Login("alice", "pw1")) << socket.GetErrorText().GetString();
  }
  // Waits in real time until the socket holds at least count unread bytes.
  void WaitForPending(int count) {
    for (int i = 0; i < 400 && socket.GetPendingBytes() < count; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_GE(socket.GetPendingBytes(), count);
  }
  std::vector<std::string> LinesSeen() const {
    std::vector<std::string> lines;
    for (const SocketEvent& e : owner.events) {
      if (e.event == CRelaySocket::kEventLine && e.success == 1) lines.push_back(e.line);
    }
    return lines;
  }
  bool PumpUntilLines(size_t count) {
    return platform::RunUntil([&] { return LinesSeen().size() >= count; }, 3000);
  }

  RelayPeer peer;
  OwnerWnd owner;
  CRelaySocket socket;
};

TEST_F(RelaySocketTest, LoginSendsTheLoginLineAndAcceptsOk) {
  ConnectAndLogin();
  ASSERT_TRUE(peer.WaitForLines(1, 2000));
  EXPECT_EQ(peer.Received()[0], "ua|alice|pw1|C");
  EXPECT_EQ(socket.GetErrorCode(), 0u);
}

TEST_F(RelaySocketTest, LoginReplyInCapitalsIsAccepted) {
  peer.SetLoginReply("UA|OK\n");
  ConnectAndLogin();
  EXPECT_STREQ(socket.GetLine(), "ua|ok");
}

TEST_F(RelaySocketTest, RefusedOrOddRepliesFailWith1502) {
  for (const char* reply : {"ua|cancel\n", "ua|ok\r\n", "ua|okay\n"}) {
    RelayPeer refusing;
    refusing.SetLoginReply(reply);
    CRelaySocket s;
    ASSERT_TRUE(s.Connect(&owner, "127.0.0.1", refusing.Port()));
    EXPECT_FALSE(s.Login("bob", "bad")) << reply;
    EXPECT_EQ(s.GetErrorCode(), CRelaySocket::kLoginFailed) << reply;
    EXPECT_EQ(s.GetErrorText(), "Confirm user's id and password.");
  }
}

TEST_F(RelaySocketTest, LinesAheadOfTheReplyGoToTheOwnerFirst) {
  peer.SetBeforeReply("am|001|b|dd|1|000000|000000\nUA|CANCEL\n");
  ConnectAndLogin();
  EXPECT_EQ(LinesSeen(), (std::vector<std::string>{"am|001|b|dd|1|000000|000000", "UA|CANCEL"}));
}

TEST_F(RelaySocketTest, NoReplyWithinSixtySecondsOnTheManualClockIs1502) {
  peer.SetLoginReply("");
  ASSERT_TRUE(socket.Connect(&owner, "127.0.0.1", peer.Port()));
  platform::ManualClockScope clock;
  const DWORD start = GetTickCount();
  EXPECT_FALSE(socket.Login("alice", "pw1"));
  EXPECT_EQ(socket.GetErrorCode(), CRelaySocket::kLoginFailed);
  EXPECT_GT(GetTickCount() - start, CRelaySocket::kWaitLimitMs);
  EXPECT_LT(GetTickCount() - start, CRelaySocket::kWaitLimitMs + 1000);
}

TEST_F(RelaySocketTest, LinesKeepTheirCarriageReturn) {
  ConnectAndLogin();
  peer.Send("sr|010000|010000\r\nte|1|hi\n");
  ASSERT_TRUE(PumpUntilLines(2));
  EXPECT_EQ(LinesSeen(), (std::vector<std::string>{"sr|010000|010000\r", "te|1|hi"}));
  EXPECT_EQ(owner.events[0].line.size(), 17u);
}

TEST_F(RelaySocketTest, LineOf65536BytesWithoutLineFeedEndsThere) {
  ConnectAndLogin();
  peer.Send(std::string(CRelaySocket::kMaxLine, 'x') + "yz\n");
  ASSERT_TRUE(PumpUntilLines(2));
  const std::vector<std::string> lines = LinesSeen();
  EXPECT_EQ(lines[0], std::string(CRelaySocket::kMaxLine, 'x'));
  EXPECT_EQ(lines[1], "yz");
}

TEST_F(RelaySocketTest, PhotographBlockIsReadWholeRightAfterItsLine) {
  ConnectAndLogin();
  std::string photo("\xFF\xD8\n\r\x00\x01", 6);
  std::string block;
  owner.onLine = [&](const std::string& line) {
    if (line != "bp|6") return;
    block.assign(6, '?');
    EXPECT_TRUE(socket.ReceiveBlock(block.data(), 6));
  };
  peer.Send("bp|6\n" + photo + "te|1|after\n");
  ASSERT_TRUE(PumpUntilLines(2));
  EXPECT_EQ(block, photo);
  EXPECT_EQ(LinesSeen().back(), "te|1|after");
}

TEST_F(RelaySocketTest, ShortBlockTimesOutWith1503) {
  ConnectAndLogin();
  peer.Send("bp|10\nabc");
  WaitForPending(9);
  platform::ManualClockScope clock;
  ASSERT_TRUE(socket.ReadLine());
  EXPECT_STREQ(socket.GetLine(), "bp|10");
  char buffer[10];
  EXPECT_FALSE(socket.ReceiveBlock(buffer, 10));
  EXPECT_EQ(socket.GetErrorCode(), CRelaySocket::kReceiveTimeout);
  EXPECT_EQ(socket.GetErrorText(), "Receiving time exceed, Retry connection.");
}

TEST_F(RelaySocketTest, MissingLineFeedTimesOutWith1503) {
  ConnectAndLogin();
  peer.Send("te|1|no end");
  WaitForPending(11);
  platform::ManualClockScope clock;
  EXPECT_FALSE(socket.ReadLine());
  EXPECT_EQ(socket.GetErrorCode(), CRelaySocket::kReceiveTimeout);
}

TEST_F(RelaySocketTest, OversizedOrNegativeBlockIsRefusedWithoutReading) {
  ConnectAndLogin();
  peer.Send("abcd\n");
  WaitForPending(5);
  char byte = 0;
  EXPECT_FALSE(socket.ReceiveBlock(&byte, CRelaySocket::kMaxBlockBytes + 1));
  EXPECT_EQ(socket.GetErrorCode(), static_cast<DWORD>(WSAEMSGSIZE));
  EXPECT_FALSE(socket.ReceiveBlock(&byte, -1));
  EXPECT_EQ(socket.GetPendingBytes(), 5);
  ASSERT_TRUE(socket.ReadLine());
  EXPECT_STREQ(socket.GetLine(), "abcd");
}

TEST_F(RelaySocketTest, QuestionIsSentAsQcLine) {
  ConnectAndLogin();
  EXPECT_TRUE(socket.SendQuestion("who wins?"));
  ASSERT_TRUE(peer.WaitForLines(2, 2000));
  EXPECT_EQ(peer.Received()[1], "qc|who wins?");
}

TEST_F(RelaySocketTest, ServerCloseReachesTheOwnerAfterTheLastLine) {
  ConnectAndLogin();
  peer.Send("eh\n");
  peer.CloseClient();
  ASSERT_TRUE(platform::RunUntil([&] { return !owner.events.empty() && owner.events.back().event == 32; }, 3000));
  EXPECT_EQ(LinesSeen(), (std::vector<std::string>{"eh"}));
  EXPECT_EQ(owner.events.back().success, 1);
  socket.AsyncSelect(0);
  EXPECT_FALSE(socket.ReadLine());
  EXPECT_EQ(socket.GetErrorText(), "WinSock error 10101: Disconnect");
}

TEST_F(RelaySocketTest, LinesThatCameWithTheLoginReplyAreDeliveredAfterLogin) {
  peer.SetLoginReply("ua|ok\nte|1|a\nte|2|b\n");
  ConnectAndLogin();
  EXPECT_TRUE(LinesSeen().empty());
  ASSERT_TRUE(PumpUntilLines(2));
  EXPECT_EQ(LinesSeen(), (std::vector<std::string>{"te|1|a", "te|2|b"}));
}

TEST_F(RelaySocketTest, BurstThenCloseDeliversEveryLineOnceInOrderBeforeTheClose) {
  ConnectAndLogin();
  std::string burst;
  std::vector<std::string> expected;
  for (int i = 0; i < 500; ++i) {
    expected.push_back("te|" + std::to_string(i) + "|x");
    burst += expected.back() + "\n";
  }
  peer.Send(burst);
  peer.CloseClient();
  ASSERT_TRUE(platform::RunUntil([&] { return !owner.events.empty() && owner.events.back().event == 32; }, 5000));
  EXPECT_EQ(LinesSeen(), expected);
  platform::PumpMessages();
  EXPECT_EQ(owner.events.size(), 501u);  // no line twice, nothing after the close
}

TEST_F(RelaySocketTest, OwnerClosingInsideALineStopsDelivery) {
  ConnectAndLogin();
  owner.onLine = [&](const std::string& line) {
    if (line == "te|2|b") socket.Close();
  };
  peer.Send("te|1|a\nte|2|b\nte|3|c\n");
  ASSERT_TRUE(PumpUntilLines(2));
  platform::RunUntil([] { return false; }, 200);
  EXPECT_EQ(LinesSeen(), (std::vector<std::string>{"te|1|a", "te|2|b"}));
  EXPECT_FALSE(socket.IsOpen());
  EXPECT_EQ(socket.GetPendingBytes(), -1);
}

TEST_F(RelaySocketTest, RefusedConnectionGivesTheWinsockText) {
  unsigned short port = 0;
  {
    RelayPeer gone;
    port = gone.Port();
  }
  EXPECT_FALSE(socket.Connect(&owner, "127.0.0.1", port));
  EXPECT_EQ(socket.GetErrorText(), "WinSock error 10061: Connection refused");
  EXPECT_FALSE(socket.Connect(&owner, "not.an.address", port));
}

TEST(RelaySocketErrorTest, TextsOfErrors) {
  EXPECT_EQ(CRelaySocket::WinsockErrorText(10100), "Not a WinSock error");
  EXPECT_EQ(CRelaySocket::WinsockErrorText(11004),
            "WinSock error 11004: Valid name, no data record of requested type");
  CRelaySocket socket;
  EXPECT_FALSE(socket.IsOpen());
  EXPECT_FALSE(socket.Send("x", 1));
  EXPECT_EQ(socket.GetErrorCode(), 0u);
  EXPECT_EQ(socket.GetErrorText(), "");
  socket.SetError(CRelaySocket::kWinsockError, 10035);
  EXPECT_EQ(socket.GetErrorText(), "WinSock error 10035: Operation would block");
}

}  // namespace
