#include <gtest/gtest.h>

#include <fstream>

#include "FrameTestSupport.h"
#include "platform/files.h"

namespace frametest {
namespace {

class WinAppTest : public FrameFixture {
protected:
  std::string MakeFile(const std::string& name) {
    std::string path = m_dir / name;
    std::ofstream(path) << "(;GM[1])";
    return path;
  }
  platform::TempDir m_dir;
};

TEST_F(WinAppTest, RecentFilesPersistInTheProfile) {
  {
    CTestApp app;
    app.SetRegistryKey("Frame Tests");
    app.LoadStdProfileSettings(4);
    for (const char* path : {"/a.tst", "/b.tst", "/c.tst", "/d.tst", "/e.tst", "/b.tst"}) app.AddToRecentFileList(path);
    EXPECT_EQ(app.GetRecentFiles(), (std::vector<CString>{"/b.tst", "/e.tst", "/d.tst", "/c.tst"}));
  }
  CTestApp again;
  again.SetRegistryKey("Frame Tests");
  again.LoadStdProfileSettings(4);
  EXPECT_EQ(again.GetRecentFiles(), (std::vector<CString>{"/b.tst", "/e.tst", "/d.tst", "/c.tst"}));
  EXPECT_EQ(again.GetProfileString("Recent File List", "File1"), "/b.tst");
  EXPECT_EQ(again.GetProfileString("Recent File List", "File5"), "");
  // A shorter list drops the extra entries from the profile too.
  again.LoadStdProfileSettings(2);
  again.AddToRecentFileList("/f.tst");
  EXPECT_EQ(again.GetRecentFiles(), (std::vector<CString>{"/f.tst", "/b.tst"}));
}

TEST_F(WinAppTest, WithoutTheStandardSettingsNothingIsRecorded) {
  CTestApp app;
  app.AddToRecentFileList("/a.tst");
  EXPECT_TRUE(app.GetRecentFiles().empty());
  EXPECT_EQ(app.GetProfileString("Recent File List", "File1"), "");
}

TEST_F(WinAppTest, DocumentNamedOnTheCommandLineIsOpened) {
  std::string path = MakeFile("my game.tst");
  CTestApp app;
  app.m_lpCmdLine = CString("\"") + path.c_str() + "\"";
  ASSERT_TRUE(app.InitInstance());
  auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
  ASSERT_NE(frame, nullptr);
  CDocument* doc = frame->GetActiveDocument();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->GetPathName(), path.c_str());
  EXPECT_EQ(doc->GetTitle(), "my game.tst");
  EXPECT_EQ(Log().front(), "doc open " + path);
  ASSERT_FALSE(app.GetRecentFiles().empty());
  EXPECT_EQ(app.GetRecentFiles().front(), path.c_str());
  EXPECT_TRUE(frame->IsWindowVisible());
  CString caption;
  frame->GetWindowText(caption);
  EXPECT_EQ(caption, "my game.tst - Tester");
}

TEST_F(WinAppTest, NoArgumentMakesANewDocument) {
  CTestApp app;
  ASSERT_TRUE(app.InitInstance());
  EXPECT_EQ(Log().front(), "doc new");
  auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->GetActiveDocument()->GetTitle(), "Untitled");
  EXPECT_TRUE(frame->GetActiveDocument()->GetPathName().IsEmpty());
}

TEST_F(WinAppTest, MissingFileOnTheCommandLineFailsWithAMessageAndNoWindow) {
  CTestApp app;
  app.m_lpCmdLine = CString((m_dir / "absent.tst").c_str());
  m_script.buttons = {IDOK};
  EXPECT_FALSE(app.InitInstance());
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  EXPECT_TRUE(platform::AllWindows().empty());
  ASSERT_EQ(m_script.texts.size(), 1u);
  EXPECT_NE(m_script.texts[0].find("absent.tst"), std::string::npos);
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "doc deleted"), 1);
}

TEST_F(WinAppTest, OpeningAnotherFileReusesTheDocumentAndFrame) {
  std::string first = MakeFile("one.tst");
  std::string second = MakeFile("two.tst");
  CTestApp app;
  app.m_lpCmdLine = first.c_str();
  ASSERT_TRUE(app.InitInstance());
  CWnd* frame = AfxGetMainWnd();
  CDocument* doc = app.GetDocTemplates().front()->GetOpenDocument();
  EXPECT_EQ(app.OpenDocumentFile(second.c_str()), doc);
  EXPECT_EQ(AfxGetMainWnd(), frame);
  EXPECT_EQ(doc->GetPathName(), second.c_str());
  // The file that is already open is only handed back.
  Log().clear();
  EXPECT_EQ(app.OpenDocumentFile(second.c_str()), doc);
  EXPECT_TRUE(Log().empty());
  // A recent-file command opens the earlier one again.
  frame->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1 + 1, 0);
  EXPECT_EQ(doc->GetPathName(), first.c_str());
}

