// Korean typed as a Korean user types it: a Hangul input method server on the tests' X server,
// its own message bus, the program talking to it through XIM, the syllables composed from the
// Latin keys of the standard two-set layout, and the committed text arriving as code page 949.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "../display/X11Session.h"
#include "../display/XvfbServer.h"
#include "platform/controls.h"
#include "platform/messageloop.h"
#include "platform/strings.h"
#include "platform/windows.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

extern char** environ;

namespace {

constexpr const char* kBusDaemon = "/usr/bin/dbus-daemon";
constexpr const char* kImDaemon = "/usr/bin/ibus-daemon";
constexpr const char* kImControl = "/usr/bin/ibus";
constexpr const char* kHangulEngine = "/usr/libexec/ibus-engine-hangul";

// Runs a program with the current environment; returns its pid (0 on failure).
pid_t Spawn(const std::vector<std::string>& args, posix_spawn_file_actions_t* actions = nullptr) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  return posix_spawn(&pid, argv[0], actions, nullptr, argv.data(), environ) == 0 ? pid : 0;
}

// Runs a program to its end; its exit code (-1 when it could not run or was killed).
int RunToEnd(const std::vector<std::string>& args) {
  pid_t pid = Spawn(args);
  int status = 0;
  if (!pid || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A private session bus and an input method server with the Hangul engine, for one X display;
// stopped (both processes) when it goes.
class HangulServer {
public:
  explicit HangulServer(const std::string& display) {
    m_home = std::filesystem::temp_directory_path() / ("hangul-im-" + std::to_string(getpid()));
    std::filesystem::create_directories(m_home);
    // Everything the server keeps goes to this test's own folder.
    setenv("HOME", m_home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (m_home / "config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (m_home / "cache").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", m_home.c_str(), 1);
    setenv("DISPLAY", display.c_str(), 1);
    setenv("NO_AT_BRIDGE", "1", 1);  // no accessibility bus beside ours
    std::string socket = (m_home / "bus").string();
    std::string address = "unix:path=" + socket;
    m_bus = Spawn({kBusDaemon, "--session", "--nofork", "--nopidfile", "--address=" + address});
    if (!m_bus || !WaitUntil([&] { return std::filesystem::exists(socket); })) return;
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    m_im = Spawn({kImDaemon, "--xim", "--panel=disable", "--config=/usr/libexec/ibus-memconf", "--replace"});
    if (!m_im) return;
    m_ready = WaitUntil([] { return RunToEnd({"/usr/bin/timeout", "5", kImControl, "engine", "hangul"}) == 0; });
  }

  ~HangulServer() {
    for (pid_t pid : {m_im, m_bus}) {
      if (!pid) continue;
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_home, ignored);
  }

  bool Ready() const { return m_ready; }

private:
  template <typename Pred>
  static bool WaitUntil(Pred pred) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      if (pred()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  std::filesystem::path m_home;
  pid_t m_bus{0};
  pid_t m_im{0};
  bool m_ready{false};
};

// Whether the XIM server of the running input method has registered on the display.
bool XimServerUp(const std::string& display) {
  ::Display* d = XOpenDisplay(display.c_str());
  if (!d) return false;
  bool up = XGetSelectionOwner(d, XInternAtom(d, "@server=ibus", False)) != None;
  XCloseDisplay(d);
  return up;
}

TEST(X11HangulInputTest, SyllablesComposedFromLatinKeysArriveAsCodePage949) {
  for (const char* program : {kBusDaemon, kImDaemon, kImControl, kHangulEngine}) {
    if (access(program, X_OK) != 0) GTEST_SKIP() << program << " is not installed";
  }
  const std::string& display = platform::testing::TestDisplayName();
  if (display.empty()) GTEST_SKIP() << "no X server";
  HangulServer server(display);
  ASSERT_TRUE(server.Ready());
  ASSERT_TRUE(platform::RunUntil([&] { return XimServerUp(display); }, 20000));
  // The program finds the server as a person's session names it, for this test only.
  setenv("XMODIFIERS", "@im=ibus", 1);
  struct Unset {
    ~Unset() { unsetenv("XMODIFIERS"); }
  } unset;
  unsetenv("LC_ALL");
  setenv("LC_CTYPE", "C.UTF-8", 1);

  platform::testing::X11Session x;
  ASSERT_TRUE(x.Open());
  CWnd frame;
  ASSERT_TRUE(frame.CreateEx(0, nullptr, "Chat", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 420, 200, nullptr,
                             nullptr));
  CEdit chat;
  ASSERT_TRUE(chat.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 380, 36), &frame, 10));
  chat.SetFocus();
  x.Settle();
  // Shift+Space switches the engine to Hangul; "dkssud rk" is 안녕 가 on the two-set layout, and
  // Return commits the last syllable.
  x.Keys(frame.m_hWnd, {XK_space}, ShiftMask);
  x.Type(frame.m_hWnd, "dkssud rk\r");
  std::string expected = Cp949("안녕 가");
  std::string text;
  EXPECT_TRUE(x.WaitFor([&] {
    CString shown;
    chat.GetWindowText(shown);
    text = shown.GetString();
    return text == expected;
  }, 20000)) << text;
  EXPECT_EQ(text.size(), 7u);  // two bytes a syllable
}

}  // namespace
