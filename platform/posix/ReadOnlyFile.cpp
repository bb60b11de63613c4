#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "Platform.h"

namespace zav::platform {

namespace {

// Calls `readSome(bytesSoFar)` until `count` bytes have arrived or the file
// ends: the number read, or nothing when the first call fails.
template <typename ReadSome>
std::optional<std::size_t> readRepeatedly(std::size_t count, ReadSome readSome) {
  std::size_t total = 0;
  while (total < count) {
    const ssize_t got = readSome(total);
    if (got < 0) {
      if (errno == EINTR) continue;
      if (total > 0) break;
      return std::nullopt;
    }
    if (got == 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

}  // namespace

ReadOnlyFile::ReadOnlyFile(const char* path) : fd_(-1) {
  if (path == nullptr) return;
  fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return;
  // Like opening an existing file on Windows: a folder is not a file.
  struct stat status {};
  if (::fstat(fd_, &status) != 0 || S_ISDIR(status.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    return;
  }
  if (status.st_size >= 0) size_ = static_cast<std::uint64_t>(status.st_size);
}

ReadOnlyFile::~ReadOnlyFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool ReadOnlyFile::isOpen() const { return fd_ >= 0; }

std::optional<std::uint64_t> ReadOnlyFile::size() {
  if (size_) return size_;
  struct stat status {};
  if (fd_ < 0 || ::fstat(fd_, &status) != 0 || status.st_size < 0) return std::nullopt;
  return static_cast<std::uint64_t>(status.st_size);
}

bool ReadOnlyFile::seek(std::uint64_t offset) {
  if (fd_ < 0 || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
  return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

std::optional<std::uint64_t> ReadOnlyFile::tell() {
  if (fd_ < 0) return std::nullopt;
  const off_t position = ::lseek(fd_, 0, SEEK_CUR);
  if (position < 0) return std::nullopt;
  return static_cast<std::uint64_t>(position);
}

std::optional<std::size_t> ReadOnlyFile::read(void* buffer, std::size_t count) {
  if (fd_ < 0) return std::nullopt;
  auto* out = static_cast<char*>(buffer);
  return readRepeatedly(count, [&](std::size_t done) { return ::read(fd_, out + done, count - done); });
}

std::optional<std::size_t> ReadOnlyFile::readAt(std::uint64_t offset, void* buffer,
                                                std::size_t count) {
  if (fd_ < 0 || offset > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
  auto* out = static_cast<char*>(buffer);
  return readRepeatedly(count, [&](std::size_t done) -> ssize_t {
    // Offsets near the largest one stop at it rather than wrap.
    const std::uint64_t at = offset + done;
    if (at > static_cast<std::uint64_t>(INT64_MAX)) return 0;
    return ::pread(fd_, out + done, count - done, static_cast<off_t>(at));
  });
}

}  // namespace zav::platform
