// Finding and loading the plug-in modules of a folder.
#ifndef ZAV_HOST_PLUGINFOLDER_H
#define ZAV_HOST_PLUGINFOLDER_H

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Plugin.h"

namespace zav::host {

using PluginList = std::vector<std::unique_ptr<Plugin>>;

// The folder of the running executable, where the build puts the plug-ins
// beside zavcat; none when it cannot be found.
std::optional<std::string> executableFolder();

// Loads every "*.so" module in `folder` (not in its subfolders), in the byte
// order of the file names. Modules that fail to load are reported on
// `diagnostics` and left out.
PluginList loadPluginFolder(const std::string& folder, std::ostream& diagnostics);

// The first plug-in in `plugins` that claims `suffix`, or null.
const Plugin* findClaimant(const PluginList& plugins, const std::string& suffix);

}  // namespace zav::host

#endif
