#pragma once
// CLoginProfile: what the login dialog remembers in the profile section "USER" ("ID",
// "PassWord", "Save") and the checks its OK button makes. The defaults stand for "nothing saved":
// while the profile holds them the dialog shows empty edits.

#include <platform/profile.h>
#include <platform/strings.h>
#include <platform/types.h>

class CLoginProfile {
public:
  // The ID of guest access; shown as an empty edit.
  static constexpr const char* kDefaultId = "guest";
  // Stands for "no saved password".
  static constexpr const char* kDefaultPassword = "Pemlu";
  // Longest ID and password the edits take.
  static constexpr int kMaxLength = 10;
  // Control ids of the login dialog.
  static constexpr UINT kIdEdit = 1127;
  static constexpr UINT kPasswordEdit = 1126;
  static constexpr UINT kSaveCheck = 1226;

  explicit CLoginProfile(platform::Profile& profile) : m_profile(profile) {}

  // What the dialog shows: the saved ID and password unless they are the defaults, and the
  // check box from "Save".
  void Load(CString& id, CString& password, BOOL& savePassword) const;
  // After OK: the typed ID; the typed password only with the check box on (else the default
  // password); "Save" as 1 or 0.
  void Store(const CString& id, const CString& password, BOOL savePassword);

  // The refusal the OK button shows for these entries, "" when they may be sent; badControl gets
  // the edit to focus (0 when none).
  static CString CheckEntries(const CString& id, const CString& password, UINT& badControl);

private:
  platform::Profile& m_profile;
};
