// Text output and measurement: TextOut, ExtTextOut, DrawText, extents and metrics.
#include <cmath>
#include <cstring>

#include "DeviceContext.h"
#include "FontEngine.h"
#include "Raster.h"
#include "Shapes.h"
#include "platform/gdi.h"

using namespace platform::gdi;

namespace {

std::shared_ptr<DeviceContext> Ctx(HDC h) { return FindDC(h); }

FontInstance& CurrentFont(const DeviceContext& dc) {
  LOGFONT lf{};
  if (dc.state.font.data) lf = dc.state.font.data->logFont;
  int h = dc.HeightToDevice(lf.lfHeight);
  if (lf.lfHeight < 0) h = -h;
  return FontEngine::Instance().Get(lf, h, dc.WidthToDevice(lf.lfWidth));
}

// Advance of one character along the baseline, 26.6 pixels.
long AdvanceOf(FontInstance& font, char32_t ch) { return font.GlyphOf(ch).advance; }

int MeasureDevice(FontInstance& font, const std::u32string& text) {
  long sum = 0;
  for (char32_t ch : text) sum += AdvanceOf(font, ch);
  return static_cast<int>((sum + 32) / 64);
}

// Logical length of a device length along x or y.
int ToLogicalX(const DeviceContext& dc, int device) {
  return static_cast<int>(
      std::lround(std::abs(static_cast<double>(device) * dc.state.windowExt.cx / dc.state.viewportExt.cx)));
}
int ToLogicalY(const DeviceContext& dc, int device) {
  return static_cast<int>(
      std::lround(std::abs(static_cast<double>(device) * dc.state.windowExt.cy / dc.state.viewportExt.cy)));
}

void BlendGlyph(const Target& t, const ClipArea& clip, const Glyph& g, int x, int y, std::uint32_t color) {
  if (g.width == 0 || g.height == 0) return;
  clip.ForEachSpan(RECT{x, y, x + g.width, y + g.height}, [&](int sy, int x0, int x1) {
    const std::uint8_t* cov = g.coverage.data() + static_cast<std::size_t>(sy - y) * g.width - x;
    std::uint32_t* d = t.surface->Row(sy);
    for (int sx = x0; sx < x1; ++sx) {
      unsigned a = cov[sx];
      if (a == 0) continue;
      if (t.mono) {
        if (a >= 128) d[sx] = color;
        continue;
      }
      if (a == 255) {  // most of a glyph's pixels are fully covered
        d[sx] = color;
        continue;
      }
      std::uint32_t p = d[sx];
      auto mix = [a](unsigned dst, unsigned src) {
        return dst + ((static_cast<int>(src) - static_cast<int>(dst)) * static_cast<int>(a) + 127) / 255;
      };
      unsigned r = mix((p >> 16) & 0xFF, (color >> 16) & 0xFF);
      unsigned gr = mix((p >> 8) & 0xFF, (color >> 8) & 0xFF);
      unsigned b = mix(p & 0xFF, color & 0xFF);
      d[sx] = (r << 16) | (gr << 8) | b;
    }
  });
}

struct RunOptions {
  const RECT* clip{nullptr};                   // extra device clip
  int underlineIndex{-1};                      // character to underline (prefix)
  const std::vector<long>* advances{nullptr};  // 26.6 advances replacing the font's
  bool opaque{false};
};

// Draws text with its baseline starting at the device point (x, y).
void DrawRun(DeviceContext& dc, FontInstance& font, double x, double y, const std::u32string& text,
             const RunOptions& options) {
  TargetLock lock(dc);
  if (!lock) return;
  const Target& t = lock.target();
  RECT extra{};
  if (options.clip) {
    extra = *options.clip;
    OffsetRect(&extra, t.origin.x, t.origin.y);
  }
  ClipArea clip = ClipOf(dc, t, options.clip ? &extra : nullptr);
  const FontMetrics& m = font.Metrics();
  double angle = font.LogFont().lfEscapement / 10.0 * 3.14159265358979323846 / 180.0;
  double ux = std::cos(angle), uy = -std::sin(angle);
  int width = 0;
  {
    long sum = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      sum += options.advances ? (*options.advances)[i] : AdvanceOf(font, text[i]);
    }
    width = static_cast<int>((sum + 32) / 64);
  }
  double ox = x + t.origin.x, oy = y + t.origin.y;
  std::uint32_t color = dc.Pixel(dc.state.textColor);
  std::uint32_t back = dc.Pixel(dc.state.bkColor);
  if (t.mono) {
    color = ToMonoPixel(color);
    back = ToMonoPixel(back);
  }
  if (options.opaque && angle == 0.0) {
    RECT cell{static_cast<LONG>(std::lround(ox)), static_cast<LONG>(std::lround(oy)) - m.ascent,
              static_cast<LONG>(std::lround(ox)) + width, static_cast<LONG>(std::lround(oy)) + m.descent};
    clip.ForEachSpan(
        cell, [&](int sy, int x0, int x1) { std::fill(t.surface->Row(sy) + x0, t.surface->Row(sy) + x1, back); });
  }
  double penX = ox * 64.0, penY = oy * 64.0;
  double underlineStart = 0, underlineEnd = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Glyph& g = font.GlyphOf(text[i]);
    int gx = static_cast<int>(std::floor(penX / 64.0 + 0.5)) + g.left;
    int gy = static_cast<int>(std::floor(penY / 64.0 + 0.5)) - g.top;
    BlendGlyph(t, clip, g, gx, gy, color);
    double adv =
        options.advances ? static_cast<double>((*options.advances)[i]) : static_cast<double>(AdvanceOf(font, text[i]));
    if (static_cast<int>(i) == options.underlineIndex) {
      underlineStart = penX / 64.0;
      underlineEnd = (penX + adv * ux) / 64.0;
    }
    penX += adv * ux;
    penY += adv * uy;
  }
  const LOGFONT& lf = font.LogFont();
  auto rule = [&](double x0, double x1, int yOffset) {
    RECT r{static_cast<LONG>(std::lround(x0)), static_cast<LONG>(std::lround(oy)) + yOffset,
           static_cast<LONG>(std::lround(x1)), static_cast<LONG>(std::lround(oy)) + yOffset + m.lineThickness};
    clip.ForEachSpan(r,
                     [&](int sy, int a, int b) { std::fill(t.surface->Row(sy) + a, t.surface->Row(sy) + b, color); });
  };
  if (angle == 0.0) {
    if (lf.lfUnderline) rule(ox, ox + width, m.underlinePosition);
    if (lf.lfStrikeOut) rule(ox, ox + width, -m.ascent / 3);
    if (options.underlineIndex >= 0 && underlineEnd > underlineStart)
      rule(underlineStart, underlineEnd, m.underlinePosition);
  }
}

