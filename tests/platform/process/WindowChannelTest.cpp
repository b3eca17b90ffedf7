// Windows of other programs: found by class and title, reached with WM_COPYDATA, named by a number
// on a command line; dead, hung and ambiguous peers. The other program is tests' window_peer.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/messageloop.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/time.h"
#include "platform/windows.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// A window_peer process with its standard input and output on pipes.
class Peer {
public:
  explicit Peer(const std::vector<std::string>& args) {
    int out[2];
    int in[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(in, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    std::vector<std::string> all{WINDOW_PEER_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, WINDOW_PEER_PATH, &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(in[0]);
    m_out = out[0];
    m_in = in[1];
  }

  ~Peer() {
    if (m_in >= 0) ::close(m_in);
    if (m_pid > 0 && !m_exited) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, nullptr, 0);
    }
    if (m_out >= 0) ::close(m_out);
  }

  pid_t Pid() const { return m_pid; }

  // The next line the peer prints, pumping this process's messages meanwhile; "" when none came.
  std::string ReadLine(int timeoutMs = 10000) {
    auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      if (std::size_t at = m_buffer.find('\n'); at != std::string::npos) {
        std::string line = m_buffer.substr(0, at);
        m_buffer.erase(0, at + 1);
        return line;
      }
      if (Clock::now() >= end) return "";
      platform::PumpMessages();
      pollfd ready{m_out, POLLIN, 0};
      if (::poll(&ready, 1, 5) <= 0) continue;
      char chunk[4096];
      ssize_t n = ::read(m_out, chunk, sizeof chunk);
      if (n <= 0) return "";
      m_buffer.append(chunk, static_cast<std::size_t>(n));
    }
  }

  // The handle number from the peer's "ready" line, or 0.
  unsigned long WaitReady() {
    std::string line = ReadLine();
    return line.rfind("ready ", 0) == 0 ? std::stoul(line.substr(6)) : 0;
  }

  // The exit code, pumping this process's messages meanwhile; -1 when it did not end in time.
  int Wait(int timeoutMs = 10000) {
    auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
      int status = 0;
      if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_exited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      platform::PumpMessages();
      ::usleep(2000);
    }
    return -1;
  }

  void Kill() {
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_exited = true;
  }

private:
  pid_t m_pid{-1};
  int m_out{-1};
  int m_in{-1};
  bool m_exited{false};
  std::string m_buffer;
};

// What reached the test's own receiving window.
struct Received {
  int count{0};
  ULONG_PTR dwData{0};
  std::string bytes;
  bool fromSender{false};
};
Received g_received;

LRESULT ReceiverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COPYDATA) return DefWindowProc(hwnd, message, wParam, lParam);
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  ++g_received.count;
  g_received.dwData = data->dwData;
  g_received.bytes.assign(static_cast<const char*>(data->lpData ? data->lpData : ""), data->cbData);
  g_received.fromSender = wParam != 0;
  return data->dwData == 1 ? TRUE : FALSE;
}

HWND MakeWindow(const char* className, const char* title, bool show = true) {
  WNDCLASS wc{};
  wc.lpfnWndProc = ReceiverProc;
  wc.lpszClassName = className;
  RegisterClass(&wc);
  HWND hwnd = CreateWindowEx(0, className, title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                             nullptr);
  if (hwnd && show) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

unsigned long Number(HWND hwnd) { return static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(hwnd)); }

HWND FromNumber(unsigned long number) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(number)); }

class WindowChannelTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_received = Received{};
    ASSERT_TRUE(platform::OpenWindowChannel());
  }
  void TearDown() override {
    platform::CloseWindowChannel();
    for (HWND hwnd : m_windows) DestroyWindow(hwnd);
  }

  HWND OwnWindow(const char* className, const char* title, bool show = true) {
    HWND hwnd = MakeWindow(className, title, show);
    m_windows.push_back(hwnd);
    return hwnd;
  }

  platform::ScopedPlatformHome m_home;
  std::vector<HWND> m_windows;
};

