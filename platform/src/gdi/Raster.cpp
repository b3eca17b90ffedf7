#include "Raster.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace platform::gdi {
namespace {

std::uint32_t* Scratch(int which, int n) {
  thread_local std::vector<std::uint32_t> buffers[3];
  std::vector<std::uint32_t>& b = buffers[which];
  if (static_cast<int>(b.size()) < n) b.resize(static_cast<std::size_t>(n));
  return b.data();
}

// Room for a blit's source columns, kept between blits: most blits are small and many.
int* ColumnScratch(std::size_t n) {
  thread_local std::vector<int> columns;
  if (columns.size() < n) columns.resize(n);
  return columns.data();
}

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

RECT OffsetOf(RECT r, POINT by) {
  OffsetRect(&r, by.x, by.y);
  return r;
}

}  // namespace

ClipArea::ClipArea(const RECT& box, std::optional<Region> region) : m_box(box), m_region(std::move(region)) {
  if (m_region) {
    RECT rb = m_region->Box();
    m_box = Intersect(m_box, rb);
  }
}

bool ClipArea::Contains(int x, int y) const {
  if (x < m_box.left || x >= m_box.right || y < m_box.top || y >= m_box.bottom) return false;
  return !m_region || m_region->Contains(x, y);
}

bool ClipArea::IsEmpty() const {
  return m_box.right <= m_box.left || m_box.bottom <= m_box.top || (m_region && m_region->IsEmpty());
}

ClipArea ClipOf(const DeviceContext& dc, const Target& t, const RECT* extra) {
  if (!t.surface) return ClipArea(RECT{0, 0, 0, 0}, std::nullopt);
  RECT box = Intersect(t.clip, RECT{0, 0, t.surface->width, t.surface->height});
  if (extra) box = Intersect(box, *extra);
  if (dc.paintRect) {
    RECT p = *dc.paintRect;
    OffsetRect(&p, t.origin.x, t.origin.y);
    box = Intersect(box, p);
  }
  std::optional<Region> rgn;
  if (dc.state.clip) {
    rgn = *dc.state.clip;
    rgn->Offset(t.origin.x, t.origin.y);
  }
  return ClipArea(box, std::move(rgn));
}

void Pattern::Row(int y, int x, int n, std::uint32_t* out) const {
  if (!tile || tile->width <= 0 || tile->height <= 0) {
    std::fill(out, out + n, solid);
    return;
  }
  int ty = ((y - origin.y) % tile->height + tile->height) % tile->height;
  const std::uint32_t* row = tile->Row(ty);
  int tx = ((x - origin.x) % tile->width + tile->width) % tile->width;
  for (int i = 0; i < n; ++i) {
    std::uint32_t v = row[tx];
    if (monoTile) v = v ? back : fore;
    out[i] = monoTarget ? ToMonoPixel(v) : v;
    if (++tx == tile->width) tx = 0;
  }
}

Pattern SolidPattern(const DeviceContext& dc, const Target& t, COLORREF c) {
  Pattern p;
  std::uint32_t px = dc.Pixel(c);
  p.solid = t.mono ? ToMonoPixel(px) : px;
  p.monoTarget = t.mono;
  return p;
}

Pattern BrushPattern(const DeviceContext& dc, const Target& t, const BrushData* brush) {
  if (!brush) brush = dc.state.brush.data.get();
  if (!brush) return SolidPattern(dc, t, RGB(255, 255, 255));
  if (brush->style != BS_PATTERN || !brush->pattern) return SolidPattern(dc, t, brush->color);
  Pattern p;
  p.tile = brush->pattern.get();
  p.monoTile = brush->monoPattern;
  p.fore = dc.Pixel(dc.state.textColor);
  p.back = dc.Pixel(dc.state.bkColor);
  p.origin = POINT{t.origin.x + dc.state.brushOrg.x, t.origin.y + dc.state.brushOrg.y};
  p.monoTarget = t.mono;
  return p;
}

