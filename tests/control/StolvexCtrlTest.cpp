// The control's own window: geometry, painting (with snapshots to look at), the click path in
// every mode, the cursor and the context menu.

#include "control/StolvexCtrl.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

#include "GameRecordReader.h"
#include "RecordingSink.h"
#include "platform/com/ComTestSupport.h"
#include "platform/menus.h"
#include "platform/messageloop.h"
#include "platform/resources.h"
#include "platform/uiscript.h"
#include "platform/windows.h"
#include "support/SnapshotPath.h"

namespace {

std::tuple<LONG, LONG, LONG, LONG> Box(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

TEST(BoardGeometryTest, PitchOffsetsAndHalfOpenRegions) {
  CBoardGeometry g;
  g.Calculate(380, 380, false);
  EXPECT_EQ(g.PitchX(), 20);
  EXPECT_EQ(g.OffsetX(), 0);
  EXPECT_EQ(Box(g.Region(0)), std::make_tuple(LONG{0}, LONG{0}, LONG{20}, LONG{20}));
  g.Calculate(380, 380, true);
  EXPECT_EQ(g.PitchX(), 19);
  EXPECT_EQ(g.Centre(0).x, 19);
  EXPECT_EQ(g.Centre(0).y, 19);

  g.Calculate(400, 400, false);  // 21 a point, regions 20 wide: one free column between
  EXPECT_EQ(g.PitchX(), 21);
  EXPECT_EQ(Box(g.Region(1)), std::make_tuple(LONG{21}, LONG{0}, LONG{41}, LONG{20}));
  EXPECT_EQ(Box(g.Region(360)), std::make_tuple(LONG{378}, LONG{378}, LONG{398}, LONG{398}));
  struct Hit {
    int x, y, region;
  };
  for (const Hit& h : {Hit{0, 0, 0}, Hit{19, 19, 0}, Hit{20, 5, -1}, Hit{21, 5, 1}, Hit{5, 20, -1}, Hit{5, 21, 19},
                       Hit{397, 397, 360}, Hit{398, 397, -1}, Hit{-1, 0, -1}, Hit{399, 399, -1}})
    EXPECT_EQ(g.HitTest(POINT{h.x, h.y}), h.region) << h.x << "," << h.y;

  g.Calculate(400, 300, false);  // not square: rows and columns keep their own pitch
  EXPECT_EQ(g.PitchY(), 15);
  EXPECT_EQ(g.OffsetY(), 7);
  EXPECT_EQ(g.HitTest(g.Centre(5 * 19 + 7)), 5 * 19 + 7);
  g.Calculate(0, 0, false);
  EXPECT_EQ(g.HitTest(POINT{0, 0}), -1);
}

class StolvexCtrlTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, nullptr, nullptr));
    ctrl = new CStolvexCtrl;
    ctrl->AddRef();
    RECT place{0, 0, 400, 400};
    ASSERT_EQ(ctrl->CreateInPlaceWindow(nullptr, host.m_hWnd, &place, 7, WS_CHILD | WS_VISIBLE, &window), S_OK);
    CComPtr<IConnectionPoint> point;
    ASSERT_EQ(ctrl->FindConnectionPoint(DIID__DStolvexEvents, &point), S_OK);
    sink = new comtest::CRecordingSink(DIID__DStolvexEvents);
    ASSERT_EQ(point->Advise(sink->GetUnknown(), &cookie), S_OK);
  }
  void TearDown() override {
    host.DestroyWindow();
    ctrl->Release();
    platform::ResetMessageQueue();
  }

  CStolvexBoard& Board() { return ctrl->Board(); }
  void Play(const char* rowCol, short colour, short count = 0) { ::Play(Board(), rowCol, colour, count); }
  POINT CentreOf(int index) const { return ctrl->Geometry().Centre(index); }
  void ClickAt(POINT p) {
    ::SendMessage(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    ::SendMessage(window, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  }
  // Paints the control into a picture of its size.
  platform::Surface Paint(const char* snapshot = nullptr) {
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateBitmap(400, 400, 1, 32, nullptr);
    CBitmap* old = memory.SelectObject(&bitmap);
    const CRect bounds(0, 0, 400, 400);
    ctrl->OnDraw(&memory, bounds, bounds);
    platform::Surface picture;
    platform::CopyDCPixels(&memory, picture);
    if (snapshot) {
      EXPECT_TRUE(platform::SaveDCPng(&memory, testsupport::SnapshotPath(snapshot).c_str()));
    }
    memory.SelectObject(old);
    return picture;
  }
  static int Brightness(std::uint32_t p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF); }
  // Brightness a little off the centre of a point (numbers and marks sit on the centre).
  int StoneShade(const platform::Surface& s, int index) {
    const RECT& r = ctrl->Geometry().Region(index);
    return Brightness(s.Row(r.top + 4)[(r.left + r.right) / 2 + 3]);
  }

  CWnd host;
  CStolvexCtrl* ctrl{nullptr};
  HWND window{nullptr};
  CComPtr<comtest::CRecordingSink> sink;
  DWORD cookie{0};
};

