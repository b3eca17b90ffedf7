// The waiting room's column widths as a person leaves them: dragged in the headers under the X
// server, kept in "setting.ini" when the program closes and shown again at the next start.

#include <gtest/gtest.h>

#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include <platform/display.h>
#include <platform/files.h>
#include <platform/messageloop.h>
#include <platform/profile.h>
#include <platform/resources.h>
#include <platform/time.h>
#include <platform/windows.h>

#include "../app/MovieControlKey.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/app/SettingFiles.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/resources/OrvantaResources.h"
#include "platform/display/XvfbServer.h"
#include "platform/display/XPointerKeys.h"

namespace {

using platform::testing::XPointerKeys;

std::vector<int> Widths(CListCtrl& list) {
  std::vector<int> widths;
  for (int i = 0; i < list.GetHeaderCtrl()->GetItemCount(); ++i) widths.push_back(list.GetColumnWidth(i));
  return widths;
}

class ColumnWidthsX11Test : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string& display = platform::testing::TestDisplayName();
    if (display.empty())
      GTEST_SKIP() << "no X server";
    if (!platform::display::UseX11Display(display.c_str()))
      GTEST_SKIP() << "cannot open " << display;
    m_display = true;
    platform::Clock::SetManual(false);
    SetMovieControlInstalled(true);
    m_previous = ::getcwd(nullptr, 0);
    ASSERT_EQ(::chdir(m_folder.Path().c_str()), 0);
    static platform::ResourceModule& module = platform::CreateResourceModule("orvanta-column-widths-x11");
    RegisterOrvantaResources(module.Handle());
    m_resources.emplace(module.Handle());
  }
  void TearDown() override {
    if (m_frame && ::IsWindow(m_frameHandle))
      m_frame->DestroyWindow();
    platform::PumpMessages();
    m_resources.reset();
    if (m_previous) {
      (void)!::chdir(m_previous);
      std::free(m_previous);
    }
    if (m_display)
      platform::display::UseHeadless();
    platform::ResetMessageQueue();
  }
  // Starts the program in the test's folder and shows the waiting room.
  CTirvoDListView* Start() {
    CServerAddress address;
    address.m_strHost = "127.0.0.1";
    address.m_nPort = 1;
    m_frame = new CMainFrame(address);
    if (!m_frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW))
      return nullptr;
    m_frameHandle = m_frame->m_hWnd;
    m_frame->MoveWindow(0, 0, 900, 560);
    m_frame->ShowWindow(SW_SHOW);
    CFieldTokenizer rooms(CString("|2|1|Free|2|Dan room|"));
    m_frame->OnWaitingRoomList(rooms);
    m_frame->RememberWaitingRoom(2, "R2", "Dan room");
    m_frame->SwitchView(CMainFrame::kWaitingRoomView);
    return m_frame->GetWaitingRoomView();
  }
  // Closes the program as a person does: the window is closed and the question answered with
  // Enter (Yes) through the X server.
  void Close(XPointerKeys& keys) {
    const auto box = [] {
      HWND active = ::GetActiveWindow();
      return active && platform::WindowClassName(active) == "PlatformMessageBox" ? active : nullptr;
    };
    CString caption;
    platform::testing::TimedSteps steps({{[&] { return box() != nullptr; },
                                          [&] {
                                            CWnd::FromHandle(box())->GetWindowText(caption);
                                            keys.Key(box(), XK_Return);
                                          }}},
                                        [&] {
                                          if (HWND shown = box())
                                            ::PostMessage(shown, WM_CLOSE, 0, 0);
                                        });
    m_frame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(steps.Done());
    EXPECT_EQ(caption, "Confirm");
    EXPECT_TRUE(XPointerKeys::WaitFor([&] { return !::IsWindow(m_frameHandle); }));
    m_frame = nullptr;
  }
  // Drags the divider at the right of list's column by dx with the pointer, through the X server.
  static void DragDivider(XPointerKeys& pointer, CListCtrl& list, int column, int dx) {
    CHeaderCtrl* header = list.GetHeaderCtrl();
    CRect item;
    ASSERT_TRUE(header->GetItemRect(column, &item));
    const CPoint from(item.right - 1, item.CenterPoint().y);
    pointer.Move(header->m_hWnd, from);
    pointer.Button(header->m_hWnd, from, true);
    for (int step = 1; step <= 4; ++step)
      pointer.Move(header->m_hWnd, CPoint(from.x + dx * step / 4, from.y), Button1Mask);
    pointer.Button(header->m_hWnd, CPoint(from.x + dx, from.y), false, Button1Mask);
  }

  CMainFrame* m_frame{nullptr};
  HWND m_frameHandle{nullptr};

