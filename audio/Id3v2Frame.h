// One frame of an ID3v2 tag: its identifier, flags and data as stored.
#ifndef ZAV_AUDIO_ID3V2FRAME_H
#define ZAV_AUDIO_ID3V2FRAME_H

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace zav::audio {

class Id3v2Frame {
 public:
  Id3v2Frame(std::span<const std::uint8_t, 4> identifier, std::uint16_t flags,
             std::span<const std::uint8_t> data);
  virtual ~Id3v2Frame() = default;
  Id3v2Frame(const Id3v2Frame&) = default;
  Id3v2Frame& operator=(const Id3v2Frame&) = default;
  Id3v2Frame(Id3v2Frame&&) = default;
  Id3v2Frame& operator=(Id3v2Frame&&) = default;

  std::span<const std::uint8_t> data() const { return data_; }
  const std::array<std::uint8_t, 4>& identifier() const { return identifier_; }
  std::uint32_t size() const { return static_cast<std::uint32_t>(data_.size()); }
  // Kept as read; compressed or encrypted frames are taken as they stand.
  std::uint16_t flags() const { return flags_; }

 private:
  std::vector<std::uint8_t> data_;
  std::array<std::uint8_t, 4> identifier_;
  std::uint16_t flags_;
};

}  // namespace zav::audio

#endif
