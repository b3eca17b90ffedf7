#include "X11InputMethod.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform::detail {
namespace {

bool IsPlainLocale(const char* name) { return !name || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0; }

}  // namespace

X11InputMethod::X11InputMethod(_XDisplay* display) : m_display(display) {
  // An input method server talks to programs in the person's locale; a program still in the C
  // locale takes the character type of the environment when the person named a server.
  const char* modifiers = std::getenv("XMODIFIERS");
  if (modifiers && *modifiers && IsPlainLocale(std::setlocale(LC_CTYPE, nullptr))) {
    std::setlocale(LC_CTYPE, "");
    if (!XSupportsLocale()) std::setlocale(LC_CTYPE, "C");
  }
  if (!XSupportsLocale() || !XSetLocaleModifiers("")) return;
  m_im = XOpenIM(m_display, nullptr, nullptr, nullptr);
  if (!m_im) return;
  XIMStyles* styles = nullptr;
  bool rootStyle = false;
  if (!XGetIMValues(m_im, XNQueryInputStyle, &styles, nullptr) && styles) {
    for (unsigned short i = 0; i < styles->count_styles; ++i) {
      if (styles->supported_styles[i] == (XIMPreeditNothing | XIMStatusNothing)) rootStyle = true;
    }
    XFree(styles);
  }
  if (!rootStyle) {
    // The server shows its own composition window only in this style; others need drawing here.
    XCloseIM(m_im);
    m_im = nullptr;
    return;
  }
  XIMCallback destroyed{reinterpret_cast<XPointer>(this), &X11InputMethod::Destroyed};
  XSetIMValues(m_im, XNDestroyCallback, &destroyed, nullptr);
}

X11InputMethod::~X11InputMethod() {
  for (auto& [window, context] : m_contexts) XDestroyIC(context);
  if (m_im) XCloseIM(m_im);
}

void X11InputMethod::Destroyed(_XIM*, char* self, char*) {
  // The server went away: its contexts are gone with it, keys are plain keys from now on.
  auto* method = reinterpret_cast<X11InputMethod*>(self);
  method->m_im = nullptr;
  method->m_contexts.clear();
  std::fprintf(stderr, "platform: the input method server went away\n");
}

long X11InputMethod::Attach(unsigned long window) {
  if (!m_im || m_contexts.count(window)) return 0;
  XIC context = XCreateIC(m_im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, window,
                          XNFocusWindow, window, nullptr);
  if (!context) return 0;
  m_contexts[window] = context;
  long mask = 0;
  XGetICValues(context, XNFilterEvents, &mask, nullptr);
  return mask;
}

void X11InputMethod::Detach(unsigned long window) {
  auto it = m_contexts.find(window);
  if (it == m_contexts.end()) return;
  XDestroyIC(it->second);
  m_contexts.erase(it);
}

void X11InputMethod::SetFocus(unsigned long window, bool focused) {
  auto it = m_contexts.find(window);
  if (it == m_contexts.end()) return;
  if (focused) {
    XSetICFocus(it->second);
  } else {
    XUnsetICFocus(it->second);
  }
}

bool X11InputMethod::Filter(XEvent& event) { return m_im && XFilterEvent(&event, 0); }

bool X11InputMethod::LookUp(XEvent& keyPress, Lookup* result) {
  auto it = m_contexts.find(keyPress.xkey.window);
  if (it == m_contexts.end()) return false;
  std::string buffer(64, '\0');
  KeySym keysym = 0;
  Status status = 0;
  int length = Xutf8LookupString(it->second, &keyPress.xkey, buffer.data(), static_cast<int>(buffer.size()), &keysym,
                                 &status);
  if (status == XBufferOverflow) {
    buffer.assign(static_cast<std::size_t>(length) + 1, '\0');
    length = Xutf8LookupString(it->second, &keyPress.xkey, buffer.data(), static_cast<int>(buffer.size()), &keysym,
                               &status);
  }
  bool hasText = status == XLookupChars || status == XLookupBoth;
  bool hasKey = status == XLookupKeySym || status == XLookupBoth;
  result->utf8 = hasText && length > 0 ? buffer.substr(0, static_cast<std::size_t>(length)) : std::string();
  result->keysym = hasKey ? keysym : 0;
  return true;
}

}  // namespace platform::detail
