#pragma once
// The class library's drawing objects: each wraps one handle and deletes it when destroyed.

#include "platform/gdi_defs.h"
#include "platform/strings.h"

class CDC;

class CGdiObject {
public:
  CGdiObject() = default;
  virtual ~CGdiObject();
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  operator HGDIOBJ() const { return m_hObject; }
  // Takes ownership of a handle; FALSE when this object already holds one or the handle is null.
  BOOL Attach(HGDIOBJ object);
  // Gives up the handle without deleting it.
  HGDIOBJ Detach();
  // Deletes the handle (stock objects are only released); FALSE when there is none.
  BOOL DeleteObject();
  int GetObject(int size, LPVOID buffer) const;
  UINT GetObjectType() const;
  BOOL CreateStockObject(int index);
  BOOL UnrealizeObject() { return m_hObject != nullptr; }
  // The object wrapping a handle: the attached one, or a temporary wrapper that lives as long as
  // the handle.
  static CGdiObject* FromHandle(HGDIOBJ object);

  HGDIOBJ m_hObject{nullptr};
};

class CPen : public CGdiObject {
public:
  CPen() = default;
  CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
  BOOL CreatePen(int style, int width, COLORREF color);
  BOOL CreatePenIndirect(const LOGPEN* pen);
  int GetLogPen(LOGPEN* pen) const { return GetObject(sizeof(LOGPEN), pen); }
  operator HPEN() const { return reinterpret_cast<HPEN>(m_hObject); }
  static CPen* FromHandle(HPEN pen);
};

class CBitmap;

class CBrush : public CGdiObject {
public:
  CBrush() = default;
  explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
  explicit CBrush(CBitmap* pattern);
  BOOL CreateSolidBrush(COLORREF color);
  BOOL CreatePatternBrush(CBitmap* pattern);
  BOOL CreateBrushIndirect(const LOGBRUSH* brush);
  // A solid brush of a system colour.
  BOOL CreateSysColorBrush(int index);
  int GetLogBrush(LOGBRUSH* brush) const { return GetObject(sizeof(LOGBRUSH), brush); }
  operator HBRUSH() const { return reinterpret_cast<HBRUSH>(m_hObject); }
  static CBrush* FromHandle(HBRUSH brush);
};

class CFont : public CGdiObject {
public:
  BOOL CreateFontIndirect(const LOGFONT* font);
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                  BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                  BYTE pitchAndFamily, LPCSTR face);
  // A font of pointSize tenths of a point for dc (the screen when null).
  BOOL CreatePointFont(int pointSize, LPCSTR face, CDC* dc = nullptr);
  BOOL CreatePointFontIndirect(const LOGFONT* font, CDC* dc = nullptr);
  int GetLogFont(LOGFONT* font) const { return GetObject(sizeof(LOGFONT), font); }
  operator HFONT() const { return reinterpret_cast<HFONT>(m_hObject); }
  static CFont* FromHandle(HFONT font);
};

class CBitmap : public CGdiObject {
public:
  // From the current resource module's bitmap table.
  BOOL LoadBitmap(UINT id);
  BOOL LoadBitmap(LPCSTR name);
  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
  BOOL CreateBitmapIndirect(const BITMAP* bitmap);
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  int GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }
  DWORD GetBitmapBits(DWORD count, LPVOID bits) const;
  DWORD SetBitmapBits(DWORD count, const void* bits);
  operator HBITMAP() const { return reinterpret_cast<HBITMAP>(m_hObject); }
  static CBitmap* FromHandle(HBITMAP bitmap);
};

class CPalette : public CGdiObject {
public:
  BOOL CreatePalette(const LOGPALETTE* palette);
  BOOL CreateHalftonePalette(CDC* dc);
  UINT GetNearestPaletteIndex(COLORREF color) const;
  UINT GetPaletteEntries(UINT start, UINT count, PALETTEENTRY* entries) const;
  UINT SetPaletteEntries(UINT start, UINT count, const PALETTEENTRY* entries);
  int GetEntryCount() const;
  operator HPALETTE() const { return reinterpret_cast<HPALETTE>(m_hObject); }
  static CPalette* FromHandle(HPALETTE palette);
};

class CRgn : public CGdiObject {
public:
  BOOL CreateRectRgn(int left, int top, int right, int bottom);
  BOOL CreateRectRgnIndirect(LPCRECT rect);
  BOOL CreateEllipticRgn(int left, int top, int right, int bottom);
  BOOL CreateEllipticRgnIndirect(LPCRECT rect);
  BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
  BOOL CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
  // this = a op b; returns the region kind or ERROR.
  int CombineRgn(const CRgn* a, const CRgn* b, int mode);
  int CopyRgn(const CRgn* source);
  BOOL EqualRgn(const CRgn* other) const;
  int OffsetRgn(int dx, int dy);
  int OffsetRgn(POINT offset) { return OffsetRgn(offset.x, offset.y); }
  int GetRgnBox(LPRECT box) const;
  BOOL PtInRegion(int x, int y) const;
  BOOL PtInRegion(POINT p) const { return PtInRegion(p.x, p.y); }
  BOOL RectInRegion(LPCRECT rect) const;
  void SetRectRgn(int left, int top, int right, int bottom);
  void SetRectRgn(LPCRECT rect) { SetRectRgn(rect->left, rect->top, rect->right, rect->bottom); }
  operator HRGN() const { return reinterpret_cast<HRGN>(m_hObject); }
  static CRgn* FromHandle(HRGN region);
};
