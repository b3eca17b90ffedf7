#pragma once
// The X11 display backend: every shown top-level window is an X window that shows the window's
// surface; X input goes through the platform's input routing.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "../DisplayBackend.h"
#include "platform/surface.h"
#include "ClickTracker.h"
#include "SharedPixels.h"
#include "X11Clipboard.h"
#include "X11InputMethod.h"
#include "WindowManagerHints.h"

struct _XDisplay;
union _XEvent;

namespace platform::detail {

// Opens the X display (null: $DISPLAY) as a backend; null when it cannot be opened.
std::unique_ptr<DisplayBackend> OpenX11Display(const char* displayName);

class X11Display : public DisplayBackend {
public:
  // Takes the open connection; windows already showing get their X windows.
  explicit X11Display(_XDisplay* display);
  ~X11Display() override;
  X11Display(const X11Display&) = delete;
  X11Display& operator=(const X11Display&) = delete;

  display::Backend Kind() const override { return display::Backend::X11; }
  bool Interactive() const override { return true; }
  void WindowShown(HWND top, bool shown) override;
  void WindowMoved(HWND top) override;
  void WindowTextChanged(HWND top) override;
  void WindowStateChanged(HWND top) override;
  void WindowDestroyed(HWND top) override;
  void WindowActivated(HWND top) override;
  void CaptureChanged(HWND capture) override;
  void BeforeWait() override;
  bool TextOfKey(UINT virtualKey, LPARAM keyData, std::string* text) override;
  unsigned long NativeWindowOf(HWND top) const override;
  void Sync() override;
  std::string ClipboardText() override;
  void SetClipboardText(const std::string& text) override;

private:
  // What the backend keeps for a top-level window it shows.
  struct Native {
    unsigned long window{0};
    POINT offset{0, 0};          // the X window's origin in the surface
    RECT known{0, 0, 0, 0};      // the X window's geometry as last set or reported (root coordinates)
    Damage dirty;                // surface areas the server lost or never had
    bool mapped{false};
    bool overrideRedirect{false};
    unsigned long cursor{0};     // the X cursor defined on the window
    bool fullScreen{false};      // the window manager was asked to show it full screen
    unsigned long leftFullScreenAt{0};  // the request that asked the manager to end full screen or maximised
    RECT restoreTo{0, 0, 0, 0};  // the place asked for on leaving full screen, until it is shown
    int restoreRequests{0};      // how often more that place may be asked for again
  };

  Native* Lookup(HWND top);
  HWND WindowOf(unsigned long native) const;
  // Makes the X window (not mapped); null when the window went away while being asked its limits.
  Native* Create(HWND top);
  void AdoptShowingWindows();
  // Geometry the X window should have for the window's rectangle (root coordinates).
  RECT DesiredGeometry(HWND top, const Native& native) const;
  void ApplyGeometry(HWND top, Native& native);
  void ApplySizeHints(HWND top);
  // After the server gave the X window a size the frame refused (below its minimum tracking
  // size): the window manager is told the minimum again and the X window takes the frame's size.
  void HoldMinimumSize(HWND top);
  void ApplyTitle(HWND top, Native& native);
  void ApplyOwner(HWND top, Native& native);
  void SetMaximizedState(Native& native, bool maximized);
  // Asks the window manager for full screen when the window's client area came to cover the
  // screen, and gives it back its place when it left it; the decorations follow the style.
  void FollowFullScreen(HWND top, Native& native);
  // Ends a state the manager places the window in (full screen, maximised) by askManager; with
  // ownPlace the window's own place is then asked for until the manager shows it there.
  void LeaveManagedState(HWND top, Native& native, const std::function<void()>& askManager, bool ownPlace);
  // Takes in the maximised state the manager gives the window (its maximise button).
  void FollowManagerMaximized(HWND top);
  // Gives the server's keyboard focus to the X window of the active window, once it is mapped.
  void FocusActive();
  void MarkDirty(Native& native, const RECT& area);
  // Puts what changed in the window's surface on its X window, each changed area apart.
  void Present(HWND top, Native& native);
  // Puts surface areas from the shared segment holding the surface's pixels and waits until
  // the server has read them, so drawing that follows cannot show half-drawn; false when the
  // pixels are not in a segment.
  bool PutShared(const Native& native, Surface& surface, const std::vector<RECT>& areas);
  // Puts a surface area straight from the surface's pixels; false when the visual cannot take them.
  bool PutDirect(const Native& native, Surface& surface, const RECT& area);
  // Puts a surface area converted pixel by pixel to the visual's colour masks.
  void PutConverted(const Native& native, const Surface& surface, const RECT& area);
  // Presents every window; unlessPainting passes over windows with paints still to come.
  void PresentAll(bool unlessPainting = false);
  void UpdateCursor();
  unsigned long CursorFor(unsigned int shape);

  void ProcessEvents();
  void Handle(_XEvent& event);
  void OnExpose(_XEvent& event);
  void OnConfigure(_XEvent& event);
  void OnButton(_XEvent& event);
  void OnMotion(_XEvent& event);
  void OnKey(_XEvent& event);
  void OnFocusIn(_XEvent& event);
  void OnFocusOut(_XEvent& event);
  void OnClientMessage(_XEvent& event);
  void OnProperty(_XEvent& event);
  // The top-level window an event's X window shows and the event point in its client area.
  HWND ClientPoint(unsigned long native, int x, int y, POINT* client);
  // Brings the pressed buttons and modifiers of an X state mask into the key table.
  void TakeModifiers(unsigned int state);

  _XDisplay* m_display{nullptr};
  int m_screen{0};
  int m_fd{-1};
  SIZE m_previousScreenSize{0, 0};               // given back when the backend goes
  bool m_directImages{false};                    // the visual takes 0x00RRGGBB pixels as they are
  std::shared_ptr<SharedPixels> m_shared;         // null: pixels go through the connection
  std::unordered_map<HWND, Native> m_windows;
  std::unordered_map<unsigned long, HWND> m_byNative;
  std::map<unsigned int, unsigned long> m_cursors;  // font glyph -> X cursor
  unsigned long m_pointerWindow{0};               // the X window the pointer was last over
  unsigned long m_grabbed{0};                     // the X window holding the pointer grab
  HWND m_fromServer{nullptr};                     // window being changed to follow the server
  unsigned long m_focusRequest{0};                // serial of the last focus this backend set
  ClickTracker m_clicks;
  std::unique_ptr<X11InputMethod> m_inputMethod;
  std::unique_ptr<X11Clipboard> m_clipboard;
  std::unique_ptr<WindowManagerHints> m_hints;
  // What recent key presses type; a WM_KEYDOWN names its slot in the reserved bits of its key
  // data, so presses queued together each keep their own text.
  struct KeyText {
    unsigned int keycode{0};
    std::string text;
  };
  static constexpr unsigned kKeySlots = 16;
  static constexpr int kKeySlotShift = 25;
  std::array<KeyText, kKeySlots> m_keyTexts;
  unsigned m_nextKeySlot{0};
  // Atoms.
  unsigned long m_wmProtocols{0};
  unsigned long m_wmDeleteWindow{0};
  unsigned long m_wmState{0};
  unsigned long m_netWmName{0};
  unsigned long m_utf8String{0};
  unsigned long m_netWmState{0};
  unsigned long m_netWmStateMaxH{0};
  unsigned long m_netWmStateMaxV{0};
};

}  // namespace platform::detail
