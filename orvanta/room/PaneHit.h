#pragma once
// Which of a window's panes a mouse message falls in: the room and the review dialog both answer a
// double click on a player's name pane.

#include <initializer_list>

#include <platform/windows.h>

// The id among ids of the child of parent whose window holds the mouse message's point; 0 for none.
UINT PaneUnderMouse(const CWnd& parent, const MSG& msg, std::initializer_list<UINT> ids);
