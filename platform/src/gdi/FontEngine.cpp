#include "FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

#include "platform/strings.h"

namespace platform::gdi {
namespace {

constexpr int kDefaultCellHeight = 16;

FT_Face AsFace(void* f) { return static_cast<FT_Face>(f); }

std::string FontFile(const std::string& family, bool bold, bool italic, int* index) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string file;
  if (match) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
      file = reinterpret_cast<const char*>(path);
    }
    int i = 0;
    FcPatternGetInteger(match, FC_INDEX, 0, &i);
    *index = i;
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return file;
}

}  // namespace

FontEngine& FontEngine::Instance() {
  static FontEngine engine;
  return engine;
}

FontEngine::FontEngine() {
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) == 0) m_library = lib;
  FcInit();
}

FontEngine::~FontEngine() {
  m_instances.clear();
  for (auto& [file, face] : m_facesByFile) FT_Done_Face(AsFace(face));
  if (m_library) FT_Done_FreeType(static_cast<FT_Library>(m_library));
  FcFini();
}

std::string FontEngine::FamilyFor(const char* faceName, BYTE charSet) {
  std::string name = Cp949ToUtf8(std::string_view(faceName, strnlen(faceName, LF_FACESIZE)));
  struct Entry {
    const char* name;
    const char* family;
  };
  static const Entry kMap[] = {
      {"굴림", "NanumGothic"},
      {"돋움", "NanumGothic"},
      {"새굴림", "NanumGothic"},
      {"굴림체", "NanumGothicCoding"},
      {"돋움체", "NanumGothicCoding"},
      {"바탕", "NanumMyeongjo"},
      {"바탕체", "NanumMyeongjo"},
      {"궁서", "NanumMyeongjo"},
      {"궁서체", "NanumMyeongjo"},
      // The Latin faces the templates were laid out for map to faces of the same advance widths,
      // so that labels fit their controls as they were drawn to.
      {"MS Sans Serif", "Liberation Sans"},
      {"MS Shell Dlg", "Liberation Sans"},
      {"MS Shell Dlg 2", "Liberation Sans"},
      {"Microsoft Sans Serif", "Liberation Sans"},
      {"Arial", "Liberation Sans"},
      {"Helvetica", "Liberation Sans"},
      {"System", "Liberation Sans"},
      {"Courier", "Liberation Mono"},
      {"Courier New", "Liberation Mono"},
      {"Fixedsys", "Liberation Mono"},
      {"Terminal", "Liberation Mono"},
      {"Times New Roman", "Liberation Serif"},
      {"Times", "Liberation Serif"},
  };
  for (const Entry& e : kMap) {
    if (strcasecmp(name.c_str(), e.name) == 0) return e.family;
  }
  if (charSet == HANGUL_CHARSET && name.empty()) return "NanumGothic";
  return "Liberation Sans";
}

void* FontEngine::Face(const std::string& family, bool bold, bool italic) {
  std::string request = family + (bold ? "|b" : "|") + (italic ? "i" : "");
  auto known = m_facesByRequest.find(request);
  if (known != m_facesByRequest.end()) return known->second;
  int index = 0;
  std::string file = FontFile(family, bold, italic, &index);
  void* face = nullptr;
  if (!file.empty() && m_library) {
    std::string fileKey = file + "#" + std::to_string(index);
    auto loaded = m_facesByFile.find(fileKey);
    if (loaded != m_facesByFile.end()) {
      face = loaded->second;
    } else {
      FT_Face f = nullptr;
      if (FT_New_Face(static_cast<FT_Library>(m_library), file.c_str(), index, &f) == 0) {
        face = f;
        m_facesByFile.emplace(fileKey, face);
      }
    }
  }
  m_facesByRequest.emplace(request, face);
  return face;
}

