// Pictures of the viewer following a relayed game, headless and on an X server.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ClientSessionSupport.h"
#include "client/images/Image.h"
#include "client/model/CommentMap.h"
#include "client/model/GameInfoDlg.h"
#include "client/model/GameInfo.h"
#include "client/model/GameRecordFile.h"
#include "client/model/NodeArray.h"
#include "client/model/RefDiagramMap.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/display/XvfbServer.h"
#include "platform/gdi.h"
#include "platform/preview.h"
#include "support/SnapshotPath.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using clienttest::Session;

// A 100 x 110 JPEG portrait: a face-coloured disc on a coloured ground.
std::string Portrait(BYTE red, BYTE green, BYTE blue) {
  // A folder of its own: tests running side by side each make their picture.
  platform::TempDir folder;
  const std::string path = folder / "portrait.jpg";
  CImage image;
  image.Create(100, 110, 24, -1);
  for (int y = 0; y < 110; ++y) {
    for (int x = 0; x < 100; ++x) {
      // Rows count from the bottom, as in a DIB.
      const int top = 109 - y;
      const int dx = x - 50, dy = top - 45, body = top - 110;
      if (dx * dx + dy * dy < 26 * 26) image.SetRGB(x, y, 236, 196, 160);
      else if (dx * dx + body * body < 48 * 48) image.SetRGB(x, y, 60, 60, 70);
      else image.SetRGB(x, y, red, green, blue);
    }
  }
  image.SaveFile(path.c_str(), kImageJpeg);
  std::ifstream file(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::filesystem::remove(path);
  return bytes;
}

// The first count moves of the demonstration record as relay lines, with comments and clocks.
std::string DemoLines(int count) {
  CNodeArray moves;
  CCommentMap comments;
  CRefDiagramMap diagrams;
  CGameInfo info;
  CGameRecordFile file;
  if (!file.Read(TEST_DATA_DIR "/relay-demo.sgf", &moves, &comments, &diagrams, &info)) return "";
  std::string lines = "gi|gn|Ondrivo Cup Final\ngi|bn|Kim Relay\ngi|bg|9\ngi|bc|Ondrivo Club\n"
                      "gi|wn|Lee Viewer\ngi|wg|7\ngi|wc|Baduk Hall\nmu|null\n";
  const std::string black = Portrait(120, 150, 200);
  const std::string white = Portrait(200, 170, 110);
  lines += "bp|" + std::to_string(black.size()) + "\n" + black;
  lines += "wp|" + std::to_string(white.size()) + "\n" + white;
  int clocks[3] = {0, 3600, 3600};
  for (int k = 1; k <= count && k <= moves.GetSize(); ++k) {
    const CStoneNode* node = moves.GetNode(k - 1);
    const bool black = node->GetColor() == 2;
    clocks[black ? 2 : 1] -= 20 + (k * 7) % 40;
    char line[128];
    std::snprintf(line, sizeof line, "am|%03d|%s|%c%c|%d|%02d%02d%02d|%02d%02d%02d\n", k, black ? "b" : "w",
                  node->GetX() + 0x60, node->GetY() + 0x60, 1999990000 + k, clocks[1] / 3600, clocks[1] / 60 % 60,
                  clocks[1] % 60, clocks[2] / 3600, clocks[2] / 60 % 60, clocks[2] % 60);
    lines += line;
  }
  lines += "te|" + std::to_string(count) + "|Black blocks at the top; the game is balanced.\n";
  lines += "te|" + std::to_string(count) + "|White must now decide about the lower side.\n";
  lines += "eh\nqc|Q: Who is ahead? A: Even so far.\ne1|Round 1, live\n";
  moves.DeleteAll();
  return lines;
}

void ShowGame(Session& s, int moves) {
  s.Start();
  ASSERT_NE(s.view, nullptr);
  ASSERT_TRUE(s.view->IsConnected());
  ASSERT_TRUE(s.Relay(DemoLines(moves), [&] { return !s.view->GetCommentaryCaption().IsEmpty(); }));
  s.frame->UpdateWindow();
  platform::PumpMessages();
  s.frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  platform::PumpMessages();
}

// The colour of point (x, y) of control id (negative: from the right or bottom edge).
COLORREF ControlPixel(HWND parent, int id, int x, int y) {
  CWnd* control = CWnd::FromHandle(::GetDlgItem(parent, id));
  CRect client;
  control->GetClientRect(&client);
  CClientDC dc(control);
  return dc.GetPixel(x < 0 ? client.right + x : x, y < 0 ? client.bottom + y : y);
}

TEST(ClientScreenshotTest, HeadlessWindowShowsBoardPanelsAndClocks) {
  Session s;
  ShowGame(s, 60);
  EXPECT_EQ(s.view->GetBoard().GetLastMove(), 60);
  EXPECT_NE(s.Text(IDC_COMMENT_PANE).Find("Black blocks"), -1);
  EXPECT_EQ(s.view->GetWhitePhoto().GetWidth(), 100);
  EXPECT_EQ(s.view->GetBlackPhoto().GetHeight(), 110);
  const std::string path = testsupport::SnapshotPath("client_headless.png");
  ASSERT_TRUE(platform::SaveSurfacePng(s.frame->GetSafeHwnd(), path.c_str()));

  // The view's colours reach its controls: the panes on the pane brush, the labels transparent
  // over the panel picture, the photographs in their panes.
  const HWND view = s.view->GetSafeHwnd();
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  for (int pane : {IDC_COMMENT_PANE, IDC_ANSWER_PANE, IDC_QUESTION_EDIT}) {
    SCOPED_TRACE(pane);
    EXPECT_EQ(ControlPixel(view, pane, 30, -4), RGB(242, 238, 223));
  }
  EXPECT_NE(ControlPixel(view, IDC_WHITE_AFFILIATION, -2, -2), face);
  // The black portrait's ground at the pane's top corner.
  const COLORREF ground = ControlPixel(view, IDC_BLACK_PHOTO, 3, 3);
  EXPECT_NEAR(GetBValue(ground), 200, 30);
  EXPECT_NEAR(GetRValue(ground), 120, 30);

  // Game information shows the same photographs.
  COLORREF infoGround = 0;
  s.script.onDialog = [&](UINT templateId, HWND dialog) -> std::optional<INT_PTR> {
    if (templateId == CGameInfoDlg::kTemplateId) {
      ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
      CWnd* pane = CWnd::FromHandle(::GetDlgItem(dialog, CGameInfoDlg::kBlackPicture));
      CRect client;
      pane->GetClientRect(&client);
      CClientDC dc(pane);
      // The portrait is centred in the pane: a little inside its top-left corner is the ground.
      infoGround = dc.GetPixel((client.Width() - 100) / 2 + 3, (client.Height() - 110) / 2 + 3);
      platform::SaveSurfacePng(dialog, testsupport::SnapshotPath("client_game_info.png").c_str());
    }
    return IDOK;
  };
  s.view->SendMessage(WM_COMMAND, ID_GAME_INFO, 0);
  platform::PumpMessages();
  s.script.onDialog = nullptr;
  EXPECT_NEAR(GetBValue(infoGround), 200, 30);
  EXPECT_NEAR(GetRValue(infoGround), 120, 30);

  // Print Setup asks the print dialog and prints nothing.
  s.frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_SETUP, 0);
  platform::PumpMessages();
  EXPECT_EQ(s.script.printDialogs, 1);
}

