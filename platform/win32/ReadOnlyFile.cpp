#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "Platform.h"
#include "RegularFile.h"

namespace zav::platform {

ReadOnlyFile::ReadOnlyFile(const char* path) : handle_(openRegularFile(path)) {}

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
  auto* out = static_cast<char*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    // ReadFile counts in 32 bits.
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count - total, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(handle_, out + total, wanted, &got, nullptr)) {
      if (total > 0) break;
      return std::nullopt;
    }
    if (got == 0) break;
    total += got;
  }
  return total;
}

}  // namespace zav::platform
