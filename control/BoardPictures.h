#pragma once
// The control's own pictures, drawn once when its resources are built: the wood texture, the star
// point, the stones of every width class, and the territory, dead-stone, last-move and result marks.

#include "platform/surface.h"

namespace platform {
class ResourceModule;
}

// The colour around a stone or star point that blits leave out.
constexpr std::uint32_t kStoneKey = 0xF0D090;        // RGB(240, 208, 144)
constexpr std::uint32_t kLastMoveKey = 0xC0C0C0;     // RGB(192, 192, 192)

// Adds every bitmap the control paints with to module.
void AddBoardPictures(platform::ResourceModule& module);

// One picture by resource id (empty for an id the control does not use).
platform::Surface DrawBoardPicture(unsigned id);

// Resource ids of the stone images for a region w pixels wide.
struct StoneImageIds {
  unsigned black;
  unsigned white;
};
StoneImageIds StoneImagesForWidth(int w);
