#pragma once
// What a window manager is told about a top-level X window beyond its size: its type (a dialog
// or a normal window), the decorations and functions its style asks for (Motif hints), the window
// it stands over, and its states (modal, full screen).

#include <array>
#include <unordered_map>

#include "platform/geometry.h"
#include "platform/types.h"

struct _XDisplay;

namespace platform::detail {

struct WindowState;

class WindowManagerHints {
public:
  WindowManagerHints(_XDisplay* display, int screen);

  // Before window (of top) is mapped: its type, decorations, functions, and the states it
  // starts in (modal when its owner is disabled, full screen as asked).
  void BeforeMap(HWND top, unsigned long window, bool fullScreen);
  // After top's style changed: the decorations and functions again.
  void ApplyDecorations(HWND top, unsigned long window);
  // The window is gone: what was sent for it is forgotten.
  void Forget(unsigned long window) { m_decorations.erase(window); }
  // Asks the manager to put a mapped window into full screen or take it out.
  void RequestFullScreen(unsigned long window, bool on);

  // Whether top is made full screen the class library's way: without its caption and borders
  // it covers the whole screen (no such styles left, or they lie beyond the screen's edges).
  static bool AsksFullScreen(HWND top);
  // Where the screen's top-left corner lies in top's window: what a full-screen X window shows.
  static POINT FullScreenOffset(HWND top);

private:
  bool IsDialog(HWND top, const WindowState& s) const;

  _XDisplay* m_display{nullptr};
  int m_screen{0};
  unsigned long m_type{0};
  unsigned long m_typeDialog{0};
  unsigned long m_typeNormal{0};
  unsigned long m_motifHints{0};
  unsigned long m_state{0};
  unsigned long m_stateModal{0};
  unsigned long m_stateFullScreen{0};
  // The functions and decorations last sent for each window: a move with the same style sends none.
  std::unordered_map<unsigned long, std::array<long, 2>> m_decorations;
};

}  // namespace platform::detail
