// The reader's input when the system lets it down: a failed read ends the
// stream as the end of the file would, a short one is the last, and the file
// is never asked again. The files are fakes (FakeFiles.h) linked in place of
// the system's side.
#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "ByteStream.h"
#include "FakeFiles.h"

namespace zav::test {
namespace {

class ByteStreamFaults : public ::testing::Test {
 protected:
  void TearDown() override { removeFakeFiles(); }
};

TEST_F(ByteStreamFaults, EndWhereTheReadsStop) {
  const struct {
    const char* what;
    std::optional<int> failingRead;
    std::size_t mostPerRead;
    std::size_t keptBytes;  // what is left of the file once it is open
    std::size_t bytesRead;
  } cases[] = {
      {"the first read fails", 0, std::numeric_limits<std::size_t>::max(), 100, 0},
      {"the read comes back short", {}, 40, 100, 40},
      {"the file shrank", {}, std::numeric_limits<std::size_t>::max(), 30, 30},
  };
  for (const auto& c : cases) {
    FakeFile& fake = addFakeFile("doc.rtf", repeat('a', 100));
    fake.failingRead = c.failingRead;
    fake.mostPerRead = c.mostPerRead;
    platform::ReadOnlyFile file("doc.rtf");
    rtf::ByteStream stream(file);
    fake.content.resize(c.keptBytes);
    std::size_t count = 0;
    while (stream.next() == 'a') ++count;
    EXPECT_EQ(count, c.bytesRead) << c.what;
    EXPECT_EQ(stream.next(), -1) << c.what;
    EXPECT_FALSE(stream.fill()) << c.what;
    EXPECT_EQ(fake.reads, 1) << c.what;
  }
}

}  // namespace
}  // namespace zav::test
