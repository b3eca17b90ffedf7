#include "../../../platform/src/shell/CommandLine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/files.h"

using platform::shell::ResolveProgram;
using platform::shell::SplitCommandLine;
using Args = std::vector<std::string>;

TEST(CommandLineTest, SplitsLikeWindowsPrograms) {
  EXPECT_EQ(SplitCommandLine("DownLoad.exe 1234 -cf |a|b|"), (Args{"DownLoad.exe", "1234", "-cf", "|a|b|"}));
  EXPECT_EQ(SplitCommandLine("  a\t b  "), (Args{"a", "b"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\p.exe\" x"), (Args{"C:\\Program Files\\p.exe", "x"}));
  EXPECT_EQ(SplitCommandLine("a\"b c\"d"), (Args{"ab cd"}));
  EXPECT_EQ(SplitCommandLine("\"\" x"), (Args{"", "x"}));
  EXPECT_TRUE(SplitCommandLine("").empty());
  EXPECT_TRUE(SplitCommandLine("   ").empty());
}

TEST(CommandLineTest, BackslashesEscapeOnlyQuotes) {
  EXPECT_EQ(SplitCommandLine("a\\\\b"), (Args{"a\\\\b"}));
  EXPECT_EQ(SplitCommandLine("a\\\"b"), (Args{"a\"b"}));
  EXPECT_EQ(SplitCommandLine("\"a\\\\\" b"), (Args{"a\\", "b"}));
  EXPECT_EQ(SplitCommandLine("tail\\"), (Args{"tail\\"}));
  EXPECT_EQ(SplitCommandLine("\"open quote"), (Args{"open quote"}));
}

TEST(CommandLineTest, ProgramFoundInFolderWithOrWithoutExeEnding) {
  auto dir = platform::MakeTempDir();
  std::string tool = dir / "DownLoad";
  std::ofstream(tool) << "#!/bin/sh\nexit 0\n";
  chmod(tool.c_str(), 0755);
  std::ofstream(dir / "notrunnable") << "text";

  EXPECT_EQ(ResolveProgram(tool), tool);
  EXPECT_EQ(ResolveProgram(tool + ".exe"), tool);
  EXPECT_EQ(ResolveProgram(tool + ".EXE"), tool);
  std::string backslashed = tool + ".exe";
  for (char& c : backslashed) if (c == '/') c = '\\';
  EXPECT_EQ(ResolveProgram(backslashed), tool);
  EXPECT_FALSE(ResolveProgram(dir / "notrunnable"));
  EXPECT_FALSE(ResolveProgram(dir / "missing.exe"));
  EXPECT_FALSE(ResolveProgram(""));
  EXPECT_TRUE(ResolveProgram("sh"));  // along PATH
}
