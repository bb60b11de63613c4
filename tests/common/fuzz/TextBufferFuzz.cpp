// Runs a sequence of TextBuffer operations (TextBufferScript.h) against a
// std::string model of the direct text and of the bytes held in chunks, and
// checks the buffer after every step: the same bytes and terminator, and
// storage only in whole growth steps.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "TextBuffer.h"
#include "TextBufferScript.h"

namespace {

using zav::fuzz::TextOp;

// Past the first chunk of the plug-ins' own step; a script stops there,
// since more text only makes the runs slower.
constexpr std::size_t kMostText = 10000;

class Script {
 public:
  Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool atEnd() const { return position_ >= size_; }
  std::uint8_t byte() { return atEnd() ? 0 : data_[position_++]; }
  // A length byte and up to that many bytes, with a terminator behind them.
  std::string text() {
    const std::size_t length = byte();
    const std::size_t available = std::min(length, size_ - position_);
    std::string out(reinterpret_cast<const char*>(data_ + position_), available);
    position_ += available;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

struct Model {
  std::string direct;
  std::string chunked;
  bool isChunked = false;

  void append(const std::string& bytes) { (isChunked ? chunked : direct) += bytes; }
};

void checkAgainst(const zav::TextBuffer& buffer, const Model& model, std::size_t checkFrom) {
  const std::size_t length = model.direct.size();
  ZAV_FUZZ_CHECK(buffer.length() == static_cast<std::int32_t>(length));
  ZAV_FUZZ_CHECK(buffer.capacity() > buffer.length());
  ZAV_FUZZ_CHECK(buffer.capacity() % buffer.growthStep() == 0);
  ZAV_FUZZ_CHECK(buffer.text()[length] == 0);
  checkFrom = std::min(checkFrom, length);
  ZAV_FUZZ_CHECK(std::memcmp(buffer.text() + checkFrom, model.direct.data() + checkFrom,
                             length - checkFrom) == 0);
  ZAV_FUZZ_CHECK(buffer.isChunked() == model.isChunked);
  if (model.isChunked) {
    ZAV_FUZZ_CHECK(buffer.chunkList()->pending() == static_cast<std::int64_t>(model.chunked.size()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Script script(data, size);
  const std::uint8_t step = script.byte();
  zav::TextBuffer buffer(step < zav::fuzz::kSmallestGrowthStep ? zav::kGrowthStep : step);
  Model model;
  while (!script.atEnd() && model.direct.size() + model.chunked.size() < kMostText) {
    const auto op = static_cast<TextOp>(script.byte() % static_cast<std::uint8_t>(TextOp::count));
    const std::int32_t capacityBefore = buffer.capacity();
    // Bytes before this are unchanged by an append unless the storage moved.
    std::size_t checkFrom = model.direct.size();
    switch (op) {
      case TextOp::append: {
        const std::string text = script.text();
        buffer.append(text.c_str());
        model.append(text.substr(0, std::strlen(text.c_str())));
        break;
      }
      case TextOp::appendCounted: {
        const std::string text = script.text();
        buffer.append(text.c_str(), static_cast<std::int32_t>(text.size()));
        // A count of 0 measures up to the terminator: nothing here.
        model.append(text);
        break;
      }
      case TextOp::appendIgnored:
        if (script.byte() % 2 != 0) {
          buffer.append(nullptr, 3);
        } else {
          buffer.append("abc", -1);
        }
        break;
      case TextOp::appendChar: {
        const char c = static_cast<char>(script.byte());
        buffer.appendChar(c);
        // A NUL says nothing in a direct text; in chunks it is a byte.
        if (c != 0 || model.isChunked) model.append(std::string(1, c));
        break;
      }
      case TextOp::assign: {
        const std::string text = script.text();
        buffer.assign(text.c_str(), static_cast<std::int32_t>(text.size()));
        model.direct.clear();
        model.append(text);
        checkFrom = 0;
        break;
      }
      case TextOp::clear:
        buffer.clear();
        model.direct.clear();
        break;
      case TextOp::reset:
        buffer.reset();
        model.direct.clear();
        ZAV_FUZZ_CHECK(buffer.capacity() == buffer.growthStep());
        break;
      case TextOp::beginChunked:
        buffer.beginChunked();
        model.isChunked = true;
        break;
      case TextOp::endChunked:
        buffer.endChunked();
        model.direct += model.chunked;
        model.chunked.clear();
        model.isChunked = false;
        break;
      case TextOp::appendRun: {
        const char c = static_cast<char>(script.byte());
        const std::size_t low = script.byte();
        const std::size_t length = (low | std::size_t{script.byte()} << 8) & 0x3FF;
        const std::string run(length, c);
        buffer.append(run.data(), static_cast<std::int32_t>(length));
        model.append(run);  // length 0 is a count that measures "": nothing
        break;
      }
      case TextOp::count:
        break;
    }
    if (buffer.capacity() != capacityBefore) checkFrom = 0;
    checkAgainst(buffer, model, checkFrom);
  }
  buffer.endChunked();
  model.direct += model.chunked;
  model.isChunked = false;
  checkAgainst(buffer, model, 0);
  return 0;
}
