#pragma once
// CStepSkinButton: a skin button of the review, self-play and review-play dialogs. Besides its
// state images it has a pressed look while it is held down, by the mouse or by its step key: the
// image one pixel lower and to the right in a sunken frame.

#include <span>

#include "orvanta/widgets/SkinButton.h"

class CStepSkinButton : public CSkinButton {
public:
  // The top and left edge of the sunken frame of the pressed look.
  static constexpr COLORREF kPressedShadow = RGB(0x40, 0x40, 0x40);

  void DrawItem(LPDRAWITEMSTRUCT item) override;
};

// One button of a stepping dialog: its control id, its caption (UTF-8) and the picture it starts
// with.
struct StepDialogButton {
  UINT id;
  const char* caption;
  UINT image;
};

// Swaps button's picture for image (a running state changed), repainted.
void ShowStepButtonImage(CStepSkinButton& button, UINT image);

// Gives each button the picture its row names and sizes it to the picture, as the dialogs do when
// they start; buttons[i] is the button of table[i].
void LoadStepButtonImages(std::span<CStepSkinButton> buttons, std::span<const StepDialogButton> table);
