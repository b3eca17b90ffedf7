// The control in containers other than the game client's: shapes and borders that put points
// outside the picture, histories copied from other lists, and event handlers that call back.

#include <gtest/gtest.h>

#include "RecordingSink.h"
#include "control/StolvexCtrl.h"
#include "control/StoneInfo.h"
#include "control/StoneList.h"
#include "platform/com/ComTestSupport.h"
#include "platform/messageloop.h"
#include "platform/windows.h"

namespace {

class StolvexCtrlSafetyTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 500, 500, nullptr, nullptr));
    ctrl = new CStolvexCtrl;
    ctrl->AddRef();
  }
  void TearDown() override {
    host.DestroyWindow();
    ctrl->Release();
    platform::ResetMessageQueue();
  }
  void Create(DWORD style, RECT place = RECT{0, 0, 380, 380}) {
    ASSERT_EQ(ctrl->CreateInPlaceWindow(nullptr, host.m_hWnd, &place, 7, style, &window), S_OK);
  }
  void ListenWith(std::function<void()> onEvent) {
    CComPtr<IConnectionPoint> point;
    ASSERT_EQ(ctrl->FindConnectionPoint(DIID__DStolvexEvents, &point), S_OK);
    sink = new comtest::CRecordingSink(DIID__DStolvexEvents);
    sink->onEvent = std::move(onEvent);
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(sink->GetUnknown(), &cookie), S_OK);
  }
  bool LastEventIs(DISPID id) const { return sink && !sink->events.empty() && sink->events.back().id == id; }

  CWnd host;
  CStolvexCtrl* ctrl{nullptr};
  HWND window{nullptr};
  CComPtr<comtest::CRecordingSink> sink;
};

TEST_F(StolvexCtrlSafetyTest, EveryPointRepaintsInsideThePictureWhateverTheShapeOrBorder) {
  struct Shape {
    DWORD style;
    short cx, cy;
  };
  for (const Shape& shape : {Shape{WS_CHILD | WS_VISIBLE, 400, 100}, Shape{WS_CHILD | WS_VISIBLE, 100, 400},
                             Shape{WS_CHILD | WS_VISIBLE | WS_BORDER, 380, 380},
                             Shape{WS_CHILD | WS_VISIBLE | WS_BORDER, 450, 120}}) {
    SCOPED_TRACE(testing::Message() << shape.cx << "x" << shape.cy << (shape.style & WS_BORDER ? " bordered" : ""));
    ctrl->Release();
    ctrl = new CStolvexCtrl;
    ctrl->AddRef();
    Create(shape.style);
    ctrl->SetSizeControl(shape.cx, shape.cy);
    ctrl->Board().SetGameMode(RANDOM);
    Play(ctrl->Board(), "aa", BLACK);
    Play(ctrl->Board(), "ss", WHITE);
    Play(ctrl->Board(), "as", BLACK);
    // Every corner, each with and without a stone, and the whole board.
    for (short row : {0, 18})
      for (short col : {0, 9, 18})
        ctrl->Redraw(row, col);
    ctrl->Redraw(-1, -1);
    // On a square control the last row and column lie inside the area that is painted and clicked.
    if (shape.cx == shape.cy) {
      CRect client;
      ::GetClientRect(window, &client);
      const RECT& last = ctrl->Geometry().Region(360);
      EXPECT_LE(last.right, client.right);
      EXPECT_LE(last.bottom, client.bottom);
    }
    ::DestroyWindow(window);
  }
}

// A history as another container may hand it over: its own point is right, further entries are
// anywhere.
CStoneList* ForeignHistory(std::initializer_list<short> extraPositions, short ownPoint = 5) {
  CStoneList* list = new CStoneList;
  list->AddRef();
  CStoneInfo* record = new CStoneInfo;
  record->Init(1, 1, 0, ownPoint, BLACK, NONE, NO_POINT);
  for (short p : extraPositions)
    record->AddChange(p, REDRAW, WHITE, 3, 0);
  list->Add(record);
  return list;
}

TEST_F(StolvexCtrlSafetyTest, CopiedHistoriesKeepOnlyPointsOfTheBoard) {
  Create(WS_CHILD | WS_VISIBLE);
  CStoneList* foreign = ForeignHistory({1000, -1, 6, 361});
  ctrl->Board().SetStoneList(foreign);
  ASSERT_EQ(ctrl->Board().StoneList().Count(), 1);
  const CStoneInfo* copied = ctrl->Board().StoneList().At(1);
  ASSERT_EQ(copied->NumOfChanged(), 2);
  EXPECT_EQ(copied->ChangeAt(0).position, 5);
  EXPECT_EQ(copied->ChangeAt(1).position, 6);
  ctrl->Redraw(0, 5);  // paints each entry's point: none may lie off the board
  foreign->Release();

  // A record whose own point is off the board is no move: it is not copied at all.
  CStoneList* placeless = ForeignHistory({7}, 400);
  ctrl->Board().SetStoneList(placeless);
  EXPECT_EQ(ctrl->Board().StoneList().Count(), 1);
  placeless->Release();
}

TEST_F(StolvexCtrlSafetyTest, AHandlerMayStartAnewOrTakeBackInsideTheCaptureEvent) {
  Create(WS_CHILD | WS_VISIBLE);
  struct Reaction {
    const char* what;
    std::function<void(CStolvexCtrl&)> act;
    long recordsAfter;
  };
  const Reaction* current = nullptr;
  bool reacted = false;
  ListenWith([&] {
    if (current && !reacted && LastEventIs(eventidNumOfEat)) {
      reacted = true;
      current->act(*ctrl);
    }
  });
  for (const Reaction& reaction : {Reaction{"Init", [](CStolvexCtrl& c) { c.Init(); }, 0},
                                   Reaction{"RemoveStone(-1)", [](CStolvexCtrl& c) { c.RemoveStone(-1); }, 2}}) {
    SCOPED_TRACE(reaction.what);
    ctrl->Init();
    ctrl->SetGameMode(RANDOM);
    current = &reaction;
    reacted = false;
    ctrl->SetDrawStone(0, 1, BLACK, 0);
    ctrl->SetDrawStone(0, 0, WHITE, 0);
    ctrl->SetDrawStone(1, 0, BLACK, 0);  // takes the white corner stone
    ASSERT_TRUE(reacted);
    current = nullptr;
    EXPECT_EQ(ctrl->Board().StoneList().Count(), reaction.recordsAfter);
    // The control goes on working after the handler's call.
    ctrl->SetGameMode(RANDOM);
    ctrl->SetDrawStone(9, 9, BLACK, 0);
    ctrl->Redraw(-1, -1);
    EXPECT_EQ(ctrl->Board().GetCell(9 * 19 + 9), BLACK);
  }
}

}  // namespace
