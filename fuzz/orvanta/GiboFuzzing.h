#pragma once
// What every game-record fuzz target does with a record once it has read its input: every
// reading operation the game room and the review dialogs use, walked to the end and beyond.

#include <cstdlib>

#include "orvanta/room/GiboRecord.h"

inline void ExerciseGiboRecord(CGiboRecord& record) {
  short x = 0, y = 0, color = 0, seconds = 0, periods = 0;
  LONG time = 0, black = -1, white = -1;
  CString text, a, b, c, d;
  record.GetBlackPlayer(a, b, c, d);
  record.GetWhitePlayer(a, b, c, d);
  record.GetOvertime(seconds, periods);
  record.GetKomi(text);
  record.GetTimeLimit();
  record.GetTimesLeft(black, white);
  int total = record.GetTotalMoves();
  for (int i = 0; i < 400 && record.GetSetupStone(x, y); ++i) {
    if (!((x >= 0 && x <= 18 && y >= 0 && y <= 18) || (x == 20 && y == 20))) std::abort();
  }
  record.MoveTo(CGiboRecord::kFirstNode);
  for (int i = 0; i <= total + 1; ++i) {
    BOOL peeked = record.PeekMove(x, y, color, time);
    if (peeked != record.GetMove(x, y, color, time)) std::abort();
    record.NextMove();
  }
  record.MoveTo(CGiboRecord::kLastNode);
  record.PrevMove();
  record.GetNextNode(text);
  record.GetNextNode(text);
  record.SetCursor(static_cast<short>(total * 3));
  record.GetMove(x, y, color, time);
  record.GetRootText();
  CGiboRecord copy(record);
  copy.ToText();
  CGiboRecord assigned;
  assigned = record;
  assigned.RemoveLastMove();
  assigned.AppendMove("B[aa]", "BL[1]");
  assigned.ToText();
}