// Baseline start of a text of device width w at reference point (x, y) for an alignment.
void AlignedOrigin(const FontMetrics& m, UINT align, double angle, int w, POINT ref, double* x, double* y) {
  double along = 0, down = 0;
  if ((align & TA_CENTER) == TA_CENTER)
    along = -w / 2.0;
  else if (align & TA_RIGHT)
    along = -w;
  if ((align & TA_BASELINE) == TA_BASELINE)
    down = 0;
  else if (align & TA_BOTTOM)
    down = -m.descent;
  else
    down = m.ascent;
  double ux = std::cos(angle), uy = -std::sin(angle);
  double vx = std::sin(angle), vy = std::cos(angle);
  *x = ref.x + ux * along + vx * down;
  *y = ref.y + uy * along + vy * down;
}

BOOL TextOutImpl(HDC hdc, int x, int y, UINT options, LPCRECT rect, LPCSTR text, int count, const int* dx) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc || count < 0 || (count > 0 && !text)) return FALSE;
  if (rect && (options & ETO_OPAQUE)) FillSolid(*dc, dc->ToDevice(*rect), dc->state.bkColor);
  std::u32string u = DecodeText(text, count);
  FontInstance& font = CurrentFont(*dc);
  std::vector<long> advances;
  if (dx) {
    // One entry per byte: a double-byte character advances by the sum of its two entries.
    int i = 0;
    for (std::size_t c = 0; c < u.size() && i < count; ++c) {
      int bytes = (IsCp949LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < count) ? 2 : 1;
      long logical = 0;
      for (int k = 0; k < bytes; ++k) logical += dx[i + k];
      advances.push_back(static_cast<long>(dc->WidthToDevice(static_cast<int>(logical))) * 64);
      i += bytes;
    }
    advances.resize(u.size(), 0);
  }
  long sum = 0;
  for (std::size_t i = 0; i < u.size(); ++i) sum += dx ? advances[i] : AdvanceOf(font, u[i]);
  int width = static_cast<int>((sum + 32) / 64);
  UINT align = dc->state.textAlign;
  POINT refLogical = (align & TA_UPDATECP) ? dc->state.current : POINT{x, y};
  POINT ref = dc->ToDevice(refLogical);
  double angle = font.LogFont().lfEscapement / 10.0 * 3.14159265358979323846 / 180.0;
  double ox = 0, oy = 0;
  AlignedOrigin(font.Metrics(), align, angle, width, ref, &ox, &oy);
  RunOptions run;
  RECT clipDevice{};
  if (rect && (options & ETO_CLIPPED)) {
    clipDevice = dc->ToDevice(*rect);
    run.clip = &clipDevice;
  }
  run.advances = dx ? &advances : nullptr;
  run.opaque = dc->state.bkMode == OPAQUE;
  DrawRun(*dc, font, ox, oy, u, run);
  if (align & TA_UPDATECP) dc->state.current.x = dc->ToLogical(POINT{ref.x + width, ref.y}).x;
  return TRUE;
}

