// Reading speed of the RTF plug-in's open: one pass over a large document
// of the kind word processors write, then every line handed out.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ControlWords.h"
#include "PropertyTable.h"
#include "RtfCorpus.h"
#include "RtfOpen.h"
#include "RtfReader.h"

namespace {

std::string wordProcessorDocument(int paragraphs) {
  std::string document =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
      "{\\info{\\title Benchmark}{\\author zav}}\r\n";
  for (int i = 0; i < paragraphs; ++i) {
    document += "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Paragraph " + std::to_string(i) +
                " with {\\b bold} and caf\\'e9 text\\tab and a tab.\\par\r\n";
  }
  return document + "}";
}

void openAndServeLines(benchmark::State& state) {
  const std::string path = "/tmp/zav-bench-" + std::to_string(state.range(0)) + ".rtf";
  const std::string document = wordProcessorDocument(static_cast<int>(state.range(0)));
  std::ofstream(path, std::ios::binary) << document;
  zav::PropertyTable properties(zav::rtf::rtfCatalogue(), "zavbench.dll");
  for (auto _ : state) {
    properties.resetValues();
    zav::rtf::closeRtfFile();
    zav::rtf::openRtfFile(path.c_str(), properties);
    std::size_t lines = 0;
    while (zav::rtf::nextLine() != nullptr) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(document.size()));
  std::remove(path.c_str());
}
BENCHMARK(openAndServeLines)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

const std::vector<std::string>& corpus() {
  static const std::vector<std::string> documents = zav::bench::syntheticRtfCorpus(60, 2024);
  return documents;
}

// The whole synthetic corpus through the module's own open, every value and
// every line, as a host drives it: files on disk, warm cache.
void openCorpus(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "zav-bench-rtf-corpus";
  std::filesystem::create_directories(folder);
  std::vector<std::string> paths;
  std::int64_t bytes = 0;
  for (std::size_t i = 0; i < corpus().size(); ++i) {
    paths.push_back((folder / ("doc" + std::to_string(i) + ".rtf")).string());
    std::ofstream(paths.back(), std::ios::binary) << corpus()[i];
    bytes += static_cast<std::int64_t>(corpus()[i].size());
  }
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
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["files"] = benchmark::Counter(static_cast<double>(paths.size()) * static_cast<double>(state.iterations()),
                                               benchmark::Counter::kIsRate);
  std::filesystem::remove_all(folder);
}
BENCHMARK(openCorpus)->Unit(benchmark::kMillisecond);

// Every token of every document, from memory, with no handler registered.
void readTokens(benchmark::State& state) {
  std::int64_t bytes = 0;
  for (const std::string& d : corpus()) bytes += static_cast<std::int64_t>(d.size());
  for (auto _ : state) {
    for (const std::string& d : corpus()) {
      zav::rtf::ByteStream stream(std::span(reinterpret_cast<const std::uint8_t*>(d.data()), d.size()));
      zav::rtf::RtfReader reader(stream);
      std::size_t tokens = 0;
      while (reader.readToken() != zav::rtf::kEndOfInput) ++tokens;
      benchmark::DoNotOptimize(tokens);
    }
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(readTokens)->Unit(benchmark::kMillisecond);

// Looking up the words a word processor writes: most are in the table, many
// (its newer vocabulary) are not.
void lookUpControlWords(benchmark::State& state) {
  const std::vector<std::string> names{
      "par",    "pard",  "plain", "ltrpar",  "ql",     "li",      "ri",       "sa",    "sl",       "slmult",
      "widctlpar", "wrapdefault", "aspalpha", "aspnum", "faauto", "adjustright", "rin", "lin", "itap", "rtlch",
      "fcs",    "af",    "afs",   "alang",   "ltrch",  "fs",      "lang",     "langfe", "kerning", "loch",
      "hich",   "dbch",  "cgrid", "insrsid", "f",      "b",       "cell",     "row",   "trowd",    "cellx",
      "pict",   "title", "u",     "tab",     "fonttbl", "colortbl", "red",    "green", "blue",     "*"};
  std::size_t found = 0;
  for (auto _ : state) {
    for (const std::string& name : names) found += zav::rtf::findControlWord(name) != nullptr ? 1 : 0;
  }
  benchmark::DoNotOptimize(found);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(names.size()));
}
BENCHMARK(lookUpControlWords);

}  // namespace
