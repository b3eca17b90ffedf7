#include "client/images/Image.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

#include "client/images/BmpImage.h"
#include "client/images/Dib.h"
#include "client/images/GifImage.h"
#include "client/images/JpegImage.h"
#include "client/images/PngImage.h"

namespace {

struct ExtensionEntry {
  const char* extension;
  int type;
};
// Kept sorted for the binary search.
constexpr ExtensionEntry kExtensions[] = {
    {"BMP", kImageBmp}, {"GIF", kImageGif}, {"JPG", kImageJpeg}, {"PNG", kImagePng}, {"XPM", kImageXpm}};

}  // namespace

CImage::CImage(const char* fileName, int type) { ReadFile(fileName, type); }

CImage::CImage(const CImage& other) : CObject(), m_type(other.m_type), m_fileName(other.m_fileName) {
  const CImageImpl* source = other.GetImplementation();
  if (source == nullptr || !source->IsValid()) return;
  m_implementation = NewImplementation(m_fileName, m_type == kImageUnknown ? kImageBmp : m_type);
  if (!m_implementation ||
      !m_implementation->Create(source->GetWidth(), source->GetHeight(), source->GetDepth(), source->GetColorType()))
    return;
  if (source->GetPalette() != nullptr) m_implementation->SetPalette(new CImagePalette(*source->GetPalette()));
}

CImage::CImage(CBitmap* bitmap) {
  BITMAP description{};
  if (bitmap == nullptr || bitmap->GetBitmap(&description) == 0) return;
  if (!Create(description.bmWidth, description.bmHeight, description.bmBitsPixel, -1)) return;
  LPBITMAPINFOHEADER dib = m_implementation->GetDib();
  CDC screen;
  screen.CreateCompatibleDC(nullptr);
  GetDIBits(screen.GetSafeHdc(), *bitmap, 0, static_cast<UINT>(description.bmHeight), m_implementation->GetBits(),
            reinterpret_cast<BITMAPINFO*>(dib), DIB_RGB_COLORS);
  const HPALETTE handle = CreateDibPalette(dib, 0);
  if (handle != nullptr) {
    auto* palette = new CImagePalette;
    palette->Attach(reinterpret_cast<HGDIOBJ>(handle));
    m_implementation->SetPalette(palette);
  }
}

CImage::~CImage() = default;

int CImage::GetTypeFromExtension(const char* fileName) {
  if (fileName == nullptr) return kImageUnknown;
  const char* dot = std::strrchr(fileName, '.');
  if (dot == nullptr || dot[1] == '\0') return kImageUnknown;
  std::string upper(dot + 1);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const auto* end = std::end(kExtensions);
  const auto* found = std::lower_bound(std::begin(kExtensions), end, upper,
                                       [](const ExtensionEntry& e, const std::string& key) { return key > e.extension; });
  return found != end && upper == found->extension ? found->type : kImageUnknown;
}

