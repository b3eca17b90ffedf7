#pragma once
// The major code of a room request, chosen from the user's role word.

#include <platform/strings.h>
#include <platform/types.h>

// side 0: waiting-room requests (role "1": 2; "2", "3", "5": 3; others 0);
// side 1: game-room requests (role "1": 4; others 5); any other side: 0.
short GetSendCategory(short side, const CString& role);
