#include "client/relay/RelaySocket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
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

TEST_F(RelaySocketTest, LoginAndQuestionTextsCannotAddProtocolLinesOrFields) {
  ASSERT_TRUE(socket.Connect(&owner, "127.0.0.1", peer.Port()));
  ASSERT_TRUE(socket.Login("al|ice\nqc|x", "p|w\r\n1"));
  EXPECT_TRUE(socket.SendQuestion("who|wins?\nua|mallory|pw|C\n"));
  ASSERT_TRUE(peer.WaitForLines(2, 2000));
  EXPECT_EQ(peer.Received(), (std::vector<std::string>{"ua|aliceqcx|pw1|C", "qc|whowins?uamallorypwC"}));
}

// Replies are told apart by their length: "ua|cancel" (9 bytes) is read as six letters, "ua|ok"
// (5 bytes) as two. Neither may wait for the clock, nor reach the owner as a relay line.
TEST_F(RelaySocketTest, ReplyBoundariesAreDecidedWithoutWaiting) {
  const struct {
    const char* reply;
    bool loggedIn;
    bool deliveredAsLine;
  } cases[] = {
      {"ua|cancel\n", false, false}, {"UA|Cancel\n", false, false}, {"ua|ok\n", true, false},
      {"ua|OK\n", true, false},      {"ua|o\n", false, true},        {"ua|cance\n", false, true},
  };
  for (const auto& c : cases) {
    // The reply is in before the login starts: the manual clock never races the peer.
    RelayPeer replying;
    replying.SkipLogin();
    replying.Send(c.reply);
    CRelaySocket s;
    owner.events.clear();
    ASSERT_TRUE(s.Connect(&owner, "127.0.0.1", replying.Port()));
    const int length = static_cast<int>(std::strlen(c.reply));
    for (int i = 0; i < 400 && s.GetPendingBytes() < length; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(s.GetPendingBytes(), length);
    platform::ManualClockScope clock;
    const DWORD start = GetTickCount();
    EXPECT_EQ(s.Login("bob", "pw") == TRUE, c.loggedIn) << c.reply;
    EXPECT_EQ(!owner.events.empty(), c.deliveredAsLine) << c.reply;
    // A line that is no reply makes the login wait out the limit; a reply ends it at once.
    EXPECT_EQ(GetTickCount() - start > CRelaySocket::kWaitLimitMs, c.deliveredAsLine) << c.reply;
  }
}

TEST_F(RelaySocketTest, ReadNoticeWithNothingWaitingReadsNothingAndWaitsForNothing) {
  ConnectAndLogin();
  platform::PumpMessages();
  owner.events.clear();
  platform::ManualClockScope clock;
  const DWORD start = GetTickCount();
  socket.DispatchEvent(FD_READ, 0);
  EXPECT_TRUE(owner.events.empty());
  EXPECT_EQ(GetTickCount(), start);
  EXPECT_EQ(socket.GetErrorCode(), 0u);
  EXPECT_TRUE(socket.IsOpen());
}

TEST_F(RelaySocketTest, BytesReadAheadNeverReachTheNextConnection) {
  ConnectAndLogin();
  socket.AsyncSelect(0);
  peer.Send("te|1|old\nte|2|old\n");
  WaitForPending(18);
  ASSERT_TRUE(socket.ReadLine());
  EXPECT_STREQ(socket.GetLine(), "te|1|old");  // "te|2|old" now waits in the read-ahead

  RelayPeer next;
  next.SetLoginReply("ua|ok\nte|1|new\n");
  ASSERT_TRUE(socket.Connect(&owner, "127.0.0.1", next.Port()));
  EXPECT_EQ(socket.GetPendingBytes(), 0);
  ASSERT_TRUE(socket.Login("alice", "pw1"));
  ASSERT_TRUE(PumpUntilLines(1));
  EXPECT_EQ(LinesSeen(), (std::vector<std::string>{"te|1|new"}));
}

// A socket fed by a script on the manual clock: each piece becomes receivable at its time.
class ScriptedSocket : public CRelaySocket {
public:
  struct Piece {
    DWORD atMs;
    std::string bytes;
  };
  explicit ScriptedSocket(std::vector<Piece> script) : m_script(std::move(script)), m_start(GetTickCount()) {}

  int Receive(void* buffer, int length, int flags) override {
    (void)flags;
    if (m_next == m_script.size() || GetTickCount() - m_start < m_script[m_next].atMs) {
      WSASetLastError(WSAEWOULDBLOCK);
      return SOCKET_ERROR;
    }
    const std::string& bytes = m_script[m_next++].bytes;
    const int count = std::min(length, static_cast<int>(bytes.size()));
    std::memcpy(buffer, bytes.data(), static_cast<size_t>(count));
    return count;
  }

private:
  std::vector<Piece> m_script;
  size_t m_next{0};
  DWORD m_start;
};

// The line wait counts from the last byte; the block wait counts once for the whole block.
TEST(RelaySocketWaitTest, LineWaitRestartsWithEachByteAndBlockWaitDoesNot) {
  platform::ManualClockScope clock;
  {
    ScriptedSocket s({{0, "a"}, {50000, "b"}, {100000, "c"}, {150000, "\n"}});
    ASSERT_TRUE(s.ReadLine()) << s.GetErrorText().GetString();
    EXPECT_STREQ(s.GetLine(), "abc");
  }
  {
    ScriptedSocket s({{0, "a"}, {50000, "b"}, {111000, "\n"}});
    EXPECT_FALSE(s.ReadLine());
    EXPECT_EQ(s.GetErrorCode(), CRelaySocket::kReceiveTimeout);
    EXPECT_STREQ(s.GetLine(), "ab");
  }
  {
    ScriptedSocket s({{0, "ab"}, {30000, "cd"}, {59000, "ef"}});
    char block[6];
    ASSERT_TRUE(s.ReceiveBlock(block, 6));
    EXPECT_EQ(std::string(block, 6), "abcdef");
  }
  {
    ScriptedSocket s({{0, "ab"}, {50000, "cd"}, {100000, "ef"}});
    char block[6];
    EXPECT_FALSE(s.ReceiveBlock(block, 6));
    EXPECT_EQ(s.GetErrorCode(), CRelaySocket::kReceiveTimeout);
  }
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
