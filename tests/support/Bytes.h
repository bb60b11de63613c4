// Byte vectors for test fixtures and the few builders every format needs.
// Plain C++ without GoogleTest, like every builder here, so the Windows
// test host shares them too.
#ifndef ZAV_TESTS_SUPPORT_BYTES_H
#define ZAV_TESTS_SUPPORT_BYTES_H

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zav::test {

using Bytes = std::vector<std::uint8_t>;

// The characters of `text` as bytes (embedded NULs kept when the view has them).
inline Bytes bytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline Bytes& operator+=(Bytes& a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline Bytes operator+(Bytes a, const Bytes& b) { return a += b; }

inline Bytes repeat(std::uint8_t byte, std::size_t count) { return Bytes(count, byte); }

inline Bytes repeat(const Bytes& piece, std::size_t count) {
  Bytes out;
  out.reserve(piece.size() * count);
  for (std::size_t i = 0; i < count; ++i) out += piece;
  return out;
}

inline Bytes be32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

inline Bytes be16(std::uint16_t v) {
  return {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

inline Bytes le32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

inline Bytes le16(std::uint16_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
}

}  // namespace zav::test

#endif
