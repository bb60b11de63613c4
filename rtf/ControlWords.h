// The reader's vocabulary: every control word and control symbol it
// recognises, each with the two numbers (major, minor) handlers act on.
#ifndef ZAV_RTF_CONTROLWORDS_H
#define ZAV_RTF_CONTROLWORDS_H

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace zav::rtf {

struct ControlWord {
  int major;
  int minor;
  const char* name;  // without the backslash; case-sensitive
  int checksum = 0;  // nameChecksum of the name, set as the table is built
};

// Groups of related words (the major of a row).
inline constexpr int kMajorVersion = 0;
inline constexpr int kMajorDefaultFont = 1;
inline constexpr int kMajorCharacterSet = 2;
inline constexpr int kMajorDestination = 3;
inline constexpr int kMajorFontFamily = 4;
inline constexpr int kMajorColour = 5;
inline constexpr int kMajorSpecialChar = 6;
inline constexpr int kMajorStyleLink = 7;
inline constexpr int kMajorDocumentAttr = 8;
inline constexpr int kMajorSectionAttr = 9;
inline constexpr int kMajorTableAttr = 10;
inline constexpr int kMajorParagraphAttr = 11;
inline constexpr int kMajorCharacterAttr = 12;
inline constexpr int kMajorPictureAttr = 13;
inline constexpr int kMajorFieldAttr = 14;
inline constexpr int kMajorContentsAttr = 15;
inline constexpr int kMajorPositionAttr = 16;

// Minors of the character-set words.
inline constexpr int kAnsi = 0;
inline constexpr int kMac = 1;
inline constexpr int kPc = 2;
inline constexpr int kPca = 3;

// Minors of the destination words the extractor acts on.
inline constexpr int kPict = 0;
inline constexpr int kHeader = 2;
inline constexpr int kInfo = 13;
inline constexpr int kStylesheet = 14;
inline constexpr int kFontTable = 15;
inline constexpr int kColourTable = 16;
inline constexpr int kTitle = 28;
inline constexpr int kSubject = 29;
inline constexpr int kAuthor = 30;
inline constexpr int kOperator = 31;
inline constexpr int kKeywords = 32;
inline constexpr int kComment = 33;
inline constexpr int kVersion = 34;
inline constexpr int kDocComment = 35;

// Minors of the special characters the extractor turns into text.
inline constexpr int kNonBreakingSpace = 6;
inline constexpr int kOptionalHyphen = 7;
inline constexpr int kNonBreakingHyphen = 8;
inline constexpr int kPage = 9;
inline constexpr int kLine = 10;
inline constexpr int kPar = 11;
inline constexpr int kSect = 12;
inline constexpr int kTab = 13;
inline constexpr int kCell = 14;
inline constexpr int kRow = 15;
inline constexpr int kIgnorableDestination = 23;

inline constexpr int kControlWordCount = 279;
inline constexpr std::size_t kLongestControlWord = 13;  // wbmwidthbytes

// The sum of the name's bytes, each taken as a signed byte.
constexpr int nameChecksum(std::string_view name) {
  int sum = 0;
  for (const char c : name) sum += static_cast<signed char>(c);
  return sum;
}

// The row named `name`, or null.
const ControlWord* findControlWord(std::string_view name);

namespace lookup {

// A name as two integers: its bytes zero-padded, its length in the last
// byte. Equal keys mean equal names, so one comparison of two integers
// replaces a string comparison.
struct NameKey {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
};

// The rows are hashed by key into buckets of two places, each place
// holding a row's key with the row's number in bytes 13 and 14, which a
// name of at most 13 bytes leaves zero: one load finds a bucket's keys and
// rows. The numbers are constants here so that a lookup needs no load to
// learn them; ControlWords.cpp checks when it is built that this
// multiplier leaves no bucket with more than two rows (any multiplier that
// does will serve).
inline constexpr int kBucketBits = 9;
inline constexpr std::uint64_t kMultiplier = 0x5F5B0828B1DB8FCFULL;
inline constexpr int kRowShift = 40;  // bytes 13 and 14 are bits 40 to 55 of the high word
inline constexpr std::uint64_t kRowBits = std::uint64_t{0xFFFF} << kRowShift;

struct alignas(2 * sizeof(NameKey)) Bucket {
  std::array<NameKey, 2> places;
};

// The rows in table order (see controlWords), and the buckets, whose empty
// places have a key that no name of a lookup has (ControlWords.cpp).
extern const std::array<ControlWord, kControlWordCount> kRows;
extern const std::array<Bucket, std::size_t{1} << kBucketBits> kBuckets;

// For each name length below 16 and each first byte, the last bytes that
// the table's names have, as bits (byte & 31): a letter counts in either
// case, and a symbol with what shares its five low bits.
using LastBytes = std::array<std::array<std::uint32_t, 32>, 16>;
extern const LastBytes kLastBytes;

// The low `bytes` bytes of a little-endian word.
constexpr std::uint64_t lowBytes(std::size_t bytes) {
  return bytes >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * bytes)) - 1;
}

