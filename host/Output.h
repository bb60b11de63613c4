// Standard output through one large buffer: records are appended as text and
// written in big blocks.
#ifndef ZAV_HOST_OUTPUT_H
#define ZAV_HOST_OUTPUT_H

#include <string>
#include <string_view>

namespace zav::host {

class Output {
 public:
  Output() { buffer_.reserve(kBlock * 2); }
  ~Output() { flush(); }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  std::string& buffer() { return buffer_; }
  Output& operator<<(std::string_view text) {
    buffer_ += text;
    return *this;
  }
  // Writes the buffer once it holds a block.
  void written() {
    if (buffer_.size() >= kBlock) flush();
  }
  void flush();
  // False once a write failed (a full disk, a closed pipe).
  bool ok() const { return ok_; }

 private:
  static constexpr std::size_t kBlock = 1 << 16;
  std::string buffer_;
  bool ok_ = true;
};

// Writes `message` to standard error as one line, after flushing `output`
// so that both streams keep the order in which things happened.
void reportProblem(Output& output, std::string_view message);

}  // namespace zav::host

#endif
