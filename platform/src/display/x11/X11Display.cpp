#include "X11Display.h"

// Our headers first: Xlib defines macros (None, Bool, Status, ...) that must not reach them.
#include <poll.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../../loop/InputQueue.h"
#include "../../windows/WindowTable.h"
#include "../InputRouting.h"
#include "CursorShapes.h"
#include "KeyTranslation.h"
#include "platform/messageloop.h"
#include "platform/resources.h"
#include "platform/strings.h"
#include "platform/windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

namespace platform::detail {
namespace {

constexpr long kEventMask = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | KeyPressMask | KeyReleaseMask | FocusChangeMask |
                            PropertyChangeMask;
constexpr long kWmStateIconic = 3;
constexpr long kWmStateNormal = 1;
constexpr long kNetWmStateRemove = 0;
constexpr long kNetWmStateAdd = 1;

// Protocol errors (a window the server destroyed first, a grab refused) are not fatal here:
// the window table stays the truth and the next request puts things right.
int LogXError(::Display* display, XErrorEvent* error) {
  char text[128];
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "platform: X error: %s (request %d)\n", text, error->request_code);
  return 0;
}

bool Empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }


RECT Intersection(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return Empty(r) ? RECT{0, 0, 0, 0} : r;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A window the window manager decorates: it has a caption, which the manager draws instead.
bool IsManaged(const WindowState& s) { return (s.style & WS_CAPTION) == WS_CAPTION || !(s.style & WS_POPUP); }

// The part of the window the manager's frame stands for (borders and caption, not the menu bar).
RECT DecorationInsets(const WindowState& s) {
  return IsManaged(s) ? NonClientInsets(s.style, s.exStyle, false) : RECT{0, 0, 0, 0};
}

// Scales an 8-bit channel into the bits of mask.
unsigned long Channel(std::uint32_t value, unsigned long mask) {
  if (!mask) return 0;
  int shift = std::countr_zero(mask);
  unsigned long max = mask >> shift;
  return ((value * max + 127) / 255) << shift;
}

}  // namespace

std::unique_ptr<DisplayBackend> OpenX11Display(const char* displayName) {
  ::Display* display = XOpenDisplay(displayName);
  if (!display) return nullptr;
  return std::make_unique<X11Display>(display);
}

// ---- life ----

