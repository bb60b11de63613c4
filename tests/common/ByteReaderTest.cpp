// The bounded cursor every reader of stored bytes goes through: values in
// both byte orders, and reads that would pass the end, sizes that would
// wrap the position included.
#include "ByteReader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

namespace zav {
namespace {

constexpr std::uint8_t kData[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();

TEST(ByteReader, ReadsEachWidthInItsByteOrder) {
  ByteReader reader(kData);
  EXPECT_EQ(reader.u8(), 0x01);
  EXPECT_EQ(reader.be16(), 0x0203);
  EXPECT_EQ(reader.be32(), 0x04050607u);
  EXPECT_EQ(reader.remaining(), 2u);
  ByteReader little(kData);
  EXPECT_EQ(little.le32(), 0x04030201u);
  EXPECT_EQ(little.le64(), 0u);  // 5 bytes are left
  EXPECT_FALSE(little.ok());
  ByteReader wide(kData);
  EXPECT_EQ(wide.le64(), 0x0807060504030201u);
  EXPECT_EQ(wide.bytes(1).front(), 0x09);
  EXPECT_TRUE(wide.ok());
}

TEST(ByteReader, AReadPastTheEndTakesNothingAndStaysFailed) {
  using Read = std::function<void(ByteReader&)>;
  const struct {
    const char* what;
    std::size_t before;  // bytes read first
    Read read;
  } cases[] = {
      {"one more byte than there is", 0, [](ByteReader& r) { r.bytes(sizeof kData + 1); }},
      {"the largest size", 0, [](ByteReader& r) { r.bytes(kMax); }},
      {"a size that wraps the position to 0", 1, [](ByteReader& r) { r.bytes(kMax); }},
      {"a size that wraps the position into the data", 8, [](ByteReader& r) { r.bytes(kMax - 3); }},
      {"a skip that wraps the position into the data", 8, [](ByteReader& r) { r.skip(kMax - 3); }},
      {"a skip of the largest size", 8, [](ByteReader& r) { r.skip(kMax); }},
      {"u8 at the end", 9, [](ByteReader& r) { EXPECT_EQ(r.u8(), 0); }},
      {"be16 with 1 byte left", 8, [](ByteReader& r) { EXPECT_EQ(r.be16(), 0); }},
      {"be32 with 3 bytes left", 6, [](ByteReader& r) { EXPECT_EQ(r.be32(), 0u); }},
      {"le32 with 3 bytes left", 6, [](ByteReader& r) { EXPECT_EQ(r.le32(), 0u); }},
      {"le64 with 7 bytes left", 2, [](ByteReader& r) { EXPECT_EQ(r.le64(), 0u); }},
  };
  for (const auto& c : cases) {
    ByteReader reader(kData);
    reader.skip(c.before);
    ASSERT_TRUE(reader.ok()) << c.what;
    c.read(reader);
    EXPECT_FALSE(reader.ok()) << c.what;
    EXPECT_EQ(reader.remaining(), sizeof kData - c.before) << c.what;
    // Once failed, even a read that would fit takes nothing.
    if (reader.remaining() > 0) {
      EXPECT_EQ(reader.u8(), 0) << c.what;
      EXPECT_TRUE(reader.bytes(0).empty()) << c.what;
      EXPECT_EQ(reader.remaining(), sizeof kData - c.before) << c.what;
    }
  }
}

TEST(ByteReader, ReadsUpToTheLastByteExactly) {
  ByteReader reader(kData);
  reader.skip(1);
  const auto rest = reader.bytes(sizeof kData - 1);
  EXPECT_EQ(std::vector(rest.begin(), rest.end()), std::vector(kData + 1, kData + sizeof kData));
  EXPECT_EQ(reader.remaining(), 0u);
  EXPECT_TRUE(reader.bytes(0).empty());
  EXPECT_TRUE(reader.ok());
  EXPECT_EQ(reader.u8(), 0);
  EXPECT_FALSE(reader.ok());

  ByteReader empty({});
  EXPECT_TRUE(empty.bytes(0).empty());
  EXPECT_TRUE(empty.ok());
  empty.skip(1);
  EXPECT_FALSE(empty.ok());
}

}  // namespace
}  // namespace zav
