#include "X11Clipboard.h"

#include <poll.h>

#include <chrono>
#include <cstdio>

#include "platform/strings.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform::detail {
namespace {

constexpr int kAnswerWaitMs = 1000;

std::string Latin1ToUtf8(const std::string& latin1) {
  std::string out;
  for (char c : latin1) {
    unsigned char ch = static_cast<unsigned char>(c);
    if (ch < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (ch >> 6));
      out += static_cast<char>(0x80 | (ch & 0x3F));
    }
  }
  return out;
}

}  // namespace

X11Clipboard::X11Clipboard(_XDisplay* display) : m_display(display) {
  XSetWindowAttributes attributes{};
  m_window = XCreateWindow(m_display, DefaultRootWindow(m_display), -10, -10, 1, 1, 0, CopyFromParent, InputOnly,
                           CopyFromParent, 0, &attributes);
  m_clipboard = XInternAtom(m_display, "CLIPBOARD", False);
  m_targets = XInternAtom(m_display, "TARGETS", False);
  m_utf8String = XInternAtom(m_display, "UTF8_STRING", False);
  m_text = XInternAtom(m_display, "TEXT", False);
  m_property = XInternAtom(m_display, "PLATFORM_CLIPBOARD", False);
  m_incr = XInternAtom(m_display, "INCR", False);
}

X11Clipboard::~X11Clipboard() { XDestroyWindow(m_display, m_window); }

void X11Clipboard::SetText(const std::string& cp949) {
  m_cp949 = cp949;
  m_utf8 = Cp949ToUtf8(cp949);
  XSetSelectionOwner(m_display, m_clipboard, m_window, CurrentTime);
  m_owner = XGetSelectionOwner(m_display, m_clipboard) == m_window;
  if (!m_owner) std::fprintf(stderr, "platform: the X server did not give us the clipboard\n");
  XFlush(m_display);
}

std::string X11Clipboard::Text() {
  // The owner is asked of the server: another program may have taken the selection since.
  Window owner = XGetSelectionOwner(m_display, m_clipboard);
  m_owner = owner == m_window;
  if (m_owner) return m_cp949;
  if (owner == 0) return {};
  XDeleteProperty(m_display, m_window, m_property);
  XConvertSelection(m_display, m_clipboard, m_utf8String, m_property, m_window, CurrentTime);
  XFlush(m_display);
  XEvent answer;
  if (!AwaitAnswer(&answer)) {
    std::fprintf(stderr, "platform: the clipboard's owner did not answer\n");
    return {};
  }
  if (answer.xselection.property == 0) return {};
  return ReadProperty();
}

bool X11Clipboard::AwaitAnswer(XEvent* answer) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerWaitMs);
  for (;;) {
    if (XCheckTypedWindowEvent(m_display, m_window, SelectionNotify, answer)) return true;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count();
    if (left <= 0) return false;
    pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
    ::poll(&fd, 1, static_cast<int>(left));
  }
}

std::string X11Clipboard::ReadProperty() {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(m_display, m_window, m_property, 0, 0x1000000, True, AnyPropertyType, &type, &format, &count,
                         &after, &data) != Success) {
    return {};
  }
  std::string bytes(data && format == 8 ? reinterpret_cast<const char*>(data) : "", format == 8 ? count : 0);
  if (data) XFree(data);
  if (type == m_incr) {
    std::fprintf(stderr, "platform: clipboard text sent in parts is not taken\n");
    return {};
  }
  if (type == XA_STRING) bytes = Latin1ToUtf8(bytes);
  else if (type != m_utf8String && type != m_text) return {};
  CString cp949 = Utf8ToCp949(bytes);
  return std::string(cp949.GetString(), static_cast<std::size_t>(cp949.GetLength()));
}

bool X11Clipboard::Handle(XEvent& event) {
  if (event.type == SelectionClear && event.xselectionclear.window == m_window) {
    if (event.xselectionclear.selection == m_clipboard) m_owner = false;
    return true;
  }
  if (event.type == SelectionRequest && event.xselectionrequest.owner == m_window) {
    Answer(event);
    return true;
  }
  return false;
}

void X11Clipboard::Answer(XEvent& event) {
  const XSelectionRequestEvent& request = event.xselectionrequest;
  // Old clients name no property: the target is used as one.
  Atom property = request.property ? request.property : request.target;
  bool fits = static_cast<long>(m_utf8.size()) < XMaxRequestSize(m_display) * 4 - 64;
  if (!m_owner || request.selection != m_clipboard) {
    property = 0;
  } else if (request.target == m_targets) {
    Atom targets[] = {m_targets, m_utf8String, m_text};
    XChangeProperty(m_display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(targets), 3);
  } else if ((request.target == m_utf8String || request.target == m_text) && fits) {
    XChangeProperty(m_display, request.requestor, property, m_utf8String, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(m_utf8.data()), static_cast<int>(m_utf8.size()));
  } else {
    if (!fits) std::fprintf(stderr, "platform: clipboard text too long to hand over at once\n");
    property = 0;
  }
  XEvent reply{};
  reply.xselection.type = SelectionNotify;
  reply.xselection.requestor = request.requestor;
  reply.xselection.selection = request.selection;
  reply.xselection.target = request.target;
  reply.xselection.property = property;
  reply.xselection.time = request.time;
  XSendEvent(m_display, request.requestor, False, NoEventMask, &reply);
  XFlush(m_display);
}

}  // namespace platform::detail
