#include "client/widgets/TextUtilities.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files.h"
#include "platform/time.h"

namespace {

TEST(ParseHhmmssTest, SixCharactersInPairs) {
  int h = -1, m = -1, s = -1;
  ASSERT_EQ(ParseHhmmss("013059", &h, &m, &s), 1);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(m, 30);
  EXPECT_EQ(s, 59);
  ASSERT_EQ(ParseHhmmss("99xx7a", &h, &m, &s), 1);  // no range check; not a number reads 0
  EXPECT_EQ(h, 99);
  EXPECT_EQ(m, 0);
  EXPECT_EQ(s, 7);
  h = m = s = -1;
  EXPECT_EQ(ParseHhmmss("0130590", &h, &m, &s), 0);
  EXPECT_EQ(ParseHhmmss("01305", &h, &m, &s), 0);
  EXPECT_EQ(ParseHhmmss(nullptr, &h, &m, &s), 0);
  EXPECT_EQ(h, -1);
}

TEST(StrCaseTest, ConvertsOnlyTheGivenLength) {
  char text[] = "AbC|dE";
  StrLower(text, 3);
  EXPECT_STREQ(text, "abc|dE");
  StrUpper(text, -1);
  EXPECT_STREQ(text, "ABC|DE");
  char korean[] = "\xB0\xA1z";
  StrUpper(korean, -1);
  EXPECT_STREQ(korean, "\xB0\xA1Z");  // bytes above 127 are left alone
}

TEST(UiTextTest, LoadUiTextCopies) {
  CString out = "old";
  EXPECT_EQ(LoadUiText("Configuration", out), 1);
  EXPECT_EQ(out, "Configuration");
}

TEST(NowSecondsTest, ReadsThePlatformClock) {
  platform::ManualClockScope clock(1234567890123LL);
  EXPECT_EQ(GetNowSeconds(), 1234567890123LL);
}

class ReadTextLineTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_path = (std::filesystem::temp_directory_path() / ("readtextline" + std::to_string(::getpid()))).string();
  }
  void TearDown() override { std::remove(m_path.c_str()); }
  void Open(const std::string& bytes) {
    std::ofstream(m_path, std::ios::binary) << bytes;
    ASSERT_TRUE(m_file.Open(m_path.c_str(), CFile::modeRead));
  }

  std::string m_path;
  CFile m_file;
};

TEST_F(ReadTextLineTest, LinesEndAtLfAndCrCutsTheText) {
  Open("ab\r\ncd\nx\ry\nlast");
  char buffer[16];
  ASSERT_EQ(ReadTextLine(m_file, buffer, 16), 1);
  EXPECT_STREQ(buffer, "ab");
  ASSERT_EQ(ReadTextLine(m_file, buffer, 16), 1);
  EXPECT_STREQ(buffer, "cd");
  ASSERT_EQ(ReadTextLine(m_file, buffer, 16), 1);
  EXPECT_STREQ(buffer, "x");
  EXPECT_EQ(ReadTextLine(m_file, buffer, 16), 0);  // no LF at the end
}

TEST_F(ReadTextLineTest, LineFillingTheBufferWithoutLfFailsWithoutOverrun) {
  Open("12345678\n");
  char buffer[9] = {};
  buffer[8] = '#';
  EXPECT_EQ(ReadTextLine(m_file, buffer, 8), 0);
  EXPECT_EQ(buffer[8], '#');
}

}  // namespace
