#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/files/FileTestSupport.h"
#include "platform/registry.h"

namespace {

using filetest::Contents;
using filetest::Put;

const char kMovieControlKey[] = "CLSID\\{D27CDB6E-AE6D-11cf-96B8-444553540000}";

LONG SetString(HKEY key, const char* name, const std::string& text) {
  return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
}

std::string QueryString(HKEY key, const char* name) {
  char buffer[256] = {};
  DWORD size = sizeof buffer;
  DWORD type = 0;
  if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
    return "<none>";
  return buffer;
}

class RegistryTest : public ::testing::Test {
protected:
  platform::ScopedPlatformHome m_home;
};

TEST_F(RegistryTest, CreateOpenAndReadValuesOfEveryType) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Pellomar\\Test", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                           &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  DWORD number = 0x12345678;
  const BYTE blob[] = {0, 1, 0xFF, '%', '"'};
  EXPECT_EQ(SetString(key, "Name", Cp949("생중계")), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(key, "Blob", 0, REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "software\\PELLOMAR\\test", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(key, "name"), Cp949("생중계"));
  DWORD type = 0;
  DWORD read = 0;
  DWORD size = sizeof read;
  EXPECT_EQ(RegQueryValueEx(key, "COUNT", nullptr, &type, reinterpret_cast<BYTE*>(&read), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(read, number);
  BYTE back[8] = {};
  size = sizeof back;
  EXPECT_EQ(RegQueryValueEx(key, "Blob", nullptr, &type, back, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_BINARY);
  ASSERT_EQ(size, sizeof blob);
  EXPECT_EQ(std::memcmp(back, blob, sizeof blob), 0);
  EXPECT_EQ(RegQueryValueEx(key, "Missing", nullptr, &type, back, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

TEST_F(RegistryTest, BufferTooSmallGivesMoreDataAndTheSizeNeeded) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKey(HKEY_CLASSES_ROOT, "Media", &key), ERROR_SUCCESS);
  SetString(key, "", "C:\\player.exe");
  DWORD type = 0;
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueEx(key, "", nullptr, &type, nullptr, &size), ERROR_SUCCESS);  // size only
  EXPECT_EQ(size, 14u);
  EXPECT_EQ(type, REG_SZ);
  char small[4] = {'x', 'x', 'x', 'x'};
  size = sizeof small;
  EXPECT_EQ(RegQueryValueEx(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(small), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 14u);
  EXPECT_EQ(small[0], 'x');  // nothing written
  EXPECT_EQ(RegQueryValueEx(key, "", nullptr, &type, reinterpret_cast<BYTE*>(small), nullptr), ERROR_INVALID_PARAMETER);
  RegCloseKey(key);
}

TEST_F(RegistryTest, QueryValueReadsTheDefaultTextOfASubkey) {
  ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "rpm\\shell\\open\\command", REG_SZ, "\"/opt/p\" \"%1\"", 0), ERROR_SUCCESS);
  char text[64];
  LONG size = sizeof text;
  EXPECT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "RPM\\Shell\\Open\\Command", text, &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, "\"/opt/p\" \"%1\"");
  EXPECT_EQ(size, 14);
  LONG tiny = 3;
  EXPECT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "rpm\\shell\\open\\command", text, &tiny), ERROR_MORE_DATA);
  EXPECT_EQ(tiny, 14);
  size = sizeof text;
  EXPECT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "rpm\\shell", text, &size), ERROR_SUCCESS);  // no default: empty
  EXPECT_STREQ(text, "");
  EXPECT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "nothing", text, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "x", REG_DWORD, "1", 2), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, MissingKeysAndBadHandles) {
  HKEY key = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, kMovieControlKey, 0, KEY_ALL_ACCESS, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(RegOpenKeyEx(reinterpret_cast<HKEY>(0x4242), "x", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x4242)), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_CLASSES_ROOT), ERROR_SUCCESS);  // roots are left alone
  EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "x", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, AccessRightsOfAHandleAreEnforced) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, "Software\\A", &key), ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\A", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(SetString(key, "v", "1"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValue(key, "v"), ERROR_ACCESS_DENIED);
  RegCloseKey(key);
}

TEST_F(RegistryTest, AProtectedKeyOpensForReadingOnly) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKey(HKEY_CLASSES_ROOT, kMovieControlKey, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(platform::RegistryProtectKey(HKEY_CLASSES_ROOT, kMovieControlKey, true), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, kMovieControlKey, 0, KEY_ALL_ACCESS, &key), ERROR_ACCESS_DENIED);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, kMovieControlKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, kMovieControlKey), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryTest, DeleteKeyRefusesKeysWithSubkeys) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "A\\B\\C", &key), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "A\\B"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "a\\b\\c"), ERROR_SUCCESS);
  EXPECT_EQ(SetString(key, "v", "x"), ERROR_KEY_DELETED);  // the open handle outlived its key
  RegCloseKey(key);
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "A\\B\\C"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, ""), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "A\\B"), ERROR_SUCCESS);
}

