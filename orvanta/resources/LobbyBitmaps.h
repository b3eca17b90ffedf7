#pragma once
// The lobby's small pictures, drawn at start-up: the room list's public and private marks, the
// heading sort arrows, the spacer that gives list rows their height, and the marks of the users
// of a game room by their waiting room.

#include <platform/resources.h>
#include <platform/types.h>

// The transparent colour of every lobby picture but the heading arrows.
constexpr COLORREF kWhiteImageMask = RGB(0xFF, 0xFF, 0xFF);
// Room marks, kRoomImageWidth wide: image 0 a private room, 1 a public one.
constexpr UINT kRoomImagesBitmap = 316;
constexpr int kRoomImageWidth = 15;
// One image, 1 pixel wide and kRowHeight high, all transparent: it only gives a list its row height.
constexpr UINT kRowHeightBitmap = 438;
constexpr int kRowHeight = 15;
// Heading images, kSortImageWidth wide, transparent kSortImageMask: the marks of CSortState
// (blank, descending, ascending).
constexpr UINT kSortImagesBitmap = 411;
constexpr int kSortImageWidth = 13;
constexpr COLORREF kSortImageMask = RGB(0xC0, 0xC0, 0xC0);
// User marks, kUserImageWidth wide: image n the user of waiting room n + 1.
constexpr UINT kUserImagesBitmap = 132;
constexpr int kUserImageWidth = 24;
constexpr int kUserImages = 5;

void RegisterLobbyBitmaps(platform::ResourceModule& module);
