#include "RtfDocument.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "ControlWords.h"

namespace zav::rtf {

void RtfDocument::read(ByteStream& input, PropertyTable& properties) {
  properties_ = &properties;
  text_.beginChunked();  // many small appends, moved into one string at the end

  RtfReader reader(input);
  const Handler control = Handler::of<&RtfDocument::onControl>(*this);
  reader.setClassHandler(kControl, control);
  // The info group is read on, so its strings reach the control handler.
  reader.setDestinationHandler(kInfo, control);
  reader.setClassHandler(kText, Handler::of<&RtfDocument::onText>(*this));
  reader.setTextRunHandler(TextRunHandler::of<&RtfDocument::onTextRun>(*this));
  // Most words format, and the reader passes them by.
  reader.setHandledMajors(1U << kMajorCharacterSet | 1U << kMajorDestination | 1U << kMajorSpecialChar);
  reader.readDocument();

  text_.endChunked();
  properties_ = nullptr;
  cursor_ = text_.empty() ? nullptr : text_.text();
}

const char* RtfDocument::nextLine() {
  if (cursor_ == nullptr) return nullptr;
  const char* end = text_.text() + text_.length();
  // The text holds no NUL (putChar never appends one), and an LF is never
  // part of a multibyte character of the ANSI code page (stepping through
  // the text character by character never steps over one): the first LF
  // byte is the first LF character.
  const auto* lineFeed = static_cast<const char*>(std::memchr(cursor_, '\n', static_cast<std::size_t>(end - cursor_)));
  if (lineFeed != nullptr) {
    line_.assign(cursor_, static_cast<std::int32_t>(lineFeed - cursor_ + 1));
    cursor_ = lineFeed + 1;
  } else {
    line_.assign(cursor_, static_cast<std::int32_t>(end - cursor_));
    cursor_ = nullptr;
  }
  return line_.text();
}

// The body's characters join the text, so the lines carry its words.
void RtfDocument::onText(RtfReader& reader) { putChar(reader.token().major); }

namespace {

// The length of the run's start whose codes stand for themselves as onText
// puts them: none is zero, and where the character set has a map, none is
// 128 or above. Eight at a time where the set has a map.
std::size_t selfStandingLength(std::string_view run, bool mapped) {
  if (!mapped) {
    const void* zero = std::memchr(run.data(), 0, run.size());
    return zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - run.data()) : run.size();
  }
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
  std::size_t i = 0;
  for (std::uint64_t eight = 0; i + sizeof eight <= run.size(); i += sizeof eight) {
    std::memcpy(&eight, run.data() + i, sizeof eight);
    // A zero byte borrows, a byte of 128 and up has its high bit: either marks.
    if ((((eight - kOnes) | eight) & kHighs) != 0) break;
  }
  while (i < run.size() && run[i] != 0 && static_cast<unsigned char>(run[i]) < 128) ++i;
  return i;
}

}  // namespace

// What onText does for each code, with the stretches that stand for
// themselves appended at once.
void RtfDocument::onTextRun(RtfReader& /*reader*/, std::string_view run) {
  while (!run.empty()) {
    const std::size_t same = selfStandingLength(run, !characterMap_.empty());
    if (same > 0) text_.append(run.data(), static_cast<std::int32_t>(same));  // a count of 0 means "to the NUL"
    if (same == run.size()) return;
    putChar(static_cast<unsigned char>(run[same]));
    run.remove_prefix(same + 1);
  }
}

void RtfDocument::onControl(RtfReader& reader) {
  const Token& token = reader.token();
  switch (token.major) {
    case kMajorCharacterSet:
      characterMap_ = characterMap(token.minor);
      return;
    case kMajorDestination:
      handleDestination(reader, token.minor);
      return;
    case kMajorSpecialChar:
      handleSpecialChar(reader, token.minor);
      return;
    default:
      return;
  }
}

void RtfDocument::handleDestination(RtfReader& reader, int minor) {
  if (minor == kInfo) return;  // read on, so its strings reach this handler
  if (minor >= kTitle && minor <= kVersion) {
    collectInfoString(reader, minor);
    return;
  }
  reader.skipGroup();
}

void RtfDocument::handleSpecialChar(RtfReader& reader, int minor) {
  switch (minor) {
    case kNonBreakingSpace:
    case kCell:
      putChar(' ');
      return;
    case kNonBreakingHyphen:
      putChar('-');
      return;
    case kPage:
    case kLine:
    case kPar:
    case kSect:
    case kRow:
      putChar('\n');
      return;
    case kTab:
      putChar('\t');
      return;
    case kIgnorableDestination:
      reader.skipGroup();
      return;
    default:
      return;
  }
}

// The string is the run of text (literal characters and hex escapes) right
// after the destination word; the first token of any other kind ends it and
// is consumed. Every byte is kept, zeros too: a UTF-16 string needs them.
void RtfDocument::collectInfoString(RtfReader& reader, int code) {
  TextBuffer collected;
  while (reader.readToken() == kText) {
    const char byte = static_cast<char>(reader.token().major & 0xFF);
    collected.append(&byte, 1);
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(collected.text());
  storeInfoString(code, {bytes, static_cast<std::size_t>(collected.length())});
}

// Appends to the slot of the first row filled by destination `code`; a
// repeated destination gives the concatenation.
void RtfDocument::storeInfoString(int code, std::span<const std::uint8_t> bytes) {
  if (properties_ == nullptr) return;
  TextBuffer* slot = properties_->slotForDestination(code);
  if (slot == nullptr) return;
  if (bytes.size() > 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    const std::string converted = convertUtf16(bytes);
    slot->append(converted.data(), static_cast<std::int32_t>(converted.size()));
    return;
  }
  // Zero bytes say nothing in an 8-bit string; dropping them keeps the rest.
  for (const std::uint8_t byte : bytes) {
    if (byte != 0) slot->appendChar(static_cast<char>(byte));
  }
}

}  // namespace zav::rtf
