#include "RtfDocument.h"

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

// Plain characters are below 128 and never 0, so each stands for itself.
void RtfDocument::onTextRun(RtfReader& /*reader*/, std::string_view run) {
  text_.append(run.data(), static_cast<std::int32_t>(run.size()));
}

void RtfDocument::onControl(RtfReader& reader) {
  const Token& token = reader.token();
  // Most words format; one well-predicted test passes them by.
  constexpr std::uint32_t kActedOn =
      1U << kMajorCharacterSet | 1U << kMajorDestination | 1U << kMajorSpecialChar;
  if (static_cast<unsigned>(token.major) >= 32 || (kActedOn >> token.major & 1U) == 0) return;
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
