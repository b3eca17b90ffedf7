#include "platform/olecontrol.h"
#include "platform/resources.h"

namespace {

CString ResourceString(HINSTANCE resources, UINT id) {
  const platform::ResourceModule* module = platform::FindResourceModule(resources);
  const CString* text = module ? module->FindString(id) : nullptr;
  return text ? *text : CString();
}

}  // namespace

ClassRegistration AfxOleControlClassRegistration(HINSTANCE resources, REFCLSID clsid, LPCTSTR progId,
                                                 UINT idTypeName, UINT idBitmap, DWORD miscStatus, REFGUID tlid,
                                                 WORD verMajor, WORD verMinor) {
  ClassRegistration reg;
  reg.clsid = clsid;
  reg.progId = progId ? progId : "";
  reg.userTypeName = ResourceString(resources, idTypeName);
  reg.control = true;
  reg.miscStatus = miscStatus;
  reg.toolboxBitmap = static_cast<int>(idBitmap);
  reg.typeLib = tlid;
  reg.version.Format("%u.%u", static_cast<unsigned>(verMajor), static_cast<unsigned>(verMinor));
  return reg;
}

ClassRegistration AfxOlePropertyPageClassRegistration(HINSTANCE resources, REFCLSID clsid, LPCTSTR progId,
                                                      UINT idTypeName) {
  ClassRegistration reg;
  reg.clsid = clsid;
  reg.progId = progId ? progId : "";
  reg.userTypeName = ResourceString(resources, idTypeName);
  reg.version = "";
  return reg;
}

BOOL AfxOleRegisterClass(const ClassRegistration& reg, const char* modulePath) {
  return SUCCEEDED(RegisterClassEntries(reg, modulePath)) ? TRUE : FALSE;
}

BOOL AfxOleUnregisterClass(const ClassRegistration& reg) {
  return SUCCEEDED(UnregisterClassEntries(reg)) ? TRUE : FALSE;
}
