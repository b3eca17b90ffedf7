// A picture of the waiting room under X11, with users, rooms and chat, for people to look at.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include <platform/display.h>
#include <platform/files.h>
#include <platform/gdi.h>
#include <platform/messageloop.h>
#include <platform/profile.h>
#include <platform/registry.h>
#include <platform/resources.h>
#include <platform/time.h>
#include <platform/windows.h>

#include "../app/MovieControlKey.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/resources/OrvantaResources.h"
#include "platform/display/XvfbServer.h"
#include "FrameOnScreen.h"
#include "ShownPixels.h"
#include "support/SnapshotPath.h"

namespace {

std::string Room(const std::string& number, const std::string& black, const std::string& blackGrade,
                 const std::string& white, const std::string& whiteGrade, const std::string& status,
                 const std::string& publicCode, const std::string& title, const std::string& moves) {
  return number + "|" + title + "|x|" + black + "|x|" + blackGrade + "|x|" + white + "|x|" + whiteGrade + "|2|" + moves +
         "|" + status + "|" + publicCode + "|" + blackGrade;
}

// Pixels of the mark in the first column of list's row whose room number (column 1) is number,
// counted by kind: the green of an open room and the gold of a locked one.
struct MarkPixels {
  int green{0};
  int gold{0};
};
MarkPixels RoomMark(CListCtrl& list, const char* number) {
  MarkPixels counted;
  int row = -1;
  for (int i = 0; i < list.GetItemCount(); ++i)
    if (list.GetItemText(i, 1) == number)
      row = i;
  CRect icon;
  if (row < 0 || !list.GetItemRect(row, &icon, LVIR_ICON))
    return counted;
  CRect window;
  list.GetWindowRect(&window);
  list.ClientToScreen(&icon);
  icon.OffsetRect(-window.left, -window.top);
  const platform::Surface shot = lobbytest::ShownPixels(list.m_hWnd, "part.png");
  const int top = std::max(0, static_cast<int>(icon.top));
  const int bottom = std::min(shot.height, static_cast<int>(icon.bottom));
  const int left = std::max(0, static_cast<int>(icon.left));
  const int right = std::min(shot.width, static_cast<int>(icon.right));
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      const std::uint32_t p = shot.Row(y)[x];
      const int r = (p >> 16) & 0xFF;
      const int g = (p >> 8) & 0xFF;
      const int b = p & 0xFF;
      counted.green += g > 0x80 && r < 0x60 && b < 0x70;
      counted.gold += r > 0x90 && g >= 0x60 && g <= 0xA0 && b < 0x40;
    }
  return counted;
}

TEST(WaitingRoomScreenshotTest, TheWaitingRoomWithUsersRoomsAndChat) {
  lobbytest::WithFrame("orvanta-waiting-room-picture", [](CMainFrame* frame) {
    CFieldTokenizer rooms(CString("|4|1|Free|2|Dan room|3|Kyu room|5|Pro|"));
    frame->OnWaitingRoomList(rooms);
    frame->RememberWaitingRoom(2, "R2", "Dan room");
    frame->SwitchView(CMainFrame::kWaitingRoomView);
    CTirvoDListView* view = frame->GetWaitingRoomView();
    ASSERT_NE(view, nullptr);
    view->OnUserList("|1|x|9|1|amy|Amy|3K|3|bob|Bob|1D|2|cid|Cid|5K|2|dan|Dan|Pro2D|5|eve|Eve|2D|2|fay|Fay|7K|2|gus|Gus|*1D|3|"
                     "hal|Hal|12K|1|ian|Ian|4D|");
    const std::string title = Cp949("즐거운 대국");
    view->OnRoomList("|1|x|6|" + CString(Room("11", "amy", "3K", "bob", "1D", "1", "1", "Good Play!!", "87").c_str()) + "|" +
                     Room("12", "cid", "5K", "", "", "3", "2", "Teach me", "0").c_str() + "|" +
                     Room("13", "dan", "Pro2D", "eve", "2D", "2", "1", "Study game", "154").c_str() + "|" +
                     Room("14", "fay", "7K", "hal", "12K", "4", "1", title, "233").c_str() + "|" +
                     Room("15", "gus", "*1D", "ian", "4D", "7", "1", "Review", "211").c_str() + "|" +
                     Room("16", "jon", "9K", "kim", "8K", "1", "1", "Rematch", "45").c_str() + "|R2|");
    view->AddChatLine("|R2|x|amy|a|b|Hello everyone!|");
    view->AddChatLine("|R2|x|bob|a|b|Anyone for a 30 minute game?|");
    view->AddChatLine("|R2|x|dan|a|b|" + CString(Cp949("안녕하세요. 반갑습니다.")) + "|");
    view->SortUserList(1);
    // Nine users, six rooms and three chat lines are drawn, and the chat input is there.
    EXPECT_GE(lobbytest::WaitForRows(view->GetRoomList(), "part.png", 600), 600);
    EXPECT_GE(lobbytest::RowTextPixels(view->GetUserList(), "part.png"), 400);
    EXPECT_GE(lobbytest::DarkPixels(
                  lobbytest::ShownPixels(view->GetDlgItem(CTirvoDListView::kChatBox)->m_hWnd, "part.png")),
              150);
    // A public room shows an open mark, a private one a lock, in place of the public word.
    MarkPixels open;
    MarkPixels locked;
    platform::RunUntil([&] {
      open = RoomMark(view->GetRoomList(), "11");
      locked = RoomMark(view->GetRoomList(), "12");
      return open.green >= 20 && locked.gold >= 20;
    }, 5000);
    EXPECT_GE(open.green, 20);
    EXPECT_EQ(open.gold, 0);
    EXPECT_GE(locked.gold, 20);
    EXPECT_EQ(locked.green, 0);
    const std::string path = testsupport::SnapshotPath("orvanta-waiting-room.png");
    EXPECT_FALSE(lobbytest::ShownPixels(frame->m_hWnd, path).pixels.empty()) << path;
  });
}

}  // namespace
