// The client's board wrapper over the real control module: hosted by a dialog template that names
// the control by class identifier, called member by member, its events routed by a sink map.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "orvanta/room/Stolvex.h"
#include "platform/ddx.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/messageloop.h"
#include "platform/resources.h"
#include "platform/testinput.h"
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

TEST_F(StolvexWrapperTest, EveryMemberReachesTheControl) {
  CBoardDlg dlg;
  ASSERT_TRUE(dlg.Create(kBoardDialog));
  ASSERT_TRUE(dlg.UpdateData(FALSE));
  CStolvex& board = dlg.board;
  board.SetUserColor(4);
  EXPECT_EQ(board.GetUserColor(), 4);
  board.SetNumOfAdvatage(-1);
  board.SetGameMode(kRandom);
  board.SetDrawStone(2, 3, 2, 0);
  board.SetDrawStone(20, 20, 4, 0);
  board.SetBreakPoint(2);
  board.SetMyTurn(1);
  board.Redraw(-1, -1);

  VARIANT stones = board.GetStone(2);
  ASSERT_EQ(stones.vt, VT_ARRAY | VT_VARIANT);
  LONG upper = -1;
  SafeArrayGetUBound(stones.parray, 1, &upper);
  EXPECT_EQ(upper, 0);
  VariantClear(&stones);
  VARIANT list = board.GetStoneList();
  EXPECT_EQ(list.vt, VT_DISPATCH);
  VariantClear(&list);

  board.SetGameMode(kTerritory);
  EXPECT_EQ(board.GetBigPos(256), "");  // nothing marked: an empty text
  board.SetBigPos(0, 0);
  EXPECT_EQ(board.GetBigPos(256), "|aa|");
  board.UnCheckStone(256);
  board.SetStone(2, 3, 2 + 32);
  board.RemoveStone(32);
  EXPECT_EQ(board.GetBigPos(256), "");
  board.Init();
  EXPECT_EQ(board.GetLogicalPos(), 0);
  EXPECT_EQ(board.GetUserColor(), 1);
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
