#include "TextBuffer.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <string>

namespace zav {
namespace {

std::string textOf(const TextBuffer& buffer) {
  return std::string(buffer.text(), static_cast<std::size_t>(buffer.length()));
}

// Readable bytes of a size near the 32-bit range that cost no memory: pages
// of zeros reserved, never touched unless the code under test reads them.
class ReservedBytes {
 public:
  explicit ReservedBytes(std::size_t size) : size_(size) {
    void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped != MAP_FAILED) bytes_ = static_cast<const char*>(mapped);
  }
  ~ReservedBytes() {
    if (bytes_ != nullptr) munmap(const_cast<char*>(bytes_), size_);
  }
  ReservedBytes(const ReservedBytes&) = delete;
  ReservedBytes& operator=(const ReservedBytes&) = delete;
  const char* bytes() const { return bytes_; }

 private:
  std::size_t size_;
  const char* bytes_ = nullptr;
};

TEST(TextBuffer, StartsEmptyWithOneGrowthStep) {
  TextBuffer buffer;
  EXPECT_EQ(buffer.capacity(), 8096);
  EXPECT_EQ(buffer.length(), 0);
  EXPECT_STREQ(buffer.text(), "");
}

TEST(TextBuffer, IgnoresNullEmptyAndNegativeAppends) {
  TextBuffer buffer;
  buffer.append("abc");
  buffer.append(nullptr);
  buffer.append("", 0);
  buffer.append("xyz", -2);
  EXPECT_STREQ(buffer.text(), "abc");
  EXPECT_EQ(buffer.length(), 3);
}

TEST(TextBuffer, ExplicitCountCopiesZeroBytes) {
  TextBuffer buffer;
  buffer.append("a\0b", 3);
  EXPECT_EQ(buffer.length(), 3);
  EXPECT_EQ(textOf(buffer), std::string("a\0b", 3));
  EXPECT_EQ(buffer.text()[3], 0);
}

// Growth happens when length + count is not below the capacity.
TEST(TextBuffer, GrowsAtTheStepBoundary) {
  struct Case {
    int extra;
    int capacity;
  };
  for (const Case c : {Case{95, 8096}, Case{96, 16192}, Case{8096 + 96, 24288}}) {
    for (const bool counted : {false, true}) {
      TextBuffer buffer;
      const std::string head(8000, 'x');
      const std::string tail(static_cast<std::size_t>(c.extra), 'y');
      buffer.append(head.c_str(), counted ? static_cast<std::int32_t>(head.size()) : 0);
      buffer.append(tail.c_str(), counted ? static_cast<std::int32_t>(tail.size()) : 0);
      EXPECT_EQ(buffer.capacity(), c.capacity) << "extra " << c.extra << (counted ? " counted" : "");
      EXPECT_EQ(buffer.length(), 8000 + c.extra);
      EXPECT_EQ(buffer.text()[buffer.length()], 0);
      EXPECT_EQ(buffer.text()[7999], 'x');
      EXPECT_EQ(buffer.text()[8000], 'y');
    }
  }
}

TEST(TextBuffer, ClearKeepsCapacityResetShrinks) {
  TextBuffer buffer;
  buffer.clear();
  EXPECT_EQ(buffer.length(), 0);
  buffer.append(std::string(10000, 'x').c_str());
  ASSERT_EQ(buffer.capacity(), 16192);
  buffer.clear();
  EXPECT_EQ(buffer.capacity(), 16192);
  EXPECT_STREQ(buffer.text(), "");
  buffer.append(std::string(10000, 'x').c_str());
  buffer.reset();
  EXPECT_EQ(buffer.capacity(), 8096);
  EXPECT_EQ(buffer.length(), 0);
  EXPECT_STREQ(buffer.text(), "");
}

TEST(TextBuffer, AssignReplaces) {
  TextBuffer buffer;
  buffer.append("first");
  buffer.assign("second");
  EXPECT_STREQ(buffer.text(), "second");
}

TEST(TextBuffer, AppendCharZeroIsIgnoredOnlyInDirectMode) {
  TextBuffer buffer;
  buffer.appendChar('a');
  buffer.appendChar(0);
  EXPECT_EQ(buffer.length(), 1);

  buffer.beginChunked();
  buffer.appendChar(0);
  buffer.appendChar('b');
  buffer.endChunked();
  EXPECT_EQ(textOf(buffer), std::string("a\0b", 3));
}

TEST(ChunkedTextBuffer, StagesShortAppendsUntilTheAreaWouldFill) {
  TextBuffer buffer;
  buffer.beginChunked();
  for (int i = 0; i < 8095; ++i) buffer.appendChar('s');
  EXPECT_EQ(buffer.chunkList()->written(), 0);
  EXPECT_EQ(buffer.chunkList()->stagingFill(), 8095);
  buffer.appendChar('t');
  EXPECT_EQ(buffer.chunkList()->written(), 8095);
  EXPECT_EQ(buffer.chunkList()->stagingFill(), 1);
}

TEST(ChunkedTextBuffer, LongAppendGoesStraightToTheChunksAfterAFlush) {
  TextBuffer buffer;
  buffer.beginChunked();
  buffer.append("ab");
  buffer.append(std::string(8096, 'z').c_str());
  EXPECT_EQ(buffer.chunkList()->written(), 8098);
  EXPECT_EQ(buffer.chunkList()->stagingFill(), 0);
  EXPECT_EQ(buffer.chunkList()->chunkCount(), 2);
}

TEST(ChunkedTextBuffer, MovesEverythingInOrderAtTheEnd) {
  TextBuffer buffer;
  buffer.append("head:");
  buffer.beginChunked();
  std::string expected = "head:";
  for (int i = 0; i < 20000; ++i) {
    const char c = static_cast<char>('a' + i % 26);
    if (i % 1000 == 999) {
      // A mix of piece sizes, some crossing chunk boundaries.
      const std::string piece(static_cast<std::size_t>(i % 7 + 1), c);
      buffer.append(piece.c_str());
      expected += piece;
    } else {
      buffer.appendChar(c);
      expected += c;
    }
  }
  EXPECT_STREQ(buffer.text(), "head:");  // nothing visible before the end
  buffer.endChunked();
  EXPECT_FALSE(buffer.isChunked());
  EXPECT_EQ(textOf(buffer), expected);
}

TEST(ChunkedTextBuffer, TwentyThousandBytesLandInThreeSteps) {
  TextBuffer buffer;
  buffer.beginChunked();
  const std::string piece(100, 'q');
  for (int i = 0; i < 200; ++i) buffer.append(piece.c_str());
  buffer.endChunked();
  EXPECT_EQ(buffer.length(), 20000);
  EXPECT_EQ(buffer.capacity(), 24288);
}

TEST(ChunkedTextBuffer, EndingWithNothingAppendedChangesNothing) {
  TextBuffer buffer;
  buffer.append("kept");
  buffer.beginChunked();
  buffer.endChunked();
  EXPECT_STREQ(buffer.text(), "kept");
  EXPECT_EQ(buffer.capacity(), 8096);
  EXPECT_EQ(buffer.chunkList(), nullptr);
  buffer.endChunked();  // in direct mode: nothing
  EXPECT_STREQ(buffer.text(), "kept");
}

TEST(ChunkedTextBuffer, AssignClearsTheDirectTextAndFeedsTheChunks) {
  TextBuffer buffer;
  buffer.append("old");
  buffer.beginChunked();
  buffer.appendChar('x');
  buffer.assign("new");
  buffer.endChunked();
  EXPECT_STREQ(buffer.text(), "xnew");
}

TEST(ChunkList, ReadOutCopiesFromAnyOffset) {
  ChunkList chunks(4);
  const std::string text = "0123456789abcdef";
  for (char c : text) chunks.appendByte(c);
  chunks.flush();
  ASSERT_EQ(chunks.written(), 16);
  char out[8] = {};
  EXPECT_EQ(chunks.readOut(out, 6, 7), 7);
  EXPECT_EQ(std::string(out, 7), "6789abc");
}

// A text that would take the 32-bit length past its range is dropped whole.
TEST(TextBuffer, RefusesAnAppendThatWouldOverflowTheLength) {
  const std::int32_t huge = 0x7FFFFFF0;  // alone it fits, with the length not
  const ReservedBytes bytes(huge);
  if (bytes.bytes() == nullptr) GTEST_SKIP() << "no room for 2 GiB of address space";
  TextBuffer buffer;
  buffer.append("abc");
  buffer.append(bytes.bytes(), huge);
  EXPECT_STREQ(buffer.text(), "abc");
  EXPECT_EQ(buffer.capacity(), 8096);
}

TEST(ChunkedTextBuffer, RefusesAnAppendThatWouldOverflowTheChunkedLength) {
  const std::int32_t largest = 0x7FFFFFFF;
  const ReservedBytes bytes(largest);
  if (bytes.bytes() == nullptr) GTEST_SKIP() << "no room for 2 GiB of address space";
  TextBuffer buffer;
  buffer.append("abc");
  buffer.beginChunked();
  buffer.append(bytes.bytes(), largest);
  buffer.appendChar('d');
  buffer.endChunked();
  EXPECT_STREQ(buffer.text(), "abcd");
}

}  // namespace
}  // namespace zav
