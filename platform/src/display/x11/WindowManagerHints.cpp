#include "WindowManagerHints.h"

// Our headers first: Xlib defines macros (None, Bool, Status, ...) that must not reach them.
#include <vector>

#include "../../windows/WindowTable.h"
#include "platform/windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform::detail {
namespace {

// The Motif hints' layout and bits (flags, functions, decorations, input mode, status).
constexpr long kMwmHintsFunctions = 1L << 0;
constexpr long kMwmHintsDecorations = 1L << 1;
constexpr long kMwmFuncResize = 1L << 1;
constexpr long kMwmFuncMove = 1L << 2;
constexpr long kMwmFuncMinimize = 1L << 3;
constexpr long kMwmFuncMaximize = 1L << 4;
constexpr long kMwmFuncClose = 1L << 5;
constexpr long kMwmDecorBorder = 1L << 1;
constexpr long kMwmDecorResizeH = 1L << 2;
constexpr long kMwmDecorTitle = 1L << 3;
constexpr long kMwmDecorMenu = 1L << 4;
constexpr long kMwmDecorMinimize = 1L << 5;
constexpr long kMwmDecorMaximize = 1L << 6;
constexpr long kNetWmStateRemove = 0;
constexpr long kNetWmStateAdd = 1;

}  // namespace

WindowManagerHints::WindowManagerHints(_XDisplay* display, int screen) : m_display(display), m_screen(screen) {
  m_type = XInternAtom(m_display, "_NET_WM_WINDOW_TYPE", False);
  m_typeDialog = XInternAtom(m_display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  m_typeNormal = XInternAtom(m_display, "_NET_WM_WINDOW_TYPE_NORMAL", False);
  m_motifHints = XInternAtom(m_display, "_MOTIF_WM_HINTS", False);
  m_state = XInternAtom(m_display, "_NET_WM_STATE", False);
  m_stateModal = XInternAtom(m_display, "_NET_WM_STATE_MODAL", False);
  m_stateFullScreen = XInternAtom(m_display, "_NET_WM_STATE_FULLSCREEN", False);
}

bool WindowManagerHints::IsDialog(HWND top, const WindowState& s) const {
  CString className = WindowClassName(top);
  return className == "#32770" || className == "PlatformMessageBox" || (s.exStyle & WS_EX_DLGMODALFRAME);
}

void WindowManagerHints::BeforeMap(HWND top, unsigned long window, bool fullScreen) {
  WindowState* s = Find(top);
  if (!s) return;
  Atom type = IsDialog(top, *s) ? m_typeDialog : m_typeNormal;
  m_decorations.erase(window);  // sent again with the rest
  XChangeProperty(m_display, window, m_type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&type), 1);
  ApplyDecorations(top, window);
  // A window shown while its owner is disabled answers for it: the manager keeps it over it.
  std::vector<Atom> states;
  if (s->owner && !::IsWindowEnabled(s->owner)) states.push_back(m_stateModal);
  if (fullScreen) states.push_back(m_stateFullScreen);
  XChangeProperty(m_display, window, m_state, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(states.data()), static_cast<int>(states.size()));
}

void WindowManagerHints::ApplyDecorations(HWND top, unsigned long window) {
  WindowState* s = Find(top);
  if (!s) return;
  const DWORD style = s->style;
  long functions = kMwmFuncMove;
  long decorations = 0;
  if ((style & WS_CAPTION) == WS_CAPTION) decorations |= kMwmDecorTitle | kMwmDecorBorder;
  if (style & WS_BORDER) decorations |= kMwmDecorBorder;
  if (style & WS_THICKFRAME) {
    functions |= kMwmFuncResize;
    decorations |= kMwmDecorResizeH | kMwmDecorBorder;
  }
  if (style & WS_SYSMENU) {
    functions |= kMwmFuncClose;
    decorations |= kMwmDecorMenu;
  }
  // A top-level window's group and tab-stop bits are its minimise and maximise boxes.
  if (style & WS_MINIMIZEBOX) {
    functions |= kMwmFuncMinimize;
    decorations |= kMwmDecorMinimize;
  }
  if (style & WS_MAXIMIZEBOX) {
    functions |= kMwmFuncMaximize;
    decorations |= kMwmDecorMaximize;
  }
  std::array<long, 2>& sent = m_decorations[window];
  if (sent == std::array<long, 2>{functions, decorations}) return;
  sent = {functions, decorations};
  long hints[5] = {kMwmHintsFunctions | kMwmHintsDecorations, functions, decorations, 0, 0};
  XChangeProperty(m_display, window, m_motifHints, m_motifHints, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(hints), 5);
}

void WindowManagerHints::RequestFullScreen(unsigned long window, bool on) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = m_state;
  event.xclient.format = 32;
  event.xclient.data.l[0] = on ? kNetWmStateAdd : kNetWmStateRemove;
  event.xclient.data.l[1] = static_cast<long>(m_stateFullScreen);
  event.xclient.data.l[3] = 1;  // asked by the program itself
  XSendEvent(m_display, RootWindow(m_display, m_screen), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &event);
}

bool WindowManagerHints::AsksFullScreen(HWND top) {
  WindowState* s = Find(top);
  if (!s || s->minimized || (s->style & WS_CHILD)) return false;
  // Without its caption and borders (which may also have been taken from its style) the window
  // covers the screen: its menu bar may show at the top or lie above it as well.
  const SIZE screen = GetScreenSize();
  const RECT insets = NonClientInsets(s->style, s->exStyle, false);
  const RECT inner{s->rect.left + insets.left, s->rect.top + insets.top, s->rect.right - insets.right,
                   s->rect.bottom - insets.bottom};
  return inner.left <= 0 && inner.top <= 0 && inner.right >= screen.cx && inner.bottom >= screen.cy;
}

POINT WindowManagerHints::FullScreenOffset(HWND top) {
  WindowState* s = Find(top);
  return s ? POINT{-s->rect.left, -s->rect.top} : POINT{0, 0};
}

}  // namespace platform::detail