X11Display::X11Display(_XDisplay* display) : m_display(display) {
  XSetErrorHandler(LogXError);
  m_screen = DefaultScreen(m_display);
  m_fd = ConnectionNumber(m_display);
  m_previousScreenSize = GetScreenSize();
  SetScreenSize(SIZE{DisplayWidth(m_display, m_screen), DisplayHeight(m_display, m_screen)});
  Visual* visual = DefaultVisual(m_display, m_screen);
  int depth = DefaultDepth(m_display, m_screen);
  m_directImages = (depth == 24 || depth == 32) && visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 &&
                   visual->blue_mask == 0xFF;
  if (m_directImages) m_shared = SharedPixels::Open(m_display);
  m_wmProtocols = XInternAtom(m_display, "WM_PROTOCOLS", False);
  m_wmDeleteWindow = XInternAtom(m_display, "WM_DELETE_WINDOW", False);
  m_wmState = XInternAtom(m_display, "WM_STATE", False);
  m_netWmName = XInternAtom(m_display, "_NET_WM_NAME", False);
  m_utf8String = XInternAtom(m_display, "UTF8_STRING", False);
  m_netWmState = XInternAtom(m_display, "_NET_WM_STATE", False);
  m_netWmStateMaxH = XInternAtom(m_display, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
  m_netWmStateMaxV = XInternAtom(m_display, "_NET_WM_STATE_MAXIMIZED_VERT", False);
  m_netWmStateFullScreen = XInternAtom(m_display, "_NET_WM_STATE_FULLSCREEN", False);
  m_inputMethod = std::make_unique<X11InputMethod>(m_display);
  m_clipboard = std::make_unique<X11Clipboard>(m_display);
  m_hints = std::make_unique<WindowManagerHints>(m_display, m_screen);
  WatchFd(m_fd, POLLIN, [this](int, short) { ProcessEvents(); });
  AdoptShowingWindows();
  XFlush(m_display);
}

X11Display::~X11Display() {
  UnwatchFd(m_fd);
  TakeModifiers(0);  // keys the server said were down are not down any more for anyone else
  if (m_grabbed) XUngrabPointer(m_display, CurrentTime);
  for (auto& [hwnd, native] : m_windows) {
    m_inputMethod->Detach(native.window);
    XDestroyWindow(m_display, native.window);
    // The windows stay, headless: their pixels go back to ordinary memory.
    if (WindowState* s = Find(hwnd)) SurfaceOf(*s)->MoveToStore(nullptr);
  }
  if (m_shared) m_shared->Disconnect();
  m_inputMethod.reset();
  m_clipboard.reset();
  for (auto& [shape, cursor] : m_cursors) XFreeCursor(m_display, cursor);
  XCloseDisplay(m_display);
  SetScreenSize(m_previousScreenSize);
}

void X11Display::AdoptShowingWindows() {
  for (HWND top : TopLevelWindows()) {
    if (IsShowing(top)) WindowShown(top, true);
  }
  if (HWND capture = CaptureHandle()) CaptureChanged(capture);
}

X11Display::Native* X11Display::Lookup(HWND top) {
  auto it = m_windows.find(top);
  return it == m_windows.end() ? nullptr : &it->second;
}

HWND X11Display::WindowOf(unsigned long native) const {
  auto it = m_byNative.find(native);
  return it == m_byNative.end() ? nullptr : it->second;
}

unsigned long X11Display::NativeWindowOf(HWND top) const {
  auto it = m_windows.find(top);
  return it == m_windows.end() ? 0 : it->second.window;
}

// ---- windows ----

X11Display::Native* X11Display::Create(HWND top) {
  WindowState& s = *Find(top);
  Native native;
  native.overrideRedirect = !IsManaged(s);
  RECT insets = DecorationInsets(s);
  native.offset = POINT{insets.left, insets.top};
  RECT geometry = DesiredGeometry(top, native);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = WhitePixel(m_display, m_screen);
  attributes.event_mask = kEventMask;
  attributes.override_redirect = native.overrideRedirect ? True : False;
  attributes.save_under = native.overrideRedirect ? True : False;
  // A resize keeps what the window shows: what changes is drawn again and put as damage.
  attributes.bit_gravity = NorthWestGravity;
  native.window = XCreateWindow(m_display, RootWindow(m_display, m_screen), geometry.left, geometry.top,
                                static_cast<unsigned>(geometry.right - geometry.left),
                                static_cast<unsigned>(geometry.bottom - geometry.top), 0, CopyFromParent, InputOutput,
                                CopyFromParent,
                                CWBackPixel | CWEventMask | CWOverrideRedirect | CWSaveUnder | CWBitGravity, &attributes);
  native.known = geometry;
  if (long wanted = m_inputMethod->Attach(native.window)) XSelectInput(m_display, native.window, kEventMask | wanted);
  Atom protocols[] = {m_wmDeleteWindow};
  XSetWMProtocols(m_display, native.window, protocols, 1);
  XClassHint classHint{};
  std::string instance = AppName()[0] ? AppName() : "platform";
  classHint.res_name = instance.data();
  classHint.res_class = const_cast<char*>(s.windowClass->name.c_str());
  XSetClassHint(m_display, native.window, &classHint);
  // Room for the screen's size: a window made larger never moves its pixels to a new segment,
  // and room never drawn in costs no memory.
  const SIZE screen = GetScreenSize();
  if (m_shared) SurfaceOf(s)->MoveToStore(m_shared, static_cast<std::size_t>(screen.cx) * screen.cy);
  auto [it, added] = m_windows.emplace(top, native);
  m_byNative[native.window] = top;
  ApplyTitle(top, it->second);
  ApplyOwner(top, it->second);
  ApplySizeHints(top);  // asks the window, which may go away meanwhile
  return Lookup(top);
}

RECT X11Display::DesiredGeometry(HWND top, const Native& native) const {
  if (native.fullScreen) return RECT{0, 0, GetScreenSize().cx, GetScreenSize().cy};
  const WindowState& s = *Find(top);
  RECT insets = DecorationInsets(s);
  RECT r{s.rect.left + native.offset.x, s.rect.top + native.offset.y, s.rect.right - insets.right,
         s.rect.bottom - insets.bottom};
  // X has no empty windows; a window with no area shows one pixel.
  r.right = std::max(r.right, r.left + 1);
  r.bottom = std::max(r.bottom, r.top + 1);
  return r;
}

void X11Display::ApplyGeometry(HWND top, Native& native) {
  RECT insets = DecorationInsets(*Find(top));
  // Full screen, the X window shows the part of the window on the screen.
  native.offset = native.fullScreen ? WindowManagerHints::FullScreenOffset(top) : POINT{insets.left, insets.top};
  RECT wanted = DesiredGeometry(top, native);
  if (SameRect(wanted, native.known)) return;
  native.known = wanted;
  XMoveResizeWindow(m_display, native.window, wanted.left, wanted.top, static_cast<unsigned>(wanted.right - wanted.left),
                    static_cast<unsigned>(wanted.bottom - wanted.top));
}

void X11Display::ApplySizeHints(HWND top) {
  SIZE screen = GetScreenSize();
  MINMAXINFO info{{0, 0}, {screen.cx, screen.cy}, {0, 0}, {0, 0}, {screen.cx * 4, screen.cy * 4}};
  ::SendMessage(top, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  WindowState* s = Find(top);
  Native* found = Lookup(top);
  if (!s || !found) return;
  Native& native = *found;
  RECT insets = DecorationInsets(*s);
  LONG frameX = insets.left + insets.right;
  LONG frameY = insets.top + insets.bottom;
  XSizeHints hints{};
  // Positions name where the X window itself goes, not the manager's frame around it: the
  // window's own rectangle already holds its caption and borders.
  hints.flags = PPosition | USPosition | PMinSize | PWinGravity;
  hints.win_gravity = StaticGravity;
  hints.x = native.known.left;
  hints.y = native.known.top;
  hints.min_width = std::max<int>(1, info.ptMinTrackSize.x - frameX);
  hints.min_height = std::max<int>(1, info.ptMinTrackSize.y - frameY);
  if (info.ptMaxTrackSize.x > 0 && info.ptMaxTrackSize.y > 0 && info.ptMaxTrackSize.x < screen.cx * 4) {
    hints.flags |= PMaxSize;
    hints.max_width = std::max<int>(hints.min_width, info.ptMaxTrackSize.x - frameX);
    hints.max_height = std::max<int>(hints.min_height, info.ptMaxTrackSize.y - frameY);
  }
  if (!(s->style & WS_THICKFRAME)) {
    // A window without a sizing frame keeps its size.
    hints.flags |= PMinSize | PMaxSize;
    hints.min_width = hints.max_width = static_cast<int>(native.known.right - native.known.left);
    hints.min_height = hints.max_height = static_cast<int>(native.known.bottom - native.known.top);
  }
  XSetWMNormalHints(m_display, native.window, &hints);
}

void X11Display::HoldMinimumSize(HWND top) {
  Native* native = Lookup(top);
  if (!native || !Find(top)) return;
  if (SameRect(DesiredGeometry(top, *native), native->known)) return;
  ApplySizeHints(top);
  native = Lookup(top);  // the window was asked its limits and may have gone
  if (native && Find(top)) ApplyGeometry(top, *native);
}

void X11Display::ApplyTitle(HWND top, Native& native) {
  WindowState* s = Find(top);
  std::string utf8 = Cp949ToUtf8(std::string_view(s->text.GetString(), static_cast<std::size_t>(s->text.GetLength())));
  auto* bytes = reinterpret_cast<const unsigned char*>(utf8.c_str());
  int length = static_cast<int>(utf8.size());
  XChangeProperty(m_display, native.window, m_netWmName, m_utf8String, 8, PropModeReplace, bytes, length);
  XChangeProperty(m_display, native.window, XA_WM_NAME, m_utf8String, 8, PropModeReplace, bytes, length);
}

void X11Display::ApplyOwner(HWND top, Native& native) {
  WindowState* s = Find(top);
  if (!s || !s->owner) return;
  const unsigned long window = native.window;  // native may move when the owner's is made
  HWND ownerHandle = s->owner;
  // An owner not shown yet (the frame behind a first login dialog) gets its X window now, so that
  // the manager treats the window as the dialog it is.
  Native* owner = Lookup(ownerHandle);
  if (!owner && Find(ownerHandle) && !Find(ownerHandle)->parent) owner = Create(ownerHandle);
  if (owner) XSetTransientForHint(m_display, window, owner->window);
}

void X11Display::SetMaximizedState(Native& native, bool maximized) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = native.window;
  event.xclient.message_type = m_netWmState;
  event.xclient.format = 32;
  event.xclient.data.l[0] = maximized ? kNetWmStateAdd : kNetWmStateRemove;
  event.xclient.data.l[1] = static_cast<long>(m_netWmStateMaxH);
  event.xclient.data.l[2] = static_cast<long>(m_netWmStateMaxV);
  XSendEvent(m_display, RootWindow(m_display, m_screen), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &event);
}

void X11Display::WindowShown(HWND top, bool shown) {
  Native* native = Lookup(top);
  if (!shown) {
    if (native) XUnmapWindow(m_display, native->window);
    return;
  }
  if (!native) native = Create(top);
  WindowState* s = Find(top);
  if (!native || !s) return;
  XWMHints hints{};
  hints.flags = InputHint | StateHint;
  hints.input = True;
  hints.initial_state = s->minimized ? IconicState : NormalState;
  XSetWMHints(m_display, native->window, &hints);
  if (!native->overrideRedirect) {
    native->fullScreen = WindowManagerHints::AsksFullScreen(top);
    ApplyGeometry(top, *native);
    m_hints->BeforeMap(top, native->window, native->fullScreen);
  }
  if (s->maximized && !native->fullScreen) SetMaximizedState(*native, true);
  MarkDirty(*native, RECT{0, 0, s->rect.right - s->rect.left, s->rect.bottom - s->rect.top});
  XMapRaised(m_display, native->window);
  XFlush(m_display);
}

void X11Display::WindowMoved(HWND top) {
  Native* native = Lookup(top);
  if (!native) return;
  RECT before = native->known;
  FollowFullScreen(top, *native);
  native = Lookup(top);
  if (!native) return;
  ApplyGeometry(top, *native);
  if (!SameRect(before, native->known)) ApplySizeHints(top);
}

void X11Display::WindowTextChanged(HWND top) {
  if (Native* native = Lookup(top)) ApplyTitle(top, *native);
}

void X11Display::WindowStateChanged(HWND top) {
  Native* native = Lookup(top);
  WindowState* s = Find(top);
  if (!native || !s || m_fromServer == top) return;
  if (s->minimized) {
    XIconifyWindow(m_display, native->window, m_screen);
    return;
  }
  // Full screen stands for the maximised state: the manager would otherwise give the maximised
  // size back when full screen ends, instead of the place the program asks for.
  if (!native->fullScreen) {
    if (s->maximized) {
      AwaitMaximized(*native, true);
      SetMaximizedState(*native, true);
    } else {
      LeaveManagedState(top, *native, [&] { SetMaximizedState(*native, false); }, true);
      native = Lookup(top);
      if (!native) return;
    }
  }
  if ((s->style & WS_VISIBLE) && !native->mapped) XMapRaised(m_display, native->window);
}

void X11Display::LeaveManagedState(HWND top, Native& native, const std::function<void()>& askManager,
                                   bool ownPlace) {
  // Reports the manager made before it was asked still show its own place: taken in, they would
  // become the program's place and be asked back of it.
  native.leftFullScreenAt = NextRequest(m_display);
  AwaitMaximized(native, !ownPlace);
  askManager();
  m_hints->ApplyDecorations(top, native.window);
  RECT insets = DecorationInsets(*Find(top));
  native.offset = POINT{insets.left, insets.top};
  const RECT wanted = DesiredGeometry(top, native);
  if (ownPlace) {
    native.known = wanted;
    native.restoreTo = wanted;
    native.restoreRequests = 3;
  }
  const unsigned long window = native.window;
  ApplySizeHints(top);  // asks the window, which may go away meanwhile
  if (!Lookup(top) || !ownPlace) return;
  XMoveResizeWindow(m_display, window, wanted.left, wanted.top, static_cast<unsigned>(wanted.right - wanted.left),
                    static_cast<unsigned>(wanted.bottom - wanted.top));
}

void X11Display::WindowDestroyed(HWND top) {
  Native* native = Lookup(top);
  if (!native) return;
  unsigned long window = native->window;
  if (m_grabbed == window) {
    XUngrabPointer(m_display, CurrentTime);
    m_grabbed = 0;
  }
  if (m_pointerWindow == window) m_pointerWindow = 0;
  m_inputMethod->Detach(window);
  m_hints->Forget(window);
  XDestroyWindow(m_display, window);
  XFlush(m_display);
  m_byNative.erase(window);
  m_windows.erase(top);
}

void X11Display::WindowActivated(HWND) {
  // Focus events the server made before now tell of an older state: they are passed over, also
  // while the newly active window waits to be mapped.
  m_focusRequest = NextRequest(m_display);
  FocusActive();
}

void X11Display::FocusActive() {
  Native* native = Lookup(::GetActiveWindow());
  if (!native || !native->mapped) return;
  m_focusRequest = NextRequest(m_display);
  XSetInputFocus(m_display, native->window, RevertToParent, CurrentTime);
}

void X11Display::CaptureChanged(HWND capture) {
  Native* native = capture ? Lookup(GetAncestorTopLevel(capture)) : nullptr;
  if (native && native->window == m_grabbed) return;
  if (m_grabbed) {
    XUngrabPointer(m_display, CurrentTime);
    m_grabbed = 0;
  }
  if (!native || !native->mapped) return;
  unsigned int mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
  if (XGrabPointer(m_display, native->window, False, mask, GrabModeAsync, GrabModeAsync, 0, 0, CurrentTime) ==
      GrabSuccess) {
    m_grabbed = native->window;
  }
}

// ---- painting ----

void X11Display::MarkDirty(Native& native, const RECT& area) { native.dirty.Add(area); }

void X11Display::Present(HWND top, Native& native) {
  Surface* surface = SurfaceOf(*Find(top));
  if (!native.mapped || (native.dirty.Empty() && surface->damage.Empty())) return;
  for (const RECT& drawn : surface->damage.Take()) native.dirty.Add(drawn);
  RECT shown{native.offset.x, native.offset.y, native.offset.x + (native.known.right - native.known.left),
             native.offset.y + (native.known.bottom - native.known.top)};
  shown = Intersection(shown, RECT{0, 0, surface->width, surface->height});
  std::vector<RECT> areas;
  for (const RECT& changed : native.dirty.Take()) {
    RECT area = Intersection(changed, shown);
    if (!Empty(area)) areas.push_back(area);
  }
  if (areas.empty()) return;
  if (m_directImages && PutShared(native, *surface, areas)) return;
  for (const RECT& area : areas) {
    if (m_directImages && PutDirect(native, *surface, area)) continue;
    m_directImages = false;
    PutConverted(native, *surface, area);
  }
}

bool X11Display::PutShared(const Native& native, Surface& surface, const std::vector<RECT>& areas) {
  const SharedPixels::Segment* segment = m_shared ? m_shared->SegmentOf(surface.pixels.data()) : nullptr;
  if (!segment) return false;
  XShmSegmentInfo info{segment->id, segment->shmid, segment->address, False};
  XImage* image = XShmCreateImage(m_display, DefaultVisual(m_display, m_screen),
                                  static_cast<unsigned>(DefaultDepth(m_display, m_screen)), ZPixmap,
                                  reinterpret_cast<char*>(surface.pixels.data()), &info,
                                  static_cast<unsigned>(surface.width), static_cast<unsigned>(surface.height));
  if (!image) return false;
  const bool fits = image->bits_per_pixel == 32 && image->bytes_per_line == surface.width * 4;
  if (fits) {
    image->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    for (const RECT& area : areas) {
      XShmPutImage(m_display, native.window, DefaultGC(m_display, m_screen), image, area.left, area.top,
                   area.left - native.offset.x, area.top - native.offset.y,
                   static_cast<unsigned>(area.right - area.left), static_cast<unsigned>(area.bottom - area.top),
                   True);
    }
  }
  XDestroyImage(image);  // the image only: the pixels stay the surface's
  if (!fits) return false;
  // The server reads the segment after the requests arrive: the program draws again only once it
  // has said it is done with every put. A put refused (the window gone) never says so; the round
  // trips bound the wait.
  std::size_t pending = areas.size();
  for (int trip = 0; pending > 0 && trip < 3; ++trip) {
    XSync(m_display, False);
    XEvent done;
    while (pending > 0 && XCheckTypedEvent(m_display, m_shared->CompletionType(), &done)) --pending;
  }
  return true;
}

bool X11Display::PutDirect(const Native& native, Surface& surface, const RECT& area) {
  // The surface's rows are put as they are: its pixels are already 0x00RRGGBB words.
  XImage* image = XCreateImage(m_display, DefaultVisual(m_display, m_screen),
                               static_cast<unsigned>(DefaultDepth(m_display, m_screen)), ZPixmap, 0,
                               reinterpret_cast<char*>(surface.pixels.data()), static_cast<unsigned>(surface.width),
                               static_cast<unsigned>(surface.height), 32, surface.width * 4);
  if (!image) return false;
  bool fits = image->bits_per_pixel == 32;
  if (fits) {
    image->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    XPutImage(m_display, native.window, DefaultGC(m_display, m_screen), image, area.left, area.top,
              area.left - native.offset.x, area.top - native.offset.y, static_cast<unsigned>(area.right - area.left),
              static_cast<unsigned>(area.bottom - area.top));
  }
  image->data = nullptr;  // the surface owns the pixels
  XDestroyImage(image);
  return fits;
}

void X11Display::PutConverted(const Native& native, const Surface& surface, const RECT& area) {
  int width = area.right - area.left;
  int height = area.bottom - area.top;
  Visual* visual = DefaultVisual(m_display, m_screen);
  XImage* image = XCreateImage(m_display, visual, static_cast<unsigned>(DefaultDepth(m_display, m_screen)), ZPixmap, 0,
                               nullptr, static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
  if (!image) return;
  image->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(image->bytes_per_line) * height));
  if (!image->data) {
    XDestroyImage(image);
    return;
  }
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = surface.Row(area.top + y) + area.left;
    for (int x = 0; x < width; ++x) {
      std::uint32_t rgb = row[x];
      XPutPixel(image, x, y,
                Channel((rgb >> 16) & 0xFF, visual->red_mask) | Channel((rgb >> 8) & 0xFF, visual->green_mask) |
                    Channel(rgb & 0xFF, visual->blue_mask));
    }
  }
  XPutImage(m_display, native.window, DefaultGC(m_display, m_screen), image, 0, 0, area.left - native.offset.x,
            area.top - native.offset.y, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XDestroyImage(image);  // frees the pixels with free()
}

