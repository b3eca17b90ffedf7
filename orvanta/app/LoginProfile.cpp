#include "orvanta/app/LoginProfile.h"

#include <cstdlib>

namespace {

const char kSection[] = "USER";
const char kSpecialCharacterText[] =
    "You have entered a special character.\nSpecial characters are not available.";

// "/" and "|" separate the fields of every record: an entry holding them would break the login.
bool HasSeparator(const CString& text) { return text.FindOneOf("/|") >= 0; }

}  // namespace

void CLoginProfile::Load(CString& id, CString& password, BOOL& savePassword) const {
  const CString savedId = m_profile.GetProfileString(kSection, "ID", kDefaultId);
  const CString savedPassword = m_profile.GetProfileString(kSection, "PassWord", kDefaultPassword);
  const CString save = m_profile.GetProfileString(kSection, "Save", "0");
  id = savedId == kDefaultId ? CString() : savedId;
  password = savedPassword == kDefaultPassword ? CString() : savedPassword;
  savePassword = std::atoi(save) != 0 ? TRUE : FALSE;
}

void CLoginProfile::Store(const CString& id, const CString& password, BOOL savePassword) {
  m_profile.WriteProfileString(kSection, "ID", id);
  m_profile.WriteProfileString(kSection, "PassWord", savePassword ? password.GetString() : kDefaultPassword);
  CString save;
  save.Format("%d", savePassword ? 1 : 0);
  m_profile.WriteProfileString(kSection, "Save", save);
}

CString CLoginProfile::CheckEntries(const CString& id, const CString& password, UINT& badControl) {
  badControl = kIdEdit;
  if (id.IsEmpty())
    return "You did not enter ID.";
  if (HasSeparator(id))
    return kSpecialCharacterText;
  badControl = kPasswordEdit;
  if (password.IsEmpty())
    return "You did not enter PASSWORD.";
  if (HasSeparator(password))
    return kSpecialCharacterText;
  badControl = 0;
  return CString();
}
