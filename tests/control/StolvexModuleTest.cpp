// The control module as a registration tool and a container meet it: regsvr writes its keys and
// takes every one of them back, and the module may unload only when nothing of it is alive.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com_dispatch.h"
#include "platform/olecontrol.h"
#include "platform/registry.h"
#include "support/StolvexModuleHome.h"

extern char** environ;

namespace {

constexpr CLSID kStolvexClsid = GuidFromText("{87C23E88-067C-11D3-A9BF-00A024930AD4}");
constexpr CLSID kPropPageClsid = GuidFromText("{87C23E89-067C-11D3-A9BF-00A024930AD4}");

int RunRegsvr(std::vector<std::string> args) {
  args.insert(args.begin(), REGSVR_PATH);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int started = posix_spawn(&child, REGSVR_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Every key and value below path, one line each, in store order.
void Dump(HKEY root, const std::string& path, std::string& out) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  out += "[" + path + "]\n";
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameSize = sizeof name, type = 0;
    BYTE data[1024];
    DWORD dataSize = sizeof data;
    if (RegEnumValue(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    out += std::string(name) + "=" + std::string(reinterpret_cast<char*>(data), dataSize) + "\n";
  }
  std::vector<std::string> children;
  for (DWORD i = 0;; ++i) {
    char name[256];
    if (RegEnumKey(key, i, name, sizeof name) != ERROR_SUCCESS) break;
    children.push_back(name);
  }
  RegCloseKey(key);
  for (const std::string& child : children) Dump(root, path.empty() ? child : path + "\\" + child, out);
}

std::string Registry() {
  std::string out;
  Dump(HKEY_CLASSES_ROOT, "", out);
  return out;
}

std::string Text(const char* subKey, const char* value = nullptr) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CLASSES_ROOT, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
  char data[512] = {};
  DWORD size = sizeof data - 1, type = 0;
  const LONG status = RegQueryValueEx(key, value, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? std::string(data) : "<no value>";
}

TEST(StolvexModuleTest, RegsvrWritesTheKeysAndUnregisteringTakesBackEveryOne) {
  for (bool othersPresent : {false, true}) {
    platform::ScopedPlatformHome home;
    if (othersPresent) {
      // Another program's application and class keys stay where they are.
      ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "AppID\\{0B1D2F3A-0000-4000-8000-000000000001}", REG_SZ, "Other", 5),
                ERROR_SUCCESS);
      ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "CLSID\\{0B1D2F3A-0000-4000-8000-000000000002}", REG_SZ, "Other", 5),
                ERROR_SUCCESS);
    }
    const std::string before = Registry();
    ASSERT_EQ(RunRegsvr({STOLVEX_MODULE_PATH}), 0);
    EXPECT_EQ(Text("CLSID\\{87C23E88-067C-11D3-A9BF-00A024930AD4}"), "Stolvex Control");
    EXPECT_NE(Text("CLSID\\{87C23E88-067C-11D3-A9BF-00A024930AD4}\\InprocServer32").find("libstolvex.so"),
              std::string::npos);
    EXPECT_EQ(Text("STOLVEX.StolvexCtrl.1\\CLSID"), "{87C23E88-067C-11D3-A9BF-00A024930AD4}");
    EXPECT_EQ(Text("STOLVEX.StolvexPropPage.1\\CLSID"), "{87C23E89-067C-11D3-A9BF-00A024930AD4}");
    EXPECT_EQ(Text("CLSID\\{87C23E89-067C-11D3-A9BF-00A024930AD4}"), "Stolvex Property Page");
    EXPECT_EQ(Text("CLSID\\{87C23E88-067C-11D3-A9BF-00A024930AD4}\\MiscStatus\\1"), std::to_string(0x20191));
    EXPECT_EQ(Text("TypeLib\\{87C23E85-067C-11D3-A9BF-00A024930AD4}\\1.0"), "Stolvex ActiveX Control module");
    EXPECT_EQ(Text("Interface\\{87C23E86-067C-11D3-A9BF-00A024930AD4}"), "_DStolvex");
    EXPECT_EQ(Text("AppID\\{87C23E9F-067C-11D3-A9BF-00A024930AD4}"), "Stolvex");
    EXPECT_EQ(Text("AppID\\Stolvex.EXE", "AppID"), "{87C23E9F-067C-11D3-A9BF-00A024930AD4}");
    // Registering twice changes nothing; unregistering once removes it all.
    ASSERT_EQ(RunRegsvr({STOLVEX_MODULE_PATH}), 0);
    ASSERT_EQ(RunRegsvr({"-u", STOLVEX_MODULE_PATH}), 0);
    // The AppID collection stays even when ours was its only entry; all else is as it was.
    EXPECT_EQ(Text("AppID"), "<no value>");
    EXPECT_EQ(Text("AppID\\Stolvex.EXE", "AppID"), "<no key>");
    if (!othersPresent) RegDeleteKey(HKEY_CLASSES_ROOT, "AppID");
    EXPECT_EQ(Registry(), before);
  }
}

