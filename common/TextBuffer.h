// The plug-ins' own growable byte string. Every text handed to the host
// lives in one of these; storage grows only in whole growth steps, and a
// chunked mode batches many small appends without moving bytes twice.
#ifndef ZAV_COMMON_TEXTBUFFER_H
#define ZAV_COMMON_TEXTBUFFER_H

#include <cstdint>
#include <cstring>
#include <limits>

namespace zav {

inline constexpr std::int32_t kGrowthStep = 8096;
inline constexpr std::int64_t kLargestCount = std::numeric_limits<std::int32_t>::max();

// A chain of fixed-size chunks fed through a staging area; only TextBuffer
// uses it, while it is in chunked mode.
class ChunkList {
 public:
  explicit ChunkList(std::int32_t chunkSize);
  virtual ~ChunkList();
  ChunkList(const ChunkList&) = delete;
  ChunkList& operator=(const ChunkList&) = delete;

  // False when the bytes were refused because a count would overflow.
  bool append(const char* bytes, std::int32_t count);
  bool appendByte(char byte);
  // Puts bytes in the staging area when they fit without a flush, as append
  // would; false, changing nothing, when they do not. The caller keeps the
  // counts in range.
  bool stage(const char* bytes, std::int32_t count) {
    if (count >= stagingCapacity_ - stagingFill_) return false;
    std::memcpy(staging_ + stagingFill_, bytes, static_cast<std::size_t>(count));
    stagingFill_ += count;
    return true;
  }
  bool stageByte(char byte) {
    if (stagingFill_ + 1 >= stagingCapacity_) return false;
    staging_[stagingFill_++] = byte;
    return true;
  }
  void flush();
  std::int32_t readOut(char* destination, std::int32_t start,
                       std::int32_t count) const;

  std::int32_t written() const { return written_; }
  std::int32_t stagingFill() const { return stagingFill_; }
  std::int32_t capacity() const { return capacity_; }
  std::int32_t chunkCount() const { return chunkCount_; }
  // Bytes held in all, staged ones included.
  std::int64_t pending() const { return std::int64_t{written_} + stagingFill_; }

 private:
  struct Chunk;
  void store(const char* bytes, std::int32_t count);
  void addChunks(std::int32_t count);

  std::int32_t capacity_ = 0;
  std::int32_t chunkSize_;
  std::int32_t chunkCount_ = 0;
  Chunk* first_ = nullptr;
  Chunk* current_ = nullptr;
  Chunk* last_ = nullptr;
  std::int32_t written_ = 0;
  char* staging_;
  std::int32_t stagingCapacity_;
  std::int32_t stagingFill_ = 0;
};

class TextBuffer {
 public:
  explicit TextBuffer(std::int32_t growthStep = kGrowthStep);
  virtual ~TextBuffer();
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

  void clear();
  void reset();
  // count 0 means "up to the terminator"; a negative count or a null pointer
  // is ignored. An append that would take a 32-bit count past its range is
  // dropped whole.
  void append(const char* bytes, std::int32_t count = 0) {
    if (bytes != nullptr && count > 0) {
      if (chunks_ == nullptr) {
        if (count < capacity_ - length_) {  // no growth needed
          std::memcpy(data_ + length_, bytes, static_cast<std::size_t>(count));
          length_ += count;
          data_[length_] = 0;
          return;
        }
      } else if (isFarFromTheBound(count) && chunks_->stage(bytes, count)) {
        return;
      }
    }
    appendAny(bytes, count);
  }
  // In direct mode the byte 0 adds nothing (it is the text "" appended); in
  // chunked mode every byte is kept.
  void appendChar(char c) {
    if (chunks_ == nullptr) {
      if (c != 0 && length_ + 1 < capacity_) {
        data_[length_++] = c;
        data_[length_] = 0;
        return;
      }
    } else if (isFarFromTheBound(1) && chunks_->stageByte(c)) {
      return;
    }
    appendCharAny(c);
  }
  void assign(const char* bytes, std::int32_t count = 0);

  void beginChunked();
  void endChunked();
  bool isChunked() const { return chunks_ != nullptr; }
  const ChunkList* chunkList() const { return chunks_; }

  const char* text() const { return data_; }
  std::int32_t length() const { return length_; }
  std::int32_t capacity() const { return capacity_; }
  std::int32_t growthStep() const { return growthStep_; }
  bool empty() const { return length_ == 0; }

 private:
  void appendAny(const char* bytes, std::int32_t count);
  void appendCharAny(char c);
  bool ensureRoomFor(std::int32_t extra);
  // The cheap test that settles every ordinary chunked append: the text
  // stays well inside a 32-bit count.
  bool isFarFromTheBound(std::int32_t extra) const {
    return std::int64_t{length_} + chunks_->pending() + extra < kLargestCount - 2 * std::int64_t{growthStep_};
  }
  bool fitsAfterChunks(std::int32_t extra) const;

  std::int32_t capacity_;
  std::int32_t growthStep_;
  char* data_;
  std::int32_t length_ = 0;
  ChunkList* chunks_ = nullptr;
};

}  // namespace zav

#endif
