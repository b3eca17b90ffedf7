// The Orvanta program: the application object, the program's resources, then the framework's
// start-up and message loop. Under X11 when DISPLAY is set, headless otherwise (a UI script named
// by PLATFORM_UI_SCRIPT answers the dialogs); ORVANTA_SERVER names the game server.

#include <platform/app.h>
#include <platform/resources.h>

#include "orvanta/app/OrvantaApp.h"
#include "orvanta/resources/OrvantaResources.h"

namespace {
COrvantaApp theApp;
}  // namespace

int main(int argc, char** argv) {
  platform::ResourceModule& module = platform::CreateResourceModule("orvanta");
  RegisterOrvantaResources(module.Handle());
  platform::SetInstanceHandle(module.Handle());
  return platform::RunApplication(argc, argv);
}