std::unique_ptr<CImageImpl> CImage::NewImplementation(const char* fileName, int type) {
  try {
    switch (type) {
      case kImageBmp: return std::make_unique<CBmpImage>(fileName);
      case kImageJpeg: return std::make_unique<CJpegImage>(fileName);
      case kImageGif: return std::make_unique<CGifImage>(fileName);
      case kImagePng: return std::make_unique<CPngImage>(fileName);
      default: return nullptr;
    }
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

int CImage::GetEffWidth() const { return m_implementation ? m_implementation->GetEffWidth() : 0; }
int CImage::GetWidth() const { return m_implementation ? m_implementation->GetWidth() : 0; }
int CImage::GetHeight() const { return m_implementation ? m_implementation->GetHeight() : 0; }
int CImage::GetDepth() const { return m_implementation ? m_implementation->GetDepth() : 0; }
int CImage::GetColorType() const { return m_implementation ? m_implementation->GetColorType() : 0; }
BOOL CImage::IsInside(int x, int y) const { return m_implementation ? m_implementation->IsInside(x, y) : FALSE; }

BOOL CImage::Create(int width, int height, int depth, int colorType) {
  if (!m_implementation) {
    m_implementation = NewImplementation("", kImageBmp);
    if (!m_implementation) return FALSE;
    m_type = kImageBmp;
    m_fileName = "";
  }
  return m_implementation->Create(width, height, depth, colorType);
}

BOOL CImage::CreateImplementation(const char* fileName, int type) {
  m_implementation.reset();
  m_implementation = NewImplementation(fileName, type);
  return m_implementation ? TRUE : FALSE;
}

BOOL CImage::Draw(CDC* dc, int x, int y, int cx, int cy, int xSrc, int ySrc) {
  return m_implementation ? m_implementation->Draw(dc, x, y, cx, cy, xSrc, ySrc) : FALSE;
}

BOOL CImage::Stretch(CDC* dc, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc, int cySrc) {
  return m_implementation ? m_implementation->Stretch(dc, xDst, yDst, cxDst, cyDst, xSrc, ySrc, cxSrc, cySrc) : FALSE;
}

int CImage::GetIndex(int x, int y) const { return m_implementation ? m_implementation->GetIndex(x, y) : -1; }

BOOL CImage::GetRGB(int x, int y, BYTE* red, BYTE* green, BYTE* blue) const {
  return m_implementation ? m_implementation->GetRGB(x, y, red, green, blue) : FALSE;
}

BOOL CImage::SetIndex(int x, int y, int index) {
  return m_implementation ? m_implementation->SetIndex(x, y, index) : FALSE;
}

BOOL CImage::SetRGB(int x, int y, BYTE red, BYTE green, BYTE blue) {
  return m_implementation ? m_implementation->SetRGB(x, y, red, green, blue) : FALSE;
}

BOOL CImage::SetPalette(int count, const BYTE* red, const BYTE* green, const BYTE* blue) {
  return m_implementation ? m_implementation->SetPalette(count, red, green, blue) : FALSE;
}

BOOL CImage::SetPalette(int count, const BYTE* rgbTriples) {
  return m_implementation ? m_implementation->SetPalette(count, rgbTriples) : FALSE;
}

BOOL CImage::SetPalette(CImagePalette* palette) {
  if (!m_implementation) {
    delete palette;
    return FALSE;
  }
  return m_implementation->SetPalette(palette);
}

CImagePalette* CImage::GetPalette() const { return m_implementation ? m_implementation->GetPalette() : nullptr; }
BOOL CImage::IsValid() const { return m_implementation && m_implementation->IsValid() ? TRUE : FALSE; }
BYTE* CImage::GetBits() const { return m_implementation ? m_implementation->GetBits() : nullptr; }

BOOL CImage::ReadFile(const char* fileName, int type) {
  if (fileName == nullptr) return FALSE;
  m_fileName = fileName;
  if (type == kImageUnknown) type = GetTypeFromExtension(fileName);
  const bool reuse = m_implementation && type == m_type;
  m_type = type;
  if (!reuse && !CreateImplementation(fileName, type)) return FALSE;
  return m_implementation->Read(fileName);
}

BOOL CImage::SaveFile(const char* fileName, int type) {
  if (!m_implementation || fileName == nullptr) return FALSE;
  m_fileName = fileName;
  if (type == kImageUnknown) type = GetTypeFromExtension(fileName);
  if (type != m_type) {
    std::unique_ptr<CImageImpl> converted = NewImplementation(fileName, type);
    if (!converted) return FALSE;
    converted->TakeOver(*m_implementation);
    m_implementation = std::move(converted);
  }
  m_type = type;
  return m_implementation->Write(fileName);
}

CBitmap* CImage::MakeBitmap() const {
  if (!IsValid()) return nullptr;
  CDC memory;
  if (!memory.CreateCompatibleDC(nullptr)) return nullptr;
  CImagePalette* palette = GetPalette();
  CPalette* oldPalette = nullptr;
  if (palette != nullptr) {
    oldPalette = memory.SelectPalette(palette, FALSE);
    memory.RealizePalette();
  }
  LPBITMAPINFOHEADER dib = m_implementation->GetDib();
  const HBITMAP handle = CreateDIBitmap(memory.GetSafeHdc(), dib, CBM_INIT, GetBits(),
                                        reinterpret_cast<const BITMAPINFO*>(dib),
                                        palette != nullptr ? DIB_PAL_COLORS : DIB_RGB_COLORS);
  if (oldPalette != nullptr) memory.SelectPalette(oldPalette, FALSE);
  if (handle == nullptr) return nullptr;
  auto* bitmap = new CBitmap;
  bitmap->Attach(reinterpret_cast<HGDIOBJ>(handle));
  return bitmap;
}
