// The shown lines of an edit. After a change only the hard lines the change touched are wrapped
// again; the lines before it stay and those after it move by the change's length, so a line
// appended to a long log, or the oldest line taken from its top, costs that line, not the log.

#include <algorithm>
#include <optional>

#include "EditModel.h"
#include "platform/strings.h"

namespace platform::detail {

namespace {

constexpr std::size_t kNone = std::string::npos;

// Offsets where characters begin in [start, end), end included: a code page 949 lead byte and its
// trail byte are one character, never split by a wrap.
std::vector<int> CharacterBounds(const std::string& text, int start, int end) {
  std::vector<int> bounds;
  std::string_view line(text.data(), static_cast<std::size_t>(end));
  for (int i = start; i < end; i += Cp949CharLength(line, static_cast<std::size_t>(i))) bounds.push_back(i);
  bounds.push_back(end);
  return bounds;
}

std::size_t CommonPrefix(const std::string& a, const std::string& b) {
  const std::size_t most = std::min(a.size(), b.size());
  return static_cast<std::size_t>(std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(most), b.begin()).first -
                                  a.begin());
}

std::size_t CommonSuffix(const std::string& a, const std::string& b, std::size_t most) {
  return static_cast<std::size_t>(
      std::mismatch(a.rbegin(), a.rbegin() + static_cast<std::ptrdiff_t>(most), b.rbegin()).first - a.rbegin());
}

}  // namespace

void EditModel::AddHardLines(CDC* dc, const std::string& shown, int from, int until, int width,
                             std::vector<Line>& out) const {
  const int size = static_cast<int>(shown.size());
  for (int start = from; until < 0 || start < until;) {
    std::size_t at = Multiline() ? shown.find("\r\n", static_cast<std::size_t>(start)) : kNone;
    int end = at == kNone ? size : static_cast<int>(at);
    int next = at == kNone ? size : end + 2;
    if (dc) {
      WrapLine(*dc, shown, start, end, width, out);
      out.back().next = next;
    } else {
      out.push_back(Line{start, end, next});
    }
    if (at == kNone) break;
    start = next;
  }
}

bool EditModel::RewrapChange(CDC* dc, const std::string& shown, int width) const {
  const std::string& old = m_linesText;
  const std::size_t prefix = CommonPrefix(old, shown);
  const std::size_t suffix = CommonSuffix(old, shown, std::min(old.size(), shown.size()) - prefix);
  // From the start of the hard line before the change (its break wholly unchanged)...
  std::size_t from = 0;
  if (prefix >= 3) {
    const std::size_t brk = old.rfind("\r\n", prefix - 3);
    if (brk != kNone) from = brk + 2;
  }
  // ...to the start of the first hard line after it, in the old text.
  const std::size_t changedEnd = old.size() - suffix;
  const std::size_t brk = changedEnd + 1 < old.size() ? old.find("\r\n", changedEnd + 1) : kNone;
  const std::size_t oldUntil = brk == kNone ? kNone : brk + 2;
  const auto first = std::lower_bound(m_lines.begin(), m_lines.end(), static_cast<int>(from),
                                      [](const Line& line, int value) { return line.start < value; });
  if (first == m_lines.end() || first->start != static_cast<int>(from)) return false;
  auto after = m_lines.end();
  const int shift = static_cast<int>(shown.size()) - static_cast<int>(old.size());
  if (oldUntil != kNone) {
    after = std::lower_bound(first, m_lines.end(), static_cast<int>(oldUntil),
                             [](const Line& line, int value) { return line.start < value; });
    if (after == m_lines.end() || after->start != static_cast<int>(oldUntil)) return false;
  }
  std::vector<Line> lines(m_lines.begin(), first);
  AddHardLines(dc, shown, static_cast<int>(from), oldUntil == kNone ? -1 : static_cast<int>(oldUntil) + shift, width,
               lines);
  for (auto it = after; it != m_lines.end(); ++it) lines.push_back(Line{it->start + shift, it->end + shift, it->next + shift});
  m_lines = std::move(lines);
  return true;
}

const std::vector<EditModel::Line>& EditModel::Lines() const {
  int width = Wraps() ? static_cast<int>(TextArea().right - TextArea().left) : Multiline() ? -1 : -2;
  const bool sameWidth = m_linesValid && width == m_linesWidth;
  if (sameWidth && m_linesVersion == m_textVersion) return m_lines;
  std::string shown = Shown();
  if (sameWidth && shown == m_linesText) {
    m_linesVersion = m_textVersion;
    return m_lines;
  }
  std::optional<MeasuringDC> measuring;
  if (width > 0) measuring.emplace(*this);
  CDC* dc = measuring ? measuring->get() : nullptr;
  if (!(sameWidth && Multiline() && RewrapChange(dc, shown, width))) {
    m_lines.clear();
    AddHardLines(dc, shown, 0, -1, width, m_lines);
  }
  m_linesText = std::move(shown);
  m_linesWidth = width;
  m_linesValid = true;
  m_linesVersion = m_textVersion;
  return m_lines;
}

void EditModel::WrapLine(CDC& dc, const std::string& shown, int start, int end, int width, std::vector<Line>& out) const {
  std::vector<int> bounds = CharacterBounds(shown, start, end);
  int last = static_cast<int>(bounds.size()) - 1;
  auto fits = [&](int from, int to) {
    return dc.GetTextExtent(shown.data() + bounds[from], bounds[to] - bounds[from]).cx <= width;
  };
  auto isSpace = [&](int index) { return index < last && shown[static_cast<std::size_t>(bounds[index])] == ' '; };
  int from = 0;
  for (;;) {
    // No character is narrower than a pixel, so a line holds at most width of them: measuring no
    // further keeps a long paragraph's wrap linear in its length.
    const int reach = std::min(last, from + std::max(width, 1));
    if (reach == last && fits(from, last)) break;
    // The most characters that fit, at least one.
    int lo = from + 1, hi = reach;
    while (lo < hi) {
      int mid = (lo + hi + 1) / 2;
      if (fits(from, mid)) lo = mid; else hi = mid - 1;
    }
    int cut = lo;
    // Break after the last space that fits; a word longer than the line is cut where it must be.
    if (!isSpace(cut)) {
      for (int j = cut; j > from + 1; --j) {
        if (isSpace(j - 1)) {
          cut = j;
          break;
        }
      }
    }
    // Spaces at a break stay at the end of the upper line.
    while (isSpace(cut)) ++cut;
    if (cut >= last) break;
    out.push_back(Line{bounds[from], bounds[cut], bounds[cut]});
    from = cut;
  }
  out.push_back(Line{bounds[from], end, end});
}

int EditModel::LineOf(int offset) const {
  const std::vector<Line>& lines = Lines();
  auto it = std::upper_bound(lines.begin(), lines.end(), offset, [](int value, const Line& line) { return value < line.start; });
  return std::max(0, static_cast<int>(it - lines.begin()) - 1);
}

}  // namespace platform::detail
