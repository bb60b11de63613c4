#include "ZavcatProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "TempFile.h"

extern char** environ;

namespace zav::test {

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

ZavcatRun runZavcat(const std::vector<std::string>& arguments) {
  const TempFolder captured;
  const std::string outPath = captured.path() + "/out";
  const std::string errPath = captured.path() + "/err";
  std::vector<char*> argv{const_cast<char*>(ZAV_HOST_PROGRAM)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  // Files, not pipes: the child can write any amount without waiting for us.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  constexpr int kFlags = O_WRONLY | O_CREAT | O_TRUNC;
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), kFlags, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), kFlags, 0600);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + std::string(argv[0]));

  int status = 0;
  if (waitpid(child, &status, 0) != child) throw std::runtime_error("lost zavcat");
  ZavcatRun run;
  run.out = readFile(outPath);
  run.err = readFile(errPath);
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
