// Writes the synthetic RTF documents to a folder:
//   write_rtf_corpus FOLDER [COUNT [SEED]]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "RtfCorpus.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: write_rtf_corpus FOLDER [COUNT [SEED]]\n", stderr);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::size_t count = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000;
  const std::uint64_t seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 2024;
  std::filesystem::create_directories(folder);
  std::size_t total = 0;
  const auto documents = zav::bench::syntheticRtfCorpus(count, seed);
  for (std::size_t i = 0; i < documents.size(); ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "doc%04zu.rtf", i);
    std::ofstream(folder / name, std::ios::binary) << documents[i];
    total += documents[i].size();
  }
  std::printf("%zu documents, %zu bytes in %s\n", documents.size(), total, folder.c_str());
  return 0;
}
