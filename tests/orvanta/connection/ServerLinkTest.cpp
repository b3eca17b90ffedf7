#include "orvanta/connection/ServerLink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <platform/messageloop.h>

#include "orvanta/connection/PendingGroup.h"
#include "peers/orvanta/LoopbackServer.h"

namespace {

const std::string kEsc = "\x1b";

// Stands in for the main frame: records the link's notifications and, like the frame, reads a
// group on every event 1.
class CLinkOwner : public CWnd {
public:
  CLinkOwner() { CreateEx(0, nullptr, "link owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr); }
  ~CLinkOwner() override { DestroyWindow(); }

  int Count(WORD event) const {
    return static_cast<int>(std::count_if(events.begin(), events.end(), [event](auto& e) { return e.first == event; }));
  }
  int IndexOf(WORD event) const {
    auto found = std::find_if(events.begin(), events.end(), [event](auto& e) { return e.first == event; });
    return found == events.end() ? -1 : static_cast<int>(found - events.begin());
  }
  int LastIndexOf(WORD event) const {
    for (int i = static_cast<int>(events.size()) - 1; i >= 0; --i)
      if (events[static_cast<std::size_t>(i)].first == event)
        return i;
    return -1;
  }
  WORD ValueOf(WORD event) const {
    auto found = std::find_if(events.begin(), events.end(), [event](auto& e) { return e.first == event; });
    return found == events.end() ? 0 : found->second;
  }

  std::vector<std::pair<WORD, WORD>> events;
  std::function<void(WORD event, WORD value)> onEvent;

protected:
  DECLARE_MESSAGE_MAP()
  LRESULT OnLinkEvent(WPARAM, LPARAM lParam) {
    const WORD event = LOWORD(static_cast<DWORD_PTR>(lParam));
    const WORD value = HIWORD(static_cast<DWORD_PTR>(lParam));
    events.emplace_back(event, value);
    if (onEvent)
      onEvent(event, value);
    return 0;
  }
};

BEGIN_MESSAGE_MAP(CLinkOwner, CWnd)
  ON_MESSAGE(CWndSocket::kNotifyMessage, OnLinkEvent)
END_MESSAGE_MAP()

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
  return platform::RunUntil(condition, timeoutMs);
}

void Settle(int ms = 100) { platform::RunUntil([] { return false; }, ms); }

std::string Record(int sender, int major, int minor, const std::string& payload, const std::string& flag = "1") {
  return CServerLink::FormatFrame(sender, major, minor, CString(payload), CString(flag)).str();
}

// A payload that makes a record of exactly recordLength bytes.
std::string PayloadForRecord(int recordLength, char fill = 'p') {
  const int overhead = static_cast<int>(Record(7, 3, 4, "").size());
  std::string payload(static_cast<std::size_t>(recordLength - overhead), fill);
  // The length field grows with the payload; trim until the record fits exactly.
  while (static_cast<int>(Record(7, 3, 4, payload).size()) > recordLength)
    payload.pop_back();
  return payload;
}

std::string Joined(const std::vector<CString>& groups) {
  std::string all;
  for (const CString& group : groups)
    all += group.str();
  return all;
}

// The groups read, without the empty reads of blocks that ended no group.
std::vector<std::string> Read(const std::vector<CString>& groups) {
  std::vector<std::string> read;
  for (const CString& group : groups)
    if (!group.IsEmpty())
      read.push_back(group.str());
  return read;
}

class ServerLinkLoopback : public ::testing::Test {
protected:
  void SetUp() override {
    CWndSocket::ClearPendingArea();
    owner.onEvent = [this](WORD event, WORD) {
      if (event == CWndSocket::kNotifyReceived && link)
        groups.push_back(link->ReadFrames());
    };
  }
  void TearDown() override {
    link.reset();
    EXPECT_EQ(owner.Count(CWndSocket::kNotifyError), expectedErrors) << "no error may reach the owner";
  }

  // Connects a new link to the server and waits for event 16.
  void ConnectLink(const char* host = "127.0.0.1") {
    link = std::make_unique<CServerLink>(&owner, INVALID_SOCKET);
    ASSERT_TRUE(link->Connect(host, server.Port()));
    // A name is connected only once the loop has delivered the lookup's answer.
    if (inet_addr(host) == INADDR_NONE) {
      ASSERT_TRUE(WaitFor([&] { return owner.Count(CWndSocket::kNotifyResolved) == 1; })) << DescribeEvents();
    }
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(WaitFor([&] { return owner.Count(CWndSocket::kNotifyConnected) == 1; })) << DescribeEvents();
    ASSERT_TRUE(link->IsConnected());
  }

