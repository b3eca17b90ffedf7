#pragma once
// The sound of a stone put on the board (WAVE resource 315), made by the program at start: a short
// wooden click.

namespace platform {
class ResourceModule;
}

void RegisterStoneSound(platform::ResourceModule& module);
