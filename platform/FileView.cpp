#include "FileView.h"

#include <algorithm>
#include <cstring>

namespace zav::platform {

std::uint8_t* FileView::Buffer::makeRoom(std::size_t count) {
  if (count > capacity) {
    storage = CacheLineBlock(count);
    capacity = count;
  }
  size = count;
  return storage.data();
}

std::span<const std::uint8_t> FileView::Buffer::slice(std::uint64_t from, std::size_t count) const {
  if (from >= size) return {};
  const auto start = static_cast<std::size_t>(from);
  return {storage.data() + start, std::min(count, size - start)};
}

FileView::FileView(const char* path, std::size_t tailSize) {
  file_.emplace(path);
  if (!file_->isOpen()) return;
  size_ = file_->size();
  if (!size_) return;
  headEnd_ = std::min<std::uint64_t>(*size_, kHeadSize);
  tailStart_ = std::max<std::uint64_t>(headEnd_, *size_ - std::min<std::uint64_t>(*size_, tailSize));
}

FileView::FileView(std::span<const std::uint8_t> bytes) : memory_(bytes), size_(bytes.size()) {}

bool FileView::loadHead() {
  if (headRead_) return true;
  const auto wanted = static_cast<std::size_t>(headEnd_);
  const auto got = file_->readAt(0, head_.makeRoom(wanted), wanted);
  if (!got) return false;
  head_.size = *got;
  headRead_ = true;
  return true;
}

bool FileView::loadTail() {
  if (tailRead_) return true;
  const auto wanted = static_cast<std::size_t>(*size_ - tailStart_);
  const auto got = file_->readAt(tailStart_, tail_.makeRoom(wanted), wanted);
  if (!got) return false;
  tail_.size = *got;
  tailRead_ = true;
  return true;
}

std::optional<std::span<const std::uint8_t>> FileView::bytesAt(std::uint64_t offset,
                                                               std::size_t count) {
  if (!size_) return std::nullopt;
  if (offset >= *size_ || count == 0) return std::span<const std::uint8_t>();
  const auto available = static_cast<std::size_t>(std::min<std::uint64_t>(count, *size_ - offset));
  if (!file_) return memory_.subspan(static_cast<std::size_t>(offset), available);

  const std::uint64_t end = offset + available;
  if (end <= headEnd_) {
    if (!loadHead()) return std::nullopt;
    return head_.slice(offset, available);
  }
  if (offset >= tailStart_) {
    if (!loadTail()) return std::nullopt;
    return tail_.slice(offset - tailStart_, available);
  }
  if (offset >= blockOffset_ && end <= blockOffset_ + block_.size) {
    return block_.slice(offset - blockOffset_, available);
  }
  return assemble(offset, available);
}

// Fills the block from `offset` on: what the head or the tail already hold
// is copied, only the rest is read.
std::optional<std::span<const std::uint8_t>> FileView::assemble(std::uint64_t offset,
                                                                std::size_t count) {
  const auto wanted = static_cast<std::size_t>(
      std::min<std::uint64_t>(std::max(count, kReadAhead), *size_ - offset));
  std::uint8_t* out = block_.makeRoom(wanted);
  blockOffset_ = offset;
  std::size_t filled = 0;
  if (headRead_ && offset < head_.size) {
    const auto fromHead = head_.slice(offset, wanted);
    std::memcpy(out, fromHead.data(), fromHead.size());
    filled = fromHead.size();
  }
  const std::uint64_t readEnd = tailRead_ ? std::min(tailStart_, offset + wanted) : offset + wanted;
  if (offset + filled < readEnd) {
    const auto toRead = static_cast<std::size_t>(readEnd - (offset + filled));
    const auto got = file_->readAt(offset + filled, out + filled, toRead);
    if (!got) {
      block_.size = 0;
      return std::nullopt;
    }
    filled += *got;
    if (*got < toRead) {  // the file ended early
      block_.size = filled;
      return block_.slice(0, count);
    }
  }
  if (tailRead_ && offset + filled >= tailStart_ && filled < wanted) {
    const auto fromTail = tail_.slice(offset + filled - tailStart_, wanted - filled);
    if (!fromTail.empty()) std::memcpy(out + filled, fromTail.data(), fromTail.size());
    filled += fromTail.size();
  }
  block_.size = filled;
  return block_.slice(0, count);
}

}  // namespace zav::platform
