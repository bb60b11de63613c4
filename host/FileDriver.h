// One file through the host: its own check first, then the plug-in that
// claims the suffix, driven in the order the plug-ins are built for.
#ifndef ZAV_HOST_FILEDRIVER_H
#define ZAV_HOST_FILEDRIVER_H

#include <cstdint>
#include <optional>
#include <string>

#include "PluginFolder.h"
#include "Record.h"
#include "TextConversion.h"

namespace zav::host {

// A file found by a walk or named by the user.
// What the walk's own stat of a named file told, so the check need not
// stat it again.
struct KnownStatus {
  std::int64_t size = 0;
  std::int64_t modified = 0;
};

struct FileEntry {
  std::string path;
  std::string relativePath;  // below the named folder; the name of a named file
  std::optional<KnownStatus> known = std::nullopt;
};

// The host's check of a file: a regular file that this process may read.
// Only stat and faccessat, so the plug-ins' own opens stay the only ones; and
// faccessat only where the plug-in's reading leaves it in doubt (a file that
// gave a property or a line was read).
struct FileCheck {
  int error = 0;  // errno of the failed check; 0 when the file may be read
  std::int64_t size = 0;
  std::int64_t modified = 0;
  const char* reason() const;
};
// A regular file (stat, unless the walk already did).
FileCheck checkFile(const FileEntry& entry);
// And one this process may read; false (with `check` telling why) if not.
bool checkReadable(const FileEntry& entry, FileCheck& check);

// The fields of a file's record that need no plug-in (paths, size, time),
// after the host's check, which `check` tells.
FileRecord fileRecord(const FileEntry& entry, const TextConverter& converter, FileCheck& check);

// The plug-in that claims the suffix of `path`, or null.
const Plugin* claimantOf(const PluginList& plugins, const std::string& path);

// Check, claim, open, every line, every property (key, title, value), close;
// the texts converted by `converter`.
FileRecord inspectFile(const PluginList& plugins, const FileEntry& entry,
                       const TextConverter& converter);

// The same calls for timing: nothing is copied or kept. Tells whether the
// file was unreadable (`check` says why), unclaimed, or read (ok).
FileStatus driveFile(const PluginList& plugins, const FileEntry& entry, FileCheck& check);

}  // namespace zav::host

#endif
