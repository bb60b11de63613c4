// One frame of an ID3v2 tag: its identifier and flags as stored, and where
// its data lies among the bytes the tag keeps.
#ifndef ZAV_AUDIO_ID3V2FRAME_H
#define ZAV_AUDIO_ID3V2FRAME_H

#include <array>
#include <cstdint>

namespace zav::audio {

struct Id3v2Frame {
  std::array<std::uint8_t, 4> identifier{};
  // Kept as read; compressed or encrypted frames are taken as they stand.
  std::uint16_t flags = 0;
  std::uint32_t offset = 0;  // of the data in the tag's frame bytes
  std::uint32_t size = 0;
};

}  // namespace zav::audio

#endif
