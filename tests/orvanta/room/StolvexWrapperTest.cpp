// The client's board wrapper over the real control module: hosted by a dialog template that names
// the control by class identifier, called member by member, its events routed by a sink map.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "orvanta/room/Stolvex.h"
#include "platform/ddx.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/messageloop.h"
#include "platform/resources.h"
#include "platform/testinput.h"
#include "platform/com/ComTestSupport.h"
#include "platform/surface.h"
#include "support/StolvexModuleHome.h"

namespace {

constexpr UINT kBoardDialog = 212;
constexpr UINT kBoardId = 1132;
constexpr LONG kRandom = 2048, kTerritory = 0x20000;

struct Heard {
  DISPID event;
  LONG a, b, c, d;
  bool operator==(const Heard&) const = default;
};

class CBoardDlg : public CDialog {
public:
  CBoardDlg() : CDialog(kBoardDialog) {}

  CStolvex board;
  std::vector<Heard> heard;

protected:
  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, kBoardId, board); }
  void OnBoardPosition(SHORT row, SHORT col, SHORT colour, LONG window) {
    heard.push_back({STOLVEX_EVENT_POSITION, row, col, colour, window});
  }
  void OnBoardError(SHORT code, LONG window) { heard.push_back({STOLVEX_EVENT_ERROR, code, window, 0, 0}); }
  void OnBoardNumOfEat(SHORT colour, SHORT count, LONG window) {
    heard.push_back({STOLVEX_EVENT_NUMOFEAT, colour, count, window, 0});
  }
  DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CBoardDlg, CDialog)
  ON_EVENT(CBoardDlg, kBoardId, STOLVEX_EVENT_POSITION, OnBoardPosition, VTS_I2 VTS_I2 VTS_I2 VTS_I4)
  ON_EVENT(CBoardDlg, kBoardId, STOLVEX_EVENT_ERROR, OnBoardError, VTS_I2 VTS_I4)
  ON_EVENT(CBoardDlg, kBoardId, STOLVEX_EVENT_NUMOFEAT, OnBoardNumOfEat, VTS_I2 VTS_I2 VTS_I4)
END_EVENTSINK_MAP()

class StolvexWrapperTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_home.Registered());
    static platform::ResourceModule& module = []() -> platform::ResourceModule& {
      platform::ResourceModule& m = platform::CreateResourceModule("stolvex-wrapper-test");
      platform::DialogTemplate t;
      t.style = WS_POPUP | WS_VISIBLE;
      t.cx = 300;
      t.cy = 300;
      t.items = {platform::VisibleItem(GuidToString(CLSID_StolvexControl), kBoardId, 0, 0, 266, 266, 0)};
      platform::AddDialogTemplate(m, kBoardDialog, t);
      return m;
    }();
    m_scope = std::make_unique<platform::ResourceScope>(module.Handle());
  }
  void TearDown() override {
    m_scope.reset();
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  // Centre of a point of the control's own layout (no labels, unturned).
  static POINT PointCentre(HWND board, int row, int col) {
    RECT r{};
    ::GetClientRect(board, &r);
    const int px = r.right / 19, py = r.bottom / 19;
    return POINT{col * px + px / 2 + (r.right % 19) / 2, row * py + py / 2 + (r.bottom % 19) / 2};
  }

  testsupport::StolvexModuleHome m_home;
  std::unique_ptr<platform::ResourceScope> m_scope;
};

TEST_F(StolvexWrapperTest, TemplateHostsTheBoardAndTheSinkMapHearsClicksRefusalsAndCaptures) {
  CBoardDlg dlg;
  ASSERT_TRUE(dlg.Create(kBoardDialog));
  ASSERT_TRUE(dlg.UpdateData(FALSE));
  ASSERT_NE(dlg.board.m_hWnd, nullptr);
  const LONG window = static_cast<LONG>(reinterpret_cast<std::intptr_t>(dlg.board.m_hWnd));

  dlg.board.SetGameMode(kRandom);
  EXPECT_EQ(dlg.board.GetGameMode(), kRandom);
  platform::input::Click(dlg.board.m_hWnd, PointCentre(dlg.board.m_hWnd, 3, 15));
  ASSERT_EQ(dlg.heard, (std::vector<Heard>{{STOLVEX_EVENT_POSITION, 3, 15, 2, window}}));

  // The room applies the move it was told of; a capture comes back as NumOfEat.
  dlg.heard.clear();
  dlg.board.SetDrawStone(3, 15, 2, 0);
  dlg.board.SetDrawStone(0, 0, 4, 0);
  dlg.board.SetDrawStone(0, 1, 2, 0);
  dlg.board.SetDrawStone(5, 5, 4, 0);
  dlg.board.SetDrawStone(1, 0, 2, 0);
  EXPECT_EQ(dlg.heard, (std::vector<Heard>{{STOLVEX_EVENT_NUMOFEAT, 4, 1, window, 0}}));
  EXPECT_EQ(dlg.board.GetChangedCount(), 1);
  EXPECT_EQ(dlg.board.GetLogicalPos(), 5);
  EXPECT_EQ(dlg.board.GetLastColor(), 2);

  dlg.heard.clear();
  platform::input::Click(dlg.board.m_hWnd, PointCentre(dlg.board.m_hWnd, 3, 15));
  EXPECT_EQ(dlg.heard, (std::vector<Heard>{{STOLVEX_EVENT_ERROR, 0, window, 0, 0}}));

  dlg.board.GoPrev(0);
  EXPECT_EQ(dlg.board.GetLogicalPos(), 4);
  dlg.board.GoNext(0);
  EXPECT_EQ(dlg.board.GetLogicalPos(), 5);
}

