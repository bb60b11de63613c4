// Byte-order helpers shared by every reader of stored bytes. Bytes are
// unsigned so that shifts need no casts.
#ifndef ZAV_BYTES_ENDIAN_H
#define ZAV_BYTES_ENDIAN_H

#include <cstddef>
#include <cstdint>

namespace zav {

inline std::uint32_t bigEndian32(const std::uint8_t* b) {
  return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) |
         (std::uint32_t{b[2]} << 8) | std::uint32_t{b[3]};
}

inline std::uint16_t bigEndian16(const std::uint8_t* b) {
  return static_cast<std::uint16_t>((b[0] << 8) | b[1]);
}

inline std::uint32_t littleEndian32(const std::uint8_t* b) {
  return std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) |
         (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24);
}

inline std::uint64_t littleEndian64(const std::uint8_t* b) {
  return std::uint64_t{littleEndian32(b)} | (std::uint64_t{littleEndian32(b + 4)} << 32);
}

// Writes the low `width` (at most 8) bytes of `value` to `out`, least
// significant first.
inline void storeLittleEndian(std::uint64_t value, std::size_t width, char* out) {
  for (std::size_t i = 0; i < width; ++i) out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A RIFF chunk identifier: the four bytes as they appear in the file, the
// first one in the lowest eight bits.
constexpr std::uint32_t chunkId(char a, char b, char c, char d) {
  return std::uint32_t{static_cast<std::uint8_t>(a)} |
         (std::uint32_t{static_cast<std::uint8_t>(b)} << 8) |
         (std::uint32_t{static_cast<std::uint8_t>(c)} << 16) |
         (std::uint32_t{static_cast<std::uint8_t>(d)} << 24);
}

}  // namespace zav

#endif