void X11Display::PresentAll(bool unlessPainting) {
  MSG paint{};
  for (auto& [top, native] : m_windows) {
    // Events just handled may have laid a window out anew: it is put once its paints are done,
    // not half drawn and then again.
    if (unlessPainting && FindPaintMessage(top, &paint)) continue;
    Present(top, native);
  }
}

unsigned long X11Display::CursorFor(unsigned int shape) {
  auto it = m_cursors.find(shape);
  if (it != m_cursors.end()) return it->second;
  unsigned long cursor = XCreateFontCursor(m_display, shape);
  m_cursors[shape] = cursor;
  return cursor;
}

void X11Display::UpdateCursor() {
  HWND top = WindowOf(m_pointerWindow);
  Native* native = top ? Lookup(top) : nullptr;
  if (!native) return;
  unsigned long cursor = CursorFor(CursorShapeOf(::GetCursor()));
  if (native->cursor == cursor) return;
  native->cursor = cursor;
  XDefineCursor(m_display, native->window, cursor);
}

void X11Display::BeforeWait() {
  PresentAll();
  UpdateCursor();
  if (XPending(m_display)) {
    ProcessEvents();
    PresentAll(true);
  }
  XFlush(m_display);
}

void X11Display::Sync() {
  PresentAll();
  XSync(m_display, False);
  ProcessEvents();
  PresentAll(true);
  XFlush(m_display);
}

