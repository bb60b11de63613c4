#include "Plugin.h"

#include <dlfcn.h>

#include <filesystem>

namespace zav::host {

namespace {

// Resolves `name` into `target`; false when the module does not export it.
template <typename Function>
bool resolve(void* handle, const char* name, Function& target) {
  void* symbol = dlsym(handle, name);
  target = reinterpret_cast<Function>(symbol);
  return symbol != nullptr;
}

// The first entry point the module lacks, or null when it has all eleven.
const char* resolveAll(void* handle, PluginEntryPoints& e) {
  if (!resolve(handle, "ZAVgetName", e.getName)) return "ZAVgetName";
  if (!resolve(handle, "ZAVgetSupportType", e.getSupportType)) return "ZAVgetSupportType";
  if (!resolve(handle, "ZAVcheckSuffix", e.checkSuffix)) return "ZAVcheckSuffix";
  if (!resolve(handle, "ZAVgetDefaultSuffix", e.getDefaultSuffix)) return "ZAVgetDefaultSuffix";
  if (!resolve(handle, "ZAVopen", e.open)) return "ZAVopen";
  if (!resolve(handle, "ZAVgetLine", e.getLine)) return "ZAVgetLine";
  if (!resolve(handle, "ZAVclose", e.close)) return "ZAVclose";
  if (!resolve(handle, "ZAVgetPropertyCount", e.getPropertyCount)) return "ZAVgetPropertyCount";
  if (!resolve(handle, "ZAVgetPropertyKey", e.getPropertyKey)) return "ZAVgetPropertyKey";
  if (!resolve(handle, "ZAVgetPropertyTitle", e.getPropertyTitle)) return "ZAVgetPropertyTitle";
  if (!resolve(handle, "ZAVgetPropertyValue", e.getPropertyValue)) return "ZAVgetPropertyValue";
  return nullptr;
}

}  // namespace

std::unique_ptr<Plugin> Plugin::load(const std::string& path, std::string& error) {
  // RTLD_NOW: a module with unresolved symbols fails here, not in mid-file.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    error = reason != nullptr ? reason : "cannot be loaded";
    return nullptr;
  }
  PluginEntryPoints entryPoints;
  if (const char* missing = resolveAll(handle, entryPoints)) {
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
