#pragma once
// CRecordValue: how texts are kept inside the brackets of a record file's properties, and how
// numbers are read from them.

#include "platform/strings.h"

class CRecordValue {
public:
  // text with every "\" written as "\\" and every "]" as "\]", so that the value ends at its
  // own closing bracket and reads back unchanged.
  static CString Escape(const CString& text);
  // The text of a value as stored (length bytes at begin): the backslash in front of "\" or "]"
  // is removed, every other backslash stays.
  static CString Unescape(const char* begin, int length);
  // True when the "]" at text[index] closes a value: an even number of backslashes (none
  // included) stands right before it, counting back no further than start.
  static bool IsClosingBracket(const char* text, int start, int index);
  // Leading blanks, a sign and decimal digits, as atoi reads them, clamped to the int range. A
  // value still inside the read buffer may be passed as it stands: its "]" ends the digits.
  static int ParseInt(const char* text);
};
