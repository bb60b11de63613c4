#include "CharacterMaps.h"

#include <array>

#include "ByteReader.h"
#include "ControlWords.h"
#include "Platform.h"

namespace zav::rtf {

namespace {

// Mac OS Roman characters that plain ASCII can stand in for.
constexpr std::array<CharMapRow, 29> kMacintoshMap{{
    {0xA0, "+"},      // dagger
    {0xA1, "deg."},   // degree sign
    {0xA2, "cents"},  // cent sign
    {0xA5, "o"},      // bullet
    {0xA7, "B"},      // sharp s
    {0xA8, "reg."},   // registered sign
    {0xA9, "(c)"},    // copyright sign
    {0xAA, "(TM)"},   // trade mark sign
    {0xAB, "'"},      // acute accent
    {0xAD, "!="},     // not-equal sign
    {0xAE, "AE"},     // capital AE
    {0xB1, "+/-"},    // plus-minus sign
    {0xB2, "<="},     // less-or-equal sign
    {0xB3, ">="},     // greater-or-equal sign
    {0xB5, "u"},      // micro sign
    {0xB6, "d"},      // partial differential
    {0xBE, "ae"},     // small ae
    {0xC5, "~"},      // almost-equal sign
    {0xC7, "<<"},     // left guillemet
    {0xC8, ">>"},     // right guillemet
    {0xC9, "..."},    // ellipsis
    {0xCA, " "},      // no-break space
    {0xD0, "-"},      // en dash
    {0xD1, "--"},     // em dash
    {0xD2, "\""},     // left double quotation mark
    {0xD3, "\""},     // right double quotation mark
    {0xD4, "`"},      // left single quotation mark
    {0xD5, "'"},      // right single quotation mark
    {0xD6, "/"},      // division sign
}};

// The ANSI, PC and PCA character sets pass their bytes through unchanged.
constexpr CharMap kPassThroughMap{};

void appendByte(int byte, TextBuffer& text) {
  const auto b = static_cast<unsigned char>(byte & 0xFF);
  if (b == 0) return;
  text.appendChar(static_cast<char>(b));
}

}  // namespace

CharMap characterMap(int characterSetMinor) {
  return characterSetMinor == kMac ? CharMap(kMacintoshMap) : kPassThroughMap;
}

void putChar(int code, CharMap map, TextBuffer& text) {
  if (code < 128) {
    appendByte(code, text);
    return;
  }
  for (const CharMapRow& row : map) {
    if (row.code == code) {
      text.append(row.replacement);
      return;
    }
  }
  if ((code & 0xFF00) != 0) appendByte(code >> 8, text);
  appendByte(code, text);
}

std::string convertUtf16(std::span<const std::uint8_t> bytes) {
  ByteReader cursor(bytes);
  cursor.skip(2);  // the byte-order mark
  std::u16string units;
  while (cursor.remaining() >= 2) {
    const auto unit = static_cast<char16_t>(cursor.be16());
    if (unit == 0) break;
    units.push_back(unit);
  }
  return platform::wideToAnsi(units);
}

}  // namespace zav::rtf
