// zav_fuzz_seeds SOURCE_DIR: rewrites the seed corpora of every fuzz target
// in the source tree (tools/fuzz.sh --seeds).
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "SeedWriter.h"

namespace zav::fuzz {

void SeedWriter::write(std::string_view corpus, std::string_view name, const test::Bytes& bytes) {
  const std::filesystem::path folder = sourceDir_ / corpus;
  if (emptied_.insert(std::string(corpus)).second) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  std::ofstream out(folder / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + (folder / name).string());
  ++written_;
}

void SeedWriter::writeFile(std::string_view path, std::string_view text) {
  std::ofstream out(sourceDir_ / path, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) throw std::runtime_error("cannot write " + (sourceDir_ / path).string());
}

}  // namespace zav::fuzz

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zav_fuzz_seeds SOURCE_DIR\n");
    return 2;
  }
  try {
    zav::fuzz::SeedWriter seeds(argv[1]);
    zav::fuzz::writeCommonSeeds(seeds);
    zav::fuzz::writeAudioSeeds(seeds);
    zav::fuzz::writeRtfSeeds(seeds);
    std::printf("zav_fuzz_seeds: %d seeds written\n", seeds.written());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zav_fuzz_seeds: %s\n", e.what());
    return 1;
  }
  return 0;
}
