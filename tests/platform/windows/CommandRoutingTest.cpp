#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/messageloop.h"
#include "platform/windows.h"

namespace {

constexpr UINT ID_SAVE = 32771;
constexpr UINT ID_PRINT = 32772;
constexpr UINT ID_NOHANDLER = 32773;
constexpr UINT ID_COLOR_FIRST = 32800;
constexpr UINT ID_COLOR_LAST = 32809;
constexpr UINT IDC_BUTTON = 1001;
constexpr UINT IDC_LIST = 1002;
constexpr int NM_TEST = -2;

class CommandWnd : public CWnd {
public:
  std::vector<std::string> calls;
  bool printEnabled{true};

protected:
  void OnSave() { calls.push_back("save"); }
  void OnPrint() { calls.push_back("print"); }
  void OnUpdatePrint(CCmdUI* ui) {
    ui->Enable(printEnabled);
    ui->SetCheck(printEnabled ? 1 : 0);
    ui->SetText("Print...");
  }
  void OnColor(UINT id) { calls.push_back("color " + std::to_string(id - ID_COLOR_FIRST)); }
  void OnUpdateColor(CCmdUI* ui) { ui->SetRadio(ui->m_nID == ID_COLOR_FIRST + 2); }
  void OnButton() { calls.push_back("button"); }
  void OnListNotify(NMHDR* header, LRESULT* result) {
    calls.push_back("notify " + std::to_string(header->idFrom));
    *result = 77;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandWnd, CWnd)
  ON_COMMAND(ID_SAVE, OnSave)
  ON_COMMAND(ID_PRINT, OnPrint)
  ON_UPDATE_COMMAND_UI(ID_PRINT, OnUpdatePrint)
  ON_COMMAND_RANGE(ID_COLOR_FIRST, ID_COLOR_LAST, OnColor)
  ON_UPDATE_COMMAND_UI_RANGE(ID_COLOR_FIRST, ID_COLOR_LAST, OnUpdateColor)
  ON_BN_CLICKED(IDC_BUTTON, OnButton)
  ON_NOTIFY(NM_TEST, IDC_LIST, OnListNotify)
END_MESSAGE_MAP()

// A control that handles its own notifications through reflection.
class ReflectingButton : public CWnd {
public:
  int clicks{0};
  bool passOn{false};
  int notifies{0};

protected:
  BOOL OnClicked() {
    ++clicks;
    return passOn ? FALSE : TRUE;
  }
  void OnReflectedNotify(NMHDR*, LRESULT* result) {
    ++notifies;
    *result = 5;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingButton, CWnd)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
  ON_NOTIFY_REFLECT(NM_TEST, OnReflectedNotify)
END_MESSAGE_MAP()

class CommandRoutingTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr)); }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  void Command(UINT id) { wnd.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0); }
  CommandWnd wnd;
};

TEST_F(CommandRoutingTest, MenuCommandsReachTheirHandlersAndRanges) {
  Command(ID_SAVE);
  Command(ID_COLOR_FIRST + 3);
  Command(ID_COLOR_LAST + 1);  // outside the range: nobody
  EXPECT_EQ(wnd.calls, (std::vector<std::string>{"save", "color 3"}));
  EXPECT_TRUE(wnd.OnCmdMsg(ID_SAVE, CN_COMMAND, nullptr, nullptr));
  EXPECT_FALSE(wnd.OnCmdMsg(ID_NOHANDLER, CN_COMMAND, nullptr, nullptr));
}

TEST_F(CommandRoutingTest, UpdateHandlersSetTheStateOfTheCommand) {
  platform::CmdUIProbe print = platform::QueryCommandState(&wnd, ID_PRINT);
  EXPECT_TRUE(print.enableSet);
  EXPECT_TRUE(print.enabled);
  EXPECT_EQ(print.check, 1);
  EXPECT_STREQ(print.text, "Print...");
  wnd.printEnabled = false;
  print = platform::QueryCommandState(&wnd, ID_PRINT);
  EXPECT_FALSE(print.enabled);
  EXPECT_EQ(print.check, 0);

  EXPECT_EQ(platform::QueryCommandState(&wnd, ID_COLOR_FIRST + 2).check, 1);
  EXPECT_EQ(platform::QueryCommandState(&wnd, ID_COLOR_FIRST + 1).check, 0);
}

