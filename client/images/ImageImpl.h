#pragma once
// The picture behind an image: one DIB block with an optional palette, pixel access and drawing.
// Format classes derive from it (through CFileImageImpl) and add reading and writing.

#include <functional>
#include <memory>

#include "client/images/ImagePalette.h"
#include "platform/gdi.h"

// Colour-type flags, numbered as in PNG files.
constexpr int kColorTypePalette = 1;
constexpr int kColorTypeColor = 2;
constexpr int kColorTypeAlpha = 4;

class CImageImpl {
public:
  CImageImpl() = default;
  CImageImpl(const CImageImpl&) = delete;
  CImageImpl& operator=(const CImageImpl&) = delete;
  virtual ~CImageImpl();

  virtual BOOL IsInside(int x, int y) const;
  // A new zeroed DIB; a negative colour type means grey up to 8 bits, colour above. FALSE when the
  // size or depth is refused or memory is short (the image is then empty).
  virtual BOOL Create(int width, int height, int depth, int colorType);
  // Pixel index at (x, y) for depths up to 8; -1 above 8 bits or outside.
  virtual int GetIndex(int x, int y) const;
  virtual BOOL GetRGB(int x, int y, BYTE* red, BYTE* green, BYTE* blue) const;
  virtual BOOL SetIndex(int x, int y, int index);
  // With a palette, stores the nearest entry; FALSE for a paletted image without palette object.
  virtual BOOL SetRGB(int x, int y, BYTE red, BYTE green, BYTE blue);
  virtual BOOL Read(const char* fileName);
  virtual BOOL Write(const char* fileName);

  // Palettes: a missing green array is the red one, a missing blue array the green one.
  BOOL SetPalette(int count, const BYTE* red, const BYTE* green, const BYTE* blue);
  // From consecutive red, green, blue bytes (at most 256 entries); warns when replacing a palette.
  BOOL SetPalette(int count, const BYTE* rgbTriples);
  // Takes ownership of palette; null is ignored.
  BOOL SetPalette(CImagePalette* palette);
  // A grey ramp of count entries from black to white (for 256 entries, entry i is i).
  BOOL SetGreyPalette(int count);
  CImagePalette* GetPalette() const { return m_palette.get(); }

  // -1 for a width or height (destination or source) means the image's width or height.
  BOOL Draw(CDC* dc, int x, int y, int cx, int cy, int xSrc, int ySrc);
  BOOL Stretch(CDC* dc, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc, int cySrc);

  // Takes over another implementation's DIB, palette, transparent index and sizes; other is left empty.
  void TakeOver(CImageImpl& other);

  int GetWidth() const { return m_width; }
  int GetHeight() const { return m_height; }
  int GetDepth() const { return m_depth; }
  int GetColorType() const { return m_colorType; }
  int GetEffWidth() const { return m_rowBytes; }
  BYTE* GetBits() const { return m_bits; }
  LPBITMAPINFOHEADER GetDib() const { return m_dib; }
  BOOL IsValid() const { return m_dib != nullptr; }
  int GetTransparentIndex() const { return m_transparentIndex; }
  void SetTransparentIndex(int index) { m_transparentIndex = index; }
  // Start of DIB row y (0 = bottom row of the picture); null outside.
  BYTE* GetRow(int y) const;

protected:
  // Adopts a block (from a reader) as the picture: sizes and bits come from its header.
  void AttachDib(LPBITMAPINFOHEADER dib);
  // Runs a reader; when it fails, the picture held before is put back, else that one is freed.
  BOOL ReplaceOnSuccess(const std::function<BOOL()>& reader);

private:
  void FreeImage();
  void WriteColorTableAsIndices();
  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(m_dib); }
  UINT DibUsage() const { return m_palette ? DIB_PAL_COLORS : DIB_RGB_COLORS; }
  BOOL StretchMasked(CDC* dc, int xDst, int yDst, int cxDst, int cyDst, int xSrc, int ySrc, int cxSrc, int cySrc);

  BYTE* m_bits{nullptr};
  int m_width{0};
  int m_height{0};
  int m_depth{0};
  int m_colorType{0};
  int m_rowBytes{0};
  LPBITMAPINFOHEADER m_dib{nullptr};
  int m_transparentIndex{-1};
  std::unique_ptr<CImagePalette> m_palette;
};
