#include "control/BoardPainter.h"

#include <algorithm>
#include <cstdio>

#include "control/BoardPictures.h"
#include "control/StolvexBoard.h"
#include "control/StolvexIds.h"
#include "platform/gdi.h"

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kStarLines[3] = {3, 9, 15};

bool Intersect(const RECT& a, const RECT& b, RECT& out) {
  out = RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return out.left < out.right && out.top < out.bottom;
}

// True when pixel (x, y) lies inside the ellipse inscribed in r.
bool InEllipse(const RECT& r, int x, int y) {
  const double a = (r.right - r.left) / 2.0;
  const double b = (r.bottom - r.top) / 2.0;
  if (a <= 0 || b <= 0)
    return false;
  const double dx = (x + 0.5 - (r.left + a)) / a;
  const double dy = (y + 0.5 - (r.top + b)) / b;
  return dx * dx + dy * dy <= 1.0;
}

}  // namespace

// What one paint reads once from the model instead of once per point.
struct CBoardPainter::Frame {
  std::vector<const CStoneInfo*> firstRecord = std::vector<const CStoneInfo*>(POINT_COUNT, nullptr);
  int markPoint{NO_POINT};  // point of the last-move mark
  long numberLimit{0};      // move numbers of records beyond it are not shown
  LONG mode{0};
  bool rotated{false};
};

void CBoardPainter::LoadPictures() {
  m_pictures.clear();
  m_scaled.clear();
  std::vector<unsigned> ids{IDB_BOARD,           IDB_STAR_POINT,   IDB_TERRITORY,        IDB_DEAD_ON_BLACK,
                            IDB_DEAD_ON_WHITE,   IDB_LAST_MOVE_SMALL, IDB_LAST_MOVE_MEDIUM, IDB_LAST_MOVE_LARGE,
                            IDB_RESULT_BLACK,    IDB_RESULT_NEUTRAL, IDB_RESULT_WHITE,     IDB_RESULT_MASK};
  for (int w = 0; w <= 48; ++w) {
    const StoneImageIds stones = StoneImagesForWidth(w);
    ids.push_back(stones.black);
    ids.push_back(stones.white);
  }
  for (unsigned id : ids) {
    if (m_pictures.count(id))
      continue;
    CBitmap bitmap;
    BITMAP info{};
    if (!bitmap.LoadBitmap(id) || !bitmap.GetBitmap(&info) || info.bmWidth <= 0 || info.bmHeight <= 0)
      continue;
    platform::Surface picture(info.bmWidth, info.bmHeight);
    const DWORD bytes = static_cast<DWORD>(picture.pixels.size() * 4);
    if (info.bmBitsPixel != 32 || bitmap.GetBitmapBits(bytes, picture.pixels.data()) != bytes)
      continue;
    for (std::uint32_t& p : picture.pixels)
      p &= 0xFFFFFF;
    m_pictures.emplace(id, std::move(picture));
  }
}

const platform::Surface* CBoardPainter::Picture(unsigned id) const {
  auto it = m_pictures.find(id);
  return it == m_pictures.end() ? nullptr : &it->second;
}

const platform::Surface& CBoardPainter::Scaled(unsigned id, int w, int h) {
  static const platform::Surface kNone;
  const platform::Surface* source = Picture(id);
  if (!source || w <= 0 || h <= 0)
    return kNone;
  if (source->width == w && source->height == h)
    return *source;
  const auto key = std::make_pair(id, (static_cast<std::uint64_t>(w) << 32) | static_cast<std::uint32_t>(h));
  auto it = m_scaled.find(key);
  if (it != m_scaled.end())
    return it->second;
  // Pictures of earlier control sizes go: a control resized many times keeps only a few.
  if (m_scaled.size() >= 64)
    m_scaled.clear();
  platform::Surface scaled(w, h);
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* from = source->Row(y * source->height / h);
    for (int x = 0; x < w; ++x)
      scaled.Row(y)[x] = from[x * source->width / w];
  }
  return m_scaled.emplace(key, std::move(scaled)).first->second;
}

// ---- blits ---------------------------------------------------------------------------------------

