// Feeds arbitrary bytes, as the start of a file, to the ID3v2 parser and
// reads every accessor.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Id3v2Tag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zav::audio::Id3v2Tag tag;
  if (tag.parse({data, size}) != 1) return 0;
  std::string text;
  for (auto get : {&zav::audio::Id3v2Tag::getTitle, &zav::audio::Id3v2Tag::getArtist,
                   &zav::audio::Id3v2Tag::getAlbum, &zav::audio::Id3v2Tag::getComment,
                   &zav::audio::Id3v2Tag::getEncodedBy, &zav::audio::Id3v2Tag::getTrack,
                   &zav::audio::Id3v2Tag::getYear, &zav::audio::Id3v2Tag::getGenre,
                   &zav::audio::Id3v2Tag::getComposer, &zav::audio::Id3v2Tag::getOriginalArtist,
                   &zav::audio::Id3v2Tag::getCopyright, &zav::audio::Id3v2Tag::getUrl}) {
    (tag.*get)(text);
  }
  return 0;
}
