// The man page and the bash completion against the command line they are
// made from: every option of every command in both, and the completion as
// bash runs it.
#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BashCompletion.h"
#include "CommandLine.h"
#include "CommandLineDoc.h"
#include "ManPage.h"
#include "TempFile.h"

namespace zav::host {
namespace {

using test::TempFolder;

std::string roffName(const std::string& name) {
  std::string out;
  for (char c : name) out += c == '-' ? std::string("\\-") : std::string(1, c);
  return "\\fB" + out + "\\fR";
}

// The words of the first quoted list after `start` in the completion, or
// none: the option names a command's section offers, the commands offered.
std::string listAfter(const std::string& script, const std::string& start) {
  const std::size_t found = script.find(start);
  if (found == std::string::npos) return {};
  const std::size_t open = script.find('\'', found) + 1;
  return " " + script.substr(open, script.find('\'', open) - open) + " ";
}

TEST(CommandLineDoc, ManPageAndCompletionHoldEveryOptionOfEveryCommand) {
  CommandLine line;
  bool version = false;
  const std::unique_ptr<CLI::App> app = makeCommandLineApp(line, version);
  const CommandLineDoc doc = describeZavcat();
  const std::string man = manPage(doc, "1.2.3.4", kImpliedSubcommand);
  const std::string completion = bashCompletion(doc, kImpliedSubcommand);

  std::size_t commands = 0;
  for (const CLI::App* command : app->get_subcommands([](const CLI::App*) { return true; })) {
    ++commands;
    const std::string name = command->get_name();
    EXPECT_NE(man.find(".SS " + roffName(name) + "\n"), std::string::npos) << name;
    EXPECT_NE(listAfter(completion, "if ((COMP_CWORD == 1))").find(" " + name + " "), std::string::npos)
        << name;
    const std::string offered = listAfter(completion, "    " + name + ")\n      options=");
    for (const CLI::Option* option : command->get_options()) {
      if (!option->nonpositional()) continue;
      std::vector<std::string> names;
      for (const std::string& shortName : option->get_snames()) names.push_back("-" + shortName);
      for (const std::string& longName : option->get_lnames()) names.push_back("--" + longName);
      for (const std::string& optionName : names) {
        EXPECT_NE(man.find(roffName(optionName)), std::string::npos) << name << ' ' << optionName;
        EXPECT_NE(offered.find(" " + optionName + " "), std::string::npos) << name << ' ' << optionName;
      }
    }
  }
  EXPECT_EQ(commands, doc.commands.size());
  EXPECT_GE(commands, 5u);
  EXPECT_NE(man.find(".TH ZAVCAT 1 \"\" \"zavcat 1.2.3.4\""), std::string::npos);
}

// Runs each line of `lines` ("zavcat scan --j") through the completion in
// bash, from `folder`, and gives what each offered, sorted, one line each.
std::vector<std::string> completeInBash(const std::string& script, const TempFolder& folder,
                                        const std::vector<std::string>& lines) {
  const TempFolder scripts;
  std::string driver = "set -u\nsource " + scripts.write("completion", test::bytes(script)) +
                       "\ncd " + folder.path() +
                       "\nask() { COMP_WORDS=(\"$@\"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1));"
                       " _zavcat; printf '%s\\n' \"${COMPREPLY[@]}\" | sort | paste -sd ' ' -; }\n";
  for (const std::string& line : lines) driver += "ask " + line + "\n";
  const std::string command = "bash " + scripts.write("driver", test::bytes(driver)) + " 2>&1";
  std::vector<std::string> answers;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return answers;
  std::string answer;
  for (int c; (c = std::fgetc(pipe)) != EOF;) {
    if (c != '\n') {
      answer += static_cast<char>(c);
      continue;
    }
    answers.push_back(answer);
    answer.clear();
  }
  pclose(pipe);
  return answers;
}

TEST(CommandLineDoc, CompletionOffersCommandsOptionsChoicesAndPaths) {
  TempFolder folder;
  folder.write("disc.rtf", test::bytes("{\\rtf1 x}"));
  folder.write("plugs/zavaudio.so", test::bytes("x"));
  const struct {
    const char* line;
    const char* offered;
  } cases[] = {
      {"zavcat s", "scan search show"},
      {"zavcat d", "disc.rtf"},  // no command named: show's paths
      {"zavcat --f", "--files-from --format"},
      {"zavcat scan --j", "--jobs"},
      {"zavcat scan ''", "disc.rtf plugs"},
      {"zavcat scan --plugins ''", "plugs"},
      {"zavcat scan -j ''", ""},
      {"zavcat search --format ''", "json text"},
      {"zavcat export --format c", "csv"},
      {"zavcat list ''", ""},
      {"zavcat show --legacy-encoding cp", "cp1252 cp932"},
  };
  std::vector<std::string> lines;
  for (const auto& entry : cases) lines.push_back(entry.line);
  const std::vector<std::string> answers =
      completeInBash(bashCompletion(describeZavcat(), kImpliedSubcommand), folder, lines);
  ASSERT_EQ(answers.size(), lines.size()) << (answers.empty() ? "" : answers.front());
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(answers[i], cases[i].offered) << lines[i];
}

}  // namespace
}  // namespace zav::host
