#include "CommandLineDoc.h"

#include <CLI/CLI.hpp>

#include <algorithm>

#include "CommandLine.h"

namespace zav::host {

namespace {

std::vector<std::string> splitChoices(const std::string& value) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = value.find('|', start);
    parts.push_back(value.substr(start, bar - start));
    if (bar == std::string::npos) return parts;
    start = bar + 1;
  }
}

bool isChoiceName(const std::string& part) {
  return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
  });
}

OptionDoc describeOption(const CLI::Option& option) {
  OptionDoc doc;
  doc.positional = !option.nonpositional();
  if (doc.positional) {
    doc.names.push_back(option.get_name(/*positional=*/true));
  } else {
    for (const std::string& name : option.get_snames()) doc.names.push_back("-" + name);
    for (const std::string& name : option.get_lnames()) doc.names.push_back("--" + name);
  }
  // A positional takes what its name says ("PATH").
  if (doc.positional) {
    doc.value = doc.names.front();
  } else if (option.get_items_expected_max() > 0) {
    const std::string type = option.get_type_name();  // "N:UINT in [1 - 256]": the checks follow
    doc.value = type.substr(0, type.find(':'));
  }
  doc.help = option.get_description();
  doc.required = option.get_required();
  doc.repeats = doc.positional && option.get_items_expected_max() > 1;
  return doc;
}

std::vector<OptionDoc> describeOptions(const CLI::App& app) {
  std::vector<OptionDoc> options;
  std::vector<OptionDoc> positionals;
  for (const CLI::Option* option : app.get_options()) {
    if (option->get_group().empty()) continue;  // hidden
    OptionDoc doc = describeOption(*option);
    (doc.positional ? positionals : options).push_back(std::move(doc));
  }
  options.insert(options.end(), positionals.begin(), positionals.end());
  return options;
}

}  // namespace

ValueKind OptionDoc::valueKind() const {
  if (value.empty()) return ValueKind::none;
  const std::vector<std::string> parts = splitChoices(value);
  if (parts.size() > 1 && std::all_of(parts.begin(), parts.end(), isChoiceName)) {
    return ValueKind::choice;
  }
  if (value.starts_with("FILE") || value == "PATH") return ValueKind::file;
  if (value == "DIR") return ValueKind::folder;
  return ValueKind::other;
}

std::vector<std::string> OptionDoc::choices() const {
  if (valueKind() != ValueKind::choice) return {};
  return splitChoices(value);
}

bool OptionDoc::hasName(const std::string& name) const {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<OptionDoc> CommandLineDoc::commonOptions() const {
  std::vector<OptionDoc> common;
  if (commands.empty()) return common;
  for (const OptionDoc& option : commands.front().options) {
    if (option.positional) continue;
    const bool everywhere = std::all_of(commands.begin(), commands.end(), [&](const CommandDoc& command) {
      return std::any_of(command.options.begin(), command.options.end(),
                         [&](const OptionDoc& other) { return other.names == option.names; });
    });
    if (everywhere) common.push_back(option);
  }
  return common;
}

CommandLineDoc describeCommandLine(const CLI::App& app) {
  CommandLineDoc doc;
  doc.program = app.get_name();
  doc.description = app.get_description();
  doc.options = describeOptions(app);
  doc.footer = app.get_footer();
  for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
    if (command->get_group().empty()) continue;  // hidden
    // A command without a footer of its own shows the program's in its help.
    std::string footer = command->get_footer();
    if (footer == doc.footer) footer.clear();
    doc.commands.push_back({command->get_name(), command->get_description(), describeOptions(*command),
                            std::move(footer)});
  }
  return doc;
}

CommandLineDoc describeZavcat() {
  CommandLine line;
  bool version = false;
  return describeCommandLine(*makeCommandLineApp(line, version));
}

}  // namespace zav::host
