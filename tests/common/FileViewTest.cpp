// The view the audio readers share: every span comes back as the file holds
// it, and what is in memory is never read again.
#include "FileView.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempFile.h"

namespace zav::test {
namespace {

using platform::FileView;

constexpr std::size_t kFileSize = FileView::kHeadSize + 3 * FileView::kReadAhead + 100;

Bytes pattern() {
  Bytes bytes(kFileSize);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 % 251);
  return bytes;
}

Bytes read(FileView& view, std::uint64_t offset, std::size_t count) {
  const auto got = view.bytesAt(offset, count);
  return got ? Bytes(got->begin(), got->end()) : Bytes{0xEE};
}

TEST(FileView, GivesEverySpanAsTheFileHoldsIt) {
  const Bytes file = pattern();
  TempFile onDisk("a.bin", file);
  const std::uint64_t tailStart = kFileSize - FileView::kTailSize;
  const struct {
    std::uint64_t offset;
    std::size_t count;
  } spans[] = {
      {0, 10},                                   // head
      {kFileSize - 128, 128},                    // tail
      {FileView::kHeadSize - 5, 10},             // across the end of the head
      {FileView::kHeadSize + 10, 20},            // behind the head: a read ahead
      {FileView::kHeadSize + 40, 8},             // served from that read
      {tailStart - 6, 12},                       // across the start of the tail
      {100, kFileSize},                          // nearly all of it
      {kFileSize - 3, 10},                       // cut at the end
      {kFileSize, 4},                            // past the end: nothing
  };
  FileView view(onDisk.c_str());
  FileView memory(file);
  ASSERT_TRUE(view.isOpen());
  EXPECT_EQ(view.size(), kFileSize);
  for (const auto& s : spans) {
    const auto from = std::min<std::uint64_t>(s.offset, kFileSize);
    const auto to = std::min<std::uint64_t>(s.offset + s.count, kFileSize);
    const Bytes expected(file.begin() + static_cast<long>(from), file.begin() + static_cast<long>(to));
    EXPECT_EQ(read(view, s.offset, s.count), expected) << s.offset << "+" << s.count;
    EXPECT_EQ(read(memory, s.offset, s.count), expected) << s.offset << "+" << s.count;
  }
}

TEST(FileView, ReadsTheHeadAndTheTailOnce) {
  const Bytes file = pattern();
  TempFile onDisk("a.bin", file);
  FileView view(onDisk.c_str());
  read(view, 0, 1);
  read(view, kFileSize - 1, 1);
  // Overwritten behind the view's back: what it holds is not read again.
  std::ofstream(onDisk.path(), std::ios::binary | std::ios::in) << std::string(kFileSize, 'x');
  EXPECT_EQ(read(view, 200, 2), Bytes(file.begin() + 200, file.begin() + 202));
  EXPECT_EQ(read(view, kFileSize - 2, 2), Bytes(file.end() - 2, file.end()));
  EXPECT_EQ(read(view, FileView::kHeadSize + 1, 1), Bytes{'x'});
}

TEST(FileView, MissingFileHasNoBytes) {
  FileView view("/nonexistent/a.mp3");
  EXPECT_FALSE(view.isOpen());
  EXPECT_FALSE(view.bytesAt(0, 1));
  EXPECT_EQ(view.file(), nullptr);
}

}  // namespace
}  // namespace zav::test
