// Counts of what a run did, for the summary line and the exit status.
#ifndef ZAV_HOST_TALLY_H
#define ZAV_HOST_TALLY_H

#include <array>
#include <cstdint>
#include <string>

#include "FolderWalker.h"
#include "Record.h"

namespace zav::host {

class Tally {
 public:
  void add(FileStatus status) { ++counts_[static_cast<std::size_t>(status)]; }
  std::uint64_t files() const;
  std::uint64_t count(FileStatus status) const { return counts_[static_cast<std::size_t>(status)]; }
  // Unreadable or failed files make the exit status 1.
  bool allFilesRead() const;

  // "6 files: 4 ok, 1 no metadata, 1 unclaimed, 0 unreadable, 0 failed; 2 skipped (…)"
  std::string summary(const SkipCounts& skipped) const;

 private:
  std::array<std::uint64_t, kFileStatusCount> counts_{};
};

// Whether progress and summary go to stderr: on a terminal unless --quiet;
// elsewhere only the summary, and only when asked for.
struct Reporting {
  bool progress = false;
  bool summary = false;
};
Reporting reportingFor(bool quiet, bool summaryAsked);

}  // namespace zav::host

#endif
