// Seeds of the common and platform targets: TextBuffer scripts, and the
// RIFF files of the shared cases with a wrapped MPEG stream beside them.
#include "MpegBytes.h"
#include "PluginCases.h"
#include "RiffBytes.h"
#include "SeedWriter.h"
#include "TextBufferScript.h"

namespace zav::fuzz {

namespace {

using test::operator+;

constexpr std::string_view kTextBuffer = "tests/common/fuzz/corpus/text_buffer";
constexpr std::string_view kRiffFile = "tests/common/fuzz/corpus/riff_file";

void writeTextBufferSeeds(SeedWriter& seeds) {
  using Op = TextOp;
  seeds.write(kTextBuffer, "direct",
              TextBufferScript(100)
                  .op(Op::append, "hello")
                  .op(Op::appendChar, ' ')
                  .op(Op::appendCounted, std::string_view("wor\0ld", 6))
                  .op(Op::appendIgnored, 1)
                  .op(Op::assign, "again")
                  .run('x', 200)
                  .op(Op::clear)
                  .op(Op::append, "after")
                  .op(Op::reset)
                  .bytes());
  seeds.write(kTextBuffer, "chunked",
              TextBufferScript(67)
                  .op(Op::append, "head ")
                  .op(Op::beginChunked)
                  .op(Op::appendChar, 'a')
                  .op(Op::appendChar, '\0')
                  .op(Op::append, "bcd")
                  .run('y', 90)
                  .op(Op::assign, "new")
                  .op(Op::appendCounted, "1234567")
                  .op(Op::endChunked)
                  .op(Op::append, " tail")
                  .bytes());
  // Past the staging area and the first chunk of the plug-ins' own step.
  TextBufferScript pluginStep(0);
  pluginStep.op(Op::beginChunked);
  for (int i = 0; i < 9; ++i) pluginStep.run('z', 1000).op(Op::appendChar, '!');
  pluginStep.op(Op::endChunked).run('w', 100);
  seeds.write(kTextBuffer, "plugin-step", pluginStep.bytes());
}

void writeRiffFileSeeds(SeedWriter& seeds) {
  for (const cases::FileCase& c : cases::fileCases()) {
    if (c.content.size() >= 12 && c.content[0] == 'R') seeds.write(kRiffFile, c.fileName, c.content);
  }
  const test::MpegHeader header;
  seeds.write(kRiffFile, "wrapped.rmp3",
              test::riffForm("RMP3", test::waveFormat() +
                                         test::riffChunk("data", test::mpegFrame(header, 417) +
                                                                     test::mpegFrame(header, 417)) +
                                         test::riffList("INFO", test::riffChunk("INAM", test::bytes("x")))));
}

}  // namespace

void writeCommonSeeds(SeedWriter& seeds) {
  writeTextBufferSeeds(seeds);
  writeRiffFileSeeds(seeds);
}

}  // namespace zav::fuzz
