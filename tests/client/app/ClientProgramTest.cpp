// The viewer program against the relay peer program, each a process of its own on loopback: the
// viewer logs in, the peer relays the whole demo record to it. Headless, once the peer has gone
// the viewer says it is disconnected, having stayed connected to the end; on an X server a person
// logs in through its dialog, saves what the viewer holds through its menu and file dialog, and
// asks for Help from the menu.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "client/resources/ClientIds.h"
#include "peers/client/RelayScript.h"
#include "platform/display/XvfbServer.h"
// Brings Xlib in: after the program's headers.
#include "platform/dialogs/ScreenPerson.h"

extern char** environ;

namespace {

using Deadline = std::chrono::steady_clock::time_point;

// A program with its standard output and error on one pipe; killed when it goes out of scope.
class Program {
public:
  // env: NAME=VALUE entries that replace or add to this process's environment; names given with
  // no "=" are removed from it.
  Program(std::vector<std::string> args, const std::vector<std::string>& env, const std::string& folder) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
      const std::string item = *entry;
      bool replaced = false;
      for (const std::string& change : env) replaced |= item.rfind(change.substr(0, change.find('=')) + "=", 0) == 0;
      if (!replaced) environment.push_back(item);
    }
    for (const std::string& change : env) {
      if (change.find('=') != std::string::npos) environment.push_back(change);
    }
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& item : environment) envp.push_back(item.data());
    envp.push_back(nullptr);
    if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    m_out = out[0];
  }
  ~Program() {
    Kill();
    if (m_out >= 0) ::close(m_out);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool Started() const { return m_pid > 0; }

  // The first line of output holding text, reading on until it comes; none when the output ends
  // or the deadline passes first.
  std::optional<std::string> WaitForLine(const std::string& text, Deadline deadline) {
    for (;;) {
      for (std::size_t start = 0, end; (end = m_output.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = m_output.substr(start, end - start);
        if (line.find(text) != std::string::npos) return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || m_out < 0) return std::nullopt;
      pollfd ready{m_out, POLLIN, 0};
      if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
      char chunk[4096];
      const ssize_t n = ::read(m_out, chunk, sizeof chunk);
      if (n <= 0) {
        ::close(m_out);
        m_out = -1;
        continue;
      }
      m_output.append(chunk, static_cast<std::size_t>(n));
    }
  }

  const std::string& Output() const { return m_output; }

  void Kill() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
  }

private:
  pid_t m_pid{-1};
  int m_out{-1};
  std::string m_output;
};

// A folder of its own for one run, removed afterwards.
class Folder {
public:
  Folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "client-program-XXXXXX").string();
    if (::mkdtemp(pattern.data())) m_path = pattern;
  }
  ~Folder() {
    std::error_code ignored;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  const std::string& Path() const { return m_path; }

private:
  std::string m_path;
};

// The port the relay peer says it listens on; 0 when it has not said so by deadline.
int PeerPort(Program& peer, Deadline deadline) {
  const std::optional<std::string> listening = peer.WaitForLine("waiting for a viewer", deadline);
  if (!listening) return 0;
  const std::size_t at = listening->find("127.0.0.1:");
  return at == std::string::npos ? 0 : std::atoi(listening->c_str() + at + std::strlen("127.0.0.1:"));
}

