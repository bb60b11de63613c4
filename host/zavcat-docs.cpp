// zavcat-docs: writes zavcat's man page or its bash completion, made from
// the command-line definitions zavcat itself parses with. The build runs it.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "BashCompletion.h"
#include "CommandLine.h"
#include "CommandLineDoc.h"
#include "ExitStatus.h"
#include "ManPage.h"

int main(int argc, char** argv) {
  using namespace zav::host;
  const std::string what = argc == 3 ? argv[1] : "";
  if (what != "man" && what != "bash-completion") {
    std::cerr << "usage: zavcat-docs man|bash-completion OUTPUT\n";
    return exitCode(ExitStatus::usage);
  }
  const CommandLineDoc doc = describeZavcat();
  const std::string text = what == "man" ? manPage(doc, ZAV_VERSION, kImpliedSubcommand)
                                         : bashCompletion(doc, kImpliedSubcommand);
  const std::filesystem::path output = argv[2];
  if (output.has_parent_path()) std::filesystem::create_directories(output.parent_path());
  std::ofstream out(output, std::ios::binary);
  out << text;
  out.close();
  if (!out) {
    std::cerr << "zavcat-docs: cannot write " << output << '\n';
    return exitCode(ExitStatus::someFailed);
  }
  return exitCode(ExitStatus::ok);
}
