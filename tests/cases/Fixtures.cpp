#include "Fixtures.h"

#include <algorithm>

namespace zav::cases {

Bytes waveFormat() {
  // PCM, mono, 8000 Hz, 8 bits.
  return riffChunk("fmt ", le16(1) + le16(1) + le32(8000) + le32(8000) + le16(1) + le16(8));
}

Bytes id3v2Tag(const Bytes& frames, std::size_t padding) {
  const auto size = static_cast<std::uint32_t>(frames.size() + padding);
  return bytes("ID3") + Bytes{3, 0, 0} + test::syncsafe(size) + frames + zeros(padding);
}

namespace {

void putField(Bytes& tag, std::size_t offset, const Bytes& text, std::size_t width) {
  std::copy_n(text.begin(), std::min(text.size(), width), tag.begin() + static_cast<long>(offset));
}

}  // namespace

Bytes id3v1Tag(const Id3v1Fields& f) {
  Bytes tag = bytes("TAG") + zeros(125);
  putField(tag, 3, f.title, 30);
  putField(tag, 33, f.artist, 30);
  putField(tag, 63, f.album, 30);
  putField(tag, 93, f.year, 4);
  putField(tag, 97, f.comment, f.track != 0 ? 28 : 30);
  if (f.track != 0) {
    tag[125] = 0;
    tag[126] = f.track;
  }
  tag[127] = f.genre;
  return tag;
}

Bytes mpegAudio(std::uint32_t header, std::size_t size) {
  Bytes audio(std::max<std::size_t>(size, 4), 0);
  const Bytes first = be32(header);
  std::copy(first.begin(), first.end(), audio.begin());
  return audio;
}

}  // namespace zav::cases
