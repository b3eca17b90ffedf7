#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "client/widgets/RegistryKey.h"
#include "client/widgets/RegistryValue.h"
#include "platform/registry.h"

namespace {

void Store(const char* subKey, const char* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKey(HKEY_CLASSES_ROOT, subKey, &key), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  RegCloseKey(key);
}

std::string Str(const CString& s) { return static_cast<const char*>(s); }

TEST(RegistryWrapperTest, ReadsEachValueKindAndAnswersTextOnlyForTextTypes) {
  platform::ScopedPlatformHome home;
  const char text[] = "6.0.6.45";
  Store("Software\\Test", "", REG_SZ, text, sizeof text);
  Store("Software\\Test", "Expand", REG_EXPAND_SZ, "%HOME%\\x", 9);
  Store("Software\\Test", "Link", REG_LINK, "target", 7);
  const DWORD number = 0x00363534;  // reads "456" if taken for text
  Store("Software\\Test", "Number", REG_DWORD, &number, sizeof number);
  Store("Software\\Test", "Multi", REG_MULTI_SZ, "a\0b\0", 5);

  struct Case {
    const char* name;
    DWORD type;
    int isText;
    const char* expected;
  };
  const Case cases[] = {
      {"", REG_SZ, 1, "6.0.6.45"},   {"Expand", REG_EXPAND_SZ, 1, "%HOME%\\x"}, {"Link", REG_LINK, 1, "target"},
      {"Number", REG_DWORD, 0, "kept"}, {"Multi", REG_MULTI_SZ, 0, "kept"},
  };
  CRegistryKey classes(HKEY_CLASSES_ROOT);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CRegistryValue value;
    ASSERT_EQ(classes.ReadValue("Software\\Test", c.name, value), 1);
    EXPECT_EQ(value.GetType(), c.type);
    CString out = "kept";
    EXPECT_EQ(value.GetString(out), c.isText);
    EXPECT_EQ(Str(out), c.expected);
  }
  // One value object read again and again holds only the latest value.
  CRegistryValue reused;
  ASSERT_EQ(classes.ReadValue("Software\\Test", "Number", reused), 1);
  ASSERT_EQ(classes.ReadValue("Software\\Test", "Link", reused), 1);
  EXPECT_EQ(reused.GetSize(), 7u);
  CString link;
  EXPECT_EQ(reused.GetString(link), 1);
  EXPECT_EQ(Str(link), "target");
}

TEST(RegistryWrapperTest, TextWithoutTerminatorEndsAtItsStoredSize) {
  platform::ScopedPlatformHome home;
  // Neither terminated nor followed by anything of ours: the text must stop at the fifth byte.
  Store("Bare", "", REG_SZ, "abcde", 5);
  Store("Bare", "Inner", REG_SZ, "ab\0cd", 5);
  Store("Bare", "Empty", REG_SZ, "", 0);
  CRegistryKey classes(HKEY_CLASSES_ROOT);
  CRegistryValue value;
  CString out;
  ASSERT_EQ(classes.ReadValue("Bare", "", value), 1);
  EXPECT_EQ(value.GetSize(), 5u);
  EXPECT_EQ(value.GetString(out), 1);
  EXPECT_EQ(Str(out), "abcde");
  ASSERT_EQ(classes.ReadValue("Bare", "Inner", value), 1);
  EXPECT_EQ(value.GetString(out), 1);
  EXPECT_EQ(Str(out), "ab");
  ASSERT_EQ(classes.ReadValue("Bare", "Empty", value), 1);
  EXPECT_EQ(value.GetString(out), 1);
  EXPECT_EQ(Str(out), "");

  // Hand-made data of the exact size, as a caller of Alloc would leave it.
  CRegistryValue manual;
  std::memcpy(manual.Alloc(3), "xyz", 3);
  manual.SetType(REG_EXPAND_SZ);
  EXPECT_EQ(manual.GetString(out), 1);
  EXPECT_EQ(Str(out), "xyz");
  manual.Free();
  EXPECT_EQ(manual.GetData(), nullptr);
  EXPECT_EQ(manual.GetSize(), 0u);
  EXPECT_EQ(manual.GetString(out), 1);
  EXPECT_EQ(Str(out), "");
}

TEST(RegistryWrapperTest, MissingKeyOrValueFails) {
  platform::ScopedPlatformHome home;
  Store("Present", "Name", REG_SZ, "v", 2);
  CRegistryKey classes(HKEY_CLASSES_ROOT);
  CRegistryValue value;
  std::memcpy(value.Alloc(4), "old", 4);
  value.SetType(REG_SZ);
  // A missing subkey does not touch the value object.
  EXPECT_EQ(classes.ReadValue("Absent\\Key", "", value), 0);
  CString out;
  EXPECT_EQ(value.GetString(out), 1);
  EXPECT_EQ(Str(out), "old");
  // A missing value of a present key fails as well.
  EXPECT_EQ(classes.ReadValue("Present", "Other", value), 0);
  EXPECT_EQ(classes.ReadValue("Present", "", value), 0);
  // Other roots are separate.
  CRegistryKey user(HKEY_CURRENT_USER);
  EXPECT_EQ(user.ReadValue("Present", "Name", value), 0);
  EXPECT_EQ(classes.ReadValue("Present", "Name", value), 1);
}

}  // namespace
