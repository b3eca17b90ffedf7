// The main menu pane's buttons after each server event the rules know, in and out of the game
// room, for players and observers; and the pane's layout per screen mode.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "orvanta/app/ButtonEventRules.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/app/MenuButtonLayout.h"
#include "orvanta/app/ScreenFlags.h"

namespace {

using namespace MenuButton;
using Ids = std::set<UINT>;

// Records what the rules do to each button.
class FakeBank : public CMenuButtonBank {
public:
  void EnableButton(UINT id, BOOL enable) override { enabled[id] = enable != FALSE; }
  void ShowButton(UINT id, BOOL show) override { shown[id] = show != FALSE; }
  void SetButtonFace(UINT id, UINT bitmap) override { faces[id] = bitmap; }
  int GetButtonDrawState(UINT) const override { return 0; }
  CRect GetButtonRect(UINT id) const override {
    const auto found = rects.find(id);
    return found != rects.end() ? found->second : CRect(0, 0, 74, 24);
  }
  void MoveButton(UINT id, int x, int y) override {
    CRect rect = GetButtonRect(id);
    rects[id] = CRect(x, y, x + rect.Width(), y + rect.Height());
  }
  Ids On() const { return Filter(true); }
  Ids Off() const { return Filter(false); }

  std::map<UINT, bool> enabled;
  std::map<UINT, bool> shown;
  std::map<UINT, UINT> faces;
  std::map<UINT, CRect> rects;

private:
  Ids Filter(bool state) const {
    Ids ids;
    for (const auto& [id, on] : enabled)
      if (on == state)
        ids.insert(id);
    return ids;
  }
};

const Ids kNavigation = {kWaitingRoomList, kRecordView, kRankView, kGameRoom};
const Ids kBank = {kWaitingRoomList, kRecordView, kRankView, kGameRoom, kNegotiate, kInvite, kAskDraw,
                   kResign, kAskUndo, kAskEnd, kSendStones, kAskCounting, kReceiveAgain, kGiveUpMove,
                   kStalemate, kSequence, kTryPlacing, kReview, kPause, kSelectRecord, kLeave};
const Ids kPlaying = {kInvite, kAskDraw, kResign, kAskUndo, kAskEnd, kReceiveAgain, kGiveUpMove, kSequence, kPause};
const Ids kCounting = {kInvite, kAskEnd, kSendStones, kAskCounting, kStalemate, kSequence};
const Ids kEnded = {kInvite, kSequence, kTryPlacing, kReview, kLeave};
const Ids kObserving = {kInvite, kReceiveAgain, kSequence, kTryPlacing, kLeave};
const Ids kPaused = {kInvite, kReceiveAgain, kSequence, kPause, kLeave};
const Ids kLeftSeat = {kNegotiate, kInvite, kReceiveAgain, kTryPlacing, kSelectRecord, kLeave};

Ids Plus(Ids a, const Ids& b) {
  a.insert(b.begin(), b.end());
  return a;
}
Ids Minus(Ids a, const Ids& b) {
  for (UINT id : b)
    a.erase(id);
  return a;
}
// The bank's buttons a set leaves disabled.
Ids Rest(const Ids& on, const Ids& keep = {}) { return Minus(Minus(kBank, on), keep); }

constexpr UINT kRoom = CMainFrame::kGameRoomView;
constexpr UINT kStart = CMainFrame::kStartView;
constexpr WORD kBlackPlaying = 0x42;
constexpr WORD kObserverPlaying = 0x102;

CButtonEventSituation In(UINT view, WORD state = 1, int phase = 0) {
  CButtonEventSituation s;
  s.activeView = view;
  s.roomState = state;
  s.phase = phase;
  s.connected = TRUE;
  s.loginRole = "7";
  s.userId = "kim";
  s.blackName = "kim";
  s.whiteName = "lee";
  return s;
}
CButtonEventSituation WithFlags(CButtonEventSituation s, WORD flags) {
  s.screenFlags = flags;
  return s;
}
CButtonEventSituation Returning(CButtonEventSituation s) {
  s.inRoomFlag = TRUE;
  return s;
}
CButtonEventSituation Owner(CButtonEventSituation s) {
  s.roomOwner = TRUE;
  return s;
}

struct Case {
  const char* name;
  int code;
  const char* payload;
  CButtonEventSituation situation;
  Ids on;
  Ids off;
  std::map<UINT, UINT> faces{};
  std::map<UINT, bool> shown{};
  int phase{-1};
  const char* status{nullptr};
  bool relayout{false};
};

TEST(ButtonEventRulesTest, EveryEventSetsItsButtons) {
  const WORD roomFlag = kScreenGameRoom;
  const Case cases[] = {
      {"login accepted", 11, "", In(kStart), {kRecordView, kRankView, kLeave}, {}},
      {"logged out, any view", 12, "", In(kRoom, kBlackPlaying), {}, Plus(kNavigation, {kLeave}), {}, {}, -1,
       nullptr, true},
      {"waiting room entered", 31, "", In(CMainFrame::kWaitingRoomView),
       {kWaitingRoomList, kRecordView, kRankView, kOpenRoom, kSearchRoom, kJoinRoom, kUserInformation, kSearchUser,
        kLeave},
       {}},
      {"user list", 33, "", In(kStart), kNavigation, {}},
      {"room lists", 51, "", In(kStart), kNavigation, {}},
      {"post-login notice", 36, "", In(kStart), {kRecordView, kRankView, kGameRoom, kLeave}, {kWaitingRoomList}},
      {"own seat left, player", 52, "", In(kRoom, kBlackPlaying), kLeftSeat, Rest(kLeftSeat),
       {{kAskEnd, kAskEndFace}, {kPause, kPauseFace}}},
      {"own seat left, observer", 52, "", In(kRoom, kObserverPlaying), {}, {}},
      {"left the room, game room still flagged", 54, "", WithFlags(In(kStart), roomFlag), {}, {kGameRoom}, {},
       {{kAskEnd, false}}},
      {"left the room", 54, "", In(kStart), {kGameRoom}, {}, {}, {{kAskEnd, false}}},
      {"record page, room flagged", 61, "", WithFlags(In(CMainFrame::kRecordListView), roomFlag),
       {kWaitingRoomList, kRankView, kNextPage, kSearchRecords, kGameRoom}, {kRecordView, kCancelSearch}},
      {"record page, no room", 61, "", In(CMainFrame::kRecordListView),
       {kWaitingRoomList, kRankView, kNextPage, kSearchRecords}, {kRecordView, kCancelSearch, kGameRoom}},
      {"search result on the record list", 62, "", In(CMainFrame::kRecordListView),
       {kWaitingRoomList, kRankView, kGameRoom, kNextPage, kSearchRecords}, {kRecordView}},
      {"search result elsewhere", 62, "", In(kStart), {}, {}},
      {"waiting-room list pressed", 71, "", In(kStart), {kWaitingRoomList, kRecordView, kRankView}, {kGameRoom}},
      {"bulletin board", 710, "", In(kStart), {kWaitingRoomList, kRecordView, kRankView}, {kGameRoom}},
      {"user left, observer", 98, "lee", In(kRoom, kObserverPlaying), {kLeave}, {}, {}, {}, -1, "lee is out."},
      {"user left, game over", 98, "lee", In(kRoom, 0x50, 6), Plus(Minus(kEnded, {kLeave, kReview}), {kReceiveAgain}),
       Plus(Rest(kEnded, {kReceiveAgain}), {kLeave, kReview}), {}, {}, -1, "lee is out."},
      {"user left, in recess", 98, "|lee|", In(kRoom, 0x4A, 2), Minus(kEnded, {kLeave, kReview, kTryPlacing}),
       Plus(Rest(kEnded), {kLeave, kReview, kTryPlacing}), {}, {}, -1, "lee is out."},
      {"captured stones while counting", 99, "", In(kRoom, 0x44), {kSendStones, kStalemate}, {}, {},
       {{kSendStones, true}}},
      {"captured stones while playing", 99, "", In(kRoom, kBlackPlaying), {}, {kSendStones, kStalemate}},
      {"captured stones outside the room", 99, "", In(kStart, 0x44), {}, {}},
      {"rank list", 101, "|3|", WithFlags(In(kStart), roomFlag),
       {kWaitingRoomList, kRecordView, kRankView, kNextPage, kGameRoom}, {kCancelSearch}},
      {"rank list, second kind", 104, "|3|", In(kStart), {kWaitingRoomList, kRecordView, kRankView},
       {kCancelSearch, kNextPage, kGameRoom}},
      {"empty rank list", 101, "|0|", In(kStart), {}, {}},
      {"rank page", 102, "", In(kStart), {kRankView}, {}},
      {"match start, player", 512, "", In(kRoom, kBlackPlaying), kPlaying, Rest(kPlaying), {{kAskEnd, kAskEndFace}}},
      {"match start, observer", 512, "", In(kRoom, kObserverPlaying), kObserving, Rest(kObserving),
       {{kAskEnd, kAskEndFace}}},
      {"match start, other view", 512, "", In(kStart, kObserverPlaying), kPlaying, Rest(kPlaying),
       {{kAskEnd, kAskEndFace}}},
      {"draw agreed, player keeps navigation", 519, "", In(kRoom, kBlackPlaying), kEnded, Rest(kEnded, kNavigation)},
      {"resigned, room owner may negotiate", 543, "", Owner(In(kRoom, kBlackPlaying)), Plus(kEnded, {kNegotiate}),
       Rest(Plus(kEnded, {kNegotiate}), kNavigation)},
      {"counted, observer", 545, "", In(kRoom, kObserverPlaying), {}, {kReceiveAgain, kReview}},
      {"counted, other view", 545, "", In(kStart, kBlackPlaying), {}, {}},
      {"end asked, player", 521, "", In(kRoom, kBlackPlaying), kCounting, Rest(kCounting),
       {{kAskEnd, kCountingDoneFace}}},
      {"end asked, observer", 521, "", In(kRoom, kObserverPlaying), {}, {kReceiveAgain, kGiveUpMove}},
      {"pause", 523, "", In(kRoom, kBlackPlaying), kPaused, Rest(kPaused, {kWaitingRoomList, kGameRoom}),
       {{kPause, kResumeFace}}},
      {"pause, observer", 523, "", In(kRoom, kObserverPlaying), {}, {}},
      {"resume", 525, "", In(kRoom, kBlackPlaying), kPlaying, Rest(kPlaying, {kWaitingRoomList, kGameRoom}),
       {{kPause, kPauseFace}}},
      {"continued play", 534, "", In(kRoom, kBlackPlaying), kPlaying, Rest(kPlaying, {kWaitingRoomList}),
       {{kAskEnd, kAskEndFace}}},
      {"continued play, other view", 534, "", In(kStart, kBlackPlaying), {kReceiveAgain}, {}},
      {"time over, player", 538, "", In(kRoom, kBlackPlaying), Plus(kEnded, {kReceiveAgain}),
       Minus(Rest(kEnded), {kReceiveAgain}), {{kAskEnd, kAskEndFace}, {kPause, kPauseFace}}},
      {"time over, observer", 538, "", Owner(In(kRoom, kObserverPlaying)), Minus(kEnded, {kReview}),
       Plus(Rest(kEnded), {kReview}), {{kAskEnd, kAskEndFace}, {kPause, kPauseFace}}},
      {"game continued, observer", 541, "", In(kRoom, kObserverPlaying), kObserving, Rest(kObserving)},
      {"game continued, player", 541, "", In(kRoom, kBlackPlaying), kPlaying, Rest(kPlaying)},
      {"clock started, player", 551, "", In(kRoom, kBlackPlaying), kPlaying,
       Plus(Rest(kPlaying, {kStalemate, kWaitingRoomList, kGameRoom}), {kDesignateStones}), {{kPause, kPauseFace}}},
      {"clock started, observer of an ended game", 551, "", In(kRoom, 0x110), Minus(kObserving, {kReceiveAgain}),
       Plus(Rest(kObserving), {kReceiveAgain}), {{kAskEnd, kAskEndFace}, {kPause, kPauseFace}}},
      {"an unknown code", 57, "|x|", In(kRoom, kBlackPlaying), {}, {}},
      // A user entered the game room.
      {"back in the room, opponent, playing", 53, "|1|7|lee|", Returning(In(kRoom, kBlackPlaying, 1)), kPlaying,
       Rest(kPlaying), {{kPause, kPauseFace}}, {}, -1, "Playing"},
      {"back in the room, opponent, counting", 53, "|1|7|lee|", Returning(In(kRoom, 0x44, 4)), kCounting,
       Rest(kCounting), {{kAskEnd, kCountingDoneFace}, {kPause, kPauseFace}}, {}, -1, "Opponent entered."},
      {"back in the room, game over", 53, "|1|8|park|", Returning(In(kRoom, 0x50, 6)), kEnded, Rest(kEnded)},
      {"back in the room, observer", 53, "|1|7|lee|", Returning(In(kRoom, kObserverPlaying, 1)), {}, {}},
      {"own entry into a running game", 53, "|1|7|kim|0|0|1|", In(kRoom, kBlackPlaying), kPlaying, Rest(kPlaying),
       {{kPause, kPauseFace}}, {}, 1},
      {"own entry in recess", 53, "|1|7|kim|0|0|2|", In(kRoom, 0x4A), {kReceiveAgain, kInvite, kSequence}, {},
       {{kPause, kPauseFace}}, {}, 1},
      {"own entry while counting", 53, "|1|7|kim|0|0|4|", In(kRoom, 0x44), kCounting, Rest(kCounting),
       {{kAskEnd, kCountingDoneFace}, {kPause, kPauseFace}}, {}, 3},
      {"own entry after the end", 53, "|1|7|kim|0|0|7|", In(kRoom, 0x50), kEnded, Rest(kEnded),
       {{kAskEnd, kAskEndFace}, {kPause, kPauseFace}}, {}, 7},
      {"own entry, number 6", 53, "|1|7|kim|0|0|6|", In(kRoom, 0x50), Minus(kObserving, {kTryPlacing}),
       Plus(Rest(kObserving), {kTryPlacing}), {{kAskEnd, kAskEndFace}, {kPause, kPauseFace}}},
      {"own entry, number 3", 53, "|1|7|kim|0|0|3|", In(kRoom, kBlackPlaying), {}, {}},
      {"somebody else's entry", 53, "|1|9|choi|0|0|1|", In(kRoom, kBlackPlaying), {}, {}},
      {"observer's own entry", 53, "|1|7|kim|0|0|1|", In(kRoom, 0x108), Minus(kObserving, {kReceiveAgain}),
       Plus(Rest(kObserving), {kReceiveAgain}), {{kAskEnd, kAskEndFace}, {kPause, kPauseFace}}},
      {"entry into a waiting room", 53, "|1|7|kim|", In(kRoom, 0x201),
       {kInvite, kReceiveAgain, kSequence, kTryPlacing, kSelectRecord, kLeave, kNegotiate},
       Rest({kInvite, kReceiveAgain, kSequence, kTryPlacing, kSelectRecord, kLeave, kNegotiate}),
       {{kAskEnd, kAskEndFace}, {kPause, kPauseFace}}},
      {"entry seen from another view", 53, "|1|7|kim|", In(kStart, 0x201),
       {kInvite, kReceiveAgain, kSequence, kTryPlacing, kLeave},
       Rest({kInvite, kReceiveAgain, kSequence, kTryPlacing, kLeave}), {{kAskEnd, kAskEndFace}, {kPause, kPauseFace}}},
      {"partner back after a game", 53, "|1|8|lee|", In(kRoom, 0x60), Minus(kPlaying, {kGiveUpMove}),
       Plus(Rest(kPlaying), {kGiveUpMove}), {{kAskEnd, kAskEndFace}, {kPause, kPauseFace}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeBank bank;
    const CButtonEventOutcome outcome = CButtonEventRules(bank, c.situation).Apply(c.code, c.payload);
    EXPECT_EQ(bank.On(), c.on);
    EXPECT_EQ(bank.Off(), c.off);
    EXPECT_EQ(bank.faces, c.faces);
    EXPECT_EQ(bank.shown, c.shown);
    EXPECT_EQ(outcome.phase, c.phase);
    EXPECT_EQ(outcome.hasStatusLine, c.status != nullptr);
    if (c.status) {
      EXPECT_EQ(outcome.statusLine, c.status);
    }
    EXPECT_EQ(outcome.relayout != FALSE, c.relayout);
  }
}

TEST(ButtonEventRulesTest, EachScreenModePlacesItsRows) {
  const CMenuRows rows{2, 30, 170};
  struct Expected {
    UINT id;
    int x;
    int y;
  };
  struct LayoutCase {
    int mode;
    std::vector<Expected> places;
  };
  // Buttons are 74 wide; the game room's groups keep their own left edge (here 170 and 400).
  const LayoutCase cases[] = {
      {1,
       {{kOpenRoom, 170, 2}, {kJoinRoom, 338, 2}, {kUserInformation, 170, 30}, {kLeave, 506, 30},
        {kNegotiate, 170, 30}, {kTryPlacing, 400, 30}}},
      {2, {{kWaitingRoomList, 170, 2}, {kLeave, 400 + 7 * 84, 30}, {kSearchUser, 506, 30}}},
      {4, {{kWaitingRoom, 422, 2}, {kLeave, 506, 2}, {kReceiveAgain, 400 + 6 * 84, 30}}},
      {6,
       {{kSearchUser, 506, 2}, {kNegotiate, 170, 2}, {kSendStones, 170 + 6 * 84, 2},
        {kStalemate, 170 + 7 * 84 - 2, 2}, {kAskCounting, 170 + 8 * 84, 2}, {kTryPlacing, 170, 30},
        {kLeave, 170 + 7 * 79, 30}}},
      {8, {{kRankView, 338, 2}, {kLeave, 422, 2}}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.mode);
    FakeBank bank;
    bank.rects[kNegotiate] = CRect(170, 0, 244, 24);
    bank.rects[kTryPlacing] = CRect(400, 0, 474, 24);
    ASSERT_TRUE(CMenuButtonLayout::Arrange(c.mode, rows, bank));
    for (const Expected& place : c.places) {
      SCOPED_TRACE(place.id);
      EXPECT_EQ(bank.rects[place.id].TopLeft(), CPoint(place.x, place.y));
      EXPECT_EQ(bank.rects[place.id].Width(), 74);
    }
  }
  for (int mode : {0, 9}) {
    FakeBank bank;
    EXPECT_FALSE(CMenuButtonLayout::Arrange(mode, rows, bank));
    EXPECT_TRUE(bank.rects.empty());
  }
}

}  // namespace
