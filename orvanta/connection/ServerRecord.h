#pragma once
// CServerRecord: one record of a group the server sent, with its header read and its message
// code worked out. SplitGroup cuts a group into its records in order.

#include <vector>

#include <platform/strings.h>

class CServerRecord {
public:
  // The records of a group, in order. Reading stops at the first record that has no ESC LF
  // after its start: that record and all after it are lost, and unterminated (when given) is
  // set.
  static std::vector<CServerRecord> SplitGroup(const CString& group, bool* unterminated = nullptr);
  // Reads one record body (the text between ESC TAB and ESC LF).
  static CServerRecord FromBody(const CString& body);
  // atoi of major + minor, where a major of exactly "2" counts as "3" and "4" as "5".
  static int MessageCode(const CString& major, const CString& minor);
  // Leading-digits number as atoi reads it (spaces, a sign, digits), clamped to the int range.
  static int ParseNumber(const char* text);

  // The flag read as a number; 1 marks a normal record, anything else a failure reply.
  int GetFlagValue() const { return ParseNumber(m_strFlag); }

  CString m_strMajor;
  CString m_strMinor;
  CString m_strFlag;
  CString m_strPayload;  // everything after the fifth "/", may itself hold "/"
  int m_nCode{0};
};
