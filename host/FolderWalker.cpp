#include "FolderWalker.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace zav::host {

namespace fs = std::filesystem;

namespace {

// The entries of `folder` sorted by name, or none when it cannot be read.
std::vector<fs::directory_entry> sortedEntries(const fs::path& folder,
                                               const WalkCallbacks& callbacks) {
  std::vector<fs::directory_entry> entries;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) entries.push_back(*it);
  if (error) {
    callbacks.problem(folder.string(), error.message());
    return {};
  }
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return a.path().filename().native() < b.path().filename().native();
  });
  return entries;
}

void walk(const fs::path& folder, const WalkCallbacks& callbacks) {
  for (const fs::directory_entry& entry : sortedEntries(folder, callbacks)) {
    std::error_code error;
    // The entry itself, not what a link points to, decides whether to descend.
    if (fs::is_directory(entry.symlink_status(error))) {
      walk(entry.path(), callbacks);
    } else if (fs::is_regular_file(entry.status(error))) {
      callbacks.file(entry.path().string());
    }
  }
}

}  // namespace

void walkFolder(const std::string& folder, const WalkCallbacks& callbacks) {
  walk(fs::path(folder), callbacks);
}

}  // namespace zav::host
