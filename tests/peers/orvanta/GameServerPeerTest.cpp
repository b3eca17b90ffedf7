#include "GameServerPeer.h"
#include "GameServerScript.h"
#include "support/ChildProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

// A plain blocking client socket on the peer's port.
class RawClient {
public:
  explicit RawClient(unsigned short port) {
    m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    m_connected = ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    timeval timeout{2, 0};
    ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  }
  ~RawClient() { ::close(m_fd); }
  bool Connected() const { return m_connected; }
  void Write(const std::string& bytes) { ASSERT_EQ(::send(m_fd, bytes.data(), bytes.size(), 0), (ssize_t)bytes.size()); }
  // Reads until at least count bytes came or the stream ends.
  std::string ReadAtLeast(std::size_t count) {
    std::string all;
    char buffer[1024];
    while (all.size() < count) {
      const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
      if (n <= 0)
        break;
      all.append(buffer, static_cast<std::size_t>(n));
    }
    return all;
  }
  // True when the server ended the stream.
  bool Ended() {
    char byte;
    return ::recv(m_fd, &byte, 1, 0) == 0;
  }

private:
  int m_fd{-1};
  bool m_connected{false};
};

std::string ClientRecord(int major, int minor, const std::string& payload, const std::string& flag = "1") {
  return "\x1b\t77/" + std::to_string(payload.size()) + "/" + std::to_string(major) + "/" + std::to_string(minor) +
         "/" + flag + "/" + payload + "\x1b\n";
}

