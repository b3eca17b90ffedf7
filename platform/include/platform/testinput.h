#pragma once
// Synthesised input for tests: mouse and keys on any window at client coordinates, through the
// same routing as real input (the queue, PreTranslateMessage, TranslateMessage, dispatch). Mouse
// messages go to the window under the point (or the capture window); keys go to the focus window.
// Each call pumps the messages it caused before returning.

#include "platform/geometry.h"
#include "platform/types.h"

namespace platform::input {

// Which button a mouse call uses.
enum class Button { Left, Right, Middle };

// Moves the mouse to point (client coordinates of hwnd): WM_SETCURSOR and WM_MOUSEMOVE.
void MouseMove(HWND hwnd, POINT point);
void MouseDown(HWND hwnd, POINT point, Button button = Button::Left);
void MouseUp(HWND hwnd, POINT point, Button button = Button::Left);
// Down and up at point.
void Click(HWND hwnd, POINT point, Button button = Button::Left);
// Two clicks; the second down is a double click when the receiving window's class has CS_DBLCLKS.
void DoubleClick(HWND hwnd, POINT point, Button button = Button::Left);
// Down at from, moves in steps to to, up at to.
void Drag(HWND hwnd, POINT from, POINT to, int steps = 4, Button button = Button::Left);
// Wheel turn at point; delta in multiples of 120 per notch.
void Wheel(HWND hwnd, POINT point, int delta);

// Key down (and the WM_CHAR TranslateMessage makes), key up.
void KeyDown(UINT virtualKey);
void KeyUp(UINT virtualKey);
// Down and up.
void PressKey(UINT virtualKey);
// Holds or releases a modifier (VK_SHIFT, VK_CONTROL, VK_MENU) for the following input.
void SetModifier(UINT virtualKey, bool down);
// Types text (code page 949 bytes, each byte one WM_CHAR as an ANSI window receives it) to the
// focus window.
void TypeText(const char* text);
// Delivers text an input method composed (UTF-8), as the X11 display delivers what the input
// method commits: code page 949 characters whole to the focus window, those it cannot hold dropped.
void ComposeText(const char* utf8);

// The window a mouse message at hwnd's client point would go to (capture aside), and the point
// in that window's client coordinates.
HWND HitTest(HWND hwnd, POINT point, POINT* clientPoint = nullptr);

}  // namespace platform::input
