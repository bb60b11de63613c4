#include "CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <map>
#include <thread>

#include "ExitStatus.h"

namespace zav::host {

namespace {


constexpr const char* kOverview = R"(Catalogs discs with the zav plug-ins: shows what they find in files and
folders, scans them into an SQLite catalog, and searches, lists and exports it.
When the first argument names no command, show is meant: zavcat PATH... shows
files, and zavcat show list shows one named list.)";

constexpr const char* kGeneralHelp = R"(
Files and folders
  Folders are walked recursively, the entries of each in the byte order of
  their names. Regular files and symbolic links to them are read; symbolic
  links to folders are not followed. Dangling links, FIFOs, sockets, devices
  and paths longer than the system takes are skipped and counted. Before a
  plug-in sees a file, zavcat checks that it is a regular file it may read;
  otherwise the file is recorded as unreadable and reported on stderr.
  A file's suffix is the text after the last dot of its name, upper-cased
  (ASCII letters only) and without the dot. The plug-ins are asked in the
  byte order of their module file names; the first that claims the suffix
  reads the file.

Records and statuses
  Every file gives one record: path, relative_path, size, mtime, plugin,
  open, status, reason, the non-empty properties (key, name, title, value)
  and the lines. Statuses: ok (claimed, with a property or a line),
  no-metadata (claimed, nothing found), unclaimed (no plug-in claims the
  suffix), unreadable (refused by the host's check), failed (a plug-in
  crashed or timed out on it, with the reason).

Text
  Texts are written as UTF-8: the plug-ins' code page comes from the locale
  environment (LC_ALL, LC_CTYPE, LANG; a Shift-JIS codeset gives CP932,
  anything else UTF-8). Valid UTF-8 stays under UTF-8; other bytes are read
  as CP932 when they decode cleanly as Japanese text, else as Windows-1252
  (--legacy-encoding forces one). Where a text changed, the original bytes
  are kept beside it ("raw", as hex in JSON). U+FFFD stands for bytes no
  rule decodes. In text output, control bytes and the backslash are escaped
  (\n, \r, \x1b, \\), so one file is always one record.

Plug-ins
  Every *.so module of the first folder that holds one, of: --plugins DIR,
  the folders of $ZAV_PLUGIN_PATH (separated by ':'), the folder of zavcat
  itself, and ../lib/zav from there.

Catalog
  --db FILE, else $ZAVCAT_DB, else $XDG_DATA_HOME/zavcat/catalog.db
  (~/.local/share/zavcat/catalog.db), created on first use.

Exit status
  0  all went well
  1  some path was missing, unreadable or failed (everything else was still
     done and, for scan, written); search: nothing matched
  2  usage error, or no plug-in could be loaded
  3  the catalog could not be written (a full disk, a file-size limit, a
     read-only or damaged file, or one that is no catalog); it was left as
     it was, with nothing of this run
  130  scan was interrupted; the catalog is as it was
)";

constexpr const char* kSearchHelp = R"(
Queries use SQLite's FTS5 syntax: words (all must occur), "a phrase",
word* (prefix), a OR b, a NOT b, NEAR(a b, 5), parentheses, and the
columns info: (a file's path and property values) and text: (its lines).
Case and accents are ignored. Japanese and other text without spaces is
found by any two or more characters inside it: 天気 finds 東京都の天気は晴れ.
Files are ranked by relevance, a match in the path or a property above one
in the lines; each match shows the volume, the path and the property or
line, highlighted on a terminal.
)";

const std::map<std::string, LegacyEncoding> kLegacyEncodings{
    {"auto", LegacyEncoding::automatic},
    {"cp932", LegacyEncoding::cp932},
    {"cp1252", LegacyEncoding::cp1252}};

const std::pair<const char*, Subcommand> kSubcommands[] = {
    {"show", Subcommand::show},   {"scan", Subcommand::scan},
    {"search", Subcommand::search}, {"list", Subcommand::list},
    {"export", Subcommand::exportVolumes},
};

bool isSubcommandName(const std::string& argument) {
  for (const auto& [name, subcommand] : kSubcommands) {
    if (argument == name) return true;
  }
  return false;
}

bool isTopLevelOption(const std::string& argument) {
  return argument == "-h" || argument == "--help" || argument == "--version";
}

// One of a fixed set of names; the help shows the names, not their values.
template <typename Value>
CLI::Option* addChoice(CLI::App& command, const char* name, Value& target, const char* help,
                       const std::map<std::string, Value>& choices) {
  std::string typeName;
  for (const auto& choice : choices) typeName += (typeName.empty() ? "" : "|") + choice.first;
  return command.add_option(name, target, help)
      ->transform(CLI::CheckedTransformer(choices).description(""))
      ->type_name(typeName);
}

void addCommonOptions(CLI::App& command, CommonOptions& common, bool& version) {
  command.add_option("--plugins", common.pluginFolder, "load the plug-ins from DIR")
      ->type_name("DIR");
  addChoice(command, "--legacy-encoding", common.legacyEncoding,
            "how to read texts that are not UTF-8 (default: auto)", kLegacyEncodings);
  command.add_flag("-q,--quiet", common.quiet, "no progress line and no summary");
  command.add_flag("--version", version, "print the version and exit");
}

void addDatabaseOption(CLI::App& command, std::optional<std::string>& database) {
  command.add_option("--db", database, "the catalog file")->type_name("FILE");
}

