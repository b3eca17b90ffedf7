#pragma once
// The keyboard filter of the lobby's text dialogs: "|" and "/" separate the fields of payloads
// and records, so they are never typed into an edit.

#include <platform/messages.h>

// TRUE when msg is a "|" or "/" character aimed at the edit control that has the focus: the
// caller drops it.
BOOL IsSeparatorKeyForEdit(const MSG* msg);
