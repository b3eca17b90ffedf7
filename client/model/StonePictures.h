#pragma once
// The stone pictures of the board window: every stone size with its black and white bitmap
// resources. Pure green is transparent in all of them.

#include "platform/types.h"

struct StonePictures {
  int size;
  UINT black;
  UINT white;
};

inline constexpr StonePictures kStonePictures[] = {
    {9, 143, 302},  {11, 277, 298}, {13, 206, 208}, {15, 258, 280}, {17, 148, 146}, {19, 212, 214},
    {21, 261, 283}, {23, 215, 217}, {25, 218, 220}, {27, 264, 286}, {29, 235, 222}, {31, 266, 288},
    {35, 267, 289}, {39, 268, 290}, {43, 269, 291}, {47, 270, 292}, {51, 271, 293}, {55, 272, 294},
    {59, 273, 295}, {63, 274, 296}, {67, 275, 297}, {71, 276, 278},
};
