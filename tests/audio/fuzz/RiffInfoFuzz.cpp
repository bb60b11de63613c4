// Feeds arbitrary bytes, as the contents of an INFO list, to its parser.
#include <cstddef>
#include <cstdint>
#include <string>

#include "RiffInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zav::audio::RiffInfo info;
  info.parseInfoList({data, size});
  std::string text;
  info.getText('I', 'A', 'R', 'T', text);
  return 0;
}
