// The status line of a long run on a terminal: files done of all, files a
// second and the time left, redrawn at most ten times a second.
#ifndef ZAV_HOST_PROGRESS_H
#define ZAV_HOST_PROGRESS_H

#include <chrono>
#include <cstdint>

namespace zav::host {

class Progress {
 public:
  Progress(bool shown, std::uint64_t total);
  ~Progress() { clear(); }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void setTotal(std::uint64_t total) { total_ = total; }
  void update(std::uint64_t done);
  // Takes the line away, before anything else goes to stderr.
  void clear();

 private:
  using Clock = std::chrono::steady_clock;

  bool shown_;
  bool drawn_ = false;
  std::uint64_t total_;
  Clock::time_point started_;
  Clock::time_point lastDrawn_;
};

}  // namespace zav::host

#endif
