#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/client/app/ClientSessionSupport.h"
#include "platform/gdi.h"
#include "platform/menus.h"
#include "platform/registry.h"
#include "support/SnapshotPath.h"

namespace {

using clienttest::Session;

constexpr const char* kNotInstalled =
    "RealPlayer isn't installed. the later RealPlayer G2 version must be installed.";
constexpr const char* kMustInstall = "The later RealPlayer G2 version must be installed.";
constexpr const char* kVersionLower =
    "RealPlayer's version is lower. The later RealPlayer G2 version must be installed.";
constexpr const char* kCannotRun = "RealPlayer can't be excuted.";

void SetDefault(const std::string& subKey, const std::string& text) {
  ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, subKey.c_str(), REG_SZ, text.c_str(), static_cast<DWORD>(text.size())),
            ERROR_SUCCESS);
}

void Delete(const std::string& subKey) { RegDeleteKey(HKEY_CLASSES_ROOT, subKey.c_str()); }

std::string PlayerKey(const std::string& current) {
  return "Software\\RealNetworks\\Update\\" + current + "\\Preferences\\Components\\Player:" + current;
}

// A stand-in media player: writes its arguments, one a line, then waits to be ended.
std::string WritePlayer(const std::string& folder) {
  const std::string program = folder + "/real player";
  std::ofstream out(program);
  out << "#!/bin/sh\n"
      << "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" << folder << "/args.tmp\"\n"
      << "mv \"" << folder << "/args.tmp\" \"" << folder << "/args.txt\"\n"
      << "exec sleep 120\n";
  out.close();
  chmod(program.c_str(), 0755);
  return program;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Pane(Session& s) { return static_cast<const char*>(s.frame->GetStatusBar().GetPaneText(0)); }

bool ProcessGone(DWORD pid) { return kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH; }

TEST(VoiceCommentaryTest, VersionCheckAndMissingKeysGiveTheirMessages) {
  platform::ScopedPlatformHome home;
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;

  struct Case {
    const char* current;    // null: no current-version key
    const char* installed;  // null: no player key
    int result;
    const char* message;    // null: none
  };
  const Case cases[] = {
      {nullptr, nullptr, 0, kNotInstalled},
      {"6.0", "6.0.6.45", 1, nullptr},
      {"6.0", "6.0.6", 0, kVersionLower},
      {"6.0", "6.0.7.1", 1, nullptr},
      {"6.0", "6.0.5.99", 0, kVersionLower},
      {"6.0", "7", 1, nullptr},
      {"6.0", nullptr, 0, kMustInstall},
      {"5.9", "6.0.7.1", 0, kVersionLower},  // refused before the player key is read
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.current ? c.current : "-") + " / " + (c.installed ? c.installed : "-"));
    Delete(PlayerKey("6.0"));
    Delete(PlayerKey("5.9"));
    Delete("Software\\RealNetworks\\RealPlayer\\CurrentVersion");
    if (c.current) SetDefault("Software\\RealNetworks\\RealPlayer\\CurrentVersion", c.current);
    if (c.installed && c.current) SetDefault(PlayerKey(c.current), c.installed);
    s.script.messages.clear();
    EXPECT_EQ(view.CheckRealPlayer(), c.result);
    if (c.message) {
      EXPECT_EQ(s.script.messages, std::vector<std::string>{c.message});
    } else {
      EXPECT_TRUE(s.script.messages.empty());
    }
  }

  // A version that is not text at all.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKey(HKEY_CLASSES_ROOT, "Software\\RealNetworks\\RealPlayer\\CurrentVersion", &key), ERROR_SUCCESS);
  const DWORD six = 6;
  ASSERT_EQ(RegSetValueEx(key, "", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&six), sizeof six), ERROR_SUCCESS);
  RegCloseKey(key);
  s.script.messages.clear();
  EXPECT_EQ(view.CheckRealPlayer(), 0);
  EXPECT_EQ(s.script.messages, std::vector<std::string>{kMustInstall});
}

TEST(VoiceCommentaryTest, PlayerPathComesOnlyFromAQuotedOpenCommand) {
  platform::ScopedPlatformHome home;
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  CString path = "unchanged";
  EXPECT_EQ(view.FindRealPlayerPath(path), 0);  // no ".rm" type
  SetDefault(".rm", "RealMedia");
  EXPECT_EQ(view.FindRealPlayerPath(path), 0);  // no open command
  SetDefault("RealMedia\\shell\\open\\command", "/opt/real/realplay %1");
  EXPECT_EQ(view.FindRealPlayerPath(path), 0);
  SetDefault("RealMedia\\shell\\open\\command", "\"/opt/real/realplay %1");
  EXPECT_EQ(view.FindRealPlayerPath(path), 0);
  EXPECT_EQ(std::string(static_cast<const char*>(path)), "unchanged");
  SetDefault("RealMedia\\shell\\open\\command", "\"/opt/real player/realplay\" \"%1\"");
  EXPECT_EQ(view.FindRealPlayerPath(path), 1);
  EXPECT_EQ(std::string(static_cast<const char*>(path)), "/opt/real player/realplay");

  // An unquoted command cannot start the player.
  SetDefault("Software\\RealNetworks\\RealPlayer\\CurrentVersion", "6.0");
  SetDefault(PlayerKey("6.0"), "6.0.6.45");
  SetDefault("RealMedia\\shell\\open\\command", "/opt/real/realplay %1");
  s.script.messages.clear();
  view.OnVoiceCommentary();
  EXPECT_EQ(s.script.messages, std::vector<std::string>{kCannotRun});
  EXPECT_FALSE(view.IsVoicePlaying());
  // A quoted program that does not exist fails to start and leaves no process behind.
  SetDefault("RealMedia\\shell\\open\\command", "\"/nonexistent/realplay\" \"%1\"");
  s.script.messages.clear();
  view.OnVoiceCommentary();
  EXPECT_EQ(s.script.messages, std::vector<std::string>{kCannotRun});
  EXPECT_FALSE(view.IsVoicePlaying());
  EXPECT_EQ(view.GetPlayerInfo().dwProcessId, 0u);
}