// Reads and writes the control's own state by dispatch id, around the wrapper.
class CControlProbe {
public:
  explicit CControlProbe(HWND board) : m_dispatch(platform::HostedControlDispatch(board)) {}
  ~CControlProbe() {
    if (m_dispatch) m_dispatch->Release();
  }
  LONG Get(DISPID id) {
    CComVariant value;
    EXPECT_EQ(comtest::Call(m_dispatch, id, DISPATCH_PROPERTYGET, {}, &value), S_OK);
    value.ChangeType(VT_I4);
    return value.lVal;
  }
  void Put(DISPID id, CComVariant value) {
    EXPECT_EQ(comtest::Call(m_dispatch, id, DISPATCH_PROPERTYPUT, {value}, nullptr), S_OK);
  }
  CComVariant Call(DISPID id, std::vector<CComVariant> args = {}) {
    CComVariant result;
    EXPECT_EQ(comtest::Call(m_dispatch, id, DISPATCH_METHOD, std::move(args), &result), S_OK);
    return result;
  }
  bool Valid() const { return m_dispatch != nullptr; }

private:
  IDispatch* m_dispatch;
};

// The control's own dispatch ids, as its interface publishes them.
enum : DISPID {
  kCtlGameMode = 2, kCtlUserColor = 3, kCtlNumOfAdvatage = 4, kCtlLogicalPos = 5, kCtlBreakPoint = 6,
  kCtlGetAreaInfo = 24, kCtlGetStone2 = 33, kCtlGetBigPos = 34,
};

