// The Flash player stand-in as an in-process server of its own.

#include "flash_player/FlashPlayer.h"
#include "platform/resources.h"

namespace {

constexpr UINT kTypeNameId = 1;

platform::ResourceModule& Resources() {
  static platform::ResourceModule& module = [] () -> platform::ResourceModule& {
    platform::ResourceModule& m = platform::CreateResourceModule("flash-player");
    m.AddString(kTypeNameId, "Flash Player Stand-in");
    return m;
  }();
  return module;
}

CComModule& Module() {
  static CComModule module;
  static const bool listed = [] {
    HINSTANCE resources = Resources().Handle();
    COleObjectFactory::Add<CFlashPlayerCtrl>(
        module,
        AfxOleControlClassRegistration(resources, CLSID_FlashPlayer, kFlashPlayerProgId, kTypeNameId, 0,
                                       OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST |
                                           OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE,
                                       GUID_NULL, 1, 0),
        resources);
    return true;
  }();
  (void)listed;
  return module;
}

}  // namespace

IMPLEMENT_MODULE_ENTRY_POINTS(Module())
