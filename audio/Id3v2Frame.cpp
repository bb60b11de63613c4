#include "Id3v2Frame.h"

namespace zav::audio {

Id3v2Frame::Id3v2Frame(std::span<const std::uint8_t, 4> identifier, std::uint16_t flags,
                       std::span<const std::uint8_t> data)
    : data_(data.begin(), data.end()), flags_(flags) {
  std::copy(identifier.begin(), identifier.end(), identifier_.begin());
}

}  // namespace zav::audio
