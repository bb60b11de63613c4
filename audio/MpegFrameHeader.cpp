#include "MpegFrameHeader.h"

#include <array>
#include <limits>

namespace zav::audio {

namespace {

constexpr std::array<std::int32_t, 9> kSampleRates = {
    44100, 48000, 32000,  // MPEG-1
    22050, 24000, 16000,  // MPEG-2
    11025, 12000, 8000,   // MPEG-2.5
};

// kbit/s by [lsf][layer - 1][bit-rate index]; index 0 is free format.
constexpr std::int32_t kBitRates[2][3][15] = {
    {
        // ISO/IEC 11172-3
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // Layer I
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // Layer II
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // Layer III
    },
    {
        // ISO/IEC 13818-3, also used for MPEG-2.5
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},  // Layer I
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},       // Layer II
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},       // Layer III
    },
};

constexpr const char* kChannelModeNames[4] = {"Stereo", "JointStereo", "DualChannel", "Mono"};

std::int32_t bits(std::uint32_t h, int low, int count) {
  return static_cast<std::int32_t>((h >> low) & ((1u << count) - 1));
}

}  // namespace

bool MpegFrameHeader::isFrameHeader(std::uint32_t h) {
  return (h & 0xFFE00000u) == 0xFFE00000u && bits(h, 17, 2) != 0 && bits(h, 12, 4) != 15 &&
         bits(h, 10, 2) != 3;
}

void MpegFrameHeader::decode(std::uint32_t h) {
  if (bits(h, 20, 1) == 1) {
    mpeg25 = false;
    lsf = 1 - bits(h, 19, 1);
  } else {
    // The reserved version 01 is taken as MPEG-2.5 too.
    mpeg25 = true;
    lsf = 1;
  }
  layer = 4 - bits(h, 17, 2);
  protection = bits(h, 16, 1) == 0;
  bitRateIndex = bits(h, 12, 4);
  const std::int32_t rateBits = bits(h, 10, 2);
  sampleRate = kSampleRates[static_cast<std::size_t>(mpeg25 ? 6 + rateBits : rateBits + 3 * lsf)];
  padding = bits(h, 9, 1);
  privateBit = bits(h, 8, 1) != 0;
  channelMode = bits(h, 6, 2);
  modeExtension = bits(h, 4, 2);
  copyright = bits(h, 3, 1) != 0;
  original = bits(h, 2, 1) != 0;
  emphasis = bits(h, 0, 2);
  channels = channelMode == 3 ? 1 : 2;
  bitRate = kBitRates[lsf][layer - 1][bitRateIndex];

  switch (layer) {
    case 1:
      frameSize = (bitRate * 12000 / sampleRate + padding) * 4 - 4;
      break;
    case 2:
      frameSize = bitRate * 144000 / sampleRate + padding - 4;
      break;
    default:
      frameSize = bitRate * 144000 / (sampleRate << lsf) + padding - 4;
      break;
  }
}

std::uint32_t MpegFrameHeader::frameLength() const {
  return static_cast<std::uint32_t>(frameSize + 4);
}

std::uint32_t MpegFrameHeader::samplesPerFrame() const {
  if (layer == 1) return 384;
  if (layer == 2) return 1152;
  return lsf ? 576 : 1152;
}

std::uint32_t MpegFrameHeader::sideInfoSize() const {
  if (lsf == 0) return channels == 2 ? 32 : 17;
  return channels == 2 ? 17 : 9;
}

std::uint32_t MpegFrameHeader::durationOf(std::uint32_t frames) const {
  if (sampleRate <= 0) return 0;
  // 2^32 frames × 1152 samples × 1000 stays far below 2^64.
  const std::uint64_t ms = std::uint64_t{samplesPerFrame()} * frames * 1000u /
                           static_cast<std::uint64_t>(sampleRate);
  constexpr std::uint64_t kLargest = std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(ms < kLargest ? ms : kLargest);
}

const char* MpegFrameHeader::versionText() const {
  if (mpeg25) return "2.5";
  return lsf ? "2.0" : "1.0";
}

const char* MpegFrameHeader::channelModeName() const {
  return kChannelModeNames[channelMode & 3];
}

}  // namespace zav::audio
