#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/strings.h"

namespace {

enum class Source { utf8, cp949, utf16 };

// Bytes of the one character at the start of input that could not be converted, so that it
// becomes a single '?' however many bytes it has.
std::size_t BadCharLength(Source source, std::string_view input) {
  switch (source) {
    case Source::utf8: {
      std::size_t length = 1;
      while (length < input.size() && length < 4 && (static_cast<unsigned char>(input[length]) & 0xC0) == 0x80)
        ++length;
      return length;
    }
    case Source::cp949:
      return static_cast<std::size_t>(Cp949CharLength(input, 0));
    case Source::utf16:
      return std::min<std::size_t>(2, input.size());
  }
  return 1;
}

// Converts through iconv; an input character that cannot be converted becomes one '?' (or U+003F)
// and the conversion goes on behind it.
std::string Convert(const char* to, const char* from, std::string_view input, Source source) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
  std::string out;
  out.resize(input.size() * 4 + 16);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  while (inLeft > 0) {
    std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      std::size_t used = static_cast<std::size_t>(outPtr - out.data());
      out.resize(out.size() * 2);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
      continue;
    }
    // EILSEQ or EINVAL: skip one input unit and emit a question mark in the target encoding.
    std::size_t skip = std::min(BadCharLength(source, std::string_view(in, inLeft)), inLeft);
    in += skip;
    inLeft -= skip;
    std::string mark = std::strncmp(to, "UTF-16", 6) == 0 ? std::string("?\0", 2) : std::string("?");
    if (outLeft < mark.size()) {
      std::size_t used = static_cast<std::size_t>(outPtr - out.data());
      out.resize(out.size() * 2);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
    }
    for (char c : mark) {
      *outPtr++ = c;
      --outLeft;
    }
  }
  out.resize(static_cast<std::size_t>(outPtr - out.data()));
  iconv_close(cd);
  return out;
}

std::u16string BytesToU16(const std::string& bytes) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return out;
}

std::string U16ToBytes(std::u16string_view text) {
  std::string out(text.size() * 2, '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    out[2 * i] = static_cast<char>(text[i] & 0xFF);
    out[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return out;
}

}  // namespace

CString Utf8ToCp949(std::string_view utf8) { return CString(Convert("CP949", "UTF-8", utf8, Source::utf8)); }

std::string Cp949ToUtf8(std::string_view cp949) { return Convert("UTF-8", "CP949", cp949, Source::cp949); }

std::u16string Cp949ToUtf16(std::string_view cp949) {
  return BytesToU16(Convert("UTF-16LE", "CP949", cp949, Source::cp949));
}

CString Utf16ToCp949(std::u16string_view utf16) {
  return CString(Convert("CP949", "UTF-16LE", U16ToBytes(utf16), Source::utf16));
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  return Convert("UTF-8", "UTF-16LE", U16ToBytes(utf16), Source::utf16);
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  return BytesToU16(Convert("UTF-16LE", "UTF-8", utf8, Source::utf8));
}

const char* Cp949(const char* utf8) {
  // Literals are converted once; the map owns the converted bytes for the life of the program.
  static std::mutex lock;
  static std::map<std::string, std::unique_ptr<std::string>> converted;
  std::string key(utf8 ? utf8 : "");
  std::lock_guard<std::mutex> guard(lock);
  auto it = converted.find(key);
  if (it == converted.end()) {
    it = converted.emplace(key, std::make_unique<std::string>(Utf8ToCp949(key).str())).first;
  }
  return it->second->c_str();
}
