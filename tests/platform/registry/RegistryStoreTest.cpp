#include <gtest/gtest.h>

#include <string>

#include "platform/files/FileTestSupport.h"
#include "platform/profile.h"
#include "platform/registry.h"

namespace {

using filetest::Contents;
using filetest::Put;

void ForceReread() { platform::ScopedPlatformHome elsewhere; }

class RegistryStoreFile : public ::testing::Test {
protected:
  platform::ScopedPlatformHome m_home;
};

TEST_F(RegistryStoreFile, OddNamesAndBytesRoundTripThroughTheFile) {
  const std::string keyName = std::string("a[b]%c ") + Cp949("바둑") + "\x01";
  const std::string valueName = "\"quoted\"\\=";
  const std::string noTerminator = "no zero";
  const std::string inner("x\0y", 4);  // an inner zero and a terminator
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, ("Software\\" + keyName).c_str(), &key), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key, valueName.c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>("%PATH%"), 7),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key, "raw", 0, REG_SZ, reinterpret_cast<const BYTE*>(noTerminator.data()),
                          static_cast<DWORD>(noTerminator.size())),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key, "inner", 0, REG_SZ, reinterpret_cast<const BYTE*>(inner.data()), 4), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key, "empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key, "short", 0, REG_DWORD, reinterpret_cast<const BYTE*>("ab"), 2), ERROR_SUCCESS);
  RegCloseKey(key);
  std::string written = Contents(platform::RegistryStorePath());

  ForceReread();
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, ("SOFTWARE\\" + keyName).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  auto read = [&](const char* name, DWORD expectedType) {
    char data[32] = {};
    DWORD size = sizeof data;
    DWORD type = 99;
    EXPECT_EQ(RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size), ERROR_SUCCESS) << name;
    EXPECT_EQ(type, expectedType) << name;
    return std::string(data, size);
  };
  EXPECT_EQ(read(valueName.c_str(), REG_EXPAND_SZ), std::string("%PATH%", 7));
  EXPECT_EQ(read("raw", REG_SZ), noTerminator);
  EXPECT_EQ(read("inner", REG_SZ), inner);
  EXPECT_EQ(read("empty", REG_BINARY), "");
  EXPECT_EQ(read("short", REG_DWORD), "ab");
  RegCloseKey(key);

  // Writing the same tree again gives the same text.
  ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "touch", &key), ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "touch"), ERROR_SUCCESS);
  EXPECT_EQ(Contents(platform::RegistryStorePath()), written);
  EXPECT_EQ(written.find_first_of(std::string("\x01\x80\xFF", 3)), std::string::npos);  // plain ASCII
}

TEST_F(RegistryStoreFile, BrokenLinesAreSkippedAndTheRestIsRead) {
  Put(platform::RegistryStorePath(),
      "; comment\r\n"
      "\"orphan\"=dword:1\r\n"
      "[HKEY_NOWHERE\\x]\r\n"
      "\"lost\"=dword:1\r\n"
      "[HKEY_CLASSES_ROOT\\Good]\r\n"
      "\"bad hex\"=hex(3):0g\r\n"
      "\"bad type\"=str(x):\"a\"\r\n"
      "\"long dword\"=dword:123456789\r\n"
      "\"unterminated=str(1):\"a\"\r\n"
      "@=str(1):\"kept%4\"\r\n"
      "\"n\"=dword:FFFFFFFF\r\n"
      "[HKEY_CLASSES_ROOT\\Unclosed\r\n"
      "[HKEY_CLASSES_ROOT\\\\Empty\\\\Parts] protected\r\n");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "Good", 0, KEY_READ, &key), ERROR_SUCCESS);
  char name[32];
  DWORD nameSize = sizeof name;
  char data[32];
  DWORD dataSize = sizeof data;
  ASSERT_EQ(RegEnumValue(key, 0, name, &nameSize, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &dataSize),
            ERROR_SUCCESS);
  EXPECT_STREQ(name, "");
  EXPECT_STREQ(data, "kept%4");  // an incomplete escape stays as it is
  nameSize = sizeof name;
  DWORD value = 0;
  dataSize = sizeof value;
  ASSERT_EQ(RegEnumValue(key, 1, name, &nameSize, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &dataSize),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 0xFFFFFFFFu);
  nameSize = sizeof name;
  EXPECT_EQ(RegEnumValue(key, 2, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  RegCloseKey(key);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "Empty\\Parts", 0, KEY_ALL_ACCESS, &key), ERROR_ACCESS_DENIED);
}

