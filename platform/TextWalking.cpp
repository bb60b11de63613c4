// The multibyte-aware text helpers, the same on every system: only the
// length of a character and the conversion of one character differ.
#include "CodePageSide.h"
#include "Platform.h"

namespace zav::platform {

namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

const char* nextChar(const char* p) {
  if (p == nullptr || *p == 0) return p;
  // No code page the plug-ins meet has a lead byte below 0x80.
  if (static_cast<unsigned char>(*p) < 0x80) return p + 1;
  return p + side::characterLength(p);
}

int compareBytes(const char* a, const char* b, std::size_t maxBytes) {
  std::size_t compared = 0;
  while (compared < maxBytes) {
    const std::size_t length = side::characterLength(a + compared);
    if (compared + length > maxBytes) break;  // never split a character
    for (std::size_t i = 0; i < length; ++i) {
      const auto x = static_cast<std::uint8_t>(a[compared + i]);
      const auto y = static_cast<std::uint8_t>(b[compared + i]);
      if (x != y) return x < y ? -1 : 1;
      if (x == 0) return 0;
    }
    compared += length;
  }
  return 0;
}

const char* findChar(const char* text, char c) {
  for (const char* p = text; p != nullptr; p = nextChar(p)) {
    if (*p == c) return p;
    if (*p == 0) return nullptr;
  }
  return nullptr;
}

std::string wideToAnsi(std::u16string_view units) {
  std::string out;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (isHighSurrogate(unit) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
      side::appendCharacter(&units[i], 2, out);
      ++i;
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      out += '?';  // a lone surrogate is no character
    } else {
      side::appendCharacter(&units[i], 1, out);
    }
  }
  return out;
}

}  // namespace zav::platform
