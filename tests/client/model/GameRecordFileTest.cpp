#include "client/model/GameRecordFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class GameRecordFileTest : public ::testing::Test {
protected:
  ~GameRecordFileTest() override {
    moves.DeleteAll();
    readMoves.DeleteAll();
  }

  std::string PathOf(const std::string& name) const { return dir / name; }
  std::string WriteRaw(const std::string& name, const std::string& bytes) const {
    std::ofstream(PathOf(name), std::ios::binary) << bytes;
    return PathOf(name);
  }
  std::string ReadRaw(const std::string& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // Reads bytes as a record file into the read targets.
  BOOL ReadText(const std::string& bytes) {
    return file.Read(WriteRaw("in.sgf", bytes).c_str(), &readMoves, &readComments, &readDiagrams, &readInfo);
  }
  void AddMove(int x, int y, int colour) {
    moves.Add(new CStoneNode(x, y, static_cast<DWORD>(colour), static_cast<int>(moves.GetSize()) + 1, 0));
  }
  // A game with a header, comments and two diagrams (one on the last move).
  void BuildGame() {
    info.m_title = "Cup";
    info.m_year = 2001;
    info.m_month = 3;
    info.m_day = 5;
    info.m_place = "Seoul";
    info.m_blackHours = 1;
    info.m_blackMinutes = 2;
    info.m_blackName = "Lee";
    info.m_blackRank = 9;
    info.m_blackAffiliation = "A";
    info.m_blackBD = 4;
    info.m_whiteMinutes = 59;
    info.m_whiteName = "Cho";
    info.m_whiteRank = 1;
    info.m_whiteAffiliation = "B";
    info.m_whiteWD = 5;
    info.m_result = "W+R";
    AddMove(16, 4, 2);
    AddMove(4, 16, 1);
    AddMove(16, 16, 2);
    AddMove(4, 4, 1);
    comments.AddComment(0, "before the game");
    comments.AddComment(2, "nice");
    comments.AddComment(2, "good");
    diagrams.AddDiagramMove(3, 17, 17, CStoneNode::kBlack, 1);
    diagrams.AddDiagramMove(3, 17, 16, CStoneNode::kWhite, 2);
    diagrams.AddDiagramMove(3, 5, 5, CStoneNode::kMarkK, 3);
    diagrams.AddDiagramMove(3, 6, 6, CStoneNode::kMarkE, 4);
    diagrams.AddDiagramText(3, "var");
    diagrams.CloseDiagram(3, 3);
    diagrams.AddDiagramMove(4, 3, 3, CStoneNode::kBlack, 1);
    diagrams.CloseDiagram(4, 5);
    diagrams.AddDiagramMove(0, 10, 10, CStoneNode::kBlack, 1);
    diagrams.AddDiagramText(0, "before the game: a diagram");
    diagrams.CloseDiagram(0, 1);
  }
  static std::string ExpectedGameText() {
    return std::string("(") + "\r\nTE[Cup]" + "\r\nSU[" + Cp949("생중계") + "]" +
           "\r\nRD[2001-03-05]\r\n" + "\r\nPC[Seoul]" + "\r\nBT[1:2]" + "\r\nPB[Lee]" +
           "\r\nBR[11]" + "\r\nBC[A]" + "\r\nBD[4]" + "\r\nWT[0:59]" + "\r\n\r\nPW[Cho]" +
           "\r\nWR[19]" + "\r\nWC[B]" + "\r\nWD[5]" + "\r\nRE[W+R]" +
           ";C[before the game\r\n]\r\n\r\n(RN[" + Cp949("0번 착수의 1번참고도") +
           "]PT[1];B[jj]C[before the game: a diagram\r\n])" +
           ";B[pd];W[dp]C[nice\r\ngood\r\n];B[pp]" + "\r\n\r\n(RN[" +
           Cp949("3번 착수의 1번참고도") + "]PT[3];B[pd];W[dp];B[qq];W[qp];K[ee];E[ff]C[var\r\n])" + ";W[dd]" +
           "\r\n\r\n(RN[" + Cp949("4번 착수의 1번참고도") + "]PT[5];B[pd];W[dp];B[pp];W[dd];B[cc])" + ")";
  }

  platform::TempDir dir;
  CGameRecordFile file;
  CNodeArray moves;
  CCommentMap comments;
  CRefDiagramMap diagrams;
  CGameInfo info;
  CNodeArray readMoves;
  CCommentMap readComments;
  CRefDiagramMap readDiagrams;
  CGameInfo readInfo;
};

