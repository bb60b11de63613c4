#include "Options.h"

#include <string_view>

namespace zav::host {

namespace {

constexpr std::string_view kPluginsOption = "--plugins";

}  // namespace

ParsedArguments parseArguments(std::span<const char* const> arguments) {
  ParsedArguments parsed;
  Options& options = parsed.options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
      options.paths.emplace_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "-h" || argument == "--help") {
      options.help = true;
    } else if (argument == kPluginsOption) {
      if (i + 1 == arguments.size()) {
        parsed.error = "--plugins needs a folder";
        return parsed;
      }
      options.pluginFolder = arguments[++i];
    } else if (argument.starts_with(std::string(kPluginsOption) + "=")) {
      options.pluginFolder = std::string(argument.substr(kPluginsOption.size() + 1));
    } else {
      parsed.error = "unknown option '" + std::string(argument) + "'";
      return parsed;
    }
  }
  if (!options.help && options.paths.empty()) parsed.error = "no file or folder given";
  return parsed;
}

const char* helpText() {
  return R"(Usage: zavcat [--plugins DIR] PATH...

Catalogs files and folders with the zav extractor plug-ins and prints what
the plug-ins report for each file.

Plug-ins
  Every *.so module in the plug-in folder is loaded: by default the folder
  that zavcat itself lies in, or DIR given with --plugins. The modules are
  asked in the byte order of their file names. A module that cannot be
  loaded, or that lacks one of the eleven ZAV entry points, is reported on
  stderr and the others are still used.

Files and folders
  A file's suffix is the text after the last dot of its name, upper-cased
  (ASCII letters only) and without the dot: "song.Mp3" and ".mp3" have the
  suffix MP3, and a name without a dot has none. The first plug-in that
  claims the suffix reads the file.
  Folders are walked recursively in the byte order of the names. Regular
  files (and symbolic links to them) are visited; symbolic links to folders
  are not followed. Files that no plug-in claims are skipped in a walk and
  reported as unclaimed when named directly. A path that does not exist is
  reported on stderr, and the other paths are still done.

Output, per file
  PATH: PLUGIN open=RESULT   the plug-in that read the file and its result
    | LINE                   each text line, without its line feed
    TITLE: VALUE             each property whose value is not empty
  PATH: unclaimed            a named file that no plug-in claims
  Texts are printed as the bytes the plug-ins return, in their code page.

Exit status
  0  all went well
  1  a path is missing or could not be read (the others were still done)
  2  the arguments were not understood, or no plug-in could be loaded

Options
  --plugins DIR   load the plug-ins from DIR
  -h, --help      print this help and exit
)";
}

}  // namespace zav::host