void CBoardPainter::BlitKeyed(const PixelView& view, const platform::Surface& picture, int x, int y,
                              std::uint32_t key, const RECT* clipEllipse) {
  const int x0 = std::max(0, -x), y0 = std::max(0, -y);
  const int x1 = std::min(picture.width, view.width - x), y1 = std::min(picture.height, view.height - y);
  for (int py = y0; py < y1; ++py) {
    const std::uint32_t* from = picture.Row(py);
    std::uint32_t* to = view.pixels + static_cast<std::size_t>(y + py) * view.stride + x;
    if (!clipEllipse) {
      // A choice per pixel rather than a branch: the loop runs several pixels a step.
      for (int px = x0; px < x1; ++px)
        to[px] = from[px] != key ? from[px] : to[px];
      continue;
    }
    for (int px = x0; px < x1; ++px) {
      if (from[px] != key && InEllipse(*clipEllipse, x + px, y + py))
        to[px] = from[px];
    }
  }
}

void CBoardPainter::BlitMasked(const PixelView& view, const platform::Surface& picture, const platform::Surface& mask,
                               int x, int y, const RECT* clipEllipse) {
  const int x0 = std::max(0, -x), y0 = std::max(0, -y);
  const int x1 = std::min({picture.width, mask.width, view.width - x});
  const int y1 = std::min({picture.height, mask.height, view.height - y});
  for (int py = y0; py < y1; ++py) {
    std::uint32_t* to = view.pixels + static_cast<std::size_t>(y + py) * view.stride + x;
    for (int px = x0; px < x1; ++px) {
      if (mask.Row(py)[px] == kBlack && (!clipEllipse || InEllipse(*clipEllipse, x + px, y + py)))
        to[px] = picture.Row(py)[px];
    }
  }
}

void CBoardPainter::BlitInEllipse(const PixelView& view, const platform::Surface& picture, int x, int y,
                                  const RECT& clipEllipse) {
  BlitKeyed(view, picture, x, y, kStoneKey, &clipEllipse);
}

void CBoardPainter::BlitCentred(const PixelView& view, unsigned id, const RECT& r, std::uint32_t key, int dx) {
  const platform::Surface* picture = Picture(id);
  if (!picture)
    return;
  const int x = r.left + (r.right - r.left - picture->width) / 2 + dx;
  const int y = r.top + (r.bottom - r.top - picture->height) / 2;
  BlitKeyed(view, *picture, x, y, key);
}

// ---- the board -----------------------------------------------------------------------------------

void CBoardPainter::PrepareFrame(Frame& frame, CStolvexBoard& board) const {
  const CStoneList& list = board.StoneList();
  const long count = list.Count();
  for (long k = 1; k <= count; ++k) {
    const CStoneInfo* record = list.At(k);
    if (record && IsBoardPoint(record->SelfPos()) && !frame.firstRecord[record->SelfPos()])
      frame.firstRecord[record->SelfPos()] = record;
  }
  frame.mode = board.GetGameMode();
  frame.rotated = board.GetRotate() == 1;
  frame.numberLimit = count - board.GetMovedBackCount();
  if (board.GetLogicalPos() > 0) {
    long k = board.GetLogicalPos();
    if (frame.mode & REPLAY)
      k += board.GetMovedBackCount();
    if (const CStoneInfo* current = list.At(k))
      frame.markPoint = current->IsPass() ? board.GetPassMarkPoint() : current->SelfPos();
  }
}

void CBoardPainter::DrawBackground(const PixelView& view, const RECT& area, const platform::Surface* texture) const {
  const platform::Surface* wood = texture && texture->width > 0 && texture->height > 0 ? texture : Picture(IDB_BOARD);
  for (int y = area.top; y < area.bottom; ++y) {
    std::uint32_t* row = view.pixels + static_cast<std::size_t>(y) * view.stride;
    if (!wood) {
      std::fill(row + area.left, row + area.right, 0xDEB26E);
      continue;
    }
    const std::uint32_t* tile = wood->Row(y % wood->height);
    for (int x = area.left; x < area.right;) {
      const int tx = x % wood->width;
      const int run = std::min(wood->width - tx, static_cast<int>(area.right - x));
      std::copy(tile + tx, tile + tx + run, row + x);
      x += run;
    }
  }
}

void CBoardPainter::DrawGrid(const PixelView& view, const CBoardGeometry& geometry, const RECT& area) const {
  const POINT first = geometry.Centre(0);
  const POINT last = geometry.Centre(POINT_COUNT - 1);
  for (int line = 0; line < BOARD_LINES; ++line) {
    // Row line, inclusive of both end points.
    const int y = geometry.Centre(line * BOARD_LINES).y;
    if (y >= area.top && y < area.bottom) {
      std::uint32_t* row = view.pixels + static_cast<std::size_t>(y) * view.stride;
      std::fill(row + std::max<int>(first.x, area.left), row + std::min<int>(last.x + 1, area.right), kBlack);
    }
    const int x = geometry.Centre(line).x;
    if (x >= area.left && x < area.right) {
      for (int py = std::max<int>(first.y, area.top); py < std::min<int>(last.y + 1, area.bottom); ++py)
        view.pixels[static_cast<std::size_t>(py) * view.stride + x] = kBlack;
    }
  }
}