FontInstance& FontEngine::Get(const LOGFONT& lf, int deviceHeight, int deviceWidth) {
  InstanceKey key;
  std::copy_n(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE), key.face.begin());
  key.height = deviceHeight;
  key.width = deviceWidth;
  key.escapement = lf.lfEscapement;
  key.weight = lf.lfWeight;
  key.italic = lf.lfItalic;
  key.charSet = lf.lfCharSet;
  auto it = m_instances.find(key);
  if (it != m_instances.end()) return *it->second;
  auto instance = std::make_unique<FontInstance>(lf, deviceHeight, deviceWidth);
  FontInstance& ref = *instance;
  m_instances.emplace(key, std::move(instance));
  return ref;
}

FontInstance::FontInstance(const LOGFONT& lf, int deviceHeight, int deviceWidth) : m_logFont(lf) {
  FontEngine& engine = FontEngine::Instance();
  bool bold = lf.lfWeight >= FW_SEMIBOLD;
  bool italic = lf.lfItalic != 0;
  m_family = FontEngine::FamilyFor(lf.lfFaceName, lf.lfCharSet);
  m_face = engine.Face(m_family, bold, italic);
  m_fallback = engine.Face("NanumGothic", bold, false);
  if (!m_face) m_face = engine.Face("Liberation Sans", bold, italic);
  if (!m_face) m_face = engine.Face("DejaVu Sans", bold, italic);
  m_angle = lf.lfEscapement / 10.0 * 3.14159265358979323846 / 180.0;
  FT_Face face = AsFace(m_face);
  if (face) {
    m_synthBold = bold && !(face->style_flags & FT_STYLE_FLAG_BOLD);
    m_synthItalic = italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
  }
  int h = deviceHeight == 0 ? kDefaultCellHeight : deviceHeight;
  if (h < 0) {
    m_emHeight = -h;
  } else if (face && face->units_per_EM > 0 && face->ascender - face->descender > 0) {
    m_emHeight =
        static_cast<int>(std::lround(static_cast<double>(h) * face->units_per_EM / (face->ascender - face->descender)));
  } else {
    m_emHeight = h;
  }
  m_emHeight = std::max(m_emHeight, 1);
  if (deviceWidth > 0 && face) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    double avg = os2 && os2->xAvgCharWidth > 0 && face->units_per_EM > 0
                     ? static_cast<double>(os2->xAvgCharWidth) * m_emHeight / face->units_per_EM
                     : m_emHeight / 2.0;
    m_emWidth = std::max(1, static_cast<int>(std::lround(m_emHeight * deviceWidth / avg)));
  }
  ComputeMetrics();
}

FontInstance::~FontInstance() = default;

namespace {

void SetSize(FT_Face face, int emWidth, int emHeight) {
  FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(emWidth > 0 ? emWidth : emHeight), static_cast<FT_UInt>(emHeight));
}

}  // namespace

void FontInstance::ComputeMetrics() {
  FT_Face face = AsFace(m_face);
  m_metrics = FontMetrics{};
  if (!face) {
    m_metrics.ascent = m_emHeight * 4 / 5;
    m_metrics.descent = m_emHeight - m_metrics.ascent;
    m_metrics.height = m_emHeight;
    m_metrics.aveCharWidth = std::max(1, m_emHeight / 2);
    m_metrics.maxCharWidth = m_emHeight;
    return;
  }
  SetSize(face, m_emWidth, m_emHeight);
  const FT_Size_Metrics& sm = face->size->metrics;
  double scaleY = static_cast<double>(m_emHeight) / face->units_per_EM;
  double scaleX = static_cast<double>(m_emWidth > 0 ? m_emWidth : m_emHeight) / face->units_per_EM;
  m_metrics.ascent = static_cast<int>(std::ceil(face->ascender * scaleY));
  m_metrics.descent = static_cast<int>(std::ceil(-face->descender * scaleY));
  m_metrics.height = m_metrics.ascent + m_metrics.descent;
  m_metrics.internalLeading = std::max(0, m_metrics.height - m_emHeight);
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  m_metrics.aveCharWidth = os2 && os2->xAvgCharWidth > 0 ? static_cast<int>(std::lround(os2->xAvgCharWidth * scaleX))
                                                         : static_cast<int>(sm.max_advance / 64 / 2);
  m_metrics.aveCharWidth = std::max(1, m_metrics.aveCharWidth);
  m_metrics.maxCharWidth = std::max(1, static_cast<int>((sm.max_advance + 63) / 64));
  m_metrics.underlinePosition = std::max(1, static_cast<int>(std::lround(-face->underline_position * scaleY)));
  m_metrics.lineThickness = std::max(1, static_cast<int>(std::lround(face->underline_thickness * scaleY)));
}

