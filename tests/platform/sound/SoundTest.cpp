#include "platform/sound.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/files/FileTestSupport.h"
#include "platform/resources.h"

namespace {

// A wave file of 8-bit mono samples at 8 kHz.
std::vector<std::uint8_t> Wave(std::size_t samples) {
  auto le32 = [](std::uint32_t v) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(v >> (8 * i));
    return bytes;
  };
  std::string w = "RIFF" + le32(static_cast<std::uint32_t>(36 + samples)) + "WAVEfmt " + le32(16);
  w += std::string("\x01\x00\x01\x00\x40\x1F\x00\x00\x40\x1F\x00\x00\x01\x00\x08\x00", 16);
  w += "data" + le32(static_cast<std::uint32_t>(samples));
  for (std::size_t i = 0; i < samples; ++i) w += static_cast<char>(128 + (i % 16) * 4);
  return std::vector<std::uint8_t>(w.begin(), w.end());
}

std::string AsText(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Runs each test in a folder of its own, as the programs run in their working folder, with no
// player unless the test names one.
class SoundTest : public ::testing::Test {
protected:
  void SetUp() override {
    char here[MAX_PATH]{};
    GetCurrentDirectory(sizeof here, here);
    m_previousFolder = here;
    SetCurrentDirectory(m_dir.Path().c_str());
    unsetenv("PLATFORM_SOUND_PLAYER");
    platform::ClearSoundCalls();
  }
  void TearDown() override {
    sndPlaySound(nullptr, 0);
    unsetenv("PLATFORM_SOUND_PLAYER");
    SetCurrentDirectory(m_previousFolder.c_str());
  }

  platform::TempDir m_dir;
  std::string m_previousFolder;
};

TEST_F(SoundTest, CallsAreRecordedAndMissingWavesFail) {
  filetest::Put(m_dir / "am.wav", AsText(Wave(64)));
  filetest::Put(m_dir / "notes.txt", "not a sound at all");
  platform::ResourceModule& withSound = platform::CreateResourceModule("sound-test-with");
  platform::ResourceModule& without = platform::CreateResourceModule("sound-test-without");
  ASSERT_TRUE(platform::AddWaveResource(withSound, 315, Wave(32)));
  EXPECT_FALSE(platform::AddWaveResource(withSound, 316, {'R', 'I', 'F', 'F'}));
  std::vector<std::uint8_t> image = Wave(16);

  const DWORD stoneFlags = SND_RESOURCE | SND_ASYNC | SND_NOWAIT | SND_NODEFAULT;
  EXPECT_TRUE(sndPlaySound("am.wav", SND_ASYNC));
  EXPECT_TRUE(sndPlaySound(".\\am.wav", SND_ASYNC));
  EXPECT_FALSE(sndPlaySound("Notify.wav", SND_ASYNC));
  EXPECT_FALSE(sndPlaySound("notes.txt", SND_ASYNC));
  EXPECT_FALSE(sndPlaySound(m_dir.Path().c_str(), SND_ASYNC));
  EXPECT_TRUE(PlaySound(MAKEINTRESOURCE(315), withSound.Handle(), stoneFlags));
  EXPECT_FALSE(PlaySound(MAKEINTRESOURCE(315), without.Handle(), stoneFlags));
  EXPECT_FALSE(PlaySound(MAKEINTRESOURCE(316), withSound.Handle(), stoneFlags));
  EXPECT_TRUE(PlaySound("am.wav", nullptr, SND_FILENAME | SND_SYNC));
  EXPECT_TRUE(sndPlaySound(reinterpret_cast<LPCSTR>(image.data()), SND_MEMORY | SND_ASYNC));
  EXPECT_TRUE(PlaySound(nullptr, nullptr, SND_PURGE));
  {
    platform::ResourceScope scope(withSound.Handle());
    EXPECT_TRUE(PlaySound(MAKEINTRESOURCE(315), nullptr, stoneFlags));
  }

  struct Expected {
    std::string sound;
    DWORD flags;
    bool played;
  };
  const std::vector<Expected> expected = {
      {"am.wav", SND_ASYNC, true},           {".\\am.wav", SND_ASYNC, true},
      {"Notify.wav", SND_ASYNC, false},      {"notes.txt", SND_ASYNC, false},
      {m_dir.Path(), SND_ASYNC, false},      {"#315", stoneFlags, true},
      {"#315", stoneFlags, false},           {"#316", stoneFlags, false},
      {"am.wav", SND_FILENAME, true},        {"(memory)", SND_MEMORY | SND_ASYNC, true},
      {"", SND_PURGE, true},                 {"#315", stoneFlags, true},
  };
  std::vector<platform::SoundCall> calls = platform::SoundCalls();
  ASSERT_EQ(calls.size(), expected.size());
  for (std::size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(calls[i].sound, expected[i].sound);
    EXPECT_EQ(calls[i].flags, expected[i].flags);
    EXPECT_EQ(calls[i].played, expected[i].played);
  }
  platform::ClearSoundCalls();
  EXPECT_TRUE(platform::SoundCalls().empty());
}

TEST_F(SoundTest, AConfiguredPlayerGetsTheWaveAndIsStoppedOnRequest) {
  // The "player" copies what it is given, so the test sees exactly the bytes that would be heard.
  std::string copy = m_dir / "heard.wav";
  setenv("PLATFORM_SOUND_PLAYER", ("/bin/sh -c \"cp \\\"$0\\\" '" + copy + "'\"").c_str(), 1);
  platform::ResourceModule& module = platform::CreateResourceModule("sound-test-player");
  std::vector<std::uint8_t> stone = Wave(48);
  ASSERT_TRUE(platform::AddWaveResource(module, 315, stone));
  EXPECT_TRUE(PlaySound(MAKEINTRESOURCE(315), module.Handle(), SND_RESOURCE | SND_SYNC | SND_NODEFAULT));
  EXPECT_EQ(filetest::Contents(copy), AsText(stone));

  std::vector<std::uint8_t> am = Wave(80);
  filetest::Put(m_dir / "am.wav", AsText(am));
  EXPECT_TRUE(sndPlaySound("am.wav", SND_SYNC));
  EXPECT_EQ(filetest::Contents(copy), AsText(am));

  std::vector<std::uint8_t> image = Wave(8);
  EXPECT_TRUE(sndPlaySound(reinterpret_cast<LPCSTR>(image.data()), SND_MEMORY | SND_SYNC));
  EXPECT_EQ(filetest::Contents(copy), AsText(image));

  // A sound that goes on until stopped: SND_NOSTOP refuses to cut it, a stop ends it.
  setenv("PLATFORM_SOUND_PLAYER", "/bin/sh -c \"exec sleep 60\"", 1);
  EXPECT_TRUE(sndPlaySound("am.wav", SND_ASYNC));
  EXPECT_FALSE(sndPlaySound("am.wav", SND_ASYNC | SND_NOSTOP));
  EXPECT_TRUE(sndPlaySound(nullptr, 0));
  EXPECT_TRUE(sndPlaySound("am.wav", SND_ASYNC | SND_NOSTOP));

  setenv("PLATFORM_SOUND_PLAYER", "/no/such/player", 1);
  EXPECT_FALSE(sndPlaySound("am.wav", SND_ASYNC));
}

}  // namespace