TEST_F(CommandRoutingTest, CommandsWithoutAnyHandlerAreDisabledCommandsWithOneStayEnabled) {
  platform::CmdUIProbe none = platform::QueryCommandState(&wnd, ID_NOHANDLER);
  EXPECT_TRUE(none.enableSet);
  EXPECT_FALSE(none.enabled);
  platform::CmdUIProbe save = platform::QueryCommandState(&wnd, ID_SAVE);
  EXPECT_FALSE(save.enableSet);
  EXPECT_TRUE(save.enabled);
  EXPECT_FALSE(platform::QueryCommandState(&wnd, ID_NOHANDLER, false).enableSet);
}

TEST_F(CommandRoutingTest, ADisabledMenuCommandIsNotCarriedOut) {
  wnd.printEnabled = false;
  Command(ID_PRINT);
  EXPECT_TRUE(wnd.calls.empty());
  wnd.printEnabled = true;
  Command(ID_PRINT);
  EXPECT_EQ(wnd.calls, (std::vector<std::string>{"print"}));
}

TEST_F(CommandRoutingTest, CCmdUIOnAWindowEnablesIt) {
  CWnd button;
  ASSERT_TRUE(button.Create(nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), &wnd, ID_PRINT));
  wnd.printEnabled = false;
  wnd.UpdateDialogControls(&wnd, TRUE);
  EXPECT_FALSE(button.IsWindowEnabled());
  CString text;
  button.GetWindowText(text);
  EXPECT_STREQ(text, "Print...");
}

TEST_F(CommandRoutingTest, ControlNotificationsGoToTheParentsMap) {
  CWnd button;
  ASSERT_TRUE(button.Create(nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), &wnd, IDC_BUTTON));
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON, BN_CLICKED), reinterpret_cast<LPARAM>(button.m_hWnd));
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(button.m_hWnd));
  EXPECT_EQ(wnd.calls, (std::vector<std::string>{"button"}));

  NMHDR header{button.m_hWnd, IDC_LIST, static_cast<UINT>(NM_TEST)};
  EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&header)), 77);
  EXPECT_EQ(wnd.calls.back(), "notify 1002");
}

TEST_F(CommandRoutingTest, ReflectedNotificationsReachTheControlFirst) {
  ReflectingButton button;
  ASSERT_TRUE(button.Create(nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), &wnd, IDC_BUTTON));
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON, BN_CLICKED), reinterpret_cast<LPARAM>(button.m_hWnd));
  EXPECT_EQ(button.clicks, 1);
  EXPECT_TRUE(wnd.calls.empty());  // the control kept it
  button.passOn = true;
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON, BN_CLICKED), reinterpret_cast<LPARAM>(button.m_hWnd));
  EXPECT_EQ(button.clicks, 2);
  EXPECT_EQ(wnd.calls, (std::vector<std::string>{"button"}));

  NMHDR header{button.m_hWnd, IDC_LIST, static_cast<UINT>(NM_TEST)};
  EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&header)), 5);
  EXPECT_EQ(button.notifies, 1);
  EXPECT_EQ(wnd.calls.size(), 1u);
}

// A routing target that forwards commands to a second object first, as frames do with views.
class ForwardingWnd : public CWnd {
public:
  CCmdTarget* next{nullptr};
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override {
    if (next && next->OnCmdMsg(id, code, extra, info)) return TRUE;
    return CWnd::OnCmdMsg(id, code, extra, info);
  }
};

TEST_F(CommandRoutingTest, OnCmdMsgOverridesRouteCommandsToOtherTargets) {
  ForwardingWnd frame;
  ASSERT_TRUE(frame.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  frame.next = &wnd;
  frame.SendMessage(WM_COMMAND, ID_SAVE, 0);
  EXPECT_EQ(wnd.calls, (std::vector<std::string>{"save"}));
  EXPECT_TRUE(platform::QueryCommandState(&frame, ID_SAVE).enabled);
}

}  // namespace
