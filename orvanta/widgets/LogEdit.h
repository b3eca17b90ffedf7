#pragma once
// A read-only edit that shows a log (chat lines): the program keeps the whole text, the edit is
// given only what changed.

#include <platform/controls.h>
#include <platform/strings.h>

// Makes now the text of edit, which shows shown: when now is shown without some of its first
// lines and with more at its end, those lines are taken off and the rest appended, so the edit
// lays out only the lines that changed; any other text replaces the edit's whole.
void ShowLogText(CEdit& edit, const CString& shown, const CString& now);
