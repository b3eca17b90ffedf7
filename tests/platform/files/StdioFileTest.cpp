#include <gtest/gtest.h>

#include <vector>

#include "platform/files.h"
#include "platform/files/FileTestSupport.h"

namespace {

using filetest::Contents;
using filetest::Put;
using filetest::ThrownCause;

std::vector<std::string> Lines(const std::string& path, UINT flags) {
  CStdioFile file(path.c_str(), CFile::modeRead | flags);
  std::vector<std::string> lines;
  CString line;
  while (file.ReadString(line)) lines.push_back(line.str());
  return lines;
}

TEST(CStdioFileLines, TextModeStripsLineFeedAndTheCarriageReturnBeforeIt) {
  auto dir = platform::MakeTempDir();
  std::string path = dir / "t.txt";
  Put(path, "one\r\ntwo\n\r\nthree\rx\r\n\nlast\r");
  EXPECT_EQ(Lines(path, CFile::typeText), (std::vector<std::string>{"one", "two", "", "three\rx", "", "last\r"}));
}

TEST(CStdioFileLines, BinaryModeKeepsTheCarriageReturn) {
  auto dir = platform::MakeTempDir();
  std::string path = dir / "b.txt";
  Put(path, "one\r\ntwo");
  EXPECT_EQ(Lines(path, CFile::typeBinary), (std::vector<std::string>{"one\r", "two"}));
}

TEST(CStdioFileLines, EmptyFileAndFinalLineWithoutBreak) {
  auto dir = platform::MakeTempDir();
  std::string path = dir / "e.txt";
  Put(path, "");
  EXPECT_TRUE(Lines(path, 0).empty());
  Put(path, "\n");
  EXPECT_EQ(Lines(path, 0), (std::vector<std::string>{""}));
}

TEST(CStdioFileLines, LinesKeepEmbeddedZeroAndKoreanBytes) {
  auto dir = platform::MakeTempDir();
  std::string path = dir / "k.txt";
  std::string korean = Cp949("생중계");
  Put(path, korean + std::string("a\0b", 3) + "\r\n");
  auto lines = Lines(path, CFile::typeText);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], korean + std::string("a\0b", 3));
}

TEST(CStdioFileBuffer, ReadStringIntoABufferKeepsTheBreakAndRespectsTheSize) {
  auto dir = platform::MakeTempDir();
  std::string path = dir / "buf.txt";
  Put(path, "abcdef\r\ngh");
  CStdioFile file(path.c_str(), CFile::modeRead | CFile::typeText);
  char buffer[5];
  ASSERT_NE(file.ReadString(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "abcd");
  ASSERT_NE(file.ReadString(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "ef\n");
  ASSERT_NE(file.ReadString(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "gh");
  EXPECT_EQ(file.ReadString(buffer, sizeof buffer), nullptr);
  EXPECT_EQ(file.ReadString(buffer, 1), nullptr);
  EXPECT_EQ(file.ReadString(static_cast<char*>(nullptr), 5), nullptr);
}

TEST(CStdioFileWrite, TextModeWritesBytesAsTheyStand) {
  auto dir = platform::MakeTempDir();
  std::string path = dir / "w.sgf";
  {
    CStdioFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    file.WriteString("(;GM[1]\r\n");
    file.WriteString("a\nb");
    file.WriteString(nullptr);
    EXPECT_EQ(file.GetLength(), 12u);  // counts what is still buffered
  }
  EXPECT_EQ(Contents(path), "(;GM[1]\r\na\nb");
}

TEST(CStdioFileWrite, NoTruncateAppendsAfterSeekToEnd) {
  auto dir = platform::MakeTempDir();
  std::string path = dir / "log.txt";
  Put(path, "a\r\n");
  {
    CStdioFile file(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    file.SeekToEnd();
    file.WriteString("b\r\n");
    file.SeekToBegin();
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "a");
  }
  EXPECT_EQ(Contents(path), "a\r\nb\r\n");
}

TEST(CStdioFileOpen, FailureFillsTheExceptionAndWrappedStreamStaysOpen) {
  auto dir = platform::MakeTempDir();
  CStdioFile file;
  CFileException error;
  EXPECT_FALSE(file.Open((dir / "none.txt").c_str(), CFile::modeRead | CFile::typeText, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);

  FILE* stream = std::fopen((dir / "own.txt").c_str(), "w+");
  ASSERT_NE(stream, nullptr);
  {
    CStdioFile wrapper(stream);
    wrapper.WriteString("kept");
  }
  EXPECT_EQ(std::fputs("!", stream), 1);  // the caller's stream outlives the wrapper
  std::fclose(stream);
  EXPECT_EQ(Contents(dir / "own.txt"), "kept!");
}

TEST(CStdioFileIo, ReadingAfterCloseThrows) {
  auto dir = platform::MakeTempDir();
  std::string path = dir / "c.txt";
  Put(path, "x");
  CStdioFile file(path.c_str(), CFile::modeRead);
  file.Close();
  CString line;
  EXPECT_EQ(ThrownCause([&] { file.ReadString(line); }), CFileException::invalidFile);
}

}  // namespace
