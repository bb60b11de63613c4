// Scanning RTF bytes many at a time: where a stretch that no handler looks
// at byte by byte comes to an end, how long the parts of a control word
// are, and what a run of hex escapes says. Two implementations: a portable
// one, a byte a step, always built (the 32-bit DLL, which has no SSE2,
// uses it, and the tests check the other against it); and one sixteen
// bytes a step with SSE2. The block below the portable one is the only
// place that chooses.
#ifndef ZAV_RTF_BYTESCAN_H
#define ZAV_RTF_BYTESCAN_H

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zav::rtf {

inline constexpr bool isLetter(int c) { return static_cast<unsigned>((c | 0x20) - 'a') < 26U; }
inline constexpr bool isDigit(int c) { return c >= '0' && c <= '9'; }

namespace scan {

// What the scans may read past the place they start from, whatever the
// bytes there say: measureWord reads two loads of 16 from a name, so a
// caller keeps kWordReach bytes readable from it.
inline constexpr std::ptrdiff_t kLoad = 16;
inline constexpr std::ptrdiff_t kWordReach = 2 * kLoad;
// A name or a number of kLoad or more bytes is not measured whole: its
// count says kLoad, which callers refuse.
inline constexpr int kCountCap = static_cast<int>(kLoad);
// digitsValue reads 8 bytes from the first digit.
inline constexpr std::ptrdiff_t kDigitReach = 8;

// Bytes that end a run of plain characters: control bytes, braces, the
// backslash, and bytes with the high bit set.
inline constexpr std::array<bool, 256> kEndsRun = [] {
  std::array<bool, 256> ends{};
  for (int b = 0; b < 256; ++b) ends[b] = b < 0x20 || b >= 0x80 || b == '{' || b == '}' || b == '\\';
  return ends;
}();

// Bytes a skip must look at: braces, the backslash, TAB (a token of its
// own) and bytes with the high bit set.
inline constexpr std::array<bool, 256> kStopsSkip = [] {
  std::array<bool, 256> stops{};
  for (int b = 0; b < 256; ++b) stops[b] = b >= 0x80 || b == '{' || b == '}' || b == '\\' || b == '\t';
  return stops;
}();

// The value of a hex digit, or kNotHex: only 0-9, a-f and A-F count here,
// where a run of escapes is read in bulk (the token reader takes the rest).
inline constexpr std::uint8_t kNotHex = 0xFF;
inline constexpr std::array<std::uint8_t, 256> kHexValue = [] {
  std::array<std::uint8_t, 256> values{};
  for (int b = 0; b < 256; ++b) {
    values[b] = isDigit(b) ? b - '0' : (b >= 'a' && b <= 'f') ? b - 'a' + 10 : (b >= 'A' && b <= 'F') ? b - 'A' + 10 : kNotHex;
  }
  return values;
}();

// Where the parts of a control word lie: its name from `name` on, an
// optional hyphen, its digits and the delimiter after them.
struct WordExtent {
  int nameLength;  // at most kCountCap: that means a longer name
  bool negative;
  int digitCount;  // at most kCountCap: that means a longer number
  const std::uint8_t* end;  // the delimiter
  bool spaceEnds;  // the delimiter is a space
  bool highEnds;   // the delimiter has the high bit set
};

inline WordExtent extentTo(const std::uint8_t* p, int nameLength, bool negative, int digitCount) {
  return {nameLength, negative, digitCount, p, *p == ' ', *p >= 0x80};
}

inline const std::uint8_t* findInTable(const std::uint8_t* p, const std::uint8_t* end,
                                       const std::array<bool, 256>& table) {
  while (p < end && !table[*p]) ++p;
  return p;
}

// The code of the hex escape \'hh at p, whose four bytes can be read, when
// both digits are hex digits; -1 otherwise.
inline int hexEscapeCode(const std::uint8_t* p) {
  const unsigned high = kHexValue[p[2]];
  const unsigned low = kHexValue[p[3]];
  return (high | low) > 15U ? -1 : static_cast<int>(high << 4 | low);
}

namespace portable {

// The codes of the hex escapes in a row from p on, at most `most` of them,
// where their bytes can be read; returns how many there were.
inline int decodeHexEscapes(const std::uint8_t* p, int most, std::uint8_t* codes) {
  int count = 0;
  for (; count < most && p[0] == '\\' && p[1] == '\''; ++count, p += 4) {
    const int code = hexEscapeCode(p);
    if (code < 0) break;
    codes[count] = static_cast<std::uint8_t>(code);
  }
  return count;
}

inline const std::uint8_t* findRunEnd(const std::uint8_t* p, const std::uint8_t* end) {
  return findInTable(p, end, kEndsRun);
}
inline const std::uint8_t* findSkipStop(const std::uint8_t* p, const std::uint8_t* end) {
  return findInTable(p, end, kStopsSkip);
}
inline const std::uint8_t* scanLetters(const std::uint8_t* p, const std::uint8_t* end) {
  while (p < end && isLetter(*p)) ++p;
  return p;
}
inline int countDigits(const std::uint8_t* p) {
  int count = 0;
  while (count < kCountCap && isDigit(p[count])) ++count;
  return count;
}
inline WordExtent measureWord(const std::uint8_t* name) {
  const std::uint8_t* p = scanLetters(name, name + kLoad);
  const int nameLength = static_cast<int>(p - name);
  const bool negative = nameLength < kCountCap && *p == '-';
  p += static_cast<int>(negative);
  const int digitCount = countDigits(p);
  return extentTo(p + digitCount, nameLength, negative, digitCount);
}

}  // namespace portable

}  // namespace scan

}  // namespace zav::rtf

