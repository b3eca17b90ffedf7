#pragma once
// The pictures of the review, self-play and review-play dialogs' skin buttons, drawn at start-up:
// a three-state strip each, with a plain glyph (arrows for the steps) or a short caption.

#include <platform/resources.h>
#include <platform/types.h>

// The bitmap ids the dialogs load. Break point, exit and receive-again share the main menu's
// strips (300, 305, 368).
namespace review_image {
constexpr UINT kPrevious = 217, kNext = 219, kGoto = 220, kClose = 221, kFirst = 226, kLast = 227, kPrint = 271,
               kNumbersOff = 299, kBreakPoint = 300, kExit = 305, kReload = 368, kSave = 378, kAutoReplay = 386,
               kNumbersOn = 387, kRefresh = 388, kControl = 389, kAutoReplayRunning = 390, kEndReview = 391;
}  // namespace review_image

// Size of one state image.
constexpr int kReviewButtonImageWidth = 40;
constexpr int kReviewButtonImageHeight = 20;

void RegisterReviewButtonImages(platform::ResourceModule& module);
