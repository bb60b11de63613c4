// Feeds arbitrary bytes as a document to the RTF open and serves every line.
// The open reads a file, so each input goes through one scratch file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "PropertyTable.h"
#include "RtfOpen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/zav-rtf-fuzz-" + std::to_string(getpid()) + ".rtf";
  static zav::PropertyTable properties(zav::rtf::rtfCatalogue(), "zavfuzz.dll");
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return 0;
  std::fwrite(data, 1, size, out);
  std::fclose(out);

  properties.resetValues();
  zav::rtf::closeRtfFile();
  zav::rtf::openRtfFile(path.c_str(), properties);
  while (zav::rtf::nextLine() != nullptr) {
  }
  for (int i = 0; i < properties.count(); ++i) (void)properties.value(i);
  return 0;
}
