// The application: the window size of the setting, the document's save, and a whole start-up
// against the game-server peer (login, start view with the server's rooms, a room's request, the
// close command) with the exact records on the wire; a second copy only says it is in progress.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <platform/process.h>
#include <platform/shell.h>
#include <platform/testinput.h>

#include "orvanta/app/MainFrameFixture.h"
#include "orvanta/app/OrvantaApp.h"
#include "orvanta/app/OrvantaDoc.h"
#include "orvanta/app/OrvantaView.h"
#include "orvanta/widgets/MainMenu.h"

namespace {

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

TEST(NamedMutexTest, TheFirstHandleCreatesLaterOnesFindItAndTheLastCloseEndsIt) {
  platform::ScopedPlatformHome home;
  HANDLE first = ::CreateMutex(nullptr, FALSE, "Orvanta test/mutex");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(::GetLastError(), 0u);
  HANDLE second = ::CreateMutex(nullptr, FALSE, "Orvanta test/mutex");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(::GetLastError(), ERROR_ALREADY_EXISTS);
  HANDLE other = ::CreateMutex(nullptr, FALSE, "another");
  EXPECT_EQ(::GetLastError(), 0u);
  EXPECT_TRUE(::CloseHandle(first));
  // Still held by the second handle.
  HANDLE third = ::CreateMutex(nullptr, FALSE, "Orvanta test/mutex");
  EXPECT_EQ(::GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(::CloseHandle(second));
  EXPECT_TRUE(::CloseHandle(third));
  HANDLE again = ::CreateMutex(nullptr, FALSE, "Orvanta test/mutex");
  EXPECT_EQ(::GetLastError(), 0u);
  EXPECT_TRUE(::CloseHandle(again));
  EXPECT_TRUE(::CloseHandle(other));
  EXPECT_FALSE(::CloseHandle(again));
}

class OrvantaAppTest : public MainFrameTest {
protected:
  OrvantaAppTest() {
    // The fixture's own frame is not the program's.
    frame->DestroyWindow();
    platform::PumpMessages();
  }
  ~OrvantaAppTest() override { ::unsetenv("ORVANTA_SERVER"); }
};

TEST_F(OrvantaAppTest, AStartLogsInShowsTheRoomsSendsARoomsRequestAndClosesCleanly) {
  ::setenv("ORVANTA_SERVER", peer.Address().c_str(), 1);
  peer.ReplyAlways(0, 2, {{GameServerPeer::WaitingRoomList({"1", "Hall", "2", "Lake"}), 0}});
  peer.ReplyAlways(3, 6, {{GameServerPeer::Record(3, 6, "|2|1|1|Hall|1|2|Lake|"), 0}});
  script.logins.push_back({"carol", "pw9", 0, IDOK});
  script.answers["Do you close this program?"] = IDYES;
  COrvantaApp app;
  std::ofstream("setting.ini") << "/|1024|700|/a/b/c/d/";
  ASSERT_TRUE(app.InitInstance());
  EXPECT_TRUE(app.HoldsMutex());
  auto* mainFrame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
  ASSERT_NE(mainFrame, nullptr);
  const HWND mainHandle = mainFrame->m_hWnd;
  CRect rect;
  mainFrame->GetWindowRect(&rect);
  EXPECT_EQ(rect.Size(), CSize(1024, 700));  // the size of the setting
  EXPECT_NE(dynamic_cast<COrvantaDoc*>(mainFrame->GetActiveDocument()), nullptr);
  // The program's icon at both sizes.
  EXPECT_NE(mainFrame->GetIcon(TRUE), nullptr);
  EXPECT_EQ(mainFrame->GetIcon(FALSE), mainFrame->GetIcon(TRUE));
  ASSERT_TRUE(PumpUntil([&] {
    return mainFrame->GetStartView() && mainFrame->GetStartView()->GetRoomButtonCount() == 3;
  }));

  // A second copy, while this one runs, only says so.
  const std::string command = std::string("PLATFORM_HEADLESS=1 PLATFORM_UI_SCRIPT= PLATFORM_HOME='") + home.Path() +
                              "' '" ORVANTA_PROGRAM_PATH "' 2>&1";
  FILE* second = ::popen(command.c_str(), "r");
  ASSERT_NE(second, nullptr);
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, second))
    output += buffer;
  const int status = ::pclose(second);
  EXPECT_NE(output.find("\"Already in progress.\""), std::string::npos) << output;
  EXPECT_EQ(output.find("dialog"), std::string::npos) << "no login dialog: " << output;
  EXPECT_TRUE(WIFEXITED(status));