std::string X11Display::ClipboardText() { return m_clipboard->Text(); }

void X11Display::SetClipboardText(const std::string& text) { m_clipboard->SetText(text); }

bool X11Display::TextOfKey(UINT, LPARAM keyData, std::string* text) {
  unsigned int keycode = static_cast<unsigned int>((keyData >> 16) & 0xFF);
  const KeyText& slot = m_keyTexts[static_cast<unsigned>(keyData >> kKeySlotShift) % kKeySlots];
  // Key data made elsewhere (the test helpers) has scan code 0, which no X key has.
  if (!keycode || slot.keycode != keycode) return false;
  if (text) *text = slot.text;
  return true;
}

// ---- events ----

void X11Display::ProcessEvents() {
  while (XPending(m_display)) {
    XEvent event;
    XNextEvent(m_display, &event);
    if (m_inputMethod->Filter(event)) continue;  // part of a composition
    if (m_clipboard->Handle(event)) continue;
    Handle(event);
  }
}

void X11Display::Handle(XEvent& event) {
  switch (event.type) {
    case Expose: OnExpose(event); break;
    case ConfigureNotify: OnConfigure(event); break;
    case MapNotify:
      if (HWND top = WindowOf(event.xmap.window)) {
        Native& native = *Lookup(top);
        native.mapped = true;
        if (CaptureHandle() && GetAncestorTopLevel(CaptureHandle()) == top) CaptureChanged(CaptureHandle());
        if (::GetActiveWindow() == top) FocusActive();
      }
      break;
    case UnmapNotify:
      if (HWND top = WindowOf(event.xunmap.window)) Lookup(top)->mapped = false;
      break;
    case ButtonPress:
    case ButtonRelease: OnButton(event); break;
    case MotionNotify: OnMotion(event); break;
    case KeyPress:
    case KeyRelease: OnKey(event); break;
    case FocusIn: OnFocusIn(event); break;
    case FocusOut: OnFocusOut(event); break;
    case ClientMessage: OnClientMessage(event); break;
    case PropertyNotify: OnProperty(event); break;
    default: break;
  }
}

