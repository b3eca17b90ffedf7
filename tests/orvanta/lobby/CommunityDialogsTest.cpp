// The message dialogs and the replay choice, run modally headless with the test answering them.

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <platform/controls.h>
#include <platform/messageloop.h>
#include <platform/msgbox.h>
#include <platform/resources.h>
#include <platform/uiscript.h>

#include "orvanta/lobby/ReceivedMessageDlg.h"
#include "orvanta/lobby/SelectReplayDlg.h"
#include "orvanta/lobby/SendMemoDlg.h"
#include "orvanta/lobby/SendMessageDlg.h"
#include "orvanta/resources/OrvantaResources.h"

#include "support/AnsweringScript.h"

namespace {

// Message boxes answer No unless a test says otherwise.
class Script : public AnsweringScript {
public:
  Script() { button = IDNO; }
};

class CommunityDialogsTest : public ::testing::Test {
protected:
  CommunityDialogsTest() {
    static platform::ResourceModule& module = platform::CreateResourceModule("orvanta-community-dialog-tests");
    RegisterOrvantaResources(module.Handle());
    m_resources.emplace(module.Handle());
  }
  ~CommunityDialogsTest() override { platform::ResetMessageQueue(); }
  static void PressF2(CWnd* wnd, CDialog* dialog, UINT control) {
    MSG msg{wnd->GetDlgItem(static_cast<int>(control))->m_hWnd, WM_KEYDOWN, VK_F2, 0, 0, {0, 0}};
    dialog->PreTranslateMessage(&msg);
  }

  Script script;
  platform::ScopedUiScript scoped{&script};
  std::optional<platform::ResourceScope> m_resources;
};

TEST_F(CommunityDialogsTest, F2SendsTheAnswerAndABlankAnswerIsAskedAbout) {
  CReceivedMessageDlg dialog(nullptr, "amy", "hi");
  bool stayedOpen = false;
  script.answer = [&](CWnd* wnd, CDialog* object) {
    PressF2(wnd, object, CReceivedMessageDlg::kAnswerEdit);  // blank, answered No
    stayedOpen = ::IsWindow(wnd->m_hWnd) && script.shown.size() == 1;
    wnd->SetDlgItemText(CReceivedMessageDlg::kAnswerEdit, "ok");
    PressF2(wnd, object, CReceivedMessageDlg::kAnswerEdit);
    return IDCANCEL;  // only reached when F2 did not end the dialog
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(script.shown, std::vector<std::string>{"Blank message.\n\tDo you still wish to send?"});
  EXPECT_EQ(dialog.m_strAnswer, "ok");
}

// A reply names its receiver already: what the user types goes into the message, never over the
// receiver.
TEST_F(CommunityDialogsTest, AReplyStartsInTheMessageWithItsReceiverKept) {
  CSendMessageDlg dialog(nullptr);
  dialog.m_strReceiver = "amy";
  HWND focused = nullptr;
  HWND message = nullptr;
  script.answer = [&](CWnd* wnd, CDialog*) -> INT_PTR {
    focused = ::GetFocus();
    message = wnd->GetDlgItem(CSendMessageDlg::kTextEdit)->m_hWnd;
    return IDCANCEL;
  };
  dialog.DoModal();
  EXPECT_NE(message, nullptr);
  EXPECT_EQ(focused, message);
}

TEST_F(CommunityDialogsTest, AGivenWaitingRoomHidesTheListAndRaisesTheMessage) {
  int raisedBy[2] = {0, 0};
  for (const char* number : {"", "4"}) {
    CSendMemoDlg dialog(number, "dan");
    script.answer = [&](CWnd* wnd, CDialog*) {
      CRect rect;
      wnd->GetDlgItem(CSendMemoDlg::kMessageEdit)->GetWindowRect(&rect);
      raisedBy[*number ? 1 : 0] = rect.top;
      EXPECT_EQ(wnd->GetDlgItem(CSendMemoDlg::kWaitingRoomCombo)->IsWindowVisible() != FALSE, *number == 0);
      return IDCANCEL;
    };
    dialog.DoModal();
  }
  EXPECT_EQ(raisedBy[0] - raisedBy[1], CSendMemoDlg::kRaisePixels);
}

TEST_F(CommunityDialogsTest, SendMemoRefusesAnEmptyIdOrMessage) {
  CSendMemoDlg dialog("4", "");
  script.answer = [&](CWnd* wnd, CDialog* object) {
    PressF2(wnd, object, CSendMemoDlg::kMessageEdit);
    wnd->SetDlgItemText(CSendMemoDlg::kUserIdEdit, "dan");
    PressF2(wnd, object, CSendMemoDlg::kMessageEdit);
    wnd->SetDlgItemText(CSendMemoDlg::kMessageEdit, "hi");
    PressF2(wnd, object, CSendMemoDlg::kMessageEdit);
    return IDCANCEL;
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(script.shown, (std::vector<std::string>{"You have not entered your ID.\nPlease enter ID.",
                                                    "Your message is blank. \n Input message."}));
  EXPECT_EQ(dialog.m_strNumber, "4");
  EXPECT_EQ(dialog.m_strMessage, "hi");
}

TEST_F(CommunityDialogsTest, ReplayChoiceReadsRecordsUntilTheFirstEmptyOne) {
  for (const auto& [text, rows] : std::vector<std::pair<CString, int>>{{"/", 0}, {"/|amy|5D|h1|/|bo|3K|h2|//|cy|1D|h3|", 2}}) {
    CSelectReplayDlg dialog(text);
    int shownRows = -1;
    script.answer = [&](CWnd*, CDialog* object) {
      auto* select = static_cast<CSelectReplayDlg*>(object);
      shownRows = select->GetList().GetItemCount();
      if (shownRows > 1)
        select->GetList().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
      select->SendMessage(WM_COMMAND, IDOK);
      return IDCANCEL;
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(shownRows, rows);
    EXPECT_EQ(dialog.m_strPerson, rows ? "bo" : "");
    EXPECT_EQ(dialog.m_strHost, rows ? "h2" : "");
  }
}

}  // namespace
