#pragma once
// The board window's pictures, drawn by the program at start: the wood texture (132), the black
// and white stones at every size the board uses (pure green is transparent), the last-move mark
// (237), the stone mask of the information dialog (301), the navigation buttons of the board
// dialogs (319-324) and the board's cursor (202).

#include "platform/types.h"

namespace platform {
class ResourceModule;
}

void RegisterBoardPictures(platform::ResourceModule& module);
