// What makes one plug-in different from the other. The eleven entry points
// are written once, in PluginExports.cpp, and ask the module's definition.
#ifndef ZAV_COMMON_PLUGINDEFINITION_H
#define ZAV_COMMON_PLUGINDEFINITION_H

#include <span>

#include "PropertyTable.h"

namespace zav {

inline constexpr int kSupportType = 3;

struct PluginDefinition {
  const char* name;
  const char* defaultSuffix;
  // Suffixes claimed, compared on their first three bytes, case-sensitive.
  std::span<const char* const> suffixes;
  PropertyTable& properties;
  // Reads one file into the slots (and lines); the slots are already empty.
  // Returns the entry point's result. May throw: the caller catches.
  int (*open)(const char* path);
  // The next text line, or null. Null for a plug-in without lines.
  const char* (*nextLine)();
  // Drops the plug-in's own per-file state beyond the slots; returns the
  // stream-close status (0 when no stream was open).
  int (*closeFile)();
};

// Defined by each plug-in module.
const PluginDefinition& thisPlugin();

}  // namespace zav

#endif