TEST_F(StolvexWrapperTest, EachMemberHasItsEffectOnTheControl) {
  CBoardDlg dlg;
  ASSERT_TRUE(dlg.Create(kBoardDialog));
  ASSERT_TRUE(dlg.UpdateData(FALSE));
  CStolvex& board = dlg.board;
  CControlProbe control(board.m_hWnd);
  ASSERT_TRUE(control.Valid());
  const auto stones = [&](short colour) { return BstrToCp949(control.Call(kCtlGetStone2, {CComVariant(colour)}).bstrVal); };
  // The board cell at (row, col), as the control's area information gives it.
  const auto cell = [&](int row, int col) {
    CComVariant area = control.Call(kCtlGetAreaInfo);
    SHORT value = 0;
    LONG index = row * 19 + col;
    if (area.vt == (VT_ARRAY | VT_I2)) SafeArrayGetElement(area.parray, &index, &value);
    return value;
  };
  const auto clickHeard = [&](int row, int col) {
    dlg.heard.clear();
    platform::input::Click(board.m_hWnd, PointCentre(board.m_hWnd, row, col));
    return dlg.heard.empty() ? DISPID{0} : dlg.heard.back().event;
  };

  // Each member once, in an order that gives every one a state where its effect shows.
  struct Member {
    const char* name;
    std::function<void()> check;
  };
  const std::vector<Member> members = {
      {"SetGameMode", [&] { board.SetGameMode(kRandom); EXPECT_EQ(control.Get(kCtlGameMode), kRandom); }},
      {"GetGameMode", [&] { control.Put(kCtlGameMode, CComVariant(LONG{kRandom | 1})); EXPECT_EQ(board.GetGameMode(), kRandom | 1); board.SetGameMode(kRandom); }},
      {"SetUserColor", [&] { board.SetUserColor(4); EXPECT_EQ(control.Get(kCtlUserColor), 4); }},
      {"GetUserColor", [&] { control.Put(kCtlUserColor, CComVariant(short{2})); EXPECT_EQ(board.GetUserColor(), 2); }},
      {"SetNumOfAdvatage", [&] { board.SetNumOfAdvatage(-1); EXPECT_EQ(control.Get(kCtlNumOfAdvatage), -1); }},
      {"SetDrawStone", [&] { board.SetDrawStone(2, 3, 2, 0); EXPECT_EQ(stones(2), "|dc|"); }},
      {"GetLogicalPos", [&] { board.SetDrawStone(0, 0, 4, 0); EXPECT_EQ(board.GetLogicalPos(), control.Get(kCtlLogicalPos)); EXPECT_EQ(board.GetLogicalPos(), 2); }},
      {"GetLastColor", [&] { EXPECT_EQ(board.GetLastColor(), 4); board.SetDrawStone(0, 1, 2, 0); EXPECT_EQ(board.GetLastColor(), 2); }},
      {"GetChangedCount", [&] { board.SetDrawStone(5, 5, 4, 0); board.SetDrawStone(1, 0, 2, 0); EXPECT_EQ(board.GetChangedCount(), 1); EXPECT_EQ(cell(0, 0), 16); }},  // taken: a ko point
      {"SetBreakPoint", [&] { board.SetBreakPoint(2); EXPECT_EQ(control.Get(kCtlBreakPoint), 2); }},
      {"GoPrev", [&] { board.GoPrev(0); EXPECT_EQ(control.Get(kCtlLogicalPos), 4); EXPECT_EQ(cell(0, 0), 4); EXPECT_EQ(cell(1, 0), 1); }},
      {"GoNext", [&] { board.GoNext(0); EXPECT_EQ(control.Get(kCtlLogicalPos), 5); EXPECT_EQ(cell(1, 0), 2); EXPECT_NE(cell(0, 0), 4); }},
      {"GetStone", [&] {
         VARIANT black = board.GetStone(2);
         ASSERT_EQ(black.vt, VT_ARRAY | VT_VARIANT);
         LONG upper = -1;
         SafeArrayGetUBound(black.parray, 1, &upper);
         EXPECT_EQ(upper, 2);  // dc, ba and ab
         VariantClear(&black);
       }},
      {"GetStoneList", [&] {
         VARIANT list = board.GetStoneList();
         ASSERT_EQ(list.vt, VT_DISPATCH);
         CComVariant count;
         EXPECT_EQ(comtest::Call(list.pdispVal, comtest::IdOf(list.pdispVal, u"Count"), DISPATCH_PROPERTYGET, {}, &count), S_OK);
         count.ChangeType(VT_I4);
         EXPECT_EQ(count.lVal, 5);
         VariantClear(&list);
       }},
      {"Redraw", [&] {
         const platform::PaintTarget target = platform::GetPaintTarget(board.m_hWnd);
         ASSERT_NE(target.surface, nullptr);
         const POINT p = PointCentre(board.m_hWnd, 2, 3);
         std::uint32_t& pixel = target.surface->Row(target.origin.y + p.y + 3)[target.origin.x + p.x + 3];
         pixel = 0x00FF00FF;  // something the board never paints
         board.Redraw(-1, -1);
         EXPECT_NE(pixel, 0x00FF00FFu);
       }},
      {"SetMyTurn", [&] {
         board.SetGameMode(1024);  // a game: only the player whose turn it is may click
         board.SetUserColor(4);
         board.SetMyTurn(0);
         EXPECT_EQ(clickHeard(9, 9), DISPID{STOLVEX_EVENT_ERROR});
         board.SetMyTurn(1);
         EXPECT_EQ(clickHeard(9, 9), DISPID{STOLVEX_EVENT_POSITION});
       }},
      {"SetBigPos", [&] { board.SetGameMode(kTerritory); board.SetBigPos(9 * 19 + 9, 0); EXPECT_EQ(BstrToCp949(control.Call(kCtlGetBigPos, {CComVariant(short{256})}).bstrVal), "|jj|"); }},
      {"GetBigPos", [&] { EXPECT_EQ(board.GetBigPos(256), "|jj|"); }},
      {"UnCheckStone", [&] { board.UnCheckStone(256); EXPECT_EQ(board.GetBigPos(256), ""); }},
      {"SetStone", [&] { board.SetStone(9, 9, 2 + 32); EXPECT_EQ(board.GetBigPos(32), "|jj|"); }},
      {"RemoveStone", [&] { board.RemoveStone(32); EXPECT_EQ(board.GetBigPos(32), ""); }},
      {"Init", [&] { board.Init(); EXPECT_EQ(control.Get(kCtlLogicalPos), 0); EXPECT_EQ(control.Get(kCtlGameMode), 1024); EXPECT_EQ(stones(2), ""); }},
  };
  ASSERT_EQ(members.size(), 22u);
  for (const Member& m : members) {
    SCOPED_TRACE(m.name);
    m.check();
  }
}

TEST_F(StolvexWrapperTest, CreateByClassIdentifierAndWithoutRegistration) {
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, nullptr, nullptr));
  CStolvex board;
  ASSERT_TRUE(board.Create(nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 380, 380), &host, 1119));
  EXPECT_EQ(board.GetLastColor(), 4);
  host.DestroyWindow();

  platform::ScopedPlatformHome empty;  // a machine where the control was never registered
  CWnd other;
  ASSERT_TRUE(other.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, nullptr, nullptr));
  CStolvex missing;
  EXPECT_FALSE(missing.Create(nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 380, 380), &other, 1119));
  EXPECT_EQ(missing.m_hWnd, nullptr);
}

}  // namespace
