// The scans the reader's bulk paths rest on: the one this build chose (SSE2
// where there is SSE2) against the portable one, and the other byte order's
// way of combining digits and of loading a name, which a little-endian
// machine never runs otherwise.
#include "ByteScan.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "ControlWords.h"

namespace zav::rtf {
namespace {

// Random bytes drawn mostly from what control words are made of, and room
// after them for every load a scan makes.
std::vector<std::uint8_t> wordishBytes(std::mt19937& random, std::size_t size) {
  static const std::string kAlphabet = "abcxyzAZ0123456789-- \\{}\t;\r\n'";
  std::vector<std::uint8_t> bytes(size + 64, 'a');
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = random() % 8 == 0 ? static_cast<std::uint8_t>(random()) : kAlphabet[random() % kAlphabet.size()];
  }
  return bytes;
}

TEST(ByteScan, ChosenScansAgreeWithPortableOnes) {
  std::mt19937 random(17);
  for (int round = 0; round < 2000; ++round) {
    const std::vector<std::uint8_t> bytes = wordishBytes(random, 1 + random() % 100);
    const std::uint8_t* p = bytes.data();
    const std::uint8_t* end = p + (bytes.size() - 64);
    EXPECT_EQ(findRunEnd(p, end), scan::portable::findRunEnd(p, end));
    EXPECT_EQ(findSkipStop(p, end), scan::portable::findSkipStop(p, end));
    EXPECT_EQ(scanLetters(p, end), scan::portable::scanLetters(p, end));
    const WordExtent chosen = measureWord(p);
    const WordExtent portable = scan::portable::measureWord(p);
    EXPECT_EQ(chosen.nameLength, portable.nameLength);
    // Past a name of the cap's length, neither measures on.
    if (chosen.nameLength == scan::kCountCap) continue;
    EXPECT_EQ(chosen.negative, portable.negative);
    EXPECT_EQ(chosen.digitCount, portable.digitCount);
    if (chosen.digitCount == scan::kCountCap) continue;
    EXPECT_EQ(chosen.end, portable.end);
    EXPECT_EQ(chosen.spaceEnds, portable.spaceEnds);
    EXPECT_EQ(chosen.highEnds, portable.highEnds);
  }
}

TEST(ByteScan, HexEscapesDecodeAsOneByOne) {
  std::mt19937 random(23);
  static const std::string kDigits = "0123456789abcdefABCDEFgG\\'";
  for (int round = 0; round < 2000; ++round) {
    std::string escapes;
    const int count = 1 + static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i) {
      escapes += random() % 40 == 0 ? "\\x" : "\\'";
      for (int digit = 0; digit < 2; ++digit) {
        escapes += random() % 30 == 0 ? kDigits[random() % kDigits.size()] : kDigits[random() % 22];
      }
    }
    escapes += std::string(16, 'z');
    const auto* p = reinterpret_cast<const std::uint8_t*>(escapes.data());
    std::array<std::uint8_t, 16> chosen{};
    std::array<std::uint8_t, 16> portable{};
    const int decoded = decodeHexEscapes(p, count, chosen.data());
    ASSERT_EQ(decoded, scan::portable::decodeHexEscapes(p, count, portable.data())) << escapes;
    EXPECT_EQ(chosen, portable) << escapes;
    for (int i = 0; i < decoded; ++i) EXPECT_EQ(chosen[static_cast<std::size_t>(i)], hexEscapeCode(p + 4 * i));
  }
}

TEST(ByteScan, DigitsCombineTheSameInEitherByteOrder) {
  std::mt19937 random(5);
  for (int round = 0; round < 2000; ++round) {
    std::string digits(scan::kDigitReach, 'x');
    const int count = static_cast<int>(random() % 9);
    for (int i = 0; i < count; ++i) digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + random() % 10);
    const auto* p = reinterpret_cast<const std::uint8_t*>(digits.data());
    const std::uint32_t expected = count == 0 ? 0 : static_cast<std::uint32_t>(std::stoul(digits.substr(0, static_cast<std::size_t>(count))));
    EXPECT_EQ(digitsValue<std::endian::little>(p, count), expected) << digits;
    EXPECT_EQ(digitsValue<std::endian::big>(p, count), expected) << digits;
  }
}

TEST(ByteScan, NameKeysLoadTheSameInEitherByteOrder) {
  std::mt19937 random(9);
  for (int round = 0; round < 200; ++round) {
    std::array<char, lookup::kKeyBytes> name{};
    for (char& c : name) c = static_cast<char>(random());
    const lookup::NameKey little = lookup::loadKey<std::endian::little>(name.data());
    const lookup::NameKey big = lookup::loadKey<std::endian::big>(name.data());
    EXPECT_EQ(little.low, big.low);
    EXPECT_EQ(little.high, big.high);
    EXPECT_EQ(little.low & 0xFF, static_cast<unsigned char>(name[0]));  // the first byte lowest
  }
}

TEST(ByteScan, HexEscapesTakeOnlyHexDigits) {
  const auto code = [](const char* escape) { return hexEscapeCode(reinterpret_cast<const std::uint8_t*>(escape)); };
  EXPECT_EQ(code("\\'82"), 0x82);
  EXPECT_EQ(code("\\'fF"), 0xFF);
  EXPECT_EQ(code("\\'00"), 0);
  EXPECT_EQ(code("\\'4g"), -1);  // the token reader takes it, major and all
  EXPECT_EQ(code("\\'\xE0" "1"), -1);
  EXPECT_EQ(code("\\' 1"), -1);
}

TEST(ByteScan, ControlSymbolsAreFoundAsTheirOneCharacterNames) {
  for (int c = 0; c < 128; ++c) {
    if (isLetter(c)) continue;
    const char name = static_cast<char>(c);
    EXPECT_EQ(findControlSymbol(static_cast<std::uint8_t>(c)), findControlWord({&name, 1})) << c;
  }
  EXPECT_EQ(findControlSymbol(0xE0), nullptr);
}

}  // namespace
}  // namespace zav::rtf
