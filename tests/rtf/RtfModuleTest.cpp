// The RTF plug-in as the host drives it, from documents built here.
// Runs under a UTF-8 and a Shift-JIS code page.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Platform.h"
#include "PluginModule.h"
#include "RtfBytes.h"
#include "TempFile.h"

namespace zav::test {
namespace {

using Lines = std::vector<std::string>;
using Values = std::vector<std::pair<int, std::string>>;

using enum PropertyKey;

bool shiftJis() { return platform::ansiCodePage() == platform::kCodePageShiftJis; }

class RtfModuleTest : public ::testing::Test {
 protected:
  // Opens a document with these bytes; the result of the open call.
  int open(std::string_view content) {
    file_ = std::make_unique<TempFile>("doc.rtf", bytes(content));
    return module_.open(file_->c_str());
  }
  Lines lines() const { return module_.lines(); }
  Values values() const { return module_.nonEmptyValues(); }
  std::string value(int key) const { return module_.value(key); }

  PluginModule module_{ZAV_RTF_MODULE};

 private:
  std::unique_ptr<TempFile> file_;
};

TEST_F(RtfModuleTest, InformationStringsFillTheirRows) {
  ASSERT_EQ(open("{\\rtf1{\\info{\\title Report}{\\author Kim}}}"), 1);
  EXPECT_EQ(values(), (Values{{k(title), "Report"}, {k(author), "Kim"}}));
}

TEST_F(RtfModuleTest, EveryInformationDestination) {
  ASSERT_EQ(open("{\\rtf1{\\info{\\title T}{\\subject S}{\\author A}{\\operator O}{\\keywords K}"
                 "{\\comment C}{\\version V}{\\doccomm D}{\\creatim\\yr2024\\mo5\\dy1}{\\nofpages3}"
                 "{\\*\\company Acme}}}"),
            1);
  EXPECT_EQ(values(), (Values{{k(title), "T"},
                              {k(subject), "S"},
                              {k(author), "A"},
                              {k(keywords), "K"},
                              {k(comment), "C"},
                              {k(rtfOperator), "O"},
                              {k(rtfVersion), "V"}}));
  EXPECT_EQ(lines(), Lines{});
}

TEST_F(RtfModuleTest, RepeatedDestinationsAppend) {
  ASSERT_EQ(open("{\\rtf1{\\info{\\title A}{\\title B}}}"), 1);
  EXPECT_EQ(value(k(title)), "AB");
}

TEST_F(RtfModuleTest, ControlSymbolEndsTheString) {
  ASSERT_EQ(open("{\\rtf1{\\info{\\title Foo\\~Bar}}}"), 1);
  EXPECT_EQ(value(k(title)), "Foo");
  // What follows the end of the string is read as the document's own text.
  EXPECT_EQ(lines(), Lines{"Bar"});
}

TEST_F(RtfModuleTest, HexEscapesInAString) {
  ASSERT_EQ(open("{\\rtf1{\\info{\\title Caf\\'e9}{\\keywords A\\'00B}}}"), 1);
  EXPECT_EQ(value(k(title)), "Caf\xE9");
  EXPECT_EQ(value(k(keywords)), "AB");
}

TEST_F(RtfModuleTest, Utf16Title) {
  ASSERT_EQ(open(rtfDocument(rtfInfo({{"title", utf16String(u"\u3042")}}))), 1);
  EXPECT_EQ(value(k(title)), shiftJis() ? "\x82\xA0" : "\xE3\x81\x82");
}

TEST_F(RtfModuleTest, Utf16TitleWithZeroBytes) {
  // 一 (4E 00), A (00 41), é (00 E9): zero bytes belong to the string.
  ASSERT_EQ(open(rtfDocument(rtfInfo({{"title", utf16String(u"\u4e00A\u00e9")}}))), 1);
  EXPECT_EQ(value(k(title)), shiftJis() ? "\x88\xEA" "A?" : "\xE4\xB8\x80" "A\xC3\xA9");
}

TEST_F(RtfModuleTest, Utf16CodeUnitsWithLineBreakBytes) {
  // 上 (4E 0A) and 《 (30 0A): a hex-escaped 0A is part of the string.
  ASSERT_EQ(open(rtfDocument(rtfInfo({{"title", utf16String(u"\u4e0a\u300a")}}))), 1);
  EXPECT_EQ(value(k(title)), shiftJis() ? "\x8F\xE3\x81\x73" : "\xE4\xB8\x8A\xE3\x80\x8A");
}

TEST_F(RtfModuleTest, TwoByteMarkAloneIsStoredAsItIs) {
  ASSERT_EQ(open(rtfDocument(rtfInfo({{"title", utf16String(u"")}}))), 1);
  EXPECT_EQ(value(k(title)), "\xFE\xFF");
}

TEST_F(RtfModuleTest, OnlyTheFirstTitleOfAUnicodePairIsKept) {
  // The ANSI title comes first; the Unicode copy sits in an ignorable group.
  ASSERT_EQ(open("{\\rtf1{\\upr{\\title Plain}{\\*\\ud{\\title Wide}}}}"), 1);
  EXPECT_EQ(value(k(title)), "Plain");
}

TEST_F(RtfModuleTest, SkippedGroupsContributeNothing) {
  ASSERT_EQ(open("{\\rtf1\\ansi{\\*\\generator Riched20 10.0;}{\\fonttbl{\\f0\\fswiss Arial;}}"
                 "{\\colortbl;\\red0\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
                 "{\\header Head\\par}{\\footer Foot}{\\pict\\wmetafile8 0123abcd}"
                 "{\\*\\title Hidden}Body\\par}"),
            1);
  EXPECT_EQ(lines(), (Lines{"Body\n", ""}));
  EXPECT_EQ(values(), Values{});
}

TEST_F(RtfModuleTest, HighBitByteEndsReading) {
  ASSERT_EQ(open("{\\rtf1 AB\xE0" "CD\\par}"), 1);
  EXPECT_EQ(lines(), Lines{"AB"});
}

TEST_F(RtfModuleTest, EmptyFile) {
  ASSERT_EQ(open(""), 1);
  EXPECT_EQ(module_.getLine(), nullptr);
  EXPECT_EQ(values(), Values{});
}

TEST_F(RtfModuleTest, MissingFile) {
  ASSERT_EQ(open("{\\rtf1{\\info{\\title Old}}Old\\par}"), 1);
  TempFolder folder;
  EXPECT_EQ(module_.open((folder.path() + "/missing.rtf").c_str()), 0);
  EXPECT_EQ(module_.getLine(), nullptr);
  EXPECT_EQ(values(), Values{});
}

TEST_F(RtfModuleTest, LineSequenceEndsWithAnEmptyLine) {
  ASSERT_EQ(open("{\\rtf1\\par\\tab\\par}"), 1);
  EXPECT_STREQ(module_.getLine(), "\n");
  EXPECT_STREQ(module_.getLine(), "\t\n");
  EXPECT_STREQ(module_.getLine(), "");
  EXPECT_EQ(module_.getLine(), nullptr);
  EXPECT_EQ(module_.getLine(), nullptr);
}

TEST_F(RtfModuleTest, BodyTextWithParagraphsATableAndATab) {
  ASSERT_EQ(open("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
                 "{\\info{\\title Demo}}\r\n"
                 "\\pard\\f0\\fs20 First paragraph.\\par\r\n"
                 "Second\\tab with\ttab.\\par\r\n"
                 "\\trowd\\trgaph108\\cellx2000\\cellx4000\r\n"
                 "\\intbl A1\\cell B1\\cell\\row\r\n"
                 "\\pard Non\\~breaking\\_hyphen\\-\\line end\\page\r\n"
                 "}"),
            1);
  EXPECT_EQ(lines(), (Lines{"First paragraph.\n", "Second\twith\ttab.\n", "A1 B1 \n", "Non breaking-hyphen\n",
                            "end\n", ""}));
  EXPECT_EQ(value(k(title)), "Demo");
}

TEST_F(RtfModuleTest, UnicodeWordsAreSkippedAndTheirFallbackKept) {
  ASSERT_EQ(open("{\\rtf1\\uc2 \\u12354\\'82\\'a0 x\\par}"), 1);
  EXPECT_EQ(lines(), (Lines{"\x82\xA0 x\n", ""}));
}

TEST_F(RtfModuleTest, LineFeedAfterALeadByteStillEndsTheLine) {
  ASSERT_EQ(open("{\\rtf1 \\'82\\par B}"), 1);
  EXPECT_EQ(lines(), (Lines{"\x82\n", "B"}));
}

TEST_F(RtfModuleTest, ZeroBytesNeverCutTheText) {
  ASSERT_EQ(open(std::string_view("{\\rtf1 A\0B\\'00C\\par D}", 22)), 1);
  EXPECT_EQ(lines(), (Lines{"ABC\n", "D"}));
}

TEST_F(RtfModuleTest, CharacterSetDoesNotLeakIntoTheNextFile) {
  ASSERT_EQ(open("{\\rtf1\\mac \\'aa\\'a8}"), 1);
  EXPECT_EQ(lines(), Lines{"(TM)reg."});
  ASSERT_EQ(open("{\\rtf1 \\'aa}"), 1);
  EXPECT_EQ(lines(), Lines{"\xAA"});
}

TEST_F(RtfModuleTest, AnyFileIsRead) {
  ASSERT_EQ(open("plain words"), 1);
  EXPECT_EQ(lines(), Lines{"plain words"});
}

TEST_F(RtfModuleTest, NextOpenStartsAfresh) {
  ASSERT_EQ(open("{\\rtf1{\\info{\\title One}}first\\par}"), 1);
  ASSERT_EQ(open("{\\rtf1{\\info{\\author Two}}second}"), 1);
  EXPECT_EQ(values(), (Values{{k(author), "Two"}}));
  EXPECT_EQ(lines(), Lines{"second"});
}

TEST_F(RtfModuleTest, CloseDropsEverything) {
  ASSERT_EQ(open("{\\rtf1{\\info{\\title One}}first\\par}"), 1);
  EXPECT_EQ(module_.close(), 0);
  EXPECT_EQ(values(), Values{});
  EXPECT_EQ(module_.getLine(), nullptr);
}

TEST_F(RtfModuleTest, LongDocument) {
  std::string document = "{\\rtf1\\ansi ";
  constexpr int kParagraphs = 50000;
  for (int i = 0; i < kParagraphs; ++i) document += "Line " + std::to_string(i) + "\\par\r\n";
  document += "}";
  ASSERT_EQ(open(document), 1);
  const Lines got = lines();
  ASSERT_EQ(got.size(), static_cast<std::size_t>(kParagraphs) + 1);
  EXPECT_EQ(got.front(), "Line 0\n");
  EXPECT_EQ(got[kParagraphs - 1], "Line " + std::to_string(kParagraphs - 1) + "\n");
  EXPECT_EQ(got.back(), "");
}

}  // namespace
}  // namespace zav::test
