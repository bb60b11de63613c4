// The token reader. Where no read hook watches, readDocument and skipGroup
// read many tokens at a time: readCommonTokens takes the commonest tokens
// that lie wholly in the block, takeTextRun hands runs of text tokens to
// the run handler at once, and skipGroup passes a group's bytes, looking
// only at those that open or close a group, begin an escape or end the
// input. Every such path keeps one equivalence with reading token by token
// (readToken, byte by byte, which a read hook forces): each handler is
// called for the same tokens in the same order, and finds in the current
// token the same class, major, minor, parameter and text; a run stands
// for its text tokens by their codes. Tokens that nothing can see (line
// breaks, words the table lacks where no handler takes them, the tokens
// inside a skipped group) need not be made, but what they would have
// left in the token for later tokens (a major, a minor) is left there.
//
// The tests that hold the paths to it read the same bytes in one block,
// in blocks of 1 and 53 bytes (so that every token is cut by a block's end
// somewhere) and under a read hook, and compare what handlers see:
// tests/rtf/BulkReadingTest.cpp (chosen cases and random documents) and
// the fuzz target tests/rtf/fuzz/RtfReaderFuzz.cpp, both also built
// without SIMD (rtf_reader_scalar_tests, rtf_reader_scalar), as the
// 32-bit DLL reads.
#include "RtfReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "ByteScan.h"
#include "ControlWords.h"

