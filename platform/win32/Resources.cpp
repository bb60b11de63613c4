// String resources from the module's own string table.
#include <windows.h>

#include "Platform.h"

namespace zav::platform {

ModuleHandle moduleHandle(const char* fileName) {
  if (fileName == nullptr) return nullptr;
  return GetModuleHandleA(fileName);
}

int loadString(ModuleHandle module, unsigned id, char* buffer, int bufferSize) {
  if (buffer == nullptr || bufferSize <= 0) return 0;
  buffer[0] = 0;
  // A null handle would make LoadStringA read the host program's strings.
  if (module == nullptr) return 0;
  const int length = LoadStringA(static_cast<HINSTANCE>(const_cast<void*>(module)), id,
                                 buffer, bufferSize);
  if (length <= 0) {
    buffer[0] = 0;
    return 0;
  }
  return length;
}

}  // namespace zav::platform
