// Feeds arbitrary bytes, as the end of a file, to the ID3v1 parser and reads
// every field: each stays within its width.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FileView.h"
#include "FuzzCheck.h"
#include "Id3v1Tag.h"

namespace {

void checkField(const char* text, std::size_t width) { ZAV_FUZZ_CHECK(std::strlen(text) <= width); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using zav::audio::Id3v1Tag;
  Id3v1Tag tag;
  zav::platform::FileView file({data, size});
  const bool present = tag.readTag(file);
  const std::size_t start = size > Id3v1Tag::kTagSize ? size - Id3v1Tag::kTagSize : 0;
  ZAV_FUZZ_CHECK(present == (size >= Id3v1Tag::kTagSize && std::memcmp(data + start, "TAG", 3) == 0));
  checkField(tag.getTitle(), 30);
  checkField(tag.getArtist(), 30);
  checkField(tag.getAlbum(), 30);
  checkField(tag.getYear(), 4);
  checkField(tag.getComment(), 30);
  checkField(tag.getTrack(), 3);
  checkField(tag.getGenre(), 64);
  return 0;
}
