// What the host keeps of one file: the same record is printed by show,
// stored by scan and written by export.
#ifndef ZAV_HOST_RECORD_H
#define ZAV_HOST_RECORD_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TextConversion.h"

namespace zav::host {

enum class FileStatus : std::uint8_t {
  ok,          // claimed and opened, with at least one property or line
  noMetadata,  // claimed, but nothing came back
  unclaimed,   // no plug-in claims the suffix
  unreadable,  // the host's own check refused it; no plug-in saw it
  failed,      // the plug-in crashed or hung on it (scan workers only)
};
inline constexpr int kFileStatusCount = 5;

std::string_view statusName(FileStatus status);
std::optional<FileStatus> statusFromName(std::string_view name);

struct RecordProperty {
  std::int32_t key = 0;
  std::string name;  // the stable English name ("title", "key_140")
  Text title;
  Text value;
};

struct FileRecord {
  Text path;
  Text relativePath;
  std::int64_t size = 0;
  std::int64_t modified = 0;  // seconds since the epoch
  std::string plugin;         // empty when no plug-in read the file
  int openResult = 0;
  FileStatus status = FileStatus::ok;
  std::string reason;  // why it is unreadable or failed
  std::vector<RecordProperty> properties;  // the non-empty ones, in index order
  std::vector<Text> lines;                 // blank lines kept

  // A plug-in's open result is known once it read the file to the end.
  bool hasOpenResult() const {
    return !plugin.empty() && (status == FileStatus::ok || status == FileStatus::noMetadata);
  }
};

}  // namespace zav::host

#endif
