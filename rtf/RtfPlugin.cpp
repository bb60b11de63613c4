// The RTF plug-in module: its constants and its module-wide slots.
#include "PluginDefinition.h"
#include "RtfOpen.h"

namespace zav {

namespace {

constexpr const char* kSuffixes[] = {"RTF"};

PropertyTable properties(rtf::rtfCatalogue(), "zavrtfp.dll");

int openFile(const char* path) { return rtf::openRtfFile(path, properties); }

const PluginDefinition definition{"RTF-P",  "RTF",          kSuffixes, properties,
                                  openFile, rtf::nextLine, rtf::closeRtfFile};

}  // namespace

const PluginDefinition& thisPlugin() { return definition; }

}  // namespace zav
