#pragma once
// The viewer's whole resource table: dialog templates, the frame's menu, accelerators and tool
// bar, strings and pictures, registered under the program's module.

#include "platform/resources.h"
#include "platform/types.h"

// Registers every resource of the viewer under module; FALSE for an unknown handle. Registering
// again replaces the earlier entries.
BOOL RegisterClientResources(HINSTANCE module);
