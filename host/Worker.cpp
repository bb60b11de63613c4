#include "Worker.h"

#include <unistd.h>

#include <cerrno>
#include <sstream>

#include "CommandLine.h"
#include "FileDriver.h"
#include "Platform.h"
#include "PluginFolder.h"
#include "RecordWire.h"

namespace zav::host {

namespace {

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

LegacyEncoding legacyEncodingNamed(const std::string& name) {
  if (name == "cp932") return LegacyEncoding::cp932;
  if (name == "cp1252") return LegacyEncoding::cp1252;
  return LegacyEncoding::automatic;
}

}  // namespace

ExitStatus runWorker(const std::vector<std::string>& arguments) {
  if (arguments.size() != 3) return ExitStatus::usage;
  std::ostringstream ignored;  // the parent has reported what does not load
  const PluginList plugins = loadPluginFolder(arguments[1], ignored);
  const TextConverter converter(platform::ansiCodePage(), legacyEncodingNamed(arguments[2]));

  // An empty frame says the plug-ins are loaded: a worker that dies before
  // it is not blamed on a file.
  if (!writeAll(kWorkerRecordsFd, std::string_view("\0\0\0\0", wire::kFrameHeader))) return ExitStatus::someFailed;

  std::string out;
  std::vector<wire::ReceivedJob> jobs;
  std::string in;
  char chunk[1 << 16];
  for (;;) {
    const ssize_t got = ::read(kWorkerJobsFd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return ExitStatus::ok;  // the parent is done (or gone)
    in.append(chunk, static_cast<std::size_t>(got));
    std::size_t used = 0;
    std::size_t consumed = 0;
    while (const auto payload = wire::nextFrame(std::string_view(in).substr(used), consumed)) {
      jobs.clear();
      wire::readJobs(*payload, jobs);
      used += consumed;
      for (const wire::ReceivedJob& job : jobs) {
        const FileRecord record = inspectFile(plugins, {job.path, job.relativePath}, converter);
        out.clear();
        wire::appendRecord(out, job.index, record);
        if (!writeAll(kWorkerRecordsFd, out)) return ExitStatus::someFailed;
      }
    }
    in.erase(0, used);
  }
}

}  // namespace zav::host
