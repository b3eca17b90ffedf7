#include "client/images/ImageImpl.h"

#include <cstring>
#include <utility>
#include <vector>

#include "client/images/Dib.h"
#include "platform/msgbox.h"

CImageImpl::~CImageImpl() { FreeImage(); }

BOOL CImageImpl::IsInside(int x, int y) const {
  return x >= 0 && x < m_width && y >= 0 && y < m_height ? TRUE : FALSE;
}

BOOL CImageImpl::Create(int width, int height, int depth, int colorType) {
  FreeImage();
  LPBITMAPINFOHEADER dib = CreateDib(depth, width, height);
  if (dib == nullptr) return FALSE;
  AttachDib(dib);
  m_colorType = colorType >= 0 ? colorType : (depth <= 8 ? 0 : kColorTypeColor);
  return TRUE;
}

BYTE* CImageImpl::GetRow(int y) const {
  if (m_bits == nullptr || y < 0 || y >= m_height) return nullptr;
  return m_bits + static_cast<size_t>(m_rowBytes) * static_cast<size_t>(y);
}

// Packed depths keep the leftmost pixel in the most significant bits of a byte.
int CImageImpl::GetIndex(int x, int y) const {
  if (!IsInside(x, y) || m_depth > 8 || m_bits == nullptr) return -1;
  const size_t bit = static_cast<size_t>(x) * static_cast<size_t>(m_depth);
  const BYTE byte = GetRow(y)[bit / 8];
  const int shift = 8 - m_depth - static_cast<int>(bit % 8);
  return (byte >> shift) & ((1 << m_depth) - 1);
}

BOOL CImageImpl::SetIndex(int x, int y, int index) {
  if (!IsInside(x, y) || m_depth > 8 || m_bits == nullptr) return FALSE;
  const size_t bit = static_cast<size_t>(x) * static_cast<size_t>(m_depth);
  BYTE& byte = GetRow(y)[bit / 8];
  const int shift = 8 - m_depth - static_cast<int>(bit % 8);
  const int mask = ((1 << m_depth) - 1) << shift;
  byte = static_cast<BYTE>((byte & ~mask) | ((index << shift) & mask));
  return TRUE;
}

BOOL CImageImpl::GetRGB(int x, int y, BYTE* red, BYTE* green, BYTE* blue) const {
  if (!IsInside(x, y) || m_bits == nullptr) return FALSE;
  if (m_depth <= 8) {
    const int index = GetIndex(x, y);
    if (m_palette) return m_palette->GetEntry(index, red, green, blue);
    // Without a palette object the table still holds the block's RGB colours.
    if (static_cast<UINT>(index) >= GetDibColorCount(m_dib)) return FALSE;
    const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(m_dib) + m_dib->biSize);
    *red = table[index].rgbRed;
    *green = table[index].rgbGreen;
    *blue = table[index].rgbBlue;
    return TRUE;
  }
  const BYTE* pixel = GetRow(y) + static_cast<size_t>(x) * static_cast<size_t>(m_depth / 8);
  *blue = pixel[0];
  *green = pixel[1];
  *red = pixel[2];
  return TRUE;
}

BOOL CImageImpl::SetRGB(int x, int y, BYTE red, BYTE green, BYTE blue) {
  if (!IsInside(x, y) || m_bits == nullptr) return FALSE;
  if ((m_colorType & kColorTypePalette) != 0) {
    if (!m_palette) return FALSE;
    return SetIndex(x, y, m_palette->GetNearestIndex(red, green, blue));
  }
  if (m_depth < 24) return FALSE;
  BYTE* pixel = GetRow(y) + static_cast<size_t>(x) * static_cast<size_t>(m_depth / 8);
  pixel[0] = blue;
  pixel[1] = green;
  pixel[2] = red;
  return TRUE;
}

BOOL CImageImpl::Read(const char*) { return FALSE; }
BOOL CImageImpl::Write(const char*) { return FALSE; }

BOOL CImageImpl::SetPalette(int count, const BYTE* red, const BYTE* green, const BYTE* blue) {
  auto palette = std::make_unique<CImagePalette>();
  if (!palette->Create(count, red, green, blue)) return FALSE;
  return SetPalette(palette.release());
}

BOOL CImageImpl::SetPalette(int count, const BYTE* rgbTriples) {
  if (rgbTriples == nullptr || count < 1) return FALSE;
  if (count > 256) count = 256;
  if (m_palette) AfxMessageBox("CImageImpl::imagePalette already exists!");
  BYTE red[256], green[256], blue[256];
  for (int i = 0; i < count; ++i) {
    red[i] = rgbTriples[3 * i];
    green[i] = rgbTriples[3 * i + 1];
    blue[i] = rgbTriples[3 * i + 2];
  }
  return SetPalette(count, red, green, blue);
}

BOOL CImageImpl::SetPalette(CImagePalette* palette) {
  if (palette == nullptr) return FALSE;
  m_palette.reset(palette);
  m_colorType |= kColorTypePalette | kColorTypeColor;
  WriteColorTableAsIndices();
  return TRUE;
}