TEST_F(GameRecordFileTest, WritesAGameByteForByte) {
  BuildGame();
  ASSERT_TRUE(file.Write(PathOf("game.sgf").c_str(), &moves, &comments, &diagrams, &info));
  EXPECT_EQ(ReadRaw("game.sgf"), ExpectedGameText());
}

TEST_F(GameRecordFileTest, WrittenGameReadsBackToEqualObjects) {
  BuildGame();
  info.m_blackSeconds = 33;  // seconds are not stored
  ASSERT_TRUE(file.Write(PathOf("game.sgf").c_str(), &moves, &comments, &diagrams, &info));
  ASSERT_TRUE(file.Read(PathOf("game.sgf").c_str(), &readMoves, &readComments, &readDiagrams, &readInfo));
  EXPECT_EQ(file.GetErrorCode(), 0);

  ASSERT_EQ(readMoves.GetSize(), moves.GetSize());
  for (INT_PTR i = 0; i < moves.GetSize(); ++i) EXPECT_EQ(*readMoves.GetNode(i), *moves.GetNode(i)) << i;

  // What came before the first move comes back under move 0.
  CString text;
  EXPECT_EQ(readComments.GetRawText(0, text), 1);
  EXPECT_STREQ(text, "before the game\r\n\r\n");
  ASSERT_EQ(readDiagrams.GetDiagramCount(0), 1);
  EXPECT_EQ(readDiagrams.GetDiagramBase(0, 0), 1);
  ASSERT_NE(readDiagrams.GetDiagramMoves(0, 0), nullptr);
  ASSERT_EQ(readDiagrams.GetDiagramMoves(0, 0)->GetSize(), 1);
  EXPECT_EQ(*readDiagrams.GetDiagramMoves(0, 0)->GetNode(0), CStoneNode(10, 10, CStoneNode::kBlack, 1, 0));
  readDiagrams.GetDiagramText(0, 0, text);
  EXPECT_STREQ(text, "before the game: a diagram\r\n\r\n");

  EXPECT_EQ(readComments.GetRawText(2, text), 1);
  EXPECT_STREQ(text, "nice\r\ngood\r\n\r\n");
  readComments.GetAt(text, 2, 0);
  EXPECT_STREQ(text, "nice\r\ngood\r\n");

  ASSERT_EQ(readDiagrams.GetDiagramCount(3), 1);
  EXPECT_EQ(readDiagrams.GetDiagramBase(3, 0), 3);
  const CNodeArray* stones = readDiagrams.GetDiagramMoves(3, 0);
  ASSERT_EQ(stones->GetSize(), 4);
  EXPECT_EQ(*stones->GetNode(0), CStoneNode(17, 17, CStoneNode::kBlack, 1, 0));
  EXPECT_EQ(*stones->GetNode(1), CStoneNode(17, 16, CStoneNode::kWhite, 2, 0));
  // Marks stay marks, in their place and with their numbers: never white stones.
  EXPECT_EQ(*stones->GetNode(2), CStoneNode(5, 5, CStoneNode::kMarkK, 3, 0));
  EXPECT_EQ(*stones->GetNode(3), CStoneNode(6, 6, CStoneNode::kMarkE, 4, 0));
  readDiagrams.GetDiagramText(3, 0, text);
  EXPECT_STREQ(text, "var\r\n\r\n");
  // The diagram of the last move keeps its stone.
  ASSERT_EQ(readDiagrams.GetDiagramCount(4), 1);
  EXPECT_EQ(readDiagrams.GetDiagramBase(4, 0), 5);
  ASSERT_EQ(readDiagrams.GetDiagramMoves(4, 0)->GetSize(), 1);
  EXPECT_EQ(*readDiagrams.GetDiagramMoves(4, 0)->GetNode(0), CStoneNode(3, 3, CStoneNode::kBlack, 1, 0));

  EXPECT_EQ(readInfo.m_title, info.m_title);
  EXPECT_EQ(readInfo.m_place, info.m_place);
  EXPECT_EQ(readInfo.m_blackName, info.m_blackName);
  EXPECT_EQ(readInfo.m_blackAffiliation, info.m_blackAffiliation);
  EXPECT_EQ(readInfo.m_whiteName, info.m_whiteName);
  EXPECT_EQ(readInfo.m_whiteAffiliation, info.m_whiteAffiliation);
  EXPECT_EQ(readInfo.m_result, info.m_result);
  EXPECT_EQ(readInfo.m_blackRank, 9);
  EXPECT_EQ(readInfo.m_whiteRank, 1);
  EXPECT_EQ(readInfo.m_year, 2001);
  EXPECT_EQ(readInfo.m_month, 3);
  EXPECT_EQ(readInfo.m_day, 5);
  EXPECT_EQ(readInfo.m_blackHours, 1);
  EXPECT_EQ(readInfo.m_blackMinutes, 2);
  EXPECT_EQ(readInfo.m_blackSeconds, 0);
  EXPECT_EQ(readInfo.m_whiteMinutes, 59);
  EXPECT_EQ(readInfo.m_blackBD, 4);
  EXPECT_EQ(readInfo.m_whiteWD, 5);
}

