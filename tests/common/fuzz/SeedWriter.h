// The committed seed corpora come from the tests' own fixture builders: each
// subsystem's part of zav_fuzz_seeds writes its targets' seeds through this.
#ifndef ZAV_TESTS_FUZZ_SEEDWRITER_H
#define ZAV_TESTS_FUZZ_SEEDWRITER_H

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "Bytes.h"

namespace zav::fuzz {

class SeedWriter {
 public:
  explicit SeedWriter(std::filesystem::path sourceDir) : sourceDir_(std::move(sourceDir)) {}

  // Writes `bytes` as seed `name` of the corpus folder `corpus` (relative to
  // the source tree). A folder is emptied before its first seed is written,
  // so seeds no builder makes any more do not linger.
  void write(std::string_view corpus, std::string_view name, const test::Bytes& bytes);

  // Writes a file the seeds go with, such as a dictionary.
  void writeFile(std::string_view path, std::string_view text);

  int written() const { return written_; }

 private:
  std::filesystem::path sourceDir_;
  std::set<std::string> emptied_;
  int written_ = 0;
};

void writeCommonSeeds(SeedWriter& seeds);
void writeAudioSeeds(SeedWriter& seeds);
void writeRtfSeeds(SeedWriter& seeds);

}  // namespace zav::fuzz

#endif
