// zav_floor: the least a catalog run over the same files can cost, the
// yardstick of the whole-process benchmarks. Per audio file: open, read the
// first 16 KiB and the last 128 bytes, close. Per RTF file: read it whole.
//
//   zav_floor LIST
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <span>

#include "FileList.h"

namespace {

constexpr std::size_t kHeadBytes = 16 * 1024;
constexpr std::size_t kTailBytes = 128;
constexpr std::size_t kWholeFileChunk = 1 << 20;

bool readHeadAndTail(int fd, std::span<char> buffer) {
  struct stat status {};
  if (fstat(fd, &status) != 0) return false;
  if (pread(fd, buffer.data(), kHeadBytes, 0) < 0) return false;
  const off_t tail = status.st_size > static_cast<off_t>(kTailBytes) ? status.st_size - kTailBytes : 0;
  return pread(fd, buffer.data(), kTailBytes, tail) >= 0;
}

bool readWhole(int fd, std::span<char> buffer) {
  for (;;) {
    const ssize_t got = read(fd, buffer.data(), buffer.size());
    if (got == 0) return true;
    if (got < 0) return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zav_floor LIST\n");
    return 2;
  }
  // On a cache line: the kernel copies into a block 16 bytes past one (where
  // malloc puts a block this big) several times slower, which would flatter
  // every program measured against the floor.
  alignas(64) static char block[kWholeFileChunk];
  const std::span<char> buffer(block);
  bool allRead = true;
  const bool listRead = zav::bench::forEachListedFile(argv[1], [&](const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool whole = zav::bench::upperSuffix(path) == "RTF";
    const bool read = fd >= 0 && (whole ? readWhole(fd, buffer) : readHeadAndTail(fd, buffer));
    if (fd >= 0) close(fd);
    if (!read) {
      std::fprintf(stderr, "zav_floor: cannot read %s\n", path.c_str());
      allRead = false;
    }
  });
  if (!listRead) {
    std::fprintf(stderr, "zav_floor: cannot read the list %s\n", argv[1]);
    return 2;
  }
  return allRead ? 0 : 1;
}
