#include "client/app/ConfigDlg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "client/relay/ClientConfig.h"
#include "client/resources/ClientDialogs.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/testinput.h"
#include "platform/uiscript.h"
#include "support/SnapshotPath.h"

namespace {

// Answers the configuration dialog from C++ and records the message boxes it shows.
class CConfigScript : public platform::UiScript {
public:
  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog*, HWND dialogWnd) override {
    seenTemplate = templateId;
    if (fill) fill(dialogWnd);
    return code;
  }
  std::optional<int> OnMessageBox(const char* text, const char*, UINT) override {
    shown.emplace_back(text);
    return IDOK;
  }

  std::function<void(HWND)> fill;
  std::optional<INT_PTR> code{IDOK};
  std::vector<std::string> shown;
  UINT seenTemplate{0};
};

HWND Control(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

CString Text(HWND window) {
  CString text;
  CWnd::FromHandle(window)->GetWindowText(text);
  return text;
}

void SetAddress(HWND dialog, BYTE b1, BYTE b2, BYTE b3, BYTE b4) {
  ::SendMessage(Control(dialog, CConfigDlg::kAddressCtrl), IPM_SETADDRESS, 0, MAKEIPADDRESS(b1, b2, b3, b4));
}

// The address the IP control holds, "" when it is blank.
std::string ShownAddress(HWND dialog) {
  DWORD address = 0;
  if (::SendMessage(Control(dialog, CConfigDlg::kAddressCtrl), IPM_GETADDRESS, 0,
                    reinterpret_cast<LPARAM>(&address)) != 4)
    return "";
  const BYTE fields[4] = {static_cast<BYTE>(address >> 24), static_cast<BYTE>(address >> 16),
                          static_cast<BYTE>(address >> 8), static_cast<BYTE>(address)};
  return CConfigDlg::FormatAddress(fields).GetString();
}

class ConfigDlgTest : public ::testing::Test {
protected:
  void SetUp() override {
    static platform::ResourceModule& module = platform::CreateResourceModule("client-config-dialog-tests");
    ASSERT_TRUE(RegisterClientDialogs(module.Handle()));
    scope = std::make_unique<platform::ResourceScope>(module.Handle());
  }
  void TearDown() override {
    scope.reset();
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }

  void WriteFile(const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  std::string ReadFile() const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The configuration read from the file the test wrote.
  void LoadConfig(const std::string& bytes) {
    WriteFile(bytes);
    ASSERT_EQ(config.Load(), 1);
  }
  BOOL Run() { return CConfigDlg::RunConfigSetup(nullptr, config); }

  platform::ScopedPlatformHome home;
  std::string path{home.Path() + "/client.cfg"};
  CClientConfig config{path.c_str()};
  std::unique_ptr<platform::ResourceScope> scope;
  CConfigScript script;
  platform::ScopedUiScript scoped{&script};
};

TEST_F(ConfigDlgTest, OkStoresTheNewValuesAndRewritesTheFile) {
  LoadConfig("client ip=10.0.0.1\r\nclient port=7000\r\nsound=on\r\nhelp url=http://h/\r\n");
  script.fill = [](HWND dialog) {
    SetAddress(dialog, 192, 168, 10, 250);
    ::SetDlgItemText(dialog, CConfigDlg::kPortEdit, "7010");
    ::CheckDlgButton(dialog, CConfigDlg::kSoundCheck, BST_UNCHECKED);
  };
  ASSERT_TRUE(Run());
  EXPECT_EQ(script.seenTemplate, CConfigDlg::kTemplateId);
  EXPECT_TRUE(script.shown.empty());
  EXPECT_STREQ(config.GetClientIp(), "192.168.10.250");
  EXPECT_EQ(config.GetClientPort(), 7010);
  EXPECT_FALSE(config.IsSoundOn());
  EXPECT_EQ(ReadFile(), "client ip=192.168.10.250\r\nclient port=7010\r\nsound=off\r\nhelp url=http://h/\r\n");
}

TEST_F(ConfigDlgTest, OkWithoutChangesWritesWhatWasShown) {
  LoadConfig("client ip=127.0.0.1\nclient port=21\nsound=off\n");
  ASSERT_TRUE(Run());
  EXPECT_EQ(ReadFile(), "client ip=127.0.0.1\r\nclient port=21\r\nsound=off\r\n");
  EXPECT_TRUE(config.HasServer());
}

TEST_F(ConfigDlgTest, CancelChangesNothingAndWritesNothing) {
  script.fill = [](HWND dialog) {
    SetAddress(dialog, 1, 2, 3, 4);
    ::SetDlgItemText(dialog, CConfigDlg::kPortEdit, "99");
  };
  script.code = IDCANCEL;
  EXPECT_FALSE(Run());
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(config.GetClientIp(), nullptr);
  EXPECT_EQ(config.GetClientPort(), 0);
  EXPECT_TRUE(config.IsSoundOn());
}

TEST_F(ConfigDlgTest, AnInvalidPortIsRefusedAndNothingIsWritten) {
  struct Case {
    const char* port;
    const char* message;
  };
  const Case cases[] = {
      {"70000", "Please enter a whole number between 0 and 65535."},
      {"-1", "Please enter a whole number between 0 and 65535."},
      {"port", "Please enter a whole number."},
  };
  LoadConfig("client ip=10.0.0.1\nclient port=7000\n");
  const std::string before = ReadFile();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.port);
    script.shown.clear();
    script.fill = [&](HWND dialog) {
      SetAddress(dialog, 10, 9, 8, 7);
      ::SetDlgItemText(dialog, CConfigDlg::kPortEdit, c.port);
      ::CheckDlgButton(dialog, CConfigDlg::kSoundCheck, BST_UNCHECKED);
    };
    // Nobody answers the dialog that stays open, so it ends as cancelled.
    EXPECT_FALSE(Run());
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0], c.message);
    EXPECT_STREQ(config.GetClientIp(), "10.0.0.1");
    EXPECT_EQ(config.GetClientPort(), 7000);
    EXPECT_TRUE(config.IsSoundOn());
    EXPECT_EQ(ReadFile(), before);
  }
}

