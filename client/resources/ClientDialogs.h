#pragma once
// The viewer's dialog templates, defined in code and registered in its resource module.

#include "platform/dialog_template.h"
#include "platform/types.h"

// Registers every dialog template of the viewer in the resource module of instance (replacing
// earlier ones). FALSE when instance names no resource module.
BOOL RegisterClientDialogs(HINSTANCE instance);

// Template 318 "Configuration": server address (IP control 1070), port (edit 1045), sound (1067).
platform::DialogTemplate BuildConfigTemplate();
