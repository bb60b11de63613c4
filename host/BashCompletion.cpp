#include "BashCompletion.h"

#include <sstream>

namespace zav::host {

namespace {

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

// What the script completes after an option, or in a positional's place:
// the choices, or @file, @folder, @other (nothing to offer).
std::string valueWords(const OptionDoc& option) {
  switch (option.valueKind()) {
    case ValueKind::none: return {};
    case ValueKind::choice: return joined(option.choices());
    case ValueKind::file: return "@file";
    case ValueKind::folder: return "@folder";
    case ValueKind::other: return "@other";
  }
  return {};
}

void writeCommand(std::ostream& out, const CommandDoc& command) {
  std::vector<std::string> names;
  std::string positional = "@other";
  for (const OptionDoc& option : command.options) {
    if (option.positional) {
      positional = valueWords(option);
    } else {
      names.insert(names.end(), option.names.begin(), option.names.end());
    }
  }
  out << "    " << command.name << ")\n"
      << "      options='" << joined(names) << "'\n"
      << "      positional=" << positional << "\n"
      << "      case $prev in\n";
  for (const OptionDoc& option : command.options) {
    if (option.positional || option.value.empty()) continue;
    std::string pattern;
    for (const std::string& name : option.names) pattern += (pattern.empty() ? "" : "|") + name;
    out << "        " << pattern << ") takes='" << valueWords(option) << "' ;;\n";
  }
  out << "      esac ;;\n";
}

}  // namespace

std::string bashCompletion(const CommandLineDoc& doc, const std::string& implied) {
  std::vector<std::string> commands;
  std::string commandPattern;
  for (const CommandDoc& command : doc.commands) {
    commands.push_back(command.name);
    commandPattern += (commandPattern.empty() ? "" : "|") + command.name;
  }
  const std::string function = "_" + doc.program;

  std::ostringstream out;
  out << "# bash completion for " << doc.program
      << ", generated from its command-line definitions; do not edit.\n"
      << function << "_add() {\n"
      << "  local line\n"
      << "  while IFS= read -r line; do COMPREPLY+=(\"$line\"); done\n"
      << "}\n\n"
      << function << "() {\n"
      << "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}\n"
      << "  local command=" << implied << " options='' positional=@other takes=''\n"
      << "  COMPREPLY=()\n"
      << "  # The command is the first argument, when it names one.\n"
      << "  if ((COMP_CWORD > 1)); then\n"
      << "    case ${COMP_WORDS[1]} in\n"
      << "      " << commandPattern << ") command=${COMP_WORDS[1]} ;;\n"
      << "    esac\n"
      << "  fi\n"
      << "  case $command in\n";
  for (const CommandDoc& command : doc.commands) writeCommand(out, command);
  out << "  esac\n"
      << "  case $takes in\n"
      << "    '') ;;\n"
      << "    @other) return ;;\n"
      << "    @file) compopt -o filenames 2>/dev/null; " << function
      << "_add < <(compgen -f -- \"$cur\"); return ;;\n"
      << "    @folder) compopt -o filenames 2>/dev/null; " << function
      << "_add < <(compgen -d -- \"$cur\"); return ;;\n"
      << "    *) " << function << "_add < <(compgen -W \"$takes\" -- \"$cur\"); return ;;\n"
      << "  esac\n"
      << "  if [[ $cur == -* ]]; then\n"
      << "    " << function << "_add < <(compgen -W \"$options\" -- \"$cur\")\n"
      << "    return\n"
      << "  fi\n"
      << "  if ((COMP_CWORD == 1)); then\n"
      << "    " << function << "_add < <(compgen -W '" << joined(commands) << "' -- \"$cur\")\n"
      << "  fi\n"
      << "  case $positional in\n"
      << "    @file) compopt -o filenames 2>/dev/null; " << function
      << "_add < <(compgen -f -- \"$cur\") ;;\n"
      << "    @folder) compopt -o filenames 2>/dev/null; " << function
      << "_add < <(compgen -d -- \"$cur\") ;;\n"
      << "  esac\n"
      << "}\n"
      << "complete -F " << function << ' ' << doc.program << '\n';
  return out.str();
}

}  // namespace zav::host
