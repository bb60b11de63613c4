// Collecting text in a TextBuffer, in both modes: one byte at a time and in
// runs of words, as the RTF plug-in collects a document's text.
#include <benchmark/benchmark.h>

#include <string>

#include "TextBuffer.h"

namespace {

void oneByteAppends(benchmark::State& state, bool chunked) {
  const auto bytes = static_cast<std::int64_t>(state.range(0));
  for (auto _ : state) {
    zav::TextBuffer buffer;
    if (chunked) buffer.beginChunked();
    for (std::int64_t i = 0; i < bytes; ++i) buffer.appendChar(static_cast<char>('a' + i % 26));
    buffer.endChunked();
    benchmark::DoNotOptimize(buffer.text());
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

// Runs of 1 to 64 bytes, the lengths of plain text between control words.
void runAppends(benchmark::State& state, bool chunked) {
  const auto bytes = static_cast<std::int64_t>(state.range(0));
  const std::string source(64, 'w');
  for (auto _ : state) {
    zav::TextBuffer buffer;
    if (chunked) buffer.beginChunked();
    std::int64_t appended = 0;
    for (std::int32_t run = 1; appended < bytes; run = run % 64 + 1) {
      buffer.append(source.data(), run);
      appended += run;
    }
    buffer.endChunked();
    benchmark::DoNotOptimize(buffer.text());
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

void chunkedOneByteAppends(benchmark::State& state) { oneByteAppends(state, true); }
void directOneByteAppends(benchmark::State& state) { oneByteAppends(state, false); }
void chunkedRunAppends(benchmark::State& state) { runAppends(state, true); }
void directRunAppends(benchmark::State& state) { runAppends(state, false); }

BENCHMARK(chunkedOneByteAppends)->Range(1 << 12, 1 << 24)->Unit(benchmark::kMillisecond);
BENCHMARK(directOneByteAppends)->Range(1 << 12, 1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(chunkedRunAppends)->Range(1 << 12, 1 << 24)->Unit(benchmark::kMillisecond);
BENCHMARK(directRunAppends)->Range(1 << 12, 1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
