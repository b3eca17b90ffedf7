// Rules of the control that show only in what it paints or keeps: what a new game resets and what
// it keeps, marks and their sizes, move numbers, labels on the turned board, a container's picture
// as the background, the number font and the cursor.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "RecordingSink.h"
#include "control/StolvexCtrl.h"
#include "platform/messageloop.h"
#include "platform/windows.h"

namespace {

int Brightness(std::uint32_t p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF); }
bool IsMarkRed(std::uint32_t p) { return ((p >> 16) & 0xFF) > 180 && ((p >> 8) & 0xFF) < 80; }

// A 24-bit bitmap file of one colour (0xRRGGBB), bottom-up rows.
std::string SolidBitmapFile(const char* name, int side, std::uint32_t colour) {
  const int stride = (24 * side + 31) / 32 * 4;
  std::vector<std::uint8_t> b{'B', 'M'};
  const auto put = [&](std::uint32_t v, int bytes) {
    for (int k = 0; k < bytes; ++k) b.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
  };
  put(14 + 40 + stride * side, 4), put(0, 4), put(14 + 40, 4);
  put(40, 4), put(side, 4), put(side, 4), put(1, 2), put(24, 2);
  for (int k = 0; k < 6; ++k) put(0, 4);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) put(colour & 0xFFFFFF, 3);
    for (int pad = side * 3; pad < stride; ++pad) b.push_back(0);
  }
  const std::string path = ::testing::TempDir() + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);
  return path;
}

class StolvexCtrlRulesTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 800, nullptr, nullptr));
    ctrl = new CStolvexCtrl;
    ctrl->AddRef();
    RECT place{0, 0, 380, 380};
    ASSERT_EQ(ctrl->CreateInPlaceWindow(nullptr, host.m_hWnd, &place, 7, WS_CHILD | WS_VISIBLE, &window), S_OK);
  }
  void TearDown() override {
    host.DestroyWindow();
    ctrl->Release();
    platform::ResetMessageQueue();
  }
  CStolvexBoard& Board() { return ctrl->Board(); }
  void Play(const char* rowCol, short colour, short count = 0) { ::Play(Board(), rowCol, colour, count); }
  // The control as it paints itself at its present size.
  platform::Surface Paint() {
    CRect client;
    ::GetClientRect(window, &client);
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateBitmap(client.Width(), client.Height(), 1, 32, nullptr);
    CBitmap* old = memory.SelectObject(&bitmap);
    ctrl->OnDraw(&memory, client, client);
    platform::Surface picture;
    platform::CopyDCPixels(&memory, picture);
    memory.SelectObject(old);
    return picture;
  }
  // How many pixels of a box pass a test.
  template <class Test>
  static int Count(const platform::Surface& s, RECT box, Test test) {
    int n = 0;
    for (LONG y = std::max<LONG>(box.top, 0); y < std::min<LONG>(box.bottom, s.height); ++y)
      for (LONG x = std::max<LONG>(box.left, 0); x < std::min<LONG>(box.right, s.width); ++x)
        n += test(s.Row(y)[x]);
    return n;
  }
  int RedAt(const platform::Surface& s, const char* point) {
    return Count(s, ctrl->Geometry().Region(At(point)), IsMarkRed);
  }
  // Pixels of the number written on a stone (light on black, dark on white).
  int NumberPixels(const platform::Surface& s, const char* point, bool onBlack) {
    return Count(s, ctrl->Geometry().Region(At(point)),
                 [&](std::uint32_t p) { return onBlack ? Brightness(p) > 600 : Brightness(p) < 120; });
  }
  bool StarDotAt(const platform::Surface& s, const char* point) {
    const POINT c = ctrl->Geometry().Centre(At(point));
    return s.Row(c.y + 1)[c.x + 1] == 0 && s.Row(c.y - 1)[c.x - 1] == 0;
  }

  CWnd host;
  CStolvexCtrl* ctrl{nullptr};
  HWND window{nullptr};
};

TEST_F(StolvexCtrlRulesTest, ANewGameResetsTheGameAndKeepsWhatTheContainerSet) {
  const std::string green = SolidBitmapFile("stolvex-green.bmp", 8, 0x00C800);
  ctrl->SetTest(7);
  ctrl->SetDrawNinePoint(0);
  ctrl->SetDrawLastPoint(0);
  ctrl->SetImagePath(CComBSTR(green.c_str()));
  Board().SetGameMode(RANDOM);
  Play("ab", BLACK);
  Play("aa", WHITE);
  Play("ba", BLACK);  // takes the corner
  ASSERT_EQ(ctrl->GetChangedCount(), 1);
  Board().SetHandicap(BLACK, 5);
  EXPECT_EQ(Board().GetWhitePrisoners(), 5);
  EXPECT_FALSE(StarDotAt(Paint(), "jj"));

  ctrl->Init();
  EXPECT_EQ(ctrl->GetTest(), 7);
  EXPECT_EQ(ctrl->GetChangedCount(), 1);
  BSTR path = ctrl->GetImagePath();
  EXPECT_EQ(BstrToCp949(path), green.c_str());
  SysFreeString(path);
  const platform::Surface fresh = Paint();
  EXPECT_TRUE(StarDotAt(fresh, "jj"));                      // star points are drawn again
  const POINT wood = ctrl->Geometry().Centre(At("cc"));
  EXPECT_NE(fresh.Row(wood.y + 5)[wood.x + 5], 0x00C800u);  // the picture was let go: wood again
  Board().SetGameMode(RANDOM);
  Play("dd", BLACK);
  EXPECT_EQ(RedAt(Paint(), "dd"), 0);                       // the last-move mark stays off
}