TEST_F(StolvexCtrlTest, PaintsWoodGridStarPointsAndStones) {
  Board().SetGameMode(RANDOM);
  Play("dd", BLACK);
  Play("pp", WHITE);
  Play("dp", BLACK);
  Play("pd", WHITE);
  // A black stone at ab taken by White: the point shows wood again.
  Play("ab", BLACK);
  Play("aa", WHITE);
  Play("ac", WHITE);
  Play("ss", BLACK);
  Play("bb", WHITE);
  const platform::Surface s = Paint("control-stones.png");
  EXPECT_LT(StoneShade(s, At("dd")), 200);
  EXPECT_GT(StoneShade(s, At("pp")), 550);
  EXPECT_LT(StoneShade(s, At("dp")), 200);
  EXPECT_GT(StoneShade(s, At("pd")), 550);
  const POINT empty = CentreOf(At("jc"));
  EXPECT_EQ(s.Row(empty.y)[empty.x], 0u);            // grid crossing
  EXPECT_GT(Brightness(s.Row(empty.y + 4)[empty.x + 4]), 350);  // wood beside it
  const POINT star = CentreOf(At("jj"));
  EXPECT_EQ(s.Row(star.y + 1)[star.x + 1], 0u);       // the star point's dot
  const POINT taken = CentreOf(At("ab"));
  EXPECT_EQ(s.Row(taken.y)[taken.x], 0u);
  EXPECT_GT(Brightness(s.Row(taken.y + 4)[taken.x + 4]), 350);
  // The last move carries the red mark.
  const POINT last = CentreOf(At("bb"));
  const std::uint32_t mark = s.Row(last.y)[last.x];
  EXPECT_GT((mark >> 16) & 0xFF, 180u);
  EXPECT_LT((mark >> 8) & 0xFF, 80u);
  ctrl->SetDrawLastPoint(0);
  EXPECT_GT(Brightness(Paint().Row(last.y)[last.x]), 550);
}

TEST_F(StolvexCtrlTest, MoveNumbersCoordinatesAndTheTurnedBoard) {
  Board().SetGameMode(RANDOM | SEQ);
  const char* moves[] = {"dd", "pp", "dp", "pd", "fq", "cn", "qf", "nc", "jj", "jk"};
  short colour = BLACK;
  for (const char* m : moves) {
    Play(m, colour);
    colour = OppositeColor(colour);
  }
  Paint("control-numbers.png");
  // Numbers are written on the stones: white on black, black on white.
  platform::Surface numbered = Paint();
  const RECT& r = ctrl->Geometry().Region(At("jj"));
  int light = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      light += Brightness(numbered.Row(y)[x]) > 600;
  EXPECT_GT(light, 3);

  ::SendMessage(window, WM_COMMAND, ID_SHOW_COORDINATES, 0);
  EXPECT_TRUE(ctrl->ShowsCoordinates());
  EXPECT_EQ(ctrl->Geometry().PitchX(), 20);
  Paint("control-coordinates.png");

  ::SendMessage(window, WM_COMMAND, ID_SHOW_COORDINATES, 0);
  Board().SetRotate(1);
  const platform::Surface turned = Paint("control-turned.png");
  // Black's first stone at dd shows where pp would be, and the other way round.
  EXPECT_LT(StoneShade(turned, At("pp")), 200);
  EXPECT_GT(StoneShade(turned, At("dd")), 550);
  // A click on the region of dd means the point pp, which holds a stone.
  sink->events.clear();
  ClickAt(CentreOf(At("dd")));
  ASSERT_EQ(sink->events.size(), 1u);
  EXPECT_EQ(sink->events[0].id, eventidErrorEvent);
  EXPECT_EQ(sink->events[0].args[0].iVal, STONE_EXIST);
}

