#include "orvanta/app/CommandLineText.h"

CString QuoteArgument(const CString& text) {
  CString quoted = "\"";
  int backslashes = 0;
  for (int i = 0; i < text.GetLength(); ++i) {
    const char ch = text[i];
    if (ch == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count as escapes only in front of a quote: there they are doubled.
    quoted += CString('\\', ch == '"' ? backslashes * 2 + 1 : backslashes);
    backslashes = 0;
    quoted += ch;
  }
  quoted += CString('\\', backslashes * 2);
  quoted += "\"";
  return quoted;
}
