#include "orvanta/app/UserOptions.h"

namespace {
const char kSection[] = "USER";
}

int CUserOptions::ReadOption(const char* key, int bit) const {
  const int value = static_cast<int>(m_profile.GetProfileInt(kSection, key, kNeverSet));
  // Only 0 switches an option off; anything but its own bit value (10 included) reads as on, so
  // the sum sent to the server never holds stray bits.
  return value == 0 ? 0 : bit;
}

void CUserOptions::LoadOptions(int& manToMan, int& invite, int& alarm, int& nego) const {
  manToMan = ReadOption("ManToMan", kManToMan);
  invite = ReadOption("Invite", kInvite);
  alarm = ReadOption("Alarm", kAlarm);
  nego = ReadOption("Nego", kNego);
}

void CUserOptions::SaveOptions(int manToMan, int invite, int alarm, int nego) {
  m_profile.WriteProfileInt(kSection, "ManToMan", manToMan);
  m_profile.WriteProfileInt(kSection, "Invite", invite);
  m_profile.WriteProfileInt(kSection, "Alarm", alarm);
  m_profile.WriteProfileInt(kSection, "Nego", nego);
}

CString CUserOptions::GetOptionsPayload() const {
  int manToMan = 0;
  int invite = 0;
  int alarm = 0;
  int nego = 0;
  LoadOptions(manToMan, invite, alarm, nego);
  CString payload;
  payload.Format("|%d|", manToMan + invite + alarm + nego);
  return payload;
}

void CUserOptions::FromChecks(BOOL manToMan, BOOL invite, BOOL alarm, BOOL nego, int& manToManValue,
                              int& inviteValue, int& alarmValue, int& negoValue) {
  manToManValue = manToMan ? kManToMan : 0;
  inviteValue = invite ? kInvite : 0;
  alarmValue = alarm ? kAlarm : 0;
  negoValue = nego ? kNego : 0;
}
