#include "ManPage.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace zav::host {

namespace {

// Text for roff: the backslash escaped, and the hyphens of a word that
// starts with one ("--legacy-encoding") made minus signs, so that options
// can be copied as shown; other hyphens stay hyphens.
std::string roff(std::string_view text) {
  std::string out;
  bool inOption = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char before = i == 0 ? ' ' : text[i - 1];
    if (c == '-' && !inOption) inOption = std::string_view(" ([|\"").find(before) != std::string_view::npos;
    if (c == ' ' || c == ')' || c == ']' || c == ',') inOption = false;
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-' && inOption) {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

// One line of running text; one that would begin with a control character
// is guarded.
std::string textLine(std::string_view text) {
  std::string line = roff(text);
  if (!line.empty() && (line[0] == '.' || line[0] == '\'')) line.insert(0, "\\&");
  return line + '\n';
}

std::string bold(std::string_view text) { return "\\fB" + roff(text) + "\\fR"; }
std::string italic(std::string_view text) { return "\\fI" + roff(text) + "\\fR"; }

std::string optionTerm(const OptionDoc& option) {
  if (option.positional) return italic(option.names.front()) + (option.repeats ? " ..." : "");
  std::string term;
  for (const std::string& name : option.names) term += (term.empty() ? "" : ", ") + bold(name);
  if (!option.value.empty()) term += " " + italic(option.value);
  return term;
}

void writeOptions(std::ostream& out, const std::vector<OptionDoc>& options) {
  for (const OptionDoc& option : options) {
    out << ".TP\n" << optionTerm(option) << '\n' << textLine(option.help);
  }
}

// The help texts' own layout: a line at the left margin followed by
// indented ones is a heading; an indented "TERM  text" line is an item,
// which lines indented further continue; other lines run on as paragraphs
// until a blank line.
struct Block {
  enum class Kind { heading, paragraph, item } kind;
  std::size_t indent;
  std::string term;
  std::string text;
};

std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> lines;
  std::istringstream in{std::string(text)};
  for (std::string line; std::getline(in, line);) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<Block> blocksOf(std::string_view text) {
  const std::vector<std::string> lines = linesOf(text);
  std::vector<Block> blocks;
  bool open = false;  // whether the last block may run on
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty()) {
      open = false;
      continue;
    }
    const std::size_t indent = line.find_first_not_of(' ');
    const std::string content = line.substr(indent);
    const bool nextIndented = i + 1 < lines.size() && !lines[i + 1].empty() && lines[i + 1][0] == ' ';
    if (indent == 0 && nextIndented) {
      blocks.push_back({Block::Kind::heading, 0, {}, content});
      open = false;
      continue;
    }
    const std::size_t gap = indent > 0 ? content.find("  ") : std::string::npos;
    if (gap != std::string::npos) {
      const std::size_t textStart = content.find_first_not_of(' ', gap);
      blocks.push_back({Block::Kind::item, indent, content.substr(0, gap), content.substr(textStart)});
      open = true;
      continue;
    }
    if (open) {
      Block& last = blocks.back();
      const bool continues = last.kind == Block::Kind::item ? indent > last.indent : indent == last.indent;
      if (continues) {
        last.text += ' ' + content;
        continue;
      }
    }
    blocks.push_back({Block::Kind::paragraph, indent, {}, content});
    open = true;
  }
  return blocks;
}

bool listed(const std::vector<OptionDoc>& options, const OptionDoc& option) {
  return std::any_of(options.begin(), options.end(),
                     [&](const OptionDoc& other) { return other.names == option.names; });
}

std::string upperCased(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Headings become sections at the top level, bold lead-ins inside a command.
void writeHelpText(std::ostream& out, std::string_view text, bool topLevel) {
  for (const Block& block : blocksOf(text)) {
    switch (block.kind) {
      case Block::Kind::heading:
        if (topLevel) {
          out << ".SH " << roff(upperCased(block.text)) << '\n';
        } else {
          out << ".PP\n" << bold(block.text) << '\n';
        }
        break;
      case Block::Kind::paragraph: out << ".PP\n" << textLine(block.text); break;
      case Block::Kind::item: out << ".TP\n" << bold(block.term) << '\n' << textLine(block.text); break;
    }
  }
}

void writeSynopsis(std::ostream& out, const CommandLineDoc& doc, const std::string& implied) {
  out << ".SH SYNOPSIS\n.nf\n";
  for (const CommandDoc& command : doc.commands) {
    out << bold(doc.program) << ' '
        << (command.name == implied ? "[" + bold(command.name) + "]" : bold(command.name))
        << " [" << italic("options") << ']';
    for (const OptionDoc& option : command.options) {
      if (!option.required && !option.positional) continue;
      const std::string term = option.positional
                                   ? italic(option.names.front()) + (option.repeats ? " ..." : "")
                                   : bold(option.names.back()) + " " + italic(option.value);
      out << ' ' << (option.required ? term : "[" + term + "]");
    }
    out << '\n';
  }
  for (const OptionDoc& option : doc.options) out << bold(doc.program) << ' ' << bold(option.names.back()) << '\n';
  out << ".fi\n";
}

}  // namespace

std::string manPage(const CommandLineDoc& doc, std::string_view version, const std::string& implied) {
  std::ostringstream out;
  out << "'\\\" -*- coding: UTF-8 -*-\n"
      << ".\\\" Generated from " << doc.program << "'s command-line definitions; do not edit.\n"
      << ".TH " << upperCased(doc.program) << " 1 \"\" \"" << doc.program << ' ' << version
      << "\" \"User Commands\"\n";

  // The name line: the description up to its first colon or full stop.
  std::string summary = doc.description.substr(0, doc.description.find_first_of(":."));
  if (!summary.empty()) summary[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(summary[0])));
  out << ".SH NAME\n" << roff(doc.program) << " \\- " << textLine(summary);
  writeSynopsis(out, doc, implied);

  out << ".SH DESCRIPTION\n";
  writeHelpText(out, doc.description, /*topLevel=*/false);

  // A command's own options under it; those every command takes, once.
  const std::vector<OptionDoc> common = doc.commonOptions();
  out << ".SH COMMANDS\n";
  for (const CommandDoc& command : doc.commands) {
    out << ".SS " << bold(command.name) << '\n' << textLine(command.description);
    std::vector<OptionDoc> own;
    std::copy_if(command.options.begin(), command.options.end(), std::back_inserter(own),
                 [&](const OptionDoc& option) { return !listed(common, option); });
    writeOptions(out, own);
    writeHelpText(out, command.footer, /*topLevel=*/false);
  }

  std::vector<OptionDoc> general = common;
  for (const OptionDoc& option : doc.options) {
    if (!listed(general, option)) general.push_back(option);
  }
  out << ".SH OPTIONS\n" << textLine("Every command takes these:");
  writeOptions(out, general);
  writeHelpText(out, doc.footer, /*topLevel=*/true);
  return out.str();
}

}  // namespace zav::host
