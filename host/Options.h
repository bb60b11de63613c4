// The command line of zavcat.
#ifndef ZAV_HOST_OPTIONS_H
#define ZAV_HOST_OPTIONS_H

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zav::host {

struct Options {
  bool help = false;
  std::optional<std::string> pluginFolder;  // --plugins DIR; none: beside the executable
  std::vector<std::string> paths;           // files and folders, in the order given
};

struct ParsedArguments {
  Options options;
  std::string error;  // empty when the arguments were understood
};

// Reads the arguments after the program name. "--" ends the options, so a
// path that begins with '-' can still be given.
ParsedArguments parseArguments(std::span<const char* const> arguments);

// The text that --help prints.
const char* helpText();

}  // namespace zav::host

#endif
