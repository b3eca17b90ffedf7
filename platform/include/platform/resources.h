#pragma once
// Resource modules: each program and the control module registers its own resource table under
// its HINSTANCE; lookups go to the current resource module.

#include "platform/strings.h"
#include "platform/types.h"

// Loads string resource id from the current resource module into out; FALSE when there is none.
BOOL AfxLoadStringResource(UINT id, CString& out);
