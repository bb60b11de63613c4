#include "RegularFile.h"

#include <string>

#include "DeviceNames.h"

namespace zav::platform {

namespace {

// The path as the system reads it, converted from the ANSI code page.
std::u16string widePath(const char* path) {
  const int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
  if (length <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), length) != length) return {};
  wide.pop_back();  // the terminator
  return std::u16string(wide.begin(), wide.end());
}

}  // namespace

HANDLE openRegularFile(const char* path) {
  if (path == nullptr) return INVALID_HANDLE_VALUE;
  const std::u16string wide = widePath(path);
  // The ANSI file calls take fewer than MAX_PATH characters, unless a
  // system is set up for long paths. The same answer on every system:
  // a longer path cannot be opened.
  if (wide.empty() || wide.size() >= MAX_PATH || isDeviceName(wide)) return INVALID_HANDLE_VALUE;
  // Without backup semantics a folder does not open, as on the POSIX side.
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  // What no name list catches: pipes, consoles, \\.\ devices.
  if (file != INVALID_HANDLE_VALUE && GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

}  // namespace zav::platform
