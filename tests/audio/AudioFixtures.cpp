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

}  // namespace zav::test
