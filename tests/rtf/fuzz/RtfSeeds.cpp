// Seeds of the RTF targets: the documents of the shared cases, UTF-16
// information strings, and the dictionary of every control word the
// reader knows.
#include <string>

#include "ControlWords.h"
#include "PluginCases.h"
#include "RtfBytes.h"
#include "SeedWriter.h"

namespace zav::fuzz {

namespace {

using test::operator+;
using test::operator+=;

constexpr std::string_view kRtfOpen = "tests/rtf/fuzz/corpus/rtf_open";
constexpr std::string_view kRtfReader = "tests/rtf/fuzz/corpus/rtf_reader";
constexpr std::string_view kUtf16 = "tests/rtf/fuzz/corpus/utf16";

// A dictionary entry: quoted, with backslashes and quotes escaped and
// control characters in hex.
std::string entry(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) {
      constexpr const char* kHex = "0123456789ABCDEF";
      out += {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
      continue;
    }
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"\n";
}

}  // namespace

void writeRtfSeeds(SeedWriter& seeds) {
  for (const cases::FileCase& c : cases::fileCases()) {
    if (c.plugin != cases::Plugin::rtf) continue;
    seeds.write(kRtfOpen, c.fileName, c.content);
    seeds.write(kRtfReader, c.fileName, c.content);
  }
  seeds.write(kUtf16, "kana-kanji-thai", test::utf16Bytes(u"\u3042\u4e00\u0e01"));
  seeds.write(kUtf16, "ascii-then-end", test::utf16Bytes(u"AB") + test::Bytes{0, 0, 0, 0x43});
  seeds.write(kUtf16, "pair-and-lone", test::utf16Bytes(u"\U0001F600\xD800x\xDC00"));
  seeds.write(kUtf16, "tag-character", test::utf16Bytes(u"\U000E007A\u3042"));
  seeds.write(kUtf16, "odd-length", test::utf16Bytes(u"\u00E9\u00A5") + test::Bytes{0x30});

  std::string dictionary = "# Every control word the reader knows, and hex escapes.\n";
  for (const rtf::ControlWord& word : rtf::controlWords()) {
    if (word.name != nullptr) dictionary += entry("\\" + std::string(word.name));
  }
  for (const char* more : {"\\'", "{\\*", "\\'fe\\'ff", "\\'00"}) dictionary += entry(more);
  seeds.writeFile("tests/rtf/fuzz/rtf.dict", dictionary);
}

}  // namespace zav::fuzz
