// Feeds arbitrary bytes, as the contents of an INFO list, to its parser and
// looks up every sub-chunk the audio open shows.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "RiffInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zav::audio::RiffInfo info;
  info.parseInfoList({data, size});
  std::string text;
  for (const char* id : {"ISBJ", "IART", "ICMT", "ISFT", "ICRD", "ICOP", "IENG", "ISRC"}) {
    const char* value = info.getText(id[0], id[1], id[2], id[3], text);
    ZAV_FUZZ_CHECK(std::strlen(value) == text.size() && (text.empty() || text.size() + 8 <= size));
  }
  return 0;
}
