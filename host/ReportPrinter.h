// The output layout of zavcat: one header line per file, then its text lines
// and properties indented below it.
#ifndef ZAV_HOST_REPORTPRINTER_H
#define ZAV_HOST_REPORTPRINTER_H

#include <ostream>
#include <string>

#include "FileDriver.h"

namespace zav::host {

//   PATH: PLUGIN open=RESULT
//     | LINE
//     TITLE: VALUE
void printReport(std::ostream& out, const FileReport& report);

//   PATH: unclaimed
void printUnclaimed(std::ostream& out, const std::string& path);

}  // namespace zav::host

#endif
