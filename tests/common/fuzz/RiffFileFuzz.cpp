// Walks arbitrary bytes as a RIFF file with the chunk walker: through a file
// that lives in memory (memfd, so no disk is touched) read by a file view,
// and over the same bytes handed to a view directly. Each walk goes as the
// INFO and RMP3 readers do, then chunk by chunk over every direct sub-chunk
// of the form, and records what it found and read; the two must agree, so
// the view must hand out the file's bytes wherever the walk asks for them.
// (Small inputs keep the runs fast: a walk over a file of many empty chunks
// takes a step for each. The view's reads beyond its head are compared on
// larger files by the audio open target.)
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Endian.h"
#include "FileView.h"
#include "FuzzCheck.h"
#include "RiffFile.h"

namespace {

using zav::platform::FileView;
using zav::platform::RiffChunk;
using zav::platform::RiffFile;

constexpr std::uint32_t kList = 0x5453494C;  // "LIST"
constexpr std::uint32_t kInfo = 0x4F464E49;  // "INFO"
constexpr std::uint32_t kData = 0x61746164;  // "data"
constexpr std::size_t kFormHeader = 12;
// Enough to reach the walker's limits without making each run slow.
constexpr int kMostChunks = 64;
constexpr std::size_t kListBytesRead = 64;

class MemoryFile {
 public:
  MemoryFile() : fd_(memfd_create("zav-riff-fuzz", MFD_CLOEXEC)) {
    ZAV_FUZZ_CHECK(fd_ >= 0);
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  // Written over the last contents, then cut: pages the file keeps are
  // not given back and taken again on every run.
  void replace(const std::uint8_t* data, std::size_t size) {
    ZAV_FUZZ_CHECK(pwrite(fd_, data, size, 0) == static_cast<ssize_t>(size));
    ZAV_FUZZ_CHECK(ftruncate(fd_, static_cast<off_t>(size)) == 0);
  }
  const char* path() const { return path_.c_str(); }

 private:
  int fd_;
  std::string path_;
};

// What a walk found, in order: chunk fields, positions and bytes read.
using Trace = std::vector<std::uint64_t>;

void record(Trace& trace, const std::optional<RiffChunk>& chunk) {
  if (!chunk) {
    trace.push_back(~std::uint64_t{0});
    return;
  }
  trace.insert(trace.end(), {chunk->id, chunk->size, chunk->listType, chunk->dataOffset});
}

std::uint32_t readId(RiffFile& file, Trace& trace) {
  std::array<std::uint8_t, 4> id{};
  const auto got = file.read(id.data(), id.size());
  trace.push_back(got ? *got : 99);
  return got && *got == id.size() ? zav::littleEndian32(id.data()) : 0;
}

void readLikeTheReaders(RiffFile& file, std::uint32_t formType, Trace& trace) {
  const auto list = file.findList(kInfo);
  record(trace, list);
  if (list) {
    ZAV_FUZZ_CHECK(list->listType == kInfo);
    std::array<std::uint8_t, kListBytesRead> bytes{};
    const auto got = file.read(bytes.data(), std::min<std::size_t>(bytes.size(), list->size));
    ZAV_FUZZ_CHECK(got && *got <= bytes.size());
    trace.insert(trace.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(*got));
  }
  file.findForm(formType);
  const auto data = file.findChunk(kData);
  record(trace, data);
  if (data) {
    const auto position = file.tell();
    ZAV_FUZZ_CHECK(position && *position == data->dataOffset);
  }
}

void walkChunkByChunk(RiffFile& file, std::uint32_t formType, Trace& trace) {
  file.findForm(formType);
  for (int i = 0; i < kMostChunks; ++i) {
    const auto position = file.tell();
    if (!position) return;
    const std::uint32_t id = readId(file, trace);
    const std::uint32_t listType = id == kList ? readId(file, trace) : 0;
    if (!file.seek(*position)) return;
    // The chunk under the position is the first with its identifier; a list
    // too short for its type is passed over.
    auto chunk = id == kList ? file.findList(listType) : file.findChunk(id);
    record(trace, chunk);
    if (!chunk) return;
    ZAV_FUZZ_CHECK(chunk->id == id && chunk->dataOffset >= *position + 8);
    ZAV_FUZZ_CHECK(id == kList || chunk->dataOffset == *position + 8);
    if (!file.leave(*chunk)) return;
    const auto after = file.tell();
    ZAV_FUZZ_CHECK(after && *after >= chunk->dataOffset + chunk->size);
  }
}

Trace walk(FileView& view, std::uint32_t formType) {
  Trace trace;
  RiffFile file(view);
  ZAV_FUZZ_CHECK(file.isOpen());
  ZAV_FUZZ_CHECK(!file.findForm(formType ^ 0x20));  // another type is no form
  if (!file.findForm(formType)) return trace;
  readLikeTheReaders(file, formType, trace);
  walkChunkByChunk(file, formType, trace);
  return trace;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static MemoryFile file;
  file.replace(data, size);
  // The form type the file declares, so that every file gets walked.
  const std::uint32_t formType = size >= kFormHeader ? zav::littleEndian32(data + 8) : 0;
  FileView onFile(file.path());
  FileView inMemory({data, size});
  ZAV_FUZZ_CHECK(onFile.size() == inMemory.size());
  ZAV_FUZZ_CHECK(walk(onFile, formType) == walk(inMemory, formType));
  return 0;
}