TEST(ClientScreenshotTest, PrintPreviewShowsTheBoardOnItsPage) {
  Session s;
  ShowGame(s, 40);
  s.view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
  platform::PumpMessages();
  ASSERT_TRUE(s.frame->IsInPreviewMode());
  auto* preview = dynamic_cast<CPreviewView*>(s.frame->GetActiveView());
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->GetPrintView(), s.view);
  s.frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  platform::PumpMessages();
  ASSERT_TRUE(platform::SaveSurfacePng(s.frame->GetSafeHwnd(), testsupport::SnapshotPath("client_preview.png").c_str()));
  preview->ClosePreview();
  platform::PumpMessages();
  EXPECT_FALSE(s.frame->IsInPreviewMode());
  EXPECT_EQ(s.frame->GetActiveView(), s.view);
}

// What the X server shows in window, read back from the server itself.
bool GrabXWindow(const std::string& displayName, unsigned long window, platform::Surface& out) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (display == nullptr) return false;
  XWindowAttributes attributes{};
  bool grabbed = false;
  if (XGetWindowAttributes(display, window, &attributes)) {
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image != nullptr) {
      out = platform::Surface(attributes.width, attributes.height);
      for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x) out.Row(y)[x] = XGetPixel(image, x, y) & 0xFFFFFF;
      XDestroyImage(image);
      grabbed = true;
    }
  }
  XCloseDisplay(display);
  return grabbed;
}

