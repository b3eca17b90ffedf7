// The configuration dialog on an X server, answered as a person answers it: a click or Shift+Tab
// into the address, the address typed over what it held, Tab and Shift+Tab between the fields,
// a click on OK.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "client/relay/ClientConfig.h"
#include "client/app/ConfigDlg.h"
#include "client/resources/ClientDialogs.h"
#include "platform/controls.h"
#include "platform/display.h"
#include "platform/display/XvfbServer.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/time.h"
#include "support/SnapshotPath.h"
#include "platform/display/XPointerKeys.h"  // last: Xlib's macros

namespace {

using platform::testing::XPointerKeys;

HWND ConfigDialog() {
  for (HWND hwnd : platform::AllWindows()) {
    CString title;
    CWnd::FromHandle(hwnd)->GetWindowText(title);
    if (::GetParent(hwnd) == nullptr && ::IsWindowVisible(hwnd) && title == "Configuration") return hwnd;
  }
  return nullptr;
}

// The address typed is what is saved, whether the field was blank or held another address, and
// whether it was entered by a click or by Shift+Tab from the port.
TEST(ConfigDlgX11Test, AnAddressTypedIntoTheDialogIsSavedToTheFile) {
  const std::string& display = platform::testing::TestDisplayName();
  if (display.empty()) GTEST_SKIP() << "no X server";
  static platform::ResourceModule& module = platform::CreateResourceModule("client-config-x11-tests");
  ASSERT_TRUE(RegisterClientDialogs(module.Handle()));
  platform::ResourceScope scope(module.Handle());
  struct Case {
    const char* what;
    const char* file;  // client.cfg before
    bool byTab;        // entered by Shift+Tab from the port, else by a click on its first field
    const char* typed;
  };
  const Case cases[] = {
      {"the first run's file: a port, no address", "client port=7000\r\nsound=on\r\n", false, "10.20.30.40"},
      {"a stored address, clicked", "client ip=127.0.0.11\r\nclient port=7000\r\nsound=on\r\n", false, "127.0.0.1"},
      {"a stored address, tabbed into", "client ip=127.0.0.11\r\nclient port=7000\r\nsound=on\r\n", true, "127.0.0.1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::ScopedPlatformHome home;
    const std::string path = home.Path() + "/client.cfg";
    std::ofstream(path, std::ios::binary) << c.file;
    CClientConfig config(path.c_str());
    ASSERT_EQ(config.Load(), 1);
    platform::Clock::SetManual(false);
    ASSERT_TRUE(platform::display::UseX11Display(display.c_str()));
    XPointerKeys input(display);
    ASSERT_TRUE(input.Ready());

    HWND dialog = nullptr;
    auto control = [&](int id) { return ::GetDlgItem(dialog, id); };
    auto text = [&](int id) {
      CString t;
      CWnd::FromHandle(control(id))->GetWindowText(t);
      return t;
    };
    const int entry = c.byTab ? CConfigDlg::kPortEdit : CConfigDlg::kAddressCtrl;
    platform::testing::TimedSteps steps({
        {[&] { return (dialog = ConfigDialog()) != nullptr; }, [&] { input.Click(control(entry), CPoint(8, 8)); }},
        {[&] { return ::GetFocus() == control(entry); },
         [&] {
           if (c.byTab) input.Key(dialog, XK_Tab, ShiftMask);
         }},
        {[&] { return ::GetFocus() == control(CConfigDlg::kAddressCtrl); }, [&] { input.Type(dialog, c.typed); }},
        {[&] { return text(CConfigDlg::kAddressCtrl) == c.typed; },
         [&] {
           ::UpdateWindow(dialog);
           platform::SaveSurfacePng(input.Shown(dialog), testsupport::SnapshotPath("x11_config_address.png").c_str());
           input.Key(dialog, XK_Tab);
         }},
        {[&] { return ::GetFocus() == control(CConfigDlg::kPortEdit); },
         [&] { input.Key(dialog, XK_Tab, ShiftMask); }},
        {[&] { return ::GetFocus() == control(CConfigDlg::kAddressCtrl); },
         [&] { input.Click(control(IDOK), CPoint(10, 8)); }},
    }, [] {
      // Given up: the dialog is cancelled so that the test goes on to fail.
      if (HWND open = ConfigDialog()) ::PostMessage(open, WM_COMMAND, IDCANCEL, 0);
    });
    const BOOL accepted = CConfigDlg::RunConfigSetup(nullptr, config);
    const bool allDone = steps.Done();
    platform::DestroyAllWindows();
    platform::display::UseHeadless();
    platform::ResetMessageQueue();

    EXPECT_TRUE(allDone) << steps.StepsDone();
    EXPECT_TRUE(accepted);
    EXPECT_STREQ(config.GetClientIp(), c.typed);
    std::ifstream in(path, std::ios::binary);
    std::stringstream saved;
    saved << in.rdbuf();
    EXPECT_NE(saved.str().find("client ip=" + std::string(c.typed) + "\r\n"), std::string::npos) << saved.str();
    EXPECT_NE(saved.str().find("client port=7000\r\n"), std::string::npos) << saved.str();
  }
}

}  // namespace
