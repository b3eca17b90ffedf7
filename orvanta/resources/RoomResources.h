#pragma once
// The game room's resources: the room form (template 134).

#include <platform/resources.h>

void RegisterRoomDialogs(platform::ResourceModule& module);