TEST_F(WindowChannelTest, FindsAnotherProgramsWindowByClassByTitleAndByBoth) {
  Peer peer({"serve", "PeerFrame", "Peer Title"});
  ASSERT_NE(peer.WaitReady(), 0u);

  HWND byClass = FindWindow("PeerFrame", nullptr);
  ASSERT_NE(byClass, nullptr);
  EXPECT_EQ(FindWindow(nullptr, "Peer Title"), byClass);
  EXPECT_EQ(FindWindow("peerframe", "PEER TITLE"), byClass);
  EXPECT_EQ(FindWindow("PeerFrame", "Another Title"), nullptr);
  EXPECT_EQ(FindWindow("NoSuchClass", nullptr), nullptr);
  // The handle stands for the foreign window in this process and cannot be one of its own.
  EXPECT_EQ(Number(byClass) % 2, 1u);
  EXPECT_TRUE(IsWindow(byClass));
}

TEST_F(WindowChannelTest, OwnWindowsComeFirstAndHiddenOnesAreFoundToo) {
  Peer peer({"serve", "SharedClass", "Peer"});
  ASSERT_NE(peer.WaitReady(), 0u);
  HWND own = OwnWindow("SharedClass", "Mine", false);

  EXPECT_EQ(FindWindow("SharedClass", nullptr), own);
  EXPECT_EQ(FindWindow(nullptr, "Mine"), own);
  EXPECT_NE(FindWindow(nullptr, "Peer"), nullptr);
}

TEST_F(WindowChannelTest, CopyDataReachesTheOtherProgramAndItsAnswerComesBack) {
  Peer peer({"serve", "PeerFrame", "Peer Title"});
  ASSERT_NE(peer.WaitReady(), 0u);
  HWND target = FindWindow("PeerFrame", nullptr);
  ASSERT_NE(target, nullptr);
  HWND own = OwnWindow("SenderFrame", "Sender");

  char ignored[] = "other";
  COPYDATASTRUCT other{7, 5, ignored};
  EXPECT_EQ(SendMessage(target, WM_COPYDATA, reinterpret_cast<WPARAM>(own), reinterpret_cast<LPARAM>(&other)), FALSE);
  EXPECT_EQ(peer.ReadLine(), "copydata 7 other sender");

  char reload[] = "AD.ini";
  COPYDATASTRUCT data{1, 6, reload};
  EXPECT_EQ(SendMessage(target, WM_COPYDATA, reinterpret_cast<WPARAM>(own), reinterpret_cast<LPARAM>(&data)), TRUE);
  EXPECT_EQ(peer.ReadLine(), "copydata 1 AD.ini sender");
  EXPECT_EQ(peer.Wait(), 0);
}

TEST_F(WindowChannelTest, ReceiverCanSendBackWhileTheSenderWaits) {
  Peer peer({"echo", "EchoFrame", "Echo"});
  ASSERT_NE(peer.WaitReady(), 0u);
  HWND target = FindWindow("EchoFrame", nullptr);
  ASSERT_NE(target, nullptr);
  HWND own = OwnWindow("SenderFrame", "Sender");

  char ping[] = "ping";
  COPYDATASTRUCT data{1, 4, ping};
  // The peer's answer is what this process's window answered to the echo, served while waiting.
  EXPECT_EQ(SendMessage(target, WM_COPYDATA, reinterpret_cast<WPARAM>(own), reinterpret_cast<LPARAM>(&data)), TRUE);
  EXPECT_EQ(g_received.count, 1);
  EXPECT_EQ(g_received.bytes, "ping");
  EXPECT_TRUE(g_received.fromSender);
}

TEST_F(WindowChannelTest, EmptyAndLargestBlocksTravelButLargerOnesAreRefused) {
  Peer peer({"serve", "PeerFrame", "Peer Title"});
  ASSERT_NE(peer.WaitReady(), 0u);
  HWND target = FindWindow("PeerFrame", nullptr);
  ASSERT_NE(target, nullptr);

  std::vector<char> block(platform::kMaxCopyDataBytes + 1, 'x');
  COPYDATASTRUCT oversize{3, static_cast<DWORD>(block.size()), block.data()};
  EXPECT_EQ(SendMessage(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&oversize)), 0);

  COPYDATASTRUCT largest{4, static_cast<DWORD>(platform::kMaxCopyDataBytes), block.data()};
  SendMessage(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&largest));
  // The refused block never arrived: the first report is the largest one.
  EXPECT_EQ(peer.ReadLine(), "copydata 4 <1048576 bytes> none");

  COPYDATASTRUCT empty{1, 0, nullptr};
  EXPECT_EQ(SendMessage(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty)), TRUE);
  EXPECT_EQ(peer.ReadLine(), "copydata 1 - none");
}

