#include "RtfOpen.h"

#include <array>
#include <cstdint>
#include <span>

#include "ByteStream.h"
#include "CharacterMaps.h"
#include "ControlWords.h"
#include "Platform.h"
#include "RtfReader.h"

namespace zav::rtf {

namespace {

constexpr std::array<PropertyRow, 13> kCatalogue{{
    {1, 396, kTitle},
    {2, 397, kSubject},
    {6, 401, kAuthor},
    {4, 399, kKeywords},
    {5, 400, kComment},
    {129, 407, kOperator},
    {130, 408, kVersion},
    {3, 398, -1},
    {7, 402, -1},
    {8, 403, -1},
    {9, 404, -1},
    {10, 405, -1},
    {11, 406, -1},
}};

// What one file leaves behind: its text, handed out line by line, and the
// slots its information strings go to. One per process, like the reader.
class RtfDocument {
 public:
  // Starts a file: the text is gathered in chunks while it is read, and every
  // file starts from the ANSI character set, whatever the last one chose.
  void beginReading(PropertyTable& properties) {
    properties_ = &properties;
    characterMap_ = characterMap(kAnsi);
    text_.beginChunked();
  }

  void endReading() {
    text_.endChunked();
    properties_ = nullptr;
    cursor_ = text_.empty() ? nullptr : text_.text();
  }

  void putChar(int code) { rtf::putChar(code, characterMap_, text_); }
  void selectCharacterSet(int minor) { characterMap_ = characterMap(minor); }

  // Appends to the slot of the first row filled by destination `code`; a
  // repeated destination gives the concatenation.
  void storeInfoString(int code, std::span<const std::uint8_t> bytes) {
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

  // The line from the cursor up to and including its LF; the rest of the
  // text when no LF is left. A text that ends with an LF thus gives one
  // last empty line.
  const char* nextLine() {
    if (cursor_ == nullptr) return nullptr;
    const char* lineFeed = platform::findChar(cursor_, '\n');
    if (lineFeed != nullptr) {
      line_.assign(cursor_, static_cast<std::int32_t>(lineFeed - cursor_ + 1));
      cursor_ = lineFeed + 1;
    } else {
      line_.assign(cursor_, 0);
      cursor_ = nullptr;
    }
    return line_.text();
  }

  void close() {
    text_.endChunked();  // only after a read that was cut short
    text_.reset();
    line_.reset();
    cursor_ = nullptr;
    properties_ = nullptr;
  }

 private:
  TextBuffer text_;
  TextBuffer line_;
  const char* cursor_ = nullptr;
  CharMap characterMap_ = characterMap(kAnsi);
  PropertyTable* properties_ = nullptr;
};

RtfDocument document;

// The string is the run of text (literal characters and hex escapes) right
// after the destination word; the first token of any other kind ends it and
// is consumed. Every byte is kept, zeros too: a UTF-16 string needs them.
void collectInfoString(int code) {
  RtfReader& reader = rtfReader();
  TextBuffer collected;
  while (reader.readToken() == kText) {
    const char byte = static_cast<char>(reader.token().major & 0xFF);
    collected.append(&byte, 1);
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(collected.text());
  document.storeInfoString(code, {bytes, static_cast<std::size_t>(collected.length())});
}

void handleDestination(int minor) {
  if (minor == kInfo) return;  // read on, so its strings reach this handler
  if (minor >= kTitle && minor <= kVersion) {
    collectInfoString(minor);
    return;
  }
  rtfReader().skipGroup();
}

void handleSpecialChar(int minor) {
  switch (minor) {
    case kNonBreakingSpace:
    case kCell:
      document.putChar(' ');
      return;
    case kNonBreakingHyphen:
      document.putChar('-');
      return;
    case kPage:
    case kLine:
    case kPar:
    case kSect:
    case kRow:
      document.putChar('\n');
      return;
    case kTab:
      document.putChar('\t');
      return;
    case kIgnorableDestination:
      rtfReader().skipGroup();
      return;
    default:
      return;
  }
}

void controlHandler() {
  const Token& token = rtfReader().token();
  switch (token.major) {
    case kMajorCharacterSet:
      document.selectCharacterSet(token.minor);
      return;
    case kMajorDestination:
      handleDestination(token.minor);
      return;
    case kMajorSpecialChar:
      handleSpecialChar(token.minor);
      return;
    default:
      return;
  }
}

// The body's characters join the text, so the lines carry its words.
void textHandler() { document.putChar(rtfReader().token().major); }

// Leaves the reader without a stream that is about to go away.
class InputBinding {
 public:
  InputBinding(RtfReader& reader, ByteStream& stream) : reader_(reader) { reader_.setInputStream(&stream); }
  ~InputBinding() { reader_.setInputStream(nullptr); }
  InputBinding(const InputBinding&) = delete;
  InputBinding& operator=(const InputBinding&) = delete;

 private:
  RtfReader& reader_;
};

}  // namespace

std::span<const PropertyRow> rtfCatalogue() { return kCatalogue; }

int openRtfFile(const char* path, PropertyTable& properties) {
  platform::ReadOnlyFile file(path);
  if (!file.isOpen()) return 0;
  ByteStream stream(file);

  RtfReader& reader = rtfReader();
  reader.readerReset();
  InputBinding binding(reader, stream);
  reader.setClassHandler(kControl, controlHandler);
  reader.setClassHandler(kText, textHandler);
  reader.setDestinationHandler(kInfo, controlHandler);

  document.beginReading(properties);
  reader.readDocument();
  document.endReading();
  return 1;
}

const char* nextLine() { return document.nextLine(); }

int closeRtfFile() {
  document.close();
  return 0;
}

}  // namespace zav::rtf
