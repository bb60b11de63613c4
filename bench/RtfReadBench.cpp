// Reading speed of the RTF plug-in's open: one pass over a large document
// of the kind word processors write, then every line handed out.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "PropertyTable.h"
#include "RtfOpen.h"

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

}  // namespace
