// The small lobby dialogs, run modally headless with the test answering them.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

#include <platform/controls.h>
#include <platform/dialogs.h>
#include <platform/messageloop.h>
#include <platform/msgbox.h>
#include <platform/resources.h>
#include <platform/time.h>
#include <platform/uiscript.h>
#include <platform/windows.h>

#include "orvanta/lobby/ChatMacroDlg.h"
#include "orvanta/lobby/NegotiationReplyDlg.h"
#include "orvanta/lobby/NoticeDlg.h"
#include "orvanta/lobby/OpenRoomDlg.h"
#include "orvanta/lobby/PasswordDlg.h"
#include "orvanta/lobby/ViewModeDlg.h"
#include "orvanta/resources/OrvantaResources.h"

namespace {

class DialogScript : public platform::UiScript {
public:
  std::optional<INT_PTR> OnModalDialog(UINT, CDialog* dialog, HWND wnd) override {
    return answer ? answer(CWnd::FromHandle(wnd), dialog) : IDCANCEL;
  }
  std::optional<int> OnMessageBox(const char*, const char*, UINT style) override {
    ++boxes;
    if (whileBoxShown)
      whileBoxShown();
    return platform::DefaultMessageBoxButton(style);
  }
  std::function<INT_PTR(CWnd*, CDialog*)> answer;
  std::function<void()> whileBoxShown;  // the time a person takes to read a box
  int boxes{0};
};

class LobbyDialogsTest : public ::testing::Test {
protected:
  LobbyDialogsTest() {
    static platform::ResourceModule& module = platform::CreateResourceModule("orvanta-lobby-dialog-tests");
    RegisterOrvantaResources(module.Handle());
    m_resources.emplace(module.Handle());
  }
  ~LobbyDialogsTest() override { platform::ResetMessageQueue(); }
  // A character typed into control id of dialog: TRUE when the dialog's filter dropped it.
  static BOOL Typed(CWnd* dialog, CDialog* object, UINT id, char ch) {
    CWnd* edit = dialog->GetDlgItem(static_cast<int>(id));
    edit->SetFocus();
    MSG msg{edit->m_hWnd, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(ch)), 0, 0, {0, 0}};
    return object->PreTranslateMessage(&msg);
  }

  DialogScript script;
  platform::ScopedUiScript scoped{&script};
  std::optional<platform::ResourceScope> m_resources;
};

TEST_F(LobbyDialogsTest, PasswordDropsSeparatorsAndHoldsTenCharacters) {
  CPasswordDlg dialog;
  script.answer = [](CWnd* wnd, CDialog* object) {
    EXPECT_TRUE(Typed(wnd, object, CPasswordDlg::kPasswordEdit, '|'));
    EXPECT_TRUE(Typed(wnd, object, CPasswordDlg::kPasswordEdit, '/'));
    EXPECT_FALSE(Typed(wnd, object, CPasswordDlg::kPasswordEdit, 'a'));
    EXPECT_EQ(wnd->GetDlgItem(CPasswordDlg::kPasswordEdit)->SendMessage(EM_GETLIMITTEXT), 10);
    wnd->SetDlgItemText(CPasswordDlg::kPasswordEdit, "open9");
    return IDOK;
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_strPassword, "open9");
}

TEST_F(LobbyDialogsTest, ChatMacrosDeleteAllOnlyOnScreenUntilOk) {
  CChatMacroDlg dialog;
  dialog.m_macros[0] = "hi";
  dialog.m_macros[7] = "bye";
  script.answer = [](CWnd* wnd, CDialog*) {
    CString shown;
    wnd->GetDlgItemText(CChatMacroDlg::kFirstEdit + 7, shown);
    EXPECT_EQ(shown, "bye");
    wnd->SendMessage(WM_COMMAND, MAKEWPARAM(CChatMacroDlg::kDeleteAllButton, BN_CLICKED), 0);
    wnd->GetDlgItemText(CChatMacroDlg::kFirstEdit, shown);
    EXPECT_EQ(shown, "");
    return IDCANCEL;
  };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  // The phrases are emptied in the dialog only; its caller takes them back on OK alone.
  EXPECT_EQ(dialog.m_macros[0], "");
  dialog.m_macros[0] = "hi";
  script.answer = [](CWnd* wnd, CDialog* object) {
    EXPECT_TRUE(Typed(wnd, object, CChatMacroDlg::kFirstEdit + 2, '|'));
    wnd->SetDlgItemText(CChatMacroDlg::kFirstEdit + 3, "gg");
    return IDOK;
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_macros[3], "gg");
  EXPECT_EQ(dialog.m_macros[0], "hi");
}

