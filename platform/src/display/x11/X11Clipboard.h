#pragma once
// The clipboard under X11: the CLIPBOARD selection. Text put on it is offered as UTF-8 from a
// window of its own; text read from another program's selection arrives as code page 949.

#include <memory>
#include <string>

struct _XDisplay;
union _XEvent;

namespace platform::detail {

class X11Clipboard {
public:
  explicit X11Clipboard(_XDisplay* display);
  ~X11Clipboard();
  X11Clipboard(const X11Clipboard&) = delete;
  X11Clipboard& operator=(const X11Clipboard&) = delete;

  // The clipboard's text (code page 949): ours at once, another program's when it answers within
  // a second; empty when there is none or no text form of it.
  std::string Text();
  // Makes this program the owner of the selection, holding text (code page 949).
  void SetText(const std::string& cp949);
  // Answers the selection events meant for the clipboard's window; false for any other event.
  bool Handle(_XEvent& event);

private:
  void Answer(_XEvent& request);
  // Waits for the owner's answer to a conversion request; false when none came in time.
  bool AwaitAnswer(_XEvent* answer);
  std::string ReadProperty();

  _XDisplay* m_display{nullptr};
  unsigned long m_window{0};
  unsigned long m_clipboard{0};
  unsigned long m_targets{0};
  unsigned long m_utf8String{0};
  unsigned long m_text{0};
  unsigned long m_property{0};  // where answers to our requests are put
  unsigned long m_incr{0};
  bool m_owner{false};
  std::string m_cp949;
  std::string m_utf8;
};

}  // namespace platform::detail
