// The four entry points of the control module.

#include "control/StolvexModule.h"

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  return StolvexModule().GetClassObject(clsid, riid, object);
}
extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() { return StolvexModule().CanUnloadNow(); }
extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() { return StolvexRegisterServer(); }
extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() { return StolvexUnregisterServer(); }
