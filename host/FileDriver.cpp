#include "FileDriver.h"

namespace zav::host {

namespace {

std::string text(const char* pluginText) { return pluginText != nullptr ? pluginText : ""; }

// Lines keep their LF, and a text that ends with one is followed by an empty
// line that carries nothing.
std::vector<std::string> readLines(const PluginEntryPoints& plugin) {
  std::vector<std::string> lines;
  for (const char* line = plugin.getLine(); line != nullptr; line = plugin.getLine()) {
    std::string content = line;
    if (content.empty()) continue;
    if (content.back() == '\n') content.pop_back();
    lines.push_back(std::move(content));
  }
  return lines;
}

std::vector<Property> readProperties(const PluginEntryPoints& plugin) {
  std::vector<Property> properties;
  const int count = plugin.getPropertyCount();
  for (int index = 0; index < count; ++index) {
    plugin.getPropertyKey(index);  // part of the calling order; the output shows titles
    std::string title = text(plugin.getPropertyTitle(index));
    std::string value = text(plugin.getPropertyValue(index));
    if (!value.empty()) properties.push_back({std::move(title), std::move(value)});
  }
  return properties;
}

}  // namespace

FileReport catalogFile(const Plugin& plugin, const std::string& path) {
  const PluginEntryPoints& entryPoints = plugin.entryPoints();
  FileReport report;
  report.path = path;
  report.pluginName = plugin.name();
  report.openResult = entryPoints.open(path.c_str());
  report.lines = readLines(entryPoints);
  report.properties = readProperties(entryPoints);
  entryPoints.close();
  return report;
}

}  // namespace zav::host
