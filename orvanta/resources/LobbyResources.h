#pragma once
// The lobby's dialog templates: the waiting room's form (101), the negotiation dialogs (444,
// 408), the password (275), chat phrases (446), open room (178), notice (317) and view mode (228).

#include <platform/resources.h>

void RegisterLobbyDialogs(platform::ResourceModule& module);
