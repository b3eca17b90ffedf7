#pragma once
// The game room's resources: the room form (template 134) and the dialogs the room opens:
// room information (441), stored games (231), go to move (196) and the confirmation (463).

#include <platform/resources.h>

void RegisterRoomDialogs(platform::ResourceModule& module);
