// Builders of RIFF files: chunks, lists and forms, and the format chunk of
// a plain WAVE file.
#ifndef ZAV_TESTS_SUPPORT_RIFFBYTES_H
#define ZAV_TESTS_SUPPORT_RIFFBYTES_H

#include <string_view>

#include "Bytes.h"

namespace zav::test {

// A chunk with its pad byte when the data size is odd.
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

// A 16-byte "fmt " chunk: PCM, mono, 8000 Hz, 8 bits.
inline Bytes waveFormat() {
  return riffChunk("fmt ", le16(1) + le16(1) + le32(8000) + le32(8000) + le16(1) + le16(8));
}

}  // namespace zav::test

#endif
