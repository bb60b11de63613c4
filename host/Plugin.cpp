#include "Plugin.h"

#include <dlfcn.h>

#include <filesystem>

namespace zav::host {

std::unique_ptr<Plugin> Plugin::load(const std::string& path, std::string& error) {
  // RTLD_NOW: a module with unresolved symbols fails here, not in mid-file.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    error = reason != nullptr ? reason : "cannot be loaded";
    return nullptr;
  }
  PluginEntryPoints entryPoints;
  const auto lookup = [handle](const char* symbol) { return dlsym(handle, symbol); };
  if (const char* missing = resolveEntryPoints(lookup, entryPoints)) {
    error = "not a plug-in: it lacks " + std::string(missing);
    dlclose(handle);
    return nullptr;
  }
  const char* ownName = entryPoints.getName();
  std::string name = ownName != nullptr && ownName[0] != 0
                         ? ownName
                         : std::filesystem::path(path).filename().string();
  return std::unique_ptr<Plugin>(new Plugin(handle, entryPoints, std::move(name)));
}

Plugin::Plugin(void* handle, const PluginEntryPoints& entryPoints, std::string name)
    : handle_(handle), entryPoints_(entryPoints), name_(std::move(name)) {}

Plugin::~Plugin() { dlclose(handle_); }

bool Plugin::claims(const std::string& suffix) const {
  return entryPoints_.checkSuffix(suffix.c_str()) != 0;
}

}  // namespace zav::host
