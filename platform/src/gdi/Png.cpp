// PNG files of surfaces (libpng).
#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/gdi.h"

namespace platform {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool SaveSurfacePng(const Surface& surface, const char* path) {
  if (!path || surface.width <= 0 || surface.height <= 0) return false;
  File file(std::fopen(path, "wb"));
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  std::vector<png_byte> row(static_cast<std::size_t>(surface.width) * 3);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(surface.width), static_cast<png_uint_32>(surface.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < surface.height; ++y) {
    const std::uint32_t* src = surface.Row(y);
    for (int x = 0; x < surface.width; ++x) {
      row[3 * x] = static_cast<png_byte>(src[x] >> 16);
      row[3 * x + 1] = static_cast<png_byte>(src[x] >> 8);
      row[3 * x + 2] = static_cast<png_byte>(src[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fflush(file.get()) == 0;
}

bool LoadPng(const char* path, Surface& out) {
  if (!path) return false;
  File file(std::fopen(path, "rb"));
  if (!file) return false;
  png_byte signature[8];
  if (std::fread(signature, 1, 8, file.get()) != 8 || png_sig_cmp(signature, 0, 8) != 0) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  std::vector<png_byte> row;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, file.get());
  png_set_sig_bytes(png, 8);
  png_read_info(png, info);
  png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  if (width == 0 || height == 0 || width > 32768 || height > 32768) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  // Everything becomes 8-bit RGB.
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_packing(png);
  png_set_palette_to_rgb(png);
  png_set_expand_gray_1_2_4_to_8(png);
  png_set_gray_to_rgb(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  row.resize(png_get_rowbytes(png, info));
  if (row.size() < static_cast<std::size_t>(width) * 3) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  Surface s(static_cast<int>(width), static_cast<int>(height));
  int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < height; ++y) {
      // Interlaced images are read whole on the last pass; earlier passes only fill the rows.
      std::uint32_t* dst = s.Row(static_cast<int>(y));
      for (png_uint_32 x = 0; x < width; ++x) {
        row[3 * x] = static_cast<png_byte>(dst[x] >> 16);
        row[3 * x + 1] = static_cast<png_byte>(dst[x] >> 8);
        row[3 * x + 2] = static_cast<png_byte>(dst[x]);
      }
      png_read_row(png, row.data(), nullptr);
      for (png_uint_32 x = 0; x < width; ++x) {
        dst[x] = (static_cast<std::uint32_t>(row[3 * x]) << 16) | (static_cast<std::uint32_t>(row[3 * x + 1]) << 8) |
                 row[3 * x + 2];
      }
    }
  }
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  out = std::move(s);
  return true;
}

}  // namespace platform
