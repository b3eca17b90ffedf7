#pragma once
// The templates of the viewer's own windows: the main form (101), the About box (100), the login
// dialog (137), the delay dialog (149) and the autoview dialog (305).

#include "platform/dialog_template.h"
#include "platform/resources.h"

platform::DialogTemplate BuildFormTemplate();
platform::DialogTemplate BuildAboutTemplate();
platform::DialogTemplate BuildLoginTemplate();
platform::DialogTemplate BuildDelayTemplate();
platform::DialogTemplate BuildAutoViewTemplate();
// Registers the five templates in module.
void RegisterClientTemplates(platform::ResourceModule& module);
