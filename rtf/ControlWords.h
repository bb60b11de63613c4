// The reader's vocabulary: every control word and control symbol it
// recognises, each with the two numbers (major, minor) handlers act on.
#ifndef ZAV_RTF_CONTROLWORDS_H
#define ZAV_RTF_CONTROLWORDS_H

#include <cstddef>
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
enum Major : int {
  kMajorVersion = 0,
  kMajorDefaultFont = 1,
  kMajorCharacterSet = 2,
  kMajorDestination = 3,
  kMajorFontFamily = 4,
  kMajorColour = 5,
  kMajorSpecialChar = 6,
  kMajorStyleLink = 7,
  kMajorDocumentAttr = 8,
  kMajorSectionAttr = 9,
  kMajorTableAttr = 10,
  kMajorParagraphAttr = 11,
  kMajorCharacterAttr = 12,
  kMajorPictureAttr = 13,
  kMajorFieldAttr = 14,
  kMajorContentsAttr = 15,
  kMajorPositionAttr = 16,
};

// Minors of the character-set words.
enum CharacterSetMinor : int { kAnsi = 0, kMac = 1, kPc = 2, kPca = 3 };

// Minors of the destination words the extractor acts on.
enum DestinationMinor : int {
  kPict = 0,
  kHeader = 2,
  kInfo = 13,
  kStylesheet = 14,
  kFontTable = 15,
  kColourTable = 16,
  kTitle = 28,
  kSubject = 29,
  kAuthor = 30,
  kOperator = 31,
  kKeywords = 32,
  kComment = 33,
  kVersion = 34,
  kDocComment = 35,
};

// Minors of the special characters the extractor turns into text.
enum SpecialCharMinor : int {
  kNonBreakingSpace = 6,
  kOptionalHyphen = 7,
  kNonBreakingHyphen = 8,
  kPage = 9,
  kLine = 10,
  kPar = 11,
  kSect = 12,
  kTab = 13,
  kCell = 14,
  kRow = 15,
  kIgnorableDestination = 23,
};

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

// The same for the name of `length` bytes at `name`, when 16 bytes from
// `name` on can be read (whatever follows the name): the name is taken in
// two loads, not byte by byte.
const ControlWord* findControlWord(const char* name, std::size_t length);

// The rows, sorted by (checksum, name) when the program is built: the
// order in which they are listed and numbered.
std::span<const ControlWord> controlWords();

}  // namespace zav::rtf

#endif
