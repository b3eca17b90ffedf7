#pragma once
// A frame logged in to a game-server peer of its own, shown, with the board control registered and
// the program's resources in a module named for the benchmark: what the frame benchmarks start from.

#include <optional>

#include <platform/files.h>
#include <platform/messageloop.h>
#include <platform/registry.h>
#include <platform/resources.h>

#include "orvanta/app/MainFrame.h"
#include "orvanta/resources/OrvantaResources.h"
#include "peers/orvanta/GameServerPeer.h"
#include "support/StolvexModuleHome.h"

struct LoggedInFrame {
  // module holds the program's resources for the frame's lifetime (one per benchmark file).
  explicit LoggedInFrame(platform::ResourceModule& module) {
    ::SetCurrentDirectory(folder.Path().c_str());
    RegisterOrvantaResources(module.Handle());
    resources.emplace(module.Handle());
    CServerAddress address;
    address.m_strHost = "127.0.0.1";
    address.m_nPort = peer.Port();
    address.m_bFound = TRUE;
    frame = new CMainFrame(address);
    frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW);
    frame->ShowWindow(SW_SHOW);
    frame->ConnectToServer("carol", "pw9");
    platform::RunUntil([&] { return frame->IsConnected() && peer.RecordCount() >= 6; }, 5000);
  }
  ~LoggedInFrame() {
    frame->DestroyWindow();
    platform::PumpMessages();
  }
  LoggedInFrame(const LoggedInFrame&) = delete;
  LoggedInFrame& operator=(const LoggedInFrame&) = delete;

  platform::ScopedPlatformHome home;
  testsupport::StolvexModuleHome control;
  platform::TempDir folder;
  std::optional<platform::ResourceScope> resources;
  GameServerPeer peer;
  CMainFrame* frame{nullptr};  // deletes itself when its window is destroyed
};