#if defined(__SSE2__) && !defined(ZAV_NO_SIMD)
#include <emmintrin.h>

namespace zav::rtf::scan {

namespace sse2 {

inline const std::uint8_t* firstMarked(const std::uint8_t* p, __m128i marks) {
  return p + std::countr_zero(static_cast<unsigned>(_mm_movemask_epi8(marks)));
}
inline bool anyMarked(__m128i marks) { return _mm_movemask_epi8(marks) != 0; }
inline __m128i load(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline __m128i equal(__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); }
inline __m128i bracesAndBackslash(__m128i v) {
  return _mm_or_si128(_mm_or_si128(equal(v, '{'), equal(v, '}')), equal(v, '\\'));
}
// The bytes of v a skip must look at, marked in their sign bits (the high
// bit of a byte is its sign bit already).
inline __m128i skipStops(__m128i v) { return _mm_or_si128(_mm_or_si128(v, bracesAndBackslash(v)), equal(v, '\t')); }
// Bit i set where byte i of v lies in [low, low + count), taken unsigned.
inline unsigned inRange(__m128i v, char low, int count) {
  const __m128i moved = _mm_add_epi8(v, _mm_set1_epi8(static_cast<char>(-128 - low)));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(moved, _mm_set1_epi8(static_cast<char>(-128 + count)))));
}
// The number of set bits at the bottom of `bits`, at most kCountCap.
inline int countFromBottom(std::uint32_t bits) { return std::countr_zero(~bits | (1U << kCountCap)); }

inline const std::uint8_t* findRunEnd(const std::uint8_t* p, const std::uint8_t* end) {
  for (; end - p >= kLoad; p += kLoad) {
    const __m128i v = load(p);
    // Taken as signed bytes, those below 0x20 and those of 0x80 and up are
    // all less than 0x20.
    const __m128i marks = _mm_or_si128(_mm_cmplt_epi8(v, _mm_set1_epi8(0x20)), bracesAndBackslash(v));
    if (anyMarked(marks)) return firstMarked(p, marks);
  }
  return portable::findRunEnd(p, end);
}

inline const std::uint8_t* findSkipStop(const std::uint8_t* p, const std::uint8_t* end) {
  if (end - p >= kLoad) {
    const __m128i marks = skipStops(load(p));
    if (anyMarked(marks)) return firstMarked(p, marks);
    p += kLoad;
  }
  // Past the first 16 bytes, most skips are in a long run of hex (a
  // picture, a theme, a data store): 64 bytes a step, with one test.
  for (; end - p >= 4 * kLoad; p += 4 * kLoad) {
    const __m128i any = _mm_or_si128(_mm_or_si128(skipStops(load(p)), skipStops(load(p + kLoad))),
                                     _mm_or_si128(skipStops(load(p + 2 * kLoad)), skipStops(load(p + 3 * kLoad))));
    if (anyMarked(any)) break;
  }
  for (; end - p >= kLoad; p += kLoad) {
    const __m128i marks = skipStops(load(p));
    if (anyMarked(marks)) return firstMarked(p, marks);
  }
  return portable::findSkipStop(p, end);
}

inline const std::uint8_t* scanLetters(const std::uint8_t* p, const std::uint8_t* end) {
  if (end - p >= kLoad) {
    const int count = countFromBottom(inRange(_mm_or_si128(load(p), _mm_set1_epi8(0x20)), 'a', 26));
    if (count < kCountCap) return p + count;
    p += kLoad;  // longer than any name: the rest one by one
  }
  return portable::scanLetters(p, end);
}

inline int countDigits(const std::uint8_t* p) { return countFromBottom(inRange(load(p), '0', 10)); }

// Every part from the same two loads, so that the next word's place waits
// on no load made from this word's parts but its delimiter.
inline WordExtent measureWord(const std::uint8_t* name) {
  const __m128i low = load(name);
  const __m128i high = load(name + kLoad);
  const std::uint32_t letters = inRange(_mm_or_si128(low, _mm_set1_epi8(0x20)), 'a', 26);
  const std::uint32_t digits = inRange(low, '0', 10) | inRange(high, '0', 10) << kLoad;
  const auto hyphens = static_cast<std::uint32_t>(_mm_movemask_epi8(equal(low, '-')));
  const int nameLength = countFromBottom(letters);
  const bool negative = ((hyphens >> nameLength) & 1U) != 0;
  const int digitsFrom = nameLength + static_cast<int>(negative);
  const int digitCount = countFromBottom(digits >> digitsFrom);
  return extentTo(name + digitsFrom + digitCount, nameLength, negative, digitCount);
}