void X11Display::OnExpose(XEvent& event) {
  HWND top = WindowOf(event.xexpose.window);
  if (!top) return;
  Native& native = *Lookup(top);
  const XExposeEvent& e = event.xexpose;
  MarkDirty(native, RECT{e.x + native.offset.x, e.y + native.offset.y, e.x + native.offset.x + e.width,
                         e.y + native.offset.y + e.height});
}

void X11Display::OnConfigure(XEvent& event) {
  const XConfigureEvent& e = event.xconfigure;
  HWND top = WindowOf(e.window);
  if (!top || e.window != e.event) return;
  Native& native = *Lookup(top);
  // A report the server made before full screen was left still shows the full-screen place:
  // taken in, it would become the program's own place and stay there.
  if (!native.fullScreen && e.serial < native.leftFullScreenAt) return;
  int x = e.x;
  int y = e.y;
  if (!e.send_event) {
    // A reparenting manager reports the position in its frame: ask where that is on the screen.
    Window child = 0;
    XTranslateCoordinates(m_display, e.window, RootWindow(m_display, m_screen), 0, 0, &x, &y, &child);
  }
  native.known = RECT{x, y, x + e.width, y + e.height};
  // A manager leaving full screen may first put back a place of its own after the one asked for
  // (openbox does under load): the place asked for is asked again until the window takes its size.
  if (!native.fullScreen && native.restoreRequests > 0) {
    const RECT& to = native.restoreTo;
    if (e.width == to.right - to.left && e.height == to.bottom - to.top) {
      native.restoreRequests = 0;
    } else {
      --native.restoreRequests;
      XMoveResizeWindow(m_display, e.window, to.left, to.top, static_cast<unsigned>(to.right - to.left),
                        static_cast<unsigned>(to.bottom - to.top));
      return;
    }
  }
  // Full screen the manager places the window over the screen; the program's rectangle stays
  // what it asked for, to be given back when full screen ends.
  if (native.fullScreen) {
    MarkDirty(native, RECT{native.offset.x, native.offset.y, native.offset.x + e.width, native.offset.y + e.height});
    return;
  }
  // On the way to the state asked of it the manager shows places of its own between.
  if (native.awaitedMaximized) return;
  TakeInPlace(top, native);
}

