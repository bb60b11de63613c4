// The platform contract checks as a plain program: on Windows it runs the
// Win32 side of the platform layer under wine64.
//
//   zavplatform SCRATCH_FOLDER
#if defined(_WIN32)
#include <windows.h>
#endif

#include <cstdio>
#include <exception>
#include <string>

#include "PlatformCases.h"

namespace {

#if defined(_WIN32)
LONG WINAPI onCrash(EXCEPTION_POINTERS* e) {
  std::printf("CRASH 0x%08lX\n", static_cast<unsigned long>(e->ExceptionRecord->ExceptionCode));
  std::fflush(stdout);
  ExitProcess(3);
}
#endif

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  SetUnhandledExceptionFilter(onCrash);
#endif
  if (argc != 2) {
    std::fprintf(stderr, "usage: zavplatform SCRATCH_FOLDER\n");
    return 2;
  }
  int failed = 0;
  int passed = 0;
  for (const zav::cases::PlatformCheck& check : zav::cases::platformChecks()) {
    try {
      const std::vector<std::string> failures = check.run(argv[1]);
      for (const std::string& failure : failures) std::printf("FAIL %s: %s\n", check.name, failure.c_str());
      if (failures.empty()) std::printf("ok   %s\n", check.name);
      (failures.empty() ? passed : failed) += 1;
    } catch (const std::exception& e) {
      std::printf("FAIL %s: %s\n", check.name, e.what());
      ++failed;
    }
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
