// The Flash player stand-in, registered from its module and hosted as the start screen hosts it.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "../com/ModuleEntryCalls.h"

#include <string>
#include <vector>

#include "flash_player/FlashPlayer.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/olehost.h"
#include "platform/registry.h"
#include "platform/surface.h"
#include "support/SnapshotPath.h"

namespace {

constexpr UINT kFlashId = 1421;

// The key the start screen opens to learn whether the player is installed, spelt as it spells it.
bool PlayerInstalled() {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CLASSES_ROOT, "CLSID\\{D27CDB6E-AE6D-11cf-96B8-444553540000}", 0, KEY_ALL_ACCESS, &key) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

// The start screen's wrapper, as a program writes it.
class CFlashWrapper : public CWnd {
public:
  void SetMovie(LPCTSTR path) {
    static const BYTE parms[] = VTS_BSTR;
    InvokeHelper(kFlashMovie, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, parms, path);
  }
  CString GetMovie() {
    CString path;
    InvokeHelper(kFlashMovie, DISPATCH_PROPERTYGET, VT_BSTR, &path, nullptr);
    return path;
  }
  void SetBackgroundColor(LONG color) {
    static const BYTE parms[] = VTS_I4;
    InvokeHelper(kFlashBackgroundColor, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, parms, color);
  }
  LONG GetBackgroundColor() {
    LONG color = 0;
    InvokeHelper(kFlashBackgroundColor, DISPATCH_PROPERTYGET, VT_I4, &color, nullptr);
    return color;
  }
  void Play() { InvokeHelper(kFlashPlay, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr); }
  SHORT IsPlaying() {
    SHORT playing = 0;
    InvokeHelper(kFlashIsPlaying, DISPATCH_METHOD, VT_I2, &playing, nullptr);
    return playing;
  }
  // What a test does in the movie's place.
  void RaiseFSCommand(LPCTSTR command, LPCTSTR args) {
    static const BYTE parms[] = VTS_BSTR VTS_BSTR;
    InvokeHelper(kFlashRaiseFSCommand, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, command, args);
  }
};

class CStartView : public CWnd {
public:
  std::vector<std::pair<CString, CString>> commands;
  CFlashWrapper flash;

protected:
  void OnFSCommand(LPCTSTR command, LPCTSTR args) { commands.emplace_back(command, args); }
  DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CStartView, CWnd)
  ON_EVENT(CStartView, kFlashId, kFlashFSCommandEvent, OnFSCommand, VTS_BSTR VTS_BSTR)
END_EVENTSINK_MAP()

class FlashPlayerTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(view.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 500, 300, nullptr, nullptr));
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
    CoFreeUnusedLibraries();
  }
  bool Register() { return comtest::CallModuleEntry(FLASH_PLAYER_MODULE_PATH, "DllRegisterServer") == S_OK; }
  bool CreatePlayer() {
    return view.flash.CreateControl(CLSID_FlashPlayer, nullptr, WS_VISIBLE, CRect(181, 0, 481, 240), &view, kFlashId) !=
           FALSE;
  }

  platform::ScopedPlatformHome m_home;
  CStartView view;
};

TEST_F(FlashPlayerTest, RegistrationKeyIsWhatInstalledMeans) {
  EXPECT_FALSE(PlayerInstalled());
  EXPECT_FALSE(CreatePlayer());
  ASSERT_TRUE(Register());
  EXPECT_TRUE(PlayerInstalled());
  EXPECT_TRUE(CreatePlayer());
  ASSERT_EQ(comtest::CallModuleEntry(FLASH_PLAYER_MODULE_PATH, "DllUnregisterServer"), S_OK);
  EXPECT_FALSE(PlayerInstalled());
}

TEST_F(FlashPlayerTest, KeepsMovieAndBackgroundAndAcceptsPlay) {
  ASSERT_TRUE(Register());
  ASSERT_TRUE(CreatePlayer());
  EXPECT_STREQ(view.flash.GetMovie(), "");
  view.flash.SetMovie("/home/alice/orvanta/mainscr.swf");
  view.flash.SetBackgroundColor(0x5692A6);
  EXPECT_EQ(view.flash.IsPlaying(), 0);
  view.flash.Play();
  EXPECT_STREQ(view.flash.GetMovie(), "/home/alice/orvanta/mainscr.swf");
  EXPECT_EQ(view.flash.GetBackgroundColor(), 0x5692A6);
  EXPECT_EQ(view.flash.IsPlaying(), 1);
}

TEST_F(FlashPlayerTest, PaintsTheMovieNameOnItsBackground) {
  ASSERT_TRUE(Register());
  ASSERT_TRUE(CreatePlayer());
  view.flash.SetBackgroundColor(0x5692A6);
  view.flash.SetMovie("/missing/folder/mainscr.swf");
  view.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
  std::string path = testsupport::SnapshotPath("flash_player_standin.png");
  ASSERT_TRUE(platform::SaveSurfacePng(view.m_hWnd, path.c_str()));

  platform::PaintTarget target = platform::GetPaintTarget(view.flash.m_hWnd);
  ASSERT_NE(target.surface, nullptr);
  const std::uint32_t background = 0x5692A6;
  int background_pixels = 0, text_pixels = 0;
  for (int y = 0; y < 240; ++y) {
    const std::uint32_t* row = target.surface->Row(target.origin.y + y) + target.origin.x;
    for (int x = 0; x < 300; ++x) {
      if (row[x] == background) ++background_pixels;
      else ++text_pixels;
    }
  }
  EXPECT_GT(background_pixels, 300 * 240 * 9 / 10);
  EXPECT_GT(text_pixels, 20);  // the name is drawn, though the file does not exist
  // The corners are background.
  EXPECT_EQ(target.surface->Row(target.origin.y + 1)[target.origin.x + 1], background);
}

TEST_F(FlashPlayerTest, FSCommandReachesTheViewsSinkMap) {
  ASSERT_TRUE(Register());
  ASSERT_TRUE(CreatePlayer());
  view.flash.RaiseFSCommand("Alone", "");
  view.flash.RaiseFSCommand("Con_DisCon", Cp949("접속"));
  ASSERT_EQ(view.commands.size(), 2u);
  EXPECT_STREQ(view.commands[0].first, "Alone");
  EXPECT_STREQ(view.commands[0].second, "");
  EXPECT_STREQ(view.commands[1].first, "Con_DisCon");
  EXPECT_STREQ(view.commands[1].second, Cp949("접속"));
}

}  // namespace
