// The platform layer where the ANSI code page is UTF-8. The Shift-JIS side
// of the same contract, files and the RIFF walker are the shared platform
// cases (tests/cases), which the Windows build runs too.
#include "Platform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "DeviceNames.h"
#include "Hex.h"

namespace zav::platform {
namespace {

using test::hex;

TEST(Utf8CodePage, IsWhatAnythingButShiftJisSelects) {
  EXPECT_EQ(ansiCodePage(), kCodePageUtf8);
}

TEST(Utf8CodePage, LeadBytesStartMultibyteSequences) {
  for (int b : {0xC2, 0xE3, 0xF4}) EXPECT_TRUE(isLeadByte(static_cast<std::uint8_t>(b))) << b;
  for (int b : {0x41, 0x80, 0xBF, 0xC0, 0xC1, 0xF5}) EXPECT_FALSE(isLeadByte(static_cast<std::uint8_t>(b))) << b;
}

TEST(Utf8CodePage, NextCharStepsOverWholeSequences) {
  struct Case {
    const char* text;
    std::ptrdiff_t step;
  };
  const Case cases[] = {
      {"A", 1},
      {"\xC3\xA9", 2},              // é
      {"\xE3\x81\x82", 3},          // あ
      {"\xF0\x9F\x98\x80", 4},      // 😀
      {"\x82\xA0", 1},              // Shift-JIS あ is no UTF-8 sequence
      {"\xE3\x81", 1},              // cut short by the terminator
      {"\xE3\n\x82", 1},            // an LF is never a trail byte
      {"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(nextChar(c.text) - c.text, c.step) << hex(c.text);
}

TEST(Utf8CodePage, WideToAnsiEncodesEveryCharacter) {
  EXPECT_EQ(wideToAnsi(u"Abc"), "Abc");
  EXPECT_EQ(wideToAnsi(u"\u3042"), "\xE3\x81\x82");
  EXPECT_EQ(wideToAnsi(u"\u00E9"), "\xC3\xA9");
  EXPECT_EQ(wideToAnsi(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(wideToAnsi(u"\U000E007A"), "\xF3\xA0\x81\xBA");  // a tag character
  EXPECT_EQ(wideToAnsi(std::u16string(1, u'\xDC00')), "?");  // lone surrogate
}

TEST(Utf8CodePage, TitlesLoadAsUtf8) {
  const ModuleHandle module = moduleHandle("ZAVTEST.DLL");  // case-insensitive
  ASSERT_NE(module, nullptr);
  char buffer[128];
  EXPECT_EQ(loadString(module, 396, buffer, sizeof buffer), 12);
  EXPECT_STREQ(buffer, "ﾀｲﾄﾙ");
}

// The rule the Win32 side applies before it opens a path; the Windows test
// host shows it in use.
TEST(DeviceNames, AreTheFileNamesPartBeforeItsFirstDot) {
  for (const char16_t* path :
       {u"con.mp3", u"C:\\disc\\AUX.wav", u"d/e/nul.rtf", u"Com1.mp3", u"lpt9", u"PRN",
        u"COM\u00B9.mp3", u"lpt\u00B3.wav", u"conin$.rtf", u"CONOUT$", u"con .mp3", u"nul  .x.rtf",
        u"prn.tar.gz", u"C:con.mp3", u"aux:stream"}) {
    EXPECT_TRUE(isDeviceName(path)) << wideToAnsi(path);
  }
  for (const char16_t* path :
       {u"console.mp3", u"com0.mp3", u"com10.mp3", u"lpt.wav", u"xcon.mp3", u"con\\x.mp3",
        u"com\u00B4.mp3", u"com\uFF11.mp3", u"con_.rtf", u"", u"C:\\", u".con"}) {
    EXPECT_FALSE(isDeviceName(path)) << wideToAnsi(path);
  }
}

}  // namespace
}  // namespace zav::platform
