#pragma once
// The common controls. The system control classes ("Button", "Edit", "Static", "ListBox",
// "ComboBox", "SysHeader32", "SysListView32", ...) get their window procedures when the platform
// library loads, so CreateWindowEx and dialog templates can create them by class name.

#include "platform/controls_basic.h"
#include "platform/controls_datetime.h"
#include "platform/controls_defs.h"
#include "platform/controls_header.h"
#include "platform/controls_imagelist.h"
#include "platform/controls_list.h"
#include "platform/controls_range.h"
#include "platform/controls_spin.h"
#include "platform/controls_statusbar.h"
#include "platform/controls_toolbar.h"
#include "platform/controls_tooltip.h"
#include "platform/controls_tree.h"

namespace platform {

// Gives the system control classes their procedures; runs once at load, later calls do nothing.
// Returns the number of classes given a procedure by this call.
int RegisterControlClasses();

}  // namespace platform