void X11Display::TakeInPlace(HWND top, const Native& native) {
  WindowState* s = Find(top);
  const RECT& at = native.known;
  RECT insets = DecorationInsets(*s);
  RECT wanted{at.left - native.offset.x, at.top - native.offset.y, at.right + insets.right, at.bottom + insets.bottom};
  if (SameRect(wanted, s->rect)) return;
  // Nothing is marked here: the server keeps what the window showed and exposes what the new size
  // uncovers, and what the new layout changes is drawn again; both come as damage.
  ::SetWindowPos(top, nullptr, wanted.left, wanted.top, wanted.right - wanted.left, wanted.bottom - wanted.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  HoldMinimumSize(top);
}

HWND X11Display::ClientPoint(unsigned long native, int x, int y, POINT* client) {
  HWND top = WindowOf(native);
  WindowState* s = Find(top);
  if (!s) return nullptr;
  const Native& n = *Lookup(top);
  POINT origin = ClientOriginInTop(*s);
  *client = POINT{x + n.offset.x - origin.x, y + n.offset.y - origin.y};
  return top;
}

void X11Display::TakeModifiers(unsigned int state) {
  KeyDownState(static_cast<int>(VK_SHIFT)) = (state & ShiftMask) != 0;
  KeyDownState(static_cast<int>(VK_CONTROL)) = (state & ControlMask) != 0;
  KeyDownState(static_cast<int>(VK_MENU)) = (state & Mod1Mask) != 0;
  KeyDownState(static_cast<int>(VK_LBUTTON)) = (state & Button1Mask) != 0;
  KeyDownState(static_cast<int>(VK_MBUTTON)) = (state & Button2Mask) != 0;
  KeyDownState(static_cast<int>(VK_RBUTTON)) = (state & Button3Mask) != 0;
}

void X11Display::OnButton(XEvent& event) {
  const XButtonEvent& e = event.xbutton;
  POINT client{0, 0};
  HWND top = ClientPoint(e.window, e.x, e.y, &client);
  if (!top) return;
  m_pointerWindow = e.window;
  TakeModifiers(e.state);
  bool press = e.type == ButtonPress;
  if (e.button == Button4 || e.button == Button5) {
    if (press) RouteWheel(top, client, e.button == Button4 ? 120 : -120);
    return;
  }
  if (e.button > Button3) return;
  input::Button button = e.button == Button1 ? input::Button::Left
                         : e.button == Button3 ? input::Button::Right
                                               : input::Button::Middle;
  bool second = press && m_clicks.Press(static_cast<int>(e.button), POINT{e.x_root, e.y_root}, e.time, e.window);
  RouteButton(top, client, button, press, second);
}

void X11Display::OnMotion(XEvent& event) {
  // Only the latest position of a burst of moves matters; moves queued behind a button press or
  // release stay behind it, or a quick drag would lose its way between press and release.
  XEvent next;
  while (XPending(m_display) > 0) {
    XPeekEvent(m_display, &next);
    if (next.type != MotionNotify || next.xmotion.window != event.xmotion.window)
      break;
    XNextEvent(m_display, &event);
  }
  const XMotionEvent& e = event.xmotion;
  POINT client{0, 0};
  HWND top = ClientPoint(e.window, e.x, e.y, &client);
  if (!top) return;
  m_pointerWindow = e.window;
  TakeModifiers(e.state);
  RouteMouse(top, client, WM_MOUSEMOVE);
}

void X11Display::OnKey(XEvent& event) {
  XKeyEvent& e = event.xkey;
  if (!WindowOf(e.window)) return;
  bool press = e.type == KeyPress;
  if (!press && XEventsQueued(m_display, QueuedAfterReading)) {
    // Auto-repeat arrives as release and press at the same instant: the key stays down.
    XEvent next;
    XPeekEvent(m_display, &next);
    if (next.type == KeyPress && next.xkey.keycode == e.keycode && next.xkey.time == e.time) return;
  }
  TakeModifiers(e.state);
  m_clicks.Reset();
  std::string text;      // what the key types, code page 949
  std::string composed;  // text beyond ASCII the input method gave, UTF-8
  KeySym keysym = 0;
  X11InputMethod::Lookup lookup;
  if (press && m_inputMethod->LookUp(event, &lookup)) {
    if (!lookup.keysym) {
      // Committed text alone: a composition ended.
      if (!lookup.utf8.empty()) RouteComposedText(lookup.utf8);
      return;
    }
    keysym = lookup.keysym;
    bool ascii = std::all_of(lookup.utf8.begin(), lookup.utf8.end(), [](char c) { return (c & 0x80) == 0; });
    if (!ascii) {
      composed = lookup.utf8;
    } else if (!lookup.utf8.empty()) {
      text = TypedText(lookup.utf8, keysym);
    }
  } else {
    char buffer[32] = {};
    int length = XLookupString(&e, buffer, sizeof buffer - 1, &keysym, nullptr);
    text = TypedText(std::string(buffer, static_cast<std::size_t>(std::max(length, 0))), keysym);
  }
  // The unshifted symbol names the key, except a keypad key Num Lock turned into a digit.
  UINT virtualKey = VirtualKeyOfKeySym(IsKeypadCharacter(keysym) ? keysym : XLookupKeysym(&e, 0));
  if (!virtualKey) virtualKey = VirtualKeyOfKeySym(keysym);
  unsigned int keycode = e.keycode & 0xFF;
  LPARAM keyData = static_cast<LPARAM>(1u | (keycode << 16) | (press ? 0u : 0xC0000000u));
  if (!virtualKey) {
    if (press && !text.empty()) RouteText(text.c_str());
    if (press && !composed.empty()) RouteComposedText(composed);
    return;
  }
  if (press) {
    unsigned slot = m_nextKeySlot++ % kKeySlots;
    m_keyTexts[slot] = KeyText{keycode, text};
    keyData |= static_cast<LPARAM>(slot) << kKeySlotShift;
  }
  RouteKey(virtualKey, press, keyData);
  // Whole characters follow their key, as the input method gives them.
  if (press && !composed.empty()) RouteComposedText(composed);
}

void X11Display::OnFocusIn(XEvent& event) {
  HWND top = WindowOf(event.xfocus.window);
  if (!top || event.xfocus.mode == NotifyGrab || event.xfocus.mode == NotifyUngrab) return;
  if (event.xfocus.serial < m_focusRequest) return;
  if (!::IsWindowEnabled(top)) {
    // A window disabled by a modal one hands the focus to it, as the modal one is what answers.
    for (HWND other : TopLevelWindows()) {
      WindowState* o = Find(other);
      Native* native = Lookup(other);
      if (o && native && o->owner == top && IsShowing(other) && ::IsWindowEnabled(other)) {
        XRaiseWindow(m_display, native->window);
        if (native->mapped) XSetInputFocus(m_display, native->window, RevertToParent, CurrentTime);
        break;
      }
    }
    return;
  }
  m_inputMethod->SetFocus(event.xfocus.window, true);
  if (::GetActiveWindow() != top) ::SetActiveWindow(top);
  HWND focus = ::GetFocus();
  if (::IsWindow(top) && (!focus || GetAncestorTopLevel(focus) != top)) ::SetFocus(top);
}

void X11Display::OnFocusOut(XEvent& event) {
  if (event.xfocus.mode == NotifyGrab || event.xfocus.mode == NotifyUngrab) return;
  m_inputMethod->SetFocus(event.xfocus.window, false);
}

void X11Display::OnClientMessage(XEvent& event) {
  const XClientMessageEvent& e = event.xclient;
  HWND top = WindowOf(e.window);
  if (!top || e.message_type != m_wmProtocols || static_cast<unsigned long>(e.data.l[0]) != m_wmDeleteWindow) return;
  // A window under a modal one cannot be closed, as its close box would be dead on Windows; nor
  // can one that a modal one came over after the click (the close is a person's input).
  if (::IsWindowEnabled(top)) PostInput(top, WM_CLOSE, 0, 0);
}

void X11Display::OnProperty(XEvent& event) {
  const XPropertyEvent& e = event.xproperty;
  HWND top = WindowOf(e.window);
  if (top && e.atom == m_netWmState && e.serial >= Lookup(top)->leftFullScreenAt) FollowManagerMaximized(top);
  if (!top || e.atom != m_wmState || e.state != PropertyNewValue) return;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(m_display, e.window, m_wmState, 0, 2, False, m_wmState, &type, &format, &count, &after,
                         &data) != Success) {
    return;
  }
  long state = data && count > 0 && format == 32 ? reinterpret_cast<long*>(data)[0] : 0;
  if (data) XFree(data);
  // A window without a minimise box cannot be minimised, as on Windows. Some managers (openbox)
  // keep their minimise button on such a window whatever its hints say; mapping it again takes
  // it back, so a modal dialog never leaves the program hidden behind nothing to bring it back.
  if (state == kWmStateIconic && !(::GetWindowLong(top, GWL_STYLE) & WS_MINIMIZEBOX)) {
    XMapRaised(m_display, e.window);
    return;
  }
  m_fromServer = top;
  if (state == kWmStateIconic && !::IsIconic(top)) {
    ::ShowWindow(top, SW_SHOWMINNOACTIVE);
  } else if (state == kWmStateNormal && ::IsIconic(top)) {
    ::ShowWindow(top, SW_RESTORE);
  }
  m_fromServer = nullptr;
}

