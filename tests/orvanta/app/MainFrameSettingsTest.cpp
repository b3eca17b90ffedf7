// The main frame's own use of the settings files and options: closing writes the frame size, the
// advert answer and the downloader's report reload "AD.ini", the chat-phrase and environment
// commands write their file and profile values.

#include "orvanta/app/MainFrameFixture.h"
#include "orvanta/widgets/MainMenu.h"

#include <platform/shell.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

namespace {

using MainFrameSettingsTest = MainFrameTest;

std::string ReadFile(const char* name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const char* name, const std::string& text) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out << text;
}

TEST_F(MainFrameSettingsTest, ClosingAskedYesWritesTheFrameSizeIntoTheSettings) {
  script.answers["Do you close this program?"] = IDYES;
  frame->MoveWindow(0, 0, 1024, 768);
  const HWND handle = frameHandle();
  frame->SendMessage(WM_CLOSE);
  EXPECT_EQ(script.shown, std::vector<std::string>{"Do you close this program?"});
  EXPECT_FALSE(::IsWindow(handle));
  frame = nullptr;  // the closed frame deleted itself
  const std::string setting = ReadFile("setting.ini");
  EXPECT_EQ(setting.rfind("/|1024|768|/", 0), 0u) << setting;
  EXPECT_EQ(CSettingFiles().ReadSetting(0), "|1024|768|");
}

TEST_F(MainFrameSettingsTest, ClosingAskedNoKeepsTheFrameAndWritesNothing) {
  script.answers["Do you close this program?"] = IDNO;
  // The person closes the window again while the question is open: one question, one answer.
  int closes = 0;
  script.onMessageBox = [&](const std::string&) {
    if (closes++ == 0)
      frame->SendMessage(WM_CLOSE);
  };
  frame->SendMessage(WM_CLOSE);
  EXPECT_TRUE(::IsWindow(frameHandle()));
  EXPECT_EQ(script.shown, std::vector<std::string>{"Do you close this program?"});
  EXPECT_EQ(ReadFile("setting.ini"), "");
  // Answered, the question is asked again at the next close.
  script.onMessageBox = nullptr;
  frame->SendMessage(WM_CLOSE);
  EXPECT_EQ(script.shown.size(), 2u);
  EXPECT_TRUE(::IsWindow(frameHandle()));
}

TEST_F(MainFrameSettingsTest, TheAdvertAnswerReloadsTheBannersOrStartsTheDownloader) {
  WriteFile("AD.ini", "/ad1.gif/http:\\\\a.example/05/ad2.gif/http:\\\\b.example/07/");
  CFieldTokenizer current("|0|x|0|");
  frame->OnAdvertInfo(current);
  EXPECT_EQ(frame->GetAdverts().m_nCount, 2);
  EXPECT_EQ(frame->GetAdverts().m_images[1], "ad2.gif");
  ASSERT_NE(frame->GetMainMenu(), nullptr);
  EXPECT_TRUE(frame->GetMainMenu()->IsBannerShown());

  // The server's whole text, blanks, quotes and backslashes, is one argument of the downloader: the
  // line the frame starts, started as the platform starts programs, hands it over unchanged.
  const std::string payload = "|1|x|1|img one.gif|http:\\\\a b \"q\"|\\";
  CFieldTokenizer newer(payload.c_str());
  frame->OnAdvertInfo(newer);
  ASSERT_EQ(commandLines.size(), 1u);
  EXPECT_EQ(commandLines[0].rfind("DownLoad.exe " + senderNumber() + " -cf ", 0), 0u) << commandLines[0];
  WriteFile("DownLoad", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > args.tmp && mv args.tmp args.txt\n");
  ::chmod("DownLoad", 0700);
  ASSERT_GT(::WinExec(commandLines[0].c_str(), SW_SHOWNORMAL), 31u);
  ASSERT_TRUE(PumpUntil([] { return !ReadFile("args.txt").empty(); }));
  EXPECT_EQ(ReadFile("args.txt"), senderNumber() + "\n-cf\n" + payload + "\n");

  // The downloader then reports the new pictures ready, and the banner reads them.
  WriteFile("AD.ini", "/ad3.gif/http:\\\\c.example/09/");
  COPYDATASTRUCT ready{CMainFrame::kAdvertsReadyData, 0, nullptr};
  frame->SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&ready));
  EXPECT_EQ(frame->GetAdverts().m_nCount, 1);
  EXPECT_EQ(frame->GetAdverts().m_images[0], "ad3.gif");
}

