#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/msgbox.h"
#include "platform/resources.h"
#include "platform/uiscript.h"
#include "platform/windows.h"

namespace {

// Answers every message box with a fixed button and remembers what it saw.
class RecordingScript : public platform::UiScript {
public:
  struct Seen {
    std::string text;
    std::string caption;
    UINT style;
  };
  std::vector<Seen> seen;
  std::optional<int> answer;

  std::optional<int> OnMessageBox(const char* text, const char* caption, UINT style) override {
    seen.push_back({text, caption, style});
    return answer;
  }
};

class MessageBoxTest : public ::testing::Test {
protected:
  void SetUp() override {
    platform::SetAppName("Orbit");
    platform::ResetUiScriptFile();
  }
  void TearDown() override {
    platform::SetAppName("");
    platform::DestroyAllWindows();
  }
};

TEST_F(MessageBoxTest, TheHookSeesTextCaptionAndStyle) {
  RecordingScript script;
  script.answer = IDNO;
  platform::ScopedUiScript scoped(&script);
  EXPECT_EQ(AfxMessageBox(Cp949("저장할까요?"), MB_YESNO | MB_ICONQUESTION), IDNO);
  ASSERT_EQ(script.seen.size(), 1u);
  EXPECT_EQ(script.seen[0].text, Cp949("저장할까요?"));
  EXPECT_EQ(script.seen[0].caption, "Orbit");
  EXPECT_EQ(script.seen[0].style, MB_YESNO | MB_ICONQUESTION);

  EXPECT_EQ(MessageBox(nullptr, "disk full", nullptr, MB_YESNO), IDNO);
  EXPECT_EQ(script.seen[1].caption, "Error");
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
  EXPECT_EQ(wnd.MessageBox("sure?", "Confirm", MB_YESNO), IDNO);
  EXPECT_EQ(script.seen[2].caption, "Confirm");
  wnd.MessageBox("note");
  EXPECT_EQ(script.seen[3].caption, "Orbit");
}

TEST_F(MessageBoxTest, WithoutAnAnswerTheDefaultButtonIsReturned) {
  EXPECT_EQ(AfxMessageBox("a"), IDOK);
  EXPECT_EQ(AfxMessageBox("b", MB_OKCANCEL), IDOK);
  EXPECT_EQ(AfxMessageBox("c", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
  EXPECT_EQ(AfxMessageBox("d", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(AfxMessageBox("e", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(AfxMessageBox("f", MB_YESNO | MB_DEFBUTTON3), IDYES);  // no third button: the first
  EXPECT_EQ(AfxMessageBox("g", MB_RETRYCANCEL), IDRETRY);
  EXPECT_EQ(AfxMessageBox("h", MB_ABORTRETRYIGNORE | MB_DEFBUTTON3), IDIGNORE);
}

TEST_F(MessageBoxTest, AnUnansweredBoxIsLoggedToStandardError) {
  testing::internal::CaptureStderr();
  AfxMessageBox(Cp949("이미 접속"), MB_OKCANCEL | MB_DEFBUTTON2);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("이미 접속"), std::string::npos);
  EXPECT_NE(err.find("Orbit"), std::string::npos);
  EXPECT_NE(err.find("Cancel"), std::string::npos);
}

TEST_F(MessageBoxTest, AnAnswerThatIsNotOnTheBoxFallsBackToTheDefault) {
  RecordingScript script;
  script.answer = IDYES;
  platform::ScopedUiScript scoped(&script);
  testing::internal::CaptureStderr();
  EXPECT_EQ(AfxMessageBox("only ok"), IDOK);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("not on this box"), std::string::npos);
}

TEST_F(MessageBoxTest, PromptFromTheCurrentResourceModule) {
  platform::ResourceModule& module = platform::CreateResourceModule("prompts");
  module.AddString(601, "Connection lost.");
  platform::ResourceScope scope(module.Handle());
  RecordingScript script;
  script.answer = IDOK;
  platform::ScopedUiScript scoped(&script);
  AfxMessageBox(601);
  ASSERT_EQ(script.seen.size(), 1u);
  EXPECT_EQ(script.seen[0].text, "Connection lost.");
}

TEST_F(MessageBoxTest, ScriptFileAnswersAreTakenInOrder) {
  std::string path = testing::TempDir() + "msgbox-script.txt";
  {
    std::ofstream out(path);
    out << "# answers\n"
        << "messagebox \"이미 접속 중입니다.\" Yes\n"
        << "messagebox No\n"
        << "menu 32771\n";
  }
  ASSERT_TRUE(platform::LoadUiScriptFile(path.c_str()));
  EXPECT_EQ(AfxMessageBox(Cp949("이미 접속 중입니다."), MB_YESNO), IDYES);
  EXPECT_EQ(AfxMessageBox("anything", MB_YESNO), IDNO);
  testing::internal::CaptureStderr();
  EXPECT_EQ(AfxMessageBox("third", MB_YESNO | MB_DEFBUTTON2), IDNO);  // the next answer is a menu
  EXPECT_NE(testing::internal::GetCapturedStderr().find("third"), std::string::npos);
  auto* file = dynamic_cast<platform::FileUiScript*>(platform::GetUiScript());
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->Remaining().size(), 1u);
  EXPECT_EQ(file->Remaining().front().command, 32771u);
  std::remove(path.c_str());
  platform::ResetUiScriptFile();
}

TEST_F(MessageBoxTest, AMessageBoxAnswerWithOtherTextIsNotTaken) {
  std::string path = testing::TempDir() + "msgbox-mismatch.txt";
  {
    std::ofstream out(path);
    out << "messagebox \"Already logged in.\" Cancel\n";
  }
  ASSERT_TRUE(platform::LoadUiScriptFile(path.c_str()));
  testing::internal::CaptureStderr();
  EXPECT_EQ(AfxMessageBox("Something else", MB_OKCANCEL), IDOK);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(AfxMessageBox("Already logged in.", MB_OKCANCEL), IDCANCEL);
  std::remove(path.c_str());
  platform::ResetUiScriptFile();
}

TEST_F(MessageBoxTest, AnUnreadableScriptFileIsReported) {
  testing::internal::CaptureStderr();
  EXPECT_FALSE(platform::LoadUiScriptFile("/nonexistent/dir/script.txt"));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot read"), std::string::npos);
  platform::ResetUiScriptFile();
}

}  // namespace
