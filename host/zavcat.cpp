// zavcat: a catalog host for the zav plug-ins. It loads the plug-in modules,
// hands each file to the plug-in that claims its suffix and prints what the
// plug-in reports.
#include <exception>
#include <iostream>
#include <span>

#include "Catalog.h"
#include "Options.h"
#include "PluginFolder.h"

namespace {

enum ExitStatus { kSuccess = 0, kPathProblem = 1, kUsageOrNoPlugin = 2 };

int run(std::span<const char* const> arguments) {
  using namespace zav::host;
  const ParsedArguments parsed = parseArguments(arguments);
  if (!parsed.error.empty()) {
    std::cerr << "zavcat: " << parsed.error << "\nTry 'zavcat --help'.\n";
    return kUsageOrNoPlugin;
  }
  const Options& options = parsed.options;
  if (options.help) {
    std::cout << helpText();
    return std::cout.flush() ? kSuccess : kPathProblem;
  }

  const auto pluginFolder = options.pluginFolder ? options.pluginFolder : executableFolder();
  if (!pluginFolder) {
    std::cerr << "zavcat: cannot find the folder of the executable; use --plugins DIR\n";
    return kUsageOrNoPlugin;
  }
  const PluginList plugins = loadPluginFolder(*pluginFolder, std::cerr);
  if (plugins.empty()) {
    std::cerr << "zavcat: no plug-in could be loaded from " << *pluginFolder << '\n';
    return kUsageOrNoPlugin;
  }

  Catalog catalog(plugins, std::cout, std::cerr);
  for (const std::string& path : options.paths) catalog.addPath(path);
  if (!std::cout.flush()) {
    std::cerr << "zavcat: cannot write the output\n";
    return kPathProblem;
  }
  return catalog.allPathsRead() ? kSuccess : kPathProblem;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::span<const char* const>(argv + 1, argc > 0 ? argc - 1 : 0));
  } catch (const std::exception& e) {
    std::cerr << "zavcat: " << e.what() << '\n';
  } catch (...) {
    std::cerr << "zavcat: unexpected failure\n";
  }
  return kUsageOrNoPlugin;
}
