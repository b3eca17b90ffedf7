// Registry entries of classes and type libraries, written and removed without loading a module.

#include <gtest/gtest.h>

#include "platform/com/ComTestSupport.h"
#include "platform/com_module.h"
#include "platform/registry.h"

namespace {

constexpr CLSID kFirst = GuidFromText("{3F6A2C40-5B7E-4D21-9C1A-7E5D0B2A4C01}");
constexpr CLSID kSecond = GuidFromText("{3F6A2C41-5B7E-4D21-9C1A-7E5D0B2A4C01}");
constexpr GUID kLib = GuidFromText("{3F6A2C42-5B7E-4D21-9C1A-7E5D0B2A4C01}");
constexpr IID kOldInterface = GuidFromText("{3F6A2C43-5B7E-4D21-9C1A-7E5D0B2A4C01}");
constexpr IID kNewInterface = GuidFromText("{3F6A2C44-5B7E-4D21-9C1A-7E5D0B2A4C01}");

bool KeyExists(const CString& path) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

ClassRegistration Class(REFCLSID clsid, const char* progId) {
  ClassRegistration reg;
  reg.clsid = clsid;
  reg.progId = progId;
  reg.userTypeName = "Sample";
  return reg;
}

TEST(RegistrationTest, ProgIdTakenOverByAnotherClassSurvivesTheFirstOnesRemoval) {
  platform::ScopedPlatformHome home;
  ASSERT_EQ(RegisterClassEntries(Class(kFirst, "Sample.Shared.1"), "/opt/first.so"), S_OK);
  ASSERT_EQ(RegisterClassEntries(Class(kSecond, "Sample.Shared.1"), "/opt/second.so"), S_OK);
  ASSERT_EQ(UnregisterClassEntries(Class(kFirst, "Sample.Shared.1")), S_OK);
  EXPECT_FALSE(KeyExists("CLSID\\" + GuidToString(kFirst)));
  CLSID owner;
  ASSERT_EQ(CLSIDFromProgID("Sample.Shared.1", &owner), S_OK);
  EXPECT_EQ(owner, kSecond);
  ASSERT_EQ(UnregisterClassEntries(Class(kSecond, "Sample.Shared.1")), S_OK);
  EXPECT_EQ(CLSIDFromProgID("Sample.Shared.1", &owner), REGDB_E_CLASSNOTREG);
  // Removing what is not there is not a failure.
  EXPECT_EQ(UnregisterClassEntries(Class(kSecond, "Sample.Shared.1")), S_OK);
}

TEST(RegistrationTest, OneVersionOfATypeLibraryIsRemovedWithItsOwnInterfacesOnly) {
  platform::ScopedPlatformHome home;
  TypeLibDescription old;
  old.libid = kLib;
  old.name = "SAMPLELib";
  old.path = "/opt/old.so";
  old.interfaces = {{kOldInterface, "IOld", "Old", false}};
  TypeLibDescription current = old;
  current.minorVersion = 1;
  current.path = "/opt/new.so";
  current.interfaces = {{kNewInterface, "INew", "New", true}};
  ASSERT_EQ(RegisterTypeLibrary(old), S_OK);
  ASSERT_EQ(RegisterTypeLibrary(current), S_OK);

  ASSERT_EQ(UnRegisterTypeLib(kLib, 1, 0), S_OK);
  EXPECT_FALSE(KeyExists("Interface\\" + GuidToString(kOldInterface)));
  EXPECT_TRUE(KeyExists("Interface\\" + GuidToString(kNewInterface)));
  TypeLibDescription back;
  EXPECT_EQ(QueryTypeLibrary(kLib, 1, 0, back), TYPE_E_LIBNOTREGISTERED);
  ASSERT_EQ(QueryTypeLibrary(kLib, 1, 1, back), S_OK);
  EXPECT_EQ(back.path, "/opt/new.so");
  ASSERT_EQ(back.interfaces.size(), 1u);
  EXPECT_TRUE(back.interfaces[0].dispatchOnly);

  EXPECT_EQ(UnRegisterTypeLib(kLib, 1, 0), TYPE_E_LIBNOTREGISTERED);
  ASSERT_EQ(UnRegisterTypeLib(kLib, 1, 1), S_OK);
  EXPECT_FALSE(KeyExists("TypeLib\\" + GuidToString(kLib)));
}

TEST(RegistrationTest, RegistryThatRefusesWritesGivesTheRegistrationFailureCodes) {
  platform::ScopedPlatformHome home;
  CString classKey = "CLSID\\" + GuidToString(kFirst);
  CString libKey = "TypeLib\\" + GuidToString(kLib) + "\\1.0";
  for (const CString& path : {classKey, libKey}) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_CLASSES_ROOT, path, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(platform::RegistryProtectKey(HKEY_CLASSES_ROOT, path, true), ERROR_SUCCESS);
  }
  EXPECT_EQ(RegisterClassEntries(Class(kFirst, "Sample.Locked.1"), "/opt/first.so"), SELFREG_E_CLASS);
  TypeLibDescription lib;
  lib.libid = kLib;
  EXPECT_EQ(RegisterTypeLibrary(lib), SELFREG_E_TYPELIB);
  EXPECT_EQ(RegisterClassEntries(Class(GUID_NULL, "x"), "/opt/x.so"), E_INVALIDARG);
}

}  // namespace
