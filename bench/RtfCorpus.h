// Synthetic RTF documents in the shapes word processors write: big font,
// colour and style tables, theme and data-store blobs, pictures as hex,
// tables, fields, Shift-JIS hex text and UTF-16 information strings.
// Deterministic for a seed, so runs compare.
#ifndef ZAV_BENCH_RTFCORPUS_H
#define ZAV_BENCH_RTFCORPUS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zav::bench {

// One document of about `bytes` bytes. Small ones look like a simple
// editor's output, larger ones like a full word processor's.
std::string syntheticRtf(std::size_t bytes, std::uint64_t seed);

// About `bytes` bytes of a word processor's document body alone: formatted
// paragraphs, tables and fields, no tables of fonts or styles, no blobs.
std::string syntheticRtfBody(std::size_t bytes, std::uint64_t seed);

// `count` documents whose sizes are spread evenly on a log scale from
// 2 KB to 2 MB (so their mean is about 290 KB).
std::vector<std::string> syntheticRtfCorpus(std::size_t count, std::uint64_t seed);

}  // namespace zav::bench

#endif
