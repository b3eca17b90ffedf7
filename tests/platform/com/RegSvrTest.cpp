// The regsvr tool run as a separate process against the test module.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "platform/com/ComTestSupport.h"
#include "platform/com/module/TestWidget.h"
#include "platform/registry.h"

#ifdef REGSVR_PATH

extern char** environ;

namespace {

// Runs regsvr with args (its output goes to /dev/null); the exit code, or -1.
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
  int started = posix_spawn(&child, REGSVR_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

bool WidgetRegistered() {
  HKEY key = nullptr;
  LONG status = RegOpenKeyEx(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(CLSID_TestWidget) + "\\InprocServer32", 0,
                             KEY_READ, &key);
  if (status == ERROR_SUCCESS) RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

TEST(RegSvrTest, RegistersAndUnregistersAModuleInPlatformHome) {
  platform::ScopedPlatformHome home;
  ASSERT_EQ(RunRegsvr({COM_TEST_MODULE_PATH}), 0);
  EXPECT_TRUE(WidgetRegistered());
  ASSERT_EQ(RunRegsvr({"-u", COM_TEST_MODULE_PATH}), 0);
  EXPECT_FALSE(WidgetRegistered());
}

TEST(RegSvrTest, BadArgumentsAndMissingModulesFail) {
  platform::ScopedPlatformHome home;
  EXPECT_EQ(RunRegsvr({}), 2);
  EXPECT_EQ(RunRegsvr({"-x", COM_TEST_MODULE_PATH}), 2);
  EXPECT_EQ(RunRegsvr({COM_TEST_MODULE_PATH, "second"}), 2);
  EXPECT_EQ(RunRegsvr({home.Path() + "/missing.so"}), 3);
  // A shared object without the entry points.
  EXPECT_EQ(RunRegsvr({"libc.so.6"}), 3);
  EXPECT_FALSE(WidgetRegistered());
}

}  // namespace

#endif
