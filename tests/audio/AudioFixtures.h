// Builders for audio test files, all made from bytes in code: MPEG frames
// with an optional Xing header, ID3v1 and ID3v2 tags, RIFF forms.
#ifndef ZAV_TESTS_AUDIO_AUDIOFIXTURES_H
#define ZAV_TESTS_AUDIO_AUDIOFIXTURES_H

#include <cstdint>
#include <string>
#include <string_view>

#include "ContainerBytes.h"
#include "TempFile.h"

namespace zav::test {

struct MpegHeader {
  int versionBits = 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5, 1 reserved
  int layer = 3;
  int bitRateIndex = 9;     // 128 kbit/s in MPEG-1 Layer III
  int sampleRateBits = 0;   // 44100 Hz in MPEG-1
  int padding = 0;
  int channelMode = 1;      // JointStereo
};

Bytes mpegHeader(const MpegHeader& h);
// A frame of `length` bytes: the header, then zeros.
Bytes mpegFrame(const MpegHeader& h, std::size_t length);
// A frame whose header is followed, after `sideInfo` zero bytes, by a
// "Xing" (or other) marker, flags, and the frame and byte counts.
Bytes xingFrame(const MpegHeader& h, std::size_t length, std::size_t sideInfo,
                std::uint32_t flags, std::uint32_t frames, std::uint32_t bytes,
                std::string_view marker = "Xing");

struct Id3v1Fields {
  std::string_view title{}, artist{}, album{}, year{}, comment{};
  int track = 0;  // a version 1.1 track number when not 0
  std::uint8_t genre = 255;
};
// 128 bytes; fields are padded with zero bytes.
Bytes id3v1Tag(const Id3v1Fields& f);
// A fixed-width field exactly as given, cut or zero-padded to `width`.
Bytes field(std::string_view text, std::size_t width);

Bytes id3v2Tag(const Bytes& body, int major = 3, int revision = 0, int flags = 0);
// Inserts a 0x00 after every 0xFF, as an unsynchronising writer does.
Bytes unsynchronise(const Bytes& data);


}  // namespace zav::test

#endif
