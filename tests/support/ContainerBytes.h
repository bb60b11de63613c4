// Builders for the containers the audio files are made of: RIFF chunks and
// ID3v2.3 frames. Plain C++, shared by the GoogleTest suites and the cases
// the Windows test host runs.
#ifndef ZAV_TESTS_SUPPORT_CONTAINERBYTES_H
#define ZAV_TESTS_SUPPORT_CONTAINERBYTES_H

#include <string_view>

#include "Bytes.h"

namespace zav::test {

// A RIFF chunk with its pad byte when the data size is odd.
inline Bytes riffChunk(std::string_view id, const Bytes& data) {
  Bytes chunk = bytes(id) + le32(static_cast<std::uint32_t>(data.size())) + data;
  if (data.size() % 2 != 0) chunk.push_back(0);
  return chunk;
}

inline Bytes riffList(std::string_view listType, const Bytes& chunks) {
  return riffChunk("LIST", bytes(listType) + chunks);
}

inline Bytes riffForm(std::string_view formType, const Bytes& chunks) {
  return riffChunk("RIFF", bytes(formType) + chunks);
}

// A size in four seven-bit groups, most significant first (ID3v2 headers).
inline Bytes syncsafe(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v >> 21 & 0x7F), static_cast<std::uint8_t>(v >> 14 & 0x7F),
          static_cast<std::uint8_t>(v >> 7 & 0x7F), static_cast<std::uint8_t>(v & 0x7F)};
}

// One ID3v2.3 frame: identifier, plain big-endian size, flags 0, data.
inline Bytes id3v2Frame(std::string_view id, const Bytes& data) {
  return bytes(id) + be32(static_cast<std::uint32_t>(data.size())) + be16(0) + data;
}

// A text frame in encoding 0 (ISO-8859-1).
inline Bytes id3v2Text(std::string_view id, std::string_view text) {
  return id3v2Frame(id, Bytes{0} + bytes(text));
}

}  // namespace zav::test

#endif