const Glyph& FontInstance::GlyphOf(char32_t ch) {
  if (ch < m_asciiGlyphs.size() && m_asciiGlyphs[ch]) return *m_asciiGlyphs[ch];
  auto it = m_glyphs.find(ch);
  if (it != m_glyphs.end()) return it->second;
  Glyph& g = m_glyphs[ch];
  if (ch < m_asciiGlyphs.size()) m_asciiGlyphs[ch] = &g;  // the map's elements stay where they are
  FT_Face face = AsFace(m_face);
  if (!face) {
    g.advanceX = g.advance = static_cast<long>(m_metrics.aveCharWidth) * 64;
    return g;
  }
  FT_UInt index = FT_Get_Char_Index(face, ch);
  if (index == 0 && m_fallback && FT_Get_Char_Index(AsFace(m_fallback), ch) != 0) {
    face = AsFace(m_fallback);
    index = FT_Get_Char_Index(face, ch);
  }
  SetSize(face, m_emWidth, m_emHeight);
  FT_Matrix m{static_cast<FT_Fixed>(std::lround(std::cos(m_angle) * 65536.0)),
              static_cast<FT_Fixed>(std::lround(-std::sin(m_angle) * 65536.0)),
              static_cast<FT_Fixed>(std::lround(std::sin(m_angle) * 65536.0)),
              static_cast<FT_Fixed>(std::lround(std::cos(m_angle) * 65536.0))};
  FT_Set_Transform(face, &m, nullptr);
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) == 0) {
    FT_GlyphSlot slot = face->glyph;
    if (m_synthBold) FT_GlyphSlot_Embolden(slot);
    if (m_synthItalic) FT_GlyphSlot_Oblique(slot);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) {
      const FT_Bitmap& bm = slot->bitmap;
      g.width = static_cast<int>(bm.width);
      g.height = static_cast<int>(bm.rows);
      g.left = slot->bitmap_left;
      g.top = slot->bitmap_top;
      g.coverage.resize(static_cast<std::size_t>(g.width) * g.height);
      for (int y = 0; y < g.height; ++y) {
        const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        std::memcpy(g.coverage.data() + static_cast<std::size_t>(y) * g.width, src, static_cast<std::size_t>(g.width));
      }
    }
    g.advanceX = slot->advance.x;
    g.advanceY = -slot->advance.y;
    g.advance = std::lround(std::hypot(static_cast<double>(g.advanceX), static_cast<double>(g.advanceY)));
  }
  FT_Set_Transform(face, nullptr, nullptr);
  return g;
}

std::u32string DecodeText(const char* text, int count) {
  std::u32string out;
  if (!text || count <= 0) return out;
  // Plain ASCII, most labels and numbers, needs no conversion.
  bool ascii = true;
  for (int i = 0; i < count && ascii; ++i) ascii = static_cast<unsigned char>(text[i]) < 0x80;
  if (ascii) return std::u32string(text, text + count);
  std::u16string wide = Cp949ToUtf16(std::string_view(text, static_cast<std::size_t>(count)));
  out.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char32_t c = wide[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      ++i;
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace platform::gdi
