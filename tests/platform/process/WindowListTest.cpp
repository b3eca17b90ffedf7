// The published-window list: names of any bytes survive, foreign or damaged lines are skipped,
// and the list follows the process's shown top-level windows.

#include <unistd.h>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/process.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/windows.h"
#include "../../../platform/src/process/WindowList.h"

namespace platform::process {
namespace {

TEST(WindowListTest, NamesOfAnyBytesSurviveARoundTrip) {
  WindowList list{0xFEDCBA9876543210u,
                  {
                      {65552, "Vornel", "Live Relay"},
                      {65554, "Tab\tand\nnewline", "100% sure\r"},
                      {65556, "", ""},
                      {65558, "AfxFrameOrView", Cp949("이용자 등록 및 갱신")},
                  }};
  WindowList read = ParseWindowList(FormatWindowList(list));
  EXPECT_EQ(read.instance, list.instance);
  EXPECT_EQ(read.windows, list.windows);
}

TEST(WindowListTest, DamagedLinesAreSkippedAndTheRestKept) {
  std::string text =
      "instance 77\n"
      "65552\tGood\tTitle\n"
      "notanumber\tBad\tTitle\n"
      "0\tZero\tHandle\n"
      "65554\tMissingTitle\n"
      "65556\tStray%\tTitle\n"
      "65558\tBadHex%G1\tTitle\n"
      "65560\tRaw\x01Control\tTitle\n"
      "99999999999999999999999\tHuge\tTitle\n"
      "65562\tLast\tNo newline";
  std::vector<PublishedWindow> windows = ParseWindowList(text).windows;
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(windows[0].className, "Good");
  EXPECT_EQ(windows[1].className, "Last");
  EXPECT_EQ(windows[1].title, "No newline");
}

TEST(WindowListTest, TextWithoutItsInstanceLineIsNoList) {
  for (const char* text : {"65552\tGood\tTitle\n", "instance 0\n65552\tGood\tTitle\n",
                           "instance x\n65552\tGood\tTitle\n", "", "instance 12 \n"}) {
    WindowList list = ParseWindowList(text);
    EXPECT_EQ(list.instance, 0u) << text;
    EXPECT_TRUE(list.windows.empty()) << text;
  }
  EXPECT_EQ(ParseWindowList("instance 12").instance, 12u);
}

TEST(WindowListTest, NamesMatchIgnoringAsciiCaseOnly) {
  EXPECT_TRUE(NameMatches(nullptr, "anything"));
  EXPECT_TRUE(NameMatches("VORNEL", "vornel"));
  EXPECT_FALSE(NameMatches("Vornel", "Vornel2"));
  EXPECT_FALSE(NameMatches("", "Vornel"));
  EXPECT_TRUE(NameMatches("", ""));
  std::string korean = Cp949("등록");
  EXPECT_TRUE(NameMatches(korean.c_str(), korean));
}

// The list this process published, read back from its file.
std::vector<PublishedWindow> OwnList() {
  std::ifstream in(WindowChannelFolder() + "/" + std::to_string(::getpid()) + ".list", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return ParseWindowList(text.str()).windows;
}

bool Lists(HWND hwnd, const std::string& title) {
  for (const PublishedWindow& window : OwnList()) {
    if (window.handle == reinterpret_cast<std::uintptr_t>(hwnd)) return window.title == title;
  }
  return false;
}

TEST(WindowListTest, PublishedListFollowsShownTopLevelWindows) {
  ScopedPlatformHome home;
  ASSERT_TRUE(OpenWindowChannel());
  HWND hwnd = CreateWindowEx(0, "AfxWnd", "First", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                             nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_FALSE(Lists(hwnd, "First"));  // hidden windows are not published

  ShowWindow(hwnd, SW_SHOW);
  EXPECT_TRUE(Lists(hwnd, "First"));
  SetWindowText(hwnd, "Second");
  EXPECT_TRUE(Lists(hwnd, "Second"));
  HWND child = CreateWindowEx(0, "Static", "Child", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hwnd, nullptr, nullptr,
                              nullptr);
  EXPECT_EQ(OwnList().size(), 1u);  // children are never published
  ShowWindow(hwnd, SW_HIDE);
  EXPECT_FALSE(Lists(hwnd, "Second"));
  ShowWindow(hwnd, SW_SHOW);
  DestroyWindow(hwnd);
  EXPECT_TRUE(OwnList().empty());
  EXPECT_FALSE(IsWindow(child));

  CloseWindowChannel();
  EXPECT_FALSE(IsWindowChannelOpen());
}

}  // namespace
}  // namespace platform::process
