#pragma once
// The viewer's short state messages ("Connection success.", "Voice on.") in the first pane of the
// main frame's status bar.

// Sets pane 0 of the main frame's status bar and repaints the bar at once; nothing without a
// main window or status bar.
void ShowStatusText(const char* text);
