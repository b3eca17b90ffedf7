#pragma once
// Command lines of the programs the frame starts: a text given as one argument is quoted so that
// the platform's splitting by the Windows rules gives it back whole, spaces, quotes and all.

#include <platform/strings.h>

// text as one argument of a command line.
CString QuoteArgument(const CString& text);
