#pragma once
// Device contexts: CDC on a window's surface, a memory bitmap, a printer page or the screen, and
// the window contexts CPaintDC, CClientDC and CWindowDC.

#include "platform/gdi_objects.h"
#include "platform/messages.h"

class CWnd;

class CDC {
public:
  CDC() = default;
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }
  // The CDC of a handle: the attached one, or a temporary wrapper that lives as long as the handle.
  static CDC* FromHandle(HDC dc);
  BOOL Attach(HDC dc);
  HDC Detach();
  // Deletes a context this object created or attached; FALSE when there is none.
  BOOL DeleteDC();
  // A memory context with a 1x1 monochrome bitmap selected (dc is ignored: every surface is 32-bit).
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL IsPrinting() const { return m_bPrinting; }
  int GetDeviceCaps(int index) const;
  int SaveDC();
  // Restores the state saved by SaveDC; saved < 0 counts back from the latest.
  BOOL RestoreDC(int saved);

  // Selection; each returns the previously selected object (a temporary wrapper when it was not
  // attached to one), or null on failure.
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CBitmap* SelectObject(CBitmap* bitmap);
  // Selecting a region sets the clip region; returns the region kind.
  int SelectObject(CRgn* region);
  CGdiObject* SelectObject(CGdiObject* object);
  HGDIOBJ SelectObject(HGDIOBJ object);
  CGdiObject* SelectStockObject(int index);
  CPalette* SelectPalette(CPalette* palette, BOOL forceBackground);
  UINT RealizePalette();
  CPen* GetCurrentPen() const;
  CBrush* GetCurrentBrush() const;
  CFont* GetCurrentFont() const;
  CBitmap* GetCurrentBitmap() const;
  CPalette* GetCurrentPalette() const;

  // Colours and modes; each setter returns the previous value.
  COLORREF SetTextColor(COLORREF color);
  COLORREF GetTextColor() const;
  COLORREF SetBkColor(COLORREF color);
  COLORREF GetBkColor() const;
  int SetBkMode(int mode);
  int GetBkMode() const;
  int SetROP2(int mode);
  int GetROP2() const;
  UINT SetTextAlign(UINT flags);
  UINT GetTextAlign() const;
  int SetStretchBltMode(int mode);
  int GetStretchBltMode() const;
  int SetPolyFillMode(int mode);
  int GetPolyFillMode() const;
  int SetGraphicsMode(int mode);
  BOOL SetWorldTransform(const XFORM* xform);
  BOOL ModifyWorldTransform(const XFORM* xform, DWORD mode);
  CPoint SetBrushOrg(int x, int y);
  CPoint SetBrushOrg(POINT p) { return SetBrushOrg(p.x, p.y); }

  // Mapping between logical and device units.
  int SetMapMode(int mode);
  int GetMapMode() const;
  CPoint SetWindowOrg(int x, int y);
  CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
  CPoint GetWindowOrg() const;
  CPoint SetViewportOrg(int x, int y);
  CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
  CPoint GetViewportOrg() const;
  CPoint OffsetViewportOrg(int dx, int dy);
  CPoint OffsetWindowOrg(int dx, int dy);
  // Extents take effect in MM_ISOTROPIC and MM_ANISOTROPIC only; a zero extent is refused.
  CSize SetWindowExt(int cx, int cy);
  CSize SetWindowExt(SIZE s) { return SetWindowExt(s.cx, s.cy); }
  CSize GetWindowExt() const;
  CSize SetViewportExt(int cx, int cy);
  CSize SetViewportExt(SIZE s) { return SetViewportExt(s.cx, s.cy); }
  CSize GetViewportExt() const;
  void DPtoLP(LPPOINT points, int count = 1) const;
  void DPtoLP(LPRECT rect) const;
  void DPtoLP(LPSIZE size) const;
  void LPtoDP(LPPOINT points, int count = 1) const;
  void LPtoDP(LPRECT rect) const;
  void LPtoDP(LPSIZE size) const;

  // Clipping (device coordinates for regions, logical for rectangles).
  int SelectClipRgn(CRgn* region);
  int SelectClipRgn(CRgn* region, int mode);
  int IntersectClipRect(int left, int top, int right, int bottom);
  int IntersectClipRect(LPCRECT rect) { return IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom); }
  int ExcludeClipRect(int left, int top, int right, int bottom);
  int ExcludeClipRect(LPCRECT rect) { return ExcludeClipRect(rect->left, rect->top, rect->right, rect->bottom); }
  // The smallest rectangle around the visible area, logical coordinates.
  int GetClipBox(LPRECT rect) const;
  BOOL PtVisible(int x, int y) const;
  BOOL RectVisible(LPCRECT rect) const;

  // Lines and shapes with the current pen and brush; right and bottom edges are exclusive.
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  CPoint GetCurrentPosition() const;
  // Draws from the current position up to, but not including, (x, y).
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  BOOL Polyline(const POINT* points, int count);
  BOOL Rectangle(int left, int top, int right, int bottom);
  BOOL Rectangle(LPCRECT rect) { return Rectangle(rect->left, rect->top, rect->right, rect->bottom); }
  BOOL RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
  BOOL Ellipse(int left, int top, int right, int bottom);
  BOOL Ellipse(LPCRECT rect) { return Ellipse(rect->left, rect->top, rect->right, rect->bottom); }
  BOOL Polygon(const POINT* points, int count);
  COLORREF SetPixel(int x, int y, COLORREF color);
  COLORREF SetPixel(POINT p, COLORREF color) { return SetPixel(p.x, p.y, color); }
  COLORREF GetPixel(int x, int y) const;
  COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }
  void FillRect(LPCRECT rect, CBrush* brush);
  void FrameRect(LPCRECT rect, CBrush* brush);
  void InvertRect(LPCRECT rect);
  BOOL FillRgn(CRgn* region, CBrush* brush);
  BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height);
  BOOL InvertRgn(CRgn* region);
  BOOL PaintRgn(CRgn* region);
  // Sets the background colour to color (as the class library does) and fills the rectangle.
  void FillSolidRect(LPCRECT rect, COLORREF color);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
  void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
  void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
  BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
  BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state);
  // Inverts every other pixel of the rectangle's border: drawing it twice removes it.
  void DrawFocusRect(LPCRECT rect);
  BOOL DrawIcon(int x, int y, HICON icon);
  BOOL DrawIcon(POINT p, HICON icon) { return DrawIcon(p.x, p.y, icon); }
  BOOL DrawState(CPoint pt, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush = nullptr);
  BOOL DrawState(CPoint pt, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush = nullptr);
  BOOL DrawState(CPoint pt, CSize size, HICON icon, UINT flags, HBRUSH brush = nullptr);
  BOOL DrawState(CPoint pt, CSize size, HICON icon, UINT flags, CBrush* brush);
  BOOL DrawState(CPoint pt, CSize size, LPCSTR text, UINT flags, BOOL prefixText = TRUE, int textLength = 0,
                 HBRUSH brush = nullptr);
  BOOL DrawState(CPoint pt, CSize size, LPCSTR text, UINT flags, BOOL prefixText, int textLength, CBrush* brush);

  // Block transfers.
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
  BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);
  BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int widthSrc, int heightSrc,
                  DWORD rop);

  // Text (code page 949).
  BOOL TextOut(int x, int y, LPCSTR text, int count);
  BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT count, const int* dx);
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, const int* dx);
  // count -1: up to the NUL. Returns the text height; with DT_CALCRECT only measures into rect.
  int DrawText(LPCSTR text, int count, LPRECT rect, UINT format);
  int DrawText(const CString& text, LPRECT rect, UINT format);
  CSize GetTextExtent(LPCSTR text, int count) const;
  CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
  CSize GetOutputTextExtent(LPCSTR text, int count) const { return GetTextExtent(text, count); }
  CSize GetOutputTextExtent(const CString& text) const { return GetTextExtent(text); }
  BOOL GetTextMetrics(LPTEXTMETRIC metrics) const;
  BOOL GetOutputTextMetrics(LPTEXTMETRIC metrics) const { return GetTextMetrics(metrics); }
  int GetTextFace(int count, LPSTR face) const;

  // Printing: pages are written as PNG files when EndPage runs.
  int StartDoc(DOCINFO* info);
  int StartDoc(LPCSTR documentName);
  int StartPage();
  int EndPage();
  int EndDoc();
  int AbortDoc();

  HDC m_hDC{nullptr};
  HDC m_hAttribDC{nullptr};
  BOOL m_bPrinting{FALSE};

private:
  bool m_temporary{false};  // made by FromHandle: never deletes the handle
  friend struct DcWrappers;
};

// The context of a WM_PAINT handler: BeginPaint on construction, EndPaint on destruction.
class CPaintDC : public CDC {
public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps{};

protected:
  HWND m_hWnd{nullptr};
};

// The client area of a window (the screen when window is null), released on destruction.
class CClientDC : public CDC {
public:
  explicit CClientDC(CWnd* window);
  ~CClientDC() override;

protected:
  HWND m_hWnd{nullptr};
};

// The whole window, frame included.
class CWindowDC : public CDC {
public:
  explicit CWindowDC(CWnd* window);
  ~CWindowDC() override;

protected:
  HWND m_hWnd{nullptr};
};
