// Seeds of the audio targets, from the audio suite's and the shared cases'
// builders: tags, frame sequences shaped like the common encoders' output,
// INFO lists, and the audio files of the shared cases under their names.
#include "AudioFileNames.h"
#include "Id3Bytes.h"
#include "MpegBytes.h"
#include "PluginCases.h"
#include "RiffBytes.h"
#include "SeedWriter.h"

namespace zav::fuzz {

namespace {

using test::Bytes;
using test::MpegHeader;
using test::operator+;
using test::operator+=;

constexpr std::string_view kId3v1 = "tests/audio/fuzz/corpus/id3v1";
constexpr std::string_view kId3v2 = "tests/audio/fuzz/corpus/id3v2";
constexpr std::string_view kMpeg = "tests/audio/fuzz/corpus/mpeg";
constexpr std::string_view kRiffInfo = "tests/audio/fuzz/corpus/riff_info";
constexpr std::string_view kAudioOpen = "tests/audio/fuzz/corpus/audio_open";

void writeId3v1Seeds(SeedWriter& seeds) {
  seeds.write(kId3v1, "v1.1", test::id3v1Tag({"Title", "Artist", "Album", "1999", "Comment", 7, 17}));
  seeds.write(kId3v1, "v1.0-full-width",
              test::id3v1Tag({"Thirty characters of the title", "Artist  ", "", "99  ",
                              "A comment that fills its field", 0, 147}));
  seeds.write(kId3v1, "no-genre", test::id3v1Tag({"", "", "", "", "", 0, 148}));
}

Bytes taggedFrames() {
  return test::id3v2Text("TIT2", "Title") + test::id3v2Text("TPE1", "Artist") +
         test::id3v2Text("TALB", "Album") +
         test::id3v2Frame("COMM", Bytes{0} + test::bytes("eng") + Bytes{0} + test::bytes("Note")) +
         test::id3v2Text("TENC", "Enc") + test::id3v2Text("TRCK", "3/9") +
         test::id3v2Text("TYER", "2001") + test::id3v2Text("TCON", "(13)(17)Rock") +
         test::id3v2Text("TCOM", "Comp") + test::id3v2Text("TOPE", "Orig") +
         test::id3v2Text("TCOP", "Copy") +
         test::id3v2Frame("WXXX", Bytes{0} + test::bytes("site") + Bytes{0} + test::bytes("http://x/"));
}

void writeId3v2Seeds(SeedWriter& seeds) {
  seeds.write(kId3v2, "v2.3-padded", test::id3v2Tag(taggedFrames(), {.padding = 16}));
  const Bytes withFf = test::id3v2Text("TIT2", "\xFF\xFE") + test::id3v2Text("TCON", "((Bop)");
  seeds.write(kId3v2, "unsynchronised", test::id3v2Tag(withFf, {.unsynchronise = true}));
  seeds.write(kId3v2, "extended-header",
              test::id3v2Tag(taggedFrames(), {.extendedHeader = test::syncsafe(6) + test::repeat(0, 6)}));
  seeds.write(kId3v2, "v2.2", test::id3v2Tag(test::id3v2Text("TCON", "Jazz"), {.major = 2}));
  seeds.write(kId3v2, "v2.4", test::id3v2Tag(test::id3v2Text("TIT2", "Later"), {.major = 4}));
}

// MPEG-1 Layer III, 44100 Hz: 128 kbit/s frames of 417 bytes, and the
// 64 kbit/s frame of 208 bytes that holds an "Info" header before them.
const MpegHeader kAt128{};
const MpegHeader kAt64{3, 3, 5, 0, 0, 1};
// MPEG-2 Layer III mono, 22050 Hz: 56 and 32 kbit/s.
const MpegHeader kMpeg2At56{2, 3, 7, 0, 0, 3};
const MpegHeader kMpeg2At32{2, 3, 4, 0, 0, 3};

std::vector<std::pair<std::string_view, Bytes>> mpegFiles() {
  const Bytes stream = test::repeat(test::mpegFrame(kAt128, 417), 3);
  return {
      {"cbr", stream},
      {"xing", test::xingFrame(kAt128, 417, 32, 3, 1000, 417000) + stream},
      {"info-at-64", test::xingFrame(kAt64, 208, 32, 3, 3, 1251, "Info") + stream},
      {"info-mpeg2-mono", test::xingFrame(kMpeg2At56, 182, 9, 1, 2, 0, "Info") +
                              test::repeat(test::mpegFrame(kMpeg2At32, 104), 2)},
      {"mpeg2.5-layer1", test::repeat(test::mpegFrame({0, 1, 4, 1, 1, 2}, 260), 2)},
      {"layer2-mono", test::repeat(test::mpegFrame({3, 2, 6, 1, 0, 3}, 288), 2)},
      {"behind-id3v2", test::id3v2Tag(test::id3v2Text("TIT2", "x"), {.padding = 8}) + test::repeat(0x41, 9) +
                           stream},
      {"with-id3v1", stream + test::id3v1Tag({"T", "A", "", "", "", 0, 1})},
      {"rmp3", test::riffForm("RMP3", test::waveFormat() + test::riffChunk("data", stream))},
      // The frame behind the Info frame lies past the search window.
      {"info-at-window-end", test::repeat(0, 10200) +
                                 test::xingFrame(kAt64, 208, 32, 3, 3, 1251, "Info") + stream},
  };
}

// Files larger than what a file view reads at once from the head and the
// tail, so that its other reads are taken too.
std::vector<std::pair<std::string_view, Bytes>> largeFiles() {
  const Bytes stream = test::repeat(test::mpegFrame(kAt128, 417), 3);
  const Bytes info = test::riffList("INFO", test::riffChunk("IART", test::bytes("Far")));
  return {
      {"long-id3v2.mp3",
       test::id3v2Tag(test::id3v2Text("TIT2", "x") + test::id3v2Frame("APIC", test::repeat(7, 17000))) +
           stream + test::id3v1Tag({"T", "", "", "", "", 0, 2})},
      {"long-data.wav",
       test::riffForm("WAVE", test::waveFormat() + test::riffChunk("data", test::repeat(0, 19000)) +
                                  info + test::riffChunk("junk", test::repeat(1, 5000)))},
  };
}

void writeMpegSeeds(SeedWriter& seeds) {
  for (const auto& [name, bytes] : mpegFiles()) seeds.write(kMpeg, name, bytes);
}

void writeRiffInfoSeeds(SeedWriter& seeds) {
  const Bytes list = test::riffChunk("ISBJ", test::bytes(std::string_view("Subject\0", 8))) +
                     test::riffChunk("IART", test::bytes("Singer")) +
                     test::riffChunk("ICMT", test::bytes("Odd")) +
                     test::riffChunk("ISFT", test::bytes("Tool")) +
                     test::riffChunk("ICRD", test::bytes("2024")) +
                     test::riffChunk("ICOP", test::bytes("C")) +
                     test::riffChunk("IENG", test::bytes("E")) + test::riffChunk("ISRC", test::bytes("S"));
  seeds.write(kRiffInfo, "all-texts", list);
  seeds.write(kRiffInfo, "no-final-pad", test::riffChunk("IART", test::bytes("A")) +
                                             test::bytes("ICMT") + test::le32(3) + test::bytes("abc"));
  seeds.write(kRiffInfo, "overrun", test::bytes("IART") + test::le32(100) + test::bytes("short"));
}

void writeAudioOpenSeeds(SeedWriter& seeds) {
  const auto named = [](std::string_view name, const Bytes& content) {
    return Bytes{static_cast<std::uint8_t>(audioNameIndex(name))} + content;
  };
  for (const cases::FileCase& c : cases::fileCases()) {
    if (c.plugin == cases::Plugin::audio) seeds.write(kAudioOpen, c.fileName, named(c.fileName, c.content));
  }
  for (const auto& [name, bytes] : mpegFiles()) {
    seeds.write(kAudioOpen, std::string(name) + ".mp3", named(".mp3", bytes));
  }
  for (const auto& [name, bytes] : largeFiles()) seeds.write(kAudioOpen, name, named(name, bytes));
}

}  // namespace

void writeAudioSeeds(SeedWriter& seeds) {
  writeId3v1Seeds(seeds);
  writeId3v2Seeds(seeds);
  writeMpegSeeds(seeds);
  writeRiffInfoSeeds(seeds);
  writeAudioOpenSeeds(seeds);
}

}  // namespace zav::fuzz