TEST_F(StolvexCtrlTest, DeadStonesTerritoryAndResultsAreDrawnAndReachedByClicks) {
  Board().SetGameMode(RANDOM);
  for (const char* p : {"ca", "cb", "cc", "cd", "ce", "cf", "dg", "fa", "fc", "hc"})
    Play(p, WHITE);
  for (const char* p : {"ea", "eb", "ec", "ed", "ee", "ef", "fg", "gg", "gf"})
    Play(p, BLACK);
  Board().SetGameMode(CHECK_STONE);
  Board().SetUserColor(BLACK);
  sink->events.clear();
  ClickAt(CentreOf(At("fa")));  // White's stones inside Black's area: dead
  ASSERT_EQ(sink->events.size(), 1u);
  EXPECT_EQ(sink->events[0].args[0].iVal, MARK_TOGGLED);
  EXPECT_EQ(Board().GetCell(At("fa")), WHITE | DIE);
  EXPECT_EQ(Board().GetCell(At("fc")), WHITE | DIE);
  const platform::Surface dead = Paint("control-dead-stones.png");
  const POINT fa = CentreOf(At("fa"));
  EXPECT_LT(Brightness(dead.Row(fa.y)[fa.x]), 100);  // the black cross on the white stone

  Board().SetGameMode(MODE_TERRITORY);
  ClickAt(CentreOf(At("ma")));  // the wide open side: one territory region
  EXPECT_TRUE(Board().GetCell(At("ss")) & CHECKED);
  EXPECT_FALSE(Board().GetCell(At("ea")) & CHECKED);
  const platform::Surface marked = Paint("control-territory.png");
  const POINT ss = CentreOf(At("ss"));
  const std::uint32_t mark = marked.Row(ss.y)[ss.x];
  EXPECT_GT(mark & 0xFF, 150u);  // the territory square is blue
  EXPECT_LT((mark >> 16) & 0xFF, 120u);

  // The result display: Black's point, White's mark on a black stone, a neutral empty point.
  Board().UnCheckStone(CHECKED);
  Board().SetGameMode(RESULT);
  ctrl->SetStone(18, 18, BLACK);
  ctrl->SetStone(4, 0, WHITE);
  ctrl->SetStone(16, 16, NONE);
  const platform::Surface result = Paint("control-result.png");
  const POINT blackPoint = CentreOf(At("ss")), whiteMark = CentreOf(At("ea")), neutral = CentreOf(At("qq"));
  EXPECT_LT(Brightness(result.Row(blackPoint.y + 2)[blackPoint.x + 2]), 120);
  EXPECT_GT(Brightness(result.Row(whiteMark.y + 2)[whiteMark.x + 2]), 700);
  EXPECT_GT(result.Row(neutral.y + 2)[neutral.x + 2] & 0xFF, 150u);

  // Each bit of an entry draws its mark: one holding both sides' bits shows White's mark over
  // Black's, not Black's alone.
  ctrl->SetStone(18, 18, BLACK | WHITE);
  const platform::Surface both = Paint();
  EXPECT_GT(Brightness(both.Row(blackPoint.y + 2)[blackPoint.x + 2]), 700);
}

TEST_F(StolvexCtrlTest, PlayCursorOnlyWhereAClickCouldBecomeAMove) {
  Board().SetGameMode(RANDOM);
  Play("dd", BLACK);
  ::SendMessage(window, WM_MOUSEMOVE, 0, MAKELPARAM(CentreOf(At("jj")).x, CentreOf(At("jj")).y));
  EXPECT_EQ(ctrl->CurrentCursor(), static_cast<UINT>(IDC_PLAY_CURSOR));
  ::SendMessage(window, WM_MOUSEMOVE, 0, MAKELPARAM(CentreOf(At("dd")).x, CentreOf(At("dd")).y));
  EXPECT_EQ(ctrl->CurrentCursor(), static_cast<UINT>(IDC_ARROW_CURSOR));
  ::SendMessage(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 5));  // the gap between two regions
  EXPECT_EQ(ctrl->CurrentCursor(), static_cast<UINT>(IDC_ARROW_CURSOR));
  Board().SetGameMode(RESULT | RANDOM);
  ::SendMessage(window, WM_MOUSEMOVE, 0, MAKELPARAM(CentreOf(At("jj")).x, CentreOf(At("jj")).y));
  EXPECT_EQ(ctrl->CurrentCursor(), static_cast<UINT>(IDC_ARROW_CURSOR));
  // Dead-stone marking: only the opponent's stones take the click.
  Board().SetGameMode(CHECK_STONE);
  Board().SetUserColor(WHITE);
  ::SendMessage(window, WM_MOUSEMOVE, 0, MAKELPARAM(CentreOf(At("dd")).x, CentreOf(At("dd")).y));
  EXPECT_EQ(ctrl->CurrentCursor(), static_cast<UINT>(IDC_PLAY_CURSOR));
}

// Chooses one command from the next pop-up menu and remembers what it offered.
class CMenuChoice : public platform::UiScript {
public:
  explicit CMenuChoice(UINT command) : m_command(command) {}
  std::optional<UINT> OnPopupMenu(HMENU menu, POINT, HWND) override {
    CMenu* popup = CMenu::FromHandle(menu);
    for (UINT k = 0; k < popup->GetMenuItemCount(); ++k) {
      CString text;
      popup->GetMenuString(k, text, MF_BYPOSITION);
      offered.push_back(text.GetString());
    }
    coordinatesChecked = (popup->GetMenuState(ID_SHOW_COORDINATES, MF_BYCOMMAND) & MF_CHECKED) != 0;
    return m_command;
  }
  std::vector<std::string> offered;
  bool coordinatesChecked{false};

private:
  UINT m_command;
};

