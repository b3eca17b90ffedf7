// A whole-file save: the old file stays whole through a full disk, a kill in the middle, a file
// that may not be written, and the next save then goes through.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/SaveFaults.h"

namespace {

using testsupport::FileBytes;
using testsupport::FolderNames;

const std::string kOld = "(;GM[1]C[the game kept from yesterday])";

std::string NewBytes(std::size_t size) {
  std::string bytes;
  while (bytes.size() < size) bytes += ";B[pd]C[" + std::to_string(bytes.size()) + "]";
  return bytes;
}

TEST(ReplaceFileTest, TheNewBytesReplaceTheFileWholeKeepingItsModeAndLinks) {
  auto dir = platform::MakeTempDir();
  const std::string path = dir / "game.sgf";
  testsupport::PutFileBytes(path, kOld);
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(platform::ReplaceFileContents(path.c_str(), "(;)"));
  EXPECT_EQ(FileBytes(path), "(;)");  // no tail of the longer old file
  struct stat info{};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"game.sgf"});
  // A link stays a link; its target receives the bytes. Windows separators name the same file.
  ASSERT_EQ(::symlink("game.sgf", (dir / "link.sgf").c_str()), 0);
  ASSERT_TRUE(platform::ReplaceFileContents((dir.Path() + "\\link.sgf").c_str(), kOld));
  EXPECT_EQ(FileBytes(path), kOld);
  ASSERT_EQ(::lstat((dir / "link.sgf").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  // A new file is made, readable as the user's mask allows as any file he makes, and a name as
  // long as a folder holds is saved too; what cannot be written is refused and left as it was.
  const mode_t mask = ::umask(022);
  ASSERT_TRUE(platform::ReplaceFileContents((dir / "new.sgf").c_str(), ""));
  ::umask(mask);
  EXPECT_EQ(FileBytes(dir / "new.sgf"), "");
  ASSERT_EQ(::stat((dir / "new.sgf").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  const std::string longName = dir / (std::string(250, 'k') + ".sgf");
  ASSERT_TRUE(platform::ReplaceFileContents(longName.c_str(), kOld));
  EXPECT_EQ(FileBytes(longName), kOld);
  ::unlink(longName.c_str());
  EXPECT_FALSE(platform::ReplaceFileContents((dir / "missing/x.sgf").c_str(), kOld));
  EXPECT_FALSE(platform::ReplaceFileContents(dir.Path().c_str(), kOld));
  EXPECT_EQ(errno, EISDIR);
  if (::geteuid() != 0) {  // root writes anything
    ::chmod(path.c_str(), 0440);
    EXPECT_FALSE(platform::ReplaceFileContents(path.c_str(), "(;)"));
    EXPECT_EQ(FileBytes(path), kOld);
  }
  EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"game.sgf", "link.sgf", "new.sgf"}));
}

TEST(ReplaceFileTest, AFullDiskOrAKillInTheMiddleLeavesTheOldFileAndTheNextSaveGoesThrough) {
  testsupport::SmallDisk disk;
  const std::string path = disk / "game.sgf";
  testsupport::PutFileBytes(path, kOld);
  const std::string bytes = NewBytes(20000);
  errno = 0;
  EXPECT_FALSE(disk.WhileFull([&] { return platform::ReplaceFileContents(path.c_str(), bytes) != FALSE; }));
  EXPECT_TRUE(errno == ENOSPC || errno == EFBIG) << errno;
  EXPECT_EQ(FileBytes(path), kOld);
  EXPECT_EQ(FolderNames(disk.Path()), std::vector<std::string>{"game.sgf"});

  EXPECT_TRUE(testsupport::KilledWhileSaving(
      [&] { return platform::ReplaceFileContents(path.c_str(), bytes) != FALSE; }, 8192));
  EXPECT_EQ(FileBytes(path), kOld);

  // Space again: the same save now replaces the file.
  ASSERT_TRUE(platform::ReplaceFileContents(path.c_str(), bytes));
  EXPECT_EQ(FileBytes(path), bytes);
}

}  // namespace