TEST_F(RegistryTest, EnumerationOfKeysAndValues) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "E", &key), ERROR_SUCCESS);
  HKEY child = nullptr;
  RegCreateKey(key, "second", &child);
  RegCloseKey(child);
  RegCreateKey(key, "first", &child);
  RegCloseKey(child);
  char name[32];
  EXPECT_EQ(RegEnumKey(key, 0, name, sizeof name), ERROR_SUCCESS);
  EXPECT_STREQ(name, "second");
  EXPECT_EQ(RegEnumKey(key, 1, name, sizeof name), ERROR_SUCCESS);
  EXPECT_STREQ(name, "first");
  EXPECT_EQ(RegEnumKey(key, 2, name, sizeof name), ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(RegEnumKey(key, 0, name, 3), ERROR_MORE_DATA);

  SetString(key, "alpha", "1");
  SetString(key, "", "default");
  DWORD nameSize = sizeof name;
  DWORD type = 0;
  BYTE data[16];
  DWORD dataSize = sizeof data;
  EXPECT_EQ(RegEnumValue(key, 0, name, &nameSize, nullptr, &type, data, &dataSize), ERROR_SUCCESS);
  EXPECT_STREQ(name, "alpha");
  EXPECT_EQ(nameSize, 5u);
  EXPECT_EQ(dataSize, 2u);
  nameSize = sizeof name;
  dataSize = 2;
  EXPECT_EQ(RegEnumValue(key, 1, name, &nameSize, nullptr, &type, data, &dataSize), ERROR_MORE_DATA);
  EXPECT_EQ(dataSize, 8u);
  nameSize = sizeof name;
  EXPECT_EQ(RegEnumValue(key, 2, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  RegCloseKey(key);
}

TEST_F(RegistryTest, ValuesSurviveInTheStoreFileAndAnotherWriterIsSeen) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Persist", &key), ERROR_SUCCESS);
  SetString(key, "text", "a \"quoted\" 100% line\r\n");
  RegCloseKey(key);
  std::string store = Contents(platform::RegistryStorePath());
  EXPECT_NE(store.find("[HKEY_CURRENT_USER\\Persist]"), std::string::npos);
  EXPECT_NE(store.find("%22quoted%22 100%25 line%0D%0A"), std::string::npos);

  // Another process rewrites the store: the next call reads the new file.
  std::string changed = store;
  changed.replace(changed.find("line"), 4, "LINE");
  Put(platform::RegistryStorePath(), changed + "\n[HKEY_CURRENT_USER\\Other]\n\"n\"=dword:0000002a\n");
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Persist", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(key, "text"), "a \"quoted\" 100% LINE\r\n");
  RegCloseKey(key);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Other", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD n = 0;
  DWORD size = 4;
  EXPECT_EQ(RegQueryValueEx(key, "n", nullptr, nullptr, reinterpret_cast<BYTE*>(&n), &size), ERROR_SUCCESS);
  EXPECT_EQ(n, 42u);
  RegCloseKey(key);
}

TEST_F(RegistryTest, AWriteLeavesNoTemporaryFileBehind) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Atomic", &key), ERROR_SUCCESS);
  SetString(key, "v", "1");
  RegCloseKey(key);
  CFileFind finder;
  BOOL more = finder.FindFile((m_home.Path() + "/*").c_str());
  std::vector<std::string> names;
  while (more) {
    more = finder.FindNextFile();
    if (!finder.IsDots()) names.push_back(finder.GetFileName().str());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"registry.lock", "registry.txt"}));
}

TEST_F(RegistryTest, AFailedWriteKeepsTheOldFileAndDropsTheChange) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Atomic", &key), ERROR_SUCCESS);
  ASSERT_EQ(SetString(key, "v", "old"), ERROR_SUCCESS);
  std::string before = Contents(platform::RegistryStorePath());
  // Something in the way of the temporary file makes the write fail.
  std::string blocker = platform::RegistryStorePath() + ".tmp." + std::to_string(::getpid());
  ASSERT_TRUE(CreateDirectory(blocker.c_str()));
  EXPECT_EQ(SetString(key, "v", "new"), ERROR_CANTWRITE);
  EXPECT_EQ(Contents(platform::RegistryStorePath()), before);
  EXPECT_EQ(QueryString(key, "v"), "old");
  ASSERT_TRUE(RemoveDirectory(blocker.c_str()));
  EXPECT_EQ(SetString(key, "v", "new"), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(key, "v"), "new");
  RegCloseKey(key);
}

TEST_F(RegistryTest, ChangesOfTwoProcessesAreAllKept) {
  auto writeValues = [](const char* prefix) {
    HKEY key = nullptr;
    if (RegCreateKey(HKEY_CURRENT_USER, "Shared", &key) != ERROR_SUCCESS) return false;
    bool ok = true;
    for (int i = 0; i < 15; ++i) ok = ok && SetString(key, (prefix + std::to_string(i)).c_str(), "x") == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
  };
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(writeValues("child") ? 0 : 1);
  EXPECT_TRUE(writeValues("parent"));
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_EQ(status, 0);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Shared", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD count = 0;
  char name[32];
  for (;;) {
    DWORD nameSize = sizeof name;
    if (RegEnumValue(key, count, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    ++count;
  }
  EXPECT_EQ(count, 30u);
  RegCloseKey(key);
}

TEST(RegistryHome, AnotherHomeIsAnotherStore) {
  HKEY key = nullptr;
  {
    platform::ScopedPlatformHome first;
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "OnlyInFirst", &key), ERROR_SUCCESS);
    RegCloseKey(key);
    platform::ScopedPlatformHome second;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "OnlyInFirst", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  }
}

}  // namespace