TEST_F(StolvexCtrlTest, ContextMenuTurnsTheBoardAndShowsCoordinates) {
  CMenuChoice rotate(ID_ROTATE_BOARD);
  {
    platform::ScopedUiScript script(&rotate);
    ::SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(50, 50));
    platform::PumpMessages();
  }
  EXPECT_EQ(rotate.offered, (std::vector<std::string>{Cp949(" 바둑판회전"), Cp949("좌표표시하기")}));
  EXPECT_EQ(Board().GetRotate(), 1);
  CMenuChoice labels(ID_SHOW_COORDINATES);
  {
    platform::ScopedUiScript script(&labels);
    ::SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(50, 50));
    platform::PumpMessages();
  }
  EXPECT_FALSE(labels.coordinatesChecked);
  EXPECT_TRUE(ctrl->ShowsCoordinates());
  CMenuChoice look(0);
  {
    platform::ScopedUiScript script(&look);
    ::SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(50, 50));
  }
  EXPECT_TRUE(look.coordinatesChecked);
}

TEST_F(StolvexCtrlTest, ResizingRebuildsRegionsAndInitKeepsTheSize) {
  ctrl->SetSizeControl(266, 266);
  EXPECT_EQ(ctrl->Geometry().PitchX(), 14);
  Board().SetGameMode(RANDOM);
  sink->events.clear();
  ClickAt(POINT{14 + 5, 5});
  ASSERT_EQ(sink->events.size(), 1u);
  EXPECT_EQ(sink->events[0].id, eventidPosition);
  EXPECT_EQ(sink->events[0].args[1].iVal, 1);
  ctrl->Init();
  EXPECT_EQ(ctrl->Geometry().PitchX(), 14);
  EXPECT_FALSE(ctrl->ShowsCoordinates());
}

TEST_F(StolvexCtrlTest, RedrawPaintsTheWindowAtOnceAndOnePointLeavesTheOthers) {
  Board().SetGameMode(RANDOM | SEQ);
  Play("dd", BLACK, 7);
  Play("pp", WHITE, 8);
  ctrl->Redraw(-1, -1);
  const platform::PaintTarget target = platform::GetPaintTarget(window);
  ASSERT_NE(target.surface, nullptr);
  const auto pixel = [&](POINT p) { return target.surface->Row(target.origin.y + p.y)[target.origin.x + p.x]; };
  const RECT& numbered = ctrl->Geometry().Region(At("pp"));
  const auto darkPixels = [&] {
    int dark = 0;
    for (int y = numbered.top; y < numbered.bottom; ++y)
      for (int x = numbered.left; x < numbered.right; ++x)
        dark += Brightness(pixel(POINT{x, y})) < 200;
    return dark;
  };
  const int withNumber = darkPixels();
  EXPECT_GT(withNumber, 3);  // the black "8" on the white stone
  EXPECT_LT(Brightness(pixel(POINT{CentreOf(At("dd")).x + 3, CentreOf(At("dd")).y - 4})), 200);

  // The container repaints one point: the stone taken off it is gone there, the others stay.
  Board().RemoveStone(BLACK);
  ctrl->Redraw(3, 3);
  EXPECT_EQ(pixel(CentreOf(At("dd"))), 0u);  // the grid crossing shows again
  EXPECT_EQ(darkPixels(), withNumber);
}

TEST_F(StolvexCtrlTest, EveryPointOfARecordedGameShowsWhatTheBoardHolds) {
  Board().SetGameMode(RANDOM | SEQ);
  for (const RecordedMove& m : ReadGameMoves(std::string(TEST_DATA_DIR) + "/gibo/selfplay-5001.sgf"))
    Board().SetDrawStone(m.row, m.col, m.colour, 0);
  const platform::Surface s = Paint("control-game.png");
  int black = 0, white = 0;
  for (int i = 0; i < POINT_COUNT; ++i) {
    const int shade = StoneShade(s, i);
    const int cell = Board().GetCell(i);
    if (cell == BLACK) {
      EXPECT_LT(shade, 250) << i;
      ++black;
    } else if (cell == WHITE) {
      EXPECT_GT(shade, 550) << i;
      ++white;
    } else {
      EXPECT_TRUE(shade > 350 && shade < 600) << i;  // wood
    }
  }
  EXPECT_GT(black, 80);
  EXPECT_GT(white, 80);
}

}  // namespace
