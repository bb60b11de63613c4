// Runs the built zavcat as a separate program and captures what it prints.
#ifndef ZAV_TESTS_HOST_ZAVCATPROCESS_H
#define ZAV_TESTS_HOST_ZAVCATPROCESS_H

#include <string>
#include <vector>

namespace zav::test {

struct ZavcatRun {
  std::string out;
  std::string err;
  int exitStatus = -1;  // -1 when it did not exit normally
};

ZavcatRun runZavcat(const std::vector<std::string>& arguments);

// The lines of `out` that start a file's report (those not indented).
std::vector<std::string> headerLines(const std::string& out);

}  // namespace zav::test

#endif
