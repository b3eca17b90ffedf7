#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <platform/messageloop.h>
#include <platform/windows.h>
#include <platform/winsock.h>

#include "peers/orvanta/LoopbackServer.h"

namespace {

constexpr UINT kSocketMessage = WM_USER + 10;
constexpr UINT kLookupMessage = WM_USER + 11;

// A hidden top-level window that records the socket and lookup messages posted to it.
class CEventWindow : public CWnd {
public:
  struct Notice {
    UINT message;
    WPARAM wParam;
    WORD low;   // event, or buffer size of a lookup
    WORD high;  // error
  };

  CEventWindow() { CreateEx(0, nullptr, "socket events", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr); }
  ~CEventWindow() override { DestroyWindow(); }

  int Count(WORD event) const {
    return static_cast<int>(std::count_if(notices.begin(), notices.end(), [event](const Notice& n) {
      return n.message == kSocketMessage && n.low == event;
    }));
  }
  const Notice* Last(WORD event) const {
    for (auto it = notices.rbegin(); it != notices.rend(); ++it)
      if (it->message == kSocketMessage && it->low == event)
        return &*it;
    return nullptr;
  }

  std::vector<Notice> notices;

protected:
  DECLARE_MESSAGE_MAP()
  LRESULT OnSocket(WPARAM wParam, LPARAM lParam) {
    notices.push_back({kSocketMessage, wParam, WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam)});
    return 0;
  }
  LRESULT OnLookup(WPARAM wParam, LPARAM lParam) {
    notices.push_back({kLookupMessage, wParam, WSAGETASYNCBUFLEN(lParam), WSAGETASYNCERROR(lParam)});
    return 0;
  }
};

BEGIN_MESSAGE_MAP(CEventWindow, CWnd)
  ON_MESSAGE(kSocketMessage, OnSocket)
  ON_MESSAGE(kLookupMessage, OnLookup)
END_MESSAGE_MAP()

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 3000) {
  return platform::RunUntil(condition, timeoutMs);
}

// Lets the loop run for a short real time, to show that nothing further arrives.
void Settle(int ms = 100) {
  platform::RunUntil([] { return false; }, ms);
}

sockaddr_in LoopbackAddress(unsigned short port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = static_cast<ULONG>(inet_addr("127.0.0.1"));
  return address;
}

class WinSockEvents : public ::testing::Test {
protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
    window = std::make_unique<CEventWindow>();
    ASSERT_NE(window->GetSafeHwnd(), nullptr);
  }
  void TearDown() override {
    if (client != INVALID_SOCKET)
      closesocket(client);
    window.reset();
    WSACleanup();
  }

  // Opens a socket selected for mask and starts connecting it to port.
  void StartConnect(unsigned short port, long mask) {
    client = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_NE(client, INVALID_SOCKET);
    ASSERT_EQ(WSAAsyncSelect(client, window->GetSafeHwnd(), kSocketMessage, mask), 0);
    sockaddr_in address = LoopbackAddress(port);
    ASSERT_EQ(connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof address), SOCKET_ERROR);
    ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
  }

  // Connects to the server, accepted, with FD_CONNECT seen.
  void Connect(long mask = FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) {
    StartConnect(server.Port(), mask);
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(WaitFor([&] { return window->Count(FD_CONNECT) == 1; }));
    ASSERT_EQ(window->Last(FD_CONNECT)->high, 0);
  }

  std::string ReadAll() {
    std::string all;
    char buffer[4096];
    for (;;) {
      int n = recv(client, buffer, sizeof buffer, 0);
      if (n <= 0)
        return all;
      all.append(buffer, static_cast<std::size_t>(n));
    }
  }

  LoopbackServer server;
  std::unique_ptr<CEventWindow> window;
  SOCKET client{INVALID_SOCKET};
};

}  // namespace

TEST_F(WinSockEvents, RefusedConnectArrivesAsConnectNoticeWithItsError) {
  StartConnect(LoopbackServer::UnusedPort(), FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE);
  ASSERT_TRUE(WaitFor([&] { return window->Count(FD_CONNECT) == 1; }));
  EXPECT_EQ(window->Last(FD_CONNECT)->high, WSAECONNREFUSED);
  EXPECT_EQ(window->Last(FD_CONNECT)->wParam, client);
  Settle();
  EXPECT_EQ(window->Count(FD_WRITE), 0);
  EXPECT_EQ(window->Count(FD_CLOSE), 0);
}

