#pragma once
// A fixture for a test that starts a program of the suite on the tests' X server and uses it as a
// person does: a folder for the program to run in, with a home for its settings, and a look at the
// screen. Skips when there is no X server.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>

#include <platform/files.h>

#include "platform/display/XvfbServer.h"
#include "support/ProgramScreen.h"

namespace testsupport {

class ProgramOnScreenTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (m_display.empty()) GTEST_SKIP() << "no X server";
    ::mkdir(Home().c_str(), 0700);
    m_screen = std::make_unique<ProgramScreen>(m_display);
    ASSERT_TRUE(m_screen->Ready());
  }

  const std::string& DisplayName() const { return m_display; }
  // The folder the program runs in, and the home inside it that keeps its settings.
  const std::string& Folder() const { return m_folder.Path(); }
  std::string Home() const { return m_folder.Path() + "/home"; }
  ProgramScreen& Screen() { return *m_screen; }

private:
  const std::string& m_display = platform::testing::TestDisplayName();
  platform::TempDir m_folder;
  std::unique_ptr<ProgramScreen> m_screen;
};

}  // namespace testsupport