TEST_F(MainFrameSettingsTest, OnlyTheDownloadersReadyReportReloadsTheAdverts) {
  WriteFile("AD.ini", "/ad1.gif/link/05/");
  COPYDATASTRUCT other{2, 0, nullptr};
  frame->SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&other));
  EXPECT_EQ(frame->GetAdverts().m_nCount, 0);
  COPYDATASTRUCT ready{CMainFrame::kAdvertsReadyData, 0, nullptr};
  frame->SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&ready));
  EXPECT_EQ(frame->GetAdverts().m_nCount, 1);
  EXPECT_EQ(frame->GetAdverts().m_links[0], "link");
}

TEST_F(MainFrameSettingsTest, TheAdvertRequestCarriesTheGreatestStamp) {
  WriteFile("AD.ini", "/ad1.gif/l/05/ad2.gif/l/09/ad3.gif/l/07/");
  LogIn();
  EXPECT_EQ(peer.Records()[3].payload, "|09|");
}

TEST_F(MainFrameSettingsTest, TheChatMacroCommandMakesTheFileAndCancelLeavesItEmpty) {
  EXPECT_EQ(frame->GetChatMacros()[0], Cp949("안녕하세요."));
  frame->SendMessage(WM_COMMAND, CMainFrame::kChattingMacroCommand);
  ASSERT_EQ(script.dialogs.size(), 1u);
  EXPECT_EQ(script.dialogs[0].templateId, 446u);  // the phrase dialog, cancelled
  EXPECT_EQ(ReadFile("ChatMacro.Ini"), "");
  // Without a file the dialog opened with the built-in phrases, and they stay in memory.
  ASSERT_EQ(frame->chatMacrosShown.size(), 1u);
  EXPECT_EQ(frame->chatMacrosShown[0], CSettingFiles::BuiltInChatMacros());
  EXPECT_EQ(frame->GetChatMacros(), CSettingFiles::BuiltInChatMacros());
  // An empty file is eight empty phrases, not the built-in ones.
  frame->LoadChatMacros();
  EXPECT_EQ(frame->GetChatMacros()[0], "");
}

TEST_F(MainFrameSettingsTest, TheChatMacroDialogsOkWritesThePhrases) {
  CSettingFiles::ChatMacros edited;
  edited[0] = "hi";
  edited[7] = "bye";
  frame->chatMacroAnswer = edited;
  frame->OnChattingMacro();
  EXPECT_EQ(ReadFile("ChatMacro.Ini"), "\nhi\n\n\n\n\n\n\nbye\n");
  EXPECT_EQ(frame->GetChatMacros()[0], "hi");
  EXPECT_EQ(frame->GetChatMacros()[7], "bye");
}

TEST_F(MainFrameSettingsTest, TheEnvironmentCommandSavesAndSendsTheOptionsOnlyWithALink) {
  frame->optionsAnswer = std::array<BOOL, 4>{TRUE, FALSE, TRUE, TRUE};
  frame->OnEnvironment();
  EXPECT_EQ(profile.GetProfileInt("USER", "Invite", 10), 10u);

  LogIn();
  frame->OnEnvironment();
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 7; }));
  EXPECT_EQ(Pairs().back(), "1,11");
  EXPECT_EQ(peer.Records().back().payload, "|14|");
  EXPECT_EQ(profile.GetProfileInt("USER", "Invite", 10), 0u);
  EXPECT_EQ(profile.GetProfileInt("USER", "Nego", 10), 8u);
}

}  // namespace
