#include "RtfReader.h"

#include <cstdio>
#include <cstring>

#include "ByteScan.h"
#include "ControlWords.h"

namespace zav::rtf {

namespace {

// readChar's end: the end of the input, or a byte with the high bit set,
// which is consumed and lost.
constexpr bool endsInput(int c) { return c < 0 || c >= 0x80; }

}  // namespace

void skipDestination(RtfReader& reader) {
  reader.skipGroup();
  reader.dispatchToken();
}

int hexDigitValue(int c) {
  if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
  if (isDigit(c)) return c - '0';
  return c - 'a' + 10;
}

RtfReader::RtfReader(ByteStream& input) : input_(input) {
  for (const int code : {kFontTable, kColourTable, kStylesheet, kInfo, kPict}) {
    destinationHandlers_[static_cast<std::size_t>(code)] = Handler::of<&skipDestination>();
  }
}

void RtfReader::setClassHandler(int tokenClass, Handler handler) {
  if (tokenClass < 0 || tokenClass >= kClassCount) return;
  classHandlers_[static_cast<std::size_t>(tokenClass)] = handler;
}

Handler RtfReader::getClassHandler(int tokenClass) const {
  if (tokenClass < 0 || tokenClass >= kClassCount) return {};
  return classHandlers_[static_cast<std::size_t>(tokenClass)];
}

void RtfReader::setDestinationHandler(int code, Handler handler) {
  if (code < 0 || code >= kDestinationSlots) return;
  destinationHandlers_[static_cast<std::size_t>(code)] = handler;
}

Handler RtfReader::getDestinationHandler(int code) const {
  if (code < 0 || code >= kDestinationSlots) return {};
  return destinationHandlers_[static_cast<std::size_t>(code)];
}

// The next byte without taking it; -1 at the end of the input. A byte with
// the high bit set is returned as it is, for the caller to consume.
int RtfReader::peek() {
  if (!input_.fill()) return -1;
  return *input_.cursor();
}

// Takes and keeps bytes while isWanted says so, a block at a time; returns
// the byte that ended the stretch, not taken, or -1 at the end of the input.
template <class IsWanted>
int RtfReader::keepWhile(IsWanted isWanted) {
  while (input_.fill()) {
    const std::uint8_t* start = input_.cursor();
    const std::uint8_t* p = start;
    const std::uint8_t* end = input_.end();
    while (p < end && isWanted(*p)) ++p;
    keepStretch(start, p);
    input_.advanceTo(p);
    if (p < end) return *p;
  }
  return -1;
}

// Keeps [from, to), a stretch of the current block. A short one is moved
// in one fixed-size copy, which may leave bytes of the block after it in
// the text: they lie past its length, where nothing reads them.
void RtfReader::keepStretch(const std::uint8_t* from, const std::uint8_t* to) {
  constexpr std::ptrdiff_t kMove = 16;
  const std::ptrdiff_t count = to - from;
  if (count <= kMove && input_.end() - from >= kMove && token_.textLength <= kTokenTextSize - 1 - kMove) {
    std::memcpy(token_.text.data() + token_.textLength, from, kMove);
    token_.textLength += static_cast<int>(count);
    return;
  }
  for (const std::uint8_t* p = from; p < to; ++p) keep(*p);
}

void RtfReader::setSingleByteToken(int tokenClass, int major, int c) {
  token_.tokenClass = tokenClass;
  token_.major = major;
  token_.param = 0;
  token_.text[0] = static_cast<char>(c);
  token_.text[1] = 0;
  token_.textLength = 1;
}

void RtfReader::setEndOfInput() {
  token_.tokenClass = kEndOfInput;
  token_.param = 0;
  token_.text[0] = 0;
  token_.textLength = 0;
}

// The common control word at `start`, a backslash, up to 15 letters, an
// optional hyphen, up to 8 digits and an ASCII delimiter, with
// kWholeWordWindow bytes of the block from it on: read in one go, with the
// same token as the byte-by-byte reading gives. Returns where the next
// token starts; null, having set nothing, for anything else, which that
// reading then handles.
//
// With `passUnrecognised`, a word the table lacks is passed without making
// a token of it. The caller says so only where nothing could see that
// token (no read hook, no handler for its class): the token read next
// replaces all that it would have set, and it would have left the major
// and minor as they were.
RtfReader::WholeWord RtfReader::readWholeControlWord(const std::uint8_t* start, bool passUnrecognised) {
  constexpr int kMostDigits = 8;
  const std::uint8_t* name = start + 1;
  const WordExtent word = measureWord(name);
  // One test for all the refusals, which are rare.
  if ((static_cast<unsigned>(word.nameLength) - 1U >= 15U) | (word.digitCount > kMostDigits) | word.highEnds) {
    return {nullptr, false};
  }
  const std::uint8_t* next = word.end + static_cast<int>(word.spaceEnds);
  const auto* nameText = reinterpret_cast<const char*>(name);
  const auto length = static_cast<std::size_t>(word.nameLength);
  // Most words the table lacks are known so before a lookup.
  const ControlWord* row = mayBeControlWord(nameText, length) ? findControlWord(nameText, length) : nullptr;
  if (passUnrecognised && row == nullptr) return {next, false};

  setControlWord(row);
  const std::uint32_t magnitude = digitsValue(word.end - word.digitCount, word.digitCount);
  token_.param = static_cast<std::int32_t>(word.negative ? 0U - magnitude : magnitude);
  const auto textLength = static_cast<std::size_t>(word.end - start);
  std::memcpy(token_.text.data(), start, kWholeWordWindow);
  token_.text[textLength] = 0;
  token_.textLength = static_cast<int>(textLength);
  return {next, true};
}

void RtfReader::readRawToken() {
  const std::uint8_t* start = input_.cursor();
  if (input_.end() - start >= kWholeWordWindow && *start == '\\') {
    const WholeWord word = readWholeControlWord(start, false);
    if (word.next != nullptr) {
      input_.advanceTo(word.next);
      return;
    }
  }
  const int c = input_.next();
  if (endsInput(c)) {
    setEndOfInput();
    return;
  }
  switch (c) {
    case '{':
      setSingleByteToken(kGroup, kBeginGroup, c);
      return;
    case '}':
      setSingleByteToken(kGroup, kEndGroup, c);
      return;
    case '\t':
      // A raw TAB is the tab special character, so it reaches the text.
      setSingleByteToken(kControl, kMajorSpecialChar, c);
      token_.minor = kTab;
      return;
    case '\\':
      token_.tokenClass = kUnrecognised;
      token_.param = 0;
      token_.text[0] = '\\';
      token_.textLength = 1;
      textOverflowed_ = false;
      readEscape();
      token_.text[static_cast<std::size_t>(token_.textLength)] = 0;
      return;
    default:
      setSingleByteToken(kText, c, c);
      return;
  }
}

// A hex escape at `start` whose two digits are ASCII, with 4 bytes of the
// block from it on: read in one go, as readHexEscape reads it. False,
// having set nothing, otherwise.
bool RtfReader::readWholeHexEscape(const std::uint8_t* start) {
  if (endsInput(start[2]) || endsInput(start[3])) return false;
  token_.tokenClass = kText;
  token_.major = 16 * hexDigitValue(start[2]) + hexDigitValue(start[3]);
  token_.param = 0;
  std::memcpy(token_.text.data(), start, 4);
  token_.text[4] = 0;
  token_.textLength = 4;
  return true;
}

// After a backslash: a control word, a control symbol, an escaped character
// or a hex escape. A lone backslash at the end stays unrecognised.
void RtfReader::readEscape() {
  if (!input_.fill()) return;
  const int c = *input_.cursor();
  if (isLetter(c)) {
    readControlWord();
    return;
  }
  input_.advanceTo(input_.cursor() + 1);
  if (endsInput(c)) return;
  keep(c);
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
      setControlWord(findControlWord({&symbol, 1}));
      return;
    }
  }
}