// ---- window manager ----

void X11Display::FollowManagerMaximized(HWND top) {
  Native* native = Lookup(top);
  WindowState* s = Find(top);
  if (!native || !s || native->fullScreen) return;
  const auto [maximized, full] = ManagerState(*native);
  // On the way to a state the program asked for, the manager reports the steps between (openbox
  // drops maximised before it gives it back after full screen, and puts back a place of its own
  // once it shows the window restored): those are not its own doing.
  if (native->awaitedMaximized) {
    if (full || maximized != *native->awaitedMaximized) return;
    native->awaitedMaximized.reset();
    const RECT& to = native->restoreTo;
    const RECT& at = native->known;
    const bool placed = at.right - at.left == to.right - to.left && at.bottom - at.top == to.bottom - to.top;
    if (!maximized && !IsRectEmpty(&to) && !placed) {
      native->restoreRequests = 3;
      XMoveResizeWindow(m_display, native->window, to.left, to.top, static_cast<unsigned>(to.right - to.left),
                        static_cast<unsigned>(to.bottom - to.top));
    } else {
      TakeInPlace(top, *native);  // the place reported before the state came
    }
    return;
  }
  // A place being asked back is the program's own doing, not the manager's.
  if (native->restoreRequests > 0 || maximized == s->maximized) return;
  // Maximised by the manager's own button (or restored by it): the window is so as if the program
  // had asked, its present place kept to go back to. The manager's report then gives the size.
  if (maximized) s->restoreRect = s->rect;
  s->maximized = maximized;
  if (maximized) {
    s->style |= WS_MAXIMIZE;
  } else {
    s->style &= ~WS_MAXIMIZE;
  }
}