// For each length up to the longest name, the masks that keep that many
// bytes of the two words.
inline constexpr std::array<NameKey, kLongestControlWord + 1> kMasks = [] {
  std::array<NameKey, kLongestControlWord + 1> masks{};
  for (std::size_t length = 0; length < masks.size(); ++length) {
    masks[length] = {lowBytes(length), lowBytes(length > 8 ? length - 8 : 0)};
  }
  return masks;
}();

constexpr std::size_t bucketOf(const NameKey& key, std::uint64_t multiplier = kMultiplier) {
  return static_cast<std::size_t>(((key.low ^ key.high) * multiplier) >> (64 - kBucketBits));
}

}  // namespace lookup

namespace lookup {

// What findControlWord(name, length) reads from `name`, whatever its length.
inline constexpr std::size_t kKeyBytes = sizeof(NameKey);

// The kKeyBytes bytes at `name` as a key's two words, the first byte lowest: one
// load each on a little-endian machine; byte by byte on the other order,
// which the tests run too.
template <std::endian order = std::endian::native>
inline NameKey loadKey(const char* name) {
  NameKey key;
  if constexpr (order == std::endian::little) {
    std::memcpy(&key.low, name, sizeof key.low);
    std::memcpy(&key.high, name + sizeof key.low, sizeof key.high);
  } else {
    for (std::size_t i = 0; i < kKeyBytes; ++i) {
      const auto byte = static_cast<std::uint64_t>(static_cast<unsigned char>(name[i]));
      (i < 8 ? key.low : key.high) |= byte << (8 * (i % 8));
    }
  }
  return key;
}

// The rows of the control symbols, by their character (the row count where
// a character is none).
extern const std::array<std::uint16_t, 128> kSymbolRows;

}  // namespace lookup

// The same for the name of `length` bytes at `name`, when
// lookup::kKeyBytes bytes from `name` on can be read (whatever follows the name): the name is taken in
// two loads and masks, not byte by byte, and keys are compared as integers.
inline const ControlWord* findControlWord(const char* name, std::size_t length) {
  if (length > kLongestControlWord) return nullptr;
  lookup::NameKey key = lookup::loadKey(name);
  const lookup::NameKey& mask = lookup::kMasks[length];
  key.low &= mask.low;
  key.high = (key.high & mask.high) | (static_cast<std::uint64_t>(length) << 56);
  const lookup::Bucket& bucket = lookup::kBuckets[lookup::bucketOf(key)];
  // Selections rather than branches: which place matches is not predictable.
  const auto rowIfSame = [&key](const lookup::NameKey& place, std::uint64_t otherwise) {
    const bool same = ((place.low ^ key.low) | ((place.high ^ key.high) & ~lookup::kRowBits)) == 0;
    return same ? place.high >> lookup::kRowShift & 0xFFFF : otherwise;
  };
  const std::uint64_t none = kControlWordCount;
  const std::uint64_t row = rowIfSame(bucket.places[0], rowIfSame(bucket.places[1], none));
  return row != none ? &lookup::kRows[row] : nullptr;
}

// The row of the control symbol `c` (a backslash and one character that is
// not a letter), or null; as findControlWord of that one character.
inline const ControlWord* findControlSymbol(std::uint8_t c) {
  if (c >= lookup::kSymbolRows.size()) return nullptr;
  const std::uint16_t row = lookup::kSymbolRows[c];
  return row < kControlWordCount ? &lookup::kRows[row] : nullptr;
}

// False for most names the table lacks, never for one it has, at a small
// part of the cost of a lookup: the words a writer uses that the table
// lacks seldom share a length, a first and a last letter with one it has.
// `length` is from 1 to 15.
inline bool mayBeControlWord(const char* name, std::size_t length) {
  const unsigned first = static_cast<unsigned char>(name[0]) & 31U;
  const unsigned last = static_cast<unsigned char>(name[length - 1]) & 31U;
  return ((lookup::kLastBytes[length][first] >> last) & 1U) != 0;
}

// The rows, sorted by (checksum, name) when the program is built: the
// order in which they are listed and numbered.
std::span<const ControlWord> controlWords();

}  // namespace zav::rtf

#endif
