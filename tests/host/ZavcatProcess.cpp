#include "ZavcatProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace zav::test {

namespace {

constexpr uid_t kNobody = 65534;

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string captureFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zavrun-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void becomeZavcat(const ZavcatCall& call, const std::string& folder,
                               char* const* argv, char* const* envp) {
  const int in = open("/dev/null", O_RDONLY);
  const int out = open((folder + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  const int err = open((folder + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (in < 0 || out < 0 || err < 0) _exit(127);
  dup2(in, 0);
  dup2(out, 1);
  dup2(err, 2);
  if (!call.workingFolder.empty() && chdir(call.workingFolder.c_str()) != 0) _exit(127);
  if (call.fileSizeLimit != 0) {
    const rlimit limit{call.fileSizeLimit, call.fileSizeLimit};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
  }
  if (call.asOtherUser && geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
    _exit(127);
  }
  execve(ZAV_HOST_PROGRAM, argv, envp);
  _exit(127);
}

pid_t startZavcat(const ZavcatCall& call, const std::string& folder) {
  if (call.asOtherUser) chmod(folder.c_str(), 0777);
  std::vector<std::string> arguments{ZAV_HOST_PROGRAM};
  arguments.insert(arguments.end(), call.arguments.begin(), call.arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  // Ours, less what the call sets anew.
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view name(*entry, std::strcspn(*entry, "="));
    bool replaced = false;
    for (const std::string& added : call.environment) replaced |= added.starts_with(std::string(name) + "=");
    if (!replaced) environment.emplace_back(*entry);
  }
  environment.insert(environment.end(), call.environment.begin(), call.environment.end());
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);

  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("cannot start zavcat");
  if (child == 0) becomeZavcat(call, folder, argv.data(), envp.data());
  return child;
}

ZavcatRun collect(pid_t child, const std::string& folder) {
  int status = 0;
  if (waitpid(child, &status, 0) != child) throw std::runtime_error("lost zavcat");
  ZavcatRun run;
  run.out = readFile(folder + "/out");
  run.err = readFile(folder + "/err");
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace

ZavcatRun runZavcat(const std::vector<std::string>& arguments) {
  return runZavcat(ZavcatCall{arguments, {}, {}, false});
}

ZavcatRun runZavcat(const ZavcatCall& call) {
  RunningZavcat running(call);
  return running.wait();
}

RunningZavcat::RunningZavcat(const ZavcatCall& call)
    : folder_(captureFolder()), pid_(startZavcat(call, folder_)) {}

RunningZavcat::~RunningZavcat() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

ZavcatRun RunningZavcat::wait() {
  const ZavcatRun run = collect(pid_, folder_);
  pid_ = -1;
  return run;
}

std::vector<std::string> headerLines(const std::string& out) {
  std::vector<std::string> headers;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line[0] != ' ') headers.push_back(line);
  }
  return headers;
}

}  // namespace zav::test
