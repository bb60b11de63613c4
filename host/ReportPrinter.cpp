#include "ReportPrinter.h"

namespace zav::host {

void printReport(std::ostream& out, const FileReport& report) {
  out << report.path << ": " << report.pluginName << " open=" << report.openResult << '\n';
  for (const std::string& line : report.lines) out << "  | " << line << '\n';
  for (const Property& property : report.properties) {
    out << "  " << property.title << ": " << property.value << '\n';
  }
}

void printUnclaimed(std::ostream& out, const std::string& path) {
  out << path << ": unclaimed\n";
}

}  // namespace zav::host
