// The shared cases through the Linux modules, with the Shift-JIS code page
// the expected bytes are written for. The Windows test host runs the same
// tables through the DLLs.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "CaseRunner.h"
#include "TempFile.h"

namespace zav::cases {
namespace {

const EntryPoints& moduleFor(Plugin plugin) {
  static const LoadedModule audio(ZAV_AUDIO_MODULE);
  static const LoadedModule rtf(ZAV_RTF_MODULE);
  const LoadedModule& module = plugin == Plugin::audio ? audio : rtf;
  EXPECT_EQ(module.error(), "");
  return module.entry();
}

void expectNoFailures(const Failures& failures) {
  for (const std::string& failure : failures) ADD_FAILURE() << failure;
}

TEST(SharedCases, AudioConstants) {
  expectNoFailures(checkConstants(moduleFor(Plugin::audio), constantsOf(Plugin::audio)));
}

TEST(SharedCases, RtfConstants) {
  expectNoFailures(checkConstants(moduleFor(Plugin::rtf), constantsOf(Plugin::rtf)));
}

TEST(SharedCases, MissingFiles) {
  test::TempFolder folder;
  for (Plugin plugin : {Plugin::audio, Plugin::rtf}) {
    for (const char* name : {"/missing.mp3", "/missing.wav", "/missing.rtf"}) {
      expectNoFailures(checkMissingFile(moduleFor(plugin), folder.path() + name));
    }
  }
}

// What lies on a disc but is no regular file, under a name a plug-in
// claims. Opening a FIFO without a writer would wait for one, and a
// character device would never end.
enum class Special { fifo, socket, folder, device };

void makeSpecial(Special kind, const std::string& path) {
  switch (kind) {
    case Special::fifo:
      ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << path;
      break;
    case Special::socket: {
      const int s = socket(AF_UNIX, SOCK_STREAM, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      ASSERT_LT(path.size(), sizeof address.sun_path) << path;
      std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
      ASSERT_EQ(bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << path;
      close(s);  // the socket's file stays
      break;
    }
    case Special::folder:
      ASSERT_EQ(mkdir(path.c_str(), 0700), 0) << path;
      break;
    case Special::device:
      ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0) << path;
      break;
  }
}

// Runs `check` in a child process, so that an open that blocks cannot hold
// the test: empty when it ends well, else what went wrong.
std::string inChild(const std::function<Failures()>& check) {
  using namespace std::chrono_literals;
  const pid_t child = fork();
  if (child == 0) {
    const Failures failures = check();
    for (const std::string& failure : failures) std::fprintf(stderr, "%s\n", failure.c_str());
    _exit(failures.empty() ? 0 : 1);
  }
  // Generous, for runs under valgrind; a well child ends in milliseconds.
  for (auto waited = 0ms; waited < 30s; waited += 10ms) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) {
      return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "" : "failed (see above)";
    }
    std::this_thread::sleep_for(10ms);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  return "did not answer";
}

TEST(SharedCases, WhatIsNoRegularFileCannotBeOpened) {
  test::TempFolder folder;
  const std::pair<Special, const char*> kinds[] = {
      {Special::fifo, "fifo"}, {Special::socket, "socket"}, {Special::folder, "folder"},
      {Special::device, "zero"}};
  for (const auto& [kind, name] : kinds) {
    for (const char* suffix : {".mp3", ".wav", ".rtf"}) {
      const std::string path = folder.path() + "/" + name + suffix;
      makeSpecial(kind, path);
      const EntryPoints& module = moduleFor(std::strcmp(suffix, ".rtf") == 0 ? Plugin::rtf : Plugin::audio);
      EXPECT_EQ(inChild([&] { return checkMissingFile(module, path); }), "") << path;
    }
  }
}

class SharedFileCase : public ::testing::TestWithParam<std::size_t> {};

// Each case runs after every earlier case of its plug-in, in this process,
// so what one file leaves behind cannot hide from the next.
TEST_P(SharedFileCase, GivesItsValuesAndLines) {
  test::TempFolder folder;
  const std::vector<std::string> paths = writeCaseFiles(folder.path());
  const FileCase& tested = fileCases()[GetParam()];
  const EntryPoints& module = moduleFor(tested.plugin);
  for (std::size_t i = 0; i < GetParam(); ++i) {
    if (fileCases()[i].plugin == tested.plugin) checkFile(module, fileCases()[i], paths[i]);
  }
  expectNoFailures(checkFile(module, tested, paths[GetParam()]));
}

std::string caseName(const ::testing::TestParamInfo<std::size_t>& info) {
  std::string name = fileCases()[info.param].fileName;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, SharedFileCase, ::testing::Range<std::size_t>(0, fileCases().size()),
                         caseName);

}  // namespace
}  // namespace zav::cases
