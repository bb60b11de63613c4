// The audio plug-in module: its constants and its module-wide slots.
#include "AudioOpen.h"
#include "PluginDefinition.h"

namespace zav {

namespace {

constexpr const char* kSuffixes[] = {"MP3", "WAV", "AVI"};

PropertyTable properties(audio::audioCatalogue(), "zavaudio.dll");

int openFile(const char* path) { return audio::openAudioFile(path, properties); }
const char* noLines() { return nullptr; }
int noStream() { return 0; }

const PluginDefinition definition{"Audio", "MP3", kSuffixes, properties,
                                  openFile,  noLines, noStream};

}  // namespace

const PluginDefinition& thisPlugin() { return definition; }

}  // namespace zav
