// Converts arbitrary bytes as a UTF-16 information string (byte-order mark,
// then big-endian units) under the code page the environment selects, and
// checks the result character by character against the units: one
// character for each code point, '?' for a lone surrogate, ASCII as it is,
// and under UTF-8 exactly the code point's encoding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CharacterMaps.h"
#include "FuzzCheck.h"
#include "Platform.h"

namespace {

// The code points the units stand for; a lone surrogate stays as it is.
std::vector<char32_t> codePointsOf(const std::uint8_t* data, std::size_t size) {
  std::vector<char16_t> units;
  for (std::size_t i = 2; i + 1 < size; i += 2) {
    const auto unit = static_cast<char16_t>(data[i] << 8 | data[i + 1]);
    if (unit == 0) break;
    units.push_back(unit);
  }
  std::vector<char32_t> points;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char32_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      points.push_back(0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00));
    } else {
      points.push_back(unit);
    }
  }
  return points;
}

bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

std::string utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

// Bytes in the Shift-JIS character at `p`.
std::size_t shiftJisLength(const std::string& text, std::size_t p) {
  const auto lead = static_cast<std::uint8_t>(text[p]);
  const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
  if (!isLead) return 1;
  ZAV_FUZZ_CHECK(p + 1 < text.size());
  const auto trail = static_cast<std::uint8_t>(text[p + 1]);
  ZAV_FUZZ_CHECK((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC));
  return 2;
}

void checkShiftJis(const std::string& converted, const std::vector<char32_t>& points) {
  std::size_t p = 0;
  for (const char32_t point : points) {
    ZAV_FUZZ_CHECK(p < converted.size());
    const std::size_t length = shiftJisLength(converted, p);
    if (point < 0x80) ZAV_FUZZ_CHECK(length == 1 && converted[p] == static_cast<char>(point));
    if (isSurrogate(point)) ZAV_FUZZ_CHECK(length == 1 && converted[p] == '?');
    p += length;
  }
  ZAV_FUZZ_CHECK(p == converted.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string converted = zav::rtf::convertUtf16({data, size});
  const std::vector<char32_t> points = codePointsOf(data, size);
  if (zav::platform::ansiCodePage() == zav::platform::kCodePageShiftJis) {
    checkShiftJis(converted, points);
    return 0;
  }
  std::string expected;
  for (const char32_t point : points) expected += isSurrogate(point) ? "?" : utf8Of(point);
  ZAV_FUZZ_CHECK(converted == expected);
  return 0;
}
