#include "RtfReader.h"

#include <cstdio>

#include "ControlWords.h"

namespace zav::rtf {

namespace {

bool isLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(int c) { return c >= '0' && c <= '9'; }

}  // namespace

RtfReader& rtfReader() {
  static RtfReader reader;
  return reader;
}

void skipDestination() {
  RtfReader& reader = rtfReader();
  reader.skipGroup();
  reader.dispatchToken();
}

int hexDigitValue(int c) {
  if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
  if (isDigit(c)) return c - '0';
  return c - 'a' + 10;
}

void RtfReader::readerReset() {
  sortControlWords();
  classHandlers_.fill(nullptr);
  destinationHandlers_.fill(nullptr);
  for (const int code : {kFontTable, kColourTable, kStylesheet, kInfo, kPict}) {
    destinationHandlers_[static_cast<std::size_t>(code)] = skipDestination;
  }
  readHook_ = nullptr;
  pushedBack_ = -1;
}

void RtfReader::setClassHandler(int tokenClass, Handler handler) {
  if (tokenClass < 0 || tokenClass >= kClassCount) return;
  classHandlers_[static_cast<std::size_t>(tokenClass)] = handler;
}

Handler RtfReader::getClassHandler(int tokenClass) const {
  if (tokenClass < 0 || tokenClass >= kClassCount) return nullptr;
  return classHandlers_[static_cast<std::size_t>(tokenClass)];
}

void RtfReader::setDestinationHandler(int code, Handler handler) {
  if (code < 0 || code >= kDestinationSlots) return;
  destinationHandlers_[static_cast<std::size_t>(code)] = handler;
}

Handler RtfReader::getDestinationHandler(int code) const {
  if (code < 0 || code >= kDestinationSlots) return nullptr;
  return destinationHandlers_[static_cast<std::size_t>(code)];
}

// A byte with the high bit set reads as an end of input for the token being
// read; it is consumed, so the stream goes on after it.
int RtfReader::readChar() {
  lastCharKept_ = false;
  const int c = input_ != nullptr ? input_->next() : -1;
  if (c < 0 || c >= 0x80) return -1;
  keepInText(c);
  return c;
}

// Bytes past the text's bound are read on but not kept.
void RtfReader::keepInText(int c) {
  if (token_.textLength >= kTokenTextSize - 1) {
    textOverflowed_ = true;
    return;
  }
  token_.text[static_cast<std::size_t>(token_.textLength++)] = static_cast<char>(c);
  token_.text[static_cast<std::size_t>(token_.textLength)] = 0;
  lastCharKept_ = true;
}

void RtfReader::dropLastChar() {
  if (!lastCharKept_) return;
  token_.text[static_cast<std::size_t>(--token_.textLength)] = 0;
  lastCharKept_ = false;
}

void RtfReader::readRawToken() {
  token_.tokenClass = kUnrecognised;
  token_.param = 0;
  token_.textLength = 0;
  token_.text[0] = 0;
  textOverflowed_ = false;

  int c = pushedBack_;
  if (c != -1) {
    pushedBack_ = -1;
    keepInText(c);
  } else {
    c = readChar();
    if (c == -1) {
      token_.tokenClass = kEndOfInput;
      return;
    }
  }

  switch (c) {
    case '{':
      token_.tokenClass = kGroup;
      token_.major = kBeginGroup;
      return;
    case '}':
      token_.tokenClass = kGroup;
      token_.major = kEndGroup;
      return;
    case '\t':
      // A raw TAB is the tab special character, so it reaches the text.
      token_.tokenClass = kControl;
      token_.major = kMajorSpecialChar;
      token_.minor = kTab;
      return;
    case '\\':
      readEscape();
      return;
    default:
      token_.tokenClass = kText;
      token_.major = c;
      return;
  }
}

// After a backslash: a control word, a control symbol, an escaped character
// or a hex escape. A lone backslash at the end stays unrecognised.
void RtfReader::readEscape() {
  const int c = readChar();
  if (c == -1) return;
  if (isLetter(c)) {
    readControlWord();
    return;
  }
  switch (c) {
    case '\'':
      readHexEscape();
      return;
    case ':':
    case '{':
    case '}':
    case '\\':
      token_.tokenClass = kText;
      token_.major = c;
      return;
    default: {
      const char symbol = static_cast<char>(c);
      lookupControlWord({&symbol, 1});
      return;
    }
  }
}

// An incomplete escape stays unrecognised. When the first digit ends the
// input, the second is not read, so nothing after the cut is swallowed.
void RtfReader::readHexEscape() {
  const int high = readChar();
  if (high == -1) return;
  const int low = readChar();
  if (low == -1) return;
  token_.tokenClass = kText;
  token_.major = 16 * hexDigitValue(high) + hexDigitValue(low);
}

// The word is looked up before its parameter is read. The delimiter that
// follows the parameter begins the next token, unless it is a space.
void RtfReader::readControlWord() {
  int c = readChar();
  while (c != -1 && isLetter(c)) c = readChar();

  if (textOverflowed_) {
    token_.tokenClass = kUnrecognised;  // longer than any name: no row
  } else {
    const auto delimiter = static_cast<std::size_t>(lastCharKept_ ? 1 : 0);
    lookupControlWord(token_.textView().substr(1, static_cast<std::size_t>(token_.textLength) - 1 - delimiter));
  }

  bool negative = false;
  if (c == '-') {
    negative = true;
    c = readChar();
  }
  if (c == -1) return;

  // Unsigned, so that an overlong number wraps as 32 bits do, without
  // overflowing a signed type.
  std::uint32_t magnitude = 0;
  while (isDigit(c)) {
    magnitude = magnitude * 10U + static_cast<std::uint32_t>(c - '0');
    c = readChar();
    if (c == -1) break;
  }
  token_.param = static_cast<std::int32_t>(negative ? 0U - magnitude : magnitude);
  if (c == -1) return;

  if (c != ' ') pushedBack_ = c;
  dropLastChar();
}

void RtfReader::lookupControlWord(std::string_view name) {
  const ControlWord* row = findControlWord(name);
  if (row == nullptr) {
    token_.tokenClass = kUnrecognised;
    return;
  }
  token_.tokenClass = kControl;
  token_.major = row->major;
  token_.minor = row->minor;
}

// Line breaks in the file only lay out the RTF text. A hex-escaped 0A or 0D
// is a character the writer meant, such as a byte of a UTF-16 code unit
// (上 is 4E 0A), so it is kept.
bool RtfReader::isRawLineBreak() const {
  return token_.tokenClass == kText && token_.textLength == 1 &&
         (token_.text[0] == '\n' || token_.text[0] == '\r');
}

int RtfReader::readToken() {
  for (;;) {
    readRawToken();
    if (readHook_ != nullptr) readHook_();
    if (!isRawLineBreak()) return token_.tokenClass;
  }
}

void RtfReader::dispatchToken() {
  const int tokenClass = token_.tokenClass;
  if (tokenClass < 0 || tokenClass >= kClassCount) {
    std::fprintf(stderr, "Unknown class %d: %s", tokenClass, token_.text.data());
    std::fputs(" (reader malfunction)\n", stderr);
    return;
  }
  if (tokenClass == kControl && token_.major == kMajorDestination) {
    const Handler destination = getDestinationHandler(token_.minor);
    if (destination != nullptr) {
      destination();
      return;
    }
  }
  const Handler handler = classHandlers_[static_cast<std::size_t>(tokenClass)];
  if (handler != nullptr) handler();
}

void RtfReader::readDocument() {
  while (readToken() != kEndOfInput) dispatchToken();
}

void RtfReader::skipGroup() {
  std::int64_t level = 1;  // wide: a file of braces alone cannot wrap it
  while (readToken() != kEndOfInput) {
    if (token_.tokenClass != kGroup) continue;
    if (token_.major == kBeginGroup) {
      ++level;
    } else if (--level < 1) {
      return;
    }
  }
}

}  // namespace zav::rtf