  std::string DescribeEvents() const {
    std::string text = "events:";
    for (auto& e : owner.events)
      text += " " + std::to_string(e.first) + "(" + std::to_string(e.second) + ")";
    return text;
  }

  std::vector<CString> NonEmptyGroups() const {
    std::vector<CString> result;
    std::copy_if(groups.begin(), groups.end(), std::back_inserter(result), [](const CString& g) { return !g.IsEmpty(); });
    return result;
  }

  CLinkOwner owner;
  LoopbackServer server;
  std::unique_ptr<CServerLink> link;
  std::vector<CString> groups;
  int expectedErrors{0};
};

}  // namespace

TEST(ServerLinkFrame, RecordBytesFollowTheWireFormat) {
  EXPECT_EQ(Record(1234, 0, 1, "|OB_1.5|"), kEsc + "\t1234/8/0/1/1/|OB_1.5|" + kEsc + "\n");
  EXPECT_EQ(Record(5, 1, 8, "|alice|", "\x01"), kEsc + "\t5/7/1/8/\x01/|alice|" + kEsc + "\n");
  EXPECT_EQ(Record(5, 3, 6, ""), kEsc + "\t5/0/3/6/1/" + kEsc + "\n");
  // The length counts bytes: a double-byte character counts two.
  EXPECT_EQ(Record(5, 2, 9, "\xb0\xa1/x"), kEsc + "\t5/4/2/9/1/\xb0\xa1/x" + kEsc + "\n");
}

TEST_F(ServerLinkLoopback, QueuedRecordsWaitForTheFlushAndSenderZeroIsTheOwnerWindow) {
  ConnectLink();
  link->QueueFrame(0, 0, 1, "|OB_1.5|", "1");
  link->QueueFrame(99, 0, 2, "", "1");
  Settle(50);
  EXPECT_EQ(server.ReceivedSize(), 0u);
  EXPECT_EQ(link->FlushFrames(), 1);
  EXPECT_EQ(link->GetSendBufferLength(), 0);

  const int ownerNumber = static_cast<int>(reinterpret_cast<std::intptr_t>(owner.GetSafeHwnd()));
  const std::string expected = Record(ownerNumber, 0, 1, "|OB_1.5|") + Record(99, 0, 2, "");
  ASSERT_TRUE(WaitFor([&] { return server.ReceivedSize() == expected.size(); }));
  EXPECT_EQ(server.Received(), expected);
  ASSERT_TRUE(WaitFor([&] { return owner.Count(CWndSocket::kNotifySent) == 1; }));
  EXPECT_EQ(owner.ValueOf(CWndSocket::kNotifySent), expected.size());
}

TEST_F(ServerLinkLoopback, FlushOfAnEmptyBufferSendsNothing) {
  ConnectLink();
  EXPECT_EQ(link->FlushFrames(), 0);
  Settle();
  EXPECT_EQ(server.ReceivedSize(), 0u);
  EXPECT_EQ(owner.Count(CWndSocket::kNotifySent), 0);
}

TEST_F(ServerLinkLoopback, RecordThatWouldOverfillTheBufferFlushesItFirst) {
  ConnectLink();
  const std::string big = Record(7, 3, 4, PayloadForRecord(4000));
  ASSERT_EQ(big.size(), 4000u);
  link->QueueFrame(7, 3, 4, CString(PayloadForRecord(4000)), "1");
  EXPECT_EQ(link->GetSendBufferLength(), 4000);

  const std::string small = Record(7, 3, 4, PayloadForRecord(100, 'q'));
  ASSERT_EQ(small.size(), 100u);
  link->QueueFrame(7, 3, 4, CString(PayloadForRecord(100, 'q')), "1");
  EXPECT_EQ(link->GetSendBufferLength(), 100) << "the 100 bytes stay buffered";
  ASSERT_TRUE(WaitFor([&] { return server.ReceivedSize() == 4000; }));
  Settle(50);
  EXPECT_EQ(server.Received(), big);

  link->FlushFrames();
  ASSERT_TRUE(WaitFor([&] { return server.ReceivedSize() == 4100; }));
  EXPECT_EQ(server.Received(), big + small);
}

TEST_F(ServerLinkLoopback, RecordLongerThanTheBufferLeavesWholeAndInOrder) {
  ConnectLink();
  const std::string first = Record(1, 0, 1, "|first|");
  const std::string huge = Record(1, 0, 2, std::string(10000, 'h'));
  const std::string last = Record(1, 0, 3, "|last|");
  link->QueueFrame(1, 0, 1, "|first|", "1");
  link->QueueFrame(1, 0, 2, CString(std::string(10000, 'h')), "1");
  link->QueueFrame(1, 0, 3, "|last|", "1");
  link->FlushFrames();
  const std::string expected = first + huge + last;
  ASSERT_TRUE(WaitFor([&] { return server.ReceivedSize() >= expected.size(); }));
  EXPECT_EQ(server.Received(), expected);
}

TEST_F(ServerLinkLoopback, BurstFromTheClientLeavesCompletelyWithoutAnotherRequest) {
  ConnectLink();
  std::string expected;
  for (int i = 0; i < 2000; ++i) {
    std::string payload = "|" + std::to_string(i) + "|" + std::string(80, 'b') + "|";
    expected += Record(3, 1, 5, payload);
    link->QueueFrame(3, 1, 5, CString(payload), "1");
  }
  link->FlushFrames();
  ASSERT_GT(expected.size(), 200000u);
  ASSERT_TRUE(WaitFor([&] { return server.ReceivedSize() == expected.size(); }));
  EXPECT_EQ(server.Received(), expected);
  EXPECT_EQ(link->GetSendQueueLength(), 0);
}

TEST_F(ServerLinkLoopback, BlocksLeftAfterShortSendsStillLeave) {
  server.PauseReading(true);
  ConnectLink();
  int small = 4096;
  ASSERT_EQ(setsockopt(link->GetSocket(), SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&small), sizeof small), 0);
  std::string expected;
  for (int i = 0; i < 2000; ++i) {
    std::string payload = "|" + std::to_string(i) + "|" + std::string(100, 'w') + "|";
    expected += Record(3, 1, 5, payload);
    link->QueueFrame(3, 1, 5, CString(payload), "1");
  }
  link->FlushFrames();
  Settle(100);
  server.PauseReading(false);
  ASSERT_TRUE(WaitFor([&] { return server.ReceivedSize() == expected.size(); })) << server.ReceivedSize();
  EXPECT_EQ(server.Received(), expected);
}

