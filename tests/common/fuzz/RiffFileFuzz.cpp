// Walks arbitrary bytes as a RIFF file with the chunk walker, through a file
// that lives in memory (memfd), so no disk is touched: first as the INFO and
// RMP3 readers do, then chunk by chunk over every direct sub-chunk of the
// form, descending into each and leaving it.
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Endian.h"
#include "FuzzCheck.h"
#include "RiffFile.h"

namespace {

using zav::platform::RiffChunk;
using zav::platform::RiffFile;

constexpr std::uint32_t kList = 0x5453494C;  // "LIST"
constexpr std::uint32_t kInfo = 0x4F464E49;  // "INFO"
constexpr std::uint32_t kData = 0x61746164;  // "data"
constexpr std::size_t kFormHeader = 12;
// Enough to reach the walker's limits without making each run slow.
constexpr int kMostChunks = 1024;

class MemoryFile {
 public:
  MemoryFile() : fd_(memfd_create("zav-riff-fuzz", MFD_CLOEXEC)) {
    ZAV_FUZZ_CHECK(fd_ >= 0);
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  void replace(const std::uint8_t* data, std::size_t size) {
    ZAV_FUZZ_CHECK(ftruncate(fd_, 0) == 0);
    ZAV_FUZZ_CHECK(pwrite(fd_, data, size, 0) == static_cast<ssize_t>(size));
  }
  const char* path() const { return path_.c_str(); }

 private:
  int fd_;
  std::string path_;
};

std::uint32_t readId(RiffFile& file) {
  std::array<std::uint8_t, 4> id{};
  const auto got = file.read(id.data(), id.size());
  return got && *got == id.size() ? zav::littleEndian32(id.data()) : 0;
}

void readLikeTheReaders(const char* path, std::uint32_t formType) {
  RiffFile file(path);
  ZAV_FUZZ_CHECK(file.isOpen());
  if (!file.findForm(formType)) return;
  if (const auto list = file.findList(kInfo)) {
    ZAV_FUZZ_CHECK(list->listType == kInfo);
    std::array<std::uint8_t, 4096> bytes{};
    const auto got = file.read(bytes.data(), bytes.size());
    ZAV_FUZZ_CHECK(!got || *got <= bytes.size());
  }
  file.seek(kFormHeader);
  if (const auto data = file.findChunk(kData)) {
    ZAV_FUZZ_CHECK(data->id == kData);
    const auto position = file.tell();
    ZAV_FUZZ_CHECK(position && *position == data->dataOffset);
  }
}

void walkChunkByChunk(const char* path, std::uint32_t formType) {
  RiffFile file(path);
  if (!file.findForm(formType)) return;
  for (int i = 0; i < kMostChunks; ++i) {
    const auto position = file.tell();
    if (!position) return;
    const std::uint32_t id = readId(file);
    const std::uint32_t listType = id == kList ? readId(file) : 0;
    if (!file.seek(*position)) return;
    // The chunk under the position is the first with its identifier; a list
    // too short for its type is passed over.
    auto chunk = id == kList ? file.findList(listType) : file.findChunk(id);
    if (!chunk) return;
    ZAV_FUZZ_CHECK(chunk->id == id && chunk->dataOffset >= *position + 8);
    ZAV_FUZZ_CHECK(id == kList || chunk->dataOffset == *position + 8);
    if (!file.leave(*chunk)) return;
    const auto after = file.tell();
    ZAV_FUZZ_CHECK(after && *after >= chunk->dataOffset + chunk->size);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static MemoryFile file;
  file.replace(data, size);
  // The form type the file declares, so that every file gets walked.
  const std::uint32_t formType = size >= kFormHeader ? zav::littleEndian32(data + 8) : 0;
  readLikeTheReaders(file.path(), formType);
  walkChunkByChunk(file.path(), formType);
  RiffFile other(file.path());
  ZAV_FUZZ_CHECK(!other.findForm(formType ^ 0x20));  // another type is no form
  return 0;
}
