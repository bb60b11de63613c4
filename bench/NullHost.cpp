// zav_null_host: drives the plug-ins over the files of a list the way the
// catalog host does (claim by suffix, open, every line, every key, title and
// value, close) and prints nothing, so that a whole run can be timed. It
// stands in until zavcat itself offers this as `show --format null`.
//
//   zav_null_host [--plugins DIR] --files-from LIST
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "FileList.h"
#include "ZavEntryPoints.h"

namespace {

namespace fs = std::filesystem;

std::vector<zav::ZavEntryPoints> loadPlugins(const fs::path& folder) {
  std::vector<fs::path> modules;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".so") modules.push_back(entry.path());
  }
  std::sort(modules.begin(), modules.end());
  std::vector<zav::ZavEntryPoints> plugins;
  for (const fs::path& module : modules) {
    void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    zav::ZavEntryPoints entryPoints;
    const auto lookup = [handle](const char* name) { return dlsym(handle, name); };
    if (handle != nullptr && resolveEntryPoints(lookup, entryPoints) == nullptr) {
      plugins.push_back(entryPoints);
    }
  }
  return plugins;
}

std::size_t textBytes(const char* text) { return text != nullptr ? std::strlen(text) : 0; }

std::size_t driveOneFile(const zav::ZavEntryPoints& plugin, const std::string& path) {
  std::size_t bytes = static_cast<std::size_t>(plugin.open(path.c_str()));
  while (const char* line = plugin.getLine()) bytes += std::strlen(line);
  const int count = plugin.getPropertyCount();
  for (int index = 0; index < count; ++index) {
    bytes += static_cast<std::size_t>(plugin.getPropertyKey(index));
    bytes += textBytes(plugin.getPropertyTitle(index));
    bytes += textBytes(plugin.getPropertyValue(index));
  }
  plugin.close();
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path pluginFolder = fs::read_symlink("/proc/self/exe").parent_path();
  std::string list;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--plugins") == 0) pluginFolder = argv[i + 1];
    if (std::strcmp(argv[i], "--files-from") == 0) list = argv[i + 1];
  }
  if (list.empty() || argc % 2 == 0) {
    std::fprintf(stderr, "usage: zav_null_host [--plugins DIR] --files-from LIST\n");
    return 2;
  }
  const std::vector<zav::ZavEntryPoints> plugins = loadPlugins(pluginFolder);
  if (plugins.empty()) {
    std::fprintf(stderr, "zav_null_host: no plug-in in %s\n", pluginFolder.c_str());
    return 2;
  }
  std::size_t checksum = 0;
  std::size_t unclaimed = 0;
  const bool listRead = zav::bench::forEachListedFile(list, [&](const std::string& path) {
    const std::string suffix = zav::bench::upperSuffix(path);
    const auto claimant = std::find_if(plugins.begin(), plugins.end(), [&](const auto& plugin) {
      return plugin.checkSuffix(suffix.c_str()) != 0;
    });
    if (claimant != plugins.end()) {
      checksum += driveOneFile(*claimant, path);
    } else {
      ++unclaimed;
    }
  });
  if (!listRead) {
    std::fprintf(stderr, "zav_null_host: cannot read the list %s\n", list.c_str());
    return 2;
  }
  // A file no plug-in claims means the wrong plug-ins or list: no measurement.
  if (unclaimed != 0) {
    std::fprintf(stderr, "zav_null_host: %zu files unclaimed (checksum %zu)\n", unclaimed, checksum);
    return 1;
  }
  return 0;
}