TEST_F(ServerLinkLoopback, TwoRecordsInOneSegmentAreOneGroup) {
  ConnectLink();
  const std::string both = Record(0, 3, 1, "|a|b|") + Record(0, 3, 2, "|c|");
  server.Send(both);
  ASSERT_TRUE(WaitFor([&] { return !groups.empty(); }));
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].str(), both);
}

TEST_F(ServerLinkLoopback, NulByteDoesNotCutTheGroupShort) {
  ConnectLink();
  const std::string both = Record(0, 3, 1, std::string("|a\0b|", 5)) + Record(0, 3, 2, "|after|");
  server.Send(both);
  ASSERT_TRUE(WaitFor([&] { return !groups.empty(); }));
  EXPECT_EQ(groups[0].str(), both);
}

TEST_F(ServerLinkLoopback, SplitRecordIsDeliveredOnlyWithItsSecondPart) {
  ConnectLink();
  const std::string first = Record(0, 3, 1, "|done|");
  const std::string split = Record(0, 3, 2, "|x/y/z|");
  server.Send(first + split.substr(0, 9));
  ASSERT_TRUE(WaitFor([&] { return groups.size() == 1; }));
  EXPECT_EQ(groups[0].str(), first) << "the record that ended goes on at once";
  EXPECT_EQ(CWndSocket::GetPendingLength(), 9);

  server.Send(split.substr(9));
  ASSERT_TRUE(WaitFor([&] { return groups.size() == 2; }));
  EXPECT_EQ(groups[1].str(), split);
  EXPECT_EQ(CWndSocket::GetPendingLength(), 0);
}

