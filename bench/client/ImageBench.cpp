// Decoding a 640 x 480 picture of each format through the image classes, and the same JPEG and PNG
// files through a minimal direct library loop with the same settings, to show the overhead.
#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "client/images/BmpImage.h"
#include "client/images/GifImage.h"
#include "client/images/JpegImage.h"
#include "client/images/PngImage.h"

extern "C" {
#include <jpeglib.h>
}

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

std::string BenchPath(const char* extension) {
  return (std::filesystem::temp_directory_path() / ("imagebench-" + std::to_string(getpid()) + "." + extension)).string();
}

// A photograph-like picture: smooth gradients with some texture.
template <typename Image>
std::string WritePicture(const char* extension, int depth) {
  Image image;
  image.Create(kWidth, kHeight, depth, -1);
  if (depth == 8) {
    BYTE red[256], green[256], blue[256];
    for (int i = 0; i < 256; ++i) {
      red[i] = static_cast<BYTE>(i);
      green[i] = static_cast<BYTE>((i * 3) & 0xFF);
      blue[i] = static_cast<BYTE>(255 - i);
    }
    image.SetPalette(256, red, green, blue);
  }
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const int texture = ((x * 7) ^ (y * 13)) & 15;
      if (depth == 8) image.SetIndex(x, y, (x / 3 + y / 5 + texture / 4) & 0xFF);
      else image.SetRGB(x, y, static_cast<BYTE>(x * 255 / kWidth), static_cast<BYTE>(y * 255 / kHeight),
                        static_cast<BYTE>(128 + texture * 4));
    }
  const std::string path = BenchPath(extension);
  image.Write(path.c_str());
  return path;
}

template <typename Image>
void DecodeThroughImage(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    Image image;
    benchmark::DoNotOptimize(image.Read(path.c_str()));
  }
}

void BM_DecodeBmp(benchmark::State& state) {
  static const std::string path = WritePicture<CBmpImage>("bmp", 24);
  DecodeThroughImage<CBmpImage>(state, path);
}
BENCHMARK(BM_DecodeBmp)->Unit(benchmark::kMillisecond);

void BM_DecodeGif(benchmark::State& state) {
  static const std::string path = WritePicture<CGifImage>("gif", 8);
  DecodeThroughImage<CGifImage>(state, path);
}
BENCHMARK(BM_DecodeGif)->Unit(benchmark::kMillisecond);

const std::string& JpegFile() {
  static const std::string path = WritePicture<CJpegImage>("jpg", 24);
  return path;
}

const std::string& PngFile() {
  static const std::string path = WritePicture<CPngImage>("png", 24);
  return path;
}

void BM_DecodeJpeg(benchmark::State& state) { DecodeThroughImage<CJpegImage>(state, JpegFile()); }
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond);

void BM_DecodeJpegDirect(benchmark::State& state) {
  for (auto _ : state) {
    // A fresh picture per decode, as the image classes must make.
    std::vector<JSAMPLE> pixels(static_cast<size_t>(kWidth) * kHeight);
    std::FILE* file = std::fopen(JpegFile().c_str(), "rb");
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.quantize_colors = TRUE;
    info.desired_number_of_colors = 128;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = pixels.data() + static_cast<size_t>(info.output_scanline) * kWidth;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_DecodeJpegDirect)->Unit(benchmark::kMillisecond);

void BM_DecodePng(benchmark::State& state) { DecodeThroughImage<CPngImage>(state, PngFile()); }
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMillisecond);

void BM_DecodePngDirect(benchmark::State& state) {
  const png_color_16 background{0, 31, 127, 255, 0};
  for (auto _ : state) {
    std::vector<png_byte> pixels(static_cast<size_t>(kWidth) * kHeight * 3);
    std::FILE* file = std::fopen(PngFile().c_str(), "rb");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_background(png, &background, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    for (int pass = 0; pass < passes; ++pass)
      for (int y = 0; y < kHeight; ++y) png_read_row(png, pixels.data() + static_cast<size_t>(y) * kWidth * 3, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_DecodePngDirect)->Unit(benchmark::kMillisecond);

}  // namespace
