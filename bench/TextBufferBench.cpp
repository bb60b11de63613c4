// Collecting a long text one byte at a time, as the RTF reader does: the
// chunked mode must stay linear however long the text grows.
#include <benchmark/benchmark.h>

#include "TextBuffer.h"

namespace {

void chunkedOneByteAppends(benchmark::State& state) {
  const auto bytes = static_cast<std::int64_t>(state.range(0));
  for (auto _ : state) {
    zav::TextBuffer buffer;
    buffer.beginChunked();
    for (std::int64_t i = 0; i < bytes; ++i) buffer.appendChar(static_cast<char>('a' + i % 26));
    buffer.endChunked();
    benchmark::DoNotOptimize(buffer.text());
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(chunkedOneByteAppends)->Range(1 << 12, 1 << 24)->Unit(benchmark::kMillisecond);

void directOneByteAppends(benchmark::State& state) {
  const auto bytes = static_cast<std::int64_t>(state.range(0));
  for (auto _ : state) {
    zav::TextBuffer buffer;
    for (std::int64_t i = 0; i < bytes; ++i) buffer.appendChar(static_cast<char>('a' + i % 26));
    benchmark::DoNotOptimize(buffer.text());
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(directOneByteAppends)->Range(1 << 12, 1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
