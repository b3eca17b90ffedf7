#include "orvanta/resources/ReviewButtonImages.h"

#include <functional>
#include <vector>

#include <platform/gdi.h>

#include "orvanta/resources/OrvantaBitmaps.h"

namespace {

using Glyph = std::function<void(CDC& dc, const CRect& face, COLORREF ink)>;

// A solid polygon of points relative to the face's centre.
void Shape(CDC& dc, const CRect& face, COLORREF ink, std::vector<POINT> points) {
  const CPoint centre = face.CenterPoint();
  for (POINT& p : points) {
    p.x += centre.x;
    p.y += centre.y;
  }
  CBrush brush(ink);
  CPen pen(PS_SOLID, 1, ink);
  CBrush* oldBrush = dc.SelectObject(&brush);
  CPen* oldPen = dc.SelectObject(&pen);
  dc.Polygon(points.data(), static_cast<int>(points.size()));
  dc.SelectObject(oldPen);
  dc.SelectObject(oldBrush);
}

// A triangle pointing left (dx -1) or right (1) whose tip is at x from the centre.
void Arrow(CDC& dc, const CRect& face, COLORREF ink, int x, int dx) {
  Shape(dc, face, ink, {{x, 0}, {x - 6 * dx, -5}, {x - 6 * dx, 5}});
}

// A bar 2 pixels wide from x, as high as the arrows.
void Bar(CDC& dc, const CRect& face, COLORREF ink, int x) {
  const CPoint centre = face.CenterPoint();
  dc.FillSolidRect(centre.x + x, centre.y - 5, 2, 11, ink);
}

// An empty circle 15 pixels across round c.
void Ring(CDC& dc, CPoint c, COLORREF ink) {
  CPen pen(PS_SOLID, 1, ink);
  CPen* oldPen = dc.SelectObject(&pen);
  HGDIOBJ oldBrush = ::SelectObject(dc.GetSafeHdc(), ::GetStockObject(NULL_BRUSH));
  dc.Ellipse(c.x - 7, c.y - 7, c.x + 8, c.y + 8);
  ::SelectObject(dc.GetSafeHdc(), oldBrush);
  dc.SelectObject(oldPen);
}

// A ring with an arrow head at its top: back to the newest position.
void Refresh(CDC& dc, const CRect& face, COLORREF ink) {
  const CPoint c = face.CenterPoint();
  Ring(dc, c, ink);
  Shape(dc, face, ink, {{1, -7}, {6, -11}, {6, -3}});
}

Glyph Caption(const char* utf8) {
  return [utf8](CDC& dc, const CRect& face, COLORREF ink) { DrawButtonCaption(dc, face, utf8, ink); };
}

// A ring with a play triangle (auto replay stopped) or two bars (running) inside.
Glyph Replay(bool running) {
  return [running](CDC& dc, const CRect& face, COLORREF ink) {
    const CPoint c = face.CenterPoint();
    Ring(dc, c, ink);
    if (running) {
      dc.FillSolidRect(c.x - 3, c.y - 3, 2, 7, ink);
      dc.FillSolidRect(c.x + 2, c.y - 3, 2, 7, ink);
    } else {
      Shape(dc, face, ink, {{4, 0}, {-2, -4}, {-2, 4}});
    }
  };
}

// "1 2 3" in ink on the face (numbers hidden) or light on an ink field (numbers shown).
Glyph Numbers(bool shown) {
  return [shown](CDC& dc, const CRect& face, COLORREF ink) {
    if (!shown) {
      DrawButtonCaption(dc, face, "1 2 3", ink);
      return;
    }
    CRect field = face;
    field.DeflateRect(3, 2);
    dc.FillSolidRect(&field, ink);
    DrawButtonCaption(dc, face, "1 2 3", RGB(0xFF, 0xFF, 0xFF));
  };
}

struct Picture {
  UINT id;
  Glyph glyph;
};

}  // namespace

void RegisterReviewButtonImages(platform::ResourceModule& module) {
  using namespace review_image;
  const Picture pictures[] = {
      {kFirst, [](CDC& dc, const CRect& f, COLORREF ink) { Bar(dc, f, ink, -7); Arrow(dc, f, ink, -5, -1); Arrow(dc, f, ink, 2, -1); }},
      {kPrevious, [](CDC& dc, const CRect& f, COLORREF ink) { Arrow(dc, f, ink, -3, -1); }},
      {kNext, [](CDC& dc, const CRect& f, COLORREF ink) { Arrow(dc, f, ink, 3, 1); }},
      {kLast, [](CDC& dc, const CRect& f, COLORREF ink) { Arrow(dc, f, ink, -2, 1); Arrow(dc, f, ink, 5, 1); Bar(dc, f, ink, 6); }},
      {kGoto, [](CDC& dc, const CRect& f, COLORREF ink) {
         DrawButtonCaption(dc, CRect(f.left, f.top, f.CenterPoint().x + 4, f.bottom), "N", ink);
         Arrow(dc, f, ink, 10, 1);
       }},
      {kAutoReplay, Replay(false)},
      {kAutoReplayRunning, Replay(true)},
      {kNumbersOff, Numbers(false)},
      {kNumbersOn, Numbers(true)},
      {kPrint, Caption("인쇄")},
      {kSave, Caption("저장")},
      {kClose, Caption("종료")},
      {kRefresh, Refresh},
      {kControl, Caption("제어권")},
      {kEndReview, Caption("복기끝")},
  };
  for (const Picture& picture : pictures)
    AddButtonStrip(module, picture.id, kReviewButtonImageWidth, kReviewButtonImageHeight, picture.glyph);
}