TEST_F(LobbyDialogsTest, OpenRoomDefaultsAndPrivatePassword) {
  COpenRoomDlg dialog;
  EXPECT_EQ(dialog.m_nVisibility, -1);
  script.answer = [](CWnd* wnd, CDialog*) {
    EXPECT_TRUE(wnd->IsDlgButtonChecked(COpenRoomDlg::kPublicRadio));
    EXPECT_TRUE(wnd->IsDlgButtonChecked(COpenRoomDlg::kHintCheck));
    CWnd* password = wnd->GetDlgItem(COpenRoomDlg::kPasswordEdit);
    EXPECT_FALSE(password->IsWindowEnabled());
    wnd->CheckDlgButton(COpenRoomDlg::kPublicRadio, BST_UNCHECKED);
    wnd->CheckDlgButton(COpenRoomDlg::kPrivateRadio, BST_CHECKED);
    wnd->SendMessage(WM_COMMAND, MAKEWPARAM(COpenRoomDlg::kPrivateRadio, BN_CLICKED), 0);
    EXPECT_TRUE(password->IsWindowEnabled());
    wnd->SetDlgItemText(COpenRoomDlg::kPasswordEdit, "abc");
    wnd->CheckDlgButton(COpenRoomDlg::kPrivateRadio, BST_UNCHECKED);
    wnd->CheckDlgButton(COpenRoomDlg::kPublicRadio, BST_CHECKED);
    wnd->SendMessage(WM_COMMAND, MAKEWPARAM(COpenRoomDlg::kPublicRadio, BN_CLICKED), 0);
    EXPECT_FALSE(password->IsWindowEnabled());
    EXPECT_EQ(wnd->GetDlgItem(COpenRoomDlg::kTitleEdit)->SendMessage(EM_GETLIMITTEXT), 35);
    return IDOK;
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_strTitle, "Good Play!!");
  EXPECT_EQ(dialog.m_strPassword, "");
  EXPECT_EQ(dialog.m_nVisibility, 0);
  EXPECT_EQ(dialog.m_nHint, 1);
}

