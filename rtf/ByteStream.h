// The reader's input: bytes of a file fetched in large blocks, or bytes
// already in memory. One byte at a time costs a compare and an index; the
// file is touched once per block.
#ifndef ZAV_RTF_BYTESTREAM_H
#define ZAV_RTF_BYTESTREAM_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "Platform.h"

namespace zav::rtf {

class ByteStream {
 public:
  static constexpr std::size_t kBlockSize = 64 * 1024;

  // A stream with nothing in it.
  ByteStream() = default;
  // The bytes must outlive the stream.
  explicit ByteStream(std::span<const std::uint8_t> bytes);
  // Reads the file from its current position on; the file must outlive the
  // stream. Bytes are taken as they are stored (no line-end translation).
  explicit ByteStream(platform::ReadOnlyFile& file);

  ByteStream(const ByteStream&) = delete;
  ByteStream& operator=(const ByteStream&) = delete;

  // The next byte (0 to 255), or -1 at the end. A failed read ends the
  // stream as the end of the file would.
  int next() { return position_ < end_ ? block_[position_++] : refill(); }

 private:
  int refill();

  platform::ReadOnlyFile* file_ = nullptr;
  std::unique_ptr<std::uint8_t[]> ownedBlock_;
  const std::uint8_t* block_ = nullptr;
  std::size_t position_ = 0;
  std::size_t end_ = 0;
};

}  // namespace zav::rtf

#endif
