// The board control as any container meets it: created by class identifier from the registered
// module, given a window, called only through IDispatch::Invoke, heard only through its connection
// point, clicked with window messages. Nothing here links or includes the control's own code: the
// identifiers below are the published ones.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "GameRecordReader.h"
#include "platform/com/ComTestSupport.h"
#include "platform/messageloop.h"
#include "platform/olecontrol.h"
#include "platform/surface.h"
#include "platform/windows.h"
#include "support/StolvexModuleHome.h"

namespace {

constexpr CLSID kStolvexClsid = GuidFromText("{87C23E88-067C-11D3-A9BF-00A024930AD4}");
constexpr IID kStolvexEvents = GuidFromText("{87C23E87-067C-11D3-A9BF-00A024930AD4}");
constexpr IID kStoneListIid = GuidFromText("{87C23EA0-067C-11D3-A9BF-00A024930AD4}");

enum : DISPID {
  kImagePath = 1, kGameMode, kUserColor, kNumOfAdvatage, kLogicalPos, kBreakPoint, kEnable, kRotate, kTest,
  kGoPrev, kGoNext, kSetDrawStone, kGetStone, kGetStoneList, kSetDrawChar, kRedraw, kSetStoneList,
  kGetLastColor, kAgain, kSetSizeControl, kInit, kGetResult, kSetHandicap, kGetAreaInfo, kRemoveStone,
  kSetStone, kUnCheckStone, kGetChangedCount, kSetMyTurn, kSetDrawNinePoint, kSetDrawNumber,
  kSetDrawLastPoint, kGetStone2, kGetBigPos, kSetBigPos
};
enum : DISPID { kNumOfEat = 1, kErrorEvent = 2, kPosition = 3 };
enum : SHORT { kNone = 1, kBlack = 2, kWhite = 4 };
constexpr LONG kPlay = 1024, kRandom = 2048, kReplay = 16384, kTerritory = 0x20000;

// The container side of one control: it only lets the control go when its window goes.
class CBoardSite final : public CComObjectImpl<IOleControlSite> {
public:
  HRESULT STDMETHODCALLTYPE OnControlWindowDestroyed() override { return S_OK; }

protected:
  void* FindInterface(REFIID riid) override {
    if (riid == IID_IOleControlSite) return static_cast<IOleControlSite*>(this);
    return CComObjectImpl<IOleControlSite>::FindInterface(riid);
  }
};

CComVariant I2(int v) { return CComVariant(static_cast<SHORT>(v)); }
CComVariant I4(long v) { return CComVariant(static_cast<LONG>(v)); }

class StolvexAutomationTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_home.Registered());
    ASSERT_EQ(CoCreateInstance(kStolvexClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&board)),
              S_OK);
    ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 420, 420, nullptr, nullptr));
    CComPtr<IOleInPlaceControl> place;
    ASSERT_EQ(board->QueryInterface(IID_IOleInPlaceControl, reinterpret_cast<void**>(&place)), S_OK);
    RECT rect{0, 0, 400, 400};
    CComPtr<CBoardSite> site(new CBoardSite);
    ASSERT_EQ(place->CreateInPlaceWindow(site, host.m_hWnd, &rect, 1119, WS_CHILD | WS_VISIBLE, &window), S_OK);
    CComPtr<IConnectionPointContainer> points;
    ASSERT_EQ(board->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)), S_OK);
    ASSERT_EQ(points->FindConnectionPoint(kStolvexEvents, &events), S_OK);
    sink = new comtest::CRecordingSink(kStolvexEvents);
    ASSERT_EQ(events->Advise(sink->GetUnknown(), &cookie), S_OK);
  }
  void TearDown() override {
    if (events) events->Unadvise(cookie);
    events.Release();
    sink.Release();
    host.DestroyWindow();
    board.Release();
    platform::ResetMessageQueue();
  }

  HRESULT Invoke(DISPID id, WORD flags, std::vector<CComVariant> args, VARIANT* result = nullptr,
                 EXCEPINFO* exception = nullptr) {
    return comtest::Call(board, id, flags, std::move(args), result, exception);
  }
  void Method(DISPID id, std::vector<CComVariant> args = {}) {
    ASSERT_EQ(Invoke(id, DISPATCH_METHOD, std::move(args)), S_OK) << "member " << id;
  }
  CComVariant Get(DISPID id, std::vector<CComVariant> args = {}, WORD flags = DISPATCH_PROPERTYGET) {
    CComVariant result;
    EXPECT_EQ(Invoke(id, flags, std::move(args), &result), S_OK) << "member " << id;
    return result;
  }
  void Put(DISPID id, CComVariant value) {
    ASSERT_EQ(Invoke(id, DISPATCH_PROPERTYPUT, {value}), S_OK) << "property " << id;
  }
  CComVariant Call(DISPID id, std::vector<CComVariant> args = {}) { return Get(id, std::move(args), DISPATCH_METHOD); }
  void Play(int row, int col, int colour, int count = 0) { Method(kSetDrawStone, {I2(row), I2(col), I2(colour), I2(count)}); }
  std::vector<SHORT> Cells() {
    CComVariant area = Call(kGetAreaInfo);
    std::vector<SHORT> cells;
    EXPECT_EQ(area.vt, VT_ARRAY | VT_I2);
    if (area.vt != (VT_ARRAY | VT_I2)) return cells;
    for (LONG i = 0; i < 361; ++i) {
      SHORT cell = 0;
      SafeArrayGetElement(area.parray, &i, &cell);
      cells.push_back(cell);
    }
    return cells;
  }
  // Presses and releases the left button at a pixel of the control's window.
  void Click(int x, int y) {
    ::SendMessage(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessage(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  LONG Hwnd() const { return static_cast<LONG>(reinterpret_cast<std::intptr_t>(window)); }
  // Events heard since the last call, as (id, arguments as longs).
  std::vector<std::vector<LONG>> Heard() {
    std::vector<std::vector<LONG>> out;
    for (const comtest::ReceivedEvent& e : sink->events) {
      std::vector<LONG> line{e.id};
      for (const CComVariant& a : e.args) line.push_back(a.vt == VT_I2 ? a.iVal : a.lVal);
      out.push_back(line);
    }
    sink->events.clear();
    return out;
  }

  testsupport::StolvexModuleHome m_home;
  CComPtr<IDispatch> board;
  CWnd host;
  HWND window{nullptr};
  CComPtr<IConnectionPoint> events;
  CComPtr<comtest::CRecordingSink> sink;
  DWORD cookie{0};
};

TEST_F(StolvexAutomationTest, PropertiesAnswerWithTheirTypesAndRules) {
  struct Case {
    DISPID id;
    CComVariant put;
    CComVariant expected;
  };
  const Case cases[] = {
      {kGameMode, I4(kRandom | 4096), I4(kRandom | 4096)},
      {kUserColor, I2(kWhite), I2(kWhite)},
      {kNumOfAdvatage, I2(-2), I2(-2)},
      {kLogicalPos, I2(1000), I2(0)},
      {kLogicalPos, I2(1005), I2(5)},
      {kLogicalPos, I2(999), I2(999)},
      {kBreakPoint, I2(3), I2(3)},
      {kEnable, I2(0), I2(0)},
      {kRotate, I2(1), I2(1)},
      {kTest, I2(7), I2(7)},
  };
  for (const Case& c : cases) {
    Put(c.id, c.put);
    CComVariant got = Get(c.id);
    EXPECT_EQ(got.vt, c.expected.vt) << c.id;
    EXPECT_EQ(got.vt == VT_I2 ? got.iVal : got.lVal, c.expected.vt == VT_I2 ? c.expected.iVal : c.expected.lVal) << c.id;
  }
  Put(kImagePath, CComVariant("/no/such/board.bmp"));
  CComVariant path = Get(kImagePath);
  ASSERT_EQ(path.vt, VT_BSTR);
  EXPECT_STREQ(BstrToCp949(path.bstrVal), "/no/such/board.bmp");
  // A 32-bit value for a 16-bit property is converted, or refused when it does not fit.
  EXPECT_EQ(Invoke(kUserColor, DISPATCH_PROPERTYPUT, {I4(2)}), S_OK);
  EXPECT_EQ(Invoke(kUserColor, DISPATCH_PROPERTYPUT, {I4(70000)}), DISP_E_OVERFLOW);
  EXPECT_EQ(Invoke(kGameMode, DISPATCH_METHOD, {}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Invoke(99, DISPATCH_METHOD, {}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Invoke(kSetDrawStone, DISPATCH_METHOD, {I2(1)}), DISP_E_BADPARAMCOUNT);
}

TEST_F(StolvexAutomationTest, EveryMethodThroughInvoke) {
  Put(kGameMode, I4(kRandom));
  Play(3, 3, kBlack);
  Play(3, 4, kWhite, 1);
  Play(20, 20, kBlack);  // a pass
  EXPECT_EQ(Get(kLogicalPos).iVal, 3);
  EXPECT_EQ(Call(kGetLastColor).iVal, kBlack);
  Method(kGoPrev, {I2(0)});
  Method(kGoPrev, {I2(0)});
  EXPECT_EQ(Get(kLogicalPos).iVal, 1);
  Method(kGoNext, {I2(0)});
  Method(kGoNext, {I2(0)});
  EXPECT_EQ(Heard(), (std::vector<std::vector<LONG>>{}));
  Method(kGoNext, {I2(0)});
  EXPECT_EQ(Heard(), (std::vector<std::vector<LONG>>{{kErrorEvent, 4, Hwnd()}}));

  CComVariant stones = Call(kGetStone, {I2(kBlack)});
  ASSERT_EQ(stones.vt, VT_ARRAY | VT_VARIANT);
  LONG upper = -1;
  SafeArrayGetUBound(stones.parray, 1, &upper);
  EXPECT_EQ(upper, 0);  // the black stone; the pass has no stone state
  CComVariant none = Call(kGetStone, {I2(999)});
  ASSERT_EQ(none.vt, VT_ARRAY | VT_VARIANT);
  SafeArrayGetUBound(none.parray, 1, &upper);
  EXPECT_EQ(upper, -1);  // an empty array, not an error

  CComVariant list = Call(kGetStoneList);
  ASSERT_EQ(list.vt, VT_DISPATCH);
  CComPtr<IUnknown> stoneList;
  EXPECT_EQ(list.pdispVal->QueryInterface(kStoneListIid, reinterpret_cast<void**>(&stoneList)), S_OK);
  EXPECT_STREQ(BstrToCp949(Call(kGetStone2, {I2(kBlack)}).bstrVal), "|dd|");

  Method(kSetSizeControl, {I2(380), I2(380)});
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, 380);
  EXPECT_EQ(Call(kGetResult, {I2(5)}).iVal, 0);
  EXPECT_EQ(Call(kGetChangedCount).iVal, 0);

  // A copy of this history goes into a second control.
  CComPtr<IDispatch> other;
  ASSERT_EQ(CoCreateInstance(kStolvexClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&other)), S_OK);
  VARIANT byRef{};
  byRef.vt = VT_VARIANT | VT_BYREF;
  byRef.pvarVal = &list;
  ASSERT_EQ(comtest::Call(other, kSetStoneList, DISPATCH_METHOD, {CComVariant(byRef)}, nullptr), S_OK);
  CComVariant copied;
  ASSERT_EQ(comtest::Call(other, kGetStone2, DISPATCH_METHOD, {I2(kBlack)}, &copied), S_OK);
  EXPECT_STREQ(BstrToCp949(copied.bstrVal), "|dd|");

  // Replay with a break point: moves after it are dropped by Again.
  Put(kGameMode, I4(kReplay | kRandom));
  Put(kBreakPoint, I2(3));
  Play(10, 10, kWhite);
  Method(kAgain);
  EXPECT_EQ(Get(kLogicalPos).iVal, 3);
  EXPECT_EQ(Cells()[10 * 19 + 10], kNone);

  // Marking at the end of a game.
  Put(kGameMode, I4(kTerritory));
  Method(kSetBigPos, {I2(0), I2(0)});
  EXPECT_STREQ(BstrToCp949(Call(kGetBigPos, {I2(256)}).bstrVal), "|aa|");
  Method(kUnCheckStone, {I2(256)});
  EXPECT_STREQ(BstrToCp949(Call(kGetBigPos, {I2(256)}).bstrVal), "");
  Method(kSetStone, {I2(3), I2(3), I2(2 + 32)});
  EXPECT_EQ(Cells()[3 * 19 + 3], 34);
  Method(kRemoveStone, {I2(32)});
  EXPECT_EQ(Cells()[3 * 19 + 3], kNone);
  Put(kGameMode, I4(kRandom));
  Method(kRemoveStone, {I2(-1)});  // takes back the last move (the pass)
  EXPECT_EQ(Get(kLogicalPos).iVal, 2);

  Method(kInit);
  EXPECT_EQ(Get(kGameMode).lVal, kPlay);
  EXPECT_EQ(Get(kUserColor).iVal, kNone);
  EXPECT_EQ(Get(kLogicalPos).iVal, 0);
  EXPECT_EQ(Get(kRotate).iVal, 0);
  EXPECT_EQ(Call(kGetLastColor).iVal, kWhite);
  EXPECT_EQ(Cells(), std::vector<SHORT>(361, kNone));
}

TEST_F(StolvexAutomationTest, DrawingMethodsShowInTheWindow) {
  // What the window shows, read where the control paints it.
  const auto pixel = [&](int x, int y) -> std::uint32_t& {
    const platform::PaintTarget target = platform::GetPaintTarget(window);
    return target.surface->Row(target.origin.y + y)[target.origin.x + x];
  };
  ASSERT_NE(platform::GetPaintTarget(window).surface, nullptr);
  constexpr std::uint32_t kPoison = 0x00FF00FF;  // a colour the board never paints
  const auto repainted = [&](int x, int y) { return pixel(x, y) != kPoison; };
  // 400 / 19 = 21 pixels a point: the centre of (row, col) is at 21 * col + 10 (+1 for the offset).
  const auto centre = [](int rowOrCol) { return 21 * rowOrCol + 10; };
  Put(kGameMode, I4(kRandom | 4096));  // 4096: move numbers on the stones
  Play(3, 3, kBlack, 1);
  Method(kRedraw, {I2(-1), I2(-1)});

  pixel(centre(3) + 4, centre(3) + 4) = kPoison;
  pixel(centre(9) + 4, centre(9) + 4) = kPoison;
  Method(kRedraw, {I2(40), I2(3)});  // off the board: nothing
  EXPECT_FALSE(repainted(centre(3) + 4, centre(3) + 4));
  Method(kRedraw, {I2(3), I2(3)});   // that point alone, at once
  EXPECT_TRUE(repainted(centre(3) + 4, centre(3) + 4));
  EXPECT_FALSE(repainted(centre(9) + 4, centre(9) + 4));
  Method(kRedraw, {I2(-2), I2(-2)}); // the whole board, when the window next paints
  EXPECT_FALSE(repainted(centre(9) + 4, centre(9) + 4));
  platform::PumpMessages();
  EXPECT_TRUE(repainted(centre(9) + 4, centre(9) + 4));

  // The character of a move is kept in its record.
  Method(kSetDrawChar, {I2(3), I2(3), I2(188)});
  CComVariant list = Call(kGetStoneList);
  ASSERT_EQ(list.vt, VT_DISPATCH);
  CComVariant first;
  ASSERT_EQ(comtest::Call(list.pdispVal, comtest::IdOf(list.pdispVal, u"Item"), DISPATCH_PROPERTYGET | DISPATCH_METHOD,
                          {I4(1)}, &first), S_OK);
  ASSERT_EQ(first.vt, VT_DISPATCH);
  CComVariant character;
  ASSERT_EQ(comtest::Call(first.pdispVal, comtest::IdOf(first.pdispVal, u"Character"), DISPATCH_PROPERTYGET, {},
                          &character), S_OK);
  character.ChangeType(VT_I4);
  EXPECT_EQ(character.lVal, 188);

  // The star points and the last-move mark go with their switches; the number switch changes nothing.
  const auto star = [&] { return pixel(centre(9) + 1, centre(9) + 1) == 0; };
  const auto redMark = [&] {
    const std::uint32_t p = pixel(centre(3), centre(3));
    return ((p >> 16) & 0xFF) > 180 && ((p >> 8) & 0xFF) < 80;
  };
  Put(kGameMode, I4(kRandom));  // numbers off: the mark is not written over
  Method(kRedraw, {I2(-1), I2(-1)});
  EXPECT_TRUE(star());
  EXPECT_TRUE(redMark());
  Method(kSetDrawNinePoint, {I2(0)});
  Method(kSetDrawLastPoint, {I2(0)});
  Method(kRedraw, {I2(-1), I2(-1)});
  EXPECT_FALSE(star());
  EXPECT_FALSE(redMark());
  std::vector<std::uint32_t> before;
  for (int x = 0; x < 400; ++x) before.push_back(pixel(x, centre(3)));
  Method(kSetDrawNumber, {I2(0)});
  Method(kRedraw, {I2(-1), I2(-1)});
  for (int x = 0; x < 400; ++x) EXPECT_EQ(pixel(x, centre(3)), before[x]) << x;

  // My turn decides whether a click in a game becomes a move.
  Put(kGameMode, I4(kPlay));
  Put(kUserColor, I2(kWhite));
  Heard();
  Method(kSetMyTurn, {I2(0)});
  Click(centre(9), centre(9));
  Method(kSetMyTurn, {I2(1)});
  Click(centre(9), centre(9));
  EXPECT_EQ(Heard(), (std::vector<std::vector<LONG>>{{kErrorEvent, 1, Hwnd()}, {kPosition, 9, 9, kWhite, Hwnd()}}));
}

TEST_F(StolvexAutomationTest, ClicksBecomeEventsAtTheBoardsPitch) {
  // 400 / 19 = 21 pixels a point, regions 20 wide: x 0..19 is column 0, x 20 a gap, 21 column 1.
  Put(kGameMode, I4(kRandom));
  Click(10, 10);
  Click(19, 19);
  Click(20, 10);
  Click(21, 10);
  Click(10, 398);  // below the last row
  EXPECT_EQ(Heard(), (std::vector<std::vector<LONG>>{{kPosition, 0, 0, kBlack, Hwnd()},
                                                     {kPosition, 0, 0, kBlack, Hwnd()},
                                                     {kErrorEvent, 3, Hwnd()},
                                                     {kPosition, 0, 1, kBlack, Hwnd()},
                                                     {kErrorEvent, 3, Hwnd()}}));
  // The container applies the move; a second click on it is refused; a capture is told.
  Play(0, 1, kBlack);
  Click(21 + 5, 5);
  Play(0, 0, kWhite);
  Play(1, 0, kBlack);
  EXPECT_EQ(Heard(), (std::vector<std::vector<LONG>>{{kErrorEvent, 0, Hwnd()}, {kNumOfEat, kWhite, 1, Hwnd()}}));
  EXPECT_EQ(Call(kGetChangedCount).iVal, 1);
  // On the turned board the top-left region is the point 360.
  Put(kRotate, I2(1));
  Click(5, 5);
  EXPECT_EQ(Heard(), (std::vector<std::vector<LONG>>{{kPosition, 18, 18, kWhite, Hwnd()}}));
  // Input off: every click is refused first.
  Put(kEnable, I2(0));
  Click(5, 5);
  EXPECT_EQ(Heard(), (std::vector<std::vector<LONG>>{{kErrorEvent, 10, Hwnd()}}));
}

class StolvexGameReplayTest : public StolvexAutomationTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(StolvexGameReplayTest, RecordReplayedThroughInvokeEndsAtItsPositionAndWalksBack) {
  const std::string path = std::string(TEST_DATA_DIR) + "/gibo/" + GetParam();
  const std::vector<RecordedMove> moves = ReadGameMoves(path);
  ASSERT_GT(moves.size(), 100u);
  Put(kGameMode, I4(kRandom));
  std::vector<std::vector<SHORT>> seen{Cells()};
  for (const RecordedMove& m : moves) {
    Play(m.row, m.col, m.colour);
    seen.push_back(Cells());
  }
  std::vector<SHORT> expected(361, kNone);
  for (int i : ReadFinalStones(path, "black")) expected[i] = kBlack;
  for (int i : ReadFinalStones(path, "white")) expected[i] = kWhite;
  std::vector<SHORT> final = seen.back();
  for (SHORT& c : final) c = c == 16 ? SHORT{kNone} : c;  // a ko mark is an empty point
  EXPECT_EQ(final, expected);
  for (const auto& e : Heard()) EXPECT_NE(e[0], kErrorEvent);

  for (int k = static_cast<int>(moves.size()) - 1; k >= 0; --k) {
    Method(kGoPrev, {I2(1)});
    ASSERT_EQ(Cells(), seen[k]) << "back to " << k;
  }
  for (std::size_t k = 1; k <= moves.size(); ++k) {
    Method(kGoNext, {I2(1)});
    ASSERT_EQ(Cells(), seen[k]) << "forward to " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(EngineGames, StolvexGameReplayTest,
                         ::testing::Values("selfplay-5000.sgf", "selfplay-5001.sgf", "selfplay-5002.sgf",
                                           "selfplay-5003.sgf", "selfplay-5004.sgf", "selfplay-5005.sgf"));

}  // namespace
