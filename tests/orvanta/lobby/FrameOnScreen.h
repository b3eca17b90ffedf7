#pragma once
// The program's main frame on the test's X server, in a fresh working folder with the program's
// resources, for the lobby's screen tests.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include <platform/display.h>
#include <platform/files.h>
#include <platform/messageloop.h>
#include <platform/profile.h>
#include <platform/resources.h>
#include <platform/time.h>
#include <platform/windows.h>

#include "../app/MovieControlKey.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/resources/OrvantaResources.h"
#include "platform/display/XvfbServer.h"

namespace lobbytest {

// A frame in a fresh working folder shown on the test's X server; the body runs with it.
inline void WithFrame(const char* moduleName, const std::function<void(CMainFrame*)>& body, CSize size = CSize(900, 560)) {
  const std::string& display = platform::testing::TestDisplayName();
  if (display.empty())
    GTEST_SKIP() << "no X server";
  if (!platform::display::UseX11Display(display.c_str()))
    GTEST_SKIP() << "cannot open " << display;
  platform::Clock::SetManual(false);
  {
    platform::ScopedPlatformHome home;
    SetMovieControlInstalled(true);
    platform::TempDir folder;
    char* previous = ::getcwd(nullptr, 0);
    ASSERT_EQ(::chdir(folder.Path().c_str()), 0);
    platform::ResourceModule& module = platform::CreateResourceModule(moduleName);
    RegisterOrvantaResources(module.Handle());
    platform::ResourceScope resources(module.Handle());
    CServerAddress address;
    address.m_strHost = "127.0.0.1";
    address.m_nPort = 1;
    auto* frame = new CMainFrame(address);
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
    frame->MoveWindow(0, 0, size.cx, size.cy);
    frame->ShowWindow(SW_SHOW);
    body(frame);
    frame->DestroyWindow();
    platform::PumpMessages();
    if (previous) {
      (void)!::chdir(previous);
      std::free(previous);
    }
  }
  platform::display::UseHeadless();
  platform::ResetMessageQueue();
}

}  // namespace lobbytest
