// Runs under a UTF-8 and a Shift-JIS code page.
#include "CharacterMaps.h"

#include <gtest/gtest.h>

#include <string>

#include "ControlWords.h"
#include "Platform.h"

namespace zav::rtf {
namespace {

bool shiftJis() { return platform::ansiCodePage() == platform::kCodePageShiftJis; }

std::string put(int characterSet, std::initializer_list<int> codes) {
  TextBuffer text;
  for (const int code : codes) putChar(code, characterMap(characterSet), text);
  return {text.text(), static_cast<std::size_t>(text.length())};
}

TEST(PutChar, Cases) {
  struct Case {
    const char* name;
    int characterSet;
    int code;
    std::string expected;
  };
  const Case cases[] = {
      {"line feed", kAnsi, 0x0A, "\n"},
      {"ASCII under mac", kMac, 0x41, "A"},
      {"mac trade mark", kMac, 0xAA, "(TM)"},
      {"mac registered", kMac, 0xA8, "reg."},
      {"mac no-break space", kMac, 0xCA, " "},
      {"mac without a row", kMac, 0xA3, "\xA3"},
      {"ansi passes through", kAnsi, 0xE9, "\xE9"},
      {"pc passes through", kPc, 0xAA, "\xAA"},
      {"pca passes through", kPca, 0xAA, "\xAA"},
      {"unknown set is ansi", 99, 0xAA, "\xAA"},
      {"above a byte: both bytes", kAnsi, 0x253, "\x02\x53"},
      {"zero is dropped", kAnsi, 0, ""},
      {"zero low byte is dropped", kAnsi, 0x100, "\x01"},
      {"negative code keeps its low byte", kAnsi, -918, "\x6A"},
  };
  for (const Case& c : cases) EXPECT_EQ(put(c.characterSet, {c.code}), c.expected) << c.name;
}

TEST(PutChar, NoZeroByteInChunkedMode) {
  TextBuffer text;
  text.beginChunked();
  for (const int code : {0x41, 0, 0x200, 0x42}) putChar(code, characterMap(kAnsi), text);
  text.endChunked();
  EXPECT_EQ(std::string(text.text(), static_cast<std::size_t>(text.length())), "A\x02" "B");
}

std::string convert(std::initializer_list<std::uint8_t> bytes) {
  const std::vector<std::uint8_t> data(bytes);
  return convertUtf16(data);
}

TEST(ConvertUtf16, Cases) {
  struct Case {
    const char* name;
    std::initializer_list<std::uint8_t> bytes;
    std::string utf8;
    std::string sjis;
  };
  const Case cases[] = {
      {"hiragana a", {0xFE, 0xFF, 0x30, 0x42}, "\xE3\x81\x82", "\x82\xA0"},
      {"odd last byte dropped", {0xFE, 0xFF, 0x30, 0x42, 0x30}, "\xE3\x81\x82", "\x82\xA0"},
      {"ASCII", {0xFE, 0xFF, 0x00, 0x41}, "A", "A"},
      {"zero low byte", {0xFE, 0xFF, 0x4E, 0x00, 0x00, 0x41}, "\xE4\xB8\x80" "A", "\x88\xEA" "A"},
      {"ideographic space", {0xFE, 0xFF, 0x30, 0x00}, "\xE3\x80\x80", "\x81\x40"},
      {"Latin-1 range", {0xFE, 0xFF, 0x00, 0xE9}, "\xC3\xA9", "?"},
      {"0000 ends the string", {0xFE, 0xFF, 0x00, 0x41, 0x00, 0x00, 0x00, 0x42}, "A", "A"},
      {"surrogate pair is one character", {0xFE, 0xFF, 0xD8, 0x3D, 0xDE, 0x00}, "\xF0\x9F\x98\x80", "?"},
      {"lone surrogate", {0xFE, 0xFF, 0xD8, 0x3D, 0x00, 0x41}, "?A", "?A"},
      {"mark alone", {0xFE, 0xFF}, "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(convert(c.bytes), shiftJis() ? c.sjis : c.utf8) << c.name;
}

}  // namespace
}  // namespace zav::rtf