// An incomplete escape stays unrecognised. When the first digit ends the
// input, the second is not read, so nothing after the cut is swallowed.
void RtfReader::readHexEscape() {
  const int high = input_.next();
  if (endsInput(high)) return;
  keep(high);
  const int low = input_.next();
  if (endsInput(low)) return;
  keep(low);
  token_.tokenClass = kText;
  token_.major = 16 * hexDigitValue(high) + hexDigitValue(low);
}

// The word is looked up before its parameter is read. The delimiter that
// follows the parameter begins the next token, unless it is a space; it is
// never part of the token text. A byte with the high bit set anywhere in
// the word ends it and is lost.
void RtfReader::readControlWord() {
  int c = readName();
  if (c >= 0x80) input_.advanceTo(input_.cursor() + 1);
  if (endsInput(c)) return;

  bool negative = false;
  if (c == '-') {
    negative = true;
    input_.advanceTo(input_.cursor() + 1);
    keep(c);
    c = peek();
    if (c >= 0x80) input_.advanceTo(input_.cursor() + 1);
    if (endsInput(c)) return;
  }

  const std::uint32_t magnitude = keepDigits(c);
  token_.param = static_cast<std::int32_t>(negative ? 0U - magnitude : magnitude);
  if (c >= 0x80) input_.advanceTo(input_.cursor() + 1);
  if (endsInput(c)) return;
  if (c == ' ') input_.advanceTo(input_.cursor() + 1);
}

