// zavcat: the catalog host for the zav plug-ins. It shows what the plug-ins
// find in files, scans discs into an SQLite catalog and searches it.
#include <csignal>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "Worker.h"

namespace {

zav::host::ExitStatus run(const std::vector<std::string>& arguments) {
  using namespace zav::host;
  const ParsedCommandLine parsed = parseCommandLine(arguments);
  if (parsed.exitNow) return *parsed.exitNow;
  const CommandLine& line = parsed.commandLine;
  switch (line.subcommand) {
    case Subcommand::show: return runShow(line.common, line.show);
    case Subcommand::scan: return runScan(line.common, line.scan);
    case Subcommand::search: return runSearch(line.common, line.search);
    case Subcommand::list: return runList(line.common, line.list);
    case Subcommand::exportVolumes: return runExport(line.common, line.exportVolumes);
    case Subcommand::none: break;
  }
  return ExitStatus::usage;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  // A write past a file-size limit then fails with EFBIG, which a writer
  // reports, instead of killing the process.
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && arguments[0] == zav::host::kWorkerArgument) {
      return zav::host::exitCode(zav::host::runWorker(arguments));
    }
    return zav::host::exitCode(run(arguments));
  } catch (const std::exception& e) {
    std::cerr << "zavcat: " << e.what() << '\n';
  } catch (...) {
    std::cerr << "zavcat: unexpected failure\n";
  }
  return zav::host::exitCode(zav::host::ExitStatus::usage);
}
