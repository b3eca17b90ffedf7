#pragma once
// The window table (internal): state of every live window, classes, focus and capture.
// Everything here runs on the UI thread except IsLiveHandle.

#include <optional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/surface.h"
#include "platform/windows.h"

namespace platform::detail {

struct WindowClass {
  std::string name;  // as registered
  UINT style{0};
  WNDPROC proc{nullptr};
  HINSTANCE instance{nullptr};
  HICON icon{nullptr};
  HCURSOR cursor{nullptr};
  HBRUSH background{nullptr};
  bool builtIn{false};  // a control class whose procedure the controls area may set once
  bool procSet{false};
};

// One scroll bar's numbers (SB_HORZ, SB_VERT, SB_CTL).
struct ScrollBarState {
  int min{0};
  int max{0};
  UINT page{0};
  int pos{0};
  int trackPos{0};
};

struct WindowState {
  HWND hwnd{nullptr};
  const WindowClass* windowClass{nullptr};
  WNDPROC proc{nullptr};          // the window's own procedure (class procedure or subclass)
  CWnd* wnd{nullptr};             // attached (permanent) object
  WNDPROC hook{nullptr};          // a procedure set over the attached object (GWL_WNDPROC); it
                                  // chains to ObjectProc through CallWindowProc
  std::unique_ptr<CWnd> temporary;  // made by FromHandle when nothing is attached
  HWND parent{nullptr};           // child windows only
  HWND owner{nullptr};            // top-level windows only
  std::vector<HWND> children;     // z-order, topmost first
  CString text;
  DWORD style{0};
  DWORD exStyle{0};
  UINT id{0};
  HMENU menu{nullptr};
  HINSTANCE instance{nullptr};
  LONG_PTR userData{0};
  RECT rect{0, 0, 0, 0};          // window rectangle: parent client coordinates, screen for top-level
  RECT restoreRect{0, 0, 0, 0};   // before maximising
  bool maximized{false};
  bool minimized{false};
  RECT invalid{0, 0, 0, 0};       // client coordinates; empty when valid
  bool erase{false};
  bool redraw{true};
  bool destroying{false};
  std::uint64_t paintsBegun{0};   // BeginPaint calls, to tell a paint handler that painted nothing
  std::unique_ptr<Surface> surface;  // top-level windows
  std::uint64_t order{0};         // creation order
  ScrollBarState scrollBars[3];   // indexed by SB_HORZ, SB_VERT, SB_CTL
  HICON icons[2]{nullptr, nullptr};  // WM_SETICON: indexed by ICON_SMALL, ICON_BIG
  HWND lastFocus{nullptr};        // top-level windows: the window in it that had the focus last
  bool closeWaiting{false};       // a close that came while a modal window held it off
};

// The state of a live window; null otherwise.
WindowState* Find(HWND hwnd);
// Whether a posted close of hwnd is held until the window is enabled again: a top-level window
// under a modal one, whose opener still runs below that modal loop.
bool HoldsCloseWhileDisabled(HWND hwnd);
// Any thread: whether the handle belongs to a live window.
bool IsLiveHandle(HWND hwnd);
// Whether this process handed out the number as a window handle (the window may be gone).
bool IsOwnHandleNumber(HWND hwnd);
// Creates a window (cs already through PreCreateWindow); wnd, when given, is attached before the
// first message. Null on failure.
HWND CreateWindowState(CREATESTRUCT cs, CWnd* wnd);
// Marks a window as being destroyed; false when it is not a window or already going.
bool BeginDestroy(HWND hwnd);
// Destroys owned windows, then the window and its children (messages, PostNcDestroy).
void DestroyWindowState(HWND hwnd);
// Moves a window under a new parent (null: makes it top-level); false when that would make a cycle.
bool Reparent(HWND hwnd, HWND newParent);
bool RegisterWindowClass(const WNDCLASS& wc);
bool UnregisterWindowClass(const char* name);
std::vector<HWND> AllWindowsInOrder();
// Top-level windows in creation order.
std::vector<HWND> TopLevelWindows();
bool IsTopLevel(const WindowState& s);
WindowState* TopLevelOf(HWND hwnd);
// Visible with every ancestor visible.
bool IsShowing(HWND hwnd);
// Visible and enabled with every ancestor: a window a person's mouse and keys can reach.
bool TakesInput(HWND hwnd);

const WindowClass* FindClass(const char* name);

// Geometry helpers (all in the top-level window's coordinates unless said).
RECT ClientInsets(const WindowState& s);
POINT WindowOriginInTop(const WindowState& s);
POINT ClientOriginInTop(const WindowState& s);
RECT ClientRect(const WindowState& s);  // 0,0,width,height

// Painting.
void InvalidateClient(HWND hwnd, const RECT* rect, bool erase, bool children);
void ValidateClient(HWND hwnd, const RECT* rect);
// A WM_PAINT for the first invalid showing window (for hwnd's subtree, or any when null).
bool FindPaintMessage(HWND filter, MSG* msg);
// Resizes a top-level window's surface to its window size.
Surface* SurfaceOf(WindowState& top);

// The procedure that stands for a window's attached object (GWL_WNDPROC of such a window):
// calls the object's WindowProc, or the window's own procedure once the object is gone.
LRESULT ObjectProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Delivers a message to the window's object or procedure, recording it as the current message.
LRESULT Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The message being delivered (innermost), or null.
const MSG* CurrentMessage();

// The HDC of a CDC through the drawing side's hooks (null without them).
HDC HandleOfDc(CDC* dc);

// Focus, capture and active window (cleared when their window dies).
HWND& FocusHandle();
HWND& CaptureHandle();
HWND& ActiveHandle();

// Mouse and keyboard state for the input routing.
POINT& CursorPosition();
// The cursor's clip rectangle (screen coordinates) and a screen point held inside it.
std::optional<RECT>& CursorClip();
POINT ClampToCursorClip(POINT point);
bool& KeyDownState(int virtualKey);

}  // namespace platform::detail
