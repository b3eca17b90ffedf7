#pragma once
// The X input method: an input context for each top-level X window, so that an input method
// server (ibus, fcitx, ...) composes text, Korean among it, for the window that has the focus.
// Without a server (or where Xlib cannot open one) it is closed and key presses are looked up
// as plain keys.

#include <string>
#include <unordered_map>

struct _XDisplay;
struct _XIM;
struct _XIC;
union _XEvent;

namespace platform::detail {

class X11InputMethod {
public:
  // What a key press gives.
  struct Lookup {
    std::string utf8;          // the text it types or the input method committed
    unsigned long keysym{0};   // 0 when the press only delivered committed text
  };

  explicit X11InputMethod(_XDisplay* display);
  ~X11InputMethod();
  X11InputMethod(const X11InputMethod&) = delete;
  X11InputMethod& operator=(const X11InputMethod&) = delete;

  bool IsOpen() const { return m_im != nullptr; }
  // Makes the context of an X window; returns the events its input method wants besides ours.
  long Attach(unsigned long window);
  void Detach(unsigned long window);
  void SetFocus(unsigned long window, bool focused);
  // Whether the input method took the event for itself (the caller then ignores it).
  bool Filter(_XEvent& event);
  // Looks a key press up through the window's context; false when it has none.
  bool LookUp(_XEvent& keyPress, Lookup* result);

private:
  static void Destroyed(_XIM* im, char* self, char* unused);

  _XDisplay* m_display{nullptr};
  _XIM* m_im{nullptr};
  std::unordered_map<unsigned long, _XIC*> m_contexts;  // X window -> its context
};

}  // namespace platform::detail
