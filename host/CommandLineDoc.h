// zavcat's command line as documents describe it: the commands, their
// options and texts, read from the definitions the parser uses, so that the
// man page and the shell completion made from it stay true.
#ifndef ZAV_HOST_COMMANDLINEDOC_H
#define ZAV_HOST_COMMANDLINEDOC_H

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace zav::host {

enum class ValueKind { none, choice, file, folder, other };

struct OptionDoc {
  std::vector<std::string> names;  // "-j", "--jobs"; a positional's is its own ("PATH")
  std::string value;               // what it takes: "N", "FILE", "text|json"; empty for a flag
  std::string help;
  bool positional = false;
  bool required = false;
  bool repeats = false;  // a positional that takes several

  ValueKind valueKind() const;
  // The names a choice takes ("text", "json"); none for other values.
  std::vector<std::string> choices() const;
  bool hasName(const std::string& name) const;
};

struct CommandDoc {
  std::string name;
  std::string description;
  std::vector<OptionDoc> options;  // in the order defined, positionals last
  std::string footer;
};

struct CommandLineDoc {
  std::string program;
  std::string description;
  std::vector<OptionDoc> options;  // the program's own, without a command
  std::vector<CommandDoc> commands;
  std::string footer;

  // The options that every command takes (by their names), in the order of
  // the first command.
  std::vector<OptionDoc> commonOptions() const;
};

CommandLineDoc describeCommandLine(const CLI::App& app);

// zavcat's own definitions.
CommandLineDoc describeZavcat();

}  // namespace zav::host

#endif
