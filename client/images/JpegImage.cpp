#include "client/images/JpegImage.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include "client/images/Dib.h"

extern "C" {
#include <jpeglib.h>
}

namespace {

constexpr int kMostQuantisedColors = 128;
// Room for the largest picture allowed, progressive and quantised, with its working rows.
constexpr long kJpegMemoryLimit = 128L * 1024 * 1024;

// The library's standard error manager, whose fatal errors jump back to the caller.
struct JpegErrorManager {
  jpeg_error_mgr standard;
  std::jmp_buf recovery;
};

void ExitToRecoveryPoint(j_common_ptr info) {
  (*info->err->output_message)(info);
  JumpToRecoveryPoint(reinterpret_cast<JpegErrorManager*>(info->err)->recovery);
}

// Messages are not the user's business: the reader only reports failure.
void KeepQuiet(j_common_ptr) {}

void InstallErrorManager(JpegErrorManager& errors) {
  jpeg_std_error(&errors.standard);
  errors.standard.error_exit = ExitToRecoveryPoint;
  errors.standard.output_message = KeepQuiet;
}

}  // namespace

void JumpToRecoveryPoint(std::jmp_buf& recovery) { std::longjmp(recovery, 1); }

BOOL CJpegImage::Read(const char* fileName) {
  TakeFileName(fileName);
  return ReadStoredFile([this](std::FILE* file) { return Decode(file); });
}

// No object with a destructor may live in this frame: errors leave it through longjmp.
BOOL CJpegImage::Decode(std::FILE* file) {
  jpeg_decompress_struct info{};
  JpegErrorManager errors{};
  InstallErrorManager(errors);
  info.err = &errors.standard;
  if (setjmp(errors.recovery) != 0) {
    jpeg_destroy_decompress(&info);
    return FALSE;
  }
  jpeg_create_decompress(&info);
  // Whole-picture buffers (progressive coefficients, two-pass colour quantising) beyond this
  // make the library fail instead of allocating.
  info.mem->max_memory_to_use = kJpegMemoryLimit;
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  // Checked before decompression starts: a progressive file sets up buffers for the whole
  // picture there.
  if (!IsDibSizeAllowed(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return FALSE;
  }
  if (info.jpeg_color_space != JCS_GRAYSCALE) {
    info.quantize_colors = TRUE;
    info.desired_number_of_colors = kMostQuantisedColors;
  }
  jpeg_start_decompress(&info);
  if (info.output_components != 1 ||
      !Create(static_cast<int>(info.output_width), static_cast<int>(info.output_height), 8, -1)) {
    jpeg_destroy_decompress(&info);
    return FALSE;
  }
  if (info.quantize_colors)
    SetPalette(info.actual_number_of_colors, info.colormap[0], info.colormap[info.out_color_components > 1 ? 1 : 0],
               info.colormap[info.out_color_components > 2 ? 2 : 0]);
  else
    SetGreyPalette(256);
  JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                              info.output_width * static_cast<JDIMENSION>(info.output_components), 1);
  while (info.output_scanline < info.output_height) {
    const int y = GetHeight() - 1 - static_cast<int>(info.output_scanline);
    jpeg_read_scanlines(&info, row, 1);
    std::copy(row[0], row[0] + info.output_width, GetRow(y));
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return TRUE;
}

BOOL CJpegImage::Write(const char* fileName) {
  TakeFileName(fileName);
  if (!IsValid()) return FALSE;
  return WriteStoredFile([this](std::FILE* file) { return Encode(file); });
}

BOOL CJpegImage::Encode(std::FILE* file) {
  jpeg_compress_struct info{};
  JpegErrorManager errors{};
  InstallErrorManager(errors);
  info.err = &errors.standard;
  if (setjmp(errors.recovery) != 0) {
    jpeg_destroy_compress(&info);
    return FALSE;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(GetWidth());
  info.image_height = static_cast<JDIMENSION>(GetHeight());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, m_quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                              info.image_width * 3, 1);
  for (int y = GetHeight() - 1; y >= 0; --y) {
    for (int x = 0; x < GetWidth(); ++x) {
      JSAMPLE* pixel = row[0] + 3 * x;
      GetRGB(x, y, &pixel[0], &pixel[1], &pixel[2]);
    }
    jpeg_write_scanlines(&info, row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return ferror(file) == 0 ? TRUE : FALSE;
}
