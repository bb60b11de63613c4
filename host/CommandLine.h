// zavcat's command line: a subcommand and its options.
#ifndef ZAV_HOST_COMMANDLINE_H
#define ZAV_HOST_COMMANDLINE_H

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ExitStatus.h"
#include "TextConversion.h"

namespace CLI {
class App;
}

namespace zav::host {

// Options that every subcommand takes.
struct CommonOptions {
  std::optional<std::string> pluginFolder;
  LegacyEncoding legacyEncoding = LegacyEncoding::automatic;
  bool quiet = false;
};

enum class OutputFormat { text, json, null, csv };

struct ShowOptions {
  OutputFormat format = OutputFormat::text;
  bool raw = false;
  bool summary = false;
  std::optional<std::string> filesFrom;  // "-" is standard input
  std::vector<std::string> paths;
};

struct ScanOptions {
  std::optional<std::string> database;
  std::optional<std::string> label;
  unsigned jobs = 0;  // 0: one per core
  double fileTimeout = 10;
  bool summary = false;
  std::vector<std::string> paths;
};

struct SearchOptions {
  std::optional<std::string> database;
  OutputFormat format = OutputFormat::text;
  unsigned limit = 50;
  std::string query;
};

struct ListOptions {
  std::optional<std::string> database;
  std::optional<std::string> volume;
};

struct ExportOptions {
  std::optional<std::string> database;
  std::optional<std::string> volume;
  OutputFormat format = OutputFormat::json;
};

enum class Subcommand { none, show, scan, search, list, exportVolumes };

struct CommandLine {
  Subcommand subcommand = Subcommand::none;
  CommonOptions common;
  ShowOptions show;
  ScanOptions scan;
  SearchOptions search;
  ListOptions list;
  ExportOptions exportVolumes;
};

// The subcommand meant when the first argument names none.
inline constexpr const char* kImpliedSubcommand = "show";

struct ParsedCommandLine {
  CommandLine commandLine;
  std::optional<ExitStatus> exitNow;  // help or version was printed, or a usage error
};

// zavcat's command line as CLI11 defines it, every option bound to a field
// of `line` and --version to `version`. The parser, the man page and the
// shell completion all read these same definitions.
std::unique_ptr<CLI::App> makeCommandLineApp(CommandLine& line, bool& version);

// Parses the arguments after the program name. The first one is a
// subcommand when it names one; otherwise "show" is implied, so
// `zavcat PATH...` shows files and `zavcat show list` shows one named "list".
// Help and version go to standard output, errors to standard error.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace zav::host

#endif