// A server streaming small records without pause, every write ending inside a record: each read
// hands on the records that ended, nothing more than one record's bytes is held, and the owner
// sees every record once, in order.
TEST_F(ServerLinkLoopback, RecordsCutAcrossEveryReadReachTheOwnerAsTheyEnd) {
  ConnectLink();
  std::string stream;
  for (int i = 0; i < 3000; ++i)
    stream += Record(0, 3, 4, "|1|x|2|u" + std::to_string(i) + "|3|chat line " + std::to_string(i) + "|");
  std::size_t mostHeld = 0;
  owner.onEvent = [&](WORD event, WORD) {
    if (event == CWndSocket::kNotifyReceived && link) {
      groups.push_back(link->ReadFrames());
      mostHeld = std::max(mostHeld, static_cast<std::size_t>(CWndSocket::GetPendingLength()));
    }
  };
  for (std::size_t at = 0; at < stream.size(); at += 1000)
    server.Send(stream.substr(at, 1000));
  ASSERT_TRUE(WaitFor([&] { return Joined(groups).size() == stream.size(); })) << Joined(groups).size();
  EXPECT_EQ(Joined(groups), stream);
  EXPECT_LT(mostHeld, 100u);
  EXPECT_GT(Read(groups).size(), 1u) << "records were handed on while the stream went on";
}

// While the owner is still handling what it was told of (a question it asked is open), nothing
// more is read: what arrives meanwhile comes after, in order, once the owner returns.
TEST_F(ServerLinkLoopback, BytesArrivingWhileTheOwnerHandlesEarlierOnesWaitForIt) {
  ConnectLink();
  const std::string first = Record(0, 1, 13, "|2|");
  const std::string later = Record(0, 3, 4, "|later|");
  std::vector<std::string> order;
  owner.onEvent = [&](WORD event, WORD) {
    if (event != CWndSocket::kNotifyReceived || !link)
      return;
    const CString group = link->ReadFrames();
    order.push_back(group.str());
    if (group.str() == first) {
      // The question is open for a while; the server sends more meanwhile.
      server.Send(later);
      WaitFor([&] { return server.AllSent(); });
      Settle(100);
      order.push_back("answered");
    }
  };
  server.Send(first);
  ASSERT_TRUE(WaitFor([&] { return order.size() == 3; })) << order.size();
  EXPECT_EQ(order, (std::vector<std::string>{first, "answered", later}));
}

TEST_F(ServerLinkLoopback, RecordCutBetweenItsEndBytesIsNotStranded) {
  ConnectLink();
  const std::string record = Record(0, 3, 3, "|cut|");
  server.Send(record.substr(0, record.size() - 1));
  ASSERT_TRUE(WaitFor([&] { return groups.size() == 1; }));
  EXPECT_EQ(groups[0], "");
  server.Send("\n");
  ASSERT_TRUE(WaitFor([&] { return groups.size() == 2; }));
  EXPECT_EQ(groups[1].str(), record);
}

TEST_F(ServerLinkLoopback, LongRecordArrivesIntact) {
  ConnectLink();
  const std::string record = Record(0, 9, 9, std::string(10000, 'L'));
  server.Send(record);
  ASSERT_TRUE(WaitFor([&] { return Joined(groups).size() == record.size(); }));
  auto complete = NonEmptyGroups();
  ASSERT_EQ(complete.size(), 1u) << "never handed out in pieces";
  EXPECT_EQ(complete[0].str(), record);
}

TEST_F(ServerLinkLoopback, BurstFromTheServerArrivesIntactInOrderAndInWholeRecords) {
  ConnectLink();
  std::string all;
  for (int i = 0; i < 2000; ++i)
    all += Record(0, 5, i % 100, "|" + std::to_string(i) + "|" + std::string(90, 's') + "|");
  ASSERT_GT(all.size(), 200000u);
  // Pieces of odd sizes, so that segments end inside records.
  for (std::size_t at = 0, piece = 777; at < all.size(); at += piece, piece = piece * 7 % 9001 + 500)
    server.Send(all.substr(at, piece));
  ASSERT_TRUE(WaitFor([&] { return Joined(groups).size() == all.size(); }));
  EXPECT_EQ(Joined(groups), all);
  for (const CString& group : NonEmptyGroups()) {
    EXPECT_EQ(group.str().substr(0, 2), kEsc + "\t");
    EXPECT_EQ(group.str().substr(group.GetLength() - 2), kEsc + "\n");
  }
}

