// Builders of MPEG audio: frame headers, frames, and first frames that hold
// a Xing or Info header.
#ifndef ZAV_TESTS_SUPPORT_MPEGBYTES_H
#define ZAV_TESTS_SUPPORT_MPEGBYTES_H

#include <cstdint>
#include <string_view>

#include "Bytes.h"

namespace zav::test {

// The fields of a header without CRC, private, copyright, original or
// emphasis bits. The default is 128 kbit/s MPEG-1 Layer III at 44100 Hz in
// joint stereo: frames of 417 bytes.
struct MpegHeader {
  int versionBits = 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5, 1 reserved
  int layer = 3;
  int bitRateIndex = 9;
  int sampleRateBits = 0;
  int padding = 0;
  int channelMode = 1;  // 0 Stereo, 1 JointStereo, 2 DualChannel, 3 Mono
};

inline Bytes mpegHeader(const MpegHeader& h) {
  const std::uint32_t value = 0xFFE00000u | std::uint32_t(h.versionBits) << 19 |
                              std::uint32_t(4 - h.layer) << 17 | 1u << 16 |  // no CRC
                              std::uint32_t(h.bitRateIndex) << 12 |
                              std::uint32_t(h.sampleRateBits) << 10 |
                              std::uint32_t(h.padding) << 9 | std::uint32_t(h.channelMode) << 6;
  return be32(value);
}

// A frame of `length` bytes (4 or more): the header, then zeros.
inline Bytes mpegFrame(const MpegHeader& h, std::size_t length) {
  return mpegHeader(h) + repeat(0, length - 4);
}

// A frame of `length` bytes whose header is followed, after `sideInfo` zero
// bytes, by a "Xing" (or other) marker, the flags, and the frame and byte
// counts that the flags announce (1 frames, 2 bytes); then zeros.
inline Bytes xingFrame(const MpegHeader& h, std::size_t length, std::size_t sideInfo,
                       std::uint32_t flags, std::uint32_t frames, std::uint32_t byteCount,
                       std::string_view marker = "Xing") {
  Bytes frame = mpegHeader(h) + repeat(0, sideInfo) + bytes(marker) + be32(flags);
  if (flags & 1) frame += be32(frames);
  if (flags & 2) frame += be32(byteCount);
  return frame + repeat(0, length - frame.size());
}

}  // namespace zav::test

#endif
