// Scanning RTF bytes many at a time: where a stretch that no handler looks
// at byte by byte comes to an end, and how long the parts of a control word
// are. Sixteen bytes a step where the processor has SSE2, one byte a step
// elsewhere (the 32-bit DLL, and the tests built with ZAV_NO_SIMD to check
// that way).
#ifndef ZAV_RTF_BYTESCAN_H
#define ZAV_RTF_BYTESCAN_H

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) && !defined(ZAV_NO_SIMD)
#include <emmintrin.h>
#endif

namespace zav::rtf {

namespace scan {

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

inline const std::uint8_t* findInTable(const std::uint8_t* p, const std::uint8_t* end,
                                       const std::array<bool, 256>& table) {
  while (p < end && !table[*p]) ++p;
  return p;
}

#if defined(__SSE2__) && !defined(ZAV_NO_SIMD)
inline const std::uint8_t* firstMarked(const std::uint8_t* p, __m128i marks) {
  return p + std::countr_zero(static_cast<unsigned>(_mm_movemask_epi8(marks)));
}
inline bool anyMarked(__m128i marks) { return _mm_movemask_epi8(marks) != 0; }
inline __m128i load(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline __m128i equal(__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); }
inline __m128i bracesAndBackslash(__m128i v) {
  return _mm_or_si128(_mm_or_si128(equal(v, '{'), equal(v, '}')), equal(v, '\\'));
}
#endif

}  // namespace scan

// The first byte in [p, end) that ends a run of plain characters, or end.
inline const std::uint8_t* findRunEnd(const std::uint8_t* p, const std::uint8_t* end) {
#if defined(__SSE2__) && !defined(ZAV_NO_SIMD)
  for (; end - p >= 16; p += 16) {
    const __m128i v = scan::load(p);
    // Taken as signed bytes, those below 0x20 and those of 0x80 and up are
    // all less than 0x20.
    const __m128i marks = _mm_or_si128(_mm_cmplt_epi8(v, _mm_set1_epi8(0x20)), scan::bracesAndBackslash(v));
    if (scan::anyMarked(marks)) return scan::firstMarked(p, marks);
  }
#endif
  return scan::findInTable(p, end, scan::kEndsRun);
}

#if defined(__SSE2__) && !defined(ZAV_NO_SIMD)
namespace scan {
// The bytes of v a skip must look at, marked in their sign bits (the high
// bit of a byte is its sign bit already).
inline __m128i skipStops(__m128i v) { return _mm_or_si128(_mm_or_si128(v, bracesAndBackslash(v)), equal(v, '\t')); }
}  // namespace scan
#endif

// The first byte in [p, end) that a skip must look at, or end.
inline const std::uint8_t* findSkipStop(const std::uint8_t* p, const std::uint8_t* end) {
#if defined(__SSE2__) && !defined(ZAV_NO_SIMD)
  if (end - p >= 16) {
    const __m128i marks = scan::skipStops(scan::load(p));
    if (scan::anyMarked(marks)) return scan::firstMarked(p, marks);
    p += 16;
  }
  // Past the first 16 bytes, most skips are in a long run of hex (a
  // picture, a theme, a data store): 64 bytes a step, with one test.
  for (; end - p >= 64; p += 64) {
    const __m128i any = _mm_or_si128(_mm_or_si128(scan::skipStops(scan::load(p)), scan::skipStops(scan::load(p + 16))),
                                     _mm_or_si128(scan::skipStops(scan::load(p + 32)), scan::skipStops(scan::load(p + 48))));
    if (scan::anyMarked(any)) break;
  }
  for (; end - p >= 16; p += 16) {
    const __m128i marks = scan::skipStops(scan::load(p));
    if (scan::anyMarked(marks)) return scan::firstMarked(p, marks);
  }
#endif
  return scan::findInTable(p, end, scan::kStopsSkip);
}

inline constexpr bool isLetter(int c) { return static_cast<unsigned>((c | 0x20) - 'a') < 26U; }
inline constexpr bool isDigit(int c) { return c >= '0' && c <= '9'; }

#if defined(__SSE2__) && !defined(ZAV_NO_SIMD)
namespace scan {
// Bit i set where byte i of v lies in [low, low + count), taken unsigned.
inline unsigned inRange(__m128i v, char low, int count) {
  const __m128i moved = _mm_add_epi8(v, _mm_set1_epi8(static_cast<char>(-128 - low)));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(moved, _mm_set1_epi8(static_cast<char>(-128 + count)))));
}
}  // namespace scan
#endif

