#include "FolderWalker.h"

#include <climits>
#include <cstring>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace zav::host {

namespace fs = std::filesystem;

namespace {

struct SkipName {
  const char* one;
  const char* many;
};
constexpr std::array<SkipName, kSkipReasonCount> kSkipNames{{
    {"dangling link", "dangling links"},
    {"link to a folder", "links to folders"},
    {"FIFO", "FIFOs"},
    {"socket", "sockets"},
    {"device", "devices"},
    {"path too long", "paths too long"},
}};

// Why an entry of this type is passed over; none for what the walk takes.
std::optional<SkipReason> specialFileReason(fs::file_type type) {
  switch (type) {
    case fs::file_type::fifo: return SkipReason::fifo;
    case fs::file_type::socket: return SkipReason::socket;
    case fs::file_type::block:
    case fs::file_type::character: return SkipReason::device;
    default: return std::nullopt;
  }
}

bool tooLong(const std::string& path) { return path.size() >= PATH_MAX; }

}  // namespace

std::uint64_t SkipCounts::total() const {
  std::uint64_t sum = 0;
  for (const std::uint64_t count : counts_) sum += count;
  return sum;
}

std::string SkipCounts::describe() const {
  std::string text;
  for (std::size_t i = 0; i < kSkipReasonCount; ++i) {
    if (counts_[i] == 0) continue;
    if (!text.empty()) text += ", ";
    text += std::to_string(counts_[i]) + " " + (counts_[i] == 1 ? kSkipNames[i].one : kSkipNames[i].many);
  }
  return text;
}

std::string baseName(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos || path.size() == 1 ? path : path.substr(slash + 1);
}

void PathWalker::add(const std::string& path, const std::string& relativePrefix) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    problem(path, std::strerror(errno));
  } else if (S_ISDIR(status.st_mode)) {
    walk(path, relativePrefix);
  } else if (S_ISREG(status.st_mode)) {
    callbacks_.file({path, baseName(path), KnownStatus{status.st_size, status.st_mtim.tv_sec}});
  } else {
    problem(path, "not a regular file or folder");
  }
}

void PathWalker::walk(const std::string& folder, const std::string& relative) {
  struct NamedEntry {
    std::string name;
    fs::directory_entry entry;
  };
  std::vector<NamedEntry> entries;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    entries.push_back({it->path().filename().native(), *it});
  }
  if (error) {
    problem(folder, error.message());
    return;
  }
  std::sort(entries.begin(), entries.end(),
            [](const NamedEntry& a, const NamedEntry& b) { return a.name < b.name; });
  const std::string folderPrefix = folder.ends_with('/') ? folder : folder + "/";
  for (const auto& [name, entry] : entries) {
    std::string path = folderPrefix + name;
    std::string relativePath = relative + name;
    if (tooLong(path)) {
      skipped_.add(SkipReason::tooLong);
      continue;
    }
    // The entry itself, not what a link points to, decides whether to descend.
    fs::file_type type = entry.symlink_status(error).type();
    if (type == fs::file_type::directory) {
      walk(path, relativePath + "/");
      continue;
    }
    if (type == fs::file_type::symlink) {
      type = entry.status(error).type();
      if (type == fs::file_type::not_found) {
        skipped_.add(SkipReason::danglingLink);
        continue;
      }
      if (type == fs::file_type::directory) {
        skipped_.add(SkipReason::folderLink);
        continue;
      }
    }
    if (type == fs::file_type::regular) {
      callbacks_.file({std::move(path), std::move(relativePath)});
    } else if (const auto reason = specialFileReason(type)) {
      skipped_.add(*reason);
    } else {
      problem(path, error ? error.message() : "cannot tell what kind of file it is");
    }
  }
}

void PathWalker::problem(const std::string& path, const std::string& reason) {
  allPathsRead_ = false;
  callbacks_.problem(path, reason);
}

}  // namespace zav::host
