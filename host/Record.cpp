#include "Record.h"

#include <array>

namespace zav::host {

namespace {

constexpr std::array<std::string_view, kFileStatusCount> kStatusNames{
    "ok", "no-metadata", "unclaimed", "unreadable", "failed"};

}  // namespace

std::string_view statusName(FileStatus status) {
  return kStatusNames[static_cast<std::size_t>(status)];
}

std::optional<FileStatus> statusFromName(std::string_view name) {
  for (std::size_t i = 0; i < kStatusNames.size(); ++i) {
    if (kStatusNames[i] == name) return static_cast<FileStatus>(i);
  }
  return std::nullopt;
}

}  // namespace zav::host