  // The first room button asks to enter its waiting room.
  mainFrame->EndWaitCapture();
  platform::input::Click(mainFrame->GetStartView()->GetRoomButton(0)->m_hWnd, CPoint(90, 14));
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > 0 && peer.Records().back().Is(3, 1); }));

  const std::string sender = std::to_string(static_cast<int>(reinterpret_cast<INT_PTR>(mainHandle)));
  auto record = [&](const std::string& body) { return "\x1b\t" + sender + "/" + body + "\x1b\n"; };
  std::vector<std::string> raw;
  for (const PeerRecord& r : peer.Records())
    raw.push_back(r.raw);
  const std::vector<std::string> expected = {
      record("8/0/1/1/|OB_1.5|"), record("11/1/1/1/|carol|pw9|"), record("4/1/11/1/|15|"),
      record("4/0/3/1/|00|"),     record("0/0/2/1/"),             record("0/3/6/1/"),
      record("0/1/13/1/"),        record("3/3/1/1/|1|"),
  };
  EXPECT_EQ(raw, expected);

  // The close command asks, then the frame goes.
  mainFrame->SendMessage(WM_CLOSE);
  platform::PumpMessages();
  EXPECT_FALSE(::IsWindow(mainHandle));
  EXPECT_TRUE(Shown("Do you close this program?"));
  app.ExitInstance();
  EXPECT_FALSE(app.HoldsMutex());
  platform::ResetMessageQueue();
}