TEST(ClientProgramTest, TheViewerProgramIsRelayedTheWholeDemoGameByThePeerProgram) {
  const std::string record = TEST_DATA_DIR "/relay-demo.sgf";
  // What the peer will count, from the same lines.
  RelayScript expected(false);
  ASSERT_TRUE(expected.Read(record.c_str()));
  for (int k = 1; k <= expected.MoveCount(); ++k) expected.MoveLines(k, 0);
  ASSERT_GT(expected.DiagramStonesSent(), 0);
  // Generous for a loaded machine; a sound run takes well under a second of relaying.
  const Deadline deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);

  Folder folder;
  ASSERT_FALSE(folder.Path().empty());
  Program peer({RELAY_PEER_PATH, "--port", "0", "--history", "30", "--interval", "2", record}, {}, "");
  ASSERT_TRUE(peer.Started());
  const int port = PeerPort(peer, deadline);
  ASSERT_GT(port, 0) << peer.Output();

  std::ofstream(folder.Path() + "/client.cfg") << "client ip=127.0.0.1\r\nclient port=" << port << "\r\n";
  std::ofstream(folder.Path() + "/login.txt") << "dialog " << IDD_LOGIN << " text " << IDC_LOGIN_USER << "=alice text "
                                               << IDC_LOGIN_PASSWORD << "=pw9 check " << IDC_LOGIN_TEXT << "=1 end OK\n";
  std::filesystem::create_directory(folder.Path() + "/home");
  Program client({CLIENT_PROGRAM_PATH},
                 {"PLATFORM_HEADLESS=1", "PLATFORM_HOME=" + folder.Path() + "/home",
                  "PLATFORM_UI_SCRIPT=" + folder.Path() + "/login.txt", "PLATFORM_SOUND_PLAYER", "DISPLAY"},
                 folder.Path());
  ASSERT_TRUE(client.Started());

  const std::optional<std::string> login = peer.WaitForLine("a viewer logged in", deadline);
  ASSERT_TRUE(login) << peer.Output() << client.Output();
  EXPECT_EQ(*login, "relay_peer: a viewer logged in: ua|alice|pw9|C");
  const std::optional<std::string> relayed = peer.WaitForLine("the whole game was relayed", deadline);
  ASSERT_TRUE(relayed) << peer.Output() << client.Output();
  EXPECT_EQ(*relayed, "relay_peer: the whole game was relayed: " + std::to_string(expected.MoveCount()) + " moves, " +
                          std::to_string(expected.CommentsSent()) + " comments, " +
                          std::to_string(expected.DiagramsSent()) + " diagrams with " +
                          std::to_string(expected.DiagramStonesSent()) + " stones");

  // The viewer read everything up to the peer's end and only then lost the connection.
  peer.Kill();
  const std::optional<std::string> closed = client.WaitForLine("It is disconnected. Retry connection.", deadline);
  ASSERT_TRUE(closed) << client.Output();
  EXPECT_EQ(client.WaitForLine("unanswered", deadline), closed) << "no question before it: " << client.Output();
  client.Kill();
}

// Polls done (reading what the X server sent meanwhile) until it holds or the deadline passes.
bool PollUntil(const std::function<bool()>& done, Deadline deadline) {
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The moves of a record's main line (the reference diagrams' variations left out; values in
// brackets skipped whole, so a comment's text counts nothing).
int MovesIn(const std::string& text) {
  int moves = 0;
  int depth = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '[') {
      for (++at; at < text.size() && text[at] != ']'; ++at)
        if (text[at] == '\\') ++at;
    } else if (c == '(' || c == ')') {
      depth += c == '(' ? 1 : -1;
    } else if (c == ';' && depth == 1) {
      moves += text.compare(at, 3, ";B[") == 0 || text.compare(at, 3, ";W[") == 0 ? 1 : 0;
    }
  }
  return moves;
}

