// Feeds arbitrary bytes, as the start of a file, to the ID3v2 parser and
// reads every accessor.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "Id3v2Tag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using zav::audio::Id3v2Tag;
  Id3v2Tag tag;
  if (!tag.parse({data, size})) {
    ZAV_FUZZ_CHECK(tag.frameCount() == 0);
    return 0;
  }
  std::string text;
  for (auto get : {&Id3v2Tag::getTitle, &Id3v2Tag::getArtist, &Id3v2Tag::getAlbum,
                   &Id3v2Tag::getComment, &Id3v2Tag::getEncodedBy, &Id3v2Tag::getTrack,
                   &Id3v2Tag::getYear, &Id3v2Tag::getGenre, &Id3v2Tag::getComposer,
                   &Id3v2Tag::getOriginalArtist, &Id3v2Tag::getCopyright, &Id3v2Tag::getUrl}) {
    const char* value = (tag.*get)(text);
    // The caller's text or the empty text, never anything else.
    ZAV_FUZZ_CHECK(value == text.c_str() || (value[0] == 0 && text.empty()));
    ZAV_FUZZ_CHECK(std::strlen(value) <= size);
  }
  return 0;
}
