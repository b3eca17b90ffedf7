#pragma once
// A test's session on the private X server: the platform's X11 backend in use, and a second
// connection that acts as a person does (keys and clicks sent to the program's X windows) and
// looks at what the server shows. Waiting is always on a condition with a deadline.

#include <functional>
#include <initializer_list>
#include <string>

#include "platform/geometry.h"
#include "platform/types.h"

struct _XDisplay;

namespace platform::testing {

// An action for while a nested loop runs (a menu being tracked, a modal dialog): done once, on
// the first timer tick that finds ready true. The ticks stop when the object goes. So that a
// fault fails a test rather than hanging it, giveUp (when given) runs when ready never held for
// about twelve seconds, or still holds some six seconds after the action.
class ActWhen {
public:
  ActWhen(std::function<bool()> ready, std::function<void()> act, std::function<void()> giveUp = nullptr);
  ~ActWhen();
  ActWhen(const ActWhen&) = delete;
  ActWhen& operator=(const ActWhen&) = delete;
  bool Acted() const { return m_acted; }

private:
  static void Tick(HWND, UINT, UINT_PTR, DWORD);

  std::function<bool()> m_ready;
  std::function<void()> m_act;
  std::function<void()> m_giveUp;
  UINT_PTR m_timer{0};
  int m_ticks{0};
  int m_ticksAfter{0};  // since the action
  bool m_acted{false};
  bool m_done{false};
};

// Whether a pop-up menu of the program is shown (a menu being tracked shows one).
bool MenuOpen();

class X11Session {
public:
  X11Session() = default;
  ~X11Session();
  X11Session(const X11Session&) = delete;
  X11Session& operator=(const X11Session&) = delete;

  // Switches the platform to the X server; false (the test skips) when there is none.
  bool Open();
  bool IsOpen() const { return m_observer != nullptr; }

  // The X window that shows a top-level window (0 while it has none).
  unsigned long Native(HWND top) const;
  // Presses and releases each key symbol in turn on top's X window with the modifier state
  // (X masks) held, all in one batch, as fast typing arrives.
  void Keys(HWND top, std::initializer_list<unsigned long> keysyms, unsigned state = 0);
  // Types text (letters, digits, spaces, '\t' for Tab, '\r' for Return) on top's X window, all
  // in one batch.
  void Type(HWND top, const std::string& text);
  // A left click (twice: a double click) at a client point of window (any window, child or not).
  void Click(HWND window, POINT client, bool twice = false);
  // The left button only pressed (press) or only released there, as a person holding it does.
  void Button(HWND window, POINT client, bool press);
  // Pumps the program and the server until pred holds; false after the deadline.
  bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 12000);
  // Lets the program and the server catch up with each other.
  void Settle();
  // The title the server shows for top's X window.
  std::string Title(HWND top) const;
  // The colour (0xRRGGBB) the server shows at a client point of window; -1 when unreadable.
  long PixelAt(HWND window, POINT client) const;

private:
  void SendKey(unsigned long window, unsigned long keysym, bool press, unsigned state);
  void SendButton(unsigned long window, POINT at, bool press);
  // A client point of hwnd in the X window of its top-level window.
  POINT PointInTop(HWND hwnd, POINT client) const;

  _XDisplay* m_observer{nullptr};
};

}  // namespace platform::testing
