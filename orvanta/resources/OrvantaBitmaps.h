#pragma once
// The program's pictures, drawn at start-up: the start view's column and room-button faces, the
// main menu pane's background and the three-state strips of its buttons.

#include <functional>

#include <platform/gdi.h>
#include <platform/resources.h>
#include <platform/types.h>

// One skin-button strip: its bitmap id and the caption drawn into it.
struct CMenuButtonImage {
  UINT bitmapId;
  const char* caption;  // UTF-8
};

// Height of one state image of a button strip; a strip is three images and two rows more.
constexpr int kMenuButtonImageWidth = 58;
constexpr int kMenuButtonImageHeight = 24;
// The main menu pane's background pieces: left (the banner's place), middle, right.
constexpr UINT kMenuLeftBitmap = 277;
constexpr UINT kMenuMiddleBitmap = 279;
constexpr UINT kMenuRightBitmap = 281;
constexpr int kMenuLeftWidth = 160;
constexpr int kMenuBackgroundHeight = 55;

// The tool bar's pictures, normal and pressed, and the colour that stands for transparent.
constexpr UINT kToolBarImages = 180;
constexpr UINT kToolBarHotImages = 187;
constexpr COLORREF kToolBarMask = 0xBFBFC0;

void RegisterOrvantaBitmaps(platform::ResourceModule& module);
// Draws a width x height picture with paint (on a 32-bit surface) and registers it as bitmap id.
void AddPaintedBitmap(platform::ResourceModule& module, UINT id, int width, int height,
                      const std::function<void(CDC&)>& paint);

// Registers bitmap id as a skin button's three-state strip of width x height images (normal,
// mouse over, then disabled two rows lower), each a shaded face on which glyph draws in ink.
void AddButtonStrip(platform::ResourceModule& module, UINT id, int width, int height,
                    const std::function<void(CDC& dc, const CRect& face, COLORREF ink)>& glyph);
// A button caption (UTF-8) centred on face in the buttons' bold face.
void DrawButtonCaption(CDC& dc, const CRect& face, const char* utf8, COLORREF ink);
