// Feeds arbitrary bytes, as the start of a file, to the ID3v2 parser and
// reads every accessor. A tag read without unsynchronisation is written
// again unsynchronised (a 00 after every FF of its body, the flag set, the
// size grown) and must read the same.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "Id3v2Tag.h"

namespace {

using zav::audio::Id3v2Tag;

std::vector<std::string> accessorTexts(const Id3v2Tag& tag, std::size_t size) {
  std::vector<std::string> texts;
  std::string text;
  for (auto get : {&Id3v2Tag::getTitle, &Id3v2Tag::getArtist, &Id3v2Tag::getAlbum,
                   &Id3v2Tag::getComment, &Id3v2Tag::getEncodedBy, &Id3v2Tag::getTrack,
                   &Id3v2Tag::getYear, &Id3v2Tag::getGenre, &Id3v2Tag::getComposer,
                   &Id3v2Tag::getOriginalArtist, &Id3v2Tag::getCopyright, &Id3v2Tag::getUrl}) {
    const char* value = (tag.*get)(text);
    // The caller's text or the empty text, never anything else.
    ZAV_FUZZ_CHECK(value == text.c_str() || (value[0] == 0 && text.empty()));
    ZAV_FUZZ_CHECK(std::strlen(value) <= size);
    texts.emplace_back(value);
  }
  return texts;
}

std::vector<std::uint8_t> unsynchronised(const std::uint8_t* data, std::uint32_t bodySize) {
  std::vector<std::uint8_t> body;
  for (std::uint32_t i = 0; i < bodySize; ++i) {
    body.push_back(data[Id3v2Tag::kHeaderSize + i]);
    if (body.back() == 0xFF) body.push_back(0);
  }
  const auto size = static_cast<std::uint32_t>(body.size());
  std::vector<std::uint8_t> tag(data, data + 6);
  tag[5] |= Id3v2Tag::kFlagUnsynchronisation;
  for (const int shift : {21, 14, 7, 0}) tag.push_back(static_cast<std::uint8_t>(size >> shift & 0x7F));
  tag.insert(tag.end(), body.begin(), body.end());
  return tag;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Id3v2Tag tag;
  if (!tag.parse({data, size})) {
    ZAV_FUZZ_CHECK(tag.frameCount() == 0);
    return 0;
  }
  const std::vector<std::string> texts = accessorTexts(tag, size);
  const std::uint32_t bodySize = Id3v2Tag::readSyncsafe(std::span<const std::uint8_t, 4>(data + 6, 4));
  if ((data[5] & Id3v2Tag::kFlagUnsynchronisation) == 0 && bodySize < (1u << 27)) {
    const std::vector<std::uint8_t> again = unsynchronised(data, bodySize);
    Id3v2Tag unsynchronisedTag;
    ZAV_FUZZ_CHECK(unsynchronisedTag.parse(again));
    ZAV_FUZZ_CHECK(accessorTexts(unsynchronisedTag, again.size()) == texts);
  }
  return 0;
}