// ---- DrawText layout ----

struct TextLine {
  std::u32string text;
  int underline{-1};
  int width{0};
};

// Removes "&" prefixes; "&&" stands for "&". Returns the index of the underlined character.
int StripPrefix(std::u32string& s, bool keepUnderline) {
  std::u32string out;
  int underline = -1;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == U'&' && i + 1 < s.size()) {
      ++i;
      if (s[i] != U'&' && keepUnderline) underline = static_cast<int>(out.size());
    } else if (s[i] == U'&') {
      continue;
    }
    out.push_back(s[i]);
  }
  s.swap(out);
  return underline;
}

bool BreaksAfter(char32_t c) { return c == U' ' || c >= 0x1100; }
bool BreaksBefore(char32_t c) { return c >= 0x1100; }

// Splits one paragraph into lines no wider than width, breaking after blanks and around wide
// characters; a word wider than the line stays whole.
std::vector<std::u32string> Wrap(FontInstance& font, const std::u32string& para, int width) {
  std::vector<std::u32string> lines;
  std::u32string line;
  long lineWidth = 0;
  std::size_t i = 0;
  while (i < para.size()) {
    std::size_t j = i + 1;
    while (j < para.size() && !BreaksAfter(para[j - 1]) && !BreaksBefore(para[j])) ++j;
    std::u32string word = para.substr(i, j - i);
    long w = 0;
    for (char32_t c : word) w += AdvanceOf(font, c);
    std::u32string trimmed = word;
    while (!trimmed.empty() && trimmed.back() == U' ') trimmed.pop_back();
    long wt = 0;
    for (char32_t c : trimmed) wt += AdvanceOf(font, c);
    if (!line.empty() && (lineWidth + wt + 32) / 64 > width) {
      while (!line.empty() && line.back() == U' ') line.pop_back();
      lines.push_back(line);
      line.clear();
      lineWidth = 0;
      if (trimmed.empty()) {
        i = j;
        continue;
      }
    }
    line += word;
    lineWidth += w;
    i = j;
  }
  while (!line.empty() && line.back() == U' ') line.pop_back();
  lines.push_back(line);
  return lines;
}

