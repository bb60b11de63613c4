#include "PlatformCases.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <cstring>
#include <fstream>

#include "CaseRunner.h"
#include "Endian.h"
#include "Platform.h"
#include "RiffBytes.h"
#include "RiffFile.h"

namespace zav::cases {

namespace {

using namespace test;
using platform::RiffChunk;
using platform::RiffFile;

using Failures = std::vector<std::string>;

std::uint32_t fourCc(const char (&id)[5]) { return chunkId(id[0], id[1], id[2], id[3]); }

std::string writeFile(const std::string& folder, const char* name, const Bytes& content) {
  const std::string path = folder + "/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(content.data()),
            static_cast<std::streamsize>(content.size()));
  return path;
}

// Writes `content` as the file `name` in `folder` and returns a path to it
// of `length` characters, padded with "./" steps, so that its length does
// not depend on how deep the folder lies; longer when the folder lies
// deeper than that length allows.
std::string writeAtPathLength(const std::string& folder, std::string name, std::size_t length,
                              const Bytes& content) {
  if (length > folder.size() + 1 + name.size() && (length - folder.size() - name.size()) % 2 == 0) {
    name = "_" + name;  // the steps come in twos
  }
  writeFile(folder, name.c_str(), content);
  std::string path = folder + "/";
  while (path.size() + 2 + name.size() <= length) path += "./";
  return path + name;
}

// Collects failures with their place in the check.
struct Expect {
  Failures failures;
  void operator()(bool ok, const std::string& what) {
    if (!ok) failures.push_back(what);
  }
};

Failures codePage(const std::string&) {
  Expect expect;
  expect(platform::ansiCodePage() == platform::kCodePageShiftJis,
         "ANSI code page " + std::to_string(platform::ansiCodePage()));
  for (int b : {0x81, 0x95, 0x9F, 0xE0, 0xFC}) {
    expect(platform::isLeadByte(static_cast<std::uint8_t>(b)), "not a lead byte: " + std::to_string(b));
  }
  for (int b : {0x41, 0x80, 0xA0, 0xC0, 0xDF, 0xFD}) {
    expect(!platform::isLeadByte(static_cast<std::uint8_t>(b)), "a lead byte: " + std::to_string(b));
  }
  return expect.failures;
}

Failures nextChar(const std::string&) {
  struct Case {
    const char* text;
    std::ptrdiff_t step;
  };
  const Case cases[] = {
      {"A", 1},         {"\x82\xA0", 2}, {"\x95\x5C", 2},  // 表: trail byte is a backslash
      {"\x82", 1},      {"\x82\n", 1},   {"\x82 ", 1},     // no valid trail byte
      {"\xC0", 1},      {"\xE3\x81\x82", 2}, {"", 0},
  };
  Expect expect;
  for (const Case& c : cases) {
    expect(platform::nextChar(c.text) - c.text == c.step, "nextChar steps wrong over [" + hex(c.text) + "]");
  }
  const char* path = "\x95\x5C\\x.mp3";
  expect(platform::findChar(path, '\\') == path + 2, "findChar took a trail byte");
  expect(platform::findChar("abc", 'x') == nullptr, "findChar found what is not there");
  expect(platform::compareBytes("MP3X", "MP3", 3) == 0, "compareBytes looked past 3 bytes");
  expect(platform::compareBytes("mp3", "MP3", 3) != 0, "compareBytes ignored case");
  expect(platform::compareBytes("MP", "MP3", 3) != 0, "compareBytes ran past the terminator");
  expect(platform::compareBytes("\x81", "\xFF", 1) < 0, "compareBytes is not unsigned");
  return expect.failures;
}

Failures wideToAnsi(const std::string&) {
  struct Case {
    std::u16string units;
    const char* bytes;
  };
  const Case cases[] = {
      {u"Abc", "Abc"},
      {u"\u3042\u4E00", "\x82\xA0\x88\xEA"},   // あ一
      {u"\u2460", "\x87\x40"},                  // ① (NEC extension)
      {u"\uFF5E", "\x81\x60"},                  // ～
      {u"\u0E01", "?"},                         // Thai: no Shift-JIS form, no best fit
      {u"\U0001F600", "?"},                     // one character, one '?'
      {u"\U000E0001\U000E007Fa", "??a"},       // tag characters, the first and the last
      {u"\U000E007A\u3042", "?\x82\xA0"},
      {std::u16string(1, u'\xD800') + u"A", "?A"},  // lone surrogate
  };
  Expect expect;
  for (const Case& c : cases) {
    const std::string got = platform::wideToAnsi(c.units);
    expect(got == c.bytes, "wideToAnsi gave [" + hex(got) + "], want [" + hex(c.bytes) + "]");
  }
  return expect.failures;
}

Failures loadString(const std::string&) {
  Expect expect;
  const platform::ModuleHandle module = platform::moduleHandle(kPlatformModuleFileName);
  expect(module != nullptr, "no handle for the program's own file name");
  expect(platform::moduleHandle("zavaudio.dll") == nullptr, "a handle for a module not loaded");
  expect(platform::moduleHandle("kernel32.dll") == nullptr, "a handle for another loaded module");
  char buffer[128];
  int length = platform::loadString(module, 396, buffer, sizeof buffer);
  expect(std::string(buffer) == "\xC0\xB2\xC4\xD9" && length == 4,
         "title 396 [" + hex(buffer) + "]");
  length = platform::loadString(module, 401, buffer, sizeof buffer);
  expect(std::string(buffer) == "\x8D\xEC\x8E\xD2" && length == 4, "title 401 [" + hex(buffer) + "]");
  expect(platform::loadString(module, 901, buffer, sizeof buffer) == 0 && buffer[0] == 0,
         "a missing string loaded");
  expect(platform::loadString(nullptr, 396, buffer, sizeof buffer) == 0 && buffer[0] == 0,
         "a string loaded without a module");
  char small[8];
  length = platform::loadString(module, 900, small, sizeof small);
  expect(length == 7 && std::string(small) == "A long ", "cut to the buffer: [" + hex(small) + "]");
  return expect.failures;
}

Failures readOnlyFile(const std::string& scratch) {
  Expect expect;
  const std::string path = writeFile(scratch, "data.bin", bytes("0123456789"));
  {
    platform::ReadOnlyFile in(path.c_str());
    expect(in.isOpen(), "does not open");
    expect(in.size() == 10u, "size");
    expect(in.seek(7), "seek");
    char buffer[8] = {};
    expect(in.read(buffer, 8) == 3u && std::string(buffer, 3) == "789", "short read at the end");
    expect(in.tell() == 10u, "position after the read");
    expect(in.read(buffer, 8) == 0u, "read at the end");
    // Other readers are allowed while it is open.
    expect(platform::ReadOnlyFile(path.c_str()).isOpen(), "a second reader is refused");
  }
  expect(!platform::ReadOnlyFile((scratch + "/missing.bin").c_str()).isOpen(), "a missing file opens");
  expect(!platform::ReadOnlyFile(scratch.c_str()).isOpen(), "a folder opens");
  expect(!platform::ReadOnlyFile(nullptr).isOpen(), "a null path opens");
  return expect.failures;
}

// fmt, LIST/INFO (IART "Kim", odd), data (3 bytes, odd), then a chunk that
// lies past the form's declared end.
Bytes walkerWave() {
  return riffForm("WAVE", waveFormat() + riffList("INFO", riffChunk("IART", bytes("Kim"))) +
                              riffChunk("data", bytes("abc"))) +
         riffChunk("junk", bytes("xy"));
}

Failures riffWalk(const std::string& scratch) {
  Expect expect;
  const Bytes wave = walkerWave();
  const std::string path = writeFile(scratch, "walk.wav", wave);
  RiffFile riff(path.c_str());
  expect(riff.isOpen(), "does not open");
  expect(!riff.findForm(fourCc("AVI ")), "a WAVE form taken for AVI");
  expect(riff.findForm(fourCc("WAVE")), "the WAVE form not found");
  expect(riff.tell() == 12u, "position after the form type");

  const std::optional<RiffChunk> data = riff.findChunk(fourCc("data"));
  expect(data.has_value(), "data chunk not found");
  if (!data) return expect.failures;
  expect(data->id == fourCc("data") && data->size == 3, "data chunk header");
  expect(riff.tell() == data->dataOffset, "position at the data");
  char bytesRead[4] = {};
  expect(riff.read(bytesRead, 3) == 3u && std::string(bytesRead, 3) == "abc", "data bytes");
  expect(riff.leave(*data), "leave");
  expect(riff.tell() == data->dataOffset + 4, "position after the pad byte");
  expect(!riff.findList(fourCc("INFO")), "a list found behind the position");
  expect(!riff.findChunk(fourCc("junk")), "a chunk past the form's end found");

  expect(riff.seek(12), "seek to the first sub-chunk");
  const std::optional<RiffChunk> asChunk = riff.findChunk(fourCc("LIST"));
  expect(asChunk && asChunk->listType == 0 && riff.tell() == asChunk->dataOffset,
         "a list found as a chunk is not entered at its data");
  expect(riff.seek(12), "seek to the first sub-chunk");
  const std::optional<RiffChunk> info = riff.findList(fourCc("INFO"));
  expect(info.has_value(), "INFO list not found");
  if (!info) return expect.failures;
  expect(info->id == fourCc("LIST") && info->listType == fourCc("INFO") && info->size == 4 + 8 + 4,
         "INFO list header");
  expect(riff.tell() == info->dataOffset + 4, "position after the list type");
  char sub[11] = {};
  expect(riff.read(sub, 11) == 11u && std::string(sub, 11) == std::string("IART\3\0\0\0Kim", 11),
         "INFO list bytes");
  expect(riff.seek(wave.size() - 2), "seek near the end");
  expect(riff.read(sub, 11) == 2u, "short read at the end of the file");
  return expect.failures;
}

Failures riffRefusals(const std::string& scratch) {
  Expect expect;
  expect(!RiffFile((scratch + "/missing.wav").c_str()).isOpen(), "a missing file opens");
  expect(!RiffFile(nullptr).isOpen(), "a null path opens");
  // Longer than the 128 characters a file name may have in some RIFF I/O.
  RiffFile longPath(writeAtPathLength(scratch, "long.wav", 200, riffForm("WAVE", {})).c_str());
  expect(longPath.findForm(fourCc("WAVE")), "a long path does not open");
  RiffFile plusName(writeFile(scratch, "a.wav+b", riffForm("WAVE", {})).c_str());
  expect(plusName.findForm(fourCc("WAVE")), "a name with a plus sign does not open");
  const std::string shortFile = writeFile(scratch, "short.wav", bytes("RIFF\4\0\0\0WAV"));
  RiffFile cut(shortFile.c_str());
  expect(!cut.findForm(fourCc("WAVE")), "a form in 11 bytes");
  // The form must start the file: a RIFF form behind another chunk is not it.
  const std::string late =
      writeFile(scratch, "late.wav", riffChunk("junk", bytes("x")) + riffForm("WAVE", {}));
  RiffFile lateForm(late.c_str());
  expect(!lateForm.findForm(fourCc("WAVE")), "a form that does not start the file");
  // A form too short to hold its own type is none.
  const std::string tiny = writeFile(scratch, "tiny.wav", bytes("RIFF") + le32(2) + bytes("WAVE"));
  RiffFile tinyForm(tiny.c_str());
  expect(!tinyForm.findForm(fourCc("WAVE")), "a form declaring 2 bytes");
  // A list needs a type of its own: not the id of the chunk after an empty
  // list, and not bytes past the end of the file.
  const std::string lists = writeFile(
      scratch, "lists.wav",
      riffForm("WAVE", bytes("LIST") + le32(0) + riffChunk("INFO", bytes("ab")) + bytes("LIST") + le32(4)));
  RiffFile emptyLists(lists.c_str());
  expect(emptyLists.findForm(fourCc("WAVE")), "the form with empty lists");
  expect(!emptyLists.findList(fourCc("INFO")), "a list type taken from outside the list");
  // A form declaring the largest size still has its sub-chunks found.
  Bytes huge = riffForm("WAVE", riffChunk("data", bytes("ab")));
  huge[4] = huge[5] = huge[6] = huge[7] = 0xFF;
  const std::string hugePath = writeFile(scratch, "huge.wav", huge);
  RiffFile hugeForm(hugePath.c_str());
  expect(hugeForm.findForm(fourCc("WAVE")), "a form of the largest size");
  const std::optional<RiffChunk> data = hugeForm.findChunk(fourCc("data"));
  expect(data && data->size == 2, "a sub-chunk of a form of the largest size");
  // A chunk whose end lies beyond 4 GiB cannot be left.
  RiffChunk endless = data.value_or(RiffChunk{});
  endless.size = 0xFFFFFFFF;
  expect(!hugeForm.leave(endless) || hugeForm.tell() > 0xFFFFFFFFu, "left a chunk to a wrapped offset");
  return expect.failures;
}

// Windows' ANSI file calls take paths of fewer than 260 characters, or
// longer ones on a system set up for them. The plug-ins give one answer on
// every Windows system: such a path cannot be opened. POSIX has no such
// limit.
Failures pathLimit(const std::string& scratch) {
  Expect expect;
  const Bytes wave = riffForm("WAVE", {});
  const std::string atLimit = writeAtPathLength(scratch, "limit.wav", 259, wave);
  const std::string beyond = writeAtPathLength(scratch, "beyond.wav", 260, wave);
  expect(atLimit.size() == 259 && beyond.size() == 260, "the scratch folder lies too deep");
  expect(platform::ReadOnlyFile(atLimit.c_str()).isOpen(), "259 characters do not open");
  expect(RiffFile(atLimit.c_str()).findForm(fourCc("WAVE")), "259 characters: no RIFF form");
#if defined(_WIN32)
  const bool opensBeyond = false;
#else
  const bool opensBeyond = true;
#endif
  expect(platform::ReadOnlyFile(beyond.c_str()).isOpen() == opensBeyond, "260 characters");
  expect(RiffFile(beyond.c_str()).isOpen() == opensBeyond, "260 characters, RIFF");
  return expect.failures;
}

// A name that only begins like a device's is a file's; on Windows a
// device's name, in any folder, and a pipe are no files.
Failures deviceNames(const std::string& scratch) {
  Expect expect;
  for (const char* name : {"console.mp3", "com0.wav", "com10.rtf", "lpt.mp3", "nul_.wav", "auxx"}) {
    const std::string path = writeFile(scratch, name, bytes("RIFF"));
    expect(platform::ReadOnlyFile(path.c_str()).isOpen(), std::string("no file: ") + name);
  }
#if defined(_WIN32)
  for (const char* name : {"con.mp3", "AUX.wav", "nul.rtf", "Com1.mp3", "lpt9.WAV", "CONIN$.rtf",
                           "conout$", "con .mp3", "prn.tar.wav", "missing/nul.rtf"}) {
    const std::string path = scratch + "/" + name;
    expect(!platform::ReadOnlyFile(path.c_str()).isOpen(), std::string("a device opens: ") + name);
    expect(!RiffFile(path.c_str()).isOpen(), std::string("a device opens as RIFF: ") + name);
  }
  const char* pipeName = "\\\\.\\pipe\\zavplatform.wav";
  HANDLE pipe = CreateNamedPipeA(pipeName, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 2, 64, 64, 0, nullptr);
  expect(pipe != INVALID_HANDLE_VALUE, "cannot make a pipe");
  expect(!platform::ReadOnlyFile(pipeName).isOpen(), "a pipe opens");
  expect(!RiffFile(pipeName).isOpen(), "a pipe opens as RIFF");
  if (pipe != INVALID_HANDLE_VALUE) CloseHandle(pipe);
#endif
  return expect.failures;
}

}  // namespace

const std::vector<PlatformCheck>& platformChecks() {
  static const std::vector<PlatformCheck> checks = {
      {"code page", codePage},         {"text walking", nextChar},
      {"UTF-16 conversion", wideToAnsi}, {"string resources", loadString},
      {"read-only file", readOnlyFile}, {"RIFF walk", riffWalk},
      {"RIFF refusals", riffRefusals},  {"path limit", pathLimit},
      {"device names", deviceNames},
  };
  return checks;
}

}  // namespace zav::cases
