#include "platform/geometry.h"

#include <algorithm>

void CRect::NormalizeRect() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

BOOL CRect::IntersectRect(LPCRECT a, LPCRECT b) { return ::IntersectRect(this, a, b); }
BOOL CRect::UnionRect(LPCRECT a, LPCRECT b) { return ::UnionRect(this, a, b); }

BOOL SetRect(LPRECT r, int l, int t, int rt, int b) {
  if (!r) return FALSE;
  *r = RECT{l, t, rt, b};
  return TRUE;
}
BOOL SetRectEmpty(LPRECT r) { return SetRect(r, 0, 0, 0, 0); }
BOOL IsRectEmpty(LPCRECT r) { return !r || r->right <= r->left || r->bottom <= r->top; }
BOOL PtInRect(LPCRECT r, POINT p) {
  return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}
BOOL OffsetRect(LPRECT r, int dx, int dy) {
  if (!r) return FALSE;
  r->left += dx; r->right += dx; r->top += dy; r->bottom += dy;
  return TRUE;
}
BOOL InflateRect(LPRECT r, int dx, int dy) {
  if (!r) return FALSE;
  r->left -= dx; r->right += dx; r->top -= dy; r->bottom += dy;
  return TRUE;
}
BOOL IntersectRect(LPRECT out, LPCRECT a, LPCRECT b) {
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&r)) {
    *out = RECT{0, 0, 0, 0};
    return FALSE;
  }
  *out = r;
  return TRUE;
}
BOOL UnionRect(LPRECT out, LPCRECT a, LPCRECT b) {
  if (IsRectEmpty(a)) { *out = *b; return !IsRectEmpty(b); }
  if (IsRectEmpty(b)) { *out = *a; return TRUE; }
  *out = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
              std::max(a->bottom, b->bottom)};
  return TRUE;
}
BOOL EqualRect(LPCRECT a, LPCRECT b) {
  return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
BOOL CopyRect(LPRECT out, LPCRECT in) {
  if (!out || !in) return FALSE;
  *out = *in;
  return TRUE;
}