TEST_F(StolvexCtrlRulesTest, AContainersPictureIsTheBackgroundAndAMissingOneLeavesTheWood) {
  const POINT between = ctrl->Geometry().Centre(At("cc"));
  const std::uint32_t woodPixel = Paint().Row(between.y + 5)[between.x + 5];
  ctrl->SetImagePath(CComBSTR(SolidBitmapFile("stolvex-blue.bmp", 16, 0x1020F0).c_str()));
  EXPECT_EQ(Paint().Row(between.y + 5)[between.x + 5], 0x1020F0u);
  ctrl->SetImagePath(CComBSTR("/no/such/picture.bmp"));
  EXPECT_EQ(Paint().Row(between.y + 5)[between.x + 5], woodPixel);
}

TEST_F(StolvexCtrlRulesTest, EveryPropertyPutMarksTheControlModified) {
  const std::vector<std::pair<const char*, std::function<void()>>> puts = {
      {"ImagePath", [&] { ctrl->SetImagePath(CComBSTR("x.bmp")); }},
      {"GameMode", [&] { ctrl->SetGameMode(RANDOM); }},
      {"UserColor", [&] { ctrl->SetUserColor(WHITE); }},
      {"NumOfAdvatage", [&] { ctrl->SetNumOfAdvatage(2); }},
      {"LogicalPos", [&] { ctrl->SetLogicalPos(0); }},
      {"BreakPoint", [&] { ctrl->SetBreakPoint(0); }},
      {"Enable", [&] { ctrl->SetEnable(1); }},
      {"Rotate", [&] { ctrl->SetRotate(0); }},
      {"Test", [&] { ctrl->SetTest(1); }},
  };
  for (const auto& [name, put] : puts) {
    ctrl->SetModifiedFlag(FALSE);
    put();
    EXPECT_TRUE(ctrl->IsModified()) << name;
  }
}

TEST_F(StolvexCtrlRulesTest, StarPointsAndTheLastMoveMarkFollowThePointSize) {
  // The red mark's widest row on a white stone at dd, for a control of side x side.
  const auto markWidth = [&](short side) {
    ctrl->Init();
    ctrl->SetSizeControl(side, side);
    Board().SetGameMode(RANDOM);
    Play("dd", WHITE);
    const platform::Surface s = Paint();
    const RECT& r = ctrl->Geometry().Region(At("dd"));
    int widest = 0;
    for (LONG y = r.top; y < r.bottom; ++y)
      widest = std::max(widest, Count(s, RECT{r.left, y, r.right, y + 1}, IsMarkRed));
    return widest;
  };
  // Regions 18 (small mark), 20 and 34 (medium), 36 (large) pixels wide.
  const int small = markWidth(361), medium = markWidth(380), mediumToo = markWidth(665), large = markWidth(684);
  EXPECT_GT(small, 0);
  EXPECT_LT(small, medium);
  EXPECT_EQ(medium, mediumToo);
  EXPECT_LT(medium, large);

  // Star points need more than three pixels on either side of a crossing: 7 a point is too few.
  for (const auto& [side, stars] : {std::pair<short, bool>{133, false}, {152, true}, {380, true}}) {
    ctrl->SetSizeControl(side, side);
    EXPECT_EQ(StarDotAt(Paint(), "jj"), stars) << side;
  }
  ctrl->SetDrawNinePoint(0);
  EXPECT_FALSE(StarDotAt(Paint(), "jj"));
  ctrl->SetDrawNinePoint(1);
  EXPECT_TRUE(StarDotAt(Paint(), "jj"));
}

TEST_F(StolvexCtrlRulesTest, TheLastMoveMarkInReplayAndForAPass) {
  Board().SetGameMode(RANDOM);
  Play("dd", BLACK);
  Play("pp", WHITE);
  Play("dp", BLACK);
  Board().GoPrev(1);
  Board().GoPrev(1);
  EXPECT_GT(RedAt(Paint(), "dd"), 0);  // a game shows the move it went back to
  Board().GoNext(1);
  // A replay keeps the moves after the one shown and adds a new one after them: the mark is on
  // the last record, not on the record of the move shown.
  Board().SetGameMode(RANDOM | REPLAY);
  Play("qq", WHITE);
  const platform::Surface replay = Paint();
  EXPECT_GT(RedAt(replay, "qq"), 0);
  EXPECT_EQ(RedAt(replay, "pp"), 0);

  Board().SetGameMode(RANDOM);
  Board().Init();
  Board().SetGameMode(RANDOM);
  Play("dd", BLACK);
  Pass(Board(), WHITE);
  EXPECT_GT(RedAt(Paint(), "dd"), 0);  // a pass leaves the mark on the move before it
}

