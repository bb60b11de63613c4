// The platform contract checks shared with the Windows build, here against
// the POSIX side.
#include <gtest/gtest.h>

#include "PlatformCases.h"
#include "TempFile.h"

namespace zav::cases {

// Test names and messages show the check by its name.
void PrintTo(const PlatformCheck& check, std::ostream* out) { *out << check.name; }

namespace {

class PlatformContract : public ::testing::TestWithParam<PlatformCheck> {};

TEST_P(PlatformContract, Holds) {
  test::TempFolder scratch;
  for (const std::string& failure : GetParam().run(scratch.path())) ADD_FAILURE() << failure;
}

std::string checkName(const ::testing::TestParamInfo<PlatformCheck>& info) {
  std::string name = info.param.name;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, PlatformContract, ::testing::ValuesIn(platformChecks()), checkName);

}  // namespace
}  // namespace zav::cases