TEST_F(WindowChannelTest, OnlyCopyDataGoesToAnotherProgram) {
  Peer peer({"serve", "PeerFrame", "Peer Title"});
  ASSERT_NE(peer.WaitReady(), 0u);
  HWND target = FindWindow("PeerFrame", nullptr);
  ASSERT_NE(target, nullptr);

  EXPECT_EQ(SendMessage(target, WM_USER + 1, 1, 2), 0);
  COPYDATASTRUCT data{1, 0, nullptr};
  EXPECT_EQ(PostMessage(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), FALSE);
  EXPECT_EQ(SendMessage(target, WM_COPYDATA, 0, 0), 0);  // no block at all
  DWORD_PTR answer = 99;
  EXPECT_FALSE(SendMessageTimeout(target, WM_CLOSE, 0, 0, SMTO_NORMAL, 100, &answer));
  EXPECT_EQ(answer, 0u);
  EXPECT_NE(FindWindow("PeerFrame", nullptr), nullptr);  // nothing closed it
}

TEST_F(WindowChannelTest, NumberOnTheCommandLineReachesTheWindowOfTheStartingProgram) {
  HWND frame = OwnWindow("OrvFrame", "Frame");
  Peer sender({"send", std::to_string(Number(frame)), "1", "reload"});

  EXPECT_EQ(sender.Wait(), 0);
  EXPECT_EQ(g_received.count, 1);
  EXPECT_EQ(g_received.dwData, 1u);
  EXPECT_EQ(g_received.bytes, "reload");
  EXPECT_FALSE(g_received.fromSender);
}

TEST_F(WindowChannelTest, NumberPublishedByTwoOtherProgramsIsRefused) {
  Peer first({"serve", "PeerFrame", "First"});
  Peer second({"serve", "PeerFrame", "Second"});
  unsigned long firstNumber = first.WaitReady();
  unsigned long secondNumber = second.WaitReady();
  ASSERT_NE(firstNumber, 0u);
  ASSERT_EQ(firstNumber, secondNumber);  // both started their numbering at the same place

  Peer sender({"send", std::to_string(firstNumber), "1", "x"});
  EXPECT_EQ(sender.Wait(), 3);
  EXPECT_EQ(first.ReadLine(300), "");
  EXPECT_EQ(second.ReadLine(300), "");
}

TEST_F(WindowChannelTest, StartingProgramWinsWhenAnotherPublishesTheSameNumber) {
  HWND frame = OwnWindow("OrvFrame", "Frame");
  Peer other({"serve", "PeerFrame", "Other", std::to_string(Number(frame))});
  ASSERT_EQ(other.WaitReady(), Number(frame));

  Peer sender({"send", std::to_string(Number(frame)), "1", "mine"});
  EXPECT_EQ(sender.Wait(), 0);
  EXPECT_EQ(g_received.bytes, "mine");
  EXPECT_EQ(other.ReadLine(300), "");
}

