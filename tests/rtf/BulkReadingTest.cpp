// Where no read hook watches, the reader passes skipped groups and runs of
// plain characters in bulk. Handlers must see exactly what reading token by
// token shows them (a read hook forces that), however the input is cut
// into blocks.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "ControlWords.h"
#include "RtfReader.h"

namespace zav::rtf {
namespace {

// How the handlers are set: whether unrecognised words have one (else the
// reader may pass them unseen), whether runs of text come whole (then a
// text token counts by its major alone, all a run tells), and whether the
// control handler takes only the majors the plug-in acts on.
struct Handlers {
  bool watchUnrecognised;
  bool runs;
  bool fewMajors;
};

// One entry per token a handler sees; a run counts as its text tokens.
class Trace {
 public:
  Trace(RtfReader& reader, bool tokenByToken, Handlers handlers) : runs_(handlers.runs) {
    for (int tokenClass = handlers.watchUnrecognised ? 0 : 1; tokenClass < kClassCount; ++tokenClass) {
      reader.setClassHandler(tokenClass, Handler::of<&Trace::onToken>(*this));
    }
    if (runs_) reader.setTextRunHandler(TextRunHandler::of<&Trace::onRun>(*this));
    if (handlers.fewMajors) {
      reader.setHandledMajors(1U << kMajorCharacterSet | 1U << kMajorDestination | 1U << kMajorSpecialChar);
    }
    if (tokenByToken) reader.setReadHook(Handler::of<&Trace::ignore>(*this));
  }

  std::vector<std::string> entries;

 private:
  void record(const Token& t) {
    if (runs_ && t.tokenClass == kText) {
      entries.push_back("2 " + std::to_string(t.major));
      return;
    }
    entries.push_back(std::to_string(t.tokenClass) + " " + std::to_string(t.major) + " " +
                      std::to_string(t.minor) + " " + std::to_string(t.param) + " [" + std::string(t.textView()) +
                      "]");
  }
  // Skips as the plug-in does, and records the token the skip ends with.
  void onToken(RtfReader& reader) {
    record(reader.token());
    if (reader.isClassMajor(kControl, kMajorSpecialChar) && reader.token().minor == kIgnorableDestination) {
      reader.skipGroup();
      record(reader.token());
    }
  }
  void onRun(RtfReader& reader, std::string_view run) {
    EXPECT_EQ(reader.token().tokenClass, kText);
    EXPECT_EQ(reader.token().major, static_cast<unsigned char>(run.back()));
    for (const char c : run) entries.push_back("2 " + std::to_string(static_cast<unsigned char>(c)));
  }
  void ignore(RtfReader&) {}