TEST_F(GameRecordFileTest, RanksRoundTripAndUnknownCodesReadAsNone) {
  for (int rank = 0; rank <= 9; ++rank) {
    info.m_blackRank = rank;
    info.m_whiteRank = 9 - rank;
    ASSERT_TRUE(file.Write(PathOf("r.sgf").c_str(), &moves, nullptr, nullptr, &info));
    // A game without moves has no ";": give the reader one.
    std::string bytes = ReadRaw("r.sgf");
    bytes.insert(bytes.size() - 1, ";");
    readInfo.Reset();
    ASSERT_TRUE(ReadText(bytes));
    EXPECT_EQ(readInfo.m_blackRank, rank);
    EXPECT_EQ(readInfo.m_whiteRank, 9 - rank);
  }
  info.m_blackRank = 12;
  info.m_whiteRank = 0;
  ASSERT_TRUE(file.Write(PathOf("r.sgf").c_str(), nullptr, nullptr, nullptr, &info));
  EXPECT_NE(ReadRaw("r.sgf").find("BR[11]"), std::string::npos);
  EXPECT_NE(ReadRaw("r.sgf").find("WR[0]"), std::string::npos);  // no rank: not 19, which is 1 dan
  ASSERT_TRUE(ReadText("(BR[19]WR[10];)"));
  EXPECT_EQ(readInfo.m_blackRank, 1);
  EXPECT_EQ(readInfo.m_whiteRank, 0);
}

TEST_F(GameRecordFileTest, TextsWithBracketsAndBackslashesSurviveARoundTrip) {
  AddMove(1, 1, 2);
  AddMove(2, 2, 1);
  comments.AddComment(1, "see [1] and ]]");
  comments.AddComment(2, "a\\b\\");
  info.m_title = "t]\\";
  ASSERT_TRUE(file.Write(PathOf("esc.sgf").c_str(), &moves, &comments, nullptr, &info));
  EXPECT_NE(ReadRaw("esc.sgf").find("C[see [1\\] and \\]\\]\r\n]"), std::string::npos);
  ASSERT_TRUE(file.Read(PathOf("esc.sgf").c_str(), &readMoves, &readComments, nullptr, &readInfo));
  EXPECT_EQ(readMoves.GetSize(), 2);
  CString text;
  readComments.GetAt(text, 1, 0);
  EXPECT_STREQ(text, "see [1] and ]]\r\n");
  readComments.GetAt(text, 2, 0);
  EXPECT_STREQ(text, "a\\b\\\r\n");
  EXPECT_STREQ(readInfo.m_title, "t]\\");
}

