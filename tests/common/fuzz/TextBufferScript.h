// The input language of the TextBuffer target: a growth-step byte, then
// operations of one code byte and their operands. The seed writer builds
// scripts with it; the harness reads them back with the same codes.
#ifndef ZAV_TESTS_FUZZ_TEXTBUFFERSCRIPT_H
#define ZAV_TESTS_FUZZ_TEXTBUFFERSCRIPT_H

#include <cstdint>
#include <string_view>

#include "Bytes.h"

namespace zav::fuzz {

enum class TextOp : std::uint8_t {
  append,         // length byte, bytes: append(bytes, 0), so up to a NUL
  appendCounted,  // length byte, bytes: append(bytes, length)
  appendIgnored,  // one byte: odd, a null pointer; even, a negative count
  appendChar,     // the byte
  assign,         // length byte, bytes: assign(bytes, length)
  clear,
  reset,
  beginChunked,
  endChunked,
  appendRun,      // byte, two length bytes (low first, 10 bits): that many copies
  count
};

// Growth step bytes below this stand for the plug-ins' own step: smaller
// steps only make the runs slow, with a chunk or a regrowth for every few
// bytes.
inline constexpr std::uint8_t kSmallestGrowthStep = 64;

class TextBufferScript {
 public:
  explicit TextBufferScript(std::uint8_t growthStep) : bytes_{growthStep} {}

  TextBufferScript& op(TextOp op) {
    bytes_.push_back(static_cast<std::uint8_t>(op));
    return *this;
  }
  TextBufferScript& op(TextOp op, std::string_view text) {
    this->op(op).bytes_.push_back(static_cast<std::uint8_t>(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
  }
  TextBufferScript& op(TextOp op, std::uint8_t byte) {
    this->op(op).bytes_.push_back(byte);
    return *this;
  }
  TextBufferScript& run(char c, std::uint16_t length) {
    op(TextOp::appendRun).bytes_.push_back(static_cast<std::uint8_t>(c));
    bytes_.push_back(static_cast<std::uint8_t>(length));
    bytes_.push_back(static_cast<std::uint8_t>(length >> 8));
    return *this;
  }

  const test::Bytes& bytes() const { return bytes_; }

 private:
  test::Bytes bytes_;
};

}  // namespace zav::fuzz

#endif
