// Runs the built zavcat as a separate program and captures what it prints.
#ifndef ZAV_TESTS_HOST_ZAVCATPROCESS_H
#define ZAV_TESTS_HOST_ZAVCATPROCESS_H

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zav::test {

struct ZavcatRun {
  std::string out;
  std::string err;
  int exitStatus = -1;  // -1 when it did not exit normally
};

struct ZavcatCall {
  std::vector<std::string> arguments;
  std::vector<std::string> environment;  // NAME=VALUE added to ours
  std::string workingFolder;             // empty: ours
  bool asOtherUser = false;              // as root: run as nobody, whom file modes bind
  std::uint64_t fileSizeLimit = 0;       // RLIMIT_FSIZE in bytes; 0: ours
};

ZavcatRun runZavcat(const std::vector<std::string>& arguments);
ZavcatRun runZavcat(const ZavcatCall& call);

// A zavcat left running, for tests that stop it midway.
class RunningZavcat {
 public:
  explicit RunningZavcat(const ZavcatCall& call);
  ~RunningZavcat();
  RunningZavcat(const RunningZavcat&) = delete;
  RunningZavcat& operator=(const RunningZavcat&) = delete;

  pid_t pid() const { return pid_; }
  ZavcatRun wait();

 private:
  std::string folder_;
  pid_t pid_ = -1;
};

// The lines of `out` that start a file's report (those not indented).
std::vector<std::string> headerLines(const std::string& out);

}  // namespace zav::test

#endif
