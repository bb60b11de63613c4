// Feeds arbitrary bytes to the ID3v1 parser.
#include <cstddef>
#include <cstdint>

#include "Id3v1Tag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zav::audio::Id3v1Tag tag;
  if (tag.parse({data, size}) == 1) {
    tag.getTrack();
    tag.getGenre();
  }
  return 0;
}
