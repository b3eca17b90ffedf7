#pragma once
// CUserOptions: the four option switches the user sets in the options dialog, kept as integers in
// the profile section "USER". Each holds 0 or its bit value; 10 means never set and reads as on.

#include <platform/profile.h>
#include <platform/strings.h>

class CUserOptions {
public:
  static constexpr int kNeverSet = 10;
  static constexpr int kManToMan = 2;
  static constexpr int kInvite = 1;
  static constexpr int kAlarm = 4;
  static constexpr int kNego = 8;

  explicit CUserOptions(platform::Profile& profile) : m_profile(profile) {}

  // Reads the four options; a value never set (10) becomes the option's bit value, and so does
  // any other value that is neither 0 nor the bit value.
  void LoadOptions(int& manToMan, int& invite, int& alarm, int& nego) const;
  void SaveOptions(int manToMan, int invite, int alarm, int nego);
  // The payload of the options request: "|" sum "|".
  CString GetOptionsPayload() const;
  // The options from the dialog's four check boxes, each 0 or its bit value.
  static void FromChecks(BOOL manToMan, BOOL invite, BOOL alarm, BOOL nego, int& manToManValue,
                         int& inviteValue, int& alarmValue, int& negoValue);

private:
  int ReadOption(const char* key, int bit) const;

  platform::Profile& m_profile;
};