CLI::App* addShow(CLI::App& app, CommandLine& line, bool& version) {
  ShowOptions& show = line.show;
  CLI::App* command = app.add_subcommand("show", "print what the plug-ins find in files and folders");
  addChoice(*command, "--format", show.format, "text (default), json (JSON Lines) or null",
            {{"text", OutputFormat::text}, {"json", OutputFormat::json}, {"null", OutputFormat::null}});
  command->add_flag("--raw", show.raw, "text output: the plug-ins' bytes, unconverted");
  command->add_option("--files-from", show.filesFrom, "read paths from FILE, one a line (- : stdin)")
      ->type_name("FILE|-");
  command->add_flag("--summary", show.summary, "print the summary also when stderr is no terminal");
  command->add_option("PATH", show.paths, "files and folders");
  addCommonOptions(*command, line.common, version);
  command->footer(R"(
Text output, per file:
  PATH: PLUGIN open=RESULT   the plug-in that read the file and its result
    | LINE                   each text line (blank lines kept)
    TITLE: VALUE             each property whose value is not empty
  PATH: unclaimed | unreadable (REASON)
json: one object per file (see zavcat --help). null: every plug-in call for every
file and nothing printed, for timing.
)");
  return command;
}

CLI::App* addScan(CLI::App& app, CommandLine& line, bool& version) {
  ScanOptions& scan = line.scan;
  CLI::App* command = app.add_subcommand("scan", "scan files and folders into the catalog as one volume");
  addDatabaseOption(*command, scan.database);
  command->add_option("--label", scan.label,
                      "the volume's label; a volume of that label is replaced (default: the name of "
                      "the first folder, which never replaces one)")
      ->type_name("NAME");
  command->add_option("-j,--jobs", scan.jobs, "worker processes (default: one per core)")
      ->check(CLI::Range(1u, 256u))
      ->type_name("N");
  command->add_option("--file-timeout", scan.fileTimeout,
                      "a file taking longer is recorded as failed (default: 10)")
      ->check(CLI::PositiveNumber)
      ->type_name("SECONDS");
  command->add_flag("--summary", scan.summary, "print the summary also when stderr is no terminal");
  command->add_option("PATH", scan.paths, "files and folders")->required();
  addCommonOptions(*command, line.common, version);
  return command;
}

CLI::App* addSearch(CLI::App& app, CommandLine& line, bool& version) {
  SearchOptions& search = line.search;
  CLI::App* command = app.add_subcommand("search", "search the catalog");
  addDatabaseOption(*command, search.database);
  addChoice(*command, "--format", search.format, "text (default) or json (JSON Lines)",
            {{"text", OutputFormat::text}, {"json", OutputFormat::json}});
  command->add_option("--limit", search.limit, "at most N matches (default: 50)")
      ->check(CLI::Range(1u, 1000000000u))
      ->type_name("N");
  command->add_option("QUERY", search.query, "an FTS5 query")->required();
  addCommonOptions(*command, line.common, version);
  command->footer(kSearchHelp);
  return command;
}

CLI::App* addList(CLI::App& app, CommandLine& line, bool& version) {
  CLI::App* command =
      app.add_subcommand("list", "list the volumes, or the files of one volume as a tree");
  addDatabaseOption(*command, line.list.database);
  command->add_option("--volume", line.list.volume, "the volume to list")->type_name("NAME");
  addCommonOptions(*command, line.common, version);
  return command;
}

CLI::App* addExport(CLI::App& app, CommandLine& line, bool& version) {
  ExportOptions& options = line.exportVolumes;
  CLI::App* command = app.add_subcommand("export", "write the catalog's records as JSON or CSV");
  addDatabaseOption(*command, options.database);
  command->add_option("--volume", options.volume, "only this volume")->type_name("NAME");
  addChoice(*command, "--format", options.format, "json (JSON Lines) or csv",
            {{"json", OutputFormat::json}, {"csv", OutputFormat::csv}})
      ->required();
  addCommonOptions(*command, line.common, version);
  command->footer(R"(
CSV: one row per file with the record's fields and one column per property
name; lines are left out. JSON: one object per file, lines included.
)");
  return command;
}

}  // namespace

std::unique_ptr<CLI::App> makeCommandLineApp(CommandLine& line, bool& version) {
  auto app = std::make_unique<CLI::App>(kOverview, "zavcat");
  app->footer(kGeneralHelp);
  app->set_help_flag("-h,--help", "print this help and exit");  // the commands take it over
  app->add_flag("--version", version, "print the version and exit");
  app->require_subcommand(0, 1);
  addShow(*app, line, version);
  addScan(*app, line, version);
  addSearch(*app, line, version);
  addList(*app, line, version);
  addExport(*app, line, version);
  return app;
}

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  CommandLine& line = parsed.commandLine;
  bool version = false;
  const std::unique_ptr<CLI::App> owned = makeCommandLineApp(line, version);
  CLI::App& app = *owned;

  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  if (arguments.empty() || (!isSubcommandName(arguments[0]) && !isTopLevelOption(arguments[0]))) {
    reversed.push_back(kImpliedSubcommand);
  }
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) {  // --help; help() shows the chosen subcommand's
      std::cout << app.help();
      parsed.exitNow = ExitStatus::ok;
      return parsed;
    }
    std::cerr << "zavcat: " << error.what() << "\nTry 'zavcat --help'.\n";
    parsed.exitNow = ExitStatus::usage;
    return parsed;
  }
  if (version) {
    std::cout << "zavcat " << ZAV_VERSION << '\n';
    parsed.exitNow = ExitStatus::ok;
    return parsed;
  }
  for (const auto& [name, subcommand] : kSubcommands) {
    if (app.get_subcommand(name)->parsed()) line.subcommand = subcommand;
  }
  if (line.subcommand == Subcommand::none) {
    std::cout << app.help();
    parsed.exitNow = ExitStatus::ok;
  }
  if (line.scan.jobs == 0) line.scan.jobs = std::max(1u, std::thread::hardware_concurrency());
  return parsed;
}

}  // namespace zav::host