  bool runs_;
};

std::vector<std::string> readAll(const std::string& input, std::size_t blockSize, bool tokenByToken,
                                 Handlers handlers) {
  ByteStream stream(std::span(reinterpret_cast<const std::uint8_t*>(input.data()), input.size()), blockSize);
  RtfReader reader(stream);
  Trace trace(reader, tokenByToken, handlers);
  // A byte with the high bit set ends a document that goes on after it.
  do {
    reader.readDocument();
    trace.entries.push_back("end");
  } while (stream.fill());
  return trace.entries;
}

void expectSameAsTokenByToken(const std::string& input) {
  for (const Handlers handlers : {Handlers{true, false, false}, Handlers{false, true, false},
                                  Handlers{false, true, true}, Handlers{true, true, true}}) {
    const std::vector<std::string> expected = readAll(input, 0, true, handlers);
    for (const std::size_t blockSize : {0, 1, 2, 3, 7, 64}) {
      EXPECT_EQ(readAll(input, blockSize, false, handlers), expected)
          << "block size " << blockSize << ", unrecognised watched " << handlers.watchUnrecognised << ", runs "
          << handlers.runs << ", few majors " << handlers.fewMajors << ", input " << input;
      EXPECT_EQ(readAll(input, blockSize, true, handlers), expected)
          << "block size " << blockSize << " token by token";
    }
  }
}

// Some bulk paths take a token only with room ahead of it in the block; a
// plain tail gives every token of the input that room.
void expectSameAsTokenByTokenWithRoom(const std::string& input) {
  expectSameAsTokenByToken(input);
  expectSameAsTokenByToken(input + std::string(64, 'z'));
}

TEST(BulkReading, EdgeCases) {
  const std::string cases[] = {
      "plain words\r\nand more\\par}",
      "{\\fonttbl{\\f0 Arial;}{\\f1\\'82\\'6c;}}after",
      "{\\*\\themedata 504b0304\r\n1400}x{\\*\\x\\u12354\\'8e\tq}y",
      // What the skip ends with carries the last minor and major inside it.
      "{\\*\\b\\fs20 text}\\foo{\\*\\tab}\\foo{\\*\t}\\foo{\\*ab",
      "{\\pict \\'4",
      "{\\pict {\\'e0}} x",
      "{\\*\\a\xE0" "b}c",
      "{\\*\\li-\xE0}d",
      "{\\*\\li12\xE0}e{\\*\\'4\xE0}f{\\*\\\xE0}g",
      "{\\*{{{}}}\\{\\}\\\\\\'7b}z",
      "{\\*\\par" + std::string(1500, 'a') + "12 x}w",
      "{\\*\\fs" + std::string(1500, '9') + " x}w",
      std::string("text\0more", 9) + "\\\n\\\r\\",
      "runs \\b bold\\b0  end \\'41 then\xE0" "after {\\*\\tab \xE0}rest",
      // Runs of escapes, with what may lie between their tokens.
      "\\'82\\'b1\\'82\\'cc\r\n\\'82\\'cd\\u12354\\'82\\'a0\\b x\\'00\\'ff\\{\\}\\\\\\:\\'4g\\'G1 \\'8",
      "caf\\'e9 \\'d2quoted\\'d3\\mac \\'a5 \\'8e\\pc \\'8e\\par\\~\\-\\_\\|\\;\\\n\\\r\\*x",
      // A skip whose words end where its bytes a skip looks at lie.
      "{\\*\\fs20 Times;}\\foo{\\*\\li-}x{\\*\\li-\\b}y{\\*\\b\\'41}z{\\*\\b;\xE0}w{\\*\\b \xE0}v",
      "{\\*\\b-\xE0 q}{\\*\\b12\xE0" "7}{\\*\\qc\t}{\\*\\par\\ab x}{\\*\\~ab}{\\*\\~}",
      "{\\*" + std::string(40, 'x') + "\\" + std::string(60, 'b') + "}{\\*\\fs" + std::string(60, '7') + "}",
  };
  for (const std::string& input : cases) expectSameAsTokenByTokenWithRoom(input);
}

TEST(BulkReading, RandomDocuments) {
  const std::vector<std::string> pieces{
      "{",       "}",      "{\\*",    "\\*",     "{\\fonttbl", "{\\pict",  "{\\info", "\\par",  "\\b0",
      "\\li-72 ", "\\'8e",  "\\'4",    "\\'",     "abc def",    " ",        "\t",      "\r\n",   "\xE0",
      "\\u12354?", "\\{",   "\\\\",    "\\~",     "\\fs24\xE0", "\\-",      "12",      "\\",     "\\tab",
      "x",       "\\foo7;", "\\mac",   "\\title", "\\pntxta",   "\\'0a",    "\\\n",    "q\\b",   "-",
      "\\insrsid1234567 ", "\\li-123456789012 ", "\\wbmwidthbytes9", "\\abcdefghijklmnopqrs ", "\\deff",
      "\\'82\\'b1", "\\u-26124\\'93\\'fa", "\\uc2", "\\'00", "\\'E9", "\\f1", "\\ansi", "\\b-", ";",
  };
  std::mt19937 random(2024);
  for (int document = 0; document < 300; ++document) {
    std::string input;
    const std::size_t count = 1 + random() % 40;
    for (std::size_t i = 0; i < count; ++i) input += pieces[random() % pieces.size()];
    expectSameAsTokenByTokenWithRoom(input);
  }
}

}  // namespace
}  // namespace zav::rtf
