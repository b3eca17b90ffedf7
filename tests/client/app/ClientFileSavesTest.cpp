// Every file Client writes whole besides its records (those go with the session's Save As) keeps
// its old contents when the disk is full or the program is killed in the middle of the save, and
// the same save goes through once there is room again.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "client/images/Image.h"
#include "client/relay/ClientConfig.h"
#include "platform/msgbox.h"
#include "platform/uiscript.h"
#include "support/SaveFaults.h"

namespace {

struct Save {
  const char* file;
  // Saves new contents (longer than the child's limit) as path; its result.
  std::function<bool(const std::string& path)> save;
};

// Keeps what the saves tell the person.
class Told : public platform::UiScript {
public:
  std::optional<int> OnMessageBox(const char* text, const char*, UINT) override {
    messages.emplace_back(text);
    return IDOK;
  }
  std::vector<std::string> messages;
};

// An image to save, 8 bits for the formats that need a palette.
bool SaveImage(const std::string& path, int bits) {
  CImage image;
  if (!image.Create(40, 30, bits, -1)) return false;
  if (bits == 8) {
    BYTE grey[256];
    for (int i = 0; i < 256; ++i) grey[i] = static_cast<BYTE>(i);
    image.SetPalette(256, grey, grey, grey);
    for (int x = 0; x < 40; ++x) image.SetIndex(x, x % 30, x * 6);
  }
  return image.SaveFile(path.c_str()) != FALSE;
}

TEST(ClientFileSavesTest, AFullDiskOrAKillLeavesEachOldFileAndTheSaveGoesThroughLater) {
  const Save saves[] = {
      {"client.cfg",
       [](const std::string& path) {
         CClientConfig config(path.c_str());
         config.SetValue("client ip", "relay.example.org");
         config.SetValue("client port", "13910");
         config.SetValue("help url", "http://relay.example.org/help/index.html");
         return config.Save() == 1;
       }},
      {"board.bmp", [](const std::string& path) { return SaveImage(path, 24); }},
      {"board.png", [](const std::string& path) { return SaveImage(path, 24); }},
      {"board.jpg", [](const std::string& path) { return SaveImage(path, 24); }},
      {"board.gif", [](const std::string& path) { return SaveImage(path, 8); }},
  };
  for (const Save& row : saves) testsupport::ExpectSaveKeepsTheOldFile(row.file, row.save);

  // What a GIF's failed save tells the person: a disk that took not all of it, or a file that
  // could not be made at all.
  Told told;
  platform::ScopedUiScript scoped(&told);
  testsupport::SmallDisk disk;
  EXPECT_FALSE(disk.WhileFull([&] { return SaveImage(disk / "full.gif", 8); }));
  EXPECT_FALSE(SaveImage(disk / "missing/board.gif", 8));
  EXPECT_EQ(told.messages, (std::vector<std::string>{"Write Error in GIF file", "Can't open GIF for writing"}));
}

}  // namespace
