#include "ByteStream.h"

#include <algorithm>

namespace zav::rtf {

ByteStream::ByteStream(std::span<const std::uint8_t> bytes, std::size_t blockSize)
    : memory_(bytes), memoryBlockSize_(blockSize == 0 ? bytes.size() : blockSize) {}

// A small file gets a block of its own size.
ByteStream::ByteStream(platform::ReadOnlyFile& file)
    : file_(&file),
      unread_(file.size()),
      blockSize_(unread_ ? static_cast<std::size_t>(std::min<std::uint64_t>(*unread_, kBlockSize)) : kBlockSize),
      ownedBlock_(blockSize_) {}

bool ByteStream::fetch() {
  if (!memory_.empty()) {
    const std::span<const std::uint8_t> block = memory_.first(std::min(memoryBlockSize_, memory_.size()));
    memory_ = memory_.subspan(block.size());
    cursor_ = block.data();
    end_ = cursor_ + block.size();
    return true;
  }
  if (file_ == nullptr) return false;
  // With the size known, the read that would only find the end is spared.
  const std::size_t wanted = unread_ ? static_cast<std::size_t>(std::min<std::uint64_t>(*unread_, blockSize_)) : blockSize_;
  const std::size_t got = wanted > 0 ? file_->read(ownedBlock_.data(), wanted).value_or(0) : 0;
  cursor_ = ownedBlock_.data();
  end_ = cursor_ + got;
  if (unread_) *unread_ -= got;
  // A short block is the last: the read stopped at the end of the file, or
  // at a failure that would only repeat. Never ask the file again.
  if (got < wanted || got == 0 || unread_ == std::uint64_t{0}) file_ = nullptr;
  return got > 0;
}

int ByteStream::refill() { return fill() ? *cursor_++ : -1; }

}  // namespace zav::rtf
