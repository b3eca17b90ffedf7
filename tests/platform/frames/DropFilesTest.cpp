#include <gtest/gtest.h>

#include <fstream>

#include "FrameTestSupport.h"
#include "platform/files.h"

namespace frametest {
namespace {

class DropFilesTest : public FrameFixture {
protected:
  CTestFrame* Start() {
    EXPECT_TRUE(m_app.InitInstance());
    return MainFrame();
  }
  std::string MakeFile(const std::string& name) {
    std::string path = m_dir / name;
    std::ofstream(path) << "(;GM[1])";
    return path;
  }
  CTestApp m_app;
  platform::TempDir m_dir;
};

TEST_F(DropFilesTest, DroppedFileIsOpenedLikeACommandLineFile) {
  CTestFrame* frame = Start();
  std::string path = MakeFile("dropped.tst");
  EXPECT_FALSE(platform::PostDroppedFiles(frame->m_hWnd, {CString(path.c_str())}));
  frame->DragAcceptFiles();
  ASSERT_TRUE(platform::PostDroppedFiles(frame->m_hWnd, {CString(path.c_str())}));
  platform::PumpMessages();
  CDocument* doc = frame->GetActiveDocument();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->GetPathName(), path.c_str());
  ASSERT_FALSE(m_app.GetRecentFiles().empty());
  EXPECT_EQ(m_app.GetRecentFiles().front(), path.c_str());
}

TEST_F(DropFilesTest, MissingDroppedFileKeepsTheCurrentDocument) {
  CTestFrame* frame = Start();
  CDocument* before = frame->GetActiveDocument();
  frame->DragAcceptFiles();
  m_script.buttons = {IDOK};
  ASSERT_TRUE(platform::PostDroppedFiles(frame->m_hWnd, {CString((m_dir / "absent.tst").c_str())}));
  platform::PumpMessages();
  EXPECT_EQ(AfxGetMainWnd(), frame);
  EXPECT_EQ(frame->GetActiveDocument(), before);
  EXPECT_EQ(m_script.texts.size(), 1u);
}

TEST_F(DropFilesTest, DropHandleListsItsPathsUntilFinished) {
  // A window that keeps the drop so the handle can be inspected.
  struct Keeper : public CWnd {
    HDROP drop{nullptr};
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_DROPFILES) drop = reinterpret_cast<HDROP>(wParam);
      return CWnd::WindowProc(message, wParam, lParam);
    }
  } keeper;
  ASSERT_TRUE(keeper.CreateEx(WS_EX_ACCEPTFILES, nullptr, "keeper", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
  ASSERT_TRUE(platform::PostDroppedFiles(keeper.m_hWnd, {"/x/first.tst", "/y/second game.tst"}));
  platform::PumpMessages();
  ASSERT_NE(keeper.drop, nullptr);
  EXPECT_EQ(DragQueryFile(keeper.drop, 0xFFFFFFFF, nullptr, 0), 2u);
  EXPECT_EQ(DragQueryFile(keeper.drop, 1, nullptr, 0), 18u);
  char buffer[8];
  EXPECT_EQ(DragQueryFile(keeper.drop, 0, buffer, sizeof buffer), 7u);
  EXPECT_STREQ(buffer, "/x/firs");
  EXPECT_EQ(DragQueryFile(keeper.drop, 2, buffer, sizeof buffer), 0u);
  DragFinish(keeper.drop);
  EXPECT_EQ(DragQueryFile(keeper.drop, 0xFFFFFFFF, nullptr, 0), 0u);
}

}  // namespace
}  // namespace frametest
