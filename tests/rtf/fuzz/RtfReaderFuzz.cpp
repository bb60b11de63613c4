// The token reader alone, from memory. The same bytes are read three ways
// that must see the same tokens: in one block, in small blocks (so that
// every token is cut by a block's end somewhere), and token by token under
// a read hook (which turns off every bulk path). First as a caller of
// readToken that skips some groups, then as readDocument dispatching to
// handlers: once with every token one by one (a handler for unrecognised
// words, every major handled), once as the plug-in reads (runs of text
// whole, no handler for unrecognised words, the plug-in's majors only).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "ByteStream.h"
#include "FuzzCheck.h"
#include "RtfReader.h"

namespace {

using zav::rtf::ByteStream;
using zav::rtf::Handler;
using zav::rtf::RtfReader;
using zav::rtf::TextRunHandler;
using zav::rtf::Token;

// What a handler can see of each token (the fields its class gives a
// meaning: a text token, say, leaves the minor as the last word set it),
// folded into a hash: a vector of every value cost more than the reader.
class Trace {
 public:
  // Where runs of text come whole, a text token counts by its major alone,
  // all a run tells.
  explicit Trace(bool runs = false) : runs_(runs) {}

  void add(const Token& token) {
    add(token.tokenClass);
    switch (token.tokenClass) {
      case zav::rtf::kGroup:
        add(token.major);
        return;
      case zav::rtf::kText:
        add(token.major);
        if (runs_) return;
        break;
      case zav::rtf::kControl:
        add(token.major);
        add(token.minor);
        add(token.param);
        break;
      case zav::rtf::kUnrecognised:
        add(token.param);
        break;
      default:
        return;
    }
    const std::string_view text = token.textView();
    add(static_cast<std::int64_t>(text.size()));
    for (const char c : text) add(c);
  }
  void add(std::int64_t value) {
    hash_ = (hash_ ^ static_cast<std::uint64_t>(value)) * 0x100000001b3u;
    ++count_;
  }
  bool operator==(const Trace& other) const { return hash_ == other.hash_ && count_ == other.count_; }

 private:
  bool runs_;
  std::uint64_t hash_ = 0xcbf29ce484222325u;
  std::uint64_t count_ = 0;
};

struct Reading {
  std::size_t blockSize = 0;  // 0: one block
  bool hooked = false;
};

// Blocks of one byte cut everything; blocks a little longer than what the
// bulk paths want to see at once let them run and cut them.
constexpr Reading kOtherReadings[] = {{1, false}, {53, false}, {0, true}};

void noHook(RtfReader&) {}

// Reads every token; each third group that begins is skipped whole.
Trace readTokens(std::span<const std::uint8_t> bytes, Reading how) {
  ByteStream stream(bytes, how.blockSize);
  RtfReader reader(stream);
  if (how.hooked) reader.setReadHook(Handler::of<&noHook>());
  Trace trace;
  int groups = 0;
  for (int tokenClass = reader.readToken(); tokenClass != zav::rtf::kEndOfInput;
       tokenClass = reader.readToken()) {
    const Token& token = reader.token();
    ZAV_FUZZ_CHECK(token.textLength >= 0 && token.textLength < zav::rtf::kTokenTextSize);
    trace.add(token);
    if (reader.isClassMajor(zav::rtf::kGroup, zav::rtf::kBeginGroup) && ++groups % 3 == 0) {
      reader.skipGroup();
      trace.add(-1);
      trace.add(reader.token());
    }
  }
  return trace;
}

class Recorder {
 public:
  explicit Recorder(bool runs) : trace(runs) {}
  void onToken(RtfReader& reader) { trace.add(reader.token()); }
  // A run stands for one text token per code.
  void onRun(RtfReader& reader, std::string_view run) {
    ZAV_FUZZ_CHECK(!run.empty() && reader.token().tokenClass == zav::rtf::kText &&
                   reader.token().major == static_cast<unsigned char>(run.back()));
    for (const char c : run) {
      trace.add(zav::rtf::kText);
      trace.add(static_cast<unsigned char>(c));
    }
  }
  Trace trace;
};

// Every token one by one, or as the plug-in reads (see above).
Trace readDocument(std::span<const std::uint8_t> bytes, Reading how, bool asThePlugIn) {
  ByteStream stream(bytes, how.blockSize);
  RtfReader reader(stream);
  Recorder recorder(asThePlugIn);
  const Handler record = Handler::of<&Recorder::onToken>(recorder);
  for (int tokenClass = asThePlugIn ? 1 : 0; tokenClass < zav::rtf::kEndOfInput; ++tokenClass) {
    reader.setClassHandler(tokenClass, record);
  }
  if (asThePlugIn) {
    reader.setTextRunHandler(TextRunHandler::of<&Recorder::onRun>(recorder));
    reader.setHandledMajors(1U << zav::rtf::kMajorCharacterSet | 1U << zav::rtf::kMajorDestination |
                            1U << zav::rtf::kMajorSpecialChar);
  }
  if (how.hooked) reader.setReadHook(Handler::of<&noHook>());
  reader.readDocument();
  return recorder.trace;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const Trace tokens = readTokens(bytes, {});
  const Trace document = readDocument(bytes, {}, false);
  const Trace plugIn = readDocument(bytes, {}, true);
  for (const Reading how : kOtherReadings) {
    ZAV_FUZZ_CHECK(readTokens(bytes, how) == tokens);
    ZAV_FUZZ_CHECK(readDocument(bytes, how, false) == document);
    ZAV_FUZZ_CHECK(readDocument(bytes, how, true) == plugIn);
  }
  return 0;
}
