#pragma once
// The application profile: a program's settings, kept in the registry under
// HKEY_CURRENT_USER\Software\<company>\<application>\<section>. One object per program instance;
// the application object owns it.

#include "platform/strings.h"
#include "platform/types.h"

namespace platform {

class Profile {
public:
  explicit Profile(const char* appName = "");

  // Places the profile under HKEY_CURRENT_USER\Software\<company>\<application>. Before it is
  // called (or with an empty company) the profile lives under HKEY_CURRENT_USER\Software\<application>.
  void SetRegistryKey(const char* company);
  void SetAppName(const char* appName) { m_appName = appName ? appName : ""; }
  const CString& GetAppName() const { return m_appName; }
  const CString& GetCompany() const { return m_company; }
  // The key path below HKEY_CURRENT_USER that holds the sections.
  CString GetAppKeyPath() const;

  // The text stored under entry, or defaultValue (empty when null) when there is none or it is not
  // text.
  CString GetProfileString(const char* section, const char* entry, const char* defaultValue = nullptr) const;
  // The number stored under entry, or defaultValue when there is none or it is not a number.
  UINT GetProfileInt(const char* section, const char* entry, int defaultValue) const;
  // Stores text; a null value deletes the entry, a null entry deletes the whole section.
  BOOL WriteProfileString(const char* section, const char* entry, const char* value);
  BOOL WriteProfileInt(const char* section, const char* entry, int value);

private:
  CString SectionPath(const char* section) const;

  CString m_appName;
  CString m_company;
};

}  // namespace platform
