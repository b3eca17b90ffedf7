// The start screen on an X server: the start view with the server's waiting rooms and the main
// menu pane with its banner, grabbed from the X window and written as pictures.

#include <sys/stat.h>

#include <bit>
#include <fstream>
#include <map>

#include <platform/display.h>
#include <platform/gdi.h>

#include "orvanta/app/MainFrameFixture.h"
#include "orvanta/app/OrvantaView.h"
#include "orvanta/widgets/MainMenu.h"
#include "platform/display/XvfbServer.h"
#include "support/SnapshotPath.h"
#include "tests/orvanta/widgets/GifWriter.h"

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

std::uint32_t RgbOf(unsigned long pixel, const Visual& visual) {
  auto channel = [pixel](unsigned long mask) -> std::uint32_t {
    if (!mask)
      return 0;
    const int shift = std::countr_zero(mask);
    const unsigned long max = mask >> shift;
    return static_cast<std::uint32_t>(((pixel & mask) >> shift) * 255 / max);
  };
  return channel(visual.red_mask) << 16 | channel(visual.green_mask) << 8 | channel(visual.blue_mask);
}

// A banner with a Korean line on a coloured ground, as a one-image GIF (colours cut to 3-3-2).
std::string KoreanBanner(int width, int height, COLORREF ground, const char* utf8) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap bitmap;
  bitmap.CreateBitmap(width, height, 1, 32, nullptr);
  CBitmap* old = dc.SelectObject(&bitmap);
  dc.FillSolidRect(0, 0, width, height, ground);
  dc.FillSolidRect(0, height - 6, width, 6, RGB(0xFF, 0xD7, 0x00));
  CFont font;
  font.CreateFont(17, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, HANGUL_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, Cp949("굴림"));
  CFont* oldFont = dc.SelectObject(&font);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(255, 255, 255));
  CRect box(0, 0, width, height - 6);
  const CString text = Cp949(utf8);
  dc.DrawText(text, text.GetLength(), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  dc.SelectObject(oldFont);
  platform::Surface pixels;
  platform::CopyDCPixels(&dc, pixels);
  dc.SelectObject(old);
  std::vector<std::uint32_t> palette;
  for (int i = 0; i < 256; ++i)
    palette.push_back(static_cast<std::uint32_t>(((i >> 5) * 255 / 7) << 16 | (((i >> 2) & 7) * 255 / 7) << 8 |
                                                 ((i & 3) * 255 / 3)));
  giftest::Image image;
  image.width = width;
  image.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = pixels.Row(y)[x];
      const int r = static_cast<int>((c >> 16) & 0xFF) * 7 / 255;
      const int g = static_cast<int>((c >> 8) & 0xFF) * 7 / 255;
      const int b = static_cast<int>(c & 0xFF) * 3 / 255;
      image.pixels.push_back(static_cast<std::uint8_t>(r << 5 | g << 2 | b));
    }
  return giftest::Write(width, height, palette, {image});
}

class StartScreenX11Test : public MainFrameTest {
protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty())
      GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    m_displayName = name;
  }
  void TearDown() override {
    platform::display::UseHeadless();
    if (m_observer)
      XCloseDisplay(m_observer);
  }
  // What the X window of top shows, as a surface.
  platform::Surface Grab(HWND top) {
    platform::display::Sync();
    platform::PumpMessages();
    platform::display::Sync();
    const Window native = platform::display::NativeWindowOf(top);
    XWindowAttributes attributes{};
    XGetWindowAttributes(m_observer, native, &attributes);
    XImage* image = XGetImage(m_observer, native, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    platform::Surface shot(attributes.width, attributes.height);
    if (!image)
      return shot;
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x)
        shot.Row(y)[x] = RgbOf(XGetPixel(image, x, y), *attributes.visual);
    XDestroyImage(image);
    return shot;
  }

  std::string m_displayName;
  Display* m_observer{nullptr};
};

