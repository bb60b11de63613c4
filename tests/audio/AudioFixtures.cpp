#include "AudioFixtures.h"

namespace zav::test {

Bytes mpegHeader(const MpegHeader& h) {
  const std::uint32_t value = 0xFFE00000u | std::uint32_t(h.versionBits) << 19 |
                              std::uint32_t(4 - h.layer) << 17 | 1u << 16 |  // no CRC
                              std::uint32_t(h.bitRateIndex) << 12 |
                              std::uint32_t(h.sampleRateBits) << 10 |
                              std::uint32_t(h.padding) << 9 | std::uint32_t(h.channelMode) << 6;
  return be32(value);
}

Bytes mpegFrame(const MpegHeader& h, std::size_t length) {
  return mpegHeader(h) + repeat(0, length - 4);
}

Bytes xingFrame(const MpegHeader& h, std::size_t length, std::size_t sideInfo,
                std::uint32_t flags, std::uint32_t frames, std::uint32_t bytes,
                std::string_view marker) {
  Bytes frame = mpegHeader(h) + repeat(0, sideInfo) + test::bytes(marker) + be32(flags);
  if (flags & 1) frame += be32(frames);
  if (flags & 2) frame += be32(bytes);
  return frame + repeat(0, length - frame.size());
}

Bytes field(std::string_view text, std::size_t width) {
  Bytes out = bytes(text.substr(0, width));
  return out + repeat(0, width - out.size());
}

Bytes id3v1Tag(const Id3v1Fields& f) {
  Bytes comment = field(f.comment, 30);
  if (f.track != 0) {
    comment[28] = 0;
    comment[29] = static_cast<std::uint8_t>(f.track);
  }
  return bytes("TAG") + field(f.title, 30) + field(f.artist, 30) + field(f.album, 30) +
         field(f.year, 4) + comment + Bytes{f.genre};
}

Bytes syncsafe(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v >> 21 & 0x7F), static_cast<std::uint8_t>(v >> 14 & 0x7F),
          static_cast<std::uint8_t>(v >> 7 & 0x7F), static_cast<std::uint8_t>(v & 0x7F)};
}

Bytes id3v2Frame(std::string_view id, const Bytes& data) {
  return bytes(id) + be32(static_cast<std::uint32_t>(data.size())) + be16(0) + data;
}

Bytes id3v2Text(std::string_view id, std::string_view text) {
  return id3v2Frame(id, Bytes{0} + bytes(text));
}

Bytes id3v2Tag(const Bytes& body, int major, int revision, int flags) {
  return bytes("ID3") +
         Bytes{static_cast<std::uint8_t>(major), static_cast<std::uint8_t>(revision),
               static_cast<std::uint8_t>(flags)} +
         syncsafe(static_cast<std::uint32_t>(body.size())) + body;
}

Bytes unsynchronise(const Bytes& data) {
  Bytes out;
  for (std::uint8_t b : data) {
    out.push_back(b);
    if (b == 0xFF) out.push_back(0);
  }
  return out;
}

Bytes riffChunk(std::string_view id, const Bytes& data) {
  Bytes out = bytes(id) + le32(static_cast<std::uint32_t>(data.size())) + data;
  if (data.size() % 2 == 1) out.push_back(0);
  return out;
}

Bytes riffList(std::string_view type, const Bytes& chunks) {
  return riffChunk("LIST", bytes(type) + chunks);
}

Bytes riffForm(std::string_view type, const Bytes& chunks) {
  return riffChunk("RIFF", bytes(type) + chunks);
}

}  // namespace zav::test
