// Builders of RTF documents: the document group, an information group, and
// UTF-16 information strings as writers escape them.
#ifndef ZAV_TESTS_SUPPORT_RTFBYTES_H
#define ZAV_TESTS_SUPPORT_RTFBYTES_H

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "Bytes.h"

namespace zav::test {

// A document: `content` in the group that \rtf1 opens.
inline std::string rtfDocument(std::string_view content) { return "{\\rtf1" + std::string(content) + "}"; }

// An information group of (destination, text) pairs: {\info{\title T}...}.
inline std::string rtfInfo(std::initializer_list<std::pair<std::string_view, std::string_view>> strings) {
  std::string out = "{\\info";
  for (const auto& [destination, text] : strings) {
    out += "{\\";
    out += destination;
    out += ' ';
    out += text;
    out += '}';
  }
  return out + "}";
}

// The bytes of a UTF-16 information string: the mark FE FF, then each code
// unit most significant byte first.
inline Bytes utf16Bytes(std::u16string_view units) {
  Bytes out{0xFE, 0xFF};
  for (const char16_t unit : units) out += be16(unit);
  return out;
}

// A UTF-16 information string as writers put it in a document: each of
// its bytes a hex escape (\'fe\'ff\'30\'42 for "あ").
inline std::string utf16String(std::u16string_view units) {
  constexpr const char* kDigits = "0123456789abcdef";
  std::string out;
  for (const std::uint8_t b : utf16Bytes(units)) out += {'\\', '\'', kDigits[b >> 4], kDigits[b & 15]};
  return out;
}

}  // namespace zav::test

#endif