void AddEllipsis(FontInstance& font, TextLine& line, int width) {
  if (line.width <= width) return;
  const std::u32string dots = U"...";
  int dotsWidth = MeasureDevice(font, dots);
  std::u32string s = line.text;
  while (!s.empty() && MeasureDevice(font, s) + dotsWidth > width) s.pop_back();
  if (line.underline >= static_cast<int>(s.size())) line.underline = -1;
  line.text = s + dots;
  line.width = MeasureDevice(font, line.text);
}

std::vector<TextLine> LayOut(FontInstance& font, const std::u32string& all, UINT format, int width) {
  std::vector<std::u32string> paragraphs;
  if (format & DT_SINGLELINE) {
    std::u32string s;
    for (char32_t c : all)
      if (c != U'\r' && c != U'\n') s.push_back(c);
    paragraphs.push_back(s);
  } else {
    std::u32string cur;
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (all[i] == U'\r' || all[i] == U'\n') {
        paragraphs.push_back(cur);
        cur.clear();
        if (all[i] == U'\r' && i + 1 < all.size() && all[i + 1] == U'\n') ++i;
      } else {
        cur.push_back(all[i]);
      }
    }
    paragraphs.push_back(cur);
  }
  std::vector<TextLine> lines;
  for (std::u32string& p : paragraphs) {
    int underline = -1;
    if (!(format & DT_NOPREFIX)) underline = StripPrefix(p, !(format & DT_HIDEPREFIX));
    if (format & DT_EXPANDTABS) {
      std::u32string expanded;
      for (char32_t c : p) expanded += c == U'\t' ? std::u32string(8, U' ') : std::u32string(1, c);
      p = expanded;
    }
    bool wrap = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
    std::vector<std::u32string> pieces = wrap ? Wrap(font, p, width) : std::vector<std::u32string>{p};
    std::size_t offset = 0;
    for (std::u32string& piece : pieces) {
      TextLine line;
      line.text = piece;
      if (underline >= static_cast<int>(offset) && underline < static_cast<int>(offset + piece.size())) {
        line.underline = underline - static_cast<int>(offset);
      }
      line.width = MeasureDevice(font, piece);
      offset += piece.size();
      while (offset < p.size() && p[offset] == U' ') ++offset;
      lines.push_back(line);
    }
  }
  if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) {
    for (TextLine& line : lines) AddEllipsis(font, line, width);
  }
  return lines;
}

int DrawTextImpl(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc || !rect || !text) return 0;
  if (count < 0) count = static_cast<int>(std::strlen(text));
  RECT d = dc->ToDevice(*rect);
  FontInstance& font = CurrentFont(*dc);
  const FontMetrics& m = font.Metrics();
  std::vector<TextLine> lines = LayOut(font, DecodeText(text, count), format, d.right - d.left);
  int lineHeight = m.height;
  int total = lineHeight * static_cast<int>(lines.size());
  if (count == 0) total = 0;
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const TextLine& l : lines) widest = std::max(widest, l.width);
    int sx = dc->state.viewportExt.cx * dc->state.windowExt.cx < 0 ? -1 : 1;
    int sy = dc->state.viewportExt.cy * dc->state.windowExt.cy < 0 ? -1 : 1;
    rect->right = rect->left + sx * ToLogicalX(*dc, widest);
    rect->bottom = rect->top + sy * ToLogicalY(*dc, total);
    return ToLogicalY(*dc, total);
  }
  int y = d.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      y = d.top + (d.bottom - d.top - lineHeight) / 2;
    else if (format & DT_BOTTOM)
      y = d.bottom - lineHeight;
  }
  RunOptions run;
  if (!(format & DT_NOCLIP)) run.clip = &d;
  run.opaque = dc->state.bkMode == OPAQUE;
  for (const TextLine& line : lines) {
    int x = d.left;
    if (format & DT_CENTER)
      x = d.left + (d.right - d.left - line.width) / 2;
    else if (format & DT_RIGHT)
      x = d.right - line.width;
    run.underlineIndex = line.underline;
    DrawRun(*dc, font, x, y + m.ascent, line.text, run);
    y += lineHeight;
  }
  if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) return ToLogicalY(*dc, y - d.top);
  return ToLogicalY(*dc, total);
}

}  // namespace

BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int count) {
  return TextOutImpl(dc, x, y, 0, nullptr, text, count, nullptr);
}
int DrawText(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
  return DrawTextImpl(dc, text, count, rect, format);
}

BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int count, SIZE* size) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc || !size || count < 0 || (count > 0 && !text)) return FALSE;
  FontInstance& font = CurrentFont(*dc);
  int w = MeasureDevice(font, DecodeText(text, count));
  *size = SIZE{ToLogicalX(*dc, w), ToLogicalY(*dc, font.Metrics().height)};
  return TRUE;
}

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc || !tm) return FALSE;
  FontInstance& font = CurrentFont(*dc);
  const FontMetrics& m = font.Metrics();
  const LOGFONT& lf = font.LogFont();
  *tm = TEXTMETRIC{};
  tm->tmHeight = ToLogicalY(*dc, m.height);
  tm->tmAscent = ToLogicalY(*dc, m.ascent);
  tm->tmDescent = ToLogicalY(*dc, m.descent);
  tm->tmInternalLeading = ToLogicalY(*dc, m.internalLeading);
  tm->tmAveCharWidth = ToLogicalX(*dc, m.aveCharWidth);
  tm->tmMaxCharWidth = ToLogicalX(*dc, m.maxCharWidth);
  tm->tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
  tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = dc->Dpi();
  tm->tmFirstChar = 0x20;
  tm->tmLastChar = 0xFF;
  tm->tmDefaultChar = '?';
  tm->tmBreakChar = ' ';
  tm->tmItalic = lf.lfItalic;
  tm->tmUnderlined = lf.lfUnderline;
  tm->tmStruckOut = lf.lfStrikeOut;
  tm->tmPitchAndFamily = lf.lfPitchAndFamily;
  tm->tmCharSet = lf.lfCharSet;
  return TRUE;
}

BOOL CDC::TextOut(int x, int y, LPCSTR text, int count) { return ::TextOut(m_hDC, x, y, text, count); }
BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT count, const int* dx) {
  return TextOutImpl(m_hDC, x, y, options, rect, text, static_cast<int>(count), dx);
}
BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, const int* dx) {
  return ExtTextOut(x, y, options, rect, text, static_cast<UINT>(text.GetLength()), dx);
}
int CDC::DrawText(LPCSTR text, int count, LPRECT rect, UINT format) {
  return ::DrawText(m_hDC, text, count, rect, format);
}
int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
  return ::DrawText(m_hDC, text, text.GetLength(), rect, format);
}
CSize CDC::GetTextExtent(LPCSTR text, int count) const {
  SIZE s{0, 0};
  GetTextExtentPoint32(m_hDC, text, count, &s);
  return s;
}
BOOL CDC::GetTextMetrics(LPTEXTMETRIC metrics) const { return ::GetTextMetrics(m_hDC, metrics); }
int CDC::GetTextFace(int count, LPSTR face) const {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc || !dc->state.font.data) return 0;
  const char* name = dc->state.font.data->logFont.lfFaceName;
  int len = static_cast<int>(strnlen(name, LF_FACESIZE));
  if (!face || count <= 0) return len + 1;
  int n = std::min(len, count - 1);
  std::memcpy(face, name, static_cast<std::size_t>(n));
  face[n] = '\0';
  return n;
}