TEST_F(GameRecordFileTest, GameWithoutMovesHasNoSemicolonAndDoesNotRead) {
  ASSERT_TRUE(file.Write(PathOf("empty.sgf").c_str(), &moves, &comments, &diagrams, &info));
  const std::string bytes = ReadRaw("empty.sgf");
  EXPECT_EQ(bytes.front(), '(');
  EXPECT_EQ(bytes.back(), ')');
  EXPECT_FALSE(file.Read(PathOf("empty.sgf").c_str(), &readMoves, nullptr, nullptr, &readInfo));
  EXPECT_EQ(file.GetErrorCode(), CGameRecordFile::kBadHeader);
  ASSERT_TRUE(file.Write(PathOf("bare.sgf").c_str(), nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(ReadRaw("bare.sgf"), "()");
}

TEST_F(GameRecordFileTest, ReadsEmptyAndSimpleGames) {
  ASSERT_TRUE(ReadText("(;)"));
  EXPECT_EQ(readMoves.GetSize(), 0);
  ASSERT_TRUE(ReadText("  junk (;B[pd];W[dp])"));
  ASSERT_EQ(readMoves.GetSize(), 2);
  EXPECT_EQ(*readMoves.GetNode(0), CStoneNode(16, 4, CStoneNode::kBlack, 1, 0));
  EXPECT_EQ(*readMoves.GetNode(1), CStoneNode(4, 16, CStoneNode::kWhite, 2, 0));
  // Reading adds to what the objects hold; numbering starts again with each read.
  ASSERT_TRUE(ReadText("(;w[AS])"));
  ASSERT_EQ(readMoves.GetSize(), 3);
  EXPECT_EQ(*readMoves.GetNode(2), CStoneNode(1, 19, CStoneNode::kWhite, 1, 0));
}

TEST_F(GameRecordFileTest, LowerCaseNamesAndUpperCaseCoordinates) {
  ASSERT_TRUE(ReadText("(;b[PD]\r\n  W  [dp] xy9[ignored])"));
  ASSERT_EQ(readMoves.GetSize(), 2);
  EXPECT_EQ(*readMoves.GetNode(0), CStoneNode(16, 4, CStoneNode::kBlack, 1, 0));
}

TEST_F(GameRecordFileTest, SemicolonInAHeaderValueStaysInTheValue) {
  ASSERT_TRUE(ReadText("(PC[x]TE[a;1]PB[y];B[pd])"));
  EXPECT_STREQ(readInfo.m_place, "x");
  EXPECT_STREQ(readInfo.m_title, "a;1");
  EXPECT_STREQ(readInfo.m_blackName, "y");
  EXPECT_EQ(readMoves.GetSize(), 1);
  // A saved title holding ";" reads back.
  info.m_title = "Cup; final";
  AddMove(4, 4, 2);
  ASSERT_TRUE(file.Write(PathOf("semi.sgf").c_str(), &moves, nullptr, nullptr, &info));
  readMoves.DeleteAll();
  ASSERT_TRUE(file.Read(PathOf("semi.sgf").c_str(), &readMoves, nullptr, nullptr, &readInfo));
  EXPECT_STREQ(readInfo.m_title, "Cup; final");
  EXPECT_EQ(readMoves.GetSize(), 1);
  // A value left open hides every later ";".
  EXPECT_FALSE(ReadText("(TE[a;b;B[pd])"));
  EXPECT_EQ(file.GetErrorCode(), CGameRecordFile::kBadHeader);
}

TEST_F(GameRecordFileTest, HeaderValuesLoseLeadingBlanksOnly) {
  readInfo.m_place = "kept";
  ASSERT_TRUE(ReadText("(\r\n te \t[  x  ] PC[ \r\n ]\r\n;)"));
  EXPECT_STREQ(readInfo.m_title, "x  ");
  EXPECT_STREQ(readInfo.m_place, "kept");
}

TEST_F(GameRecordFileTest, MalformedDatesAndTimesLeaveFieldsUnchanged) {
  readInfo.m_year = 1999;
  readInfo.m_blackHours = 7;
  ASSERT_TRUE(ReadText("(RD[2001-5]BT[1:2:3]WT[3:4];)"));
  EXPECT_EQ(readInfo.m_year, 1999);
  EXPECT_EQ(readInfo.m_blackHours, 7);
  EXPECT_EQ(readInfo.m_whiteHours, 3);
  EXPECT_EQ(readInfo.m_whiteMinutes, 4);
  ASSERT_TRUE(ReadText("(RD[2001-99-99999999999];)"));
  EXPECT_EQ(readInfo.m_month, 99);
  EXPECT_EQ(readInfo.m_day, 2147483647);
}

TEST_F(GameRecordFileTest, EscapedBracketsInOldFilesLoseOnlyTheirEscape) {
  ASSERT_TRUE(ReadText("(;B[aa]C[a\\]b]C[c\\d]C[e\\\\]C[f\\\\\\]g])"));
  CString text;
  readComments.GetAt(text, 1, 0);
  EXPECT_STREQ(text, "a]b");
  readComments.GetAt(text, 1, 1);
  EXPECT_STREQ(text, "c\\d");
  readComments.GetAt(text, 1, 2);
  EXPECT_STREQ(text, "e\\");
  readComments.GetAt(text, 1, 3);
  EXPECT_STREQ(text, "f\\]g");
}

TEST_F(GameRecordFileTest, DiagramGroups) {
  // Without PT the base is the main-line count and numbering starts at 2.
  ASSERT_TRUE(ReadText("(;B[aa];W[bb](;B[cc];W[dd]C[x]))"));
  ASSERT_EQ(readDiagrams.GetDiagramCount(2), 1);
  EXPECT_EQ(readDiagrams.GetDiagramBase(2, 0), 2);
  const CNodeArray* stones = readDiagrams.GetDiagramMoves(2, 0);
  ASSERT_EQ(stones->GetSize(), 2);
  EXPECT_EQ(stones->GetNode(0)->GetSeq(), 2);
  EXPECT_EQ(stones->GetNode(1)->GetSeq(), 3);
  CString text;
  readDiagrams.GetDiagramText(2, 0, text);
  EXPECT_STREQ(text, "x\r\n");
  // Groups do not nest; an empty group files nothing.
  EXPECT_FALSE(ReadText("(;B[aa](;B[bb](;W[cc])))"));
  readDiagrams.RemoveAll();
  ASSERT_TRUE(ReadText("(;B[aa]()(  ))"));
  EXPECT_EQ(readDiagrams.GetDiagramCount(1), 0);
}

TEST_F(GameRecordFileTest, DiagramsOfEveryBaseReadBackWithAllTheirStones) {
  for (int i = 0; i < 4; ++i) AddMove(i + 1, i + 1, i % 2 ? CStoneNode::kWhite : CStoneNode::kBlack);
  // (move, base): before the game, at the start, inside the main line, right behind it, far
  // beyond it, and a diagram of move 1 branching after move 3.
  const int cases[][2] = {{2, 0}, {2, 1}, {3, 3}, {4, 5}, {4, 9}, {1, 4}, {2, -2}, {3, INT_MIN}, {3, INT_MAX}};
  for (const auto& c : cases) {
    // The first stone repeats main-line move 1: only a prefix may be skipped, never a stone.
    diagrams.AddDiagramMove(c[0], 1, 1, CStoneNode::kBlack, 1);
    diagrams.AddDiagramMove(c[0], 18, 17, CStoneNode::kWhite, 2);
    diagrams.CloseDiagram(c[0], c[1]);
  }
  ASSERT_TRUE(file.Write(PathOf("bases.sgf").c_str(), &moves, nullptr, &diagrams, nullptr));
  ASSERT_TRUE(file.Read(PathOf("bases.sgf").c_str(), &readMoves, nullptr, &readDiagrams, nullptr));
  EXPECT_EQ(readMoves.GetSize(), 4);
  for (int move = 1; move <= 4; ++move) {
    ASSERT_EQ(readDiagrams.GetDiagramCount(move), diagrams.GetDiagramCount(move)) << move;
    for (int j = 0; j < diagrams.GetDiagramCount(move); ++j) {
      const int base = diagrams.GetDiagramBase(move, j);
      EXPECT_EQ(readDiagrams.GetDiagramBase(move, j), base) << move;
      const CNodeArray* stones = readDiagrams.GetDiagramMoves(move, j);
      ASSERT_EQ(stones->GetSize(), 2) << "move " << move << " base " << base;
      EXPECT_EQ(*stones->GetNode(0), CStoneNode(1, 1, CStoneNode::kBlack, 1, 0)) << base;
      EXPECT_EQ(*stones->GetNode(1), CStoneNode(18, 17, CStoneNode::kWhite, 2, 0)) << base;
    }
  }
}

TEST_F(GameRecordFileTest, OlderDiagramGroupsSkipOnlyAPrefixThatRepeatsTheMainLine) {
  // A full prefix is skipped as always.
  ASSERT_TRUE(ReadText("(;B[aa];W[bb];B[cc](PT[3];B[aa];W[bb];W[dd]))"));
  ASSERT_EQ(readDiagrams.GetDiagramMoves(3, 0)->GetSize(), 1);
  EXPECT_EQ(*readDiagrams.GetDiagramMoves(3, 0)->GetNode(0), CStoneNode(4, 4, CStoneNode::kWhite, 1, 0));
  // Files written with no prefix for a diagram beyond the main line keep the diagram's stones.
  readDiagrams.RemoveAll();
  ASSERT_TRUE(ReadText("(;B[aa];W[bb](PT[5];B[ee];W[ff];B[gg]))"));
  const CNodeArray* stones = readDiagrams.GetDiagramMoves(2, 0);
  ASSERT_EQ(stones->GetSize(), 3);
  EXPECT_EQ(*stones->GetNode(0), CStoneNode(5, 5, CStoneNode::kBlack, 1, 0));
  EXPECT_EQ(readDiagrams.GetDiagramBase(2, 0), 5);
  // A prefix may repeat main-line moves still to come in the file.
  readDiagrams.RemoveAll();
  ASSERT_TRUE(ReadText("(;B[aa](PT[3];B[aa];W[bb];B[ee]);W[bb];B[cc])"));
  stones = readDiagrams.GetDiagramMoves(1, 0);
  ASSERT_EQ(stones->GetSize(), 1);
  EXPECT_EQ(*stones->GetNode(0), CStoneNode(5, 5, CStoneNode::kBlack, 1, 0));
}

TEST_F(GameRecordFileTest, AFileCutShortInsideADiagramFailsAndLeavesNothingOpen) {
  for (const char* text : {"(;B[aa](PT[1];B[bb]", "(;B[aa](PT[1];B[bb]C[half]", "(;B[aa](;W[bb](", "(;B[aa](PT[1];B[bb]C x"}) {
    readDiagrams.RemoveAll();
    EXPECT_FALSE(ReadText(text)) << text;
    EXPECT_EQ(file.GetErrorCode(), 0) << text;
    EXPECT_EQ(readDiagrams.GetOpenDiagram(), nullptr) << text;
    EXPECT_EQ(readDiagrams.GetDiagramCount(1), 0) << text;
  }
  // The next read files its diagrams normally.
  ASSERT_TRUE(ReadText("(;B[aa](PT[1];W[bb]))"));
  EXPECT_EQ(readDiagrams.GetDiagramCount(1), 1);
}

TEST_F(GameRecordFileTest, TakeBackInsideADiagramLeavesTheMainLineAlone) {
  ASSERT_TRUE(ReadText("(;B[aa];W[bb](PT[3];B[cc]U[002];W[dd]U[9]);B[ee])"));
  ASSERT_EQ(readMoves.GetSize(), 3);
  EXPECT_EQ(*readMoves.GetNode(1), CStoneNode(2, 2, CStoneNode::kWhite, 2, 0));
  EXPECT_EQ(*readMoves.GetNode(2), CStoneNode(5, 5, CStoneNode::kBlack, 3, 0));
  EXPECT_EQ(readDiagrams.GetDiagramMoves(2, 0)->GetSize(), 2);
}

TEST_F(GameRecordFileTest, TimeStampsAndTakeBacks) {
  ASSERT_TRUE(ReadText("(;B[aa]T[0000000123];W[bb]U[002]T[0000000456];W[cc]T[0000000789]"
                       "(;B[dd]T[5]);B[ee]C[x](;W[ff])T[6])"));
  ASSERT_EQ(readMoves.GetSize(), 3);
  EXPECT_EQ(*readMoves.GetNode(0), CStoneNode(1, 1, CStoneNode::kBlack, 1, 123));
  EXPECT_EQ(*readMoves.GetNode(1), CStoneNode(3, 3, CStoneNode::kWhite, 2, 789));
  EXPECT_EQ(*readMoves.GetNode(2), CStoneNode(5, 5, CStoneNode::kBlack, 3, 0));
  // A stamp before any move has nothing to stamp.
  readMoves.DeleteAll();
  ASSERT_TRUE(ReadText("(;T[9]B[aa])"));
  EXPECT_EQ(readMoves.GetNode(0)->GetTime(), 0);
}

TEST_F(GameRecordFileTest, BadTakeBacksAndMoveValuesFailTheRead) {
  EXPECT_FALSE(ReadText("(;U[000])"));
  EXPECT_FALSE(ReadText("(;U[0];B[aa])"));
  EXPECT_FALSE(ReadText("(;B[aa]U[5])"));
  EXPECT_EQ(readMoves.GetSize(), 1);  // what was read before the failure stays
  for (const char* text : {"(;B[a])", "(;B[])", "(;B[tt])", "(;W[a`])", "(;B[\xb0\xa1])", "(;B[zz])",
                           "(;B[at])", "(;W[ta])", "(;B[`a])"}) {
    EXPECT_FALSE(ReadText(text)) << text;
  }
  // Row and column 19 are the last on the board.
  readMoves.DeleteAll();
  ASSERT_TRUE(ReadText("(;B[as];W[sa];B[ss])"));
  ASSERT_EQ(readMoves.GetSize(), 3);
  EXPECT_EQ(*readMoves.GetNode(0), CStoneNode(1, 19, CStoneNode::kBlack, 1, 0));
  EXPECT_EQ(*readMoves.GetNode(1), CStoneNode(19, 1, CStoneNode::kWhite, 2, 0));
  EXPECT_FALSE(ReadText("(;B[aa"));
  EXPECT_FALSE(ReadText("(;B[aa]C x)"));
}

TEST_F(GameRecordFileTest, HighBytesNeverStartANameAndTextAfterTheEndIsIgnored) {
  ASSERT_TRUE(ReadText(std::string("(;\xb0\xa1 B[aa]\xc7\xd1;W[bb])B[cc] garbage [[[")));
  EXPECT_EQ(readMoves.GetSize(), 2);
}

TEST_F(GameRecordFileTest, HeaderFailures) {
  EXPECT_FALSE(ReadText("no parenthesis;"));
  EXPECT_EQ(file.GetErrorCode(), CGameRecordFile::kBadHeader);
  EXPECT_FALSE(ReadText(""));
  EXPECT_EQ(file.GetErrorCode(), CGameRecordFile::kBadHeader);
  ASSERT_TRUE(ReadText("(" + std::string(99, 'X') + "[v];)"));
  EXPECT_EQ(file.GetErrorCode(), 0);
  EXPECT_FALSE(ReadText("(" + std::string(100, 'X') + "[v];)"));
  EXPECT_EQ(file.GetErrorCode(), CGameRecordFile::kBadHeader);
}

TEST_F(GameRecordFileTest, FileErrors) {
  EXPECT_FALSE(file.Read(PathOf("missing.sgf").c_str(), &readMoves, nullptr, nullptr, nullptr));
  EXPECT_EQ(file.GetErrorCode(), CGameRecordFile::kOpenFailed);
  EXPECT_FALSE(file.Write(PathOf("no/such/folder.sgf").c_str(), &moves, nullptr, nullptr, nullptr));
  EXPECT_EQ(file.GetErrorCode(), CGameRecordFile::kOpenFailed);
}

TEST_F(GameRecordFileTest, AFullDeviceMakesWriteFail) {
  if (!std::ifstream("/dev/full")) GTEST_SKIP() << "no /dev/full";
  BuildGame();
  EXPECT_FALSE(file.Write("/dev/full", &moves, &comments, &diagrams, &info));
  EXPECT_EQ(file.GetErrorCode(), CGameRecordFile::kWriteFailed);
  EXPECT_FALSE(file.Write("/dev/full", nullptr, nullptr, nullptr, nullptr));
  // The object is ready for the next operation.
  ASSERT_TRUE(file.Write(PathOf("after.sgf").c_str(), &moves, &comments, &diagrams, &info));
  EXPECT_EQ(ReadRaw("after.sgf"), ExpectedGameText());
}

TEST_F(GameRecordFileTest, FilesOfTwoGibibytesAreRefused) {
  const std::string path = PathOf("huge.sgf");
  {
    CFile huge;
    ASSERT_TRUE(huge.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    huge.SetLength(std::uint64_t{1} << 31);  // sparse: nothing is written
    huge.Close();
  }
  EXPECT_FALSE(file.Read(path.c_str(), &readMoves, nullptr, nullptr, nullptr));
  EXPECT_EQ(file.GetErrorCode(), CGameRecordFile::kNoMemory);
}

TEST_F(GameRecordFileTest, WriteHeaderIsEmptyOutsideAnOperation) {
  CString header("stale");
  EXPECT_TRUE(file.WriteHeader(header));
  EXPECT_TRUE(header.IsEmpty());
}

}  // namespace
