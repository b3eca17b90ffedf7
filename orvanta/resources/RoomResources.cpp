#include "orvanta/resources/RoomResources.h"

#include <platform/dialog_template.h>

#include "orvanta/room/DagukRoomView.h"

void RegisterRoomDialogs(platform::ResourceModule& module) {
  platform::AddDialogTemplate(module, CDagukRoomView::kTemplateId, CDagukRoomView::BuildTemplate());
}
