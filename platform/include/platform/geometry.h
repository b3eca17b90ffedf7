#pragma once
// Points, sizes and rectangles with the class-library helpers the programs use.

#include "platform/types.h"

struct POINT {
  LONG x;
  LONG y;
};
struct SIZE {
  LONG cx;
  LONG cy;
};
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;
using LPPOINT = POINT*;

class CSize : public SIZE {
public:
  CSize() : SIZE{0, 0} {}
  CSize(int x, int y) : SIZE{x, y} {}
  CSize(SIZE s) : SIZE(s) {}
  bool operator==(const SIZE& o) const { return cx == o.cx && cy == o.cy; }
  bool operator!=(const SIZE& o) const { return !(*this == o); }
};

class CPoint : public POINT {
public:
  CPoint() : POINT{0, 0} {}
  CPoint(int x_, int y_) : POINT{x_, y_} {}
  CPoint(POINT p) : POINT(p) {}
  // Unpacks a mouse message's LPARAM: signed x in the low word, signed y in the high word.
  explicit CPoint(LPARAM packed)
      : POINT{static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(packed))),
              static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(packed)))} {}
  void Offset(int dx, int dy) { x += dx; y += dy; }
  bool operator==(const POINT& o) const { return x == o.x && y == o.y; }
  bool operator!=(const POINT& o) const { return !(*this == o); }
  CPoint operator+(const SIZE& s) const { return CPoint(x + s.cx, y + s.cy); }
  CPoint operator-(const SIZE& s) const { return CPoint(x - s.cx, y - s.cy); }
  CSize operator-(const POINT& p) const { return CSize(x - p.x, y - p.y); }
};

class CRect : public RECT {
public:
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  CRect(const RECT& r) : RECT(r) {}
  CRect(const RECT* r) : RECT(r ? *r : RECT{0, 0, 0, 0}) {}
  CRect(POINT topLeft, SIZE size) : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
  CRect(POINT topLeft, POINT bottomRight) : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  // True when the rectangle has no area (right <= left or bottom <= top).
  bool IsRectEmpty() const { return right <= left || bottom <= top; }
  bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  // Left and top edges are inside, right and bottom edges are not.
  bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  void SetRectEmpty() { SetRect(0, 0, 0, 0); }
  void CopyRect(LPCRECT r) { *this = *r; }
  void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
  void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
  void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
  void InflateRect(int dx, int dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
  void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
  void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
  void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
  void NormalizeRect();
  // Intersection; an empty result is stored as all zeros, as the class library does.
  BOOL IntersectRect(LPCRECT a, LPCRECT b);
  BOOL UnionRect(LPCRECT a, LPCRECT b);
  bool EqualRect(LPCRECT r) const { return left == r->left && top == r->top && right == r->right && bottom == r->bottom; }
  bool operator==(const RECT& r) const { return EqualRect(&r); }
  bool operator!=(const RECT& r) const { return !EqualRect(&r); }
  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }
};

BOOL SetRect(LPRECT r, int l, int t, int rt, int b);
BOOL SetRectEmpty(LPRECT r);
BOOL IsRectEmpty(LPCRECT r);
BOOL PtInRect(LPCRECT r, POINT p);
BOOL OffsetRect(LPRECT r, int dx, int dy);
BOOL InflateRect(LPRECT r, int dx, int dy);
BOOL IntersectRect(LPRECT out, LPCRECT a, LPCRECT b);
BOOL UnionRect(LPRECT out, LPCRECT a, LPCRECT b);
BOOL EqualRect(LPCRECT a, LPCRECT b);
BOOL CopyRect(LPRECT out, LPCRECT in);