std::pair<bool, bool> X11Display::ManagerState(const Native& native) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool horizontal = false, vertical = false, full = false;
  if (XGetWindowProperty(m_display, native.window, m_netWmState, 0, 32, False, XA_ATOM, &type, &format, &count,
                         &after, &data) == Success && data && format == 32) {
    for (unsigned long i = 0; i < count; ++i) {
      const Atom state = reinterpret_cast<Atom*>(data)[i];
      horizontal = horizontal || state == m_netWmStateMaxH;
      vertical = vertical || state == m_netWmStateMaxV;
      full = full || state == m_netWmStateFullScreen;
    }
  }
  if (data) XFree(data);
  return {horizontal && vertical, full};
}

void X11Display::AwaitMaximized(Native& native, bool maximized) {
  // A manager already showing that state reports no change to wait for, nor does one not yet
  // managing the window (it takes the state in as it maps it).
  const auto [shown, full] = ManagerState(native);
  if (!native.mapped || (shown == maximized && !full)) {
    native.awaitedMaximized.reset();
  } else {
    native.awaitedMaximized = maximized;
  }
}

void X11Display::FollowFullScreen(HWND top, Native& native) {
  if (native.overrideRedirect) return;
  const bool full = WindowManagerHints::AsksFullScreen(top);
  if (full == native.fullScreen) {
    m_hints->ApplyDecorations(top, native.window);
    return;
  }
  native.fullScreen = full;
  if (full) {
    m_hints->ApplyDecorations(top, native.window);
    if (native.mapped) m_hints->RequestFullScreen(native.window, true);
    return;
  }
  // Out of full screen first, then the decorations, the size limits of the place asked for and
  // that place itself: the manager holds a request to the limits it knows at that moment. A
  // window that was maximised before is the manager's to place again, maximised.
  const bool maximized = Find(top)->maximized;
  LeaveManagedState(top, native, [&] {
    if (native.mapped) m_hints->RequestFullScreen(native.window, false);
    if (maximized) SetMaximizedState(native, true);
  }, !maximized);
}

}  // namespace platform::detail
