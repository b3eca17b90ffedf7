#include "client/relay/DelayQueue.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "client/relay/DelayBoard.h"
#include "client/relay/DelayOwner.h"
#include "client/model/StoneNode.h"
#include "platform/time.h"

namespace {

// Records what reaches the board as short words: "R" reset, "P x,y,c" stone, "U" take-back.
class FakeBoard : public CDelayBoard {
public:
  bool IsBrowsing() const override { return browsing; }
  void ResetBoard() override { log.push_back("R"); }
  void PlaceStone(int x, int y, int colour, int time, int markLast) override {
    log.push_back("P" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(colour));
    EXPECT_EQ(time, 0);
    EXPECT_EQ(markLast, 1);
  }
  void UndoMove(int flags) override {
    log.push_back("U");
    EXPECT_EQ(flags, 0);
  }

  bool browsing{false};
  std::vector<std::string> log;
};

class FakeOwner : public CDelayOwner {
public:
  bool IsHistoryComplete() const override { return historyComplete; }
  void PlayStoneSound() override { ++sounds; }
  void OnQueueChanged() override { ++changes; }

  bool historyComplete{false};
  int sounds{0};
  int changes{0};  // times the queue said what it holds may fall due at another time
};

using Log = std::vector<std::string>;

class DelayQueueTest : public ::testing::Test {
protected:
  void SetUp() override { queue.Attach(&owner, &board); }
  void Move(int number, std::int64_t time, int x = 1, int colour = 2) {
    ASSERT_EQ(queue.AddEvent(CDelayEvent::kMove, number, time, x, x, colour), CDelayQueue::kOk);
  }

