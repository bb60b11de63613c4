// One file's bytes, shared by the readers of one open call. Its head and
// its tail are each read once, on first use, and any other span on demand,
// so nothing still in memory is read again. Made over bytes in memory it
// reads no file at all, so every reader on top of it runs from memory too.
#ifndef ZAV_PLATFORM_FILEVIEW_H
#define ZAV_PLATFORM_FILEVIEW_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "CacheLineBlock.h"
#include "Platform.h"

namespace zav::platform {

class FileView {
 public:
  // Enough for the tags, the frame search and the first chunk headers of
  // most files, and for the tags and lists that writers put at the end.
  static constexpr std::size_t kHeadSize = 16 * 1024;
  static constexpr std::size_t kTailSize = 4 * 1024;
  // A read elsewhere fetches at least this much, so headers that lie close
  // together cost one read.
  static constexpr std::size_t kReadAhead = 4 * 1024;

  // `tailSize`: how much of the end is read with the first use of any of it.
  explicit FileView(const char* path, std::size_t tailSize = kTailSize);
  explicit FileView(std::span<const std::uint8_t> bytes);
  FileView(const FileView&) = delete;
  FileView& operator=(const FileView&) = delete;

  bool isOpen() const { return size_.has_value(); }
  // The size in bytes; nothing when the file did not open or has no size.
  std::optional<std::uint64_t> size() const { return size_; }

  // Up to `count` bytes at `offset`: fewer at the end of the file, none
  // past it; nothing when a read call fails. Valid until the next call.
  std::optional<std::span<const std::uint8_t>> bytesAt(std::uint64_t offset, std::size_t count);

  // The open file, for the system's own I/O over it; null over memory.
  ReadOnlyFile* file() { return file_ && file_->isOpen() ? &*file_ : nullptr; }

 private:
  // Bytes read from the file; not cleared before they are read into.
  struct Buffer {
    CacheLineBlock storage;
    std::size_t size = 0;
    std::size_t capacity = 0;
    // Room for `count` bytes; what was there before is not kept.
    std::uint8_t* makeRoom(std::size_t count);
    // Up to `count` of the bytes from `from` on.
    std::span<const std::uint8_t> slice(std::uint64_t from, std::size_t count) const;
  };

  bool loadHead();
  bool loadTail();
  std::optional<std::span<const std::uint8_t>> assemble(std::uint64_t offset, std::size_t count);

  std::optional<ReadOnlyFile> file_;
  std::span<const std::uint8_t> memory_;
  std::optional<std::uint64_t> size_;
  std::uint64_t headEnd_ = 0;    // the head is [0, headEnd_)
  std::uint64_t tailStart_ = 0;  // the tail is [tailStart_, size)
  bool headRead_ = false;
  bool tailRead_ = false;
  Buffer head_;
  Buffer tail_;
  std::uint64_t blockOffset_ = 0;
  Buffer block_;
};

}  // namespace zav::platform

#endif