// Four escapes a step while sixteen bytes hold four well-formed ones; the
// rest one by one. Reads 16 bytes from every fourth escape's start.
inline int decodeHexEscapes(const std::uint8_t* p, int most, std::uint8_t* codes) {
  const __m128i introducers = _mm_set1_epi32(static_cast<int>('\\' | '\'' << 8));
  int count = 0;
  for (; most - count >= 4; count += 4, p += 4 * 4) {
    const __m128i v = load(p);
    const __m128i lower = _mm_or_si128(v, _mm_set1_epi8(0x20));
    const unsigned introduced = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, introducers)));
    const unsigned digits = inRange(v, '0', 10);
    const unsigned hex = digits | inRange(lower, 'a', 6);
    if ((introduced & 0x3333U) != 0x3333U || (hex & 0xCCCCU) != 0xCCCCU) break;
    // Each byte's value as a digit or as a letter, chosen by the digit mask.
    const __m128i digitMask = _mm_cmplt_epi8(_mm_add_epi8(v, _mm_set1_epi8(static_cast<char>(-128 - '0'))),
                                             _mm_set1_epi8(static_cast<char>(-128 + 10)));
    const __m128i values = _mm_or_si128(_mm_and_si128(digitMask, _mm_sub_epi8(v, _mm_set1_epi8('0'))),
                                        _mm_andnot_si128(digitMask, _mm_sub_epi8(lower, _mm_set1_epi8('a' - 10))));
    // The 16-bit lane of each escape's digits: high digit in its low byte.
    const __m128i pairs = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(values, _mm_set1_epi16(0x00FF)), 4),
                                       _mm_srli_epi16(values, 8));
    const __m128i codes32 = _mm_srli_epi32(pairs, 16);
    const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(codes32, codes32), _mm_setzero_si128());
    const auto four = static_cast<std::uint32_t>(_mm_cvtsi128_si32(packed));
    std::memcpy(codes + count, &four, sizeof four);
  }
  return count + portable::decodeHexEscapes(p, most - count, codes + count);
}

}  // namespace sse2

namespace best = sse2;

}  // namespace zav::rtf::scan

#else

namespace zav::rtf::scan {
namespace best = portable;
}  // namespace zav::rtf::scan

#endif

namespace zav::rtf {

using scan::WordExtent;

// The first byte in [p, end) that ends a run of plain characters, or end.
inline const std::uint8_t* findRunEnd(const std::uint8_t* p, const std::uint8_t* end) {
  return scan::best::findRunEnd(p, end);
}
// The first byte in [p, end) that a skip must look at, or end.
inline const std::uint8_t* findSkipStop(const std::uint8_t* p, const std::uint8_t* end) {
  return scan::best::findSkipStop(p, end);
}
// The end of the letters that start at p, at most up to end.
inline const std::uint8_t* scanLetters(const std::uint8_t* p, const std::uint8_t* end) {
  return scan::best::scanLetters(p, end);
}
// The number of digits (at most kCountCap) that start at p, where kLoad
// bytes can be read.
inline int countDigits(const std::uint8_t* p) { return scan::best::countDigits(p); }
// The extent of the word whose name starts at `name`, where kWordReach + 1
// bytes can be read (the delimiter may lie at the last).
inline WordExtent measureWord(const std::uint8_t* name) { return scan::best::measureWord(name); }

using scan::hexEscapeCode;

// The codes of the well-formed hex escapes in a row from p on, at most
// `most`, where 16 bytes can be read from the start of each; returns how
// many there were.
inline int decodeHexEscapes(const std::uint8_t* p, int most, std::uint8_t* codes) {
  return scan::best::decodeHexEscapes(p, most, codes);
}

// The number written by the `count` digits at p (at most 8), where
// kDigitReach bytes can be read. On a little-endian machine the digits
// are combined in one word; the loop is the other byte order's way, which
// the tests run too.
template <std::endian order = std::endian::native>
inline std::uint32_t digitsValue(const std::uint8_t* p, int count) {
  if constexpr (order == std::endian::little) {
    std::uint64_t chunk = 0;
    std::memcpy(&chunk, p, sizeof chunk);
    static_assert(sizeof chunk == scan::kDigitReach);
    // Digit values in the bytes, the first digit in the lowest (a digit
    // less '0' is its low four bits, which XOR gives without a borrow);
    // the bytes after the digits leave through the top, all of them when
    // there are no digits: two shifts, each less than 64.
    const int shift = 4 * (8 - count);
    chunk = ((chunk ^ 0x3030303030303030ULL) << shift) << shift;
    chunk = chunk * 10 + (chunk >> 8);
    chunk = (((chunk & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
             (((chunk >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
            32;
    return static_cast<std::uint32_t>(chunk);
  } else {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = value * 10U + static_cast<std::uint32_t>(p[i] - '0');
    return value;
  }
}

}  // namespace zav::rtf

#endif