// A name that reads back as a NUL or a backslash would make the key its own child once listed and
// reopened by that name: such keys (and what lies below them) are left out of the tree, with a line
// on stderr, and every walk and deletion of the rest ends.
TEST_F(RegistryStoreFile, KeysNamedWithASeparatorOrANulAreSkippedAndTreesDeleteToTheEnd) {
  Put(platform::RegistryStorePath(),
      "[HKEY_CURRENT_USER\\Software\\Orvanta]\n"
      "\"kept\"=dword:00000001\n"
      "[HKEY_CURRENT_USER\\Software\\Orvanta\\USER%5C]\n"
      "\"lost\"=dword:00000002\n"
      "[HKEY_CURRENT_USER\\Software\\Orvanta\\a%00\\below]\n"
      "\"lost\"=dword:00000003\n"
      "[HKEY_CURRENT_USER\\Software\\Orvanta\\%5c\\x]\n"
      "[HKEY_CURRENT_USER\\Software\\Orvanta\\Settings]\n"
      "\"Left\"=dword:00000004\n");
  testing::internal::CaptureStderr();
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Orvanta", 0, KEY_READ, &key), ERROR_SUCCESS);
  std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("registry: key [HKEY_CURRENT_USER\\Software\\Orvanta\\USER%5C] skipped"), std::string::npos)
      << log;
  EXPECT_NE(log.find("a%00"), std::string::npos) << log;
  char name[64];
  EXPECT_EQ(RegEnumKey(key, 0, name, sizeof name), ERROR_SUCCESS);
  EXPECT_STREQ(name, "Settings");
  EXPECT_EQ(RegEnumKey(key, 1, name, sizeof name), ERROR_NO_MORE_ITEMS);
  DWORD value = 0;
  DWORD size = sizeof value;
  EXPECT_EQ(RegQueryValueEx(key, "kept", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueEx(key, "lost", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);

  platform::Profile profile("Orvanta");
  EXPECT_EQ(profile.GetProfileInt("Settings", "Left", 0), 4u);
  EXPECT_TRUE(profile.WriteProfileString("Settings", nullptr, nullptr));
  EXPECT_EQ(profile.GetProfileInt("Settings", "Left", 0), 0u);
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Software\\Orvanta"), ERROR_SUCCESS);
  EXPECT_EQ(Contents(platform::RegistryStorePath()).find("%5C"), std::string::npos);
  EXPECT_EQ(Contents(platform::RegistryStorePath()).find("%00"), std::string::npos);
}

// The store keeps trees as deep as the system allows (512 levels) and no deeper: a deeper key in
// the file is skipped, a deeper one is refused when made, and deleting the deepest tree ends.
TEST_F(RegistryStoreFile, TreesAreAtMostFiveHundredTwelveLevelsDeep) {
  std::string deepest = "Software\\Orvanta\\Deep";
  for (int level = 3; level < 512; ++level) deepest += "\\k";
  std::string tooDeep = deepest + "\\k";
  Put(platform::RegistryStorePath(), "[HKEY_CURRENT_USER\\" + tooDeep + "]\n\"v\"=dword:00000001\n");
  testing::internal::CaptureStderr();
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("more than 512 levels deep"), std::string::npos);

  EXPECT_EQ(RegCreateKey(HKEY_CURRENT_USER, tooDeep.c_str(), &key), ERROR_INVALID_PARAMETER);
  ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, deepest.c_str(), &key), ERROR_SUCCESS);
  HKEY below = nullptr;
  EXPECT_EQ(RegCreateKey(key, "one more", &below), ERROR_INVALID_PARAMETER);
  RegCloseKey(key);
  ForceReread();
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, deepest.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);

  platform::Profile profile("Orvanta");
  EXPECT_TRUE(profile.WriteProfileString("Deep", nullptr, nullptr));
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Orvanta\\Deep", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryStoreFile, NoFileMeansAnEmptyRegistry) {
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "", 0, KEY_READ, &key), ERROR_SUCCESS);
  char name[8];
  EXPECT_EQ(RegEnumKey(key, 0, name, sizeof name), ERROR_NO_MORE_ITEMS);
  RegCloseKey(key);
}

}  // namespace
