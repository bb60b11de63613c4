// The RTF open on arbitrary bytes, from memory: the document is read, every
// value and every line is taken, as the host does. The lines must give the
// text back whole, each ending with its only LF but the last; reading the
// same bytes in blocks of one byte must give the same lines and values.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "ByteStream.h"
#include "FuzzCheck.h"
#include "PropertyTable.h"
#include "RtfDocument.h"
#include "RtfOpen.h"

namespace {

struct Result {
  std::vector<std::string> lines;
  std::vector<std::string> values;
  bool operator==(const Result&) const = default;
};

Result open(std::span<const std::uint8_t> bytes, std::size_t blockSize) {
  static zav::PropertyTable properties(zav::rtf::rtfCatalogue(), "zavrtfp.dll");
  properties.resetValues();
  zav::rtf::ByteStream stream(bytes, blockSize);
  zav::rtf::RtfDocument document;
  document.read(stream, properties);

  Result result;
  std::string joined;
  while (const char* line = document.nextLine()) {
    result.lines.emplace_back(line);
    joined += line;
  }
  ZAV_FUZZ_CHECK(document.nextLine() == nullptr);
  ZAV_FUZZ_CHECK(joined == document.text());
  for (std::size_t i = 0; i < result.lines.size(); ++i) {
    const std::string& line = result.lines[i];
    const std::size_t lineFeed = line.find('\n');
    const bool last = i + 1 == result.lines.size();
    ZAV_FUZZ_CHECK(lineFeed == (last ? std::string::npos : line.size() - 1));
  }
  for (int i = 0; i < properties.count(); ++i) {
    result.values.emplace_back(properties.value(i));
    ZAV_FUZZ_CHECK(result.values.back().size() == std::strlen(properties.value(i)));
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Result whole = open({data, size}, 0);
  ZAV_FUZZ_CHECK(open({data, size}, 1) == whole);
  return 0;
}
