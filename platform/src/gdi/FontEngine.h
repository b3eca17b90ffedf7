#pragma once
// Text through FreeType: face names map to installed faces (fontconfig), each face is loaded once,
// and each realised size keeps a cache of rendered glyphs.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi_defs.h"

namespace platform::gdi {

struct Glyph {
  int width{0};
  int height{0};
  int left{0};       // from the pen position to the bitmap's left edge
  int top{0};        // from the baseline up to the bitmap's top edge
  long advanceX{0};  // 26.6 pixels, screen direction (y grows downwards)
  long advanceY{0};
  long advance{0};                     // 26.6 pixels along the baseline
  std::vector<std::uint8_t> coverage;  // width * height, 0..255
};

struct FontMetrics {
  int ascent{0};
  int descent{0};
  int height{0};
  int internalLeading{0};
  int aveCharWidth{0};
  int maxCharWidth{0};
  int underlinePosition{0};  // below the baseline
  int lineThickness{1};
};

// One font at one device size and angle.
class FontInstance {
public:
  FontInstance(const LOGFONT& lf, int deviceHeight, int deviceWidth);
  ~FontInstance();
  const FontMetrics& Metrics() const { return m_metrics; }
  const LOGFONT& LogFont() const { return m_logFont; }
  // The rendered glyph of a character (cached); characters the face lacks come from a fallback face.
  const Glyph& GlyphOf(char32_t ch);
  // Face family name actually used.
  const std::string& Family() const { return m_family; }

private:
  void ComputeMetrics();

  LOGFONT m_logFont{};
  int m_emHeight{0};    // pixels
  int m_emWidth{0};     // pixels, 0 = same as height
  double m_angle{0.0};  // radians, counter-clockwise
  bool m_synthBold{false};
  bool m_synthItalic{false};
  void* m_face{nullptr};      // FT_Face, owned by the engine
  void* m_fallback{nullptr};  // FT_Face for characters the face lacks
  std::string m_family;
  FontMetrics m_metrics;
  std::unordered_map<char32_t, Glyph> m_glyphs;
  std::array<const Glyph*, 128> m_asciiGlyphs{};  // the common characters, found without hashing
};

class FontEngine {
public:
  static FontEngine& Instance();
  // The font for a LOGFONT at a device height (signed like lfHeight) and width (0 = natural).
  FontInstance& Get(const LOGFONT& lf, int deviceHeight, int deviceWidth);
  // Face for a family, weight and slant; loaded once. Null when nothing is installed.
  void* Face(const std::string& family, bool bold, bool italic);
  // Installed family that stands for a face name (code page 949) and character set.
  static std::string FamilyFor(const char* faceName, BYTE charSet);

private:
  FontEngine();
  ~FontEngine();

  void* m_library{nullptr};  // FT_Library
  std::map<std::string, void*> m_facesByFile;
  std::map<std::string, void*> m_facesByRequest;
  // What tells two fonts apart: every text drawn looks its font up, so the key is compared as
  // it stands rather than spelt out.
  struct InstanceKey {
    std::array<char, LF_FACESIZE> face{};
    int height{0}, width{0}, escapement{0}, weight{0}, italic{0}, charSet{0};
    auto operator<=>(const InstanceKey&) const = default;
  };
  std::map<InstanceKey, std::unique_ptr<FontInstance>> m_instances;
};

// Unicode characters of code page 949 text.
std::u32string DecodeText(const char* text, int count);

}  // namespace platform::gdi
