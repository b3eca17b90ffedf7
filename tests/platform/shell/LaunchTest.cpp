#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/files.h"
#include "platform/shell.h"

namespace {

// A script that writes its folder and arguments, one a line, to the file "out" beside it.
std::string WriteRecorder(const platform::TempDir& dir, const std::string& name) {
  std::string path = dir / name;
  std::ofstream(path) << "#!/bin/sh\nout=\"" << (dir / "out") << "\"\npwd > \"$out.tmp\"\n"
                      << "for a in \"$@\"; do echo \"$a\" >> \"$out.tmp\"; done\nmv \"$out.tmp\" \"$out\"\nexit 7\n";
  chmod(path.c_str(), 0755);
  return path;
}

// Waits (real time: the child is a real process) for the recorder's output.
std::string WaitForOutput(const platform::TempDir& dir) {
  for (int i = 0; i < 500; ++i) {
    std::ifstream in(dir / "out");
    if (in) {
      std::stringstream s;
      s << in.rdbuf();
      return s.str();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return "(no output)";
}

DWORD WaitForExit(HANDLE process) {
  DWORD code = STILL_ACTIVE;
  for (int i = 0; i < 500 && code == STILL_ACTIVE; ++i) {
    GetExitCodeProcess(process, &code);
    if (code == STILL_ACTIVE) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return code;
}

}  // namespace

TEST(LaunchTest, CreateProcessRunsTheLinesProgramWithItsArguments) {
  auto dir = platform::MakeTempDir();
  std::string program = WriteRecorder(dir, "player");
  std::string line = "\"" + program + ".exe\" rtsp://host/live \"two words\"";
  STARTUPINFO startup{};
  startup.cb = 68;
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcess(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            dir.Path().c_str(), &startup, &info));
  ASSERT_NE(info.hProcess, nullptr);
  EXPECT_GT(info.dwProcessId, 0u);
  EXPECT_EQ(WaitForOutput(dir), dir.Path() + "\nrtsp://host/live\ntwo words\n");
  EXPECT_EQ(WaitForExit(info.hProcess), 7u);
  EXPECT_TRUE(CloseHandle(info.hProcess));
  EXPECT_FALSE(CloseHandle(info.hProcess));
  DWORD code = 0;
  EXPECT_FALSE(GetExitCodeProcess(info.hProcess, &code));
}

TEST(LaunchTest, MissingProgramFailsAndLeavesTheInformationZero) {
  char line[] = "no-such-program-anywhere.exe x";
  PROCESS_INFORMATION info{};
  EXPECT_FALSE(CreateProcess(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(info.hProcess, nullptr);
  EXPECT_EQ(info.dwProcessId, 0u);
  EXPECT_EQ(WinExec("no-such-program-anywhere.exe", SW_SHOWNORMAL), static_cast<UINT>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(WinExec("", SW_SHOWNORMAL), static_cast<UINT>(ERROR_BAD_FORMAT));
  EXPECT_EQ(WinExec(nullptr, SW_SHOWNORMAL), static_cast<UINT>(ERROR_BAD_FORMAT));
}

TEST(LaunchTest, TerminateEndsARunningProcessWithTheGivenCode) {
  char line[] = "sleep 30";
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcess(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_TRUE(TerminateProcess(info.hProcess, 0));
  ASSERT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(TerminateProcess(info.hProcess, 0));  // already ended
  EXPECT_TRUE(CloseHandle(info.hProcess));
  EXPECT_FALSE(TerminateProcess(nullptr, 0));
}

TEST(LaunchTest, WinExecStartsWithoutAHandle) {
  auto dir = platform::MakeTempDir();
  std::string program = WriteRecorder(dir, "DownLoad");
  std::string line = program + ".exe 1234 -cf |1|2|";
  EXPECT_GT(WinExec(line.c_str(), SW_SHOWNORMAL), 31u);
  std::string out = WaitForOutput(dir);
  EXPECT_NE(out.find("\n1234\n-cf\n|1|2|\n"), std::string::npos) << out;
}

class ShellExecuteTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_opener = WriteRecorder(m_dir, "opener");
    setenv("PLATFORM_OPENER", m_opener.c_str(), 1);
  }
  void TearDown() override { unsetenv("PLATFORM_OPENER"); }

  platform::TempDir m_dir;
  std::string m_opener;
};

TEST_F(ShellExecuteTest, OpenHandsTheAddressToTheOpener) {
  HINSTANCE result = ShellExecute(nullptr, "Open", "mailto:op@example.org", nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_GT(reinterpret_cast<UINT_PTR>(result), 32u);
  std::string out = WaitForOutput(m_dir);
  EXPECT_NE(out.find("\nmailto:op@example.org\n"), std::string::npos) << out;
}

TEST_F(ShellExecuteTest, ExWithNoCloseProcessGivesTheOpenersHandle) {
  SHELLEXECUTEINFO info{};
  info.cbSize = 60;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpFile = "http://example.org/help/";
  ASSERT_TRUE(ShellExecuteEx(&info));
  EXPECT_GT(reinterpret_cast<UINT_PTR>(info.hInstApp), 32u);
  ASSERT_NE(info.hProcess, nullptr);
  EXPECT_EQ(WaitForExit(info.hProcess), 7u);
  EXPECT_TRUE(CloseHandle(info.hProcess));
  EXPECT_NE(WaitForOutput(m_dir).find("\nhttp://example.org/help/\n"), std::string::npos);
}

TEST_F(ShellExecuteTest, UnknownVerbOrMissingOpenerOrFileFails) {
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(ShellExecute(nullptr, "print", "x.txt", nullptr, nullptr, 1)),
            static_cast<UINT_PTR>(SE_ERR_NOASSOC));
  EXPECT_LE(reinterpret_cast<UINT_PTR>(ShellExecute(nullptr, "open", "", nullptr, nullptr, 1)), 32u);
  setenv("PLATFORM_OPENER", (m_dir / "missing-opener").c_str(), 1);
  SHELLEXECUTEINFO info{};
  info.lpVerb = "Open";
  info.lpFile = "http://example.org/";
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  EXPECT_FALSE(ShellExecuteEx(&info));
  EXPECT_EQ(info.hProcess, nullptr);
  EXPECT_LE(reinterpret_cast<UINT_PTR>(info.hInstApp), 32u);
  EXPECT_FALSE(ShellExecuteEx(nullptr));
}