std::uint8_t Rop2ToRop3(int rop2) {
  int table = std::clamp(rop2, R2_BLACK, R2_WHITE) - 1;  // bit (pen << 1 | dest)
  std::uint8_t code = 0;
  for (int i = 0; i < 8; ++i) {
    int pen = (i >> 2) & 1, dest = i & 1;
    if ((table >> ((pen << 1) | dest)) & 1) code = static_cast<std::uint8_t>(code | (1 << i));
  }
  return code;
}

bool RopUsesPattern(std::uint8_t c) { return ((c >> 4) & 0x0F) != (c & 0x0F); }
bool RopUsesSource(std::uint8_t c) { return ((c >> 2) & 0x33) != (c & 0x33); }

std::uint32_t ApplyRop(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  std::uint32_t r = 0;
  for (int i = 0; i < 8; ++i) {
    if (!((code >> i) & 1)) continue;
    r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return r & 0xFFFFFF;
}

void ApplyRopRow(std::uint8_t code, const std::uint32_t* p, const std::uint32_t* s, std::uint32_t* d, int n) {
  constexpr std::uint32_t M = 0xFFFFFF;
  switch (code) {
    case 0x00: std::fill(d, d + n, 0u); return;
    case 0xFF: std::fill(d, d + n, M); return;
    case 0xAA: return;
    case 0xCC: std::memcpy(d, s, static_cast<std::size_t>(n) * sizeof(std::uint32_t)); return;
    case 0xF0: std::memcpy(d, p, static_cast<std::size_t>(n) * sizeof(std::uint32_t)); return;
    case 0x33:
      for (int i = 0; i < n; ++i) d[i] = ~s[i] & M;
      return;
    case 0x88:
      for (int i = 0; i < n; ++i) d[i] &= s[i];
      return;
    case 0xEE:
      for (int i = 0; i < n; ++i) d[i] |= s[i];
      return;
    case 0x66:
      for (int i = 0; i < n; ++i) d[i] ^= s[i];
      return;
    case 0x44:
      for (int i = 0; i < n; ++i) d[i] = s[i] & ~d[i] & M;
      return;
    case 0x55:
      for (int i = 0; i < n; ++i) d[i] = ~d[i] & M;
      return;
    case 0xBB:
      for (int i = 0; i < n; ++i) d[i] = (~s[i] | d[i]) & M;
      return;
    case 0x5A:
      for (int i = 0; i < n; ++i) d[i] ^= p[i];
      return;
    case 0x0F:
      for (int i = 0; i < n; ++i) d[i] = ~p[i] & M;
      return;
    case 0xC0:
      for (int i = 0; i < n; ++i) d[i] = p[i] & s[i];
      return;
    default: break;
  }
  for (int i = 0; i < n; ++i) d[i] = ApplyRop(code, p ? p[i] : 0, s ? s[i] : 0, d[i]);
}

TargetLock::TargetLock(DeviceContext& dc, Access access) : m_dc(dc), m_target(dc.CurrentTarget()) {
  if (m_dc.lockDepth++ == 0 && m_dc.type == DeviceContext::Type::Memory && m_dc.state.bitmap.data) {
    m_dc.state.bitmap.data->PullFromDib();
  }
  if (access == Access::Write) m_dc.drawnWhileLocked = true;
  m_notes = access == Access::Write && m_dc.type == DeviceContext::Type::Window && m_target.surface;
  if (m_notes) {
    // The clip's bounding box, worked out without copying the clip region.
    const Target& t = m_target;
    m_reach = Intersect(t.clip, RECT{0, 0, t.surface->width, t.surface->height});
    if (m_dc.paintRect) m_reach = Intersect(m_reach, OffsetOf(*m_dc.paintRect, t.origin));
    if (m_dc.state.clip) m_reach = Intersect(m_reach, OffsetOf(m_dc.state.clip->Box(), t.origin));
  }
}

void TargetLock::Changed(const RECT& surfaceArea) {
  m_reported = true;
  if (m_notes) m_target.surface->damage.Add(Intersect(surfaceArea, m_reach));
}

TargetLock::~TargetLock() {
  if (m_notes && !m_reported) m_target.surface->damage.Add(m_reach);
  if (--m_dc.lockDepth != 0) return;
  // A section only read from (a blit's source) keeps its bits: writing them back would copy the
  // whole picture for every tile taken from it.
  const bool drawn = m_dc.drawnWhileLocked;
  m_dc.drawnWhileLocked = false;
  if (drawn && m_dc.type == DeviceContext::Type::Memory && m_dc.state.bitmap.data) {
    m_dc.state.bitmap.data->PushToDib();
  }
}

namespace {

void PaintSpan(const Target& t, int y, int x0, int x1, const Pattern& pattern, std::uint8_t code) {
  if (!pattern.tile) {
    PaintSolidSpan(t, y, x0, x1, pattern.solid, code);
    return;
  }
  int n = x1 - x0;
  std::uint32_t* p = nullptr;
  if (RopUsesPattern(code)) {
    p = Scratch(0, n);
    pattern.Row(y, x0, n, p);
  }
  ApplyRopRow(code, p, nullptr, t.surface->Row(y) + x0, n);
}

}  // namespace

void PaintSolidSpan(const Target& t, int y, int x0, int x1, std::uint32_t color, std::uint8_t code) {
  std::uint32_t* d = t.surface->Row(y) + x0;
  int n = x1 - x0;
  if (code == RopIndex(PATCOPY)) {
    std::fill(d, d + n, color);
  } else if (n == 1) {
    *d = ApplyRop(code, color, 0, *d);
  } else {
    std::uint32_t* p = Scratch(0, n);
    std::fill(p, p + n, color);
    ApplyRopRow(code, p, nullptr, d, n);
  }
}

void PaintRegion(DeviceContext& dc, const Region& surfaceRegion, const Pattern& pattern, std::uint8_t code) {
  TargetLock lock(dc);
  if (!lock) return;
  const Target& t = lock.target();
  ClipArea clip = ClipOf(dc, t);
  for (int y = surfaceRegion.Top(); y < surfaceRegion.Bottom(); ++y) {
    for (const Span& s : surfaceRegion.Row(y)) {
      clip.ForEachSpan(RECT{s.x0, y, s.x1, y + 1},
                       [&](int yy, int x0, int x1) { PaintSpan(t, yy, x0, x1, pattern, code); });
    }
  }
}

void PaintRect(DeviceContext& dc, const RECT& deviceRect, const Pattern& pattern, std::uint8_t code) {
  TargetLock lock(dc);
  if (!lock) return;
  const Target& t = lock.target();
  RECT r = deviceRect;
  OffsetRect(&r, t.origin.x, t.origin.y);
  lock.Changed(r);
  ClipOf(dc, t).ForEachSpan(r, [&](int y, int x0, int x1) { PaintSpan(t, y, x0, x1, pattern, code); });
}

namespace {

// Source column (or row) of each destination column, -1 outside the source.
struct AxisMap {
  int dstStart{0};  // first destination pixel (surface)
  int dstLen{0};
  int srcStart{0};  // first source pixel of the normalised source range
  int srcLen{0};
  bool mirror{false};
  int limit{0};  // source extent
  int At(int i) const {
    int j = mirror ? dstLen - 1 - i : i;
    long long s =
        srcLen == dstLen ? srcStart + j : srcStart + (static_cast<long long>(2 * j + 1) * srcLen) / (2LL * dstLen);
    return (s < 0 || s >= limit) ? -1 : static_cast<int>(s);
  }
};

// Copies a row onto a window's surface and returns the columns that differed (first == last:
// none): a picture drawn again whole after a stone was placed changes the stone's square, and
// only that need reach the screen. The part runs from the first differing piece to the last.
std::pair<int, int> CopyChangedPart(const std::uint32_t* s, std::uint32_t* d, int n) {
  constexpr int kPiece = 16;
  const auto same = [&](int from, int to) {
    return std::memcmp(s + from, d + from, static_cast<std::size_t>(to - from) * sizeof *s) == 0;
  };
  int first = 0;
  while (first < n && same(first, std::min(first + kPiece, n))) first += kPiece;
  if (first >= n) return {0, 0};
  int last = n;
  while (last - kPiece > first && same(last - kPiece, last)) last -= kPiece;
  std::memcpy(d + first, s + first, static_cast<std::size_t>(last - first) * sizeof *s);
  return {first, last};
}

// Gathers the changed parts of successive rows into rectangles, noting each on the lock once it
// ends, so a blit notes a few areas rather than a row at a time.
class ChangedRows {
public:
  explicit ChangedRows(TargetLock& lock) : m_lock(lock) {}
  ~ChangedRows() { Flush(); }
  void Add(int y, int x0, int x1) {
    if (x0 >= x1) return;
    // The row below the run, or the run's own last row (a clip region may split a row).
    const bool below = m_run.bottom == y || m_run.bottom == y + 1;
    const bool continues = below && x0 <= m_run.right + Damage::kNear && x1 + Damage::kNear >= m_run.left;
    if (!continues) {
      Flush();
      m_run = RECT{x0, y, x1, y + 1};
      return;
    }
    m_run = RECT{std::min<LONG>(m_run.left, x0), m_run.top, std::max<LONG>(m_run.right, x1), y + 1};
  }

private:
  void Flush() {
    if (m_run.left < m_run.right) m_lock.Changed(m_run);
    m_run = RECT{0, 0, 0, 0};
  }
  TargetLock& m_lock;
  RECT m_run{0, 0, 0, 0};
};

// How a blit's source pixels become the destination's: as they are, monochrome bits as the
// context's colours, or colours as monochrome (the source's background white, all else black).
struct SourceConversion {
  enum class Kind { None, MonoToColour, ColourToMono };
  Kind kind{Kind::None};
  std::uint32_t fore{0};     // colour of a 0 bit
  std::uint32_t back{0};     // colour of a 1 bit
  std::uint32_t srcBack{0};  // the source's background colour
};

// out[i] = convert(source[i]), or convert(srow[columns[i]]) without source.
template <class Convert>
void ConvertRow(const std::uint32_t* source, const std::uint32_t* srow, const int* columns, int n, Convert convert,
                std::uint32_t* out) {
  if (source) {
    for (int i = 0; i < n; ++i) out[i] = convert(source[i]);
  } else {
    for (int i = 0; i < n; ++i) out[i] = convert(srow[columns[i]]);
  }
}

// out[i] = the converted pixel of source pixel i: source[i] for a straight row, srow[columns[i]]
// when a blit stretches or mirrors (source null). The values come by copy and each kind has a
// loop of its own: the stores into out cannot be taken for changes to them.
void GatherSource(const std::uint32_t* source, const std::uint32_t* srow, const int* columns, int n,
                  SourceConversion c, std::uint32_t* out) {
  const std::uint32_t fore = c.fore, back = c.back, srcBack = c.srcBack;
  switch (c.kind) {
    case SourceConversion::Kind::None:
      return ConvertRow(source, srow, columns, n, [](std::uint32_t v) { return v; }, out);
    case SourceConversion::Kind::MonoToColour:
      return ConvertRow(source, srow, columns, n, [=](std::uint32_t v) { return v ? back : fore; }, out);
    case SourceConversion::Kind::ColourToMono:
      return ConvertRow(
          source, srow, columns, n, [=](std::uint32_t v) { return (v & 0xFFFFFF) == srcBack ? 0xFFFFFFu : 0u; }, out);
  }
}

AxisMap MakeAxis(int d, int dl, int s, int sl, int limit) {
  AxisMap a;
  bool dNeg = dl < 0, sNeg = sl < 0;
  a.dstStart = dNeg ? d + dl + 1 : d;
  a.dstLen = dNeg ? -dl : dl;
  a.srcStart = sNeg ? s + sl + 1 : s;
  a.srcLen = sNeg ? -sl : sl;
  a.mirror = dNeg != sNeg;
  a.limit = limit;
  return a;
}

}  // namespace

void Blit(DeviceContext& dc, int dx, int dy, int dw, int dh, const SourceImage& src, int sx, int sy, int sw, int sh,
          std::uint8_t code) {
  if (dw == 0 || dh == 0) return;
  bool useSource = RopUsesSource(code);
  if (useSource && (!src.surface || sw == 0 || sh == 0)) return;
  TargetLock lock(dc);
  if (!lock) return;
  const Target& t = lock.target();
  // Copying within one surface reads from a snapshot, so overlapping areas come out whole.
  SourceImage source = src;
  Surface snapshot;
  if (useSource && src.surface == t.surface) {
    snapshot = *src.surface;
    source.surface = &snapshot;
  }
  int limitX = useSource ? source.surface->width : 0, limitY = useSource ? source.surface->height : 0;
  // Without a source the axes map onto themselves and never run out.
  AxisMap ax =
      useSource ? MakeAxis(dx + t.origin.x, dw, sx, sw, limitX) : MakeAxis(dx + t.origin.x, dw, 0, dw, 1 << 30);
  AxisMap ay =
      useSource ? MakeAxis(dy + t.origin.y, dh, sy, sh, limitY) : MakeAxis(dy + t.origin.y, dh, 0, dh, 1 << 30);
  SourceConversion conversion;
  conversion.kind = !useSource || src.mono == t.mono ? SourceConversion::Kind::None
                    : src.mono                       ? SourceConversion::Kind::MonoToColour
                                                     : SourceConversion::Kind::ColourToMono;
  conversion.fore = dc.Pixel(dc.state.textColor);
  conversion.back = dc.Pixel(dc.state.bkColor);
  conversion.srcBack = src.background & 0xFFFFFF;
  const bool usePattern = RopUsesPattern(code);
  Pattern pattern = BrushPattern(dc, t);
  bool identity = ax.srcLen == ax.dstLen && ay.srcLen == ay.dstLen && !ax.mirror && !ay.mirror;
  const bool direct = identity && conversion.kind == SourceConversion::Kind::None;
  RECT dstRect{ax.dstStart, ay.dstStart, ax.dstStart + ax.dstLen, ay.dstStart + ay.dstLen};
  ClipArea clip = ClipOf(dc, t);
  // Source column of every destination column that can be touched, worked out once.
  RECT reach = Intersect(dstRect, clip.Box());
  const std::size_t reachWidth = static_cast<std::size_t>(std::max<LONG>(reach.right - reach.left, 0));
  int* const columns = ColumnScratch(reachWidth);
  for (std::size_t i = 0; i < reachWidth; ++i) columns[i] = ax.At(reach.left + static_cast<int>(i) - ax.dstStart);
  const auto column = [columns, base = reach.left](int x) { return columns + (x - base); };
  // A plain copy onto a window's surface notes only the parts that differ (found as it copies);
  // anything else notes all it can reach.
  const bool findChanges = code == RopIndex(SRCCOPY) && useSource && lock.NotesChanges();
  lock.Changed(findChanges ? RECT{0, 0, 0, 0} : reach);
  ChangedRows changed(lock);
  clip.ForEachSpan(dstRect, [&](int y, int x0, int x1) {
    int srcY = ay.At(y - ay.dstStart);
    if (srcY < 0) return;
    // Only the columns whose source pixel exists are touched.
    while (x0 < x1 && *column(x0) < 0) ++x0;
    while (x1 > x0 && *column(x1 - 1) < 0) --x1;
    int n = x1 - x0;
    if (n <= 0) return;
    std::uint32_t* d = t.surface->Row(y) + x0;
    const std::uint32_t* s = nullptr;
    if (useSource) {
      const std::uint32_t* srow = source.surface->Row(srcY);
      if (direct) {
        s = srow + *column(x0);
      } else {
        std::uint32_t* buf = Scratch(1, n);
        GatherSource(identity ? srow + *column(x0) : nullptr, srow, column(x0), n, conversion, buf);
        s = buf;
      }
    }
    if (findChanges) {
      const auto [first, last] = CopyChangedPart(s, d, n);
      changed.Add(y, x0 + first, x0 + last);
      return;
    }
    std::uint32_t* p = nullptr;
    if (usePattern) {
      p = Scratch(2, n);
      pattern.Row(y, x0, n, p);
    }
    ApplyRopRow(code, p, s, d, n);
  });
}

}  // namespace platform::gdi
