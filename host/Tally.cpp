#include "Tally.h"

#include <unistd.h>

namespace zav::host {

std::uint64_t Tally::files() const {
  std::uint64_t sum = 0;
  for (const std::uint64_t count : counts_) sum += count;
  return sum;
}

bool Tally::allFilesRead() const {
  return count(FileStatus::unreadable) == 0 && count(FileStatus::failed) == 0;
}

std::string Tally::summary(const SkipCounts& skipped) const {
  const auto n = [this](FileStatus status) { return std::to_string(count(status)); };
  std::string text = std::to_string(files()) + (files() == 1 ? " file: " : " files: ") +
                     n(FileStatus::ok) + " ok, " + n(FileStatus::noMetadata) + " no metadata, " +
                     n(FileStatus::unclaimed) + " unclaimed, " + n(FileStatus::unreadable) +
                     " unreadable, " + n(FileStatus::failed) + " failed; " +
                     std::to_string(skipped.total()) + " skipped";
  if (skipped.total() > 0) text += " (" + skipped.describe() + ")";
  return text;
}

Reporting reportingFor(bool quiet, bool summaryAsked) {
  if (quiet) return {};
  const bool terminal = isatty(STDERR_FILENO) != 0;
  return {terminal, terminal || summaryAsked};
}

}  // namespace zav::host
