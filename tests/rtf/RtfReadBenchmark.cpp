// Reading speed of the RTF plug-in: opens a large generated document through
// the loaded module and prints the throughput. Not a test; run it by hand,
// preferably from an optimised build without sanitizers.
#include <chrono>
#include <cstdio>
#include <string>

#include "PluginModule.h"
#include "TempFile.h"

int main(int argc, char** argv) {
  const int paragraphs = argc > 1 ? std::stoi(argv[1]) : 200000;
  std::string document =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
      "{\\info{\\title Benchmark}{\\author zav}}\r\n";
  for (int i = 0; i < paragraphs; ++i) {
    document += "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Paragraph " + std::to_string(i) +
                " with {\\b bold} and caf\\'e9 text\\tab and a tab.\\par\r\n";
  }
  document += "}";

  zav::test::TempFile file("benchmark.rtf", document);
  zav::test::PluginModule module(ZAV_RTF_MODULE);
  if (!module.loaded()) return 1;

  const auto start = std::chrono::steady_clock::now();
  const int opened = module.open(file.c_str());
  const auto read = std::chrono::steady_clock::now();
  std::size_t lines = 0;
  while (module.getLine() != nullptr) ++lines;
  const auto served = std::chrono::steady_clock::now();

  const double openSeconds = std::chrono::duration<double>(read - start).count();
  const double lineSeconds = std::chrono::duration<double>(served - read).count();
  const double megabytes = static_cast<double>(document.size()) / (1024.0 * 1024.0);
  std::printf("opened=%d size=%.1f MiB lines=%zu open=%.3f s (%.1f MiB/s) lines=%.3f s\n", opened, megabytes,
              lines, openSeconds, megabytes / openSeconds, lineSeconds);
  return opened == 1 ? 0 : 1;
}
