// Finding, many bytes at a time, where a stretch of bytes that no handler
// looks at one by one comes to an end. Sixteen bytes a step where the
// processor has SSE2, one byte a step through a table elsewhere.
#ifndef ZAV_RTF_BYTESCAN_H
#define ZAV_RTF_BYTESCAN_H

#include <array>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
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

#if defined(__SSE2__)
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
#if defined(__SSE2__)
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

// The first byte in [p, end) that a skip must look at, or end.
inline const std::uint8_t* findSkipStop(const std::uint8_t* p, const std::uint8_t* end) {
#if defined(__SSE2__)
  for (; end - p >= 16; p += 16) {
    const __m128i v = scan::load(p);
    // The high bit is the byte's sign bit, which the mask collects as it is.
    const __m128i marks = _mm_or_si128(_mm_or_si128(v, scan::bracesAndBackslash(v)), scan::equal(v, '\t'));
    if (scan::anyMarked(marks)) return scan::firstMarked(p, marks);
  }
#endif
  return scan::findInTable(p, end, scan::kStopsSkip);
}

inline constexpr bool isLetter(int c) { return static_cast<unsigned>((c | 0x20) - 'a') < 26U; }

// The end of the letters that start at p (at most up to end); adds their
// byte values to checksum. A name within 16 readable bytes is measured and
// summed in one step.
inline const std::uint8_t* scanLetters(const std::uint8_t* p, const std::uint8_t* end, int& checksum) {
#if defined(__SSE2__)
  if (end - p >= 16) {
    const __m128i v = scan::load(p);
    // Letters folded to lower case and moved to the bottom of the signed range.
    const __m128i moved = _mm_add_epi8(_mm_or_si128(v, _mm_set1_epi8(0x20)), _mm_set1_epi8(static_cast<char>(128 - 'a')));
    const __m128i letters = _mm_cmplt_epi8(moved, _mm_set1_epi8(static_cast<char>(-128 + 26)));
    const auto others = static_cast<unsigned>(~_mm_movemask_epi8(letters)) & 0xFFFFU;
    if (others != 0) {
      const int length = std::countr_zero(others);
      alignas(16) static constexpr std::array<std::uint8_t, 32> kFirstBytes = [] {
        std::array<std::uint8_t, 32> bytes{};
        for (std::size_t i = 0; i < 16; ++i) bytes[i] = 0xFF;
        return bytes;
      }();
      const __m128i kept = _mm_and_si128(v, scan::load(kFirstBytes.data() + 16 - length));
      const __m128i sums = _mm_sad_epu8(kept, _mm_setzero_si128());
      checksum += _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
      return p + length;
    }
  }
#endif
  while (p < end && isLetter(*p)) checksum += *p++;
  return p;
}

inline constexpr bool isDigit(int c) { return c >= '0' && c <= '9'; }

}  // namespace zav::rtf

#endif
