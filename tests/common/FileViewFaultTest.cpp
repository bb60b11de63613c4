// The file view when the system lets it down: a read call fails, comes back
// short, or finds the file shrunk since it was opened. The files are fakes
// (FakeFiles.h) linked in place of the system's side.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "FakeFiles.h"
#include "FileView.h"

namespace zav::test {
namespace {

using platform::FileView;

constexpr std::uint64_t kFileSize = FileView::kHeadSize + 3 * FileView::kReadAhead + 100;
constexpr std::uint64_t kHeadEnd = FileView::kHeadSize;
constexpr std::uint64_t kTagStart = kFileSize - 128;
// No limit on a read, or on what is left of the file.
constexpr std::size_t kAll = std::numeric_limits<std::size_t>::max();

Bytes pattern() {
  Bytes bytes(kFileSize);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 % 251);
  return bytes;
}

struct Read {
  std::uint64_t offset;
  std::size_t count;
  // How many of the file's bytes from `offset` on come back; none: the call fails.
  std::optional<std::size_t> got;
};

struct Case {
  const char* what;
  std::optional<int> failingRead;
  std::size_t mostPerRead;
  std::size_t keptBytes;  // what is left of the file once it is open
  std::vector<Read> reads;
};

class FileViewFaults : public ::testing::Test {
 protected:
  void TearDown() override { removeFakeFiles(); }
};

TEST_F(FileViewFaults, GiveNoBytesThatWereNotRead) {
  const Case cases[] = {
      {"the head's read fails, and is tried again", 0, kAll, kAll, {{0, 10, {}}, {0, 10, 10}}},
      {"the tail's read fails, and is tried again", 0, kAll, kAll, {{kTagStart, 128, {}}, {kTagStart, 128, 128}}},
      {"a read between head and tail fails, and nothing of it is kept", 0, kAll, kAll,
       {{kHeadEnd + 10, 20, {}}, {kHeadEnd + 10, 20, 20}, {kHeadEnd + 40, 8, 8}}},
      {"a read across the head's end fails once the head is in", 1, kAll, kAll,
       {{0, 1, 1}, {kHeadEnd - 5, 10, {}}, {kHeadEnd - 5, 10, 10}}},
      {"the file shrank into the read behind the head", {}, kAll, kHeadEnd + 5,
       {{kHeadEnd, 10, 5}, {kHeadEnd + 10, 20, 0}, {kTagStart, 128, 0}, {0, 10, 10}}},
      {"the file shrank to nothing", {}, kAll, 0, {{0, 10, 0}, {kHeadEnd + 10, 20, 0}, {kTagStart, 128, 0}}},
      {"reads come back short", {}, 100, kAll,
       {{0, 10, 10}, {150, 10, 0}, {kHeadEnd + 10, 20, 20}, {kHeadEnd + 200, 10, 10}, {kTagStart, 128, 0}}},
  };
  const Bytes file = pattern();
  for (const Case& c : cases) {
    FakeFile& fake = addFakeFile("a.bin", file);
    fake.failingRead = c.failingRead;
    fake.mostPerRead = c.mostPerRead;
    {
      FileView view("a.bin");
      ASSERT_TRUE(view.isOpen()) << c.what;
      EXPECT_EQ(view.size(), kFileSize) << c.what;
      if (c.keptBytes < fake.content.size()) fake.content.resize(c.keptBytes);
      for (const Read& r : c.reads) {
        const auto got = view.bytesAt(r.offset, r.count);
        ASSERT_EQ(got.has_value(), r.got.has_value()) << c.what << ": " << r.offset << "+" << r.count;
        if (!got) continue;
        const auto from = file.begin() + static_cast<long>(r.offset);
        EXPECT_EQ(Bytes(got->begin(), got->end()), Bytes(from, from + static_cast<long>(*r.got)))
            << c.what << ": " << r.offset << "+" << r.count;
      }
    }
    EXPECT_EQ(fake.opened, 0) << c.what;
  }
}

}  // namespace
}  // namespace zav::test
