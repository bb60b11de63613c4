// Peak memory of one ZAVopen on hostile inputs, by the process's own
// accounting (/proc/self/status). Each input is opened in a fresh process
// of this program, which reports how far its resident and its virtual
// memory rose during the open, and how much text the open collected. An
// open passes when both stay below 16 MiB plus twice that text: the
// chunked buffer's final copy holds the text twice for a moment.
//
//   zav_peak_memory [AUDIO_MODULE RTF_MODULE]   (default: the modules beside it)
//   zav_peak_memory --one MODULE PATH           (one open; run by the above)
#include <sys/wait.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CaseRunner.h"
#include "Id3Bytes.h"
#include "RiffBytes.h"

namespace {

namespace fs = std::filesystem;
using zav::test::Bytes;
using zav::test::bytes;
using zav::test::le32;
using zav::test::operator+;
using zav::test::repeat;

constexpr std::uint64_t kMiB = 1024 * 1024;
constexpr std::uint64_t kAllowance = 16 * kMiB;

// --- One open, measured -----------------------------------------------------

struct Usage {
  std::uint64_t residentKiB = 0;      // VmRSS
  std::uint64_t residentPeakKiB = 0;  // VmHWM
  std::uint64_t virtualKiB = 0;       // VmSize
  std::uint64_t virtualPeakKiB = 0;   // VmPeak
};

Usage usage() {
  Usage u;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    std::istringstream fields(line);
    std::string name;
    std::uint64_t kib = 0;
    if (!(fields >> name >> kib)) continue;
    if (name == "VmRSS:") u.residentKiB = kib;
    if (name == "VmHWM:") u.residentPeakKiB = kib;
    if (name == "VmSize:") u.virtualKiB = kib;
    if (name == "VmPeak:") u.virtualPeakKiB = kib;
  }
  return u;
}

// Sets the resident peak to what is resident now. Where the system does
// not allow it, the peak stays higher, and the figure errs on the safe side.
void resetResidentPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

std::uint64_t collectedText(const zav::cases::EntryPoints& module) {
  std::uint64_t total = 0;
  for (const char* line = module.getLine(); line != nullptr; line = module.getLine()) {
    total += std::strlen(line);
  }
  for (int i = 0; i < module.getPropertyCount(); ++i) {
    if (const char* value = module.getPropertyValue(i)) total += std::strlen(value);
  }
  return total;
}

// Prints "RESIDENT_GROWTH VIRTUAL_GROWTH TEXT" in bytes. The process is
// fresh, so its virtual peak before the open is little above its size.
int measureOne(const std::string& modulePath, const std::string& path) {
  const zav::cases::LoadedModule module(modulePath);
  if (!module.error().empty()) {
    std::fprintf(stderr, "%s\n", module.error().c_str());
    return 2;
  }
  resetResidentPeak();
  const Usage before = usage();
  if (before.virtualKiB == 0) {
    std::fprintf(stderr, "no memory accounting in /proc/self/status\n");
    return 2;
  }
  module.entry().open(path.c_str());
  const Usage after = usage();
  const std::uint64_t text = collectedText(module.entry());
  std::printf("%" PRIu64 " %" PRIu64 " %" PRIu64 "\n",
              (after.residentPeakKiB - std::min(after.residentPeakKiB, before.residentKiB)) * 1024,
              (after.virtualPeakKiB - std::min(after.virtualPeakKiB, before.virtualKiB)) * 1024,
              text);
  return 0;
}

// --- The hostile inputs -----------------------------------------------------

struct Input {
  const char* name;  // the suffix decides the module
  Bytes content;
};