void CBoardPainter::DrawStarPoints(const PixelView& view, const CBoardGeometry& geometry, const RECT& area) const {
  const platform::Surface* star = Picture(IDB_STAR_POINT);
  if (!star || geometry.PitchX() / 2 <= 3)
    return;
  for (int row : kStarLines) {
    for (int col : kStarLines) {
      const POINT c = geometry.Centre(row * BOARD_LINES + col);
      RECT r{c.x - 3, c.y - 3, c.x - 3 + star->width, c.y - 3 + star->height}, clipped;
      if (Intersect(r, area, clipped))
        BlitKeyed(view, *star, r.left, r.top, kStoneKey);
    }
  }
}

void CBoardPainter::DrawLabels(CDC& dc, const CBoardGeometry& geometry, bool rotated,
                               const PaintOptions& options) const {
  if (!geometry.Labels())
    return;
  CFont* old = options.labelFont ? dc.SelectObject(options.labelFont) : nullptr;
  dc.SetTextColor(RGB(0, 0, 0));
  dc.SetBkMode(TRANSPARENT);
  const int px = geometry.PitchX(), py = geometry.PitchY();
  for (int line = 0; line < BOARD_LINES; ++line) {
    const int number = rotated ? BOARD_LINES - line : line + 1;
    char text[4];
    std::snprintf(text, sizeof text, "%d", number);
    const int y = geometry.Centre(line * BOARD_LINES).y;
    dc.TextOut(19 * px + geometry.OffsetX() + (number < 10 ? 10 : 7), y - 4, text, number < 10 ? 1 : 2);
    const char letter = "ABCDEFGHIJKLMNOPQRS"[rotated ? BOARD_LINES - 1 - line : line];
    dc.TextOut(geometry.Centre(line).x - 4, 19 * py + geometry.OffsetY() + 10, &letter, 1);
  }
  if (old)
    dc.SelectObject(old);
}

void CBoardPainter::PaintBoard(const PixelView& view, CStolvexBoard& board, const CBoardGeometry& geometry,
                               const PaintOptions& options) {
  Frame frame;
  PrepareFrame(frame, board);
  m_numbers.clear();
  m_labelsDue = true;
  m_rotated = frame.rotated;
  const RECT all{0, 0, view.width, view.height};
  DrawBackground(view, all, options.texture);
  DrawGrid(view, geometry, all);
  if (options.starPoints)
    DrawStarPoints(view, geometry, all);
  for (int i = 0; i < POINT_COUNT; ++i)
    DrawPoint(view, board, geometry, options, frame, i);
}

void CBoardPainter::PaintPoint(const PixelView& view, CStolvexBoard& board, const CBoardGeometry& geometry,
                               const PaintOptions& options, int index) {
  m_numbers.clear();
  m_labelsDue = false;
  if (!IsBoardPoint(index))
    return;
  Frame frame;
  PrepareFrame(frame, board);
  const RECT& region = geometry.Region(frame.rotated ? RotateIndex(index) : index);
  RECT area;
  if (!Intersect(region, RECT{0, 0, view.width, view.height}, area))
    return;
  DrawBackground(view, area, options.texture);
  DrawGrid(view, geometry, area);
  if (options.starPoints)
    DrawStarPoints(view, geometry, area);
  DrawPoint(view, board, geometry, options, frame, index);
}

