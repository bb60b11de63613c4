// One loaded plug-in module with its eleven entry points.
#ifndef ZAV_HOST_PLUGIN_H
#define ZAV_HOST_PLUGIN_H

#include <memory>
#include <string>

#include "ZavEntryPoints.h"

namespace zav::host {

using PluginEntryPoints = ZavEntryPoints;

class Plugin {
 public:
  // Loads the module privately (RTLD_LOCAL), so that two plug-ins never bind
  // to each other's symbols. Returns null and sets `error` when the module
  // cannot be loaded or lacks an entry point.
  static std::unique_ptr<Plugin> load(const std::string& path, std::string& error);

  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  // The plug-in's own name, or the module's file name when it gives none.
  const std::string& name() const { return name_; }
  // Whether the plug-in claims `suffix` (upper case, without the dot).
  bool claims(const std::string& suffix) const;
  const PluginEntryPoints& entryPoints() const { return entryPoints_; }

 private:
  Plugin(void* handle, const PluginEntryPoints& entryPoints, std::string name);

  void* handle_;
  PluginEntryPoints entryPoints_;
  std::string name_;
};

}  // namespace zav::host

#endif
