// The catalog subcommands, until the catalog lands.
#include <iostream>

#include "Commands.h"

namespace zav::host {

namespace {
int notYet(const char* name) {
  std::cerr << "zavcat: " << name << " is not available yet\n";
  return kUsageError;
}
}  // namespace

int runScan(const CommonOptions&, const ScanOptions&) { return notYet("scan"); }
int runSearch(const CommonOptions&, const SearchOptions&) { return notYet("search"); }
int runList(const CommonOptions&, const ListOptions&) { return notYet("list"); }
int runExport(const CommonOptions&, const ExportOptions&) { return notYet("export"); }

}  // namespace zav::host
