#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/files/FileTestSupport.h"

namespace {

using filetest::Contents;
using filetest::Put;

TEST(FileFunctions, CreateAndRemoveDirectories) {
  auto dir = platform::MakeTempDir();
  std::string gibo = dir.Path() + "\\gibo";
  EXPECT_TRUE(CreateDirectory(gibo.c_str()));
  EXPECT_FALSE(CreateDirectory(gibo.c_str()));  // exists
  EXPECT_EQ(GetFileAttributes(gibo.c_str()) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
  Put(dir / "gibo/x", "1");
  EXPECT_FALSE(RemoveDirectory(gibo.c_str()));  // not empty
  EXPECT_FALSE(DeleteFile(gibo.c_str()));       // a folder is no file
  EXPECT_TRUE(DeleteFile((gibo + "\\x").c_str()));
  EXPECT_TRUE(RemoveDirectory(gibo.c_str()));
  EXPECT_EQ(GetFileAttributes(gibo.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributes(""), INVALID_FILE_ATTRIBUTES);
}

TEST(FileFunctions, CopyAndMoveFollowWin32Rules) {
  auto dir = platform::MakeTempDir();
  Put(dir / "a", "alpha");
  Put(dir / "b", "beta");
  EXPECT_FALSE(CopyFile((dir / "a").c_str(), (dir / "b").c_str(), TRUE));
  EXPECT_EQ(Contents(dir / "b"), "beta");
  EXPECT_TRUE(CopyFile((dir / "a").c_str(), (dir / "b").c_str(), FALSE));
  EXPECT_EQ(Contents(dir / "b"), "alpha");
  EXPECT_FALSE(CopyFile((dir / "none").c_str(), (dir / "c").c_str(), FALSE));
  EXPECT_FALSE(MoveFile((dir / "a").c_str(), (dir / "b").c_str()));  // never replaces
  EXPECT_TRUE(MoveFile((dir / "a").c_str(), (dir / "c").c_str()));
  EXPECT_EQ(Contents(dir / "c"), "alpha");
  EXPECT_EQ(_access((dir / "a").c_str(), 0), -1);
  EXPECT_EQ(_access((dir / "c").c_str(), 6), 0);
}

TEST(FileFunctions, BufferProtocolOfTheDirectoryQueries) {
  char small[2];
  DWORD needed = GetCurrentDirectory(sizeof small, small);
  char cwd[4096];
  DWORD length = GetCurrentDirectory(sizeof cwd, cwd);
  EXPECT_EQ(needed, length + 1);
  EXPECT_EQ(std::strlen(cwd), length);
  char temp[MAX_PATH];
  DWORD tempLength = GetTempPath(sizeof temp, temp);
  ASSERT_GT(tempLength, 0u);
  ASSERT_LT(tempLength, static_cast<DWORD>(MAX_PATH));
  EXPECT_EQ(temp[tempLength - 1], '/');
  char module[MAX_PATH];
  DWORD moduleLength = GetModuleFileName(nullptr, module, sizeof module);
  EXPECT_GT(moduleLength, 0u);
  EXPECT_EQ(GetFileAttributes(module) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  char cut[4];
  EXPECT_EQ(GetModuleFileName(nullptr, cut, sizeof cut), 4u);
  EXPECT_EQ(std::strlen(cut), 3u);
}

TEST(FileFunctions, TempFileNamesAreNewFiles) {
  auto dir = platform::MakeTempDir();
  char first[MAX_PATH];
  char second[MAX_PATH];
  UINT a = GetTempFileName(dir.Path().c_str(), "relay", 0, first);
  UINT b = GetTempFileName(dir.Path().c_str(), "relay", 0, second);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_STRNE(first, second);
  EXPECT_NE(std::string(first).find("/rel"), std::string::npos);
  EXPECT_NE(GetFileAttributes(first), INVALID_FILE_ATTRIBUTES);
  char named[MAX_PATH];
  EXPECT_EQ(GetTempFileName(dir.Path().c_str(), "x", 0x1A, named), 0x1Au);
  EXPECT_EQ(std::string(named), dir / "x1A.tmp");
  EXPECT_EQ(GetFileAttributes(named), INVALID_FILE_ATTRIBUTES);  // only the name
  EXPECT_EQ(GetTempFileName((dir / "missing").c_str(), "x", 0, named), 0u);
}

// A temporary folder with a Korean name (UTF-8 on disk) comes to the program in its own text, and
// the names made in it go back to that folder.
TEST(FileFunctions, ATemporaryFolderWithAKoreanName) {
  auto dir = platform::MakeTempDir();
  const std::string folder = dir / "임시 폴더";  // the file system's UTF-8
  ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
  const char* before = std::getenv("TMPDIR");
  const std::string saved = before ? before : "";
  ::setenv("TMPDIR", folder.c_str(), 1);
  char temp[MAX_PATH];
  const DWORD length = GetTempPath(sizeof temp, temp);
  char name[MAX_PATH] = "";
  const UINT made = GetTempFileName(temp, "rel", 0, name);
  std::string madeDir;
  {
    platform::TempDir inside;
    madeDir = inside.Path();
  }
  before ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");
  EXPECT_EQ(CString(temp), platform::ProgramPath(folder) + "/");
  EXPECT_EQ(length, static_cast<DWORD>(std::strlen(temp)));
  ASSERT_NE(made, 0u);
  EXPECT_EQ(CString(name).Find(temp), 0);
  EXPECT_NE(GetFileAttributes(name), INVALID_FILE_ATTRIBUTES);
  struct stat info {};
  EXPECT_EQ(::stat(platform::NativePath(name).c_str(), &info), 0);
  EXPECT_EQ(madeDir.rfind(folder + "/", 0), 0u) << madeDir;
}

TEST(FileFunctions, HandleBasedFileFunctions) {
  auto dir = platform::MakeTempDir();
  Put(dir / "pic.bmp", "BM0123456789");
  OFSTRUCT info;
  HFILE file = OpenFile((dir.Path() + "\\pic.bmp").c_str(), &info, OF_READ);
  ASSERT_NE(file, HFILE_ERROR);
  char header[3] = {};
  EXPECT_EQ(_lread(file, header, 2), 2u);
  EXPECT_STREQ(header, "BM");
  EXPECT_EQ(_llseek(file, -2, 2), 10);
  EXPECT_EQ(_lread(file, header, 5), 2u);
  EXPECT_EQ(_llseek(file, -1, 0), HFILE_ERROR);
  EXPECT_EQ(_lclose(file), 0);
  EXPECT_EQ(OpenFile((dir / "none").c_str(), &info, OF_READ), HFILE_ERROR);
  EXPECT_EQ(info.nErrCode, ENOENT);
}

TEST(TempDir, RemovesEverythingOnDestruction) {
  std::string path;
  {
    auto dir = platform::MakeTempDir();
    path = dir.Path();
    CreateDirectory((dir / "a").c_str());
    CreateDirectory((dir / "a/b").c_str());
    Put(dir / "a/b/c.txt", "x");
    EXPECT_NE(GetFileAttributes(path.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  EXPECT_EQ(GetFileAttributes(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(platform::RemoveTree(path));  // nothing there: nothing to fail
}

}  // namespace