TEST(GameServerPeerTest, ReadsRecordsSplitAnywhereAndJoinedTogether) {
  GameServerPeer peer;
  peer.NoReply(0, 1);
  peer.NoReply(1, 1);
  RawClient client(peer.Port());
  ASSERT_TRUE(client.Connected());
  const std::string stream = ClientRecord(0, 1, "|OB_1.5|") + ClientRecord(1, 1, "|a/b|c|") +
                             ClientRecord(1, 8, "|a|", "\x01");
  // One byte at a time, the ESC of each end split from its LF.
  for (char byte : stream) {
    client.Write(std::string(1, byte));
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ASSERT_TRUE(peer.WaitForRecords(3));
  const auto records = peer.Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_TRUE(records[0].Is(0, 1));
  EXPECT_EQ(records[0].sender, "77");
  EXPECT_EQ(records[1].payload, "|a/b|c|");
  EXPECT_EQ(records[2].flag, "\x01");
  EXPECT_EQ(records[2].raw, ClientRecord(1, 8, "|a|", "\x01"));
  // Joined in one segment.
  client.Write(ClientRecord(3, 6, "") + ClientRecord(0, 2, ""));
  ASSERT_TRUE(peer.WaitForRecords(5));
  EXPECT_TRUE(peer.Records()[4].Is(0, 2));
}

TEST(GameServerPeerTest, AnswersHelloAndLoginAndScriptedReplies) {
  GameServerPeer peer;
  peer.ReplyOnce(1, 1, {{GameServerPeer::LoginRefused("204", "busy"), 0}});
  RawClient client(peer.Port());
  client.Write(ClientRecord(0, 1, "|OB_1.5|"));
  EXPECT_EQ(client.ReadAtLeast(GameServerPeer::HelloReply().size()), GameServerPeer::HelloReply());
  client.Write(ClientRecord(1, 1, "|a|b|"));
  const std::string refused = GameServerPeer::LoginRefused("204", "busy");
  EXPECT_EQ(client.ReadAtLeast(refused.size()), refused);
  client.Write(ClientRecord(1, 1, "|a|b|"));
  const std::string accepted = GameServerPeer::LoginAccepted();
  EXPECT_EQ(client.ReadAtLeast(accepted.size()), accepted);
  EXPECT_EQ(accepted, std::string("\x1b\t0/11/1/1/1/|3|Welcome|\x1b\n"));
}

TEST(GameServerPeerTest, ClosesAndServesTheNextConnection) {
  GameServerPeer peer;
  {
    RawClient first(peer.Port());
    ASSERT_TRUE(first.Connected());
    first.Write(ClientRecord(3, 6, ""));
    ASSERT_TRUE(peer.WaitForRecords(1));
    peer.Send({{GameServerPeer::Record(3, 6, "|hi|"), 0}});
    peer.CloseConnection();
    const std::string notice = GameServerPeer::Record(3, 6, "|hi|");
    EXPECT_EQ(first.ReadAtLeast(notice.size()), notice);
    EXPECT_TRUE(first.Ended());
  }
  RawClient second(peer.Port());
  second.Write(ClientRecord(0, 2, ""));
  ASSERT_TRUE(peer.WaitForRecords(2));
  EXPECT_EQ(peer.Records()[1].connection, 1);
  EXPECT_EQ(peer.ConnectionCount(), 2);
}

TEST(GameServerScriptTest, RepliesFillTheClientsFieldsAndTakeTurns) {
  std::istringstream text(
      "# a comment\n"
      "on 1 1 send 1 1 1 |3|hello {id}|\n"
      "on 4 14 send 5 14 1 |a|b|{2n-1}|{2}|{3}|{9}|\n"
      "turn 2 4 14 send 5 14 1 |a|b|{2n}|W[cc]|{x}|\n");
  GameServerScript script;
  std::string error;
  ASSERT_TRUE(script.Load(text, error)) << error;
  GameServerPeer peer;
  peer.SetPlaceCheck(GameServerPeer::PlaceCheck::kOff);  // moves with no room: only the replies count here
  script.Install(peer);
  RawClient client(peer.Port());
  client.Write(ClientRecord(1, 1, "|amy|pw|"));
  const std::string login = GameServerPeer::Record(1, 1, "|3|hello amy|");
  EXPECT_EQ(client.ReadAtLeast(login.size()), login);
  client.Write(ClientRecord(4, 14, "|k|7|B[pd]|BL[80]|"));
  const std::string first = GameServerPeer::Record(5, 14, "|a|b|1|B[pd]|BL[80]||");
  EXPECT_EQ(client.ReadAtLeast(first.size()), first);
  // The second move gets its echo and the turn's own answer, in that order.
  client.Write(ClientRecord(4, 14, "|k|7|B[dp]|BL[70]|"));
  const std::string second =
      GameServerPeer::Record(5, 14, "|a|b|3|B[dp]|BL[70]||") + GameServerPeer::Record(5, 14, "|a|b|4|W[cc]|{x}|");
  EXPECT_EQ(client.ReadAtLeast(second.size()), second);

  for (const char* bad : {"on 1 1 send 1 1\n", "turn 0 4 14 send 5 14 1 |x|\n", "reply 1 1 send 1 1 1 |x|\n"}) {
    std::istringstream wrong(std::string("\n") + bad);
    GameServerScript other;
    EXPECT_FALSE(other.Load(wrong, error)) << bad;
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
  }
}

TEST(GameServerScriptTest, LinesForOneUserAnswerOnlyThatUsersConnection) {
  std::istringstream text(
      "on 1 1 send 1 1 1 |3|hello|\n"
      "as hana on 1 1 send 1 1 1 |3|back|1|7|7|2|\n"
      "on 5 14 send 5 14 1 |a|b|{2n-1}|{2}|\n"
      "as hana on 5 14 send 5 14 1 |a|b|{2n+5}|{2}|\n"
      "as hana turn 1 5 14 send 5 14 1 |a|b|8|W[qq]|\n");
  GameServerScript script;
  std::string error;
  ASSERT_TRUE(script.Load(text, error)) << error;
  GameServerPeer peer;
  peer.SetPlaceCheck(GameServerPeer::PlaceCheck::kOff);
  script.Install(peer);
  {
    RawClient hana(peer.Port());
    hana.Write(ClientRecord(1, 1, "|hana|pw|"));
    const std::string login = GameServerPeer::Record(1, 1, "|3|back|1|7|7|2|");
    EXPECT_EQ(hana.ReadAtLeast(login.size()), login);
    hana.Write(ClientRecord(5, 14, "|1|7|B[pp]|BL[60]|"));
    const std::string move =
        GameServerPeer::Record(5, 14, "|a|b|7|B[pp]|") + GameServerPeer::Record(5, 14, "|a|b|8|W[qq]|");
    EXPECT_EQ(hana.ReadAtLeast(move.size()), move);
  }
  ASSERT_TRUE(peer.WaitForRecords(2));
  // Anyone else gets the general lines only.
  RawClient amy(peer.Port());
  amy.Write(ClientRecord(1, 1, "|amy|pw|"));
  const std::string login = GameServerPeer::Record(1, 1, "|3|hello|");
  EXPECT_EQ(amy.ReadAtLeast(login.size()), login);
  amy.Write(ClientRecord(5, 14, "|1|7|B[pp]|BL[60]|"));
  const std::string move = GameServerPeer::Record(5, 14, "|a|b|1|B[pp]|");
  EXPECT_EQ(amy.ReadAtLeast(move.size()), move);
  for (const char* bad : {"as\n", "as hana\n", "as hana reply 1 1 send 1 1 1 |x|\n"}) {
    std::istringstream wrong(bad);
    GameServerScript other;
    EXPECT_FALSE(other.Load(wrong, error)) << bad;
  }
}

// A client walked by raw records through the places the peer puts it in: every record that names
// the user's place passes, and each that names another is a fault that says what was expected.
TEST(GameServerPeerTest, ThePlaceCheckFollowsTheUserAndNamesEachRecordForAnotherPlace) {
  GameServerPeer peer;
  peer.SetPlaceCheck(GameServerPeer::PlaceCheck::kKeep);
  peer.ReplyAlways(3, 6, {{GameServerPeer::Record(3, 6, "|2|1|1|Hanbit|1|2|Eunha|"), 0}});
  peer.ReplyAlways(3, 1, {{GameServerPeer::Record(3, 1, "|x|"), 0}});
  peer.ReplyAlways(4, 3, {{GameServerPeer::Record(5, 3, "|7|h1|amy|amy|5K|1|3|0|"), 0}});
  peer.ReplyAlways(4, 4, {{GameServerPeer::Record(5, 4, "|1|7|3|amy|"), 0}});
  peer.ReplyAlways(7, 1, {{GameServerPeer::Record(7, 1, "|1|10|Club|1|"), 0}});
  peer.ReplyAlways(7, 2, {{GameServerPeer::Record(7, 2, "|10|Club|2|2|Board|2|0|B10|3|Room|4|0|K10|"), 0}});
  peer.ReplyAlways(7, 10, {{GameServerPeer::Record(7, 10, "|10|2|-1|0|"), 0}});
  RawClient client(peer.Port());
  std::size_t sent = 0;
  // Each step: a client record, and the fault it must make ("" for none).
  auto step = [&](const std::string& record, const std::string& fault) {
    client.Write(record);
    // The peer writes its replies before it lets a waiter see the record.
    ASSERT_TRUE(peer.WaitForRecords(++sent));
    const std::vector<std::string> faults = peer.PlaceFaults();
    if (fault.empty()) {
      EXPECT_TRUE(faults.empty()) << record << ": " << (faults.empty() ? "" : faults.back());
    } else {
      ASSERT_EQ(faults.size(), 1u) << record;
      EXPECT_NE(faults[0].find(fault), std::string::npos) << faults[0];
    }
  };
  auto steps = [&](std::initializer_list<std::pair<std::string, std::string>> list) {
    for (const auto& [record, fault] : list) {
      step(record, fault);
      if (testing::Test::HasFatalFailure() || !peer.PlaceFaults().empty())
        return;
    }
  };
  steps({{ClientRecord(1, 1, "|amy|pw|"), ""},
         {ClientRecord(3, 6, ""), ""},
         {ClientRecord(3, 1, "|1|"), ""},
         {ClientRecord(3, 3, "|1|5|"), ""},
         {ClientRecord(3, 2, "|1|"), ""},
         {ClientRecord(4, 3, "|1|7||"), ""},
         {ClientRecord(4, 11, "|1|7|POM|"), ""}});
  // An entry naming another room while the user sits in room 7 is taken as a re-entry: the user
  // stays in room 7.
  peer.Send({{GameServerPeer::Record(0, 53, "|\xff\xfe|\xb0|"), 0}});
  ASSERT_TRUE(testsupport::ChildProcess::WaitUntil([&] { return peer.AllSent(); }, 3000));
  steps({{ClientRecord(4, 6, "|1|7|hello|"), ""},
         {ClientRecord(4, 4, "|1|7|"), ""},
         {ClientRecord(3, 1, "|1|"), ""},
         {ClientRecord(3, 2, "|1|"), ""},
         {ClientRecord(7, 1, ""), ""},
         {ClientRecord(7, 2, "|10|"), ""},
         {ClientRecord(7, 10, "|10|2|-1|10|LS|||"), ""},
         {ClientRecord(7, 11, "|10|2|5|"), ""},
         {ClientRecord(3, 6, ""), ""},
         {ClientRecord(3, 1, "|B10|"), "enters a forum's board as a waiting room"}});
  // Each fault on a connection of its own.
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{ClientRecord(3, 1, "|1|"), ClientRecord(3, 2, "|1|"), ClientRecord(3, 3, "|1|5|")},
       "after waiting room 1 was left"},
      {{ClientRecord(3, 1, "|1|"), ClientRecord(3, 3, "|2|5|")}, "expected waiting room 1"},
      {{ClientRecord(3, 1, "|9|")}, "the start screen offers no waiting room 9"},
      {{ClientRecord(3, 1, "|1|"), ClientRecord(3, 2, "|1|"), ClientRecord(4, 3, "|B10|7||")},
       "a join names the waiting room it is made from (1)"},
      {{ClientRecord(3, 1, "|1|"), ClientRecord(3, 2, "|1|"), ClientRecord(4, 3, "|1|7||"),
        ClientRecord(4, 14, "|1|7|B[dd]|BL[0]|")},
       "a move before the game of room 7 started"},
      {{ClientRecord(3, 1, "|1|"), ClientRecord(3, 2, "|1|"), ClientRecord(4, 3, "|1|7||"),
        ClientRecord(4, 4, "|1|7|"), ClientRecord(4, 6, "|1|7|hi|")},
       "a room request after game room 7 was left"},
      {{ClientRecord(3, 1, "|1|"), ClientRecord(3, 2, "|1|"), ClientRecord(4, 3, "|1|7||"),
        ClientRecord(3, 4, "||7|")},
       "expected game room 7 of waiting room 1"},
  };
  for (const auto& [records, fault] : cases) {
    SCOPED_TRACE(fault);
    peer.CloseConnection();
    RawClient next(peer.Port());
    const std::size_t before = peer.PlaceFaults().size();
    std::size_t count = peer.RecordCount();
    for (const std::string& record : {ClientRecord(1, 1, "|amy|pw|"), ClientRecord(3, 6, "")}) {
      next.Write(record);
      ASSERT_TRUE(peer.WaitForRecords(++count));
    }
    for (const std::string& record : records) {
      next.Write(record);
      ASSERT_TRUE(peer.WaitForRecords(++count));
    }
    const std::vector<std::string> faults = peer.PlaceFaults();
    ASSERT_EQ(faults.size(), before + 1);
    EXPECT_NE(faults.back().find(fault), std::string::npos) << faults.back();
  }
}

#ifdef ORVANTA_PEER_SCRIPTS
TEST(GameServerScriptTest, TheDemoScriptLoads) {
  std::ifstream file(ORVANTA_PEER_SCRIPTS "/demo.txt");
  ASSERT_TRUE(file);
  GameServerScript script;
  std::string error;
  EXPECT_TRUE(script.Load(file, error)) << error;
}
#endif

}  // namespace
