// Reading speed of the RTF plug-in, on synthetic documents shaped as word
// processors write them (bench/RtfCorpus.h): the whole open from files, the
// document read from memory, and its parts (the token reader one token at a
// time, skipping groups in bulk, looking control words up).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ByteStream.h"
#include "ControlWords.h"
#include "PropertyTable.h"
#include "RtfCorpus.h"
#include "RtfDocument.h"
#include "RtfOpen.h"
#include "RtfReader.h"

namespace {

using zav::rtf::ByteStream;
using zav::rtf::RtfReader;

std::span<const std::uint8_t> bytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::int64_t totalSize(const std::vector<std::string>& documents) {
  std::int64_t bytes = 0;
  for (const std::string& d : documents) bytes += static_cast<std::int64_t>(d.size());
  return bytes;
}

// 60 documents from 2 KB to 2 MB, 18 MB in all.
const std::vector<std::string>& corpus() {
  static const std::vector<std::string> documents = zav::bench::syntheticRtfCorpus(60, 2024);
  return documents;
}

// Each file through the module's own open, every value and every line, as
// a host drives it.
void openEachFile(benchmark::State& state, const std::vector<std::string>& paths) {
  zav::PropertyTable properties(zav::rtf::rtfCatalogue(), "zavbench.dll");
  for (auto _ : state) {
    for (const std::string& path : paths) {
      properties.resetValues();
      zav::rtf::closeRtfFile();
      zav::rtf::openRtfFile(path.c_str(), properties);
      while (const char* line = zav::rtf::nextLine()) benchmark::DoNotOptimize(line);
      for (int i = 0; i < properties.count(); ++i) benchmark::DoNotOptimize(properties.value(i));
    }
  }
  zav::rtf::closeRtfFile();
}

// The corpus through the module's own open, every value and every line, as
// a host drives it: files on disk, warm cache. The 1 GB/s target.
void openCorpusFiles(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "zav-bench-rtf-corpus";
  std::filesystem::create_directories(folder);
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < corpus().size(); ++i) {
    paths.push_back((folder / ("doc" + std::to_string(i) + ".rtf")).string());
    std::ofstream(paths.back(), std::ios::binary) << corpus()[i];
  }
  openEachFile(state, paths);
  state.SetBytesProcessed(state.iterations() * totalSize(corpus()));
  state.counters["files"] = benchmark::Counter(
      static_cast<double>(paths.size()) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  std::filesystem::remove_all(folder);
}
BENCHMARK(openCorpusFiles)->Unit(benchmark::kMillisecond);

// The paths of the benchmark corpus's RTF list (rtf.list in $ZAV_BENCH_DIR,
// else in the generator's default folder; see docs/benchmarks.md).
std::vector<std::string> listedPaths() {
  const char* folder = std::getenv("ZAV_BENCH_DIR");
  std::ifstream list(std::filesystem::path(folder != nullptr ? folder : ZAV_DEFAULT_BENCH_DIR) / "rtf.list");
  std::vector<std::string> paths;
  for (std::string path; std::getline(list, path);) paths.push_back(path);
  return paths;
}

// The listed files opened as above in one process.
void openListedFiles(benchmark::State& state) {
  const std::vector<std::string> paths = listedPaths();
  if (paths.empty()) {
    state.SkipWithError("no rtf.list: make the corpus with tools/make_bench_corpus.py");
    return;
  }
  std::int64_t bytes = 0;
  for (const std::string& path : paths) bytes += static_cast<std::int64_t>(std::filesystem::file_size(path));
  openEachFile(state, paths);
  state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(openListedFiles)->Unit(benchmark::kMillisecond);

// Documents read from memory: the reader and its handlers alone.
void readDocuments(benchmark::State& state, const std::vector<std::string>& documents) {
  zav::PropertyTable properties(zav::rtf::rtfCatalogue(), "zavbench.dll");
  for (auto _ : state) {
    for (const std::string& d : documents) {
      properties.resetValues();
      ByteStream input(bytesOf(d));
      zav::rtf::RtfDocument document;
      document.read(input, properties);
      while (const char* line = document.nextLine()) benchmark::DoNotOptimize(line);
    }
  }
  state.SetBytesProcessed(state.iterations() * totalSize(documents));
}

void readCorpusDocuments(benchmark::State& state) { readDocuments(state, corpus()); }
BENCHMARK(readCorpusDocuments)->Unit(benchmark::kMillisecond);

// The listed files, from memory: the whole-process run less the system's part.
void readListedDocuments(benchmark::State& state) {
  std::vector<std::string> documents;
  for (const std::string& path : listedPaths()) {
    std::ifstream file(path, std::ios::binary);
    documents.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  if (documents.empty()) {
    state.SkipWithError("no rtf.list: make the corpus with tools/make_bench_corpus.py");
    return;
  }
  readDocuments(state, documents);
}
BENCHMARK(readListedDocuments)->Unit(benchmark::kMillisecond);

// Every token of a document body (formatting words, text, hex escapes), one
// at a time, no handler registered.
void readBodyTokens(benchmark::State& state) {
  const std::string body = zav::bench::syntheticRtfBody(4 << 20, 7);
  std::int64_t tokens = 0;
  for (auto _ : state) {
    ByteStream input(bytesOf(body));
    RtfReader reader(input);
    while (reader.readToken() != zav::rtf::kEndOfInput) ++tokens;
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(body.size()));
  state.counters["tokens"] = benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}
BENCHMARK(readBodyTokens)->Unit(benchmark::kMillisecond);

// Skipping groups of the kinds writers fill with hex (pictures, themes,
// data stores), as the reader does where no hook watches.
void skipHexGroups(benchmark::State& state) {
  std::string groups;
  for (int i = 0; i < 64; ++i) {
    groups += "{\\*\\themedata ";
    for (int line = 0; line < 512; ++line) groups += std::string(128, "0123456789abcdef"[line % 16]) + "\r\n";
    groups += "}";
  }
  for (auto _ : state) {
    ByteStream input(bytesOf(groups));
    RtfReader reader(input);
    while (reader.readToken() == zav::rtf::kGroup) reader.skipGroup();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(groups.size()));
}
BENCHMARK(skipHexGroups)->Unit(benchmark::kMillisecond);

// Looking up the words a word processor writes: most are in the table, many
// (its newer vocabulary) are not.
void lookUpControlWords(benchmark::State& state) {
  const std::vector<std::string> names{
      "par",    "pard",    "plain", "ltrpar", "ql",      "li",       "ri",     "sa",     "sl",     "slmult",
      "widctlpar", "wrapdefault", "aspalpha", "aspnum", "faauto", "adjustright", "rin", "lin", "itap", "rtlch",
      "fcs",    "af",      "afs",   "alang",  "ltrch",   "fs",       "lang",   "langfe", "kerning", "loch",
      "hich",   "dbch",    "cgrid", "insrsid", "f",      "b",        "cell",   "row",    "trowd",  "cellx",
      "pict",   "title",   "u",     "tab",    "fonttbl", "colortbl", "red",    "green",  "blue",   "*"};
  std::size_t found = 0;
  for (auto _ : state) {
    for (const std::string& name : names) found += zav::rtf::findControlWord(name) != nullptr ? 1 : 0;
  }
  benchmark::DoNotOptimize(found);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(names.size()));
}
BENCHMARK(lookUpControlWords);

}  // namespace
