#include "Progress.h"

#include <unistd.h>

#include <string>

namespace zav::host {

namespace {

std::string duration(std::uint64_t seconds) {
  std::string minutes = std::to_string(seconds / 60);
  std::string rest = std::to_string(seconds % 60);
  return minutes + ":" + (rest.size() < 2 ? "0" : "") + rest;
}

}  // namespace

Progress::Progress(bool shown, std::uint64_t total)
    : shown_(shown), total_(total), started_(Clock::now()), lastDrawn_(started_) {}

void Progress::update(std::uint64_t done) {
  if (!shown_) return;
  const Clock::time_point now = Clock::now();
  if (now - lastDrawn_ < std::chrono::milliseconds(100)) return;
  lastDrawn_ = now;
  const double seconds = std::chrono::duration<double>(now - started_).count();
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
  std::string line = "\r\x1b[Kzavcat: " + std::to_string(done) + "/" + std::to_string(total_) +
                     " files, " + std::to_string(static_cast<std::uint64_t>(rate)) + " files/s";
  if (rate > 0 && done < total_) {
    line += ", " + duration(static_cast<std::uint64_t>(static_cast<double>(total_ - done) / rate)) +
            " left";
  }
  if (::write(STDERR_FILENO, line.data(), line.size()) > 0) drawn_ = true;
}

void Progress::clear() {
  if (!drawn_) return;
  constexpr char kErase[] = "\r\x1b[K";
  if (::write(STDERR_FILENO, kErase, sizeof kErase - 1) > 0) drawn_ = false;
}

}  // namespace zav::host