TEST_F(WindowChannelTest, ADeadProgramsWindowsAreNotFoundAndItsEntriesGo) {
  Peer peer({"serve", "PeerFrame", "Peer Title"});
  ASSERT_NE(peer.WaitReady(), 0u);
  HWND target = FindWindow("PeerFrame", nullptr);
  ASSERT_NE(target, nullptr);
  std::string list = platform::WindowChannelFolder() + "/" + std::to_string(peer.Pid()) + ".list";
  ASSERT_EQ(::access(list.c_str(), F_OK), 0);

  peer.Kill();

  EXPECT_EQ(FindWindow("PeerFrame", nullptr), nullptr);
  EXPECT_NE(::access(list.c_str(), F_OK), 0);
  EXPECT_FALSE(IsWindow(target));
  COPYDATASTRUCT data{1, 0, nullptr};
  EXPECT_EQ(SendMessage(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
}

TEST_F(WindowChannelTest, WhatACrashedProgramLeftIsIgnoredAndSweptAway) {
  platform::CloseWindowChannel();
  // A program that died without a word: its list is there, nobody listens on its socket.
  std::string folder = platform::WindowChannelFolder();
  ASSERT_EQ(::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST, true);
  std::string list = folder + "/999999999.list";
  {
    std::ofstream out(list);
    out << "instance 5\n65552\tGhostFrame\tGhost\n";
  }
  EXPECT_EQ(FindWindow("GhostFrame", nullptr), nullptr);  // a closed channel looks at nothing

  ASSERT_TRUE(platform::OpenWindowChannel());
  EXPECT_NE(::access(list.c_str(), F_OK), 0);
  EXPECT_EQ(FindWindow("GhostFrame", nullptr), nullptr);
}

TEST_F(WindowChannelTest, AHungProgramCostsTheTimeoutAndAnswersNothing) {
  Peer peer({"hang", "PeerFrame", "Peer Title"});
  ASSERT_NE(peer.WaitReady(), 0u);
  HWND target = FindWindow("PeerFrame", nullptr);
  ASSERT_NE(target, nullptr);

  COPYDATASTRUCT data{1, 0, nullptr};
  DWORD_PTR answer = 99;
  auto start = Clock::now();
  EXPECT_FALSE(SendMessageTimeout(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 200, &answer));
  auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_EQ(answer, 0u);
  EXPECT_GE(waited, 150);
  EXPECT_LT(waited, 3000);
}

TEST_F(WindowChannelTest, AHungProgramNeverBlocksForeverUnderAManualClock) {
  platform::ManualClockScope manual;
  Peer peer({"hang", "PeerFrame", "Peer Title"});
  ASSERT_NE(peer.WaitReady(), 0u);
  HWND target = FindWindow("PeerFrame", nullptr);
  ASSERT_NE(target, nullptr);

  COPYDATASTRUCT data{1, 0, nullptr};
  DWORD_PTR answer = 99;
  EXPECT_FALSE(SendMessageTimeout(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 100, &answer));
  EXPECT_EQ(answer, 0u);
}

TEST_F(WindowChannelTest, ForeignHandleWrapsInAnObjectThatSendsThrough) {
  Peer peer({"serve", "PeerFrame", "Peer Title"});
  ASSERT_NE(peer.WaitReady(), 0u);
  HWND target = FindWindow("PeerFrame", nullptr);
  ASSERT_NE(target, nullptr);

  CWnd* wnd = CWnd::FromHandle(target);
  ASSERT_NE(wnd, nullptr);
  EXPECT_EQ(wnd->m_hWnd, target);
  EXPECT_EQ(CWnd::FromHandle(target), wnd);
  char text[] = "via object";
  COPYDATASTRUCT data{1, 10, text};
  EXPECT_EQ(wnd->SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
  EXPECT_EQ(peer.ReadLine(), "copydata 1 via object none");
}

TEST_F(WindowChannelTest, WithTheChannelClosedOnlyOwnWindowsAreFound) {
  Peer peer({"serve", "PeerFrame", "Peer Title"});
  ASSERT_NE(peer.WaitReady(), 0u);
  HWND own = OwnWindow("MineOnly", "Mine");
  platform::CloseWindowChannel();

  EXPECT_EQ(FindWindow("PeerFrame", nullptr), nullptr);
  EXPECT_EQ(FindWindow("MineOnly", nullptr), own);
}

TEST_F(WindowChannelTest, OwnDeadHandleNeverNamesAnotherProgramsWindow) {
  HWND gone = OwnWindow("Gone", "Gone");
  unsigned long number = Number(gone);
  DestroyWindow(gone);
  m_windows.clear();
  Peer other({"serve", "PeerFrame", "Other", std::to_string(number)});
  ASSERT_EQ(other.WaitReady(), number);

  EXPECT_FALSE(IsWindow(FromNumber(number)));
  COPYDATASTRUCT data{1, 0, nullptr};
  EXPECT_EQ(SendMessage(FromNumber(number), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
  EXPECT_EQ(other.ReadLine(300), "");
}

}  // namespace