private:
  bool m_display{false};
  platform::ScopedPlatformHome m_home;
  platform::TempDir m_folder;
  char* m_previous{nullptr};
  std::optional<platform::ResourceScope> m_resources;
};

TEST_F(ColumnWidthsX11Test, DraggedWidthsAreWrittenAndShownAtTheNextStart) {
  XPointerKeys pointer(platform::testing::TestDisplayName());
  ASSERT_TRUE(pointer.Ready());
  CTirvoDListView* view = Start();
  ASSERT_NE(view, nullptr);
  const std::vector<int> defaultRooms{20, 60, 70, 59, 110, 110, 56, 56, 90};
  const std::vector<int> defaultUsers{80, 85, 77, 88};
  ASSERT_EQ(Widths(view->GetRoomList()), defaultRooms);
  ASSERT_EQ(Widths(view->GetUserList()), defaultUsers);

  // Wider black players, a narrower ID.
  DragDivider(pointer, view->GetRoomList(), 4, 30);
  DragDivider(pointer, view->GetUserList(), 0, -20);
  ASSERT_TRUE(XPointerKeys::WaitFor([&] {
    return view->GetRoomList().GetColumnWidth(4) > 110 && view->GetUserList().GetColumnWidth(0) < 80;
  })) << "the drags did not reach the headers";
  const int black = view->GetRoomList().GetColumnWidth(4);
  const int id = view->GetUserList().GetColumnWidth(0);
  EXPECT_NEAR(black, 140, 3);
  EXPECT_NEAR(id, 60, 3);
  std::vector<int> rooms = defaultRooms;
  rooms[4] = black;
  std::vector<int> users = defaultUsers;
  users[0] = id;
  EXPECT_EQ(Widths(view->GetRoomList()), rooms);
  EXPECT_EQ(Widths(view->GetUserList()), users);

  Close(pointer);
  const std::string stored = "|20|60|70|59|" + std::to_string(black) + "|110|56|56|90|" + std::to_string(id) + "|85|77|88|";
  EXPECT_EQ(CSettingFiles(".").ReadSetting(1).str(), stored);

  view = Start();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Widths(view->GetRoomList()), rooms);
  EXPECT_EQ(Widths(view->GetUserList()), users);
}

TEST_F(ColumnWidthsX11Test, StoredListsOfAnyLengthGiveEveryColumnAWidth) {
  XPointerKeys keys(platform::testing::TestDisplayName());
  ASSERT_TRUE(keys.Ready());
  struct Row {
    const char* stored;
    std::vector<int> rooms;
    std::vector<int> users;
  };
  // Column 1 of both lists keeps its width between 21 and 400, whatever was stored; any other
  // keeps to what the screen can show.
  const int screen = ::GetSystemMetrics(SM_CXSCREEN);
  const Row rows[] = {
      {"", {20, 60, 70, 59, 110, 110, 56, 56, 90}, {80, 85, 77, 88}},
      {"|30|40|", {30, 40, 0, 0, 0, 0, 0, 0, 0}, {0, 21, 0, 0}},
      {"|1|2|3|4|5|6|7|8|9|10|11|", {1, 21, 3, 4, 5, 6, 7, 8, 9}, {10, 21, 0, 0}},
      {"|20|500|70|59|110|110|56|56|90|80|85|77|88|", {20, 400, 70, 59, 110, 110, 56, 56, 90}, {80, 85, 77, 88}},
      {"|20|60|99999999999|59|110|110|56|56|90|-5|85|77|88|", {20, 60, screen, 59, 110, 110, 56, 56, 90}, {0, 85, 77, 88}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.stored);
    ASSERT_TRUE(CSettingFiles(".").WriteSetting(1, row.stored, "|900|560|"));
    CTirvoDListView* view = Start();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Widths(view->GetRoomList()), row.rooms);
    EXPECT_EQ(Widths(view->GetUserList()), row.users);
    Close(keys);
    // What was shown is what stays: the short list comes back whole, with its zeros.
    std::string written = "|";
    for (const int width : row.rooms) written += std::to_string(width) + "|";
    for (const int width : row.users) written += std::to_string(width) + "|";
    EXPECT_EQ(CSettingFiles(".").ReadSetting(1).str(), written);
  }
}

}  // namespace
