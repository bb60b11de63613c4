// The audio readers from memory: what one file costs once its bytes are
// read. Fixtures come from the test suite's byte builders.
#include <benchmark/benchmark.h>

#include <string>

#include "FileView.h"
#include "Id3Bytes.h"
#include "Id3v1Tag.h"
#include "Id3v2Tag.h"
#include "MpegAudioInfo.h"
#include "MpegBytes.h"
#include "RiffBytes.h"
#include "RiffInfo.h"

namespace {

using namespace zav::test;
using zav::audio::Id3v1Tag;
using zav::audio::Id3v2Tag;
using zav::audio::MpegAudioInfo;
using zav::audio::RiffInfo;

void id3v1(benchmark::State& state) {
  const Bytes tag = id3v1Tag({"A Title", "An Artist", "An Album", "2004", "A comment", 7, 17});
  for (auto _ : state) {
    Id3v1Tag reader;
    reader.parse(tag);
    benchmark::DoNotOptimize(reader.getTrack());
    benchmark::DoNotOptimize(reader.getGenre());
  }
}
BENCHMARK(id3v1);

// A tag as taggers write it: the twelve frames the plug-in reads, with
// bytes 0xFF in the texts so that unsynchronisation has work to do.
Bytes typicalId3v2Body() {
  Bytes body;
  for (const char* id : {"TIT2", "TPE1", "TALB", "TENC", "TRCK", "TYER", "TCON", "TCOM", "TOPE",
                         "TCOP"}) {
    body += id3v2Text(id, std::string(id) + " text \xFF\xE0 of some length");
  }
  body += id3v2Frame("COMM", bytes(std::string_view("\0eng\0A comment \xFF\xFB", 17)));
  body += id3v2Frame("WXXX", bytes(std::string_view("\0\0http://example.org/", 22)));
  return body + repeat(0, 1024);  // padding
}

void id3v2(benchmark::State& state) {
  const bool unsynchronised = state.range(0) != 0;
  const Bytes body = typicalId3v2Body();
  const Bytes tag = id3v2Tag(body, {.unsynchronise = unsynchronised});
  std::string text;
  for (auto _ : state) {
    Id3v2Tag reader;
    reader.parse(tag);
    benchmark::DoNotOptimize(reader.getTitle(text));
    benchmark::DoNotOptimize(reader.getGenre(text));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(tag.size()));
  state.SetLabel(unsynchronised ? "unsynchronised" : "plain");
}
BENCHMARK(id3v2)->Arg(0)->Arg(1);

// A picture between the texts is skipped, not copied.
void id3v2WithPicture(benchmark::State& state) {
  const Bytes picture = id3v2Frame("APIC", Bytes{0} + bytes("image/jpeg") + Bytes{0, 3, 0} +
                                               repeat(0x5A, 200 * 1024));
  const Bytes tag = id3v2Tag(id3v2Text("TIT2", "Title") + picture + id3v2Text("TPE1", "Artist"));
  std::string text;
  for (auto _ : state) {
    Id3v2Tag reader;
    reader.parse(tag);
    benchmark::DoNotOptimize(reader.getArtist(text));
  }
}
BENCHMARK(id3v2WithPicture);

// The frame search from its start to a Xing frame `range(0)` bytes on.
void mpegSearchAndXing(benchmark::State& state) {
  const MpegHeader header{};
  Bytes file = repeat(0, static_cast<std::size_t>(state.range(0))) +
               xingFrame(header, 417, 32, 3, 4999, 3000000);
  for (int i = 0; i < 20; ++i) file += mpegFrame(header, 417);
  for (auto _ : state) {
    MpegAudioInfo info;
    info.analyzeBytes(file);
    benchmark::DoNotOptimize(info.getTimeText());
  }
}
BENCHMARK(mpegSearchAndXing)->Arg(0)->Arg(1000)->Arg(10000);

Bytes infoList() {
  Bytes list;
  for (const char* id : {"INAM", "IART", "ICMT", "ISFT", "ICRD", "ICOP", "IENG", "ISRC", "ISBJ",
                         "IGNR"}) {
    list += riffChunk(id, bytes(std::string(id) + " text of a usual length"));
  }
  return list;
}

void riffInfoList(benchmark::State& state) {
  const Bytes list = infoList();
  std::string text;
  for (auto _ : state) {
    RiffInfo info;
    info.parseInfoList(list);
    benchmark::DoNotOptimize(info.getText('I', 'A', 'R', 'T', text));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(list.size()));
}
BENCHMARK(riffInfoList);

// The chunk walk to an INFO list behind the audio data, then the list.
void riffInfoInWave(benchmark::State& state) {
  const Bytes wave = riffForm("WAVE", riffChunk("fmt ", Bytes(16, 0)) +
                                          riffChunk("data", Bytes(64 * 1024, 0)) +
                                          riffList("INFO", infoList()));
  std::string text;
  for (auto _ : state) {
    zav::platform::FileView file(wave);
    RiffInfo info;
    info.readInfo(file, 'W', 'A', 'V', 'E');
    benchmark::DoNotOptimize(info.getText('I', 'A', 'R', 'T', text));
  }
}
BENCHMARK(riffInfoInWave);

}  // namespace
