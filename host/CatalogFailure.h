// What a writer tells its user when the catalog cannot be written.
#ifndef ZAV_HOST_CATALOGFAILURE_H
#define ZAV_HOST_CATALOGFAILURE_H

#include <exception>
#include <ostream>
#include <string>

#include "ExitStatus.h"

namespace zav::host {

// Why the catalog could not be written, in a user's words ("the disk is
// full"), from an SQLite or a file-system error.
std::string catalogFailureReason(const std::exception& error);

// Says on `err` that the catalog at `path` (shown as given, escaped) could
// not be written, why, and that it is as it was before this `run` ("scan");
// returns the status for that.
ExitStatus reportCatalogNotWritten(std::ostream& err, const std::string& path,
                                   const std::exception& error, const char* run);

}  // namespace zav::host

#endif
