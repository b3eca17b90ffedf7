#pragma once
// The viewer's pictures, drawn by code when the resources are registered: the form's panel and
// button-bar pieces, the background tile, the picture buttons (three states each) and the tool
// bar's images. The stones of the icons and of the status bar are the board's pictures.

#include "platform/resources.h"

// Width of the side panel (bitmap 303), which the view's layout is built around.
constexpr int kPanelWidth = 280;
// Height of the button bar (bitmaps 164 and 165).
constexpr int kButtonBarHeight = 62;

void RegisterClientBitmaps(platform::ResourceModule& module);