TEST_F(ServerLinkLoopback, WouldBlockInAnEventIsNoErrorAndStaleNoticesAreIgnored) {
  ConnectLink();
  const WPARAM socket = static_cast<WPARAM>(link->GetSocket());
  ::SendMessage(link->GetSafeHwnd(), CWndSocket::kSelectMessage, socket, MAKELPARAM(FD_READ, WSAEWOULDBLOCK));
  ::SendMessage(link->GetSafeHwnd(), CWndSocket::kSelectMessage, socket, MAKELPARAM(FD_WRITE, WSAENOBUFS));
  EXPECT_EQ(owner.Count(CWndSocket::kNotifyError), 0);

  // A notice for another (an earlier, closed) socket must not touch this connection.
  ::SendMessage(link->GetSafeHwnd(), CWndSocket::kSelectMessage, socket + 4, MAKELPARAM(FD_CLOSE, WSAECONNRESET));
  EXPECT_EQ(owner.Count(CWndSocket::kNotifyError), 0);
  EXPECT_TRUE(link->IsConnected());

  ::SendMessage(link->GetSafeHwnd(), CWndSocket::kSelectMessage, socket, MAKELPARAM(FD_CLOSE, WSAECONNRESET));
  EXPECT_EQ(owner.Count(CWndSocket::kNotifyError), 1);
  EXPECT_EQ(owner.ValueOf(CWndSocket::kNotifyError), WSAECONNRESET);
  expectedErrors = 1;
}

TEST_F(ServerLinkLoopback, DottedAddressConnectsWithoutALookup) {
  ConnectLink("127.0.0.1");
  EXPECT_EQ(owner.Count(CWndSocket::kNotifyResolved), 0);
  EXPECT_EQ(link->GetSelectMask(), CWndSocket::kConnectedSelection);
}

TEST_F(ServerLinkLoopback, NameIsResolvedBeforeTheConnect) {
  ConnectLink("localhost");
  ASSERT_EQ(owner.Count(CWndSocket::kNotifyResolved), 1);
  EXPECT_LT(owner.IndexOf(CWndSocket::kNotifyResolved), owner.IndexOf(CWndSocket::kNotifyConnected));
}

TEST_F(ServerLinkLoopback, RefusedConnectionIsReportedAsAnError) {
  link = std::make_unique<CServerLink>(&owner, INVALID_SOCKET);
  ASSERT_TRUE(link->Connect("127.0.0.1", LoopbackServer::UnusedPort()));
  ASSERT_TRUE(WaitFor([&] { return owner.Count(CWndSocket::kNotifyError) == 1; }));
  EXPECT_EQ(owner.ValueOf(CWndSocket::kNotifyError), WSAECONNREFUSED);
  EXPECT_EQ(link->GetLastError(), WSAECONNREFUSED);
  EXPECT_EQ(owner.Count(CWndSocket::kNotifyConnected), 0);
  EXPECT_FALSE(link->IsConnected());
  expectedErrors = 1;
}

TEST_F(ServerLinkLoopback, EveryByteIsReadBeforeTheCloseEvent) {
  ConnectLink();
  std::string all;
  for (int i = 0; i < 300; ++i)
    all += Record(0, 3, 7, "|" + std::string(200, 'c') + "|");
  server.Send(all);
  server.CloseAfterSending();
  ASSERT_TRUE(WaitFor([&] { return owner.Count(CWndSocket::kNotifyClosed) == 1; }));
  EXPECT_EQ(Joined(groups), all);
  EXPECT_LT(owner.LastIndexOf(CWndSocket::kNotifyReceived), owner.IndexOf(CWndSocket::kNotifyClosed));
  EXPECT_EQ(link->GetSocket(), INVALID_SOCKET);
  EXPECT_FALSE(link->IsConnected());
}

TEST_F(ServerLinkLoopback, NewConnectionStartsWithAnEmptyPendingArea) {
  ConnectLink();
  server.Send(Record(0, 1, 1, "|stale|").substr(0, 8));
  ASSERT_TRUE(WaitFor([&] { return CWndSocket::GetPendingLength() == 8; }));
  link.reset();

  LoopbackServer second;
  groups.clear();
  link = std::make_unique<CServerLink>(&owner, INVALID_SOCKET);
  ASSERT_TRUE(link->Connect("127.0.0.1", second.Port()));
  EXPECT_EQ(CWndSocket::GetPendingLength(), 0);
  ASSERT_TRUE(second.Accept());
  const std::string fresh = Record(0, 0, 1, "|fresh|");
  second.Send(fresh);
  ASSERT_TRUE(WaitFor([&] { return !groups.empty(); }));
  EXPECT_EQ(groups[0].str(), fresh);
}