// A "setting.ini" whose sizes no screen holds, as a damaged file or another machine leaves it:
// the frame is held to the screen, shows, and the person logs in through it.
TEST_F(OrvantaAppTest, SizesBeyondTheScreenAreHeldToItAndThePersonLogsIn) {
  ::setenv("ORVANTA_SERVER", peer.Address().c_str(), 1);
  script.logins.push_back({"carol", "pw9", 0, IDOK});
  script.answers["Do you close this program?"] = IDYES;
  std::ofstream("setting.ini") << "/|99999|99999|/|99999999999|-7|/a/b/c/";
  COrvantaApp app;
  ASSERT_TRUE(app.InitInstance());
  auto* mainFrame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
  ASSERT_NE(mainFrame, nullptr);
  const HWND mainHandle = mainFrame->m_hWnd;
  CRect rect;
  mainFrame->GetWindowRect(&rect);
  EXPECT_EQ(rect.Size(), CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_TRUE(mainFrame->IsWindowVisible());
  ASSERT_TRUE(PumpUntil([&] {
    for (const PeerRecord& r : peer.Records())
      if (r.Is(1, 1)) return r.payload == "|carol|pw9|";
    return false;
  }));
  mainFrame->SendMessage(WM_CLOSE);
  platform::PumpMessages();
  EXPECT_FALSE(::IsWindow(mainHandle));
  app.ExitInstance();
  platform::ResetMessageQueue();
}

TEST_F(OrvantaAppTest, SavingWritesTheRecordOfTheActiveScreenOnly) {
  COrvantaApp app;
  script.logins.push_back({"", "", 0, IDCANCEL});
  ASSERT_TRUE(app.InitInstance());
  auto* mainFrame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
  ASSERT_NE(mainFrame, nullptr);
  auto* doc = dynamic_cast<COrvantaDoc*>(mainFrame->GetActiveDocument());
  ASSERT_NE(doc, nullptr);
  // The caption is the program's own, never the document's name.
  CString title;
  mainFrame->GetWindowText(title);
  EXPECT_EQ(title, "Orvanta 1.5");
  const std::string path = m_folder.Path() + "/saved.sgf";
  // The start view has no record: nothing is written, and the save counts as done.
  EXPECT_TRUE(doc->OnSaveDocument(path.c_str()));
  EXPECT_FALSE(Exists(path));
  mainFrame->RegisterView(CMainFrame::kRecordListView, RUNTIME_CLASS(CStandInView));
  mainFrame->SwitchView(CMainFrame::kRecordListView);
  EXPECT_FALSE(doc->OnSaveDocument(path.c_str()));
  EXPECT_TRUE(Shown("The selected game record is not found."));
  EXPECT_FALSE(Exists(path));
  // Saving an empty record says so before any file name is asked for.
  script.shown.clear();
  EXPECT_FALSE(doc->DoSave(nullptr));
  EXPECT_EQ(script.shown, std::vector<std::string>{"The selected game record is not found."});
  EXPECT_EQ(script.fileDialogs, 0);
  // A game between two players proposes the room's own name for it, made safe.
  ASSERT_TRUE(doc->m_listRecord.SetText("(;FF[4]GM[1]SZ[19]PB[h1:k/im:k:5d]PW[h2:lee:l:6d];B[pd])"));
  mainFrame->SetWindowText("Orvanta 1.5(7 Room)");
  const std::string missing = m_folder.Path() + "/no-such-folder/x.sgf";
  script.fileAnswer = missing;
  script.shown.clear();
  EXPECT_FALSE(doc->DoSave(nullptr));
  ASSERT_EQ(script.fileNames.size(), 1u);
  EXPECT_EQ(script.fileNames[0], "k_im_lee");
  // A file that cannot be written is reported, and the person picks another place.
  EXPECT_EQ(script.shown, std::vector<std::string>{"File save fail."});
  script.fileAnswer = path;
  EXPECT_TRUE(doc->DoSave(nullptr));
  EXPECT_TRUE(Exists(path));
  // The save leaves the room's caption alone.
  mainFrame->GetWindowText(title);
  EXPECT_EQ(title, "Orvanta 1.5(7 Room)");
  mainFrame->SetWindowText("Orvanta 1.5");
  script.fileDialogs = 0;
  // Save Play Record from the menu bar on a screen without a record (opening the File menu offline
  // brings the start screen back) says so before any file is asked for, each time.
  const std::string chosen = m_folder.Path() + "/chosen.sgf";
  script.fileAnswer = chosen;
  script.shown.clear();
  for (int time = 1; time <= 2; ++time) {
    ChooseFromMenuBar(mainFrame->m_hWnd, ID_FILE_SAVE);
    EXPECT_TRUE(PumpUntil([&] { return script.shown.size() == static_cast<std::size_t>(time); }));
    EXPECT_EQ(script.shown.back(), "The selected game record is not found.");
  }
  EXPECT_EQ(script.fileDialogs, 0);
  EXPECT_EQ(mainFrame->GetActiveViewId(), CMainFrame::kStartView);
  EXPECT_FALSE(Exists(chosen));
  EXPECT_TRUE(doc->GetPathName().IsEmpty());
  // Back on the start screen the caption is the program's again, whatever a list made it.
  mainFrame->SwitchView(CMainFrame::kRecordListView);
  mainFrame->SetWindowText("record review room");
  mainFrame->SwitchView(CMainFrame::kStartView);
  mainFrame->GetWindowText(title);
  EXPECT_EQ(title, "Orvanta 1.5");
  // The About command reaches the application, which shows its dialog.
  mainFrame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
  ASSERT_FALSE(script.dialogs.empty());
  EXPECT_EQ(script.dialogs.back().templateId, 100u);
  mainFrame->SetQuietClose(TRUE);
  mainFrame->SendMessage(WM_CLOSE);
  platform::PumpMessages();
  app.ExitInstance();
  platform::ResetMessageQueue();
}

}  // namespace
