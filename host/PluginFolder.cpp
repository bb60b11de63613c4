#include "PluginFolder.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <filesystem>
#include <system_error>

namespace zav::host {

namespace fs = std::filesystem;

namespace {

bool isModuleFile(const fs::directory_entry& entry) {
  std::error_code ignored;
  return entry.path().extension() == ".so" && entry.is_regular_file(ignored);
}

// The module files of `folder`, sorted by name; reports a folder that cannot be read.
std::vector<fs::path> moduleFiles(const std::string& folder, std::ostream& diagnostics) {
  std::vector<fs::path> files;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    if (isModuleFile(*it)) files.push_back(it->path());
  }
  if (error) {
    diagnostics << "zavcat: cannot read the plug-in folder " << folder << ": "
                << error.message() << '\n';
  }
  std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
    return a.filename().native() < b.filename().native();
  });
  return files;
}

bool holdsModule(const std::string& folder) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    if (isModuleFile(*it)) return true;
  }
  return false;
}

}  // namespace

PluginSearch findPluginFolder(const std::optional<std::string>& option) {
  if (option) return {option, {*option}};
  std::vector<std::string> candidates;
  if (const char* list = std::getenv("ZAV_PLUGIN_PATH")) {
    std::string_view rest = list;
    while (!rest.empty()) {
      const std::size_t colon = rest.find(':');
      const std::string_view folder = rest.substr(0, colon);
      if (!folder.empty()) candidates.emplace_back(folder);
      rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
  }
  if (const auto self = executableFolder()) {
    candidates.push_back(*self);
    candidates.push_back((fs::path(*self).parent_path() / "lib" / "zav").string());
  }
  PluginSearch search;
  for (std::string& folder : candidates) {
    search.looked.push_back(folder);
    if (holdsModule(folder)) {
      search.folder = std::move(folder);
      break;
    }
  }
  return search;
}

std::optional<std::string> executableFolder() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) return std::nullopt;
  return self.parent_path().string();
}

PluginList loadPluginFolder(const std::string& folder, std::ostream& diagnostics) {
  PluginList plugins;
  for (const fs::path& file : moduleFiles(folder, diagnostics)) {
    std::string error;
    if (auto plugin = Plugin::load(file.string(), error)) {
      plugins.push_back(std::move(plugin));
    } else {
      diagnostics << "zavcat: cannot load the plug-in " << file.string() << ": " << error
                  << '\n';
    }
  }
  return plugins;
}

PluginList loadPlugins(const PluginSearch& search, std::ostream& diagnostics) {
  if (!search.folder) {
    diagnostics << "zavcat: no plug-in found; looked in";
    for (const std::string& folder : search.looked) diagnostics << ' ' << folder;
    diagnostics << " (use --plugins DIR)\n";
    return {};
  }
  PluginList plugins = loadPluginFolder(*search.folder, diagnostics);
  if (plugins.empty()) diagnostics << "zavcat: no plug-in could be loaded from " << *search.folder << '\n';
  return plugins;
}

const Plugin* findClaimant(const PluginList& plugins, const std::string& suffix) {
  for (const auto& plugin : plugins) {
    if (plugin->claims(suffix)) return plugin.get();
  }
  return nullptr;
}

}  // namespace zav::host
