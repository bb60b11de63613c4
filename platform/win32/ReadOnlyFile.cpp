#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "Platform.h"

namespace zav::platform {

namespace {

// Calls `readSome(out, wanted, bytesSoFar, got)` until `count` bytes have
// arrived or the file ends: the number read, or nothing when the first
// call fails. ReadFile counts in 32 bits, so each call asks for at most
// 1 GiB.
template <typename ReadSome>
std::optional<std::size_t> readRepeatedly(void* buffer, std::size_t count, ReadSome readSome) {
  auto* out = static_cast<char*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count - total, 1u << 30));
    DWORD got = 0;
    if (!readSome(out + total, wanted, total, got)) {
      if (total > 0) break;
      return std::nullopt;
    }
    if (got == 0) break;
    total += got;
  }
  return total;
}

}  // namespace

ReadOnlyFile::ReadOnlyFile(const char* path) : handle_(INVALID_HANDLE_VALUE) {
  if (path == nullptr) return;
  // Without backup semantics a folder does not open, as on the POSIX side.
  handle_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
}

ReadOnlyFile::~ReadOnlyFile() {
  if (isOpen()) CloseHandle(handle_);
}

bool ReadOnlyFile::isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

std::optional<std::uint64_t> ReadOnlyFile::size() {
  LARGE_INTEGER size{};
  if (!isOpen() || !GetFileSizeEx(handle_, &size) || size.QuadPart < 0) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

bool ReadOnlyFile::seek(std::uint64_t offset) {
  if (!isOpen() || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
  LARGE_INTEGER target{};
  target.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(handle_, target, nullptr, FILE_BEGIN) != FALSE;
}

std::optional<std::uint64_t> ReadOnlyFile::tell() {
  if (!isOpen()) return std::nullopt;
  LARGE_INTEGER zero{};
  LARGE_INTEGER position{};
  if (!SetFilePointerEx(handle_, zero, &position, FILE_CURRENT) || position.QuadPart < 0) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(position.QuadPart);
}

std::optional<std::size_t> ReadOnlyFile::read(void* buffer, std::size_t count) {
  if (!isOpen()) return std::nullopt;
  return readRepeatedly(buffer, count, [this](char* out, DWORD wanted, std::size_t, DWORD& got) {
    return ReadFile(handle_, out, wanted, &got, nullptr) != FALSE;
  });
}

std::optional<std::size_t> ReadOnlyFile::readAt(std::uint64_t offset, void* buffer,
                                                std::size_t count) {
  if (!isOpen() || offset > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
  return readRepeatedly(buffer, count,
                        [this, offset](char* out, DWORD wanted, std::size_t done, DWORD& got) {
                          const std::uint64_t at = offset + done;
                          if (at > static_cast<std::uint64_t>(INT64_MAX)) return true;  // got 0
                          // On a handle opened for synchronous I/O the offset in
                          // the OVERLAPPED makes this a positioned read; it also
                          // moves the file pointer.
                          OVERLAPPED position{};
                          position.Offset = static_cast<DWORD>(at);
                          position.OffsetHigh = static_cast<DWORD>(at >> 32);
                          if (ReadFile(handle_, out, wanted, &got, &position)) return true;
                          // Reading at or past the end reports the end of the file.
                          return GetLastError() == ERROR_HANDLE_EOF;
                        });
}

}  // namespace zav::platform
