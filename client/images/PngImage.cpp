#include "client/images/PngImage.h"

#include <csetjmp>

#include "client/images/Dib.h"

#include <png.h>

namespace {

// Transparent parts are blended towards this colour.
const png_color_16 kBackground{0, 31, 127, 255, 0};

void KeepWarningsQuiet(png_structp, png_const_charp) {}
void StopOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Alpha is composited away, 16-bit samples stripped, 2-bit pixels unpacked, colours stored
// blue, green, red as in a DIB.
void SetReadTransforms(png_structp png, png_infop info) {
  png_set_background(png, &kBackground, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
  if (png_get_bit_depth(png, info) == 16) png_set_strip_16(png);
  if (png_get_bit_depth(png, info) == 2) png_set_packing(png);
  png_set_bgr(png);
}

bool IsWritableDepth(int depth) { return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 24; }

}  // namespace

BOOL CPngImage::Read(const char* fileName) {
  TakeFileName(fileName);
  return ReadStoredFile([this](std::FILE* file) { return Decode(file); });
}

// No object with a destructor may live in this frame: errors leave it through longjmp.
BOOL CPngImage::Decode(std::FILE* file) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, StopOnError, KeepWarningsQuiet);
  if (png == nullptr) return FALSE;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return FALSE;
  }
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_read_struct(&png, &info, nullptr);
    return FALSE;
  }
  png_set_user_limits(png, kMaxDibSide, kMaxDibSide);
  png_init_io(png, file);
  png_read_info(png, info);
  // Unpacked 2-bit grey keeps its four levels.
  const int greyLevels = 1 << (png_get_bit_depth(png, info) == 16 ? 8 : png_get_bit_depth(png, info));
  SetReadTransforms(png, info);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  const int colorType = png_get_color_type(png, info);
  const int depth = png_get_channels(png, info) * bitDepth;
  if (!IsDibSizeAllowed(png_get_image_width(png, info), png_get_image_height(png, info)) || (depth != 1 && depth != 4 && depth != 8 && depth != 24) ||
      !Create(static_cast<int>(png_get_image_width(png, info)), static_cast<int>(png_get_image_height(png, info)),
              depth, colorType)) {
    png_destroy_read_struct(&png, &info, nullptr);
    return FALSE;
  }
  png_colorp palette = nullptr;
  int entries = 0;
  if (png_get_PLTE(png, info, &palette, &entries) != 0 && colorType == PNG_COLOR_TYPE_PALETTE)
    SetPalette(entries, reinterpret_cast<const BYTE*>(palette));
  else if (colorType == PNG_COLOR_TYPE_GRAY)
    SetGreyPalette(greyLevels);
  // Interlaced passes combine inside the DIB rows themselves.
  for (int pass = 0; pass < passes; ++pass)
    for (int y = GetHeight() - 1; y >= 0; --y) png_read_row(png, GetRow(y), nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return TRUE;
}

BOOL CPngImage::Write(const char* fileName) {
  TakeFileName(fileName);
  if (!IsValid() || !IsWritableDepth(GetDepth())) return FALSE;
  return WriteStoredFile([this](std::FILE* file) { return Encode(file); });
}

BOOL CPngImage::Encode(std::FILE* file) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, StopOnError, KeepWarningsQuiet);
  if (png == nullptr) return FALSE;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return FALSE;
  }
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return FALSE;
  }
  png_init_io(png, file);
  const int depth = GetDepth();
  const bool paletted = depth <= 8 && GetPalette() != nullptr;
  const int colorType = depth > 8 ? PNG_COLOR_TYPE_RGB : paletted ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_GRAY;
  const int bitDepth = depth > 8 ? 8 : depth;
  png_set_IHDR(png, info, static_cast<png_uint_32>(GetWidth()), static_cast<png_uint_32>(GetHeight()), bitDepth,
               colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color entries[256] = {};
  if (paletted) {
    const int count = 1 << bitDepth;
    for (int i = 0; i < count; ++i) GetPalette()->GetEntry(i, &entries[i].red, &entries[i].green, &entries[i].blue);
    png_set_PLTE(png, info, entries, count);
  }
  png_write_info(png, info);
  png_set_bgr(png);
  for (int y = GetHeight() - 1; y >= 0; --y) png_write_row(png, GetRow(y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return ferror(file) == 0 ? TRUE : FALSE;
}
