// Feeds arbitrary bytes, as a whole file, to the MPEG analysis.
#include <cstddef>
#include <cstdint>

#include "MpegAudioInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zav::audio::MpegAudioInfo info;
  info.analyzeBytes({data, size});
  return 0;
}