// The end of the letters that start at p, at most up to end.
inline const std::uint8_t* scanLetters(const std::uint8_t* p, const std::uint8_t* end) {
#if defined(__SSE2__) && !defined(ZAV_NO_SIMD)
  if (end - p >= 16) {
    const unsigned letters = scan::inRange(_mm_or_si128(scan::load(p), _mm_set1_epi8(0x20)), 'a', 26);
    const int count = std::countr_zero((~letters & 0xFFFFU) | 0x10000U);
    if (count < 16) return p + count;
    p += 16;  // longer than any name: the rest one by one
  }
#endif
  while (p < end && isLetter(*p)) ++p;
  return p;
}

// The number of digits (at most 16) that start at p, where 16 bytes can be read.
inline int countDigits(const std::uint8_t* p) {
#if defined(__SSE2__) && !defined(ZAV_NO_SIMD)
  const unsigned digits = scan::inRange(scan::load(p), '0', 10);
  return std::countr_zero((~digits & 0xFFFFU) | 0x10000U);
#else
  int count = 0;
  while (count < 16 && isDigit(p[count])) ++count;
  return count;
#endif
}

// Where the parts of a control word lie: its name from `name` on, an
// optional hyphen, its digits and the delimiter after them.
struct WordExtent {
  int nameLength;  // at most 16: 16 means a longer name
  bool negative;
  int digitCount;  // at most 16: 16 means a longer number
  const std::uint8_t* end;  // the delimiter
  bool spaceEnds;  // the delimiter is a space
  bool highEnds;   // the delimiter has the high bit set
};

// The extent of the word whose name starts at `name`, where 33 bytes can be
// read. With SSE2 every part is found from the same two loads, so the
// next word's place waits on no load made from this word's parts but its
// delimiter.
inline WordExtent measureWord(const std::uint8_t* name) {
#if defined(__SSE2__) && !defined(ZAV_NO_SIMD)
  const __m128i low = scan::load(name);
  const __m128i high = scan::load(name + 16);
  // A set bit 16 caps each count at 16 and keeps the scanned bits from
  // being all zero.
  constexpr std::uint32_t kCap = 1U << 16;
  const std::uint32_t letters = scan::inRange(_mm_or_si128(low, _mm_set1_epi8(0x20)), 'a', 26);
  const std::uint32_t digits = scan::inRange(low, '0', 10) | scan::inRange(high, '0', 10) << 16;
  const std::uint32_t hyphens = static_cast<std::uint32_t>(_mm_movemask_epi8(scan::equal(low, '-')));
  const int nameLength = std::countr_zero(~letters | kCap);
  const bool negative = ((hyphens >> nameLength) & 1U) != 0;
  const int digitsFrom = nameLength + static_cast<int>(negative);
  const int digitCount = std::countr_zero(~(digits >> digitsFrom) | kCap);
  const std::uint8_t* p = name + digitsFrom + digitCount;
#else
  const std::uint8_t* p = scanLetters(name, name + 16);
  const int nameLength = static_cast<int>(p - name);
  const bool negative = nameLength < 16 && *p == '-';
  if (negative) ++p;
  const int digitCount = countDigits(p);
  p += digitCount;
#endif
  return {nameLength, negative, digitCount, p, *p == ' ', *p >= 0x80};
}

// The number written by the `count` digits at p (at most 8), where 8 bytes
// can be read.
inline std::uint32_t digitsValue(const std::uint8_t* p, int count) {
  if constexpr (std::endian::native == std::endian::little) {
    std::uint64_t chunk = 0;
    std::memcpy(&chunk, p, 8);
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
  }
  std::uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = value * 10U + static_cast<std::uint32_t>(p[i] - '0');
  return value;
}

}  // namespace zav::rtf

#endif
