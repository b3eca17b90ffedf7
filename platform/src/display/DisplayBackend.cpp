// Choosing the display backend, and the public display functions over it.
#include "DisplayBackend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "x11/X11Display.h"

namespace platform::detail {
namespace {

std::unique_ptr<DisplayBackend> ChooseFromEnvironment() {
  if (EnvironmentWantsX11(std::getenv("DISPLAY"), std::getenv("PLATFORM_HEADLESS"))) {
    if (auto x11 = OpenX11Display(nullptr)) return x11;
    std::fprintf(stderr, "platform: cannot open X display \"%s\"; running headless\n", std::getenv("DISPLAY"));
  }
  return std::make_unique<DisplayBackend>();
}

// Never destroyed: windows with static lifetime may still go away after main returns.
std::unique_ptr<DisplayBackend>& Holder() {
  static auto* holder = new std::unique_ptr<DisplayBackend>;
  return *holder;
}

}  // namespace

bool EnvironmentWantsX11(const char* display, const char* headless) {
  bool forcedHeadless = headless && std::strcmp(headless, "1") == 0;
  return display && *display && !forcedHeadless;
}

DisplayBackend& Display() {
  std::unique_ptr<DisplayBackend>& holder = Holder();
  if (!holder) holder = ChooseFromEnvironment();
  return *holder;
}

void SetDisplay(std::unique_ptr<DisplayBackend> backend) {
  std::unique_ptr<DisplayBackend>& holder = Holder();
  holder.reset();  // the old one lets go of its windows before the new one takes them
  holder = backend ? std::move(backend) : std::make_unique<DisplayBackend>();
}

}  // namespace platform::detail

namespace platform::display {

Backend CurrentBackend() { return detail::Display().Kind(); }

bool IsInteractive() { return detail::Display().Interactive(); }

bool UseX11Display(const char* displayName) {
  std::unique_ptr<detail::DisplayBackend> x11 = detail::OpenX11Display(displayName);
  if (!x11) return false;
  detail::SetDisplay(std::move(x11));
  return true;
}

void UseHeadless() { detail::SetDisplay(nullptr); }

unsigned long NativeWindowOf(HWND top) { return detail::Display().NativeWindowOf(top); }

void Sync() { detail::Display().Sync(); }

}  // namespace platform::display
