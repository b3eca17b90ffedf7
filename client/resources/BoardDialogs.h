#pragma once
// Dialog templates of the board dialogs: game information (136), user moves (138) and game
// diagrams (139).

#include "platform/dialog_template.h"

namespace platform {
class ResourceModule;
}

platform::DialogTemplate BuildGameInfoTemplate();
platform::DialogTemplate BuildUserMoveTemplate();
platform::DialogTemplate BuildGameDiagramTemplate();
void RegisterBoardDialogs(platform::ResourceModule& module);
