#include "WindowList.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace platform::process {
namespace {

bool NeedsEscape(unsigned char ch) { return ch < 0x20 || ch == '%' || ch == 0x7F; }

void AppendEscaped(std::string& out, std::string_view bytes) {
  for (char ch : bytes) {
    auto byte = static_cast<unsigned char>(ch);
    if (!NeedsEscape(byte)) {
      out += ch;
      continue;
    }
    char code[4];
    std::snprintf(code, sizeof code, "%%%02X", byte);
    out += code;
  }
}

int HexValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  return -1;
}

// False when the text holds a stray '%' or a raw control byte: such a line was not ours.
bool Unescape(std::string_view text, std::string& out) {
  out.clear();
  for (std::size_t at = 0; at < text.size(); ++at) {
    auto byte = static_cast<unsigned char>(text[at]);
    if (byte != '%') {
      if (NeedsEscape(byte)) return false;
      out += text[at];
      continue;
    }
    if (at + 2 >= text.size()) return false;
    int high = HexValue(text[at + 1]);
    int low = HexValue(text[at + 2]);
    if (high < 0 || low < 0) return false;
    out += static_cast<char>(high * 16 + low);
    at += 2;
  }
  return true;
}

constexpr std::string_view kInstancePrefix = "instance ";

// A positive decimal number that fills the whole text.
bool ParseNumber(std::string_view text, std::uint64_t& value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc{} && end == text.data() + text.size() && !text.empty() && value != 0;
}

bool ParseInstance(std::string_view line, std::uint64_t& instance) {
  return line.starts_with(kInstancePrefix) && ParseNumber(line.substr(kInstancePrefix.size()), instance);
}

// Takes the first line (without its line feed) off text.
std::string_view NextLine(std::string_view& text) {
  std::size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
  return line;
}

bool ParseLine(std::string_view line, PublishedWindow& window) {
  std::size_t firstTab = line.find('\t');
  if (firstTab == std::string_view::npos) return false;
  std::size_t secondTab = line.find('\t', firstTab + 1);
  if (secondTab == std::string_view::npos) return false;
  if (!ParseNumber(line.substr(0, firstTab), window.handle)) return false;
  return Unescape(line.substr(firstTab + 1, secondTab - firstTab - 1), window.className) &&
         Unescape(line.substr(secondTab + 1), window.title);
}

char Fold(char ch) { return static_cast<char>(std::tolower(static_cast<unsigned char>(ch))); }

}  // namespace

std::string FormatWindowList(const WindowList& list) {
  std::string text = std::string(kInstancePrefix) + std::to_string(list.instance) + "\n";
  for (const PublishedWindow& window : list.windows) {
    text += std::to_string(window.handle);
    text += '\t';
    AppendEscaped(text, window.className);
    text += '\t';
    AppendEscaped(text, window.title);
    text += '\n';
  }
  return text;
}

WindowList ParseWindowList(std::string_view text) {
  WindowList list;
  if (!ParseInstance(NextLine(text), list.instance)) return WindowList{};
  while (!text.empty()) {
    std::string_view line = NextLine(text);
    PublishedWindow window;
    if (ParseLine(line, window)) list.windows.push_back(std::move(window));
  }
  return list;
}

bool NameMatches(const char* pattern, std::string_view name) {
  if (!pattern) return true;
  std::string_view wanted(pattern);
  if (wanted.size() != name.size()) return false;
  for (std::size_t at = 0; at < name.size(); ++at) {
    if (Fold(wanted[at]) != Fold(name[at])) return false;
  }
  return true;
}

}  // namespace platform::process
