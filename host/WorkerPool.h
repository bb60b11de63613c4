// The parent's side of the scan workers.
#ifndef ZAV_HOST_WORKERPOOL_H
#define ZAV_HOST_WORKERPOOL_H

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FileDriver.h"
#include "PluginFolder.h"
#include "TextConversion.h"

namespace zav::host {

struct WorkerSettings {
  std::string pluginFolder;
  LegacyEncoding legacyEncoding = LegacyEncoding::automatic;
  unsigned workers = 1;
  double fileTimeout = 10;  // seconds
};

// Reads `files` with worker processes and hands each record to `deliver` in
// the order of `files`, whatever order the workers finish in. A worker that
// crashes, or passes the timeout on a file, is replaced and the file
// recorded as failed. `tick` is called about ten times a second and between
// records; when it returns false, reading stops early and read() returns
// false. Throws std::runtime_error when workers cannot be started.
// `plugins` (the parent's own) and `converter` serve the failed records.
bool readWithWorkers(const std::vector<FileEntry>& files, const WorkerSettings& settings,
                     const PluginList& plugins, const TextConverter& converter,
                     const std::function<void(FileRecord&&)>& deliver,
                     const std::function<bool()>& tick);

}  // namespace zav::host

#endif