TEST_F(ServerLinkLoopback, CloseStillSendsWhatWasQueued) {
  ConnectLink();
  link->QueueFrame(0, 1, 9, "|room|", "1");
  link->FlushFrames();
  link->QueueFrame(0, 1, 2, "", "1");
  const int ownerNumber = static_cast<int>(reinterpret_cast<std::intptr_t>(owner.GetSafeHwnd()));
  EXPECT_TRUE(link->Close());
  EXPECT_EQ(owner.Count(CWndSocket::kNotifyClosed), 1);
  EXPECT_EQ(link->GetSocket(), INVALID_SOCKET);
  ASSERT_TRUE(WaitFor([&] { return server.PeerClosed(); }));
  EXPECT_EQ(server.Received(), Record(ownerNumber, 1, 9, "|room|") + Record(ownerNumber, 1, 2, ""));
}

TEST_F(ServerLinkLoopback, OwnerMayDeleteTheLinkWhileHandlingItsEvents) {
  ConnectLink();
  owner.onEvent = [this](WORD event, WORD) {
    if (event == CWndSocket::kNotifyReceived && link)
      groups.push_back(link->ReadFrames());
    if (event == CWndSocket::kNotifyClosed)
      link.reset();
  };
  server.Send(Record(0, 1, 12, "|bye|"));
  server.CloseAfterSending();
  ASSERT_TRUE(WaitFor([&] { return link == nullptr; }));
  Settle();
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].str(), Record(0, 1, 12, "|bye|"));
}

TEST_F(ServerLinkLoopback, OwnerMayDeleteTheLinkOnAnError) {
  link = std::make_unique<CServerLink>(&owner, INVALID_SOCKET);
  owner.onEvent = [this](WORD event, WORD) {
    if (event == CWndSocket::kNotifyError) {
      link->Close();
      link.reset();
    }
  };
  ASSERT_TRUE(link->Connect("127.0.0.1", LoopbackServer::UnusedPort()));
  ASSERT_TRUE(WaitFor([&] { return link == nullptr; }));
  EXPECT_EQ(owner.Count(CWndSocket::kNotifyClosed), 1);
  expectedErrors = 1;
}

TEST_F(ServerLinkLoopback, DestroyingALinkClosesItsSocketQuietly) {
  ConnectLink();
  const auto before = owner.events.size();
  link.reset();
  ASSERT_TRUE(WaitFor([&] { return server.PeerClosed(); }));
  Settle();
  EXPECT_EQ(owner.events.size(), before) << "a destroyed link tells nobody";
}

TEST_F(ServerLinkLoopback, NothingIsQueuedOrReadWithoutAConnection) {
  link = std::make_unique<CServerLink>(&owner, INVALID_SOCKET);
  link->QueueFrame(0, 0, 1, "|OB_1.5|", "1");
  EXPECT_EQ(link->FlushFrames(), 0) << "the refusal is reported";
  EXPECT_EQ(link->GetSendQueueLength(), 0);
  EXPECT_FALSE(link->Send("x", 1));
  EXPECT_EQ(link->ReadFrames(), "");
}

TEST_F(ServerLinkLoopback, ConnectEmptiesTheSendBuffer) {
  link = std::make_unique<CServerLink>(&owner, INVALID_SOCKET);
  link->QueueFrame(0, 0, 1, "|left over|", "1");
  ASSERT_GT(link->GetSendBufferLength(), 0);
  ASSERT_TRUE(link->Connect("127.0.0.1", server.Port()));
  EXPECT_EQ(link->GetSendBufferLength(), 0);
  ASSERT_TRUE(server.Accept());
  ASSERT_TRUE(WaitFor([&] { return owner.Count(CWndSocket::kNotifyConnected) == 1; }));
}

namespace {

// The resident memory of this process, in KiB.
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0)
      return std::atol(line.c_str() + 6);
  return -1;
}