TEST(StolvexModuleTest, RegistrationSaysWhichStepTheRegistryRefused) {
  struct Case {
    const char* key;  // made beforehand and protected against writing
    HRESULT expected;
  };
  for (const Case& c : {Case{"TypeLib\\{87C23E85-067C-11D3-A9BF-00A024930AD4}\\1.0", SELFREG_E_TYPELIB},
                        Case{"CLSID\\{87C23E88-067C-11D3-A9BF-00A024930AD4}", SELFREG_E_CLASS},
                        Case{"AppID\\{87C23E9F-067C-11D3-A9BF-00A024930AD4}", SELFREG_E_CLASS}}) {
    platform::ScopedPlatformHome home;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_CLASSES_ROOT, c.key, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(platform::RegistryProtectKey(HKEY_CLASSES_ROOT, c.key, true), ERROR_SUCCESS);
    EXPECT_EQ(testsupport::StolvexModuleHome::CallEntry("DllRegisterServer"), c.expected) << c.key;
  }
}

TEST(StolvexModuleTest, ModuleUnloadsOnlyAfterItsLastObjectIsReleased) {
  testsupport::StolvexModuleHome home;
  ASSERT_TRUE(home.Registered());
  IDispatch* board = nullptr;
  ASSERT_EQ(CoCreateInstance(kStolvexClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                             reinterpret_cast<void**>(&board)),
            S_OK);
  EXPECT_EQ(testsupport::StolvexModuleHome::CanUnloadNow(), S_FALSE);
  // A move record and the history list outlive the control while the container holds them.
  DISPPARAMS move{};
  VARIANT args[4];
  for (int k = 0; k < 4; ++k) {
    args[k].vt = VT_I2;
    args[k].iVal = static_cast<SHORT>(k == 1 ? 2 : 3);
  }
  move.rgvarg = args;
  move.cArgs = 4;
  DISPPARAMS mode{};
  VARIANT random;
  random.vt = VT_I4;
  random.lVal = 2048;
  DISPID put = DISPID_PROPERTYPUT;
  mode.rgvarg = &random;
  mode.cArgs = 1;
  mode.rgdispidNamedArgs = &put;
  mode.cNamedArgs = 1;
  ASSERT_EQ(board->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYPUT, &mode, nullptr, nullptr, nullptr), S_OK);
  ASSERT_EQ(board->Invoke(12, IID_NULL, 0, DISPATCH_METHOD, &move, nullptr, nullptr, nullptr), S_OK);
  DISPPARAMS none{};
  CComVariant list;
  ASSERT_EQ(board->Invoke(14, IID_NULL, 0, DISPATCH_METHOD, &none, &list, nullptr, nullptr), S_OK);
  ASSERT_EQ(list.vt, VT_DISPATCH);
  board->Release();
  EXPECT_EQ(testsupport::StolvexModuleHome::CanUnloadNow(), S_FALSE);
  list.Clear();
  EXPECT_EQ(testsupport::StolvexModuleHome::CanUnloadNow(), S_OK);

  // The property page: a note, nothing to edit.
  IOlePropertyPage* page = nullptr;
  ASSERT_EQ(CoCreateInstance(kPropPageClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOlePropertyPage,
                             reinterpret_cast<void**>(&page)),
            S_OK);
  PROPPAGEINFO info;
  ASSERT_EQ(page->GetPageInfo(&info), S_OK);
  EXPECT_STREQ(info.title, "General");
  EXPECT_STREQ(info.docString, "Names to appear in the control");
  EXPECT_STREQ(info.helpFile, "STOLVEX.HLP");
  EXPECT_EQ(testsupport::StolvexModuleHome::CanUnloadNow(), S_FALSE);
  page->Release();
  EXPECT_EQ(testsupport::StolvexModuleHome::CanUnloadNow(), S_OK);
}

}  // namespace
