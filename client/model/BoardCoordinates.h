#pragma once
// The coordinate labels around a board window, drawn by the window that holds it (the relay view
// and the board dialogs) into the space it leaves right of and below the board.

#include "platform/gdi.h"

class CBadukCtrl;
class CWnd;

// Draws "1".."19" right of each row and "A".."S" below each column of board into dc, a context
// on parent's client area, in colour. The context's state is restored afterwards.
void DrawBoardCoordinates(CDC* dc, CWnd* parent, CBadukCtrl* board, COLORREF colour);