// The letters of a control word from the input on, looked up; returns the
// byte after them, not taken, or -1. A name within one block is looked up
// where it lies there; one cut by the block's end, from the token text.
int RtfReader::readName() {
  const std::uint8_t* start = input_.cursor();
  const std::uint8_t* end = input_.end();
  const std::uint8_t* p = scanLetters(start, end);
  keepStretch(start, p);
  input_.advanceTo(p);

  const auto length = static_cast<std::size_t>(p - start);
  const ControlWord* row = nullptr;
  int c = -1;
  if (p < end) {
    c = *p;
    if (end - start >= 16) {
      row = findControlWord(reinterpret_cast<const char*>(start), length);
    } else {
      row = findControlWord({reinterpret_cast<const char*>(start), length});
    }
  } else {
    c = keepWhile([](std::uint8_t b) { return isLetter(b); });
    // The name is followed by the rest of the text's 1024 bytes.
    row = findControlWord(token_.text.data() + 1, static_cast<std::size_t>(token_.textLength - 1));
  }
  if (textOverflowed_) row = nullptr;  // longer than any name: no row
  setControlWord(row);
  return c;
}

// The digits from the input on; c is the byte after them, not taken, or -1.
// Unsigned, so that an overlong number wraps as 32 bits do, without
// overflowing a signed type.
std::uint32_t RtfReader::keepDigits(int& c) {
  std::uint32_t magnitude = 0;
  c = keepWhile([&magnitude](std::uint8_t b) {
    if (!isDigit(b)) return false;
    magnitude = magnitude * 10U + static_cast<std::uint32_t>(b - '0');
    return true;
  });
  return magnitude;
}

void RtfReader::setControlWord(const ControlWord* row) {
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
    if (readHook_) readHook_(*this);
    if (!isRawLineBreak()) return token_.tokenClass;
  }
}

void RtfReader::reportMalfunction() const {
  std::fprintf(stderr, "Unknown class %d: %s", token_.tokenClass, token_.text.data());
  std::fputs(" (reader malfunction)\n", stderr);
}

void RtfReader::readDocument() {
  for (;;) {
    readCommonTokens();
    if (readToken() == kEndOfInput) return;
    dispatchToken();
  }
}

