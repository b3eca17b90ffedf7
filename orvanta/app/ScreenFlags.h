#pragma once
// The program-wide screen-flag word: which screens the user has open (start screen 1, waiting
// room 2, game room 4, teaching-room list 32).

#include <platform/types.h>

constexpr WORD kScreenStart = 1;
constexpr WORD kScreenWaitingRoom = 2;
constexpr WORD kScreenGameRoom = 4;
constexpr WORD kScreenTeachingList = 32;

// ORs bit into the word; 0 clears the whole word.
void SetScreenFlag(WORD bit);
// Removes bit when it is set.
void ClearScreenFlag(WORD bit);
WORD GetScreenFlags();
// The bit a view id stands for (5000, 101, 134, 5003), 0 for any other view.
WORD ScreenFlagForView(UINT viewId);
// Sets the bit of the view shown (ScreenFlagForView); other views set nothing.
void FlagScreenForView(UINT viewId);
