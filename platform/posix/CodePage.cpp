// The ANSI code page where the system has none: taken once, when the library
// loads, from the locale environment. A Shift-JIS codeset selects code page
// 932; anything else selects UTF-8. No setlocale and no locale files.
#include <iconv.h>

#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CodePageSide.h"
#include "Endian.h"
#include "Platform.h"

namespace zav::platform {

namespace {

std::string normalizedCodeset(const char* locale) {
  const char* dot = std::strchr(locale, '.');
  if (dot == nullptr) return {};
  std::string codeset;
  for (const char* p = dot + 1; *p != 0 && *p != '@'; ++p) {
    if (*p == '-' || *p == '_') continue;
    codeset += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
  }
  return codeset;
}

unsigned codePageFromEnvironment() {
  const char* locale = nullptr;
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] != 0) {
      locale = value;
      break;
    }
  }
  if (locale == nullptr) return kCodePageUtf8;
  const std::string codeset = normalizedCodeset(locale);
  for (const char* shiftJis : {"sjis", "shiftjis", "cp932", "windows31j"}) {
    if (codeset == shiftJis) return kCodePageShiftJis;
  }
  return kCodePageUtf8;
}

// Read when the library loads, as the system setting it stands for is.
[[maybe_unused]] const unsigned codePageAtLoad = ansiCodePage();

bool isShiftJis() { return ansiCodePage() == kCodePageShiftJis; }

bool isTrailByte(std::uint8_t byte) {
  if (isShiftJis()) return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
  return byte >= 0x80 && byte <= 0xBF;
}

// Bytes in the character that starts with lead byte `lead`.
std::size_t sequenceLength(std::uint8_t lead) {
  if (!isLeadByte(lead)) return 1;
  if (isShiftJis() || lead < 0xE0) return 2;
  return lead < 0xF0 ? 3 : 4;
}

class Converter {
 public:
  Converter()
      : handle_(isShiftJis() ? iconv_open("CP932", "UTF-32LE") : reinterpret_cast<iconv_t>(-1)) {}
  ~Converter() {
    if (handle_ != reinterpret_cast<iconv_t>(-1)) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Appends one character; '?' when the code page has no such character.
  void convert(char32_t codePoint, std::string& out) {
    if (!isShiftJis()) {
      appendUtf8(codePoint, out);
      return;
    }
    std::array<char, 8> converted{};
    const std::size_t length = encode(codePoint, converted);
    // glibc drops the Unicode tag characters (U+E0000 to U+E007F) without a
    // word: a character that becomes no bytes is one the code page lacks.
    if (length == 0) {
      out += '?';
    } else {
      out.append(converted.data(), length);
    }
  }

 private:
  // The character's bytes, at the start of `converted`; 0 when iconv fails.
  std::size_t encode(char32_t codePoint, std::array<char, 8>& converted) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) return 0;
    std::array<char, 4> in{};
    storeLittleEndian(codePoint, in.size(), in.data());
    char* inPointer = in.data();
    char* outPointer = converted.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = converted.size();
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(handle_, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<std::size_t>(-1)) {
      return 0;
    }
    return converted.size() - outLeft;
  }

  // UTF-8 needs no conversion module, whose loading costs more than all the
  // titles it would convert; iconv's result is the same, '?' for a surrogate.
  static void appendUtf8(char32_t c, std::string& out) {
    const auto unit = [&](char32_t bits) { out += static_cast<char>(bits); };
    if (c < 0x80) {
      unit(c);
    } else if (c < 0x800) {
      unit(0xC0 | (c >> 6));
      unit(0x80 | (c & 0x3F));
    } else if (c >= 0xD800 && c < 0xE000) {
      out += '?';
    } else if (c < 0x10000) {
      unit(0xE0 | (c >> 12));
      unit(0x80 | ((c >> 6) & 0x3F));
      unit(0x80 | (c & 0x3F));
    } else {
      unit(0xF0 | (c >> 18));
      unit(0x80 | ((c >> 12) & 0x3F));
      unit(0x80 | ((c >> 6) & 0x3F));
      unit(0x80 | (c & 0x3F));
    }
  }

  iconv_t handle_;
};

}  // namespace

unsigned ansiCodePage() {
  static const unsigned codePage = codePageFromEnvironment();
  return codePage;
}

bool isLeadByte(std::uint8_t byte) {
  if (isShiftJis()) return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
  return byte >= 0xC2 && byte <= 0xF4;
}

namespace side {

std::size_t characterLength(const char* p) {
  const std::size_t length = sequenceLength(static_cast<std::uint8_t>(*p));
  for (std::size_t i = 1; i < length; ++i) {
    if (!isTrailByte(static_cast<std::uint8_t>(p[i]))) return 1;
  }
  return length;
}

void appendCharacter(const char16_t* units, std::size_t count, std::string& out) {
  static Converter converter;
  const char32_t codePoint =
      count == 2 ? 0x10000 + ((char32_t{units[0]} - 0xD800) << 10) + (char32_t{units[1]} - 0xDC00)
                 : char32_t{units[0]};
  converter.convert(codePoint, out);
}

}  // namespace side

}  // namespace zav::platform
