// The 32-bit header of one MPEG audio frame (ISO/IEC 11172-3, 13818-3 and
// the MPEG-2.5 extension), decoded, with the counts derived from it.
#ifndef ZAV_AUDIO_MPEGFRAMEHEADER_H
#define ZAV_AUDIO_MPEGFRAMEHEADER_H

#include <cstdint>

namespace zav::audio {

struct MpegFrameHeader {
  // Whether `h` can start a frame: sync bits set, and layer, bit-rate index
  // and sample-rate bits not reserved. Free format (index 0) passes.
  static bool isFrameHeader(std::uint32_t h);

  // Fills the fields read from `h`, which must pass isFrameHeader. The
  // counts (byte count, frame count, duration, VBR flag) are left alone.
  void decode(std::uint32_t h);

  // The frame's length in bytes, header included; 0 for free format
  // without padding.
  std::uint32_t frameLength() const;
  // Samples that one frame carries: 384 in Layer I, 1152 in Layer II,
  // 1152 in MPEG-1 Layer III and 576 in MPEG-2/2.5 Layer III.
  std::uint32_t samplesPerFrame() const;
  // Bytes of side information between the header and a Xing header.
  std::uint32_t sideInfoSize() const;
  // Playing time of `frames` frames in milliseconds, saturated at the
  // largest count a 32-bit duration holds.
  std::uint32_t durationOf(std::uint32_t frames) const;

  const char* versionText() const;
  const char* channelModeName() const;

  std::int32_t lsf = 0;     // 0 for MPEG-1, 1 for MPEG-2 and MPEG-2.5
  bool mpeg25 = false;
  std::int32_t layer = 0;   // 1, 2 or 3
  std::int32_t sampleRate = 0;  // Hz
  bool protection = false;  // a CRC follows the header
  std::int32_t bitRateIndex = 0;
  std::int32_t padding = 0;
  bool privateBit = false;
  std::int32_t channelMode = 0;  // 0 Stereo, 1 JointStereo, 2 DualChannel, 3 Mono
  std::int32_t modeExtension = 0;
  bool copyright = false;
  bool original = false;
  std::int32_t emphasis = 0;
  std::int32_t channels = 0;
  std::int32_t bitRate = 0;    // kbit/s; the average for a Xing stream
  std::int32_t frameSize = 0;  // frame length less the four header bytes
  std::uint32_t duration = 0;  // ms
  std::uint32_t byteCount = 0;
  std::uint32_t frameCount = 0;
  bool vbr = false;  // the first frame holds a Xing header
};

}  // namespace zav::audio

#endif
