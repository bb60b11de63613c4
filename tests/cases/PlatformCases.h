// The platform interface's contract under code page 932, as plain checks
// that run against either side: the POSIX stand-ins on Linux, the system
// calls on Windows. The program that runs them carries the string table
// `kPlatformModuleFileName` with the titles 396 and 401 and the text 900.
#ifndef ZAV_TESTS_CASES_PLATFORMCASES_H
#define ZAV_TESTS_CASES_PLATFORMCASES_H

#include <string>
#include <vector>

namespace zav::cases {

inline constexpr const char* kPlatformModuleFileName = "zavplatform.exe";

struct PlatformCheck {
  const char* name;
  // Failures; `scratch` is a folder the check may write files into.
  std::vector<std::string> (*run)(const std::string& scratch);
};

const std::vector<PlatformCheck>& platformChecks();

}  // namespace zav::cases

#endif
