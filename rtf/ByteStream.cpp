#include "ByteStream.h"

namespace zav::rtf {

ByteStream::ByteStream(std::span<const std::uint8_t> bytes)
    : block_(bytes.data()), end_(bytes.size()) {}

ByteStream::ByteStream(platform::ReadOnlyFile& file)
    : file_(&file), ownedBlock_(std::make_unique<std::uint8_t[]>(kBlockSize)), block_(ownedBlock_.get()) {}

int ByteStream::refill() {
  if (file_ == nullptr) return -1;
  const auto got = file_->read(ownedBlock_.get(), kBlockSize);
  position_ = 0;
  end_ = got.value_or(0);
  if (end_ == 0) {
    file_ = nullptr;  // the end is final: never ask the file again
    return -1;
  }
  return block_[position_++];
}

}  // namespace zav::rtf
