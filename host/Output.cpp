#include "Output.h"

#include <unistd.h>

#include <cerrno>

namespace zav::host {

namespace {

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

void Output::flush() {
  if (buffer_.empty()) return;
  if (ok_ && !writeAll(STDOUT_FILENO, buffer_)) ok_ = false;
  buffer_.clear();
}

void reportProblem(Output& output, std::string_view message) {
  output.flush();
  std::string line = "zavcat: ";
  line += message;
  line += '\n';
  writeAll(STDERR_FILENO, line);
}

}  // namespace zav::host
