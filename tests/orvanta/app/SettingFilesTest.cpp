#include "orvanta/app/SettingFiles.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include <platform/files.h>

namespace {

// The bytes of data memory the process holds now (its VmData).
long DataBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmData:", 0) == 0) return std::stol(line.substr(7)) * 1024;
  return 0;
}

class SettingFilesTest : public ::testing::Test {
protected:
  void Put(const std::string& name, const std::string& bytes) {
    std::ofstream(folder / name, std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name) {
    std::ifstream in(folder / name, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }

  platform::TempDir folder;
  CSettingFiles files{CString(folder.Path())};
};

TEST_F(SettingFilesTest, ReadsFieldsOnlyFromAFileOfExactlyFiveFields) {
  EXPECT_EQ(files.ReadSetting(0), "");
  Put("setting.ini", "/|1024|768|/|1|2|/|3|/|4|/|5|/");
  EXPECT_EQ(files.ReadSetting(0), "|1024|768|");
  EXPECT_EQ(files.ReadSetting(4), "|5|");
  EXPECT_EQ(files.ReadSetting(5), "");
  EXPECT_EQ(files.ReadSetting(-1), "");
  Put("setting.ini", "/fullsize/|1|/|2|/|3|/");
  for (int field = 0; field < 5; ++field)
    EXPECT_EQ(files.ReadSetting(field), "") << field;
}

TEST_F(SettingFilesTest, WritingToAMissingFileUsesTheDefaults) {
  ASSERT_TRUE(files.WriteSetting(3, "|9|9|", "|800|600|"));
  EXPECT_EQ(Get("setting.ini"), "/|800|600|/|20|60|70|59|110|110|56|56|90|80|85|77|88|/"
                                "|50|80|90|80|80|90|80|80|70|180|/|9|9|/|55|65|180|180|70|60|300|/");
  EXPECT_EQ(files.ReadSetting(3), "|9|9|");
}

TEST_F(SettingFilesTest, RewritingShorterLeavesNoOldTail) {
  const std::string longWidths = "|" + std::string(300, 'Q') + "|";
  ASSERT_TRUE(files.WriteSetting(1, CString(longWidths), "fullsize"));
  ASSERT_TRUE(files.WriteSetting(1, "|1|", "fullsize"));
  const std::string content = Get("setting.ini");
  EXPECT_EQ(content.find('Q'), std::string::npos);
  EXPECT_EQ(content.substr(0, 14), "/fullsize/|1|/");
  EXPECT_EQ(content.back(), '/');
  EXPECT_EQ(files.ReadSetting(1), "|1|");
  EXPECT_EQ(files.ReadSetting(0), "fullsize");
}

TEST_F(SettingFilesTest, AMalformedFileIsRepairedOnTheNextWrite) {
  Put("setting.ini", "garbage without fields and a long tail .................................");
  ASSERT_TRUE(files.WriteSetting(0, "|640|480|", "|1|1|"));
  EXPECT_EQ(files.ReadSetting(0), "|640|480|");
  EXPECT_EQ(files.ReadSetting(2), CSettingFiles::DefaultSetting(2));
  EXPECT_FALSE(files.WriteSetting(5, "x", "y"));
  EXPECT_FALSE(files.WriteSetting(1, "|1/2|", "y"));
  EXPECT_EQ(files.ReadSetting(0), "|640|480|");
}

TEST(FrameSizeTest, ParsesWhatIsWrittenAndFallsBackOnAnythingElse) {
  BOOL maximized = TRUE;
  int width = 0;
  int height = 0;
  CSettingFiles::ParseFrameSize(CSettingFiles::FormatFrameSize(FALSE, 1024, 700), maximized, width, height);
  EXPECT_FALSE(maximized);
  EXPECT_EQ(width, 1024);
  EXPECT_EQ(height, 700);
  CSettingFiles::ParseFrameSize(CSettingFiles::FormatFrameSize(TRUE, 1, 1), maximized, width, height);
  EXPECT_TRUE(maximized);
  for (const char* bad : {"", "|", "|abc|600|", "|800|", "|-5|600|", "|0|600|", "|99999999999|600|",
                          "|800|600|7|", "800|600|", "| 800|600|"}) {
    CSettingFiles::ParseFrameSize(bad, maximized, width, height);
    EXPECT_FALSE(maximized) << bad;
    EXPECT_EQ(width, 800) << bad;
    EXPECT_EQ(height, 600) << bad;
  }
}

TEST_F(SettingFilesTest, AdvertsLoadTheFirstSixTriples) {
  CAdvertSlots slots;
  EXPECT_FALSE(files.LoadAdverts(slots));
  Put("AD.ini", "");
  EXPECT_FALSE(files.LoadAdverts(slots));
  Put("AD.ini", "/ad1.gif/http:\\\\x.example\\a/05/ad2.gif/l2/07/x/");
  EXPECT_FALSE(files.LoadAdverts(slots));  // seven fields
  EXPECT_EQ(slots.m_nCount, 0);
  std::string eight = "/";
  for (int i = 1; i <= 8; ++i)
    eight += "ad" + std::to_string(i) + ".gif/link" + std::to_string(i) + "/0" + std::to_string(i) + "/";
  Put("AD.ini", eight);
  ASSERT_TRUE(files.LoadAdverts(slots));
  EXPECT_EQ(slots.m_nCount, 6);
  EXPECT_EQ(slots.m_images[0], "ad1.gif");
  EXPECT_EQ(slots.m_links[5], "link6");
}

TEST_F(SettingFilesTest, AFailedLoadKeepsTheBannersThere) {
  CAdvertSlots slots;
  slots.m_nCount = 2;
  slots.m_images[0] = "old.gif";
  Put("AD.ini", "/a/b/");
  EXPECT_FALSE(files.LoadAdverts(slots));
  EXPECT_EQ(slots.m_nCount, 2);
  EXPECT_EQ(slots.m_images[0], "old.gif");
}

TEST_F(SettingFilesTest, AdvertsOfAnyLengthAreReadWhole) {
  std::string big = "/";
  big += "ad1.gif/" + std::string(5000, 'L') + "/20260101/";
  Put("AD.ini", big);
  CAdvertSlots slots;
  ASSERT_TRUE(files.LoadAdverts(slots));
  EXPECT_EQ(slots.m_links[0].GetLength(), 5000);
  EXPECT_EQ(files.ReadAdvertStamp(), "20260101");
}

TEST_F(SettingFilesTest, StampIsTheGreatestOfTheValidSlots) {
  EXPECT_EQ(files.ReadAdvertStamp(), "00");
  Put("AD.ini", "/ad3.gif/l/0305/ad1.gif/l/0410/ad9.gif/l/9999/ad0.gif/l/9998/x/l/9997/ad2.gif/l/0101/");
  EXPECT_EQ(files.ReadAdvertStamp(), "0410");
  Put("AD.ini", "/ad9.gif/l/9999/");
  EXPECT_EQ(files.ReadAdvertStamp(), "00");
  Put("AD.ini", "/ad1.gif/l/01/ad2.gif/l/02/ad3.gif/l/03/ad4.gif/l/04/ad5.gif/l/05/ad6.gif/l/06/ad1.gif/l/99/");
  EXPECT_EQ(files.ReadAdvertStamp(), "06");  // a seventh triple is not a banner
  Put("AD.ini", "/ad1.gif/l/");
  EXPECT_EQ(files.ReadAdvertStamp(), "00");
}

TEST_F(SettingFilesTest, ChatMacrosFallBackToTheBuiltInPhrases) {
  const auto builtIn = CSettingFiles::BuiltInChatMacros();
  EXPECT_EQ(files.LoadChatMacros(), builtIn);
  EXPECT_EQ(builtIn[0], Cp949("안녕하세요."));
  EXPECT_TRUE(builtIn[4].IsEmpty());
  Put("ChatMacro.Ini", "\n\n\n\n\n\n\n\n");
  EXPECT_EQ(files.LoadChatMacros(), builtIn);
  Put("ChatMacro.Ini", "");
  for (const CString& phrase : files.LoadChatMacros())
    EXPECT_TRUE(phrase.IsEmpty());
}

TEST_F(SettingFilesTest, ChatMacrosRoundTrip) {
  CSettingFiles::ChatMacros edited;
  edited[0] = "hi";
  edited[3] = "gg";
  edited[7] = Cp949("잘 부탁합니다");
  CSettingFiles::ChatMacros kept;
  ASSERT_TRUE(files.SaveChatMacros(edited, kept));
  EXPECT_EQ(kept, edited);
  EXPECT_EQ(Get("ChatMacro.Ini").substr(0, 5), "\nhi\n\n");
  EXPECT_EQ(files.LoadChatMacros(), edited);
}

TEST_F(SettingFilesTest, AllEmptyPhrasesSaveTheBuiltInOnes) {
  CSettingFiles::ChatMacros kept;
  ASSERT_TRUE(files.SaveChatMacros({}, kept));
  EXPECT_EQ(kept, CSettingFiles::BuiltInChatMacros());
  EXPECT_EQ(files.LoadChatMacros(), CSettingFiles::BuiltInChatMacros());
}

TEST_F(SettingFilesTest, LineBreaksInsideAPhraseCannotShiftTheOthers) {
  CSettingFiles::ChatMacros edited;
  edited[0] = "one\ntwo";
  edited[1] = "three";
  CSettingFiles::ChatMacros kept;
  ASSERT_TRUE(files.SaveChatMacros(edited, kept));
  const auto loaded = files.LoadChatMacros();
  EXPECT_EQ(loaded[0], "onetwo");
  EXPECT_EQ(loaded[1], "three");
}

TEST_F(SettingFilesTest, TheMacroFileIsCreatedEmptyOnlyWhenMissing) {
  ASSERT_TRUE(files.CreateChatMacroFileIfMissing());
  EXPECT_EQ(Get("ChatMacro.Ini"), "");
  Put("ChatMacro.Ini", "\na\n");
  ASSERT_TRUE(files.CreateChatMacroFileIfMissing());
  EXPECT_EQ(Get("ChatMacro.Ini"), "\na\n");
  // One this user may write but not read just now keeps its phrases for a later start. An
  // ordinary user's child makes the start, as root reads anything.
  const std::string path = folder / "ChatMacro.Ini";
  ::chmod(folder.Path().c_str(), 0777);
  ::chmod(path.c_str(), 0222);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    ::_exit(files.CreateChatMacroFileIfMissing() ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  ::chmod(path.c_str(), 0644);
  EXPECT_EQ(Get("ChatMacro.Ini"), "\na\n");
}

// Files that never end (links to /dev/zero) are read no further than any of them could be: each
// gives what an empty one gives, and the start's memory stays that of a small file. A child reads
// them with 64 MiB more memory than it holds.
TEST_F(SettingFilesTest, FilesWithoutEndCostAStartNoMoreMemoryThanSmallOnes) {
  for (const char* name : {"setting.ini", "AD.ini", "ChatMacro.Ini"})
    ASSERT_EQ(::symlink("/dev/zero", (folder / name).c_str()), 0) << name;
  const pid_t child = ::fork();
  if (child == 0) {
    const auto ceiling = static_cast<rlim_t>(DataBytes() + (64L << 20));
    const rlimit limit{ceiling, ceiling};
    if (::setrlimit(RLIMIT_DATA, &limit) != 0) ::_exit(2);
    CAdvertSlots slots;
    const bool asEmpty = files.ReadSetting(0).IsEmpty() && !files.LoadAdverts(slots) &&
                         files.LoadChatMacros() == CSettingFiles::ChatMacros{};
    ::_exit(asEmpty ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(SettingFilesFailureTest, AnUnwritableFolderReportsFailure) {
  CSettingFiles nowhere("/nonexistent-folder-for-tests");
  EXPECT_FALSE(nowhere.WriteSetting(1, "|1|", "fullsize"));
  CSettingFiles::ChatMacros kept;
  kept[0] = "unchanged";
  EXPECT_FALSE(nowhere.SaveChatMacros({}, kept));
  EXPECT_EQ(kept[0], "unchanged");
  EXPECT_EQ(nowhere.LoadChatMacros(), CSettingFiles::BuiltInChatMacros());
}

}  // namespace
