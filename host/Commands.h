// The subcommands; each returns zavcat's exit status.
#ifndef ZAV_HOST_COMMANDS_H
#define ZAV_HOST_COMMANDS_H

#include "CommandLine.h"

namespace zav::host {

enum ExitStatus { kSuccess = 0, kSomeFilesFailed = 1, kUsageError = 2 };

int runShow(const CommonOptions& common, const ShowOptions& options);
int runScan(const CommonOptions& common, const ScanOptions& options);
int runSearch(const CommonOptions& common, const SearchOptions& options);
int runList(const CommonOptions& common, const ListOptions& options);
int runExport(const CommonOptions& common, const ExportOptions& options);

}  // namespace zav::host

#endif
