// What one RTF file yields: the text its characters and special-character
// words make, served line by line, and its information strings, which go
// to the property slots as they are read.
#ifndef ZAV_RTF_RTFDOCUMENT_H
#define ZAV_RTF_RTFDOCUMENT_H

#include <cstdint>
#include <span>
#include <string_view>

#include "ByteStream.h"
#include "CharacterMaps.h"
#include "ControlWords.h"
#include "PropertyTable.h"
#include "RtfReader.h"
#include "TextBuffer.h"

namespace zav::rtf {

class RtfDocument {
 public:
  RtfDocument() = default;
  virtual ~RtfDocument() = default;
  RtfDocument(const RtfDocument&) = delete;
  RtfDocument& operator=(const RtfDocument&) = delete;

  // Reads `input` to its end in one pass; a document reads one input.
  // Information strings are appended to their slots in `properties`.
  void read(ByteStream& input, PropertyTable& properties);

  // The line from the cursor up to and including its LF; the rest of the
  // text when no LF is left; null once that is handed out. A text that ends
  // with an LF thus gives one last empty line. Valid until the next call.
  const char* nextLine();

  std::string_view text() const { return {text_.text(), static_cast<std::size_t>(text_.length())}; }

 private:
  void onControl(RtfReader& reader);
  void onText(RtfReader& reader);
  void onTextRun(RtfReader& reader, std::string_view run);
  void handleDestination(RtfReader& reader, int minor);
  void handleSpecialChar(RtfReader& reader, int minor);
  void collectInfoString(RtfReader& reader, int code);
  void storeInfoString(int code, std::span<const std::uint8_t> bytes);
  void putChar(int code) { rtf::putChar(code, characterMap_, text_); }

  TextBuffer text_;
  TextBuffer line_;
  const char* cursor_ = nullptr;
  // Every file starts from the ANSI character set.
  CharMap characterMap_ = characterMap(kAnsi);
  PropertyTable* properties_ = nullptr;  // while reading
};

}  // namespace zav::rtf

#endif