// While no read hook watches, reads and dispatches in one loop the tokens
// of the commonest kinds: control words and hex escapes that lie wholly in
// the block, braces, line breaks and runs of plain text. Returns at
// anything else, or near the block's end, for readToken to take.
void RtfReader::readCommonTokens() {
  while (!readHook_) {
    const bool passUnrecognised = !classHandlers_[kUnrecognised];
    const std::uint8_t* const end = input_.end();
    const std::uint8_t* p = input_.cursor();
    // The tokens that reach no handler (line breaks, and words the table
    // lacks when nothing handles those) are taken in this inner loop, with
    // the position in a register.
    bool dispatch = false;
    while (!dispatch && end - p >= kWholeWordWindow) {
      const std::uint8_t c = *p;
      if (c == '\\') {
        if (p[1] == '\'') {
          if (!readWholeHexEscape(p)) break;
          p += 4;
          dispatch = true;
        } else {
          const WholeWord word = readWholeControlWord(p, passUnrecognised);
          if (word.next == nullptr) break;
          p = word.next;
          dispatch = word.made;
        }
      } else if (c == '{' || c == '}') {
        setSingleByteToken(kGroup, c == '{' ? kBeginGroup : kEndGroup, c);
        ++p;
        dispatch = true;
      } else if (c == '\n' || c == '\r') {
        setSingleByteToken(kText, c, c);
        ++p;
      } else {
        break;
      }
    }
    input_.advanceTo(p);
    if (dispatch) {
      dispatchToken();
      continue;
    }
    // A plain character begins a run; anything else is readToken's.
    if (end - p < kWholeWordWindow || !textRunHandler_ || scan::kEndsRun[*p]) return;
    takeTextRuns();
  }
}

// Hands the plain characters from here on to the run handler and passes
// the line breaks between them, until some other byte comes. Each byte is
// a token that only a read hook could see one by one; the current token
// ends as reading them one by one would leave it.
void RtfReader::takeTextRuns() {
  while (input_.fill()) {
    const std::uint8_t* start = input_.cursor();
    const std::uint8_t* runEnd = findRunEnd(start, input_.end());
    if (runEnd == start) {
      if (*start != '\n' && *start != '\r') return;
      setSingleByteToken(kText, *start, *start);
      input_.advanceTo(start + 1);
      continue;
    }
    input_.advanceTo(runEnd);
    setSingleByteToken(kText, runEnd[-1], runEnd[-1]);
    textRunHandler_(*this, {reinterpret_cast<const char*>(start), static_cast<std::size_t>(runEnd - start)});
  }
}

namespace {

// The control words and symbols a skip has passed but not yet looked up.
// Only the token the skip ends with can be seen, and of the tokens inside
// the group only two things reach it: the minor of the last recognised
// word, and, when the skip ends at the end of the input, the last major.
// So the words wait here and are looked up from the last back, until one
// is found, only when the skip ends or leaves the block they lie in.
class PassedWords {
 public:
  explicit PassedWords(Token& token) : token_(token) {}

  // A word of `length` bytes at `name`, where 16 bytes can be read.
  void add(const std::uint8_t* name, std::size_t length) {
    if (count_ == words_.size()) settle();
    words_[count_++] = {name, length, false};
  }
  // A token passed that sets the major only.
  void setMajor(int major) {
    token_.major = major;
    if (count_ > 0) words_[count_ - 1].majorSetAfter = true;
  }
  // A raw TAB sets both numbers, whatever came before.
  void setTab() {
    count_ = 0;
    token_.major = kMajorSpecialChar;
    token_.minor = kTab;
  }
  // Gives the token what the waiting words leave in it.
  void settle() {
    bool majorSetAfter = false;
    while (count_ > 0) {
      const Word& word = words_[--count_];
      majorSetAfter = majorSetAfter || word.majorSetAfter;
      const ControlWord* row = findControlWord(reinterpret_cast<const char*>(word.name), word.length);
      if (row == nullptr) continue;
      token_.minor = row->minor;
      if (!majorSetAfter) token_.major = row->major;
      count_ = 0;
    }
  }