TEST(ClientScreenshotTest, OnAnXServer) {
  const std::string& display = platform::testing::TestDisplayName();
  if (display.empty()) GTEST_SKIP() << "no X server";
  Session s;
  // Logged in headless (a person would answer the login dialog on the screen), then shown there.
  ShowGame(s, 120);
  ASSERT_TRUE(platform::display::UseX11Display(display.c_str()));
  s.frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  platform::PumpMessages();
  platform::display::Sync();
  const unsigned long window = platform::display::NativeWindowOf(s.frame->GetSafeHwnd());
  ASSERT_NE(window, 0u);
  platform::Surface shown;
  const bool grabbed = GrabXWindow(display, window, shown);
  platform::display::UseHeadless();
  ASSERT_TRUE(grabbed);
  EXPECT_TRUE(platform::SaveSurfacePng(shown, testsupport::SnapshotPath("client_x11.png").c_str()));

  // What the server shows, at points known from the windows' places: the panes' colour, the
  // black player's photograph and a black stone on the board.
  CRect frame;
  s.frame->GetWindowRect(&frame);
  // The window manager draws the caption and borders outside the X window: the sides and the
  // bottom alike, the rest on top.
  const int side = (frame.Width() - shown.width) / 2;
  const int top = frame.Height() - shown.height - side;
  const auto shownAt = [&](CWnd& wnd, CPoint point) {
    wnd.ClientToScreen(&point);
    const int x = point.x - frame.left - side, y = point.y - frame.top - top;
    return x >= 0 && y >= 0 && x < shown.width && y < shown.height ? static_cast<COLORREF>(shown.Row(y)[x]) : CLR_INVALID;
  };
  const auto rgb = [](COLORREF pixel) {  // surface rows hold 0xRRGGBB
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  };
  CWnd& commentPane = *s.view->GetDlgItem(IDC_COMMENT_PANE);
  CRect paneClient;
  commentPane.GetClientRect(&paneClient);
  EXPECT_EQ(rgb(shownAt(commentPane, CPoint(30, paneClient.bottom - 4))), RGB(242, 238, 223));
  const COLORREF ground = rgb(shownAt(*s.view->GetDlgItem(IDC_BLACK_PHOTO), CPoint(3, 3)));
  EXPECT_NEAR(GetBValue(ground), 200, 30);
  EXPECT_NEAR(GetRValue(ground), 120, 30);
  CBadukCtrl& board = s.view->GetBoard();
  int lastX = 0, lastY = 0;
  DWORD lastState = 0;
  board.GetMoveAt(board.GetLastMove(), lastX, lastY, lastState);
  int blackStones = 0;
  for (int x = 1; x <= 19; ++x) {
    for (int y = 1; y <= 19; ++y) {
      // The last move carries its mark.
      if (!board.GetCell(x, y).HasStone() || board.GetCell(x, y).GetColor() != 2 || (x == lastX && y == lastY)) continue;
      const COLORREF stone = rgb(shownAt(board, board.CellCentre(x, y)));
      EXPECT_LT(GetRValue(stone) + GetGValue(stone) + GetBValue(stone), 3 * 90) << x << ", " << y;
      ++blackStones;
    }
  }
  EXPECT_GT(blackStones, 20);
}

}  // namespace
