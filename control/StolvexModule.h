#pragma once
// The control module: its object count and class table, its resources, and what registering and
// unregistering it writes and removes.

#include "platform/com_module.h"

namespace platform {
class ResourceModule;
}

// The module object: the control and property page classes, counting every live control, page,
// history list, move record and enumerator.
CComModule& StolvexModule();
// The control's resources (strings, page template, bitmaps, cursors, menu), built on first use.
platform::ResourceModule& StolvexResources();

// DllRegisterServer: type library, both classes, then the application keys.
HRESULT StolvexRegisterServer();
// DllUnregisterServer: removes every key registration wrote.
HRESULT StolvexUnregisterServer();