TEST(VoiceCommentaryTest, PlayerGetsTheStreamAsOneArgumentAndStopsWithTheRelay) {
  platform::ScopedPlatformHome home;
  const std::string folder = home.Path();
  const std::string player = WritePlayer(folder);
  SetDefault("Software\\RealNetworks\\RealPlayer\\CurrentVersion", "6.0");
  SetDefault(PlayerKey("6.0"), "6.0.7.1");
  SetDefault(".rm", "RealMedia");
  SetDefault("RealMedia\\shell\\open\\command", "\"" + player + "\" \"%1\"");

  Session s;
  s.script.voice = true;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(view.IsConnected());
  // Blanks, quotes and shell characters stay inside the one argument.
  const std::string address = "rtsp://127.0.0.1/relay stream.rm?a=\"b c\"&x=$(touch pwned);y\\";
  ASSERT_TRUE(s.Relay("mu|" + address + "\neh\n", [&] { return view.IsHistoryComplete(); }));
  ASSERT_EQ(std::string(static_cast<const char*>(view.GetMediaAddress())), address);

  const std::string args = folder + "/args.txt";
  view.OnVoiceCommentary();
  ASSERT_TRUE(view.IsVoicePlaying());
  EXPECT_TRUE(s.script.messages.empty());
  EXPECT_EQ(Pane(s), "Voice on.");
  ASSERT_TRUE(Session::WaitFor([&] { return std::filesystem::exists(args); }));
  EXPECT_EQ(ReadAll(args), address + "\n");
  EXPECT_FALSE(std::filesystem::exists("pwned"));
  {
    // The Etc menu shows the command checked while the player runs.
    HMENU etc = ::GetSubMenu(::GetMenu(s.frame->m_hWnd), 2);
    s.frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(etc), 2);
    EXPECT_TRUE(::GetMenuState(etc, ID_VOICE_COMMENTARY, MF_BYCOMMAND) & MF_CHECKED);
    HWND window = platform::CreatePopupMenuWindow(etc, s.frame->m_hWnd, POINT{20, 20});
    ASSERT_NE(window, nullptr);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    platform::SetPopupMenuHighlight(window, 0);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    EXPECT_TRUE(platform::SaveSurfacePng(window, testsupport::SnapshotPath("client_menu_etc_voice.png").c_str()));
    ::DestroyWindow(window);
    s.frame->SendMessage(WM_MENUSELECT, MAKELONG(0, 0xFFFF), 0);
  }
  const DWORD first = view.GetPlayerInfo().dwProcessId;
  ASSERT_NE(first, 0u);
  EXPECT_FALSE(ProcessGone(first));

  // The same command ends it.
  view.OnVoiceCommentary();
  EXPECT_FALSE(view.IsVoicePlaying());
  EXPECT_EQ(view.GetPlayerInfo().dwProcessId, 0u);
  EXPECT_TRUE(ProcessGone(first));
  EXPECT_EQ(Pane(s), "Voice off.");

  // A player closed by hand still counts as running: the next command only clears it.
  std::filesystem::remove(args);
  view.OnVoiceCommentary();
  ASSERT_TRUE(view.IsVoicePlaying());
  ASSERT_TRUE(Session::WaitFor([&] { return std::filesystem::exists(args); }));
  const DWORD closed = view.GetPlayerInfo().dwProcessId;
  kill(static_cast<pid_t>(closed), SIGTERM);
  DWORD code = STILL_ACTIVE;
  ASSERT_TRUE(Session::WaitFor([&] {
    GetExitCodeProcess(view.GetPlayerInfo().hProcess, &code);
    return code != STILL_ACTIVE;
  }));
  std::filesystem::remove(args);
  view.OnVoiceCommentary();
  EXPECT_FALSE(view.IsVoicePlaying());
  EXPECT_EQ(Pane(s), "Voice off.");
  EXPECT_FALSE(std::filesystem::exists(args));

  // Started again, it goes when the relay closes the connection.
  std::filesystem::remove(args);
  view.OnVoiceCommentary();
  ASSERT_TRUE(view.IsVoicePlaying());
  const DWORD second = view.GetPlayerInfo().dwProcessId;
  ASSERT_TRUE(Session::WaitFor([&] { return std::filesystem::exists(args); }));
  s.peer.CloseClient();
  ASSERT_TRUE(Session::WaitFor([&] { return !view.IsConnected(); }));
  EXPECT_FALSE(view.IsVoicePlaying());
  EXPECT_TRUE(ProcessGone(second));
}

}  // namespace
