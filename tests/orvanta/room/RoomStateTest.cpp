#include "orvanta/room/RoomState.h"

#include <gtest/gtest.h>

TEST(RoomState, StatusesWriteTheWholeWordAndRolesAddTheirBit) {
  struct Row {
    int status;
    WORD word;
    LONG mode;
    int subStatus;  // after starting from sub-status 3
  };
  const Row rows[] = {{1, 2, 1024, 1}, {2, 8, 1, 2},  {3, 1, 1, 0}, {4, 4, 8192, 3},
                      {5, 16, 1, 6},   {6, 32, 1, 0}, {7, 2, 1024, 7}, {8, 1, 1, 3}, {0, 1, 1, 3}};
  for (const Row& row : rows) {
    CRoomState state;
    state.SetWord(0x142);
    state.SetSubStatus(3);
    CRoomState::StatusChange change = state.SetRoomStatus(row.status);
    EXPECT_EQ(row.word, state.GetWord()) << row.status;
    EXPECT_EQ(row.mode, change.gameMode) << row.status;
    EXPECT_EQ(row.subStatus, state.GetSubStatus()) << row.status;
    EXPECT_EQ(row.status == 4, change.counting) << row.status;
  }
  CRoomState state;
  state.SetRoomStatus(1);
  EXPECT_EQ(2, state.SetRole(64));
  EXPECT_EQ(0x42, state.GetWord());
  state.SetRoomStatus(1);
  EXPECT_EQ(1, state.SetRole(512));
  EXPECT_EQ(0x202, state.GetWord());
  EXPECT_EQ(0, state.SetRole(7));  // another value: bits only
}

TEST(RoomState, AGameRunsPausesContinuesAndEndsForEachRole) {
  const struct {
    short colour;
    WORD playing, counting, ended;
  } roles[] = {{2, 0x42, 0x44, 0x50}, {4, 0x82, 0x84, 0x90}, {1, 0x102, 0x104, 0x110}};
  for (const auto& role : roles) {
    CRoomState state;
    state.BeginPlaying(role.colour);
    EXPECT_EQ(role.playing, state.GetWord());
    // A player leaves: recess bit on; continued play takes exactly that bit off again.
    EXPECT_TRUE(state.OnPlayerLeft());
    EXPECT_EQ(role.playing | 8, state.GetWord());
    state.ClearRecess();
    EXPECT_EQ(role.playing, state.GetWord());
    // Continue without a recess bit (a pause never sets it) must not change the colour or phase.
    state.ClearRecess();
    EXPECT_EQ(role.playing, state.GetWord());
    state.BeginCounting(role.colour);
    EXPECT_EQ(role.counting, state.GetWord());
    state.EndGame(role.colour);
    EXPECT_EQ(role.ended, state.GetWord());
    EXPECT_EQ(CRoomState::kGameEnded, state.GetSubStatus());
    // Leaving after the end keeps the phase.
    state.SetSubStatus(0);
    EXPECT_FALSE(state.OnPlayerLeft());
    EXPECT_EQ(role.ended, state.GetWord());
    EXPECT_EQ(CRoomState::kGameEnded, state.GetSubStatus());
    state.Reset();
    EXPECT_EQ(1, state.GetWord());
  }
}