BOOL CImageImpl::SetGreyPalette(int count) {
  if (count < 1 || count > 256) return FALSE;
  BYTE grey[256];
  for (int i = 0; i < count; ++i) grey[i] = static_cast<BYTE>(count == 1 ? 0 : 255 * i / (count - 1));
  return SetPalette(count, grey, grey, grey);
}

void CImageImpl::WriteColorTableAsIndices() {
  if (m_dib != nullptr) SetDibColorTable(m_dib, m_palette.get(), TRUE);
}

BOOL CImageImpl::Draw(CDC* dc, int x, int y, int cx, int cy, int xSrc, int ySrc) {
  if (m_dib == nullptr) return FALSE;
  if (dc == nullptr) return TRUE;
  dc->RealizePalette();
  if (cx == -1) cx = m_width;
  if (cy == -1) cy = m_height;
  SetDIBitsToDevice(dc->GetSafeHdc(), x, y, static_cast<DWORD>(cx), static_cast<DWORD>(cy), xSrc, ySrc, 0,
                    static_cast<UINT>(m_height), m_bits, Info(), DibUsage());
  return TRUE;
}

BOOL CImageImpl::Stretch(CDC* dc, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc,
                         int cySrc) {
  if (m_dib == nullptr) return FALSE;
  if (dc == nullptr) return TRUE;
  dc->RealizePalette();
  dc->SetStretchBltMode(COLORONCOLOR);
  if (cxDst == -1) cxDst = m_width;
  if (cyDst == -1) cyDst = m_height;
  if (cxSrc == -1) cxSrc = m_width;
  if (cySrc == -1) cySrc = m_height;
  if (m_transparentIndex >= 0 && m_palette && m_depth <= 8)
    return StretchMasked(dc, xDst, yDst, cxDst, cyDst, xSrc, ySrc, cxSrc, cySrc);
  StretchDIBits(dc->GetSafeHdc(), xDst, yDst, cxDst, cyDst, xSrc, ySrc, cxSrc, cySrc, m_bits, Info(), DibUsage(),
                SRCCOPY);
  return TRUE;
}

// A mask pass (transparent white, the rest black, ANDed) clears the opaque area; a second pass
// (transparent black) ORs the picture into it.
BOOL CImageImpl::StretchMasked(CDC* dc, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc,
                               int cySrc) {
  const size_t imageSize = static_cast<size_t>(m_rowBytes) * static_cast<size_t>(m_height);
  const std::vector<BYTE> saved(m_bits, m_bits + imageSize);
  const int white = m_palette->GetNearestIndex(255, 255, 255);
  const int black = m_palette->GetNearestIndex(0, 0, 0);
  const auto pass = [&](bool maskPass, DWORD rop) {
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x) {
        const bool transparent = GetIndex(x, y) == m_transparentIndex;
        if (maskPass) SetIndex(x, y, transparent ? white : black);
        else if (transparent) SetIndex(x, y, black);
      }
    StretchDIBits(dc->GetSafeHdc(), xDst, yDst, cxDst, cyDst, xSrc, ySrc, cxSrc, cySrc, m_bits, Info(), DIB_PAL_COLORS,
                  rop);
    std::memcpy(m_bits, saved.data(), imageSize);
  };
  pass(true, SRCAND);
  pass(false, SRCPAINT);
  return TRUE;
}

void CImageImpl::TakeOver(CImageImpl& other) {
  FreeImage();
  m_bits = std::exchange(other.m_bits, nullptr);
  m_width = std::exchange(other.m_width, 0);
  m_height = std::exchange(other.m_height, 0);
  m_depth = std::exchange(other.m_depth, 0);
  m_colorType = std::exchange(other.m_colorType, 0);
  m_rowBytes = std::exchange(other.m_rowBytes, 0);
  m_dib = std::exchange(other.m_dib, nullptr);
  m_transparentIndex = std::exchange(other.m_transparentIndex, -1);
  m_palette = std::move(other.m_palette);
}

void CImageImpl::AttachDib(LPBITMAPINFOHEADER dib) {
  FreeImage();
  m_dib = dib;
  m_width = dib->biWidth;
  m_height = dib->biHeight;
  m_depth = dib->biBitCount;
  m_rowBytes = static_cast<int>(DibRowBytes(m_width, m_depth));
  m_bits = GetDibBits(dib);
  m_colorType = m_depth <= 8 ? 0 : kColorTypeColor;
}

BOOL CImageImpl::ReplaceOnSuccess(const std::function<BOOL()>& reader) {
  CImageImpl previous;
  previous.TakeOver(*this);
  if (reader()) return TRUE;
  TakeOver(previous);
  return FALSE;
}

void CImageImpl::FreeImage() {
  FreeDib(m_dib);
  m_dib = nullptr;
  m_bits = nullptr;
  m_width = m_height = m_depth = m_rowBytes = 0;
  m_palette.reset();
}
