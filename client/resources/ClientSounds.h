#pragma once
// The viewer's sounds, made by code when the resources are registered: the stone's click (WAVE 315).

#include "platform/resources.h"

void RegisterClientSounds(platform::ResourceModule& module);
