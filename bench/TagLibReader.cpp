// zav_taglib_reader: the peer the whole-process benchmarks compare with. Per
// file, what a catalog built on TagLib would take: every tag field TagLib
// knows (its property map) and the audio properties, read at TagLib's fast
// read style. TagLib reads no AVI or RTF; such files are opened and passed.
//
//   zav_taglib_reader LIST
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

#include <cstdio>

#include "FileList.h"

namespace {

// Touches every text, as a host that stores them would.
std::size_t propertyBytes(const TagLib::PropertyMap& properties) {
  std::size_t bytes = 0;
  for (const auto& [name, values] : properties) {
    bytes += name.size();
    for (const TagLib::String& value : values) bytes += value.to8Bit(true).size();
  }
  return bytes;
}

std::size_t audioFigures(const TagLib::AudioProperties* audio) {
  if (audio == nullptr) return 0;
  return static_cast<std::size_t>(audio->lengthInMilliseconds() + audio->bitrate() +
                                  audio->sampleRate() + audio->channels());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zav_taglib_reader LIST\n");
    return 2;
  }
  std::size_t files = 0;
  std::size_t read = 0;
  std::size_t checksum = 0;
  const bool listRead = zav::bench::forEachListedFile(argv[1], [&](const std::string& path) {
    ++files;
    const TagLib::FileRef file(path.c_str(), /*readAudioProperties=*/true,
                               TagLib::AudioProperties::Fast);
    if (file.isNull()) return;
    ++read;
    checksum += propertyBytes(file.file()->properties()) + audioFigures(file.audioProperties());
  });
  if (!listRead) {
    std::fprintf(stderr, "zav_taglib_reader: cannot read the list %s\n", argv[1]);
    return 2;
  }
  std::fprintf(stderr, "zav_taglib_reader: %zu files, %zu read by TagLib (checksum %zu)\n", files,
               read, checksum);
  return 0;
}
