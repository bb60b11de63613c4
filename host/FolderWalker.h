// Turns the paths a user names into the files to read: a named file as it
// is, a named folder walked recursively. What a walk passes over is counted,
// so the summary can say so.
#ifndef ZAV_HOST_FOLDERWALKER_H
#define ZAV_HOST_FOLDERWALKER_H

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "FileDriver.h"

namespace zav::host {

enum class SkipReason : std::uint8_t {
  danglingLink,
  folderLink,  // links to folders are not followed, so a walk cannot loop
  fifo,
  socket,
  device,
  tooLong,  // the path is longer than the system takes
};
inline constexpr std::size_t kSkipReasonCount = 6;

class SkipCounts {
 public:
  void add(SkipReason reason) { ++counts_[static_cast<std::size_t>(reason)]; }
  std::uint64_t total() const;
  // "2 dangling links, 1 FIFO"; empty when nothing was skipped.
  std::string describe() const;

 private:
  std::array<std::uint64_t, kSkipReasonCount> counts_{};
};

struct WalkCallbacks {
  std::function<void(FileEntry&& file)> file;
  // A path that is missing or could not be read; everything else goes on.
  std::function<void(const std::string& path, const std::string& reason)> problem;
};

class PathWalker {
 public:
  explicit PathWalker(WalkCallbacks callbacks) : callbacks_(std::move(callbacks)) {}

  // A named link is followed, to a folder as well: the user chose it. Below
  // a folder, entries come depth first in the byte order of their names;
  // regular files and links to them are given, the rest is counted.
  // `relativePrefix` goes in front of the relative paths of a walked folder.
  void add(const std::string& path, const std::string& relativePrefix = {});

  const SkipCounts& skipped() const { return skipped_; }
  bool allPathsRead() const { return allPathsRead_; }

 private:
  void walk(const std::string& folder, const std::string& relative);
  void problem(const std::string& path, const std::string& reason);

  WalkCallbacks callbacks_;
  SkipCounts skipped_;
  bool allPathsRead_ = true;
};

// The last component of `path` ("a/b/" gives "b").
std::string baseName(std::string path);

}  // namespace zav::host

#endif
