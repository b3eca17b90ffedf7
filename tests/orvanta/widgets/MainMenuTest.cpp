// The main menu pane: the buttons each screen shows, and the advert banners read from "AD.ini"
// and the "image" folder, rotating every ten seconds while connected.

#include <sys/stat.h>

#include <fstream>

#include <platform/testinput.h>
#include <platform/time.h>

#include "orvanta/app/MainFrameFixture.h"
#include "orvanta/app/OrvantaView.h"
#include "orvanta/widgets/MainMenu.h"
#include "tests/orvanta/widgets/GifWriter.h"

namespace {

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A one-colour banner: which banner is shown can be read from the canvas.
std::string Banner(std::uint32_t colour) {
  giftest::Image image;
  image.width = 8;
  image.height = 4;
  image.pixels.assign(32, 1);
  return giftest::Write(8, 4, {0x000000, colour}, {image});
}

class MainMenuTest : public MainFrameTest {
protected:
  void SetUp() override {
    ::setenv("PLATFORM_OPENER", "true", 1);
    ::mkdir("image", 0700);
    WriteText("image/ad001.gif", Banner(0xFF0000));
    WriteText("image/ad002.gif", Banner(0x00FF00));
    WriteText("image/ad003.gif", Banner(0x0000FF));
    WriteText("AD.ini", "/ad001.gif/http:\\\\a.example\\one/05/ad002.gif/http:\\\\b.example/06/ad003.gif//07/");
    menu = frame->GetMainMenu();
    ASSERT_NE(menu, nullptr);
    frame->ShowWindow(SW_SHOW);
  }
  void TearDown() override { ::unsetenv("PLATFORM_OPENER"); }
  // The colour the banner control shows now.
  std::uint32_t ShownColour() {
    const std::vector<std::uint32_t> canvas = menu->GetBanner().CopyCanvas();
    return canvas.empty() ? 0xFFFFFFFF : canvas[0];
  }
  bool WaitForColour(std::uint32_t colour) {
    return PumpUntil([&] { return ShownColour() == colour; }, 2000);
  }

  CMainMenu* menu{nullptr};
};

TEST_F(MainMenuTest, EachScreenShowsItsButtons) {
  struct Case {
    UINT view;
    std::vector<UINT> shown;
    std::vector<UINT> hidden;
  };
  const Case cases[] = {
      {CMainFrame::kStartView, {1192, 1193, 1194, 1212}, {1195, 1196, 1203, 1029, 1240, 1423, 1204, 1211}},
      {CMainFrame::kWaitingRoomView, {1193, 1194, 1196, 1197, 1029, 1198, 1199, 1212}, {1192, 1195, 1423, 1261}},
      {CMainFrame::kRecordListView, {1192, 1212, 1261, 1213, 1216}, {1215, 1423, 1196}},
      {CMainFrame::kRankView, {1192, 1212, 1261, 1213}, {1216, 1215}},
      {CMainFrame::kGameRoomView, {1200, 1203, 1035, 1209, 1217, 1240, 1245, 1262, 1212}, {1192, 1199, 1029, 1261}},
      {CMainFrame::kTeachingListView, {1192, 1193, 1194}, {1212, 1196}},
  };
  for (const Case& c : cases) {
    frame->SwitchView(c.view);
    ASSERT_EQ(frame->GetActiveViewId(), c.view);
    for (UINT id : c.shown)
      EXPECT_TRUE(menu->GetButton(id)->GetStyle() & WS_VISIBLE) << c.view << " " << id;
    for (UINT id : c.hidden)
      EXPECT_FALSE(menu->GetButton(id)->GetStyle() & WS_VISIBLE) << c.view << " " << id;
  }
  // The game room leaves the close button as it was.
  EXPECT_EQ(CMainMenu::ButtonVisibility(CMainFrame::kGameRoomView, 1423), -1);
  EXPECT_EQ(CMainMenu::ButtonVisibility(CMainFrame::kGameRoomView, 1204), 0);
}

TEST_F(MainMenuTest, OfflineOnlyTheFirstBannerShowsAndNothingRotates) {
  platform::ManualClockScope manual;
  ASSERT_TRUE(frame->LoadAdverts());
  EXPECT_EQ(menu->GetBannerCount(), 3);
  EXPECT_TRUE(menu->IsBannerShown());
  menu->LoadBannerImages();
  EXPECT_FALSE(menu->IsRotating());
  EXPECT_TRUE(WaitForColour(0xFF0000));
  platform::Clock::Advance(30000);
  EXPECT_EQ(menu->GetShownBanner(), 0);
  EXPECT_EQ(ShownColour(), 0xFF0000u);
}

TEST_F(MainMenuTest, BannersRotateWhileConnectedAndClicksOpenTheShownLink) {
  // The login's wait (and its mouse capture) ends with the server's room list.
  peer.ReplyAlways(3, 6, {{GameServerPeer::Record(3, 6, "|0|"), 0}});
  LogIn();
  ASSERT_TRUE(PumpUntil([&] { return frame->GetStartView()->GetRoomButtonCount() == 1; }));
  platform::ManualClockScope manual;
  ASSERT_TRUE(frame->LoadAdverts());
  menu->LoadBannerImages();
  ASSERT_TRUE(menu->IsRotating());
  const std::uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF0000, 0x00FF00};
  const char* links[] = {"http://a.example/one", "http://b.example", nullptr, "http://a.example/one",
                         "http://b.example"};
  for (int tick = 0; tick < 5; ++tick) {
    if (tick > 0)
      platform::Clock::Advance(CMainMenu::kBannerPeriodMs);
    EXPECT_EQ(menu->GetShownBanner(), tick % 3) << tick;
    EXPECT_TRUE(WaitForColour(colours[tick])) << tick;
    const std::size_t before = frame->opened.size();
    platform::input::Click(menu->GetBanner().m_hWnd, CPoint(2, 2));
    if (links[tick]) {
      ASSERT_FALSE(frame->opened.empty()) << tick;
      EXPECT_EQ(frame->opened.back(), links[tick]) << tick;
    } else {
      EXPECT_EQ(frame->opened.size(), before) << "a banner without a link opens nothing";
    }
  }
  menu->RestartBanner();
  EXPECT_FALSE(menu->IsRotating());
}

TEST_F(MainMenuTest, ABannerCountPastTheSlotsNeverIndexesPastThem) {
  WriteText("AD.ini", "/a/l/1/b/l/2/c/l/3/d/l/4/e/l/5/f/l/6/g/l/7/h/l/8/");
  frame->LoadAdverts();
  EXPECT_LE(menu->GetBannerCount(), CMainMenu::kMaxBanners);
  menu->SetBannerCount(40);
  EXPECT_EQ(menu->GetBannerCount(), CMainMenu::kMaxBanners);
  for (int i = 0; i < 20; ++i) {
    menu->RestartBanner();
    EXPECT_GE(menu->GetShownBanner(), 0);
    EXPECT_LT(menu->GetShownBanner(), CMainMenu::kMaxBanners);
  }
}

}  // namespace
