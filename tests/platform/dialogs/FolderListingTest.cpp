// What the file dialog lists and where a typed name leads, the labels of the platform's own
// dialogs, and file names between the programs' code page and the file system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../../../platform/src/dialogs/FolderListing.h"
#include "../../../platform/src/dialogs/PlatformDialogs.h"
#include "platform/files.h"
#include "support/DialogLabelFit.h"

namespace {

using platform::detail::FileFilterChoice;
using platform::detail::FolderEntry;

TEST(FileFilter, ChoicesComeInOrderWithEveryPatternAndAFilterWithoutOneListsAll) {
  struct Case {
    const char* filter;
    std::vector<std::pair<std::string, std::vector<std::string>>> expected;
  };
  const Case cases[] = {
      {"Go records (*.sgf)|*.sgf|All Files (*.*)|*.*||",
       {{"Go records (*.sgf)", {"*.sgf"}}, {"All Files (*.*)", {"*.*"}}}},
      {"Pictures|*.png; *.gif|", {{"Pictures", {"*.png", "*.gif"}}}},
      {"", {{"All Files (*.*)", {"*.*"}}}},
      {"Nothing||", {{"All Files (*.*)", {"*.*"}}}},  // a text without patterns is no choice
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter);
    std::vector<std::pair<std::string, std::vector<std::string>>> got;
    for (const FileFilterChoice& choice : platform::detail::ParseFileFilter(c.filter)) {
      std::vector<std::string> patterns(choice.patterns.begin(), choice.patterns.end());
      got.emplace_back(choice.text.GetString(), patterns);
    }
    EXPECT_EQ(got, c.expected);
  }
}

TEST(FolderListing, ParentThenFoldersThenMatchingFilesWithKoreanNamesInTheProgramsText) {
  platform::TempDir dir;
  for (const char* folder : {"b-folder", "a-folder", ".hidden-folder"}) std::filesystem::create_directory(dir / folder);
  // Names as the file system holds them: UTF-8.
  for (const char* file : {"z.sgf", "A.SGF", "기보.sgf", "notes.txt", ".hidden.sgf", "x.sgf.bak"}) {
    std::ofstream(dir / file) << "x";
  }
  std::vector<std::string> lines;
  for (const FolderEntry& entry : platform::detail::ListFolder(platform::ProgramPath(dir.Path()), {"*.sgf", "*.txt"})) {
    lines.push_back((entry.folder ? "[" : "") + std::string(entry.name.GetString()));
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"[..", "[a-folder", "[b-folder", "A.SGF", "notes.txt", "z.sgf",
                                             Cp949("기보.sgf")}));
  // The root has nothing above it.
  for (const FolderEntry& entry : platform::detail::ListFolder("/", {"*.none"})) EXPECT_NE(entry.name, "..");
}

TEST(FolderListing, TypedNamesResolveAgainstTheFolderShown) {
  struct Case {
    const char* folder;
    const char* typed;
    const char* expected;
  };
  const Case cases[] = {
      {"/home/kim", "game.sgf", "/home/kim/game.sgf"},
      {"/home/kim", "records/../game.sgf", "/home/kim/game.sgf"},
      {"/home/kim", "..\\lee\\.\\game.sgf", "/home/lee/game.sgf"},
      {"/home/kim", "/tmp/x.sgf", "/tmp/x.sgf"},
      {"/home", "../../..", "/"},
      {"/", "records/", "/records"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(platform::detail::ResolvePath(c.folder, c.typed), c.expected);
  }
}

TEST(ProgramFileNames, KoreanNamesAreUtf8OnDiskAndCodePage949InTheProgram) {
  platform::TempDir dir;
  std::string folder = platform::ProgramPath(dir.Path()).GetString();
  std::string name = std::string(Cp949("흑백")) + ".sgf";
  { CFile file((folder + "\\" + name).c_str(), CFile::modeCreate | CFile::modeWrite); }
  EXPECT_TRUE(std::filesystem::exists(dir / "흑백.sgf"));

  CFileFind find;
  ASSERT_TRUE(find.FindFile((folder + "/*.sgf").c_str()));
  find.FindNextFile();
  EXPECT_EQ(find.GetFileName(), name.c_str());
  EXPECT_EQ(find.GetFilePath(), (folder + "/" + name).c_str());
  // A character the code page lacks cannot be named by the program: it reads as '?'.
  EXPECT_EQ(platform::ProgramPath("snow-\xE2\x98\x83.sgf"), "snow-?.sgf");
}

TEST(PlatformDialogs, EveryLabelShowsWhole) {
  platform::ResourceModule& module = platform::detail::PlatformResources();
  std::vector<UINT> ids = testsupport::DialogTemplateIdsOf(module);
  EXPECT_EQ(ids.size(), 3u);
  for (UINT id : ids) {
    SCOPED_TRACE(id);
    EXPECT_EQ(testsupport::LabelsThatDoNotFit(module, id), std::vector<std::string>{});
  }
}

}  // namespace
