#include "TextBuffer.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace zav {

namespace {

// The smallest multiple of `step` strictly greater than needed + 1; 0 when
// that no longer fits a 32-bit count.
std::int32_t grownCapacity(std::int64_t needed, std::int32_t step) {
  const std::int64_t plusOne = needed + 1;
  const std::int64_t capacity = plusOne + step - (plusOne % step);
  return capacity > kLargestCount ? 0 : static_cast<std::int32_t>(capacity);
}

}  // namespace

// --- ChunkList --------------------------------------------------------------

struct ChunkList::Chunk {
  explicit Chunk(std::int32_t size) : bytes(new char[static_cast<std::size_t>(size)]) {}
  ~Chunk() { delete[] bytes; }
  Chunk(const Chunk&) = delete;
  Chunk& operator=(const Chunk&) = delete;

  char* bytes;
  Chunk* next = nullptr;
};

ChunkList::ChunkList(std::int32_t chunkSize)
    : chunkSize_(chunkSize),
      staging_(new char[static_cast<std::size_t>(chunkSize)]),
      stagingCapacity_(chunkSize) {}

ChunkList::~ChunkList() {
  while (first_ != nullptr) {
    Chunk* next = first_->next;
    delete first_;
    first_ = next;
  }
  delete[] staging_;
}

bool ChunkList::append(const char* bytes, std::int32_t count) {
  if (pending() + count > kLargestCount) return false;
  if (count < stagingCapacity_) {
    if (stagingFill_ + count >= stagingCapacity_) flush();
    std::memcpy(staging_ + stagingFill_, bytes, static_cast<std::size_t>(count));
    stagingFill_ += count;
  } else {
    flush();
    store(bytes, count);
  }
  return true;
}

bool ChunkList::appendByte(char byte) {
  if (pending() + 1 > kLargestCount) return false;
  if (stagingFill_ + 1 >= stagingCapacity_) flush();
  staging_[stagingFill_++] = byte;
  return true;
}

void ChunkList::flush() {
  if (stagingFill_ <= 0) return;
  store(staging_, stagingFill_);
  stagingFill_ = 0;
}

void ChunkList::store(const char* bytes, std::int32_t count) {
  if (capacity_ < written_ + count) {
    const std::int32_t shortfall = written_ + count - capacity_;
    addChunks(shortfall / chunkSize_ + (shortfall % chunkSize_ != 0 ? 1 : 0));
  }
  std::int32_t offset = written_ % chunkSize_;
  Chunk* chunk = current_;
  // A full current chunk: the write position lies in the next one.
  if (offset == 0 && written_ > 0) chunk = chunk->next;
  while (count > 0) {
    const std::int32_t n = std::min(count, chunkSize_ - offset);
    std::memcpy(chunk->bytes + offset, bytes, static_cast<std::size_t>(n));
    bytes += n;
    count -= n;
    written_ += n;
    current_ = chunk;
    offset = 0;
    if (count > 0) chunk = chunk->next;
  }
}

void ChunkList::addChunks(std::int32_t count) {
  if (count <= 0) return;
  if (first_ == nullptr) {
    first_ = current_ = last_ = new Chunk(chunkSize_);
    ++chunkCount_;
    --count;
  }
  for (; count > 0; --count) {
    last_->next = new Chunk(chunkSize_);
    last_ = last_->next;
    ++chunkCount_;
  }
  capacity_ = chunkSize_ * chunkCount_;
}

std::int32_t ChunkList::readOut(char* destination, std::int32_t start,
                                std::int32_t count) const {
  const Chunk* chunk = first_;
  for (std::int32_t i = start / chunkSize_; i > 0 && chunk != nullptr; --i) {
    chunk = chunk->next;
  }
  std::int32_t offset = start % chunkSize_;
  std::int32_t copied = 0;
  while (copied < count && chunk != nullptr) {
    const std::int32_t n = std::min(count - copied, chunkSize_ - offset);
    std::memcpy(destination + copied, chunk->bytes + offset, static_cast<std::size_t>(n));
    copied += n;
    offset = 0;
    chunk = chunk->next;
  }
  return count;
}

// --- TextBuffer -------------------------------------------------------------

TextBuffer::TextBuffer(std::int32_t growthStep)
    : capacity_(growthStep),
      growthStep_(growthStep),
      data_(new char[static_cast<std::size_t>(growthStep)]) {
  data_[0] = 0;
}

TextBuffer::~TextBuffer() {
  delete[] data_;
  delete chunks_;
}

void TextBuffer::clear() {
  if (length_ > 0) {
    length_ = 0;
    data_[0] = 0;
  }
}

void TextBuffer::reset() {
  if (capacity_ > growthStep_) {
    char* fresh = new char[static_cast<std::size_t>(growthStep_)];
    delete[] data_;
    data_ = fresh;
    capacity_ = growthStep_;
  }
  data_[0] = 0;
  length_ = 0;
}

bool TextBuffer::ensureRoomFor(std::int32_t extra) {
  const std::int64_t needed = std::int64_t{length_} + extra;
  if (capacity_ > needed) return true;
  const std::int32_t capacity = grownCapacity(needed, growthStep_);
  if (capacity == 0) return false;
  char* grown = new char[static_cast<std::size_t>(capacity)];
  std::memcpy(grown, data_, static_cast<std::size_t>(length_));
  delete[] data_;
  data_ = grown;
  capacity_ = capacity;
  return true;
}

// The chunked bytes join the direct text when chunked mode ends: keep the sum
// in range. The cheap test settles every ordinary text.
bool TextBuffer::fitsAfterChunks(std::int32_t extra) const {
  if (isFarFromTheBound(extra)) return true;
  return grownCapacity(std::int64_t{length_} + chunks_->pending() + extra, growthStep_) != 0;
}

void TextBuffer::appendAny(const char* bytes, std::int32_t count) {
  if (bytes == nullptr) return;
  if (count == 0) {
    const std::size_t measured = std::strlen(bytes);
    if (measured > static_cast<std::size_t>(kLargestCount)) return;
    count = static_cast<std::int32_t>(measured);
  }
  if (count <= 0) return;
  if (chunks_ != nullptr) {
    if (!fitsAfterChunks(count)) return;
    chunks_->append(bytes, count);
    return;
  }
  if (!ensureRoomFor(count)) return;
  std::memcpy(data_ + length_, bytes, static_cast<std::size_t>(count));
  length_ += count;
  data_[length_] = 0;
}

void TextBuffer::appendCharAny(char c) {
  if (chunks_ != nullptr) {
    if (!fitsAfterChunks(1)) return;
    chunks_->appendByte(c);
    return;
  }
  const char text[2] = {c, 0};
  appendAny(text, 0);
}

void TextBuffer::assign(const char* bytes, std::int32_t count) {
  clear();
  append(bytes, count);
}

void TextBuffer::beginChunked() {
  if (chunks_ == nullptr) chunks_ = new ChunkList(growthStep_);
}

void TextBuffer::endChunked() {
  if (chunks_ == nullptr) return;
  chunks_->flush();
  const std::int32_t n = chunks_->written();
  if (n > 0 && ensureRoomFor(n)) {
    chunks_->readOut(data_ + length_, 0, n);
    length_ += n;
    data_[length_] = 0;
  }
  delete chunks_;
  chunks_ = nullptr;
}

}  // namespace zav
