// What the harnesses share: a check that stops the fuzzer, with the failed
// condition, when an invariant of the code under test does not hold.
#ifndef ZAV_TESTS_FUZZ_FUZZCHECK_H
#define ZAV_TESTS_FUZZ_FUZZCHECK_H

#include <cstdio>
#include <cstdlib>

namespace zav::fuzz {

[[noreturn]] inline void failCheck(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}

}  // namespace zav::fuzz

#define ZAV_FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::zav::fuzz::failCheck(#condition, __FILE__, __LINE__))

#endif
