// The reader's input: bytes of a file fetched in large blocks, or bytes
// already in memory. The reader takes single bytes with next(), or scans
// the unread part of the current block in bulk and marks how far it got.
#ifndef ZAV_RTF_BYTESTREAM_H
#define ZAV_RTF_BYTESTREAM_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "CacheLineBlock.h"
#include "Platform.h"

namespace zav::rtf {

class ByteStream {
 public:
  // Most documents fit one block, so most files take one read.
  static constexpr std::size_t kBlockSize = 1024 * 1024;

  // A stream with nothing in it.
  ByteStream() = default;
  // The bytes must outlive the stream. They are handed out in blocks of
  // `blockSize` bytes, as a file's would be; by default in one.
  explicit ByteStream(std::span<const std::uint8_t> bytes, std::size_t blockSize = 0);
  // Reads the file from its current position on (its start, for a file
  // just opened), as far as the size it had when it was opened, or to its
  // end when that size is unknown; the file must outlive the stream. Bytes are taken as they are stored (no line-end translation).
  explicit ByteStream(platform::ReadOnlyFile& file);

  ByteStream(const ByteStream&) = delete;
  ByteStream& operator=(const ByteStream&) = delete;

  // The next byte (0 to 255), or -1 at the end. A failed read ends the
  // stream as the end of the file would.
  int next() { return cursor_ < end_ ? *cursor_++ : refill(); }

  // The unread bytes of the current block, [cursor, end); empty when the
  // block is used up.
  const std::uint8_t* cursor() const { return cursor_; }
  const std::uint8_t* end() const { return end_; }
  // Marks the bytes before `position`, a pointer into the current block, as read.
  void advanceTo(const std::uint8_t* position) { cursor_ = position; }
  // Fetches the next block once the current one is used up. False at the
  // end of the input.
  bool fill() { return cursor_ < end_ || fetch(); }

 private:
  bool fetch();
  int refill();

  platform::ReadOnlyFile* file_ = nullptr;
  std::optional<std::uint64_t> unread_;  // bytes of the file still to come, when known
  std::size_t blockSize_ = 0;
  CacheLineBlock ownedBlock_;
  // Bytes in memory not yet in a block, and the size of their blocks.
  std::span<const std::uint8_t> memory_;
  std::size_t memoryBlockSize_ = 0;
  const std::uint8_t* cursor_ = nullptr;
  const std::uint8_t* end_ = nullptr;
};

}  // namespace zav::rtf

#endif