 private:
  struct Word {
    const std::uint8_t* name;
    std::size_t length;
    bool majorSetAfter;  // a later token, not a word, set the major
  };
  Token& token_;
  std::array<Word, 32> words_{};
  std::size_t count_ = 0;
};

// The escape at p, a backslash with at least kWholeWordWindow bytes of the
// block from it on, passed as reading it would: returns where the next
// token starts, or null, having passed nothing, for an escape that the
// token reader must take (a long word or number, a byte with the high bit
// set).
const std::uint8_t* passEscape(const std::uint8_t* p, PassedWords& passed) {
  const std::uint8_t c = p[1];
  if (isLetter(c)) {
    const std::uint8_t* name = p + 1;
    const WordExtent word = measureWord(name);
    if ((word.nameLength == 16) | (word.digitCount == 16) | word.highEnds) return nullptr;
    passed.add(name, static_cast<std::size_t>(word.nameLength));
    return word.end + static_cast<int>(word.spaceEnds);
  }
  if (c >= 0x80) return nullptr;
  switch (c) {
    case '\'':
      if (p[2] >= 0x80 || p[3] >= 0x80) return nullptr;
      passed.setMajor(16 * hexDigitValue(p[2]) + hexDigitValue(p[3]));
      return p + 4;
    case ':':
    case '{':
    case '}':
    case '\\':
      passed.setMajor(c);
      return p + 2;
    default:
      passed.add(p + 1, 1);
      return p + 2;
  }
}

}  // namespace

// Without a read hook no one sees the tokens inside the group, so only the
// bytes that change the nesting, end the input or begin an escape are
// looked at; the rest pass in bulk, and escapes are passed without making
// tokens of them (see PassedWords). The plain bytes and TABs passed leave
// the current token's major and minor as reading them one by one would, so
// the token this ends with is exactly the token-by-token one.
void RtfReader::skipGroup() {
  if (readHook_) {
    skipGroupTokenByToken();
    return;
  }
  PassedWords passed(token_);
  std::int64_t level = 1;  // wide: a file of braces alone cannot wrap it
  while (input_.fill()) {
    const std::uint8_t* p = input_.cursor();
    const std::uint8_t* const end = input_.end();
    bool tokenRead = false;
    while (!tokenRead) {
      const std::uint8_t* stop = findSkipStop(p, end);
      if (stop > p) passed.setMajor(stop[-1]);  // plain characters are text tokens
      p = stop;
      if (p == end) break;
      const std::uint8_t byte = *p;
      if (byte == '\\') {
        const std::uint8_t* next = end - p >= kWholeWordWindow ? passEscape(p, passed) : nullptr;
        if (next != nullptr) {
          p = next;
          continue;
        }
        passed.settle();
        input_.advanceTo(p);
        readRawToken();  // may fetch blocks: this one is left
        tokenRead = true;
        continue;
      }
      ++p;
      if (byte == '{') {
        ++level;
        passed.setMajor(kBeginGroup);
      } else if (byte == '}') {
        if (--level >= 1) {
          passed.setMajor(kEndGroup);
          continue;
        }
        passed.settle();
        input_.advanceTo(p);
        setSingleByteToken(kGroup, kEndGroup, byte);
        return;
      } else if (byte == '\t') {
        passed.setTab();
      } else {
        passed.settle();
        input_.advanceTo(p);
        setEndOfInput();  // a byte with the high bit set where a token begins
        return;
      }
    }
    if (!tokenRead) {
      passed.settle();  // before the block is reused
      input_.advanceTo(p);
    }
  }
  setEndOfInput();
}

void RtfReader::skipGroupTokenByToken() {
  std::int64_t level = 1;
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
