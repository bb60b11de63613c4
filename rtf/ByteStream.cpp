#include "ByteStream.h"

#include <algorithm>

namespace zav::rtf {

ByteStream::ByteStream(std::span<const std::uint8_t> bytes, std::size_t blockSize)
    : memory_(bytes), memoryBlockSize_(blockSize == 0 ? bytes.size() : blockSize) {}

ByteStream::ByteStream(platform::ReadOnlyFile& file)
    : file_(&file), ownedBlock_(std::make_unique_for_overwrite<std::uint8_t[]>(kBlockSize)) {}

bool ByteStream::fetch() {
  if (!memory_.empty()) {
    const std::span<const std::uint8_t> block = memory_.first(std::min(memoryBlockSize_, memory_.size()));
    memory_ = memory_.subspan(block.size());
    cursor_ = block.data();
    end_ = cursor_ + block.size();
    return true;
  }
  if (file_ == nullptr) return false;
  const std::size_t got = file_->read(ownedBlock_.get(), kBlockSize).value_or(0);
  cursor_ = ownedBlock_.get();
  end_ = cursor_ + got;
  // A short block is the last: the read stopped at the end of the file, or
  // at a failure that would only repeat. Never ask the file again.
  if (got < kBlockSize) file_ = nullptr;
  return got > 0;
}

int ByteStream::refill() { return fill() ? *cursor_++ : -1; }

}  // namespace zav::rtf
