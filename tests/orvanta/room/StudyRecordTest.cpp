// The study record opened from a game, the panels' clock text and the all-or-nothing save.

#include "orvanta/room/StudyRecord.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <platform/files.h>

TEST(StudyRecord, KeepsPlayersResultRootAndSetupOfTheGameAndItsFirstMoves) {
  CGiboRecord game;
  game.SetBlackPlayer("k1", "kim", "x", "5d");
  game.SetWhitePlayer("k2", "lee", "y", "6d");
  game.SetResult("RE[W+T]");
  game.SetRootInfo("600", "30:3", "2026-12-09", "6.5", "2");
  game.AddSetupStone("dp");
  game.AddSetupStone("pd");
  const char* moves[] = {"W[dd]", "B[pp]", "W[qf]", "B[nc]", "W[fq]", "B[cj]"};
  for (int i = 0; i < 6; ++i) game.AppendMove(moves[i], i % 2 ? "BL[500]" : "WL[500]");

  const CGiboRecord study = MakeStudyRecord(game, 5);
  CString a, b, c, d;
  study.GetWhitePlayer(a, b, c, d);
  EXPECT_STREQ("k2", a);
  EXPECT_STREQ("lee", b);
  EXPECT_STREQ(" 6d", d);
  EXPECT_STREQ("RE[W+T]", study.GetResult());  // never wrapped a second time
  const std::string root = study.GetRoot().GetString();
  EXPECT_NE(std::string::npos, root.find("TM[600]OT[30:3]DT["));
  EXPECT_NE(std::string::npos, root.find("KM[6.5]HA[2]"));
  EXPECT_STREQ("AB[dp][pd]", study.GetSetup());
  EXPECT_EQ(2 + 5, study.GetTotalMoves());
  EXPECT_NE(std::string::npos, std::string(study.GetMoves().GetString()).find(";W[fq]WL[500]"));
  EXPECT_EQ(std::string::npos, std::string(study.GetMoves().GetString()).find("B[cj]"));

  // Written and read back, the study keeps all of it.
  auto dir = platform::MakeTempDir();
  const std::string path = dir / "study.sgf";
  ASSERT_TRUE(SaveRecordText(path.c_str(), study.ToText()));
  CGiboRecord back;
  ASSERT_TRUE(back.ReadFile(path.c_str()));
  EXPECT_STREQ("RE[W+T]", back.GetResult());
  EXPECT_EQ(2, back.GetHandicap());
  EXPECT_EQ(7, back.GetTotalMoves());

  // A game without result, komi or handicap: an empty result field keeps the others in place.
  CGiboRecord bare;
  const CGiboRecord empty = MakeStudyRecord(bare, 10);
  EXPECT_STREQ("", empty.GetResult());
  EXPECT_NE(std::string::npos, std::string(empty.GetRoot().GetString()).find("KM[0.0]HA[0]"));
  EXPECT_EQ(0, empty.GetTotalMoves());
}

TEST(StudyRecord, ClockTextAndSaves) {
  EXPECT_STREQ("1hr 2min 3sec", ClockText(3723));
  EXPECT_STREQ("0hr 0min 0sec", ClockText(-5));

  auto dir = platform::MakeTempDir();
  const std::string path = dir / "kept.sgf";
  ASSERT_TRUE(SaveRecordText(path.c_str(), "(;first)"));
  ASSERT_TRUE(SaveRecordText(path.c_str(), "(;second)\n"));
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ("(;second)\n", text);
  // A folder that does not exist, or a name that is a folder: refused, nothing left beside it.
  EXPECT_FALSE(SaveRecordText((dir / "missing/x.sgf").c_str(), "x"));
  EXPECT_FALSE(SaveRecordText(dir.Path().c_str(), "x"));
  EXPECT_FALSE(SaveRecordText("", "x"));
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) files += entry.is_regular_file();
  EXPECT_EQ(1u, files);
}
