// The file dialog as a person uses it under X: opened by the program's File Open and Save As
// commands, answered only by clicks and keys sent through the X server.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../display/XvfbServer.h"
#include "../frames/FrameTestSupport.h"
#include "ScreenPerson.h"
#include "platform/controls_defs.h"
#include "platform/files.h"
#include "platform/time.h"

namespace {

using screentest::ScreenPerson;
using screentest::ShownDialog;

constexpr int kFileList = 1102, kFileNameEdit = 1103;

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

class FileDialogX11Test : public frametest::FrameFixture {
protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty()) GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    if (!platform::display::UseX11Display(name.c_str())) GTEST_SKIP() << "cannot open " << name;
    m_person = std::make_unique<ScreenPerson>(name);
    ASSERT_TRUE(m_person->Ready());
    platform::Clock::SetManual(false);
    // A dialog asked without a folder starts in the current one.
    m_oldFolder = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.Path());
    std::filesystem::create_directory(m_dir / "games");
    std::ofstream(m_dir / "games/first.tst") << "(;GM[1])";
    std::ofstream(m_dir / "games/notes.txt") << "not a record";
    std::ofstream(m_dir / "old.tst") << "keep";
    // A name as the file system holds it: UTF-8.
    std::ofstream(m_dir / "기보.tst") << "(;GM[1])";
    ASSERT_TRUE(m_app.InitInstance());
    ASSERT_NE(MainFrame(), nullptr);
  }
  void TearDown() override {
    if (!m_oldFolder.empty()) std::filesystem::current_path(m_oldFolder);
    platform::DestroyAllWindows();
    platform::display::UseHeadless();
  }

  CDocument* Document() const { return MainFrame()->GetActiveDocument(); }
  // The folder as the program names it.
  std::string Folder() const { return platform::ProgramPath(m_dir.Path()).GetString(); }

  HWND List() const { return ::GetDlgItem(ShownDialog(m_caption), kFileList); }
  int LineOf(const char* text) const {
    HWND list = List();
    return list ? static_cast<int>(::SendMessage(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                 reinterpret_cast<LPARAM>(text)))
                : -1;
  }
  bool Lists(const char* text) const { return LineOf(text) >= 0; }
  CString EditText() const {
    HWND dialog = ShownDialog(m_caption);
    return dialog ? screentest::TextOf(::GetDlgItem(dialog, kFileNameEdit)) : CString();
  }
  // Runs command of the frame as its menu would, while the person acts.
  bool RunCommand(UINT command) {
    return m_person->Drive([&] { MainFrame()->SendMessage(WM_COMMAND, command, 0); });
  }

  platform::TempDir m_dir;
  std::filesystem::path m_oldFolder;
  frametest::CTestApp m_app;
  std::unique_ptr<ScreenPerson> m_person;
  const char* m_caption{"Open"};
};

TEST_F(FileDialogX11Test, OpenEntersAFolderByDoubleClickAndOpensTheFilePicked) {
  m_person->Then([&] { return Lists("[games]") && Lists(Cp949("기보.tst")); },
                 [&] {
                   EXPECT_TRUE(m_person->Snapshot(ShownDialog("Open"), "file-dialog.png"));
                   EXPECT_FALSE(Lists("old.txt"));
                   m_person->ClickLine(List(), LineOf("[games]"), true);
                 });
  // The filter lets the records through, not the notes.
  m_person->Then([&] { return Lists("first.tst"); },
                 [&] {
                   EXPECT_FALSE(Lists("notes.txt"));
                   EXPECT_TRUE(Lists(".."));
                   m_person->ClickLine(List(), LineOf("first.tst"));
                 });
  m_person->Then([&] { return EditText() == "first.tst"; }, [&] { m_person->Key(ShownDialog("Open"), XK_Return); });
  ASSERT_TRUE(RunCommand(ID_FILE_OPEN));
  EXPECT_EQ(Document()->GetPathName(), (Folder() + "/games/first.tst").c_str());
}

// A name typed into the edit (focused when the dialog opens) and a Korean line double clicked
// open the same way a picked line does.
TEST_F(FileDialogX11Test, ATypedPathOrAKoreanLineOpensItsFile) {
  HWND (*open)() = [] { return ShownDialog("Open"); };
  struct Case {
    const char* how;
    std::function<void()> steps;  // what the person does once the dialog lists its lines
    std::string opened;           // relative to the folder, as the program names it
  };
  const Case cases[] = {
      {"typed path",
       [&] {
         m_person->Then([&] { return Lists(Cp949("기보.tst")); }, [&] { m_person->Type(open(), "games/first.tst"); });
         // A person looks at what was typed before pressing Enter.
         m_person->Then([&] { return EditText() == "games/first.tst"; }, [&] { m_person->Key(open(), XK_Return); });
       },
       "/games/first.tst"},
      {"Korean line",
       [&] {
         m_person->Then([&] { return Lists(Cp949("기보.tst")); },
                        [&] { m_person->ClickLine(List(), LineOf(Cp949("기보.tst")), true); });
       },
       std::string("/") + Cp949("기보.tst")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    c.steps();
    ASSERT_TRUE(RunCommand(ID_FILE_OPEN));
    EXPECT_EQ(Document()->GetPathName(), (Folder() + c.opened).c_str());
  }
  // The document was read from the file system's UTF-8 name: its title is the program's text.
  EXPECT_EQ(Document()->GetTitle(), Cp949("기보.tst"));
}

TEST_F(FileDialogX11Test, SaveAsWritesANewNameAndAsksBeforeReplacingKeepingTheFileOnNo) {
  m_caption = "Save As";
  m_person->Then([&] { return Lists("old.tst"); },
                 [&] {
                   HWND dialog = ShownDialog("Save As");
                   // The edit holds the document's title, all selected: typing replaces it.
                   m_person->Type(dialog, "saved");
                 });
  m_person->Then([&] { return EditText() == "saved"; }, [&] { m_person->Key(ShownDialog("Save As"), XK_Return); });
  ASSERT_TRUE(RunCommand(ID_FILE_SAVE_AS));
  EXPECT_TRUE(std::filesystem::exists(m_dir / "saved.tst"));  // the default extension added
  EXPECT_EQ(Document()->GetPathName(), (Folder() + "/saved.tst").c_str());

  m_person->Then([&] { return Lists("old.tst"); },
                 [&] {
                   m_person->ClickLine(List(), LineOf("old.tst"));
                   m_person->Key(ShownDialog("Save As"), XK_Return);
                 });
  m_person->Then([&] { return screentest::ShownMessageBox() != nullptr; },
                 [&] { m_person->Click(screentest::ChildWithText(screentest::ShownMessageBox(), "&No")); });
  // No leaves the dialog open for another name; Escape then cancels it.
  m_person->Then([&] { return !screentest::ShownMessageBox() && ShownDialog("Save As"); },
                 [&] { m_person->Key(ShownDialog("Save As"), XK_Escape); });
  ASSERT_TRUE(RunCommand(ID_FILE_SAVE_AS));
  EXPECT_EQ(Contents(m_dir / "old.tst"), "keep");
  EXPECT_EQ(Document()->GetPathName(), (Folder() + "/saved.tst").c_str());
}

}  // namespace