// An address with a field left blank is refused, so the stored one is never thrown away without
// a word; filled in, it is saved.
TEST_F(ConfigDlgTest, APartlyBlankAddressIsRefusedAndTheStoredOneKept) {
  LoadConfig("client ip=127.0.0.1\nclient port=7000\n");
  const std::string before = ReadFile();
  script.fill = [&](HWND dialog) {
    SetAddress(dialog, 127, 0, 0, 1);
    // Entered, the first field is selected; BackSpace leaves it blank.
    ::SetFocus(Control(dialog, CConfigDlg::kAddressCtrl));
    platform::input::PressKey(VK_BACK);
    platform::PumpMessages();
  };
  EXPECT_FALSE(Run());
  ASSERT_EQ(script.shown.size(), 1u);
  EXPECT_EQ(script.shown[0], "Please enter all four numbers of the server's address.");
  EXPECT_STREQ(config.GetClientIp(), "127.0.0.1");
  EXPECT_EQ(ReadFile(), before);

  script.shown.clear();
  script.fill = [&](HWND dialog) { SetAddress(dialog, 127, 0, 0, 11); };
  EXPECT_TRUE(Run());
  EXPECT_TRUE(script.shown.empty());
  EXPECT_STREQ(config.GetClientIp(), "127.0.0.11");
}

