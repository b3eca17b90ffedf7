#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/files.h"
#include "platform/files/FileTestSupport.h"

namespace {

using filetest::Put;

std::vector<std::string> Found(const std::string& pattern) {
  CFileFind finder;
  std::vector<std::string> names;
  BOOL more = finder.FindFile(pattern.c_str());
  while (more) {
    more = finder.FindNextFile();
    if (!finder.IsDots()) names.push_back(finder.GetFileName().str());
  }
  return names;
}

class CFileFindTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char* name : {"a.sgf", "B.SGF", "game1.sgf", "game22.sgf", "notes.txt", "README", "x.sgf.bak"})
      Put(m_dir / name, "12345");
    CreateDirectory((m_dir / "sub").c_str());
  }
  platform::TempDir m_dir;
};

TEST_F(CFileFindTest, StarAndQuestionMarkPatterns) {
  EXPECT_EQ(Found(m_dir / "*.sgf"), (std::vector<std::string>{"B.SGF", "a.sgf", "game1.sgf", "game22.sgf"}));
  EXPECT_EQ(Found(m_dir / "game?.sgf"), (std::vector<std::string>{"game1.sgf"}));
  EXPECT_EQ(Found(m_dir / "g*2*.s?f"), (std::vector<std::string>{"game22.sgf"}));
  EXPECT_EQ(Found(m_dir / "*.zip"), std::vector<std::string>{});
  EXPECT_EQ(Found(m_dir / "README"), (std::vector<std::string>{"README"}));
}

TEST_F(CFileFindTest, StarDotStarMatchesNamesWithoutADot) {
  auto all = Found(m_dir / "*.*");
  EXPECT_EQ(all.size(), 8u);
  EXPECT_NE(std::find(all.begin(), all.end(), "README"), all.end());
  EXPECT_NE(std::find(all.begin(), all.end(), "sub"), all.end());
}

TEST_F(CFileFindTest, BackslashPatternAndEntryDetails) {
  CFileFind finder;
  ASSERT_TRUE(finder.FindFile((m_dir.Path() + "\\game1.*").c_str()));
  EXPECT_FALSE(finder.FindNextFile());  // the only entry is also the last
  EXPECT_EQ(finder.GetFileName(), "game1.sgf");
  EXPECT_EQ(finder.GetFileTitle(), "game1");
  EXPECT_EQ(finder.GetFilePath(), (m_dir / "game1.sgf").c_str());
  EXPECT_EQ(finder.GetLength(), 5u);
  EXPECT_FALSE(finder.IsDirectory());
  EXPECT_FALSE(finder.FindNextFile());  // past the end stays on the last entry
  EXPECT_EQ(finder.GetFileName(), "game1.sgf");
}

TEST_F(CFileFindTest, DirectoriesAndDots) {
  CFileFind finder;
  BOOL more = finder.FindFile((m_dir / "*").c_str());
  int dots = 0;
  bool sawSub = false;
  while (more) {
    more = finder.FindNextFile();
    if (finder.IsDots()) ++dots;
    if (finder.GetFileName() == "sub") sawSub = finder.IsDirectory();
  }
  EXPECT_EQ(dots, 2);
  EXPECT_TRUE(sawSub);
}

TEST_F(CFileFindTest, NothingBeforeTheFirstStepOrWithoutAFolder) {
  CFileFind finder;
  EXPECT_FALSE(finder.FindFile((m_dir / "missing/*.*").c_str()));
  EXPECT_TRUE(finder.FindFile((m_dir / "*.txt").c_str()));
  EXPECT_EQ(finder.GetFileName(), "");  // FindNextFile not called yet
  finder.Close();
  EXPECT_FALSE(finder.FindNextFile());
  EXPECT_EQ(finder.GetLength(), 0u);
}

TEST_F(CFileFindTest, PatternWithoutAFolderSearchesTheCurrentOne) {
  char previous[MAX_PATH];
  ASSERT_LT(GetCurrentDirectory(sizeof previous, previous), static_cast<DWORD>(MAX_PATH));
  ASSERT_TRUE(SetCurrentDirectory(m_dir.Path().c_str()));
  EXPECT_EQ(Found("*.txt"), (std::vector<std::string>{"notes.txt"}));
  CFileFind finder;
  ASSERT_TRUE(finder.FindFile("notes.txt"));
  finder.FindNextFile();
  EXPECT_EQ(finder.GetFilePath(), "notes.txt");
  EXPECT_TRUE(SetCurrentDirectory(previous));
}

TEST(CFileFindMatching, LongNamesWithManyStarsStayFast) {
  auto dir = platform::MakeTempDir();
  std::string name(200, 'a');
  Put(dir / name, "");
  EXPECT_TRUE(Found(dir / "*a*a*a*a*a*a*a*a*a*a*a*a*b").empty());
}

}  // namespace