void CBoardPainter::DrawTexts(CDC& dc, const CBoardGeometry& geometry, const PaintOptions& options) {
  if (m_labelsDue)
    DrawLabels(dc, geometry, m_rotated, options);
  if (m_numbers.empty())
    return;
  CFont* old = options.numberFont ? dc.SelectObject(options.numberFont) : nullptr;
  dc.SetBkMode(TRANSPARENT);
  for (Number& n : m_numbers) {
    char text[8];
    const int length = std::snprintf(text, sizeof text, "%d", n.value);
    dc.SetTextColor(n.onWhite ? RGB(0, 0, 0) : RGB(255, 255, 255));
    dc.DrawText(text, length, &n.box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  if (old)
    dc.SelectObject(old);
}

void CBoardPainter::DrawPoint(const PixelView& view, CStolvexBoard& board, const CBoardGeometry& geometry,
                              const PaintOptions& options, const Frame& frame, int index) {
  constexpr int kDrawn = BLACK | WHITE | REDRAW | INVALID | DIE | CHECKED | SELF | PLAY;
  const RECT& r = geometry.Region(frame.rotated ? RotateIndex(index) : index);
  const int cell = board.GetCell(index);
  const bool result = frame.mode & RESULT;
  if (!(cell & kDrawn)) {
    if (result)
      DrawResultMark(view, board, index, r);
    return;
  }
  DrawStones(view, board, options, frame, index, r);
  if (!result)
    return;
  const int value = board.GetResultAt(index);
  if (((cell & BLACK) && (value & WHITE)) || ((cell & WHITE) && (value & BLACK)) || (cell & INVALID) ||
      (cell & PLAY))
    DrawResultMark(view, board, index, r);
}

void CBoardPainter::DrawStones(const PixelView& view, CStolvexBoard& board, const PaintOptions& options,
                               const Frame& frame, int index, const RECT& r) {
  int cell = board.GetCell(index);
  const bool plainStone = cell == BLACK || cell == WHITE;
  if (!plainStone && (cell & (CHECKED | SELF | PLAY))) {
    BlitCentred(view, IDB_TERRITORY, r, kBlack);
    return;
  }
  if (cell & (REDRAW | INVALID)) {
    board.OnPointPainted(index);
    cell = board.GetCell(index);
  }
  if (!(cell & (BLACK | WHITE)))
    return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  const StoneImageIds ids = StoneImagesForWidth(w);
  const bool black = cell & BLACK;
  BlitKeyed(view, Scaled(black ? ids.black : ids.white, w, h), r.left, r.top, kStoneKey);
  const CStoneInfo* record = frame.firstRecord[index];
  if ((frame.mode & CHECK_STONE) && record && (record->State() & DIE))
    BlitCentred(view, black ? IDB_DEAD_ON_BLACK : IDB_DEAD_ON_WHITE, r, black ? kBlack : kWhite);
  if (index == frame.markPoint && options.lastMoveMark)
    DrawLastMoveMark(view, cell, r);
  if ((frame.mode & SEQ) && record && board.GetSequence(index) > 0 && record->Sequence() <= frame.numberLimit)
    m_numbers.push_back({board.GetSequence(index), !black, r});
}

void CBoardPainter::DrawLastMoveMark(const PixelView& view, int cell, const RECT& r) {
  if (cell != BLACK && cell != WHITE)
    return;
  const int w = r.right - r.left;
  const unsigned id = w < 20 ? IDB_LAST_MOVE_SMALL : w < 36 ? IDB_LAST_MOVE_MEDIUM : IDB_LAST_MOVE_LARGE;
  BlitCentred(view, id, r, kLastMoveKey, cell == BLACK ? -1 : 0);
}

void CBoardPainter::DrawResultMark(const PixelView& view, const CStolvexBoard& board, int index, const RECT& r) {
  const int value = board.GetResultAt(index);
  const int cell = board.GetCell(index);
  const auto centred = [&](const platform::Surface& p) {
    return POINT{r.left + (r.right - r.left - p.width) / 2, r.top + (r.bottom - r.top - p.height) / 2};
  };
  const platform::Surface* mask = Picture(IDB_RESULT_MASK);
  // Each bit of the entry draws its own mark, all inside the ellipse of the point.
  if (value & BLACK) {
    if (const platform::Surface* p = Picture(IDB_RESULT_BLACK))
      BlitInEllipse(view, *p, centred(*p).x, centred(*p).y, r);
  }
  if ((value & NONE) && !(cell & (NONE | BLACK | WHITE))) {
    if (const platform::Surface* p = Picture(IDB_RESULT_NEUTRAL); p && mask)
      BlitMasked(view, *p, *mask, centred(*p).x, centred(*p).y, &r);
  }
  if (value & WHITE) {
    if (const platform::Surface* p = Picture(IDB_RESULT_WHITE); p && mask)
      BlitMasked(view, *p, *mask, centred(*p).x, centred(*p).y, &r);
  }
  if ((value & NONE) && (cell & (NONE | BLACK | WHITE))) {
    if (const platform::Surface* p = Picture(IDB_TERRITORY))
      BlitKeyed(view, *p, centred(*p).x, centred(*p).y, kBlack, &r);
  }
}