TEST_F(ConfigDlgTest, TheDialogShowsTheConfigurationAndItsTexts) {
  LoadConfig("client ip=211.43.7.9\nclient port=5050\nsound=off\n");
  std::string address;
  CString port, title, addressLabel, portLabel, soundLabel;
  UINT sound = 99;
  script.fill = [&](HWND dialog) {
    address = ShownAddress(dialog);
    port = Text(Control(dialog, CConfigDlg::kPortEdit));
    sound = ::IsDlgButtonChecked(dialog, CConfigDlg::kSoundCheck);
    title = Text(dialog);
    addressLabel = Text(Control(dialog, CConfigDlg::kAddressLabel));
    portLabel = Text(Control(dialog, CConfigDlg::kPortLabel));
    soundLabel = Text(Control(dialog, CConfigDlg::kSoundCheck));
  };
  script.code = IDCANCEL;
  EXPECT_FALSE(Run());
  EXPECT_EQ(address, "211.43.7.9");
  EXPECT_EQ(port, "5050");
  EXPECT_EQ(sound, static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(title, "Configuration");
  EXPECT_EQ(addressLabel, "Server IP");
  EXPECT_EQ(portLabel, "Server Port");
  EXPECT_EQ(soundLabel, "Sound");
}

TEST_F(ConfigDlgTest, AnAddressTheControlCannotShowLeavesItBlankAndOkStoresNoAddress) {
  for (const char* text : {"", "relay.example", "300.1.2.3"}) {
    SCOPED_TRACE(text);
    config.SetClientIp(text);
    config.SetClientPort(7000);
    std::string shown = "?";
    script.fill = [&](HWND dialog) { shown = ShownAddress(dialog); };
    ASSERT_TRUE(Run());
    EXPECT_EQ(shown, "");
    EXPECT_EQ(config.GetClientIp(), nullptr);
    EXPECT_FALSE(config.HasServer());
    EXPECT_EQ(ReadFile(), "client ip=\r\nclient port=7000\r\nsound=on\r\n");
  }
}

TEST_F(ConfigDlgTest, AShortOrNumericFormAddressIsShownAndSavedDotted) {
  config.SetClientIp("0x7f.1");
  config.SetClientPort(1);
  std::string shown;
  script.fill = [&](HWND dialog) { shown = ShownAddress(dialog); };
  ASSERT_TRUE(Run());
  EXPECT_EQ(shown, "127.0.0.1");
  EXPECT_STREQ(config.GetClientIp(), "127.0.0.1");
}

TEST_F(ConfigDlgTest, AFileScriptSetsThePortAndSound) {
  std::vector<std::string> errors;
  platform::FileUiScript file(
      platform::ParseUiScript("dialog 318 text 1045=8080 check 1067=0 end OK\n", &errors));
  ASSERT_TRUE(errors.empty());
  platform::ScopedUiScript use(&file);
  config.SetClientIp("10.1.1.1");
  ASSERT_TRUE(Run());
  EXPECT_TRUE(file.Remaining().empty());
  EXPECT_EQ(ReadFile(), "client ip=10.1.1.1\r\nclient port=8080\r\nsound=off\r\n");
}

TEST_F(ConfigDlgTest, PictureOfTheDialog) {
  LoadConfig("client ip=211.43.7.9\nclient port=5050\nsound=on\n");
  bool saved = false;
  script.fill = [&](HWND dialog) {
    platform::PumpMessages();
    saved = platform::SaveSurfacePng(dialog, testsupport::SnapshotPath("client-config-dialog.png").c_str());
  };
  script.code = IDCANCEL;
  EXPECT_FALSE(Run());
  EXPECT_TRUE(saved);
}

TEST(ConfigDlgAddressTest, ReadsDottedTextAsInetAddrDoes) {
  struct Case {
    const char* text;
    const char* dotted;  // null: not an address
  };
  const Case cases[] = {
      {"192.168.0.1", "192.168.0.1"}, {"10.1", "10.0.0.1"},  {"10.1.258", "10.1.1.2"},
      {"0x7f.0.0.01", "127.0.0.1"},   {"010.0.0.1", "8.0.0.1"}, {"0.0.0.0", "0.0.0.0"},
      {"", nullptr},                  {"256.1.1.1", nullptr},  {"1.2.3.4.5", nullptr},
      {"relay.example", nullptr},     {"1..2.3", nullptr},     {"255.255.255.255", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    BYTE fields[4] = {9, 9, 9, 9};
    const BOOL parsed = CConfigDlg::ParseAddress(c.text, fields);
    ASSERT_EQ(parsed != FALSE, c.dotted != nullptr);
    if (c.dotted) {
      EXPECT_EQ(CConfigDlg::FormatAddress(fields), c.dotted);
    }
  }
  BYTE fields[4] = {};
  EXPECT_FALSE(CConfigDlg::ParseAddress(nullptr, fields));
}

TEST(ClientDialogsTest, RegisteringNeedsAKnownModule) {
  EXPECT_FALSE(RegisterClientDialogs(nullptr));
  platform::ResourceModule& module = platform::CreateResourceModule("client-dialogs-registration");
  ASSERT_TRUE(RegisterClientDialogs(module.Handle()));
  platform::ResourceScope scope(module.Handle());
  const platform::DialogTemplate* tmpl = platform::FindDialogTemplate(MAKEINTRESOURCE(CConfigDlg::kTemplateId));
  ASSERT_NE(tmpl, nullptr);
  EXPECT_EQ(tmpl->caption, "Configuration");
}

}  // namespace