std::vector<Input> hostileInputs() {
  using zav::test::riffChunk;
  using zav::test::riffForm;
  std::vector<Input> inputs;
  // A tag header declaring the largest size (256 MiB) in a 1 KiB file.
  Bytes id3 = bytes("ID3") + Bytes{3, 0, 0} + zav::test::syncsafe(0x0FFFFFFF) +
              zav::test::id3v2Text("TIT2", "Title");
  id3.resize(1024, 0);
  inputs.push_back({"id3v2-256MiB.mp3", id3});
  // INFO lists declaring 4 GiB, and the largest size a list may have.
  const Bytes info = bytes("INFO") + riffChunk("INAM", bytes("Name"));
  inputs.push_back({"info-4GiB.wav", riffForm("WAVE", bytes("LIST") + le32(0xFFFFFFF0) + info)});
  inputs.push_back({"info-2GiB.avi", riffForm("AVI ", bytes("LIST") + le32(0x7FFFFFFF) + info)});
  inputs.push_back({"control-word-1MB.rtf",
                    bytes("{\\rtf1\\") + repeat('x', 1'000'000) + bytes(" text\\par}")});
  inputs.push_back({"groups-1e6.rtf",
                    bytes("{\\rtf1") + repeat('{', 1'000'000) + bytes("\\tab") +
                        repeat('}', 1'000'000) + bytes("}")});
  inputs.push_back({"par-10MB.rtf", bytes("{\\rtf1 ") + repeat(bytes("\\par"), 2'500'000) + bytes("}")});
  return inputs;
}

// --- The driver -------------------------------------------------------------

std::string selfPath() { return fs::read_symlink("/proc/self/exe").string(); }

// Runs this program on one input and returns what it printed.
std::string runChild(const std::string& modulePath, const std::string& path) {
  int out[2];
  if (pipe(out) != 0) return {};
  const std::string self = selfPath();
  const pid_t child = fork();
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    const char* argv[] = {self.c_str(), "--one", modulePath.c_str(), path.c_str(), nullptr};
    execv(self.c_str(), const_cast<char* const*>(argv));
    _exit(127);
  }
  close(out[1]);
  std::string printed;
  char buffer[256];
  for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;) printed.append(buffer, static_cast<std::size_t>(got));
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? printed : std::string();
}

double mib(std::uint64_t bytes) { return static_cast<double>(bytes) / static_cast<double>(kMiB); }

int measureAll(const std::string& audioModule, const std::string& rtfModule) {
  char pattern[] = "/tmp/zavmemory-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 2;
  const std::string folder = pattern;
  int failed = 0;
  std::printf("Peak memory of one ZAVopen (limit: 16 MiB + twice the text collected)\n");
  std::printf("%-22s %10s %10s %10s %10s\n", "input", "text", "resident", "virtual", "limit");
  for (const Input& input : hostileInputs()) {
    const std::string path = folder + "/" + input.name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(input.content.data()),
               static_cast<std::streamsize>(input.content.size()));
    const bool rtf = fs::path(path).extension() == ".rtf";
    std::istringstream report(runChild(rtf ? rtfModule : audioModule, path));
    std::uint64_t resident = 0, virtualGrowth = 0, text = 0;
    const bool measured = static_cast<bool>(report >> resident >> virtualGrowth >> text);
    const std::uint64_t limit = kAllowance + 2 * text;
    const bool ok = measured && resident < limit && virtualGrowth < limit;
    std::printf("%-22s %6.2f MiB %6.2f MiB %6.2f MiB %6.2f MiB  %s\n", input.name, mib(text),
                mib(resident), mib(virtualGrowth), mib(limit),
                ok ? "ok" : measured ? "OVER" : "NOT MEASURED");
    failed += ok ? 0 : 1;
    fs::remove(path);
  }
  fs::remove_all(folder);
  std::printf("%s\n", failed == 0 ? "all within the limit" : "some opens went over the limit");
  return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--one") return measureOne(argv[2], argv[3]);
  if (argc == 3) return measureAll(argv[1], argv[2]);
  if (argc == 1) {
    const std::string folder = fs::path(selfPath()).parent_path().string();
    return measureAll(folder + "/zavaudio.so", folder + "/zavrtfp.so");
  }
  std::fprintf(stderr, "usage: zav_peak_memory [AUDIO_MODULE RTF_MODULE]\n");
  return 2;
}
