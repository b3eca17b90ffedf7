// The room's pop-up commands: which are enabled and ticked in each state of the room.

#include "orvanta/room/RoomCommands.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using C = CRoomCommands;

// The commands in the order the expectation strings list them: the room's pop-up, then the
// observer pop-up's "No chatting".
const UINT kOrder[] = {C::kBigScreen,    C::kSound,        C::kHint,          C::kSequence,    C::kRetract,
                       C::kResign,       C::kDrawnPlay,    C::kPausePlay,     C::kContinuePlay, C::kSelectCaptured,
                       C::kSendCaptured, C::kSelectStalemate, C::kCountHouses, C::kExit,        C::kNoChatting};

struct Row {
  const char* name;
  C::Situation situation;
  const char* enabled;  // one digit per command of kOrder
  const char* ticked;   // Big Screen, Sound, Hint, Sequence
};

const Row kRows[] = {
    {"black player during play", {2, 1024, 1, 0x42, TRUE, TRUE, FALSE, FALSE, FALSE}, "111111110100001", "0000"},
    {"observer during play", {1, 1024, 1, 0x102, TRUE, TRUE, FALSE, FALSE, FALSE}, "110100000000010", "0000"},
    {"white player in recess, alone", {4, 1, 2, 0x88, FALSE, TRUE, FALSE, FALSE, FALSE}, "111100001000011", "0000"},
    {"black player designating dead stones", {2, 8192, 3, 0x44, TRUE, TRUE, FALSE, FALSE, FALSE}, "111100000011101", "0000"},
    {"white player, dead stones agreed", {4, 8192, 4, 0x84, TRUE, TRUE, FALSE, FALSE, FALSE}, "111100000011101", "0000"},
    {"counting while the room is in recess", {2, 8192, 3, 0x48, TRUE, TRUE, FALSE, FALSE, FALSE}, "111100000000001", "0000"},
    {"observer while counting", {1, 8192, 3, 0x104, TRUE, TRUE, FALSE, FALSE, FALSE}, "110100000000010", "0000"},
    {"player after the game, no result marks", {2, 1, 6, 0x50, TRUE, TRUE, FALSE, FALSE, FALSE}, "111000000000011", "0000"},
    {"player after the game with result marks", {2, 1 | 32768, 6, 0x50, TRUE, TRUE, FALSE, FALSE, FALSE}, "111100000000011", "0000"},
    {"player in step-by-step review", {2, 1024, 7, 0x42, TRUE, TRUE, FALSE, FALSE, FALSE}, "111100000000001", "0000"},
    {"nobody seated, waiting", {0, 1, 0, 1, FALSE, FALSE, FALSE, FALSE, FALSE}, "111000000000010", "0000"},
    {"full screen, sound, advice, numbers shown", {2, 1024 | 4096, 1, 0x42, TRUE, TRUE, TRUE, TRUE, TRUE}, "111111110100001", "1111"},
    {"numbers shown but the board is idle", {2, 1 | 4096, 2, 0x48, TRUE, TRUE, FALSE, FALSE, FALSE}, "111100001000001", "0000"},
};

TEST(RoomCommandsTest, EachCommandIsEnabledAndTickedByTheRoomsState) {
  for (const Row& row : kRows) {
    std::string enabled, ticked;
    for (UINT id : kOrder) enabled += C::Of(id, row.situation).enabled ? '1' : '0';
    for (int i = 0; i < 4; ++i) ticked += C::Of(kOrder[i], row.situation).checked ? '1' : '0';
    EXPECT_EQ(row.enabled, enabled) << row.name;
    EXPECT_EQ(row.ticked, ticked) << row.name;
  }
  // The observer pop-up's other entries always work; an unknown id never does.
  for (UINT id : {C::kUserInfo, C::kSendMemo, C::kSendMail}) EXPECT_TRUE(C::Of(id, kRows[1].situation).enabled);
  EXPECT_FALSE(C::Of(12345, kRows[0].situation).enabled);
}

}  // namespace
