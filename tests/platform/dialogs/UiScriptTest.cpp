#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/uiscript.h"
#include "platform/windows.h"

namespace {

using platform::ParseUiScript;
using platform::UiQuestion;

TEST(UiScriptParse, EveryKindOfAnswer) {
  std::vector<std::string> errors;
  auto answers = ParseUiScript(
      "messagebox \"Already logged in.\" OK\r\n"
      "\n"
      "   # a comment\n"
      " \f\v \n"
      "dialog 179 text 1127=alice text 1126=\"pw 1\" check 1226=1 end OK\n"
      "menu 32771\n"
      "file \"/tmp/a b.sgf\"\n"
      "file cancel\n"
      "print Cancel\n"
      "messagebox yes",
      &errors);
  EXPECT_TRUE(errors.empty());
  ASSERT_EQ(answers.size(), 7u);
  EXPECT_EQ(answers[0].kind, UiQuestion::MessageBox);
  EXPECT_EQ(*answers[0].text, "Already logged in.");
  EXPECT_EQ(answers[0].button, IDOK);
  EXPECT_EQ(answers[1].kind, UiQuestion::Dialog);
  EXPECT_EQ(answers[1].line, 5);
  EXPECT_EQ(answers[1].templateId, 179u);
  ASSERT_EQ(answers[1].actions.size(), 3u);
  EXPECT_EQ(answers[1].actions[1].verb, "text");
  EXPECT_EQ(answers[1].actions[1].id, 1126u);
  EXPECT_EQ(answers[1].actions[1].value, "pw 1");
  EXPECT_EQ(answers[1].actions[2].verb, "check");
  EXPECT_EQ(answers[1].button, IDOK);
  EXPECT_EQ(answers[2].command, 32771u);
  EXPECT_EQ(*answers[3].path, "/tmp/a b.sgf");
  EXPECT_FALSE(answers[4].path.has_value());
  EXPECT_EQ(answers[5].button, IDCANCEL);
  EXPECT_FALSE(answers[6].text.has_value());
  EXPECT_EQ(answers[6].button, IDYES);
}

TEST(UiScriptParse, BadLinesAreSkippedAndDescribedWithTheirNumber) {
  std::vector<std::string> errors;
  auto answers = ParseUiScript(
      "messagebox \"open quote OK\n"
      "messagebox \"x\" Maybe\n"
      "dialog 179 text 1127 end OK\n"
      "dialog 179 text 1127=a\n"
      "menu twelve\n"
      "print Yes\n"
      "wave hello\n"
      "menu 5\n",
      &errors);
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].command, 5u);
  ASSERT_EQ(errors.size(), 7u);
  EXPECT_EQ(errors[0].rfind("line 1:", 0), 0u);
  EXPECT_EQ(errors[6].rfind("line 7:", 0), 0u);
}

TEST(UiScriptParse, ButtonNames) {
  EXPECT_EQ(platform::ParseButtonName("ok"), IDOK);
  EXPECT_EQ(platform::ParseButtonName("CANCEL"), IDCANCEL);
  EXPECT_EQ(platform::ParseButtonName("Retry"), IDRETRY);
  EXPECT_EQ(platform::ParseButtonName("7"), 7);
  EXPECT_EQ(platform::ParseButtonName("0"), 0);
  EXPECT_EQ(platform::ParseButtonName("-1"), 0);
  EXPECT_EQ(platform::ParseButtonName(""), 0);
}

// Records the settings a dialog answer makes on its controls.
std::vector<std::string>* g_settings = nullptr;

LRESULT RecordingControl(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == 0x00F1 && g_settings) g_settings->push_back("check " + std::to_string(wParam));
  return DefWindowProc(hwnd, message, wParam, lParam);
}

TEST(FileUiScriptTest, ADialogAnswerSetsControlsAndGivesTheEndCode) {
  WNDCLASS wc{};
  wc.lpfnWndProc = RecordingControl;
  wc.lpszClassName = "RecordingControl";
  ASSERT_TRUE(RegisterClass(&wc));
  std::vector<std::string> settings;
  g_settings = &settings;

  HWND dialog = CreateWindowEx(0, "#32770", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  HWND name = CreateWindowEx(0, "RecordingControl", "", WS_CHILD, 0, 0, 10, 10, dialog,
                             reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(1127)), nullptr, nullptr);
  HWND remember = CreateWindowEx(0, "RecordingControl", "", WS_CHILD, 0, 0, 10, 10, dialog,
                                 reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(1226)), nullptr, nullptr);
  ASSERT_TRUE(name && remember);

  platform::FileUiScript script(ParseUiScript("dialog 180 end OK\n"
                                              "dialog 179 text 1127=\"김철수\" check 1226=1 end Cancel\n",
                                              nullptr));
  EXPECT_FALSE(script.OnModalDialog(179, nullptr, dialog).has_value());  // the next answer is for 180
  EXPECT_EQ(script.OnModalDialog(180, nullptr, dialog), std::optional<INT_PTR>(IDOK));
  EXPECT_EQ(script.OnModalDialog(179, nullptr, dialog), std::optional<INT_PTR>(IDCANCEL));
  char text[32];
  GetWindowText(name, text, sizeof text);
  EXPECT_STREQ(text, Cp949("김철수"));
  EXPECT_EQ(settings, (std::vector<std::string>{"check 1"}));
  EXPECT_TRUE(script.Remaining().empty());

  g_settings = nullptr;
  DestroyWindow(dialog);
  EXPECT_TRUE(UnregisterClass("RecordingControl", nullptr));
}

TEST(FileUiScriptTest, MenuFileAndPrintAnswers) {
  platform::FileUiScript script(ParseUiScript("menu 40001\nfile \"/tmp/기보.sgf\"\nfile cancel\nprint OK\n", nullptr));
  EXPECT_FALSE(script.OnFileDialog(TRUE, nullptr, nullptr).has_value());  // a menu answer comes first
  EXPECT_EQ(script.OnPopupMenu(nullptr, POINT{0, 0}, nullptr), std::optional<UINT>(40001));
  auto chosen = script.OnFileDialog(TRUE, nullptr, nullptr);
  ASSERT_TRUE(chosen && *chosen);
  EXPECT_STREQ(**chosen, Cp949("/tmp/기보.sgf"));
  auto cancelled = script.OnFileDialog(FALSE, nullptr, nullptr);
  ASSERT_TRUE(cancelled);
  EXPECT_FALSE(cancelled->has_value());
  EXPECT_EQ(script.OnPrintDialog(), std::optional<bool>(true));
  EXPECT_FALSE(script.OnPrintDialog().has_value());
}

}  // namespace
