// The relay viewer: shows its window under X11 when DISPLAY is set, headless otherwise (where the
// questions a person would answer come from the file named by PLATFORM_UI_SCRIPT).
#include "client/app/ClientApp.h"
#include "client/resources/ClientResources.h"
#include "platform/resources.h"

namespace {

CClientApp theApp;

}  // namespace

int main(int argc, char** argv) {
  platform::ResourceModule& module = platform::CreateResourceModule("client");
  platform::SetInstanceHandle(module.Handle());
  if (!RegisterClientResources(module.Handle())) return 1;
  return platform::RunApplication(argc, argv);
}
