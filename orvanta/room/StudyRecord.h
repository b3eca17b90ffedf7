#pragma once
// What the review and study boards share: the study record opened from a game at a position, and
// the clock text of their panels.

#include <platform/strings.h>

#include "orvanta/room/GiboRecord.h"

// A record holding the game's players, result, root values and setup in the server's form, and
// its first `nodes` move nodes. The game's move cursor is left at the node after them.
CGiboRecord MakeStudyRecord(CGiboRecord& game, int nodes);
// "1hr 2min 3sec" for 3723 seconds; a negative time shows as 0.
CString ClockText(long seconds);
// Writes text to path as it stands (no line-end translation). The text goes to a file beside it
// first and replaces path only once whole, so a failed save leaves nothing half-written.
BOOL SaveRecordText(const CString& path, const CString& text);

class CStolvex;
// Moves in the board control's move list (its history object's Count); 0 when it has none.
int BoardMoveCount(CStolvex& board);
