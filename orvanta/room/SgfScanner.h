#pragma once
// CSgfScanner: walks SGF text property by property and node by node without ever reading
// outside it. A bracketed value may hold ';' and an escaped "\]"; a value whose "]" is missing
// runs to the end of the text. Text between properties that is not a property is skipped.

#include <cstddef>
#include <string_view>

#include <platform/types.h>

class CSgfScanner {
public:
  // One property as it stands in the text.
  struct Property {
    std::string_view name;   // the letters in front of the first "["
    std::string_view whole;  // from the name to the last "]" of its values
    std::string_view value;  // the first value, without its brackets
    // Text from the name up to and including the first value's "]".
    std::string_view first;
    bool closed{false};  // every value of the property has its "]"
  };

  explicit CSgfScanner(std::string_view text) : m_text(text) {}

  // The next property from the scan position; false at the end of the text. A top-level ";"
  // is stepped over like any other text between properties.
  bool NextProperty(Property& property);

  // The first property of text named name; false when there is none.
  static bool FindProperty(std::string_view text, std::string_view name, Property& property);
  // Index of the first ";" outside brackets at or after from; npos when there is none.
  // Brackets are followed from the start of the text, whatever from is.
  static std::size_t FindNodeStart(std::string_view text, std::size_t from);
  // Index just after the "]" closing the value that opens at text[open] (a "["); the text's
  // length when it is never closed (closed, when given, tells which).
  static std::size_t SkipValue(std::string_view text, std::size_t open, bool* closed = nullptr);
  // The leading number of text as the C library's atol reads it (blanks, sign, digits),
  // kept within 32 bits; 0 when there is none.
  static LONG ParseLong(std::string_view text);

private:
  std::string_view m_text;
  std::size_t m_position{0};
};
