// The one way a path is opened for reading on Windows, for every reader.
#ifndef ZAV_PLATFORM_WIN32_REGULARFILE_H
#define ZAV_PLATFORM_WIN32_REGULARFILE_H

#include <windows.h>

namespace zav::platform {

// The file at `path` opened for reading, other readers allowed; or
// INVALID_HANDLE_VALUE when it is no file on a disk (a device name, a
// folder, a pipe, a console, a \\.\ device) or when the path is MAX_PATH
// characters or longer.
HANDLE openRegularFile(const char* path);

}  // namespace zav::platform

#endif