namespace zav::rtf {

namespace {

// readChar's end: the end of the input, or a byte with the high bit set,
// which is consumed and lost.
constexpr bool endsInput(int c) { return c < 0 || c >= 0x80; }

// The characters a backslash makes text of.
constexpr bool isEscapedCharacter(int c) { return c == ':' || c == '{' || c == '}' || c == '\\'; }

// A stretch this short is kept in one fixed-size copy.
constexpr std::ptrdiff_t kShortStretch = 16;
static_assert(kShortStretch < kTokenTextSize);

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
  const std::ptrdiff_t count = to - from;
  if (count <= kShortStretch && input_.end() - from >= kShortStretch &&
      token_.textLength <= kTokenTextSize - 1 - kShortStretch) {
    std::memcpy(token_.text.data() + token_.textLength, from, kShortStretch);
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

void RtfReader::readRawToken() {
  const std::uint8_t* start = input_.cursor();
  if (input_.end() - start >= kBulkWindow && *start == '\\' && isLetter(start[1])) {
    const Step word = readWholeWord(start, {false, false});
    if (word.outcome != Outcome::stopped) {
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
    if (end - start >= static_cast<std::ptrdiff_t>(lookup::kKeyBytes)) {
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

// While no read hook watches, reads and dispatches the commonest tokens in
// one loop; returns where the token reader must read on (near the block's
// end, or at a token of a rarer kind).
void RtfReader::readCommonTokens() {
  while (!readHook_) {
    const Step step = readCommonToken(input_.cursor(), {!classHandlers_[kUnrecognised], true});
    input_.advanceTo(step.next);
    if (step.outcome == Outcome::stopped) return;
    if (step.outcome == Outcome::made) dispatchToken();
  }
}

// From p, passes the tokens no one sees (line breaks; words the table
// lacks when `passUnrecognised`) with the place kept in a register, up to
// one token that a handler may see: a group's brace, an escape or a word
// read whole, or a run of text, which goes to the run handler at once.
RtfReader::Step RtfReader::readCommonToken(const std::uint8_t* p, Passing passing) {
  const std::uint8_t* const end = input_.end();
  while (end - p >= kBulkWindow) {
    const std::uint8_t c = *p;
    if (c == '\\' && passing.unrecognised) {
      if (const std::uint8_t* next = unicodeWordEnd(p); next != nullptr) {
        p = next;
        continue;
      }
    }
    const bool startsRun = textRunHandler_ && startsTextRun(p);
    if (startsRun) {
      takeTextRun(p, passing);
      return {input_.cursor(), Outcome::taken};
    }
    if (c == '\\') {
      const Step step = readWholeEscape(p, passing);
      if (step.outcome != Outcome::passed) return step;
      p = step.next;
    } else if (c == '{' || c == '}') {
      setSingleByteToken(kGroup, c == '{' ? kBeginGroup : kEndGroup, c);
      return {p + 1, Outcome::made};
    } else if (c == '\n' || c == '\r') {
      setSingleByteToken(kText, c, c);
      ++p;
    } else {
      break;
    }
  }
  return {p, Outcome::stopped};
}

// The escape at p, a backslash with kBulkWindow bytes of the block from it
// on, read as readRawToken would read it; stopped, having set nothing,
// where that reading must take it (a long word or number, a byte with the
// high bit set).
RtfReader::Step RtfReader::readWholeEscape(const std::uint8_t* p, Passing passing) {
  const std::uint8_t c = p[1];
  if (isLetter(c)) return readWholeWord(p, passing);
  if (c == '\'') {
    if (endsInput(p[2]) || endsInput(p[3])) return {p, Outcome::stopped};
    setTextToken(p, 4, 16 * hexDigitValue(p[2]) + hexDigitValue(p[3]));
    return {p + 4, Outcome::made};
  }
  if (endsInput(c)) return {p, Outcome::stopped};
  makeSymbolToken(p);
  const bool unseen = token_.tokenClass == kUnrecognised
                          ? passing.unrecognised
                          : passing.unhandled && token_.tokenClass == kControl && !isHandledMajor(token_.major) &&
                                token_.major != kMajorDestination;
  return {p + 2, unseen ? Outcome::passed : Outcome::made};
}

// The control word at `start`, a backslash, up to kLongestWholeName
// letters, an optional hyphen, up to kMostWholeDigits digits and an ASCII
// delimiter, with kBulkWindow bytes of the block from it on: read in one
// go, with the token readControlWord makes of it. Stopped, having set
// nothing, for anything else. A word that no handler would see (one the
// table lacks, with `passUnrecognised`; one of a major the control handler
// is not called for) is passed without its token: what a later token can
// see of it, its major and minor, is left in the token.
RtfReader::Step RtfReader::readWholeWord(const std::uint8_t* start, Passing passing) {
  const std::uint8_t* name = start + 1;
  const WordExtent word = measureWord(name);
  // One test for all the refusals, which are rare.
  if ((static_cast<unsigned>(word.nameLength) - 1U >= static_cast<unsigned>(kLongestWholeName)) |
      (word.digitCount > kMostWholeDigits) | word.highEnds) {
    return {start, Outcome::stopped};
  }
  const std::uint8_t* next = word.end + static_cast<int>(word.spaceEnds);
  const auto* nameText = reinterpret_cast<const char*>(name);
  const auto length = static_cast<std::size_t>(word.nameLength);
  // Most words the table lacks are known so before a lookup.
  const ControlWord* row = mayBeControlWord(nameText, length) ? findControlWord(nameText, length) : nullptr;
  if (row == nullptr ? passing.unrecognised : passing.unhandled && !reachesHandler(*row)) {
    if (row != nullptr) {
      token_.major = row->major;
      token_.minor = row->minor;
    }
    return {next, Outcome::passed};
  }
  setControlWord(row);
  const std::uint32_t magnitude = digitsValue(word.end - word.digitCount, word.digitCount);
  token_.param = static_cast<std::int32_t>(word.negative ? 0U - magnitude : magnitude);
  const auto textLength = static_cast<std::size_t>(word.end - start);
  std::memcpy(token_.text.data(), start, kBulkWindow);
  token_.text[textLength] = 0;
  token_.textLength = static_cast<int>(textLength);
  return {next, Outcome::made};
}

// Where the token after \uN at p begins (the name u, which the table
// lacks, and a number of at most kMostWholeDigits digits, with kBulkWindow
// bytes of the block from p on), or null when p holds no such word: the
// commonest word a run of text beyond the code page has, told apart
// without a lookup.
const std::uint8_t* RtfReader::unicodeWordEnd(const std::uint8_t* p) {
  if (p[1] != 'u' || !(isDigit(p[2]) || (p[2] == '-' && isDigit(p[3])))) return nullptr;
  const std::uint8_t* digits = p + 2 + static_cast<int>(p[2] == '-');
  const int count = countDigits(digits);
  const std::uint8_t* delimiter = digits + count;
  if (count > kMostWholeDigits || *delimiter >= 0x80) return nullptr;
  return delimiter + static_cast<int>(*delimiter == ' ');
}

// Where the token after the word at `start` begins, when it is a word a
// run may pass (read whole, and passed as readWholeWord would pass it);
// null otherwise. A recognised word's minor goes to `minor`.
const std::uint8_t* RtfReader::unseenWordEnd(const std::uint8_t* start, Passing passing, int& minor) const {
  if (!isLetter(start[1])) return nullptr;
  const std::uint8_t* name = start + 1;
  const WordExtent word = measureWord(name);
  if ((static_cast<unsigned>(word.nameLength) - 1U >= static_cast<unsigned>(kLongestWholeName)) |
      (word.digitCount > kMostWholeDigits) | word.highEnds) {
    return nullptr;
  }
  const auto* nameText = reinterpret_cast<const char*>(name);
  const auto length = static_cast<std::size_t>(word.nameLength);
  const ControlWord* row = mayBeControlWord(nameText, length) ? findControlWord(nameText, length) : nullptr;
  if (row == nullptr ? !passing.unrecognised : !passing.unhandled || reachesHandler(*row)) return nullptr;
  if (row != nullptr) minor = row->minor;
  return word.end + static_cast<int>(word.spaceEnds);
}

// A backslash and a character that is neither a letter, an apostrophe nor
// a byte with the high bit set, as readEscape reads them.
void RtfReader::makeSymbolToken(const std::uint8_t* start) {
  const std::uint8_t c = start[1];
  token_.param = 0;
  std::memcpy(token_.text.data(), start, 2);
  token_.text[2] = 0;
  token_.textLength = 2;
  if (isEscapedCharacter(c)) {
    token_.tokenClass = kText;
    token_.major = c;
    return;
  }
  setControlWord(findControlSymbol(c));
}

// A text token of `length` bytes at `start` (a character, an escaped
// character or a hex escape) with this code.
void RtfReader::setTextToken(const std::uint8_t* start, int length, int code) {
  token_.tokenClass = kText;
  token_.major = code;
  token_.param = 0;
  std::memcpy(token_.text.data(), start, static_cast<std::size_t>(length));
  token_.text[static_cast<std::size_t>(length)] = 0;
  token_.textLength = length;
}

namespace {

// The code of the escaped character or the hex escape (two hex digits) at
// p, a backslash with 4 bytes of the block from it on; -1 for any other.
int textEscapeCode(const std::uint8_t* p) {
  if (p[1] == '\'') return hexEscapeCode(p);
  return isEscapedCharacter(p[1]) ? p[1] : -1;
}

}  // namespace

// The codes of a run of text tokens, and where the last of them lies.
class RtfReader::TextRun {
 public:
  std::ptrdiff_t room() const { return static_cast<std::ptrdiff_t>(codes_.size() - size_); }
  std::string_view codes() const { return {codes_.data(), size_}; }
  std::size_t size() const { return size_; }

  // Plain characters, each its own code; [from, to) fits the room.
  void addPlain(const std::uint8_t* from, const std::uint8_t* to) {
    std::memcpy(codes_.data() + size_, from, static_cast<std::size_t>(to - from));
    size_ += static_cast<std::size_t>(to - from);
    last_ = to - 1;
    lastLength_ = 1;
  }
  // The hex escapes in a row from p on, at most `most` (within the room);
  // returns how many.
  int addHexEscapes(const std::uint8_t* p, int most) {
    const int count = decodeHexEscapes(p, most, reinterpret_cast<std::uint8_t*>(codes_.data() + size_));
    if (count == 0) return 0;
    size_ += static_cast<std::size_t>(count);
    last_ = p + 4 * (count - 1);
    lastLength_ = 4;
    return count;
  }
  // An escape at p with this code; returns its length.
  int addEscape(const std::uint8_t* p, int code) {
    codes_[size_++] = static_cast<char>(code);
    last_ = p;
    lastLength_ = p[1] == '\'' ? 4 : 2;
    return lastLength_;
  }
  const std::uint8_t* last() const { return last_; }
  int lastLength() const { return lastLength_; }
  int lastCode() const { return static_cast<unsigned char>(codes_[size_ - 1]); }

 private:
  std::array<char, 512> codes_;
  std::size_t size_ = 0;
  const std::uint8_t* last_ = nullptr;
  int lastLength_ = 0;
};

// Whether p, with kBulkWindow bytes of the block from it on, begins a text
// token that a run takes.
bool RtfReader::startsTextRun(const std::uint8_t* p) const {
  return *p == '\\' ? textEscapeCode(p) >= 0 : !scan::kEndsRun[*p];
}

// Hands the text tokens from p on (where one begins) to the run handler,
// passing the tokens between them that only a read hook could see one by
// one, until another token, the run's room or the block's bulk window
// ends the run. Reading goes on after the run's last text token.
void RtfReader::takeTextRun(const std::uint8_t* p, Passing passing) {
  TextRun run;
  // The minor a passed word leaves, and what it is at the run's last text token.
  int minor = token_.minor;
  int minorAtLast = minor;
  while (input_.end() - p >= kBulkWindow && run.room() > 0) {
    const std::size_t taken = run.size();
    p = takeRunStep(p, run, passing, minor);
    if (p == nullptr) break;
    if (run.size() != taken) minorAtLast = minor;
  }
  token_.minor = minorAtLast;
  setTextToken(run.last(), run.lastLength(), run.lastCode());
  input_.advanceTo(run.last() + run.lastLength());
  textRunHandler_(*this, run.codes());
}

// One step of a run from p: adds text tokens to it (plain characters, hex
// escapes in a row, an escaped character) or passes a token between them
// that nothing sees; returns where the run goes on, or null where it ends.
// `minor` follows the recognised words passed.
const std::uint8_t* RtfReader::takeRunStep(const std::uint8_t* p, TextRun& run, Passing passing, int& minor) const {
  const std::uint8_t* const end = input_.end();
  const std::uint8_t c = *p;
  if (!scan::kEndsRun[c]) {
    const std::uint8_t* stop = findRunEnd(p, p + std::min(end - p, run.room()));
    run.addPlain(p, stop);
    return stop;
  }
  if (c == '\n' || c == '\r') return p + 1;
  if (c != '\\') return nullptr;
  if (p[1] == '\'') {
    // Each escape decoded lies at least kBulkWindow bytes before the end.
    const auto most = static_cast<int>(std::min((end - p - kBulkWindow) / 4 + 1, run.room()));
    const int count = run.addHexEscapes(p, most);
    return count > 0 ? p + 4 * count : nullptr;  // a malformed escape is the token reader's
  }
  if (isEscapedCharacter(p[1])) {
    run.addEscape(p, p[1]);
    return p + 2;
  }
  // A \uN before its fallback, a formatting word: nothing sees them.
  const std::uint8_t* next = passing.unrecognised ? unicodeWordEnd(p) : nullptr;
  return next != nullptr ? next : unseenWordEnd(p, passing, minor);
}

namespace {

// Where the word whose name starts at `name` ends (its delimiter), as
// readControlWord reads it: letters, a hyphen, digits; `limit` when it
// runs that far.
const std::uint8_t* wordDelimiter(const std::uint8_t* name, const std::uint8_t* limit) {
  const std::uint8_t* p = name;
  while (p < limit && isLetter(*p)) ++p;
  if (p < limit && *p == '-') ++p;
  while (p < limit && isDigit(*p)) ++p;
  return p;
}

}  // namespace

// The escapes a skip has passed but not yet read. Only the token the skip
// ends with can be seen, and of the tokens inside the group only two
// things reach it: the minor of the last recognised word or symbol, and,
// when the skip ends at the end of the input, the last major. So a word
// is noted where its name starts and passed as if its bytes were plain;
// the plain bytes after it, up to the next byte a skip looks at, are its
// name, number and delimiter and perhaps text tokens, which only
// measuring it tells. Words are measured and looked up from the last back,
// until one is found, only when the skip ends or leaves the block.
class RtfReader::PassedWords {
 public:
  explicit PassedWords(Token& token) : token_(token) {}

  // A control word whose name starts at `name`, or a control symbol (one
  // character), with kBulkWindow - 1 bytes of the block from it on.
  void addWord(const std::uint8_t* name, bool symbol) {
    if (count_ == words_.size()) settle();
    words_[count_++] = {name, nullptr, symbol, false, false};
    lastEnd_ = name + 1;
  }
  // Plain bytes [from, to), where a skip passes them: the rest of the last
  // word, if they follow its name, or else text tokens.
  void passPlain(const std::uint8_t* from, const std::uint8_t* to) {
    if (from == lastEnd_) {
      words_[count_ - 1].plainEnd = lastEnd_ = to;
    } else {
      setMajor(to[-1]);
    }
  }
  // A token passed that sets the major only.
  void setMajor(int major) {
    token_.major = major;
    lastEnd_ = nullptr;
    if (count_ > 0) words_[count_ - 1].majorSetAfter = true;
  }
  // A raw TAB sets both numbers, whatever came before.
  void setTab() {
    count_ = 0;
    lastEnd_ = nullptr;
    token_.major = kMajorSpecialChar;
    token_.minor = kTab;
  }
  // The name of the last word, when its bytes run up to `p` and its
  // delimiter lies there (or beyond, where the stretch is the block's end).
  const std::uint8_t* wordEndingAt(const std::uint8_t* p) const {
    if (lastEnd_ != p || words_[count_ - 1].symbol) return nullptr;
    const std::uint8_t* name = words_[count_ - 1].name;
    return wordDelimiter(name, p) == p ? name : nullptr;
  }
  // The last word's delimiter, at lastEnd_, was consumed with it.
  void endLastWord() {
    words_[count_ - 1].delimiterLost = true;
    lastEnd_ = nullptr;
  }
  void dropLast() {
    --count_;
    lastEnd_ = nullptr;
  }
  // Gives the token what the waiting words leave in it.
  void settle() {
    bool majorSetAfter = false;
    while (count_ > 0) {
      const Word& word = words_[--count_];
      majorSetAfter = majorSetAfter || word.majorSetAfter;
      if (!majorSetAfter && textFollows(word)) {
        token_.major = word.plainEnd[-1];
        majorSetAfter = true;
      }
      const ControlWord* row = lookUp(word);
      if (row == nullptr) continue;
      token_.minor = row->minor;
      if (!majorSetAfter) token_.major = row->major;
      count_ = 0;
    }
    lastEnd_ = nullptr;
  }

 private:
  struct Word {
    const std::uint8_t* name;
    const std::uint8_t* plainEnd;  // the end of the plain bytes after the name's first byte, if any
    bool symbol;
    bool majorSetAfter;  // a later token, not a word, set the major
    bool delimiterLost;  // a byte with the high bit set, right after its plain bytes
  };
  // Whether text tokens lie among the plain bytes after the word.
  static bool textFollows(const Word& word) {
    if (word.plainEnd == nullptr || word.delimiterLost) return false;
    if (word.symbol) return true;
    const std::uint8_t* delimiter = wordDelimiter(word.name, word.plainEnd);
    return word.plainEnd - delimiter > (*delimiter == ' ' ? 1 : 0);
  }
  static const ControlWord* lookUp(const Word& word) {
    if (word.symbol) return findControlSymbol(*word.name);
    const std::uint8_t* letters = word.name + 1;
    if (word.plainEnd != nullptr) letters = scanLetters(letters, word.plainEnd);
    return findControlWord(reinterpret_cast<const char*>(word.name), static_cast<std::size_t>(letters - word.name));
  }

  Token& token_;
  std::array<Word, 32> words_{};
  std::size_t count_ = 0;
  const std::uint8_t* lastEnd_ = nullptr;  // where the last word's bytes end, while nothing else came after
};

// The escape at p, a backslash with kBulkWindow bytes of the block from it
// on, passed as reading it would: returns where the skip looks on, or
// null, having passed nothing, for an escape that the token reader must
// take (one with a byte with the high bit set).
const std::uint8_t* RtfReader::passEscape(const std::uint8_t* p, PassedWords& passed) const {
  const std::uint8_t c = p[1];
  if (c >= 0x80) return nullptr;
  if (isLetter(c) || (c != '\'' && !isEscapedCharacter(c))) {
    passed.addWord(p + 1, !isLetter(c));
    return p + 2;
  }
  if (c != '\'') {
    passed.setMajor(c);
    return p + 2;
  }
  if (p[2] >= 0x80 || p[3] >= 0x80) return nullptr;
  passed.setMajor(16 * hexDigitValue(p[2]) + hexDigitValue(p[3]));
  return p + 4;
}

// Passes the current block's bytes inside the group being skipped; true
// once the group is closed (the current token is then its group end) or
// the input has ended.
bool RtfReader::skipInBlock(PassedWords& passed, std::int64_t& level) {
  const std::uint8_t* p = input_.cursor();
  const std::uint8_t* const end = input_.end();
  for (;;) {
    const std::uint8_t* stop = findSkipStop(p, end);
    if (stop > p) passed.passPlain(p, stop);
    p = stop;
    if (p == end) return leaveSkippedBlock(passed);
    const std::uint8_t byte = *p;
    if (byte == '\\') {
      const std::uint8_t* next = end - p >= kBulkWindow ? passEscape(p, passed) : nullptr;
      if (next == nullptr) return readTokenInSkip(passed, p);
      p = next;
      continue;
    }
    ++p;
    if (byte == '{' || byte == '}') {
      level += byte == '{' ? 1 : -1;
      if (level < 1) return endSkip(passed, p, kGroup);
      passed.setMajor(byte == '{' ? kBeginGroup : kEndGroup);
    } else if (byte == '\t') {
      passed.setTab();
    } else if (passed.wordEndingAt(p - 1) != nullptr) {
      passed.endLastWord();  // a byte with the high bit set ends a word and is lost
    } else {
      return endSkip(passed, p, kEndOfInput);  // such a byte where a token begins
    }
  }
}

// At the block's end: a word that may go on in the next block is read by
// the token reader, which fetches it; the rest is settled before the
// block is reused.
bool RtfReader::leaveSkippedBlock(PassedWords& passed) {
  const std::uint8_t* const cut = passed.wordEndingAt(input_.end());
  if (cut == nullptr) {
    passed.settle();
    input_.advanceTo(input_.end());
    return false;
  }
  passed.dropLast();
  return readTokenInSkip(passed, cut - 1);
}

// The token at p, an escape the skip does not pass, read by the token reader.
bool RtfReader::readTokenInSkip(PassedWords& passed, const std::uint8_t* p) {
  passed.settle();
  input_.advanceTo(p);
  readRawToken();  // may fetch blocks: this one is left
  return false;
}

// The skip ends before p with a group end, or with an end of the input.
bool RtfReader::endSkip(PassedWords& passed, const std::uint8_t* p, int tokenClass) {
  passed.settle();
  input_.advanceTo(p);
  if (tokenClass == kGroup) {
    setSingleByteToken(kGroup, kEndGroup, '}');
  } else {
    setEndOfInput();
  }
  return true;
}

// Without a read hook no one sees the tokens inside the group, so only the
// bytes that change the nesting, end the input or begin an escape are
// looked at, and escapes are passed without making tokens of them (see
// PassedWords); the token this ends with is exactly the token-by-token one.
void RtfReader::skipGroup() {
  if (readHook_) {
    skipGroupTokenByToken();
    return;
  }
  PassedWords passed(token_);
  std::int64_t level = 1;  // wide: a file of braces alone cannot wrap it
  while (input_.fill()) {
    if (skipInBlock(passed, level)) return;
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