TEST(ClientProgramTest, OnAnXServerAPersonLogsInAndSavesTheGameTheViewerHolds) {
  const std::string& display = platform::testing::TestDisplayName();
  if (display.empty()) GTEST_SKIP() << "no X server";
  const std::string record = TEST_DATA_DIR "/relay-demo.sgf";
  RelayScript expected(false);
  ASSERT_TRUE(expected.Read(record.c_str()));
  const Deadline deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);

  Folder folder;
  ASSERT_FALSE(folder.Path().empty());
  Program peer({RELAY_PEER_PATH, "--port", "0", "--history", "30", "--interval", "2", record}, {}, "");
  ASSERT_TRUE(peer.Started());
  const int port = PeerPort(peer, deadline);
  ASSERT_GT(port, 0) << peer.Output();
  const std::string helpUrl = "http://help.ondrivo.example/viewer/index.htm#relay";
  std::ofstream(folder.Path() + "/client.cfg") << "client ip=127.0.0.1\r\nclient port=" << port
                                               << "\r\nhelp url=" << helpUrl << "\r\n";
  std::filesystem::create_directory(folder.Path() + "/home");
  // The desktop's opener, standing in for the browser: it notes the address and the screen it
  // was asked to show it on.
  const std::string opened = folder.Path() + "/opened.txt";
  const std::string opener = folder.Path() + "/opener.sh";
  std::ofstream(opener) << "#!/bin/sh\necho \"$1 on $DISPLAY\" >> '" << opened << "'\n";
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
  Program client({CLIENT_PROGRAM_PATH},
                 {"PLATFORM_HEADLESS", "PLATFORM_UI_SCRIPT", "PLATFORM_SOUND_PLAYER", "DISPLAY=" + display,
                  "PLATFORM_HOME=" + folder.Path() + "/home", "PLATFORM_OPENER=" + opener},
                 folder.Path());
  ASSERT_TRUE(client.Started());

  // The login dialog: the user name's edit has the keyboard first.
  screentest::ScreenPerson person(display);
  ASSERT_TRUE(person.Ready());
  Window login = 0;
  ASSERT_TRUE(PollUntil([&] { return (login = person.WindowTitled("Server connection")) != 0; }, deadline))
      << client.Output();
  person.Type(login, "alice");
  person.Key(login, XK_Tab);
  person.Type(login, "pw9");
  person.Key(login, XK_Return);
  const std::optional<std::string> loggedIn = peer.WaitForLine("a viewer logged in", deadline);
  ASSERT_TRUE(loggedIn) << peer.Output() << client.Output();
  EXPECT_EQ(*loggedIn, "relay_peer: a viewer logged in: ua|alice|pw9|C");
  ASSERT_TRUE(peer.WaitForLine("the whole game was relayed", deadline)) << peer.Output() << client.Output();

  // The viewer's window under its own title, pictured with the game on its board.
  Window viewer = 0;
  ASSERT_TRUE(PollUntil([&] { return (viewer = person.WindowTitled("Ondrivo Client")) != 0; }, deadline));
  EXPECT_TRUE(person.Snapshot(viewer, "client-program.png"));

  // Save as from the File menu (Alt+F, then its letter): the whole game the viewer received.
  person.Key(viewer, XK_f, Mod1Mask);
  person.Key(viewer, XK_a);
  Window save = 0;
  ASSERT_TRUE(PollUntil([&] { return (save = person.WindowTitled("Save As")) != 0; }, deadline)) << client.Output();
  person.Type(save, "relayed");
  person.Key(save, XK_Return);
  const std::string saved = folder.Path() + "/relayed.sgf";
  ASSERT_TRUE(PollUntil([&] { return Contents(saved).find(')') != std::string::npos; }, deadline)) << client.Output();
  const std::string text = Contents(saved);
  EXPECT_EQ(text.rfind("(", 0), 0u) << text;
  EXPECT_NE(text.find("PB[Kim Relay]"), std::string::npos) << text;  // the players the relay named
  EXPECT_EQ(MovesIn(text), expected.MoveCount()) << text;

  // Help from the Help menu (Alt+H, then its letter): the configured address goes to the opener,
  // on the person's screen; chosen again, it goes again.
  const Deadline helpDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  ASSERT_TRUE(PollUntil([&] { return person.WindowTitled("Save As") == 0; }, helpDeadline));
  const std::string expectedLine = helpUrl + " on " + display + "\n";
  for (int times = 1; times <= 2; ++times) {
    person.Key(viewer, XK_h, Mod1Mask);
    person.Key(viewer, XK_h);
    std::string lines;
    for (int i = 0; i < times; ++i) lines += expectedLine;
    EXPECT_TRUE(PollUntil([&] { return Contents(opened) == lines; }, helpDeadline)) << Contents(opened) << client.Output();
  }
  client.Kill();
}

}  // namespace
