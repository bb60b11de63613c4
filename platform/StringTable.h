// The string resources of one plug-in module where the system has no
// resource sections: generated from the module's title list and linked into
// the module, so each module finds only its own strings.
#ifndef ZAV_PLATFORM_STRINGTABLE_H
#define ZAV_PLATFORM_STRINGTABLE_H

#include <cstddef>

namespace zav::platform {

struct StringResource {
  unsigned id;
  const char* utf8;
};

struct StringTable {
  const char* moduleFileName;
  const StringResource* strings;
  std::size_t count;
};

// Defined once in every module that carries string resources.
const StringTable& moduleStringTable();

}  // namespace zav::platform

#endif
