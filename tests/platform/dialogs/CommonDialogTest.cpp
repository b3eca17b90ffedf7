#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/commondlg.h"
#include "platform/gdi.h"
#include "platform/uiscript.h"

namespace {

class Answers : public platform::UiScript {
public:
  std::optional<std::optional<CString>> file;
  std::optional<bool> print;
  std::optional<int> box;
  int boxes{0};
  BOOL sawOpen{FALSE};
  std::string sawFilter;

  std::optional<std::optional<CString>> OnFileDialog(BOOL open, const char*, const char* filter) override {
    sawOpen = open;
    sawFilter = filter ? filter : "";
    return file;
  }
  std::optional<bool> OnPrintDialog() override { return print; }
  std::optional<int> OnMessageBox(const char*, const char*, UINT) override {
    ++boxes;
    return box;
  }
};

TEST(CommonDialog, FileDialogTakesTheAnswerAndAddsTheDefaultExtension) {
  Answers answers;
  platform::ScopedUiScript use(&answers);
  answers.file = std::optional<CString>(CString("/tmp/games/first"));
  CFileDialog save(FALSE, "sgf", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "sgf (*.sgf)|*.sgf||");
  ASSERT_EQ(save.DoModal(), IDOK);
  EXPECT_FALSE(answers.sawOpen);
  EXPECT_EQ(answers.sawFilter, "sgf (*.sgf)|*.sgf||");
  EXPECT_EQ(save.GetPathName(), "/tmp/games/first.sgf");
  EXPECT_EQ(save.GetFileName(), "first.sgf");
  EXPECT_EQ(save.GetFileTitle(), "first");
  EXPECT_EQ(save.GetFileExt(), "sgf");

  // A dot in a folder name is no extension.
  answers.file = std::optional<CString>(CString("/tmp/v1.2/game"));
  CFileDialog open(TRUE, "sgf");
  ASSERT_EQ(open.DoModal(), IDOK);
  EXPECT_EQ(open.GetPathName(), "/tmp/v1.2/game.sgf");

  answers.file = std::optional<CString>();  // cancelled
  CFileDialog cancelled(TRUE, "sgf");
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
  EXPECT_TRUE(cancelled.GetPathName().IsEmpty());

  answers.file.reset();  // nobody answers
  testing::internal::CaptureStderr();
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
  EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
}

TEST(CommonDialog, SavingOverAnExistingFileAsksFirst) {
  std::string path = testing::TempDir() + "common-dialog-existing.sgf";
  std::FILE* f = std::fopen(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  Answers answers;
  platform::ScopedUiScript use(&answers);
  answers.file = std::optional<CString>(CString(path.c_str()));
  answers.box = IDNO;
  CFileDialog refused(FALSE, "sgf");
  EXPECT_EQ(refused.DoModal(), IDCANCEL);
  answers.box = IDYES;
  CFileDialog accepted(FALSE, "sgf");
  EXPECT_EQ(accepted.DoModal(), IDOK);
  EXPECT_EQ(answers.boxes, 2);
  // Opening needs no question, but a missing file is refused when it must exist.
  CFileDialog open(TRUE, "sgf", nullptr, OFN_FILEMUSTEXIST);
  EXPECT_EQ(open.DoModal(), IDOK);
  std::filesystem::remove(path);
  answers.box = IDOK;
  EXPECT_EQ(open.DoModal(), IDCANCEL);
  EXPECT_EQ(answers.boxes, 3);
}

TEST(CommonDialog, PrintDialogMakesAPrinterContextOnlyWhenAccepted) {
  Answers answers;
  platform::ScopedUiScript use(&answers);
  answers.print = false;
  CPrintDialog cancelled(FALSE);
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
  EXPECT_EQ(cancelled.GetPrinterDC(), nullptr);

  answers.print = true;
  CPrintDialog accepted(FALSE);
  ASSERT_EQ(accepted.DoModal(), IDOK);
  HDC dc = accepted.GetPrinterDC();
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(accepted.GetPrinterDC(), nullptr);  // handed over once
  EXPECT_GT(::GetDeviceCaps(dc, HORZRES), 1000);
  ::DeleteDC(dc);
}

}  // namespace