  FakeBoard board;
  FakeOwner owner;
  CDelayQueue queue;
};

TEST_F(DelayQueueTest, ReleasesInArrivalOrderUpToTheDisplayTime) {
  Move(1, 100, 1);
  Move(2, 105, 2, 1);
  Move(3, 103, 3);  // earlier stamp behind a later one: waits for it
  Move(4, 110, 4, 1);
  queue.SetTimes(100, 1000, true);  // display time = now - 900
  EXPECT_EQ(board.log, (Log{"R", "P1,1,2"}));
  EXPECT_EQ(queue.GetCurrentIndex(), 0);

  board.log.clear();
  EXPECT_EQ(queue.Advance(1004, true), CDelayQueue::kOk);  // display 104: move 2 (105) not due
  EXPECT_TRUE(board.log.empty());
  queue.Advance(1005, true);  // 105 is due exactly at 105, and move 3 with it
  EXPECT_EQ(board.log, (Log{"P2,2,1", "P3,3,2"}));
  EXPECT_EQ(owner.sounds, 2);
  board.log.clear();
  queue.Advance(1010, false);
  EXPECT_EQ(board.log, (Log{"P4,4,1"}));
  EXPECT_EQ(owner.sounds, 2);
}

TEST_F(DelayQueueTest, GrowingDelayRewindsAndShrinkingReleasesOnlyNewlyDue) {
  for (int i = 1; i <= 4; ++i) Move(i, 100 + 10 * i, i);
  queue.Enable();
  queue.SetTimes(140, 1000, false);  // all four shown
  ASSERT_EQ(queue.GetCurrentIndex(), 3);
  board.log.clear();

  platform::ManualClockScope clock(1000);
  queue.SetDelay(25);  // display 115: the board showed move 4 (140), so start over
  EXPECT_EQ(board.log, (Log{"R", "P1,1,2"}));
  EXPECT_EQ(queue.GetCurrentIndex(), 0);

  board.log.clear();
  const int changes = owner.changes;
  queue.SetDelay(15);  // display 125: move 2 only, no reset
  EXPECT_EQ(board.log, (Log{"P2,2,2"}));
  EXPECT_EQ(queue.GetCurrentDisplayTime(), 125);
  // Moves 3 and 4 now fall due at other times: the owner hears of it.
  EXPECT_GT(owner.changes, changes);
  EXPECT_TRUE(queue.HoldsEvents());

  // The relay gone, what the delay still holds goes on at once, silently; not under a person
  // looking back.
  board.log.clear();
  const int sounds = owner.sounds;
  board.browsing = true;
  queue.ReleaseAll();
  EXPECT_TRUE(board.log.empty());
  board.browsing = false;
  queue.ReleaseAll();
  EXPECT_EQ(board.log, (Log{"P3,3,2", "P4,4,2"}));
  EXPECT_FALSE(queue.HoldsEvents());
  EXPECT_EQ(owner.sounds, sounds);
}

TEST_F(DelayQueueTest, NoDelayBeforeAReferenceOrWhenNotEnabled) {
  Move(1, 100);
  queue.Enable();
  EXPECT_FALSE(queue.IsDelayActive());
  queue.SetTimes(100, 1000, false);
  EXPECT_TRUE(queue.IsDelayActive());
  CDelayQueue other;
  other.SetTimes(100, 1000, false);
  EXPECT_FALSE(other.IsDelayActive());
  EXPECT_EQ(other.ToDisplayTime(1010, true), 110);
}

TEST_F(DelayQueueTest, TakeBackBeforeAnyMoveIsReplayedAsUndo) {
  ASSERT_EQ(queue.AddEvent(CDelayEvent::kTakeBack, 0, 100, 0, 0, 0), CDelayQueue::kOk);
  EXPECT_EQ(queue.GetMoveCount(), 0);
  queue.SetTimes(100, 1000, true);
  EXPECT_EQ(board.log, (Log{"R", "U"}));
  EXPECT_EQ(owner.sounds, 0);  // net count below one: no sound
}

TEST_F(DelayQueueTest, TakeBackRemovesTheLastReceivedMove) {
  Move(1, 100, 3, 2);
  Move(2, 101, 4, 1);
  queue.AddEvent(CDelayEvent::kTakeBack, 2, 102, 0, 0, 0);
  EXPECT_EQ(queue.GetMoveCount(), 1);
  EXPECT_EQ(queue.GetNextColor(), 1);
  CStoneNode node;
  ASSERT_TRUE(queue.GetNodeAt(node, 0));
  EXPECT_EQ(node.GetX(), 3);
  EXPECT_EQ(node.GetState(), 2u);
  EXPECT_EQ(node.GetSeq(), 1);
  EXPECT_FALSE(queue.GetNodeAt(node, 1));
  EXPECT_EQ(queue.PopLastMove(), CDelayQueue::kOk);
  EXPECT_EQ(queue.PopLastMove(), CDelayQueue::kNothingToDo);
  EXPECT_EQ(queue.GetNextColor(), 2);
}

TEST_F(DelayQueueTest, NothingIsReleasedWhileBrowsingAndAllAtOnceAfter) {
  Move(1, 100, 1);
  queue.SetTimes(100, 1000, true);
  board.log.clear();
  owner.sounds = 0;
  board.browsing = true;
  Move(2, 101, 2);
  Move(3, 102, 3);
  EXPECT_EQ(queue.Advance(1010, true), CDelayQueue::kOk);
  EXPECT_TRUE(board.log.empty());
  board.browsing = false;
  queue.Advance(1010, true);
  EXPECT_EQ(board.log, (Log{"P2,2,2", "P3,3,2"}));
  EXPECT_EQ(owner.sounds, 1);
}

TEST_F(DelayQueueTest, AfterHistoryEachEventRebasesOnItsOwnStamp) {
  owner.historyComplete = true;
  queue.Enable();
  queue.SetTimes(1000, 5000, false);
  queue.SetDelay(0);
  Move(1, 1000000000LL * 3, 1);  // a stamp beyond 32 bits is kept whole
  EXPECT_EQ(board.log, (Log{"R", "P1,1,2"}));
  EXPECT_EQ(owner.sounds, 1);
}

TEST_F(DelayQueueTest, ZeroEventsAndClear) {
  EXPECT_EQ(queue.Advance(1000, true), CDelayQueue::kOk);
  EXPECT_EQ(queue.GetCurrentIndex(), -1);
  Move(1, 100);
  queue.Enable();
  queue.SetTimes(100, 1000, false);
  queue.SetDelay(30);
  queue.Clear();
  EXPECT_EQ(queue.GetEventCount(), 0);
  EXPECT_EQ(queue.GetDelay(), 0);
  EXPECT_EQ(queue.GetCurrentIndex(), -1);
  EXPECT_TRUE(queue.IsDelayActive());  // the flags survive a clear
}

TEST_F(DelayQueueTest, NegativeDisplayTimeDoesNothing) {
  Move(1, 100);
  queue.SetTimes(0, 1000, false);
  board.log.clear();
  EXPECT_EQ(queue.Advance(10, false), CDelayQueue::kNothingToDo);
  EXPECT_TRUE(board.log.empty());
}

TEST_F(DelayQueueTest, StampsAtTheIntegerLimitsKeepReleasingMoves) {
  // A relay number saturates at the limit ("ts|99999999999999999999"); the seconds that follow it
  // must still release what arrives, with and without a delay.
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  queue.Enable();
  queue.SetTimes(kMax, 1000, false);
  Move(1, kMax - 1, 1);
  queue.Advance(1001, true);
  EXPECT_EQ(board.log, (Log{"R", "P1,1,2"}));
  Move(2, kMax, 2, 1);
  queue.Advance(1002, true);
  ASSERT_FALSE(board.log.empty());
  EXPECT_EQ(board.log.back(), "P2,2,1");

  // A delay a second later holds the next move back until its time comes.
  queue.SetDelay(5);
  Move(3, kMax, 3);
  queue.Advance(1003, true);
  EXPECT_NE(board.log.back(), "P3,3,2");
  queue.Advance(1009, true);
  ASSERT_FALSE(board.log.empty());
  EXPECT_EQ(board.log.back(), "P3,3,2");

  // The other end: a reference far below zero and a local clock far behind it show nothing new
  // and take nothing back; a move that comes next waits for a sane reference, then shows.
  board.log.clear();
  queue.SetDelay(0);
  queue.SetTimes(std::numeric_limits<std::int64_t>::min(), kMax, false);
  EXPECT_EQ(queue.Advance(0, true), CDelayQueue::kNothingToDo);
  EXPECT_EQ(queue.GetCurrentIndex(), 2);
  Move(4, 5000, 4, 1);
  EXPECT_TRUE(board.log.empty());
  queue.SetTimes(kMax, 0, false);
  queue.Advance(1, true);
  ASSERT_FALSE(board.log.empty());
  EXPECT_EQ(board.log.back(), "P4,4,1");
}

TEST_F(DelayQueueTest, CopyMovesHandsOverNewNodes) {
  Move(1, 100, 5, 2);
  Move(2, 101, 6, 1);
  CPtrArray list;
  EXPECT_EQ(queue.CopyMoves(list), 2);
  ASSERT_EQ(list.GetSize(), 2);
  auto* second = static_cast<CStoneNode*>(list.GetAt(1));
  EXPECT_EQ(second->GetX(), 6);
  EXPECT_EQ(second->GetSeq(), 2);
  for (INT_PTR i = 0; i < list.GetSize(); ++i) delete static_cast<CStoneNode*>(list.GetAt(i));
}

// A board that reaches back into the queue while a stone is placed.
class ReentrantBoard : public FakeBoard {
public:
  void PlaceStone(int x, int y, int colour, int time, int markLast) override {
    FakeBoard::PlaceStone(x, y, colour, time, markLast);
    nestedResult = queue->Advance(100000, true);
  }
  CDelayQueue* queue{nullptr};
  int nestedResult{-1};
};

TEST(DelayQueueReentryTest, NestedAdvanceDoesNothing) {
  ReentrantBoard board;
  FakeOwner owner;
  CDelayQueue queue;
  board.queue = &queue;
  queue.Attach(&owner, &board);
  queue.AddEvent(CDelayEvent::kMove, 1, 100, 1, 1, 2);
  queue.AddEvent(CDelayEvent::kMove, 2, 200, 2, 2, 1);
  queue.SetTimes(100, 1000, false);
  EXPECT_EQ(board.nestedResult, 0);
  EXPECT_EQ(board.log, (Log{"R", "P1,1,2"}));
}

}  // namespace

TEST(DelayQueueWithoutBoardTest, AdvanceHasNothingToDoAndKeepsTheEvents) {
  CDelayQueue queue;
  EXPECT_EQ(queue.AddEvent(1, 1, 100, 4, 4, 2), CDelayQueue::kOk);
  EXPECT_EQ(queue.Advance(1000, true), CDelayQueue::kNothingToDo);
  EXPECT_EQ(queue.GetEventCount(), 1);
  EXPECT_EQ(queue.GetCurrentIndex(), -1);
}
