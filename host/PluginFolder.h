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

// The folder of the running executable; none when it cannot be found.
std::optional<std::string> executableFolder();

// The first folder that holds a plug-in module, of: `option` (--plugins,
// taken as it is), the folders of $ZAV_PLUGIN_PATH (separated by ':'), the
// executable's own folder (the build puts the plug-ins beside zavcat) and
// ../lib/zav from it (where an install puts them). Also tells where it looked.
struct PluginSearch {
  std::optional<std::string> folder;
  std::vector<std::string> looked;
};
PluginSearch findPluginFolder(const std::optional<std::string>& option);

// Loads every "*.so" module in `folder` (not in its subfolders), in the byte
// order of the file names. Modules that fail to load are reported on
// `diagnostics` and left out.
PluginList loadPluginFolder(const std::string& folder, std::ostream& diagnostics);

// The plug-ins of the folder `search` found. When there are none, says so on
// `diagnostics` (with where it looked).
PluginList loadPlugins(const PluginSearch& search, std::ostream& diagnostics);

// The first plug-in in `plugins` that claims `suffix`, or null.
const Plugin* findClaimant(const PluginList& plugins, const std::string& suffix);

}  // namespace zav::host

#endif
