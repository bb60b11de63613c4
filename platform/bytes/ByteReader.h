// Reads fields from bytes already in memory. A read that would pass the end
// yields 0 or an empty span, leaves the position where it was and sets a
// sticky flag, so a header can be read field by field and checked once.
#ifndef ZAV_BYTES_BYTEREADER_H
#define ZAV_BYTES_BYTEREADER_H

#include <cstddef>
#include <cstdint>
#include <span>

#include "Endian.h"

namespace zav {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

  std::span<const std::uint8_t> bytes(std::size_t n) {
    // Compare with what is left: position + n can wrap for a hostile n.
    if (!ok_ || n > remaining()) {
      ok_ = false;
      return {};
    }
    auto out = data_.subspan(position_, n);
    position_ += n;
    return out;
  }

  void skip(std::size_t n) { bytes(n); }

  std::uint8_t u8() {
    auto b = bytes(1);
    return b.empty() ? 0 : b[0];
  }
  std::uint16_t be16() { return number<2, bigEndian16>(); }
  std::uint32_t be32() { return number<4, bigEndian32>(); }
  std::uint32_t le32() { return number<4, littleEndian32>(); }
  std::uint64_t le64() { return number<8, littleEndian64>(); }

  std::size_t remaining() const { return data_.size() - position_; }
  // False from the first read that asked for more than was left.
  bool ok() const { return ok_; }

 private:
  // The next `width` bytes as `decode` reads them; 0 past the end.
  template <std::size_t width, auto decode>
  auto number() -> decltype(decode(nullptr)) {
    auto b = bytes(width);
    return b.empty() ? 0 : decode(b.data());
  }

  std::span<const std::uint8_t> data_;
  std::size_t position_ = 0;
  bool ok_ = true;
};

}  // namespace zav

#endif
