// Feeds arbitrary bytes, as a whole file, to the MPEG analysis.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzCheck.h"
#include "MpegAudioInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zav::audio::MpegAudioInfo info;
  if (info.analyzeBytes({data, size})) {
    ZAV_FUZZ_CHECK(std::strncmp(info.getFormatText(), "MPEG", 4) == 0);
    ZAV_FUZZ_CHECK(std::strstr(info.getTimeText(), "frames") != nullptr);
  } else {
    ZAV_FUZZ_CHECK(std::strcmp(info.getFormatText(), "unknown") == 0);
  }
  return 0;
}