TEST_F(StolvexCtrlRulesTest, MoveNumbersOnlyUpToTheMovesShown) {
  ctrl->SetDrawLastPoint(0);  // only the numbers change what the points show
  Board().SetGameMode(RANDOM);
  Play("dd", BLACK);
  Play("dp", WHITE);
  Board().SetLogicalPos(7);  // the container resumes a game at its eighth move
  Play("pp", BLACK);         // move 8, though only three records are there
  const platform::Surface plain = Paint();
  // Pixels of a point that the move numbers change.
  const auto numbered = [&](const platform::Surface& s, const char* point) {
    const RECT& r = ctrl->Geometry().Region(At(point));
    int changed = 0;
    for (LONG y = r.top; y < r.bottom; ++y)
      for (LONG x = r.left; x < r.right; ++x)
        changed += s.Row(y)[x] != plain.Row(y)[x];
    return changed;
  };
  Board().SetGameMode(RANDOM | SEQ);
  const platform::Surface numbers = Paint();
  EXPECT_EQ(numbered(numbers, "dd"), 0);  // the first move is numbered 0: no number
  EXPECT_GT(numbered(numbers, "dp"), 3);
  EXPECT_EQ(numbered(numbers, "pp"), 0);
  Board().GoPrev(1);  // pp leaves the board; dp's number is within the two moves shown
  EXPECT_GT(numbered(Paint(), "dp"), 3);
}

TEST_F(StolvexCtrlRulesTest, RowNumbersRunTheOtherWayOnTheTurnedBoard) {
  ::SendMessage(window, WM_COMMAND, ID_SHOW_COORDINATES, 0);
  ASSERT_TRUE(ctrl->ShowsCoordinates());
  const auto labelInk = [&](const platform::Surface& s, int row) {
    const CBoardGeometry& g = ctrl->Geometry();
    const POINT c = g.Centre(row * 19 + 18);
    return Count(s, RECT{c.x + g.PitchX() / 2 + 1, c.y - g.PitchY(), s.width, c.y + g.PitchY()},
                 [](std::uint32_t p) { return Brightness(p) < 150; });
  };
  const platform::Surface upright = Paint();
  Board().SetRotate(1);
  const platform::Surface turned = Paint();
  // One row reads "1", the other end "19": the ink of the two ends swaps when the board turns.
  ASSERT_NE(labelInk(upright, 0), labelInk(upright, 18));
  EXPECT_NEAR(labelInk(turned, 0), labelInk(upright, 18), 4);
  EXPECT_NEAR(labelInk(turned, 18), labelInk(upright, 0), 4);
}

TEST_F(StolvexCtrlRulesTest, TheNumberFontGrowsWithThePointsAndTheCursorFollowsInput) {
  struct Font {
    short side;
    LONG height;
    LONG weight;
  };
  // Regions of 34, 35, 40, 41, 46 and 47 pixels (one less than the pitch).
  for (const Font& f : {Font{665, 12, 100}, Font{684, 15, FW_BOLD}, Font{779, 15, FW_BOLD}, Font{798, 18, FW_BOLD},
                        Font{893, 18, FW_BOLD}, Font{912, 20, FW_BOLD}}) {
    ctrl->SetSizeControl(f.side, f.side);
    LOGFONT font{};
    ASSERT_NE(ctrl->NumberFont().GetLogFont(&font), 0);
    EXPECT_EQ(std::abs(font.lfHeight), f.height) << f.side;
    EXPECT_EQ(font.lfWeight, f.weight) << f.side;
  }
  ctrl->SetSizeControl(380, 380);
  Board().SetGameMode(RANDOM);
  const POINT empty = ctrl->Geometry().Centre(At("jj"));
  ::SendMessage(window, WM_MOUSEMOVE, 0, MAKELPARAM(empty.x, empty.y));
  ASSERT_EQ(ctrl->CurrentCursor(), static_cast<UINT>(IDC_PLAY_CURSOR));
  ctrl->SetEnable(0);
  EXPECT_TRUE(::SendMessage(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT));
  EXPECT_EQ(ctrl->CurrentCursor(), static_cast<UINT>(IDC_PLAY_CURSOR));  // input off: left as it was
  ctrl->SetEnable(1);
  EXPECT_TRUE(::SendMessage(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT));
  EXPECT_EQ(ctrl->CurrentCursor(), static_cast<UINT>(IDC_ARROW_CURSOR));
}

}  // namespace