TEST_F(LobbyDialogsTest, NoticeCaptionGoToAndReadOnlyText) {
  CNoticeDlg plain(nullptr, "Server closes at 3.", "", 0);
  script.answer = [](CWnd* wnd, CDialog* object) {
    CString caption;
    wnd->GetWindowText(caption);
    EXPECT_EQ(caption, "Notice");
    EXPECT_FALSE(wnd->GetDlgItem(CNoticeDlg::kGoToButton)->IsWindowVisible());
    CString text;
    wnd->GetDlgItemText(CNoticeDlg::kTextEdit, text);
    EXPECT_EQ(text, "Server closes at 3.");
    MSG key{wnd->GetDlgItem(CNoticeDlg::kTextEdit)->m_hWnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_TRUE(object->PreTranslateMessage(&key));
    return IDOK;
  };
  EXPECT_EQ(plain.DoModal(), IDOK);
  CNoticeDlg linked(nullptr, "New event", "Event", 1);
  script.answer = [](CWnd* wnd, CDialog*) {
    CString caption;
    wnd->GetWindowText(caption);
    EXPECT_EQ(caption, "Event");
    return static_cast<INT_PTR>(CNoticeDlg::kGoToButton);
  };
  EXPECT_EQ(linked.DoModal(), CNoticeDlg::kGoToResult);
}

TEST_F(LobbyDialogsTest, ViewModeTakesTheChosenInterval) {
  CViewModeDlg dialog;
  script.answer = [](CWnd* wnd, CDialog*) {
    CString shown;
    wnd->GetDlgItemText(CViewModeDlg::kIntervalCombo, shown);
    EXPECT_EQ(shown, "1sec");
    wnd->SetDlgItemText(CViewModeDlg::kIntervalCombo, Cp949("5초"));
    return IDOK;
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_strInterval, Cp949("5초"));
}

TEST_F(LobbyDialogsTest, ReplyDialogShowsTheProposalAndTheRightOpponent) {
  const CString proposal = "|a|b|3|carol|s|5K|4|bob|s|1D|3|6.5|5400|30|3|3|1|";
  // The ID alone does not make the user the black player: the waiting room must match too.
  CNegotiationReplyDlg dialog(proposal, "9", "carol");
  script.answer = [](CWnd* wnd, CDialog*) {
    CString shown;
    wnd->GetDlgItemText(CNegotiationReplyDlg::kOpponentIdEdit, shown);
    EXPECT_EQ(shown, "carol");
    wnd->GetDlgItemText(CNegotiationReplyDlg::kTimeLimitCombo, shown);
    EXPECT_EQ(shown, Cp949("1시간"));
    EXPECT_FALSE(wnd->GetDlgItem(CNegotiationReplyDlg::kKomiEdit)->IsWindowEnabled());
    EXPECT_TRUE(wnd->IsDlgButtonChecked(CNegotiationReplyDlg::kAutoColourRadio));
    return IDOK;
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_nCondition, kConditionHandicap);
  EXPECT_EQ(dialog.m_strHandicap, "3");
  EXPECT_FLOAT_EQ(dialog.m_fKomi, 6.5f);  // the proposer's komi stands with a handicap too
  EXPECT_EQ(dialog.m_strOpponentNumber, "3");
  EXPECT_EQ(dialog.GetProposalField(2), "carol");

  CNegotiationReplyDlg asBlack(proposal, "3", "carol");
  script.answer = [](CWnd* wnd, CDialog*) {
    CString shown;
    wnd->GetDlgItemText(CNegotiationReplyDlg::kOpponentIdEdit, shown);
    EXPECT_EQ(shown, "bob");
    // A komi outside 0 to 15.5 keeps Renego from closing the dialog.
    wnd->SetDlgItemText(CNegotiationReplyDlg::kKomiEdit, "20");
    wnd->SendMessage(WM_COMMAND, MAKEWPARAM(CNegotiationReplyDlg::kRenegoButton, BN_CLICKED), 0);
    return IDCANCEL;
  };
  EXPECT_EQ(asBlack.DoModal(), IDCANCEL);
  EXPECT_EQ(asBlack.m_strOpponentNumber, "4");
}

// A refused komi is explained in a box; the reply's time limit waits while the person reads it,
// and the dialog is still there to be answered afterwards, its clock running on from where it was.
TEST_F(LobbyDialogsTest, TheReplyClockWaitsWhileARefusedKomiIsExplained) {
  platform::ManualClockScope manual;
  const auto seconds = [](int count) {
    for (int i = 0; i < count; ++i) {
      platform::Clock::Advance(1000);
      platform::PumpMessages();
    }
  };
  const CString evenGame = "|a|b|3|carol|s|5K|4|bob|s|1D|0|6.5|1800|30|3|3|1|";
  CNegotiationReplyDlg dialog(evenGame, "9", "carol");
  int ticksAfterBox = -1;
  int ticksLater = -1;
  script.answer = [&](CWnd* wnd, CDialog*) -> INT_PTR {
    seconds(10);
    wnd->SetDlgItemText(CNegotiationReplyDlg::kKomiEdit, "20");
    script.whileBoxShown = [&] { seconds(40); };
    wnd->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);  // Agree: the komi is refused
    script.whileBoxShown = nullptr;
    ticksAfterBox = dialog.GetTickCount();
    seconds(5);
    ticksLater = dialog.GetTickCount();
    wnd->SetDlgItemText(CNegotiationReplyDlg::kKomiEdit, "7.5");
    return CNegotiationReplyDlg::kRenegoButton;
  };
  EXPECT_EQ(dialog.DoModal(), CNegotiationReplyDlg::kRenegoResult);
  EXPECT_EQ(script.boxes, 1);
  EXPECT_EQ(ticksAfterBox, 10);
  EXPECT_EQ(ticksLater, 15);
  EXPECT_FLOAT_EQ(dialog.m_fKomi, 7.5f);
}

}  // namespace
