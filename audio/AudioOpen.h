// Opening one file in the audio plug-in: dispatch by suffix to the readers
// and filling of the property slots.
#ifndef ZAV_AUDIO_AUDIOOPEN_H
#define ZAV_AUDIO_AUDIOOPEN_H

#include "PropertyTable.h"

namespace zav::platform {
class FileView;
}

namespace zav::audio {

// The audio catalogue: 22 rows in presentation order.
std::span<const PropertyRow> audioCatalogue();

// The suffix of the file name in `path`, dot included: from the name's last
// dot to the end, or the empty text at the end when the name has no dot.
// Multibyte-aware, so a trail byte is never taken for a separator or a dot.
const char* findSuffix(const char* path);

// Reads the file at `path` into `properties`, whose slots are empty.
// Returns 1 when any reader found something, else 0.
int openAudioFile(const char* path, PropertyTable& properties);

// The same for a file already open, or bytes in memory: the suffix of
// `name` decides which readers run, and they read from `file`.
int readAudioFile(const char* name, platform::FileView& file, PropertyTable& properties);

}  // namespace zav::audio

#endif
