// The platform layer under both code pages; each run is its own process
// with LC_ALL set, as the code page is read once at load.
#include "Platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "Hex.h"
#include "TempFile.h"

namespace zav::platform {
namespace {

using test::hex;

bool shiftJis() { return ansiCodePage() == kCodePageShiftJis; }

TEST(CodePage, FollowsTheLocaleEnvironment) {
  const char* locale = std::getenv("LC_ALL");
  const bool wantsShiftJis = locale != nullptr && std::strstr(locale, "SJIS") != nullptr;
  EXPECT_EQ(ansiCodePage(), wantsShiftJis ? kCodePageShiftJis : kCodePageUtf8);
}

TEST(CodePage, LeadBytes) {
  if (shiftJis()) {
    for (int b : {0x81, 0x95, 0x9F, 0xE0, 0xFC}) EXPECT_TRUE(isLeadByte(static_cast<std::uint8_t>(b))) << b;
    for (int b : {0x41, 0x80, 0xA0, 0xC0, 0xDF, 0xFD}) EXPECT_FALSE(isLeadByte(static_cast<std::uint8_t>(b))) << b;
  } else {
    for (int b : {0xC2, 0xE3, 0xF4}) EXPECT_TRUE(isLeadByte(static_cast<std::uint8_t>(b))) << b;
    for (int b : {0x41, 0x80, 0xBF, 0xC0, 0xC1, 0xF5}) EXPECT_FALSE(isLeadByte(static_cast<std::uint8_t>(b))) << b;
  }
}

TEST(CodePage, NextCharStepsOverWholeCharacters) {
  struct Case {
    const char* text;
    std::ptrdiff_t sjisStep;
    std::ptrdiff_t utf8Step;
  };
  const Case cases[] = {
      {"A", 1, 1},
      {"\x82\xA0", 2, 1},        // あ in Shift-JIS; not UTF-8
      {"\x95\x5C", 2, 1},        // 表: trail byte is a backslash
      {"\xE3\x81\x82", 2, 3},    // あ in UTF-8
      {"\x82", 1, 1},            // lead byte before the terminator
      {"\x82\n", 1, 1},          // lead byte before an LF
      {"\xC0", 1, 1},            // half-width katakana / invalid UTF-8
  };
  for (const Case& c : cases) {
    EXPECT_EQ(nextChar(c.text) - c.text, shiftJis() ? c.sjisStep : c.utf8Step) << hex(c.text);
  }
  const char* empty = "";
  EXPECT_EQ(nextChar(empty), empty);
}

TEST(CodePage, FindCharNeverMatchesATrailByte) {
  const char* path = "\x95\x5C\\x.mp3";
  const char* found = findChar(path, '\\');
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found - path, shiftJis() ? 2 : 1);
  EXPECT_EQ(findChar("abc", 'x'), nullptr);
  const char* text = "a\nb";
  EXPECT_EQ(findChar(text, '\n'), text + 1);
}

TEST(CodePage, CompareBytesIsBoundedAndStopsAtTheTerminator) {
  EXPECT_EQ(compareBytes("MP3", "MP3", 3), 0);
  EXPECT_EQ(compareBytes("MP3X", "MP3", 3), 0);
  EXPECT_NE(compareBytes("mp3", "MP3", 3), 0);
  EXPECT_NE(compareBytes("MP", "MP3", 3), 0);
  EXPECT_EQ(compareBytes("", "", 3), 0);
  EXPECT_LT(compareBytes("\x81", "\xFF", 1), 0);  // unsigned order
}

TEST(Conversion, WideToAnsi) {
  EXPECT_EQ(wideToAnsi(u"Abc"), "Abc");
  if (shiftJis()) {
    EXPECT_EQ(hex(wideToAnsi(u"\u3042")), "82 A0");
    EXPECT_EQ(hex(wideToAnsi(u"\u2460")), "87 40");   // ① (NEC extension)
    EXPECT_EQ(hex(wideToAnsi(u"\uFF5E")), "81 60");   // ～
    EXPECT_EQ(wideToAnsi(u"\u00E9"), "?");           // é has no Shift-JIS form
    EXPECT_EQ(wideToAnsi(u"\U0001F600"), "?");       // one character, one '?'
  } else {
    EXPECT_EQ(wideToAnsi(u"\u3042"), "\xE3\x81\x82");
    EXPECT_EQ(wideToAnsi(u"\u00E9"), "\xC3\xA9");
    EXPECT_EQ(wideToAnsi(u"\U0001F600"), "\xF0\x9F\x98\x80");
  }
  EXPECT_EQ(wideToAnsi(std::u16string(1, u'\xD800')), "?");  // lone surrogate
}

TEST(Resources, LoadStringConvertsAndCuts) {
  const ModuleHandle module = moduleHandle("ZAVTEST.DLL");  // case-insensitive
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(moduleHandle("zavaudio.dll"), nullptr);

  char buffer[128];
  const int length = loadString(module, 396, buffer, sizeof buffer);
  if (shiftJis()) {
    EXPECT_EQ(hex(buffer), "C0 B2 C4 D9");
  } else {
    EXPECT_STREQ(buffer, "ﾀｲﾄﾙ");
  }
  EXPECT_EQ(length, static_cast<int>(std::strlen(buffer)));

  EXPECT_EQ(loadString(module, 901, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(loadString(nullptr, 396, buffer, sizeof buffer), 0);

  char small[8];
  EXPECT_EQ(loadString(module, 900, small, sizeof small), 7);
  EXPECT_STREQ(small, "A long ");
}

TEST(ReadOnlyFile, ReadsSeeksAndReportsShortReads) {
  test::TempFile file("data.bin", "0123456789");
  ReadOnlyFile in(file.c_str());
  ASSERT_TRUE(in.isOpen());
  EXPECT_EQ(in.size(), 10u);
  ASSERT_TRUE(in.seek(7));
  char buffer[8] = {};
  EXPECT_EQ(in.read(buffer, 8), 3u);
  EXPECT_EQ(std::string(buffer, 3), "789");
  EXPECT_EQ(in.tell(), 10u);
  EXPECT_EQ(in.read(buffer, 8), 0u);
}

TEST(ReadOnlyFile, MissingFilesAndFoldersDoNotOpen) {
  test::TempFolder folder;
  EXPECT_FALSE(ReadOnlyFile((folder.path() + "/missing").c_str()).isOpen());
  EXPECT_FALSE(ReadOnlyFile(folder.path().c_str()).isOpen());
  EXPECT_FALSE(ReadOnlyFile(nullptr).isOpen());
}

}  // namespace
}  // namespace zav::platform
