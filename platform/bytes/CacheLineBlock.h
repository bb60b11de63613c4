// Room for bytes read from a file, starting on a cache line. The kernel
// copies into such a block several times faster than into one 16 bytes past
// a line, where ordinary allocations of this size tend to land.
#ifndef ZAV_BYTES_CACHELINEBLOCK_H
#define ZAV_BYTES_CACHELINEBLOCK_H

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>

namespace zav {

class CacheLineBlock {
 public:
  static constexpr std::size_t kAlignment = 64;

  // No room at all.
  CacheLineBlock() = default;
  // Room for `size` bytes, not cleared. An ordinary allocation a line
  // larger, with the block placed on its first line: the allocator's own
  // aligned allocation costs more for every block.
  explicit CacheLineBlock(std::size_t size) : storage_(allocate(size)), data_(firstLine(storage_.get())) {}

  std::uint8_t* data() const { return data_; }

 private:
  static std::unique_ptr<std::uint8_t[]> allocate(std::size_t size) {
    // A size that would wrap asks for more than any allocation can give,
    // so it fails as too large.
    const std::size_t padded = size + (kAlignment - 1);
    return std::make_unique_for_overwrite<std::uint8_t[]>(padded < size ? std::numeric_limits<std::size_t>::max()
                                                                         : padded);
  }
  static std::uint8_t* firstLine(std::uint8_t* p) {
    const auto address = reinterpret_cast<std::uintptr_t>(p);
    return p + (kAlignment - address % kAlignment) % kAlignment;
  }

  std::unique_ptr<std::uint8_t[]> storage_;
  std::uint8_t* data_ = nullptr;
};

}  // namespace zav

#endif
