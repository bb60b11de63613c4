// The subcommands; each returns zavcat's exit status.
#ifndef ZAV_HOST_COMMANDS_H
#define ZAV_HOST_COMMANDS_H

#include <memory>
#include <optional>
#include <string>

#include "CommandLine.h"
#include "ExitStatus.h"

namespace zav::host {

class Catalog;

ExitStatus runShow(const CommonOptions& common, const ShowOptions& options);
ExitStatus runScan(const CommonOptions& common, const ScanOptions& options);
ExitStatus runSearch(const CommonOptions& common, const SearchOptions& options);
ExitStatus runList(const CommonOptions& common, const ListOptions& options);
ExitStatus runExport(const CommonOptions& common, const ExportOptions& options);

// For the reading commands: the catalog, or null once stderr says why not.
std::unique_ptr<Catalog> openCatalogToRead(const std::optional<std::string>& option, bool quiet);
// True, once stderr says so, when `label` is given but no such volume exists.
bool reportMissingVolume(Catalog& catalog, const std::optional<std::string>& label);

}  // namespace zav::host

#endif