// A server that streams a record without its end holds the link to a record's worth of bytes:
// the record is broken and dropped, the link stays up, and the records that follow are read.
TEST_F(ServerLinkLoopback, ARecordThatNeverEndsIsDroppedAndTheRecordsAfterItAreRead) {
  ConnectLink();
  const long before = ResidentKiB();
  std::size_t mostHeld = 0;
  const std::string chunk(64 * 1024, 'z');
  server.Send("\x1b\t0/9/3/7/1/|");
  for (int i = 0; i < 160; ++i) {  // 10 MiB, without an end mark
    server.Send(chunk);
    if (i % 16 == 15) {
      ASSERT_TRUE(WaitFor([&] {
        mostHeld = std::max(mostHeld, static_cast<std::size_t>(CWndSocket::GetPendingLength()));
        return server.AllSent() && link->GetReceiveQueueLength() == 0;
      })) << i;
    }
  }
  EXPECT_LE(mostHeld, CPendingGroup::kRecordLimit);
  EXPECT_TRUE(Read(groups).empty());
  EXPECT_LT(ResidentKiB(), 2 * before);

  // The next record, right after the flood, is read whole; so is one after the broken record's end.
  const std::string next = Record(0, 3, 6, "|1|1|7|Hall|");
  server.Send(next);
  ASSERT_TRUE(WaitFor([&] { return !Read(groups).empty(); }));
  EXPECT_EQ(Read(groups), std::vector<std::string>{next});
  server.Send(std::string(70000, 'y') + "\x1b\n" + next);
  ASSERT_TRUE(WaitFor([&] { return Read(groups).size() == 2; }));
  EXPECT_EQ(Read(groups).back(), next);
  EXPECT_EQ(CWndSocket::GetPendingLength(), 0);
  EXPECT_TRUE(link->IsConnected());
}

// How held bytes become groups, block by block.
TEST(PendingGroupTest, BlocksBecomeGroupsAndOverlongRecordsAreDropped) {
  const std::string a = Record(0, 1, 1, "|a|");
  const std::string b = Record(0, 1, 2, "|b|");
  const std::string big(CPendingGroup::kRecordLimit, 'x');
  const std::string exact = Record(0, 3, 4, PayloadForRecord(static_cast<int>(CPendingGroup::kRecordLimit)));
  const std::string over = Record(0, 3, 4, PayloadForRecord(static_cast<int>(CPendingGroup::kRecordLimit) + 1));
  ASSERT_EQ(exact.size(), CPendingGroup::kRecordLimit);
  ASSERT_EQ(over.size(), CPendingGroup::kRecordLimit + 1);
  struct Case {
    const char* name;
    std::vector<std::string> blocks;
    std::vector<std::string> groups;
    std::size_t held;
  };
  const Case cases[] = {
      {"whole record", {a}, {a}, 0},
      {"split between ESC and LF", {a.substr(0, a.size() - 1), "\n"}, {a}, 0},
      {"two records, the second unfinished", {a + b.substr(0, 5)}, {a}, 5},
      {"records cut inside in every block", {a + b.substr(0, 5), b.substr(5) + a.substr(0, 1), a.substr(1) + b},
       {a, b, a + b}, 0},
      {"an unfinished record gives way to the next record's start", {b.substr(0, 7), a}, {a}, 0},
      {"a record of exactly the limit is whole", {exact.substr(0, 9), exact.substr(9)}, {exact}, 0},
      {"a record one byte longer is dropped, its end mark with it", {over.substr(0, 9), over.substr(9), a}, {a}, 0},
      {"unfinished past the limit: the ended records go on, the rest dropped", {a + b.substr(0, 5) + big, b},
       {a, b}, 0},
      {"dropped up to its end mark", {b.substr(0, 5) + big, "tail\x1b", "\n" + a}, {a}, 0},
      {"dropped up to the next record's start", {b.substr(0, 5) + big + "\x1b", a.substr(1)}, {a}, 0},
      {"garbage before a record start is dropped with the overflow", {big + "zz" + a.substr(0, 4), a.substr(4)},
       {a}, 0},
  };
  for (const Case& c : cases) {
    CPendingGroup pending;
    std::vector<std::string> groups;
    for (const std::string& block : c.blocks) {
      std::string group;
      if (pending.Take(block, group))
        groups.push_back(group);
    }
    EXPECT_EQ(groups, c.groups) << c.name;
    EXPECT_EQ(pending.Size(), c.held) << c.name;
  }
}

}  // namespace
