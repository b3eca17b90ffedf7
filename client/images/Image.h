#pragma once
// A picture read from or written to a file, the format chosen by the file name's extension.

#include <memory>

#include "client/images/ImageImpl.h"
#include "platform/object.h"
#include "platform/strings.h"

// Image types; the numbers are stored and passed.
constexpr int kImageUnknown = -1;
constexpr int kImageBmp = 0;
constexpr int kImageJpeg = 1;
constexpr int kImageGif = 2;
constexpr int kImageXpm = 3;
constexpr int kImagePng = 4;

class CImage : public CObject {
public:
  CImage() = default;
  // Reads the file at once.
  CImage(const char* fileName, int type);
  // Same name, type, size, depth, colour type and palette as other, pixels zeroed.
  explicit CImage(const CImage& other);
  // A BMP image holding the bitmap's pixels (fetched through the screen context).
  explicit CImage(CBitmap* bitmap);
  ~CImage() override;

  // The type for the file name's extension (after the last '.', any case); -1 when unknown.
  static int GetTypeFromExtension(const char* fileName);

  virtual int GetEffWidth() const;
  virtual int GetWidth() const;
  virtual int GetHeight() const;
  virtual int GetDepth() const;
  virtual int GetColorType() const;
  virtual BOOL IsInside(int x, int y) const;
  // Makes a BMP implementation first when there is none.
  virtual BOOL Create(int width, int height, int depth, int colorType);
  // Replaces the implementation by an empty one of the type; FALSE for types without one.
  virtual BOOL CreateImplementation(const char* fileName, int type);
  virtual BOOL Draw(CDC* dc, int x, int y, int cx = -1, int cy = -1, int xSrc = 0, int ySrc = 0);
  virtual BOOL Stretch(CDC* dc, int xDst, int yDst, int cxDst = -1, int cyDst = -1, int xSrc = 0, int ySrc = 0,
                       int cxSrc = -1, int cySrc = -1);
  virtual int GetIndex(int x, int y) const;
  virtual BOOL GetRGB(int x, int y, BYTE* red, BYTE* green, BYTE* blue) const;
  virtual BOOL SetIndex(int x, int y, int index);
  virtual BOOL SetRGB(int x, int y, BYTE red, BYTE green, BYTE blue);
  virtual BOOL SetPalette(int count, const BYTE* red, const BYTE* green, const BYTE* blue);
  virtual BOOL SetPalette(int count, const BYTE* rgbTriples);
  virtual BOOL SetPalette(CImagePalette* palette);
  virtual CImagePalette* GetPalette() const;
  virtual BOOL IsValid() const;
  virtual CImageImpl* GetImplementation() const { return m_implementation.get(); }
  virtual BYTE* GetBits() const;

  // A type of -1 is taken from the extension.
  BOOL ReadFile(const char* fileName, int type = kImageUnknown);
  // Converts to the type's implementation when it differs, then writes.
  BOOL SaveFile(const char* fileName, int type = kImageUnknown);
  // A device-dependent bitmap of the picture, owned by the caller; null on failure.
  CBitmap* MakeBitmap() const;

  int GetType() const { return m_type; }
  const CString& GetFileName() const { return m_fileName; }

private:
  static std::unique_ptr<CImageImpl> NewImplementation(const char* fileName, int type);

  int m_type{kImageUnknown};
  CString m_fileName;
  std::unique_ptr<CImageImpl> m_implementation;
};
