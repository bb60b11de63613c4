// Character-level conversions of the RTF extractor: document characters
// through the character-set maps, and UTF-16 information strings to the
// ANSI code page.
#ifndef ZAV_RTF_CHARACTERMAPS_H
#define ZAV_RTF_CHARACTERMAPS_H

#include <cstdint>
#include <span>
#include <string>

#include "TextBuffer.h"

namespace zav::rtf {

struct CharMapRow {
  int code;                 // the byte in the document's character set
  const char* replacement;  // ASCII text that stands for it
};

using CharMap = std::span<const CharMapRow>;

// The map for a character-set minor (ansi, mac, pc, pca); the ANSI map for
// any other value.
CharMap characterMap(int characterSetMinor);

// Appends one character code to `text`: codes below 128 as they are, others
// through `map`, and when no row matches as the low byte, preceded by the
// next byte up when that is set. A zero byte is never appended, since a NUL
// would cut the text short for every reader of it.
void putChar(int code, CharMap map, TextBuffer& text);

// Converts an information string that begins with the byte-order mark FE FF
// from big-endian UTF-16 to the ANSI code page. A code unit 0000 or a
// missing low byte ends the string; a surrogate pair is one character; a
// character the code page lacks becomes '?'.
std::string convertUtf16(std::span<const std::uint8_t> bytes);

}  // namespace zav::rtf

#endif