TEST_F(WinAppTest, RecentFileThatNoLongerOpensLeavesTheList) {
  std::string kept = MakeFile("kept.tst");
  CTestApp app;
  ASSERT_TRUE(app.InitInstance());
  app.AddToRecentFileList(kept.c_str());
  app.AddToRecentFileList((m_dir / "gone.tst").c_str());
  m_script.buttons = {IDOK};
  AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1, 0);
  EXPECT_EQ(app.GetRecentFiles(), (std::vector<CString>{kept.c_str()}));
  EXPECT_TRUE(::IsWindow(AfxGetMainWnd()->m_hWnd));
}

TEST_F(WinAppTest, CommandLineFlagsAndQuotedNames) {
  CTestApp app;
  {
    CCommandLineInfo info;
    app.m_lpCmdLine = "/Embedding";
    app.ParseCommandLine(info);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNothing);
    EXPECT_TRUE(info.m_bRunEmbedded);
  }
  {
    CCommandLineInfo info;
    app.m_lpCmdLine = "/p  \"/some folder/x.tst\"  extra";
    app.ParseCommandLine(info);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FilePrint);
    EXPECT_EQ(info.m_strFileName, "/some folder/x.tst");
  }
  {
    CCommandLineInfo info;
    app.m_lpCmdLine = "   ";
    app.ParseCommandLine(info);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_TRUE(info.m_strFileName.IsEmpty());
  }
}

TEST_F(WinAppTest, RunApplicationPassesArgumentsAndEndsWithTheQuitCode) {
  std::string path = MakeFile("run me.tst");
  CTestApp app;
  std::string exe = "/opt/bin/tester";
  std::vector<char*> argv{exe.data(), path.data()};
  PostQuitMessage(3);
  EXPECT_EQ(platform::RunApplication(2, argv.data()), 3);
  EXPECT_EQ(app.m_strExeName, "tester");
  EXPECT_EQ(app.m_lpCmdLine, CString("\"") + path.c_str() + "\"");
  ASSERT_FALSE(app.GetRecentFiles().empty());
  EXPECT_EQ(app.GetRecentFiles().front(), path.c_str());
}

TEST_F(WinAppTest, ShellFileTypesAreRecorded) {
  CTestApp app;
  app.m_strExePath = "/opt/bin/tester";
  ASSERT_TRUE(app.InitInstance());
  app.RegisterShellFileTypes(TRUE);
  char value[256] = {};
  LONG size = sizeof(value);
  ASSERT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, ".tst", value, &size), ERROR_SUCCESS);
  EXPECT_STREQ(value, "Tester.Document");
  size = sizeof(value);
  ASSERT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "Tester.Document", value, &size), ERROR_SUCCESS);
  EXPECT_STREQ(value, "Test Document");
  size = sizeof(value);
  ASSERT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "Tester.Document\\shell\\open\\command", value, &size), ERROR_SUCCESS);
  EXPECT_STREQ(value, "\"/opt/bin/tester\" \"%1\"");
}

TEST_F(WinAppTest, WaitCursorNestsAndRestores) {
  CTestApp app;
  HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
  HCURSOR wait = ::LoadCursor(nullptr, IDC_WAIT);
  ::SetCursor(arrow);
  app.DoWaitCursor(1);
  app.DoWaitCursor(1);
  EXPECT_EQ(::GetCursor(), wait);
  app.DoWaitCursor(-1);
  EXPECT_EQ(::GetCursor(), wait);
  EXPECT_TRUE(app.IsWaiting());
  app.DoWaitCursor(-1);
  EXPECT_EQ(::GetCursor(), arrow);
  // An unmatched end changes nothing.
  app.DoWaitCursor(-1);
  EXPECT_EQ(::GetCursor(), arrow);
  EXPECT_FALSE(app.IsWaiting());
}

TEST_F(WinAppTest, AccessorsFollowTheApplicationObject) {
  EXPECT_EQ(AfxGetApp(), nullptr);
  {
    CTestApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_STREQ(AfxGetAppName(), "FrameTester");
  }
  EXPECT_EQ(AfxGetApp(), nullptr);
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

}  // namespace
}  // namespace frametest
