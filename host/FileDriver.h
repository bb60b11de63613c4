// Drives one plug-in through one file in the order the plug-ins are built for.
#ifndef ZAV_HOST_FILEDRIVER_H
#define ZAV_HOST_FILEDRIVER_H

#include <string>
#include <vector>

#include "Plugin.h"

namespace zav::host {

struct Property {
  std::string title;
  std::string value;
};

// What a plug-in reported for one file, copied out of the plug-in's buffers
// (they are only valid until its next call).
struct FileReport {
  std::string path;
  std::string pluginName;
  int openResult = 0;
  std::vector<std::string> lines;     // without their line feeds
  std::vector<Property> properties;   // those with a non-empty value, in index order
};

// Open, every line, every property (key, title, value), close.
FileReport catalogFile(const Plugin& plugin, const std::string& path);

}  // namespace zav::host

#endif