TEST_F(StartScreenX11Test, TheStartViewShowsTheRoomsAndTheMenuPaneItsBanner) {
  ::mkdir("image", 0700);
  std::ofstream("image/ad001.gif", std::ios::binary) << KoreanBanner(160, 55, RGB(0x8B, 0x1A, 0x1A), "가을 바둑 대회");
  std::ofstream("image/ad002.gif", std::ios::binary) << KoreanBanner(160, 55, RGB(0x1A, 0x4B, 0x8B), "신규 회원 환영");
  std::ofstream("AD.ini", std::ios::binary) << "/ad001.gif/http:\\\\www.example/05/ad002.gif/http:\\\\www.example/06/";
  peer.ReplyAlways(3, 6, {{GameServerPeer::Record(3, 6, Cp949("|4|1|1|한빛 대기실|1|2|은하수 대기실|3|3|배움터|4|4|"
                                                               "고수의 방|")),
                           0}});
  // The login runs headless (its dialog answered by the script); the screen then goes to X.
  LogIn();
  ASSERT_TRUE(PumpUntil([&] { return frame->GetStartView()->GetRoomButtonCount() == 5; }));
  frame->EndWaitCapture();
  frame->LoadAdverts();
  frame->GetMainMenu()->LoadBannerImages();
  ASSERT_TRUE(platform::display::UseX11Display(m_displayName.c_str()));
  m_observer = XOpenDisplay(m_displayName.c_str());
  ASSERT_NE(m_observer, nullptr);
  frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER);
  frame->ShowWindow(SW_SHOW);
  frame->UpdateWindow();
  ASSERT_TRUE(PumpUntil([&] {
    const std::vector<std::uint32_t> canvas = frame->GetMainMenu()->GetBanner().CopyCanvas();
    return !canvas.empty() && canvas[0] != 0;
  }));
  frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const platform::Surface shot = Grab(frame->m_hWnd);
  ASSERT_GT(shot.width, 600);
  EXPECT_TRUE(platform::SaveSurfacePng(shot, testsupport::SnapshotPath("orvanta-start-view.png").c_str()));

  // The main menu pane alone.
  CRect pane;
  frame->GetMainMenu()->GetWindowRect(&pane);
  // Where the X window (the menu bar and the client area under it) lies on the screen.
  int rootX = 0;
  int rootY = 0;
  Window child = 0;
  XTranslateCoordinates(m_observer, platform::display::NativeWindowOf(frame->m_hWnd), DefaultRootWindow(m_observer), 0,
                        0, &rootX, &rootY, &child);
  const CPoint origin(rootX, rootY);
  const CRect window(origin, CSize(shot.width, shot.height));
  const int left = pane.left - window.left;
  const int top = pane.top - window.top;
  platform::Surface menu(pane.Width(), pane.Height());
  for (int y = 0; y < menu.height && top + y < shot.height; ++y)
    for (int x = 0; x < menu.width && left + x < shot.width; ++x)
      menu.Row(y)[x] = shot.Row(top + y)[left + x];
  EXPECT_TRUE(platform::SaveSurfacePng(menu, testsupport::SnapshotPath("orvanta-main-menu.png").c_str()));

  // The X window shows the first room button's face and the banner's ground.
  CRect button;
  frame->GetStartView()->GetRoomButton(0)->GetWindowRect(&button);
  const std::uint32_t face = shot.Row(button.top - window.top + 3)[button.left - window.left + 150];
  EXPECT_NE(face, shot.Row(button.top - window.top - 3)[button.left - window.left + 150]);
  const std::uint32_t banner = menu.Row(5)[5];
  EXPECT_GT((banner >> 16) & 0xFF, (banner & 0xFF) + 40) << std::hex << banner;  // the red ground

  // The View menu's tool bar: the frame with its rebar above the start view, the connect button
  // showing the online plug.
  frame->SendMessage(WM_COMMAND, CMainFrame::kToolBarCommand);
  frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const platform::Surface withBar = Grab(frame->m_hWnd);
  EXPECT_TRUE(platform::SaveSurfacePng(withBar, testsupport::SnapshotPath("orvanta-frame-toolbar.png").c_str()));
  CMainToolBar& bars = frame->GetToolBar();
  EXPECT_EQ(bars.GetConnectImage(), CMainFrame::kConnectedImage);
  CToolBarCtrl& buttons = bars.GetToolBar().GetToolBarCtrl();
  CRect connect;
  ASSERT_TRUE(buttons.GetItemRect(2, &connect));
  CRect barRect;
  bars.GetWindowRect(&barRect);
  EXPECT_GT(barRect.Height(), connect.Height());
  const std::uint32_t barFace = withBar.Row(barRect.top - window.top + 1)[barRect.right - window.left - 5];
  EXPECT_NE(barFace, shot.Row(barRect.top - window.top + 1)[barRect.right - window.left - 5]);

  // The game room's two rows of commands in the pane.
  frame->SwitchView(CMainFrame::kGameRoomView);
  frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const platform::Surface room = Grab(frame->m_hWnd);
  EXPECT_TRUE(platform::SaveSurfacePng(room, testsupport::SnapshotPath("orvanta-frame-game-room.png").c_str()));
  CRect lastButton = frame->GetMainMenu()->GetButtonRect(MenuButton::kAskCounting);
  CRect paneClient;
  frame->GetMainMenu()->GetClientRect(&paneClient);
  EXPECT_LE(lastButton.right, paneClient.right);  // the longest row fits the frame's width
}

}  // namespace
