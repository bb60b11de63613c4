// Byte builders for the shared end-to-end cases: plain C++ that builds on
// every system, so the Linux tests and the Windows test host write the very
// same files.
#ifndef ZAV_TESTS_CASES_FIXTURES_H
#define ZAV_TESTS_CASES_FIXTURES_H

#include <cstdint>
#include <string_view>
#include <vector>

#include "Bytes.h"
#include "ContainerBytes.h"

namespace zav::cases {

using test::Bytes;
using test::bytes;
using test::be32;
using test::le16;
using test::le32;
using test::operator+;

inline Bytes zeros(std::size_t count) { return test::repeat(0, count); }

using test::riffChunk;
using test::riffList;
using test::riffForm;
// A 16-byte PCM format chunk.
Bytes waveFormat();

using test::id3v2Frame;
using test::id3v2Text;
// A version 2.3.0 tag of the frames and padding.
Bytes id3v2Tag(const Bytes& frames, std::size_t padding);

// An ID3v1 tag; a track above 0 makes it a version 1.1 tag.
struct Id3v1Fields {
  Bytes title, artist, album, year, comment;
  std::uint8_t track = 0;
  std::uint8_t genre = 255;
};
Bytes id3v1Tag(const Id3v1Fields& fields);

// `size` bytes of MPEG audio: the first frame's 4-byte header, then zeros
// (so no Xing header and no second header; only the first frame is read).
Bytes mpegAudio(std::uint32_t header, std::size_t size);

}  // namespace zav::cases

#endif
