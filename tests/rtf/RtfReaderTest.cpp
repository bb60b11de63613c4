#include "RtfReader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ControlWords.h"

namespace zav::rtf {
namespace {

constexpr int kAnyMinor = -99;

struct Expected {
  int tokenClass;
  int major = 0;
  int minor = kAnyMinor;
  int param = 0;
  std::string text = {};
};

// A fresh reader over bytes from memory.
class ReaderTest : public ::testing::Test {
 protected:
  void feed(std::string bytes) {
    reader_.reset();
    stream_.reset();
    input_ = std::move(bytes);
    stream_.emplace(std::span(reinterpret_cast<const std::uint8_t*>(input_.data()), input_.size()));
    reader_.emplace(*stream_);
  }
  RtfReader& reader() { return *reader_; }

 private:
  std::string input_;
  std::optional<ByteStream> stream_;
  std::optional<RtfReader> reader_;
};

struct TokenizerCase {
  const char* name;
  std::string input;
  std::vector<Expected> tokens;  // up to and including the end of input
};

// Shown by name: printed as raw bytes, a case would show (and read) the
// unused bytes inside its strings.
void PrintTo(const TokenizerCase& c, std::ostream* out) { *out << c.name; }

std::string withNul(const char* bytes, std::size_t n) { return {bytes, n}; }

const TokenizerCase kTokenizerCases[] = {
    {"EmptyInput", "", {{kEndOfInput}}},
    {"WordWithParameterPushesDelimiterBack",
     "\\b0;",
     {{kControl, 12, 1, 0, "\\b0"}, {kText, ';', kAnyMinor, 0, ";"}, {kEndOfInput}}},
    {"NegativeParameterConsumesSpace",
     "\\li-720 x",
     {{kControl, 11, 7, -720, "\\li-720"}, {kText, 'x', kAnyMinor, 0, "x"}, {kEndOfInput}}},
    {"HyphenWithoutDigits", "\\li-x", {{kControl, 11, 7, 0, "\\li-"}, {kText, 'x'}, {kEndOfInput}}},
    {"WordEndedByBackslash", "\\b\\i", {{kControl, 12, 1, 0, "\\b"}, {kControl, 12, 2, 0, "\\i"}, {kEndOfInput}}},
    {"HexEscapes",
     "\\'8E\\'41\\'e9",
     {{kText, 0x8E, kAnyMinor, 0, "\\'8E"}, {kText, 0x41}, {kText, 0xE9}, {kEndOfInput}}},
    {"MalformedHexDigitsCountOn", "\\'zz\\'g0", {{kText, 16 * 35 + 35}, {kText, 256}, {kEndOfInput}}},
    {"EscapedCharacters",
     "\\{\\}\\\\\\:",
     {{kText, '{'}, {kText, '}'}, {kText, '\\'}, {kText, ':'}, {kEndOfInput}}},
    {"ControlSymbols",
     "\\~\\*\\_\\|",
     {{kControl, 6, 6, 0, "\\~"}, {kControl, 6, 23}, {kControl, 6, 8}, {kControl, 6, 5}, {kEndOfInput}}},
    {"BackslashBeforeLineBreaksIsPar", "\\\n\\\r", {{kControl, 6, 11}, {kControl, 6, 11}, {kEndOfInput}}},
    {"UnknownSymbol", "\\!x", {{kUnrecognised, 0, kAnyMinor, 0, "\\!"}, {kText, 'x'}, {kEndOfInput}}},
    {"UnknownWordKeepsItsParameter",
     "\\u12354?",
     {{kUnrecognised, 0, kAnyMinor, 12354, "\\u12354"}, {kText, '?'}, {kEndOfInput}}},
    {"UnknownWordNegativeParameter",
     "\\u-3913 x",
     {{kUnrecognised, 0, kAnyMinor, -3913, "\\u-3913"}, {kText, 'x'}, {kEndOfInput}}},
    {"Groups",
     "{\\rtf1}",
     {{kGroup, kBeginGroup, kAnyMinor, 0, "{"}, {kControl, 0, -1, 1}, {kGroup, kEndGroup}, {kEndOfInput}}},
    {"RawTabIsTheTabCharacter", "\t", {{kControl, 6, 13, 0, "\t"}, {kEndOfInput}}},
    {"LineBreaksReachNoHandler", "A\r\nB\n", {{kText, 'A'}, {kText, 'B'}, {kEndOfInput}}},
    {"LineBreakEndsAWord", "\\par\r\nA", {{kControl, 6, 11, 0, "\\par"}, {kText, 'A'}, {kEndOfInput}}},
    {"DestinationsBeyondTheSlots", "\\pntxta\\pntxtb", {{kControl, 3, 37}, {kControl, 3, 38}, {kEndOfInput}}},
    {"CaseMatters", "\\PAR x", {{kUnrecognised}, {kText, 'x'}, {kEndOfInput}}},
    // A high-bit byte ends the token being read and is lost; the stream
    // goes on after it.
    {"HighBitByteIsAnEndThatTheStreamSurvives",
     "A\xE0" "B",
     {{kText, 'A'}, {kEndOfInput}, {kText, 'B'}, {kEndOfInput}}},
    {"HighBitByteEndsAWord", "\\par\xE0x", {{kControl, 6, 11, 0, "\\par"}, {kText, 'x'}, {kEndOfInput}}},
    {"HighBitByteEndsTheDigits", "\\fs20\xE0x", {{kControl, 12, 10, 20, "\\fs20"}, {kText, 'x'}, {kEndOfInput}}},
    {"HighBitByteAfterBackslash", "\\\xE0x", {{kUnrecognised, 0, kAnyMinor, 0, "\\"}, {kText, 'x'}, {kEndOfInput}}},
    // The second digit is not read once the first has ended the escape.
    {"HighBitByteAsFirstHexDigit",
     "\\'\xE0" "41",
     {{kUnrecognised, 0, kAnyMinor, 0, "\\'"}, {kText, '4'}, {kText, '1'}, {kEndOfInput}}},
    {"HighBitByteAsSecondHexDigit", "\\'4\xE0x", {{kUnrecognised, 0, kAnyMinor, 0, "\\'4"}, {kText, 'x'}, {kEndOfInput}}},
    {"TruncatedHexEscape", "\\'4", {{kUnrecognised, 0, kAnyMinor, 0, "\\'4"}, {kEndOfInput}}},
    {"LoneBackslashAtTheEnd", "\\", {{kUnrecognised, 0, kAnyMinor, 0, "\\"}, {kEndOfInput}}},
    {"WordAtTheEnd", "\\par", {{kControl, 6, 11, 0, "\\par"}, {kEndOfInput}}},
    {"ParameterAtTheEnd", "\\fs24", {{kControl, 12, 10, 24, "\\fs24"}, {kEndOfInput}}},
    {"ZeroByteIsText", withNul("A\0B", 3), {{kText, 'A'}, {kText, 0}, {kText, 'B'}, {kEndOfInput}}},
    // Beyond 32 bits the parameter wraps as 32-bit arithmetic does.
    {"ParameterWraps",
     "\\li4294967297 \\li2147483648 \\li-2147483648 \\li99999999999 ",
     {{kControl, 11, 7, 1},
      {kControl, 11, 7, INT32_MIN},
      {kControl, 11, 7, INT32_MIN},
      {kControl, 11, 7, static_cast<int>(1215752191)},
      {kEndOfInput}}},
};

class TokenizerTest : public ReaderTest, public ::testing::WithParamInterface<TokenizerCase> {};

TEST_P(TokenizerTest, ReadsTheExpectedTokens) {
  const TokenizerCase& c = GetParam();
  feed(c.input);
  for (std::size_t i = 0; i < c.tokens.size(); ++i) {
    const Expected& want = c.tokens[i];
    SCOPED_TRACE("token " + std::to_string(i));
    const Token& got = reader().token();
    EXPECT_EQ(reader().readToken(), want.tokenClass);
    if (want.tokenClass == kEndOfInput) continue;
    if (want.tokenClass != kUnrecognised) {
      EXPECT_EQ(got.major, want.major);
    }
    if (want.minor != kAnyMinor) {
      EXPECT_EQ(got.minor, want.minor);
    }
    EXPECT_EQ(got.param, want.param);
    if (!want.text.empty()) {
      EXPECT_EQ(got.textView(), want.text);
    }
    EXPECT_EQ(got.text[static_cast<std::size_t>(got.textLength)], 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, TokenizerTest, ::testing::ValuesIn(kTokenizerCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ReaderLookup, EveryRowIsReadAsItselfWhereverTheBlocksEnd) {
  for (const ControlWord& row : controlWords()) {
    // Padding behind the word, so it is also read where 16 bytes lie ahead.
    const std::string input = "\\" + std::string(row.name) + "12 " + std::string(20, 'x');
    for (const std::size_t blockSize : {0, 1, 5}) {
      ByteStream stream(std::span(reinterpret_cast<const std::uint8_t*>(input.data()), input.size()), blockSize);
      RtfReader reader(stream);
      ASSERT_EQ(reader.readToken(), kControl) << row.name << " in blocks of " << blockSize;
      EXPECT_EQ(reader.token().major, row.major) << row.name;
      EXPECT_EQ(reader.token().minor, row.minor) << row.name;
      const bool isWord = (row.name[0] | 0x20) >= 'a' && (row.name[0] | 0x20) <= 'z';
      EXPECT_EQ(reader.token().param, isWord ? 12 : 0) << row.name;
    }
  }
}

TEST_F(ReaderTest, TextOfAnOverlongWordStaysInBounds) {
  // Bytes beyond the bound are read on but not kept, and the word matches
  // nothing even though it starts like one.
  feed("\\par" + std::string(3000, 'a') + "12;x");
  EXPECT_EQ(reader().readToken(), kUnrecognised);
  EXPECT_EQ(reader().token().textLength, kTokenTextSize - 1);
  EXPECT_EQ(reader().token().param, 12);
  EXPECT_EQ(reader().readToken(), kText);
  EXPECT_EQ(reader().token().major, ';');
  EXPECT_EQ(reader().readToken(), kText);
  EXPECT_EQ(reader().token().major, 'x');
}

TEST_F(ReaderTest, OverlongParameterStaysInBounds) {
  feed("\\fs" + std::string(5000, '1') + " x");
  EXPECT_EQ(reader().readToken(), kControl);  // the word was complete in time
  EXPECT_EQ(reader().token().textLength, kTokenTextSize - 1);
  EXPECT_EQ(reader().readToken(), kText);
  EXPECT_EQ(reader().token().major, 'x');
}

std::vector<std::string> seen;
void recordText(RtfReader& reader) { seen.push_back("text " + std::string(1, static_cast<char>(reader.token().major))); }
void recordControl(RtfReader& reader) { seen.push_back("control " + std::string(reader.token().textView())); }
void recordDestination(RtfReader& reader) { seen.push_back("destination " + std::string(reader.token().textView())); }
void recordGroup(RtfReader& reader) { seen.push_back(reader.token().major == kBeginGroup ? "{" : "}"); }
int hookCalls = 0;
void countHook(RtfReader&) { ++hookCalls; }

class DispatchTest : public ReaderTest {
 protected:
  void SetUp() override {
    seen.clear();
    hookCalls = 0;
  }
  void registerRecorders() {
    reader().setClassHandler(kText, Handler::of<&recordText>());
    reader().setClassHandler(kControl, Handler::of<&recordControl>());
  }
};

TEST_F(DispatchTest, ResetRegistersTheSkippingDestinations) {
  feed("");
  for (int code = 0; code < kDestinationSlots; ++code) {
    const bool skipped = code == kPict || code == kInfo || code == kStylesheet || code == kFontTable ||
                         code == kColourTable;
    EXPECT_EQ(reader().getDestinationHandler(code), skipped ? Handler::of<&skipDestination>() : Handler()) << code;
  }
  for (int tokenClass = 0; tokenClass < kClassCount; ++tokenClass) {
    EXPECT_EQ(reader().getClassHandler(tokenClass), Handler());
  }
  EXPECT_EQ(reader().getReadHook(), Handler());
}

TEST_F(DispatchTest, SkippedDestinationsContributeNothing) {
  feed("{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0;}{\\pict\\wmetafile8 0123}A");
  registerRecorders();
  reader().readDocument();
  EXPECT_EQ(seen, (std::vector<std::string>{"text A"}));
}

TEST_F(DispatchTest, DestinationHandlerWinsOverTheControlClass) {
  feed("\\title\\pntxta\\b");
  registerRecorders();
  reader().setDestinationHandler(kTitle, Handler::of<&recordDestination>());
  reader().readDocument();
  // pntxta has no destination slot, so its class handler serves it.
  EXPECT_EQ(seen, (std::vector<std::string>{"destination \\title", "control \\pntxta", "control \\b"}));
}

TEST_F(DispatchTest, UnrecognisedTokensHaveNoHandler) {
  feed("\\foo A\\!B");
  registerRecorders();
  reader().readDocument();
  EXPECT_EQ(seen, (std::vector<std::string>{"text A", "text B"}));
}

TEST_F(DispatchTest, ReadHookSeesLineBreaks) {
  feed("A\r\nB");
  registerRecorders();
  reader().setReadHook(Handler::of<&countHook>());
  reader().readDocument();
  EXPECT_EQ(seen, (std::vector<std::string>{"text A", "text B"}));
  EXPECT_EQ(hookCalls, 5);  // A, CR, LF, B and the end
}

TEST_F(DispatchTest, HexEscapedLineBreaksAreCharacters) {
  feed("A\\'0d\\'0aB\n");
  registerRecorders();
  reader().readDocument();
  EXPECT_EQ(seen, (std::vector<std::string>{"text A", "text \r", "text \n", "text B"}));
}

TEST_F(DispatchTest, HighBitByteEndsTheDocument) {
  feed("A\xE0" "B");
  registerRecorders();
  reader().readDocument();
  EXPECT_EQ(seen, (std::vector<std::string>{"text A"}));
}

TEST_F(DispatchTest, MalfunctionNotice) {
  feed("");
  registerRecorders();
  reader().token().tokenClass = 7;
  std::snprintf(reader().token().text.data(), kTokenTextSize, "\\x");
  ::testing::internal::CaptureStderr();
  reader().dispatchToken();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Unknown class 7: \\x (reader malfunction)\n");
  EXPECT_TRUE(seen.empty());
}

TEST_F(DispatchTest, SkipGroupEndsAtTheMatchingBrace) {
  feed("{a{b}{c{d}}e}f");
  registerRecorders();
  reader().setClassHandler(kGroup, Handler::of<&recordGroup>());
  ASSERT_EQ(reader().readToken(), kGroup);
  reader().skipGroup();
  EXPECT_TRUE(reader().isClassMajor(kGroup, kEndGroup));
  reader().readDocument();
  EXPECT_EQ(seen, (std::vector<std::string>{"text f"}));
}

TEST_F(DispatchTest, SkipGroupStopsAtTheEnd) {
  feed("{a{b");
  reader().readToken();
  reader().skipGroup();
  EXPECT_EQ(reader().token().tokenClass, kEndOfInput);
}

TEST_F(DispatchTest, SkipGroupStopsAtAHighBitByteAndReadingGoesOn) {
  feed("{a\xE0" "b}c");
  registerRecorders();
  reader().readToken();
  reader().skipGroup();
  EXPECT_EQ(reader().token().tokenClass, kEndOfInput);
  reader().readDocument();
  EXPECT_EQ(seen, (std::vector<std::string>{"text b", "text c"}));
}

TEST_F(DispatchTest, DeeplyNestedGroupsAreSkippedWithoutRecursion) {
  feed("{\\fonttbl" + std::string(200000, '{') + std::string(200000, '}') + "}x");
  registerRecorders();
  reader().readDocument();
  EXPECT_EQ(seen, (std::vector<std::string>{"text x"}));
}

}  // namespace
}  // namespace zav::rtf
