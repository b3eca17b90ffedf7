#pragma once
// The display backend (internal): the window functions tell it what happens to top-level
// windows; the message loop lets it work before each wait. The base class is the headless
// backend: it shows nothing and makes no calls to any display.

#include <memory>
#include <string>

#include "platform/display.h"
#include "platform/geometry.h"
#include "platform/types.h"

namespace platform::detail {

class DisplayBackend {
public:
  virtual ~DisplayBackend() = default;

  virtual display::Backend Kind() const { return display::Backend::Headless; }
  // Whether a person sees the windows and answers modal questions.
  virtual bool Interactive() const { return false; }

  // A top-level window was shown or hidden.
  virtual void WindowShown(HWND /*top*/, bool /*shown*/) {}
  // A top-level window's rectangle or style changed.
  virtual void WindowMoved(HWND /*top*/) {}
  // A top-level window's title changed.
  virtual void WindowTextChanged(HWND /*top*/) {}
  // A top-level window was minimised, maximised or restored.
  virtual void WindowStateChanged(HWND /*top*/) {}
  // A top-level window is going away.
  virtual void WindowDestroyed(HWND /*top*/) {}
  // A window (any) has painted into its top-level window's surface.
  virtual void SurfaceChanged(HWND /*window*/) {}
  // A top-level window became the active one: the keyboard's input goes to it.
  virtual void WindowActivated(HWND /*top*/) {}
  // The mouse capture moved to capture (null: released).
  virtual void CaptureChanged(HWND /*capture*/) {}
  // Before the message loop waits: put painted parts on the display, handle queued events.
  virtual void BeforeWait() {}
  // Characters the key of a WM_KEYDOWN this backend posted types (code page 949); false for a
  // key it did not post.
  virtual bool TextOfKey(UINT /*virtualKey*/, LPARAM /*keyData*/, std::string* /*text*/) { return false; }
  // The native window of a top-level window (0 when none).
  virtual unsigned long NativeWindowOf(HWND /*top*/) const { return 0; }
  // Flushes output and handles every event that has arrived.
  virtual void Sync() {}
  // The text on the clipboard (code page 949); empty when there is none. The headless clipboard
  // is this process's own.
  virtual std::string ClipboardText() { return m_clipboard; }
  // Puts text (code page 949) on the clipboard.
  virtual void SetClipboardText(const std::string& text) { m_clipboard = text; }

private:
  std::string m_clipboard;
};

// The backend in use; chosen from the environment at the first call.
DisplayBackend& Display();
// Replaces the backend (null: headless).
void SetDisplay(std::unique_ptr<DisplayBackend> backend);
// Whether the environment asks for X11: DISPLAY set and PLATFORM_HEADLESS not "1".
bool EnvironmentWantsX11(const char* display, const char* headless);

}  // namespace platform::detail
