// Builders of ID3 tags: the 128-byte version 1 tag, and version 2 tags with
// their frames, padding, extended header and unsynchronisation.
#ifndef ZAV_TESTS_SUPPORT_ID3BYTES_H
#define ZAV_TESTS_SUPPORT_ID3BYTES_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Bytes.h"

namespace zav::test {

// Any bytes, NULs included, in each text field.
struct Id3v1Fields {
  std::string title{}, artist{}, album{}, year{}, comment{};
  std::uint8_t track = 0;  // a version 1.1 track number when not 0
  std::uint8_t genre = 255;
};

// 128 bytes; each field cut or padded with zero bytes to its width. A
// track gives the comment's last two bytes to a 0 and the track.
inline Bytes id3v1Tag(const Id3v1Fields& f) {
  const auto field = [](std::string_view text, std::size_t width) {
    Bytes out = bytes(text.substr(0, width));
    return out + repeat(0, width - out.size());
  };
  Bytes comment = field(f.comment, 30);
  if (f.track != 0) {
    comment[28] = 0;
    comment[29] = f.track;
  }
  return bytes("TAG") + field(f.title, 30) + field(f.artist, 30) + field(f.album, 30) +
         field(f.year, 4) + comment + Bytes{f.genre};
}

// A size in four seven-bit groups, most significant first.
inline Bytes syncsafe(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v >> 21 & 0x7F), static_cast<std::uint8_t>(v >> 14 & 0x7F),
          static_cast<std::uint8_t>(v >> 7 & 0x7F), static_cast<std::uint8_t>(v & 0x7F)};
}

// Inserts a 0x00 after every 0xFF, as an unsynchronising writer does.
inline Bytes unsynchronise(const Bytes& data) {
  Bytes out;
  for (std::uint8_t b : data) {
    out.push_back(b);
    if (b == 0xFF) out.push_back(0);
  }
  return out;
}

// One version 2.3 frame: identifier, plain big-endian size, flags 0, data.
inline Bytes id3v2Frame(std::string_view id, const Bytes& data) {
  return bytes(id) + be32(static_cast<std::uint32_t>(data.size())) + be16(0) + data;
}

// A text frame in encoding 0 (ISO-8859-1).
inline Bytes id3v2Text(std::string_view id, std::string_view text) {
  return id3v2Frame(id, Bytes{0} + bytes(text));
}

struct Id3v2Options {
  int major = 3;
  int revision = 0;
  // Sets the flag and unsynchronises everything behind the header.
  bool unsynchronise = false;
  // Sets the flag and puts these bytes, size field included, before the
  // frames: whatever they say.
  std::optional<Bytes> extendedHeader{};
  std::size_t padding = 0;  // zero bytes after the frames
};

// A tag of `frames` (or any body); the header declares what follows it.
inline Bytes id3v2Tag(const Bytes& frames, const Id3v2Options& options = {}) {
  Bytes body = options.extendedHeader.value_or(Bytes{}) + frames + repeat(0, options.padding);
  if (options.unsynchronise) body = unsynchronise(body);
  const std::uint8_t flags = (options.unsynchronise ? 0x80 : 0) | (options.extendedHeader ? 0x40 : 0);
  return bytes("ID3") +
         Bytes{static_cast<std::uint8_t>(options.major), static_cast<std::uint8_t>(options.revision), flags} +
         syncsafe(static_cast<std::uint32_t>(body.size())) + body;
}

}  // namespace zav::test

#endif