TEST_F(WinSockEvents, WriteNoticeFollowsConnectAndEveryRearmWhileWritable) {
  Connect();
  ASSERT_TRUE(WaitFor([&] { return window->Count(FD_WRITE) == 1; }));
  Settle(50);
  EXPECT_EQ(window->Count(FD_WRITE), 1) << "FD_WRITE is not repeated without a re-arm";

  long mask = FD_READ | FD_WRITE | FD_CLOSE;
  ASSERT_EQ(WSAAsyncSelect(client, window->GetSafeHwnd(), kSocketMessage, mask), 0);
  ASSERT_EQ(WSAAsyncSelect(client, window->GetSafeHwnd(), kSocketMessage, mask), 0);
  ASSERT_TRUE(WaitFor([&] { return window->Count(FD_WRITE) == 3; }));
}

TEST_F(WinSockEvents, ReadNoticeRepeatsAfterRecvOnlyWhileDataRemains) {
  Connect();
  server.Send(std::string(100, 'x'));
  ASSERT_TRUE(WaitFor([&] { return window->Count(FD_READ) == 1; }));
  Settle(50);
  EXPECT_EQ(window->Count(FD_READ), 1) << "no second notice before recv";

  char buffer[100];
  ASSERT_EQ(recv(client, buffer, 40, 0), 40);
  ASSERT_TRUE(WaitFor([&] { return window->Count(FD_READ) == 2; }));
  ASSERT_EQ(recv(client, buffer, 100, 0), 60);
  Settle(50);
  EXPECT_EQ(window->Count(FD_READ), 2);

  EXPECT_EQ(recv(client, buffer, 100, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
}

TEST_F(WinSockEvents, ReselectingWhileAReadNoticeWaitsAddsNoneButPostsAgainOnceItWasHandled) {
  Connect();
  const long mask = FD_READ | FD_WRITE | FD_CLOSE;
  server.Send(std::string(100, 'x'));
  // The bytes arrive while the loop does not run, so that the notices stay queued.
  u_long available = 0;
  for (int i = 0; i < 300 && available < 100; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(ioctlsocket(client, FIONREAD, &available), 0);
  }
  ASSERT_EQ(available, 100u);
  for (int i = 0; i < 3; ++i)
    ASSERT_EQ(WSAAsyncSelect(client, window->GetSafeHwnd(), kSocketMessage, mask), 0);
  Settle(50);
  EXPECT_EQ(window->Count(FD_READ), 1) << "one notice for bytes that arrived once";

  // Handled without a recv (its reader was busy): selecting again tells of the bytes once more.
  ASSERT_EQ(WSAAsyncSelect(client, window->GetSafeHwnd(), kSocketMessage, mask), 0);
  Settle(50);
  EXPECT_EQ(window->Count(FD_READ), 2);
  char buffer[100];
  ASSERT_EQ(recv(client, buffer, 100, 0), 100);
  Settle(50);
  EXPECT_EQ(window->Count(FD_READ), 2);
}

TEST_F(WinSockEvents, CloseNoticeComesOnceAndOnlyAfterEveryByteWasRead) {
  Connect();
  server.Send("last words");
  server.CloseAfterSending();
  ASSERT_TRUE(WaitFor([&] { return window->Count(FD_READ) == 1; }));
  Settle();
  EXPECT_EQ(window->Count(FD_CLOSE), 0);

  char buffer[4];
  ASSERT_EQ(recv(client, buffer, 4, 0), 4);
  ASSERT_TRUE(WaitFor([&] { return window->Count(FD_READ) == 2; }));
  EXPECT_EQ(window->Count(FD_CLOSE), 0);
  EXPECT_EQ(ReadAll(), " words");
  ASSERT_TRUE(WaitFor([&] { return window->Count(FD_CLOSE) == 1; }));
  EXPECT_EQ(window->Last(FD_CLOSE)->high, 0);

  ASSERT_EQ(WSAAsyncSelect(client, window->GetSafeHwnd(), kSocketMessage, FD_READ | FD_CLOSE), 0);
  Settle();
  EXPECT_EQ(window->Count(FD_CLOSE), 1);
}

TEST_F(WinSockEvents, ResetIsReportedAndLaterSendsFailWithoutASignal) {
  Connect();
  server.Reset();
  ASSERT_TRUE(WaitFor([&] { return window->Count(FD_CLOSE) == 1; }));
  EXPECT_EQ(window->Last(FD_CLOSE)->high, WSAECONNRESET);
  EXPECT_EQ(send(client, "x", 1, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAECONNRESET);
}

TEST_F(WinSockEvents, FullSendBufferBlocksThenWriteNoticeOnceItDrains) {
  server.PauseReading(true);
  Connect();
  ASSERT_TRUE(WaitFor([&] { return window->Count(FD_WRITE) == 1; }));
  int size = 8192;
  ASSERT_EQ(setsockopt(client, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&size), sizeof size), 0);

  // Fill until the notices stop: bytes keep moving into the peer's buffers for a while after
  // the first "would block", and each time room appears FD_WRITE is rightly posted.
  std::string chunk(65536, 'z');
  long total = 0;
  // A busy machine can move bytes late: the buffers count as full once two spells in a row bring
  // no notice.
  int notices = window->Count(FD_WRITE);
  bool quiet = false;
  for (int round = 0; round < 100 && !quiet; ++round) {
    int result = 0;
    for (int i = 0; i < 1000 && (result = send(client, chunk.data(), static_cast<int>(chunk.size()), 0)) > 0; ++i)
      total += result;
    ASSERT_EQ(result, SOCKET_ERROR);
    ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    Settle(50);
    if (window->Count(FD_WRITE) == notices) {
      Settle(50);
      quiet = window->Count(FD_WRITE) == notices;
    }
    notices = window->Count(FD_WRITE);
  }
  ASSERT_TRUE(quiet) << "no notice while the peer takes nothing";

  server.PauseReading(false);
  ASSERT_TRUE(WaitFor([&] { return window->Count(FD_WRITE) == notices + 1; }));
  ASSERT_TRUE(WaitFor([&] { return static_cast<long>(server.ReceivedSize()) == total; }));
}

TEST_F(WinSockEvents, ClosedSocketPostsNothingMore) {
  Connect();
  ASSERT_TRUE(WaitFor([&] { return window->Count(FD_WRITE) == 1; }));
  server.Send("data nobody reads");
  // Wait without running the loop, so that no notice can be posted before the close.
  for (int i = 0; i < 300 && !server.AllSent(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_EQ(closesocket(client), 0);
  SOCKET closed = client;
  client = INVALID_SOCKET;
  Settle();
  EXPECT_EQ(window->Count(FD_READ), 0);
  EXPECT_EQ(closesocket(closed), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  ASSERT_TRUE(WaitFor([&] { return server.PeerClosed(); })) << "the close reaches the peer as an end of stream";
}

TEST_F(WinSockEvents, NonBlockingModeCannotBeLeftWhileSelected) {
  Connect();
  u_long blocking = 0;
  EXPECT_EQ(ioctlsocket(client, FIONBIO, &blocking), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
  ASSERT_EQ(WSAAsyncSelect(client, window->GetSafeHwnd(), 0, 0), 0);
  EXPECT_EQ(ioctlsocket(client, FIONBIO, &blocking), 0);

  server.Send("12345");
  u_long available = 0;
  ASSERT_TRUE(WaitFor([&] { return ioctlsocket(client, FIONREAD, &available) == 0 && available == 5; }));
}

TEST_F(WinSockEvents, HandlesAreNeverReused) {
  SOCKET first = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_EQ(closesocket(first), 0);
  SOCKET second = socket(AF_INET, SOCK_STREAM, 0);
  EXPECT_NE(first, second);
  closesocket(second);
}

TEST(WinSockLibrary, CallsNeedAStartedLibrary) {
  EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
  EXPECT_EQ(WSACleanup(), SOCKET_ERROR);

  WSADATA data;
  EXPECT_EQ(WSAStartup(MAKEWORD(0, 9), &data), WSAVERNOTSUPPORTED);
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  EXPECT_EQ(data.wVersion, MAKEWORD(1, 1));
  SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
  EXPECT_EQ(s, INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSAESOCKTNOSUPPORT);
  EXPECT_EQ(WSACleanup(), 0);
}

TEST(WinSockLibrary, LastCleanupClosesOpenSockets) {
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
  ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_EQ(WSACleanup(), 0);
  u_long value = 1;
  EXPECT_EQ(ioctlsocket(s, FIONBIO, &value), 0) << "still open while one start remains";
  ASSERT_EQ(WSACleanup(), 0);
  ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
  EXPECT_EQ(ioctlsocket(s, FIONBIO, &value), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  WSACleanup();
}

TEST(WinSockAddresses, DottedTextParsesAndPrintsBack) {
  u_long address = inet_addr("10.1.2.3");
  ASSERT_NE(address, INADDR_NONE);
  in_addr value{static_cast<ULONG>(address)};
  EXPECT_STREQ(inet_ntoa(value), "10.1.2.3");
  auto* bytes = reinterpret_cast<const unsigned char*>(&value.s_addr);
  EXPECT_EQ(bytes[0], 10);  // network order: first byte first
  EXPECT_EQ(bytes[3], 3);

  EXPECT_EQ(inet_addr("localhost"), INADDR_NONE);
  EXPECT_EQ(inet_addr("pellomar-server"), INADDR_NONE);
  EXPECT_EQ(inet_addr("1.2.3.256"), INADDR_NONE);
  EXPECT_EQ(inet_addr(""), INADDR_NONE);
  EXPECT_EQ(inet_addr(nullptr), INADDR_NONE);
}

TEST(WinSockAddresses, PortsGoOutInNetworkOrder) {
  u_short port = htons(12121);
  auto* bytes = reinterpret_cast<const unsigned char*>(&port);
  EXPECT_EQ(bytes[0], 12121 >> 8);
  EXPECT_EQ(bytes[1], 12121 & 0xFF);
  EXPECT_EQ(ntohs(port), 12121);
}

TEST(WinSockLookup, BlockingLookupOfLocalhost) {
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
  hostent* host = gethostbyname("localhost");
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->h_addrtype, AF_INET);
  EXPECT_EQ(host->h_length, 4);
  ASSERT_NE(host->h_addr_list[0], nullptr);
  in_addr first{};
  std::memcpy(&first.s_addr, host->h_addr_list[0], 4);
  EXPECT_EQ(std::string(inet_ntoa(first)).rfind("127.", 0), 0u);

  hostent* dotted = gethostbyname("127.0.0.1");
  ASSERT_NE(dotted, nullptr);
  std::memcpy(&first.s_addr, dotted->h_addr_list[0], 4);
  EXPECT_STREQ(inet_ntoa(first), "127.0.0.1");
  WSACleanup();
}

class WinSockAsyncLookup : public ::testing::Test {
protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
    window = std::make_unique<CEventWindow>();
  }
  void TearDown() override {
    window.reset();
    WSACleanup();
  }

  std::unique_ptr<CEventWindow> window;
  alignas(hostent) char buffer[MAXGETHOSTSTRUCT]{};
};

TEST_F(WinSockAsyncLookup, AnswersWithAPostedMessageAndTheHostInTheBuffer) {
  HANDLE request = WSAAsyncGetHostByName(window->GetSafeHwnd(), kLookupMessage, "localhost", buffer, sizeof buffer);
  ASSERT_NE(request, nullptr);
  ASSERT_TRUE(WaitFor([&] { return !window->notices.empty(); }));
  const auto& answer = window->notices.front();
  EXPECT_EQ(answer.message, kLookupMessage);
  EXPECT_EQ(reinterpret_cast<HANDLE>(answer.wParam), request);
  EXPECT_EQ(answer.high, 0);
  auto* host = reinterpret_cast<hostent*>(buffer);
  ASSERT_NE(host->h_addr_list[0], nullptr);
  EXPECT_EQ(static_cast<unsigned char>(host->h_addr_list[0][0]), 127);
  EXPECT_EQ(WSACancelAsyncRequest(request), SOCKET_ERROR) << "an answered request cannot be cancelled";
}

TEST_F(WinSockAsyncLookup, CancelledRequestNeitherWritesNorAnswers) {
  HANDLE request = WSAAsyncGetHostByName(window->GetSafeHwnd(), kLookupMessage, "localhost", buffer, sizeof buffer);
  ASSERT_NE(request, nullptr);
  if (WSACancelAsyncRequest(request) != 0)
    GTEST_SKIP() << "the lookup finished before it could be cancelled";
  std::memset(buffer, 0x5A, sizeof buffer);
  Settle(200);
  EXPECT_TRUE(window->notices.empty());
  EXPECT_EQ(buffer[0], 0x5A);
}

TEST_F(WinSockAsyncLookup, RefusesAMisalignedBuffer) {
  EXPECT_EQ(WSAAsyncGetHostByName(window->GetSafeHwnd(), kLookupMessage, "localhost", buffer + 1, 512), nullptr);
  EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
}
