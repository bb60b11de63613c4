// String resources from the calling module's own string table.
#include <windows.h>

#include "Platform.h"

namespace zav::platform {

ModuleHandle moduleHandle(const char* fileName) {
  if (fileName == nullptr) return nullptr;
  HMODULE named = GetModuleHandleA(fileName);
  // Only the calling module's own name counts: another loaded module of
  // that name (the other plug-in, say) keeps its strings to itself.
  HMODULE self = nullptr;
  if (named == nullptr ||
      !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(&moduleHandle), &self) ||
      self != named) {
    return nullptr;
  }
  return named;
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
