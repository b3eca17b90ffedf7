#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>

#include "platform/files.h"
#include "platform/files/FileTestSupport.h"

namespace {

using filetest::Contents;
using filetest::Put;
using filetest::ThrownCause;

TEST(CFileOpen, MissingFileFillsTheException) {
  auto dir = platform::MakeTempDir();
  CFile file;
  CFileException error;
  EXPECT_FALSE(file.Open((dir / "absent.txt").c_str(), CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_lOsError, ENOENT);
  EXPECT_EQ(error.m_strFileName, (dir / "absent.txt").c_str());
  EXPECT_FALSE(file.IsOpen());
  char message[200];
  EXPECT_TRUE(error.GetErrorMessage(message, sizeof message));
  EXPECT_NE(std::string(message).find("absent.txt"), std::string::npos);
}

TEST(CFileOpen, MissingFolderAndFolderAsFileAreRefused) {
  auto dir = platform::MakeTempDir();
  CFileException error;
  CFile file;
  EXPECT_FALSE(file.Open((dir / "none/x.txt").c_str(), CFile::modeCreate | CFile::modeWrite, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_FALSE(file.Open(dir.Path().c_str(), CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::accessDenied);
  EXPECT_FALSE(file.Open("", CFile::modeRead, &error));
  EXPECT_FALSE(file.Open(nullptr, CFile::modeRead));
}

TEST(CFileOpen, ConstructorThrowsAHeapException) {
  auto dir = platform::MakeTempDir();
  EXPECT_EQ(ThrownCause([&] { CFile file((dir / "absent").c_str(), CFile::modeRead); }), CFileException::fileNotFound);
}

TEST(CFileOpen, CreateTruncatesUnlessNoTruncate) {
  auto dir = platform::MakeTempDir();
  std::string path = dir / "data.bin";
  Put(path, "old contents");
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
    file.Write("NEW", 3);
  }
  EXPECT_EQ(Contents(path), "NEW contents");
  {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.Write("x", 1);
  }
  EXPECT_EQ(Contents(path), "x");
}

TEST(CFileIo, ReadWriteSeekLengthAndPosition) {
  auto dir = platform::MakeTempDir();
  std::string path = dir / "io.bin";
  CFile file(path.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
  file.Write("0123456789", 10);
  EXPECT_EQ(file.GetLength(), 10u);
  EXPECT_EQ(file.GetPosition(), 10u);
  EXPECT_EQ(file.Seek(-3, CFile::end), 7u);
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, 8), 3u);
  EXPECT_STREQ(buffer, "789");
  EXPECT_EQ(file.Read(buffer, 8), 0u);
  file.SeekToBegin();
  EXPECT_EQ(file.Seek(2, CFile::current), 2u);
  file.SetLength(4);
  EXPECT_EQ(file.SeekToEnd(), 4u);
  file.Close();
  EXPECT_EQ(Contents(path), "0123");
}

TEST(CFileIo, SeekBeforeTheStartThrowsBadSeek) {
  auto dir = platform::MakeTempDir();
  CFile file((dir / "s").c_str(), CFile::modeCreate | CFile::modeReadWrite);
  EXPECT_EQ(ThrownCause([&] { file.Seek(-1, CFile::begin); }), CFileException::badSeek);
}

TEST(CFileIo, WritingAReadOnlyFileThrowsAndClosedFileIsInvalid) {
  auto dir = platform::MakeTempDir();
  std::string path = dir / "r.txt";
  Put(path, "abc");
  CFile file(path.c_str(), CFile::modeRead);
  EXPECT_EQ(ThrownCause([&] { file.Write("x", 1); }), CFileException::invalidFile);  // EBADF
  file.Close();
  char c;
  EXPECT_EQ(ThrownCause([&] { file.Read(&c, 1); }), CFileException::invalidFile);
  file.Close();  // closing twice is harmless
  file.Abort();
}

TEST(CFilePaths, BackslashPathsAreMapped) {
  auto dir = platform::MakeTempDir();
  ASSERT_TRUE(CreateDirectory((dir.Path() + "\\gibo").c_str()));
  std::string windowsPath = dir.Path() + "\\gibo\\a_b.sgf";
  {
    CFile file(windowsPath.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.Write("(;)", 3);
    EXPECT_EQ(file.GetFilePath(), (dir / "gibo/a_b.sgf").c_str());
    EXPECT_EQ(file.GetFileName(), "a_b.sgf");
    EXPECT_EQ(file.GetFileTitle(), "a_b");
  }
  EXPECT_EQ(Contents(dir / "gibo/a_b.sgf"), "(;)");
  EXPECT_EQ(platform::NativePath(".\\gibo\\x.sgf"), "./gibo/x.sgf");
}

TEST(CFilePaths, KoreanNamesKeepTheirBytes) {
  auto dir = platform::MakeTempDir();
  std::string name = std::string(Cp949("흑")) + "_" + Cp949("백");
  std::string path = dir.Path() + "\\" + name;
  { CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite); }
  CFileStatus status;
  ASSERT_TRUE(CFile::GetStatus((dir / name).c_str(), status));
  EXPECT_EQ(status.m_size, 0);
}

TEST(CFileStatics, StatusRemoveAndRename) {
  auto dir = platform::MakeTempDir();
  std::string a = dir / "a.txt";
  Put(a, "12345");
  CFileStatus status;
  ASSERT_TRUE(CFile::GetStatus(a.c_str(), status));
  EXPECT_EQ(status.m_size, 5);
  EXPECT_EQ(status.m_attribute & CFile::directory, 0);
  EXPECT_GT(status.m_mtime.GetTime(), 0);
  ASSERT_TRUE(CFile::GetStatus(dir.Path().c_str(), status));
  EXPECT_NE(status.m_attribute & CFile::directory, 0);
  CFile::Rename(a.c_str(), (dir / "b.txt").c_str());
  EXPECT_FALSE(CFile::GetStatus(a.c_str(), status));
  CFile::Remove((dir / "b.txt").c_str());
  EXPECT_FALSE(CFile::GetStatus((dir / "b.txt").c_str(), status));
  EXPECT_EQ(ThrownCause([&] { CFile::Remove((dir / "b.txt").c_str()); }), CFileException::fileNotFound);
}

TEST(CFileException, CausesFromErrno) {
  EXPECT_EQ(CFileException::ErrnoToCause(ENOENT), CFileException::fileNotFound);
  EXPECT_EQ(CFileException::ErrnoToCause(EACCES), CFileException::accessDenied);
  EXPECT_EQ(CFileException::ErrnoToCause(ENOSPC), CFileException::diskFull);
  EXPECT_EQ(CFileException::ErrnoToCause(EMFILE), CFileException::tooManyOpenFiles);
  EXPECT_EQ(CFileException::ErrnoToCause(ENOTDIR), CFileException::badPath);
  EXPECT_EQ(CFileException::ErrnoToCause(EXDEV), CFileException::genericException);
  CFileException e(CFileException::diskFull, ENOSPC, "C:\\x");
  EXPECT_EQ(e.m_strFileName, "C:/x");
  char tiny[4];
  EXPECT_TRUE(e.GetErrorMessage(tiny, sizeof tiny));
  EXPECT_EQ(std::string(tiny).size(), 3u);  // cut, still terminated
  EXPECT_FALSE(e.GetErrorMessage(tiny, 0));
}

}  // namespace
