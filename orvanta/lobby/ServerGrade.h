#pragma once
// The server's grade number of a grade text, smaller is stronger: "18K" 68 to "1K" 51, "1D" 37 to
// "7D" 31, "Pro1D" 19 to "Pro9D" 11. The record search and the rank selection send it.

#include <platform/strings.h>

int ServerGradeNumber(const CString& grade);
// The grades the search and rank dialogs offer, weakest first.
const char* const* ServerGradeTexts(int& count);
