#include "WorkerPool.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <deque>
#include <map>
#include <stdexcept>

#include "RecordWire.h"
#include "Worker.h"

extern char** environ;

namespace zav::host {

namespace {

using Clock = std::chrono::steady_clock;

// Files handed to a worker at a time, and how many it may hold: one batch
// being read and one waiting in the pipe, so it never idles.
constexpr std::size_t kBatch = 16;
constexpr std::size_t kHeldFiles = 2 * kBatch;
// How far ahead of the next record to deliver work may go, so a hung file
// cannot make the records behind it pile up without bound.
constexpr std::uint64_t kWindow = 4096;
// Workers that die before their plug-ins are loaded, one after the other.
constexpr int kStartAttempts = 3;
constexpr auto kTick = std::chrono::milliseconds(100);

const char* legacyEncodingName(LegacyEncoding encoding) {
  switch (encoding) {
    case LegacyEncoding::cp932: return "cp932";
    case LegacyEncoding::cp1252: return "cp1252";
    case LegacyEncoding::automatic: break;
  }
  return "auto";
}

// The environment of a worker: ours with LC_ALL=C.UTF-8, so the plug-ins
// work in UTF-8 and hand over UTF-16 information strings whole.
std::vector<std::string> workerEnvironment() {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::strncmp(*entry, "LC_ALL=", 7) != 0) environment.emplace_back(*entry);
  }
  environment.emplace_back("LC_ALL=C.UTF-8");
  return environment;
}

std::string deathReason(int status) {
  if (WIFSIGNALED(status)) {
    const int signal = WTERMSIG(status);
    return "crashed (signal " + std::to_string(signal) + ", " + strsignal(signal) + ")";
  }
  if (WIFEXITED(status)) return "crashed (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
  return "crashed";
}

struct Worker {
  pid_t pid = -1;
  int jobs = -1;
  int records = -1;
  bool greeted = false;
  std::deque<std::uint64_t> held;  // in the order the worker reads them
  Clock::time_point currentSince;  // when it began its current file
  std::string received;
};

class Pool {
 public:
  Pool(const std::vector<FileEntry>& files, const WorkerSettings& settings,
       const PluginList& plugins, const TextConverter& converter,
       const std::function<void(FileRecord&&)>& deliver)
      : files_(files),
        settings_(settings),
        plugins_(plugins),
        converter_(converter),
        deliver_(deliver),
        timeout_(std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(settings.fileTimeout))),
        environment_(workerEnvironment()) {}

  ~Pool() {
    for (Worker& worker : workers_) stop(worker, /*killFirst=*/true);
  }

  bool run(const std::function<bool()>& tick) {
    const std::size_t count = std::min<std::size_t>(settings_.workers, files_.size());
    for (std::size_t i = 0; i < count; ++i) workers_.push_back(start());
    while (nextToDeliver_ < files_.size()) {
      for (Worker& worker : workers_) handOut(worker);
      wait();
      deliverReady();
      if (!tick()) return false;
    }
    for (Worker& worker : workers_) stop(worker, /*killFirst=*/false);
    return true;
  }

 private:
  Worker start() {
    int jobs[2];
    int records[2];
    if (pipe2(jobs, O_CLOEXEC) != 0) throw std::runtime_error("cannot start a worker: no pipe");
    if (pipe2(records, O_CLOEXEC) != 0) {
      close(jobs[0]);
      close(jobs[1]);
      throw std::runtime_error("cannot start a worker: no pipe");
    }
    const std::string legacy = legacyEncodingName(settings_.legacyEncoding);
    std::vector<const char*> argv{"zavcat", kWorkerArgument, settings_.pluginFolder.c_str(),
                                  legacy.c_str(), nullptr};
    std::vector<char*> envp;
    for (std::string& entry : environment_) envp.push_back(entry.data());
    envp.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
      // Only async-signal-safe calls until exec.
      prctl(PR_SET_PDEATHSIG, SIGKILL);  // a worker never outlives its scan
      if (getppid() != parent) _exit(1);
      signal(SIGINT, SIG_IGN);  // Ctrl-C is the parent's to handle
      dup2(jobs[0], kWorkerJobsFd);
      dup2(records[1], kWorkerRecordsFd);
      dup2(STDERR_FILENO, STDOUT_FILENO);  // a plug-in's chatter must not reach our stdout
      const int nothing = open("/dev/null", O_RDONLY);
      if (nothing >= 0) dup2(nothing, STDIN_FILENO);
      execve("/proc/self/exe", const_cast<char* const*>(argv.data()), envp.data());
      _exit(127);
    }
    close(jobs[0]);
    close(records[1]);
    if (pid < 0) {
      close(jobs[1]);
      close(records[0]);
      throw std::runtime_error("cannot start a worker: " + std::string(std::strerror(errno)));
    }
    Worker worker;
    worker.pid = pid;
    worker.jobs = jobs[1];
    worker.records = records[0];
    worker.currentSince = Clock::now();
    return worker;
  }

  static void kill(const Worker& worker) {
    if (worker.pid > 0) ::kill(worker.pid, SIGKILL);  // never -1: that is every process
  }

  void stop(Worker& worker, bool killFirst) {
    if (killFirst) kill(worker);
    if (worker.jobs >= 0) close(worker.jobs);  // ends a live worker's loop
    if (worker.records >= 0) close(worker.records);
    if (worker.pid > 0) waitpid(worker.pid, nullptr, 0);
    worker.jobs = worker.records = worker.pid = -1;
  }

  // Files to read next: those of a dead worker first, then new ones.
  bool nextJob(std::uint64_t& index) {
    if (!requeued_.empty()) {
      index = requeued_.front();
      requeued_.pop_front();
      return true;
    }
    if (nextNew_ >= files_.size() || nextNew_ >= nextToDeliver_ + kWindow) return false;
    index = nextNew_++;
    return true;
  }

  void handOut(Worker& worker) {
    if (worker.held.size() > kHeldFiles - kBatch) return;
    wire::Job batch[kBatch];
    std::size_t count = 0;
    std::uint64_t index = 0;
    while (count < kBatch && nextJob(index)) {
      batch[count++] = {index, &files_[index].path, &files_[index].relativePath};
    }
    if (count == 0) return;
    if (worker.held.empty()) worker.currentSince = Clock::now();
    for (std::size_t i = 0; i < count; ++i) worker.held.push_back(batch[i].index);
    request_.clear();
    wire::appendJobs(request_, batch, count);
    std::string_view data = request_;
    while (!data.empty()) {
      const ssize_t written = ::write(worker.jobs, data.data(), data.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return;  // it died; its records pipe tells how
      data.remove_prefix(static_cast<std::size_t>(written));
    }
  }

  void wait() {
    const Clock::time_point now = Clock::now();
    Clock::duration wait = kTick;
    for (const Worker& worker : workers_) {
      if (!worker.held.empty()) wait = std::min(wait, worker.currentSince + timeout_ - now);
    }
    std::vector<pollfd> fds;
    for (const Worker& worker : workers_) fds.push_back({worker.records, POLLIN, 0});
    const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
    const int ready = poll(fds.data(), fds.size(), static_cast<int>(std::max<long>(0, milliseconds)));
    if (ready < 0 && errno != EINTR) throw std::runtime_error("poll failed");
    for (std::size_t i = 0; i < workers_.size(); ++i) {
      if (ready > 0 && fds[i].revents != 0) receive(workers_[i]);
    }
    const Clock::time_point later = Clock::now();
    for (Worker& worker : workers_) {
      if (worker.held.empty() || later - worker.currentSince < timeout_) continue;
      kill(worker);
      replace(worker, "timed out after " + secondsText(settings_.fileTimeout));
    }
  }

  void receive(Worker& worker) {
    char chunk[1 << 16];
    const ssize_t got = ::read(worker.records, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) return;
    if (got <= 0) {
      int status = 0;
      close(worker.records);
      worker.records = -1;
      waitpid(worker.pid, &status, 0);
      worker.pid = -1;
      replace(worker, deathReason(status));
      return;
    }
    worker.received.append(chunk, static_cast<std::size_t>(got));
    std::size_t used = 0;
    std::size_t consumed = 0;
    while (const auto payload =
               wire::nextFrame(std::string_view(worker.received).substr(used), consumed)) {
      used += consumed;
      if (payload->empty()) {  // loading the plug-ins is no file's time
        worker.greeted = true;
        worker.currentSince = Clock::now();
        attempts_ = 0;
        continue;
      }
      std::uint64_t index = 0;
      FileRecord record = wire::readRecord(*payload, index);
      if (worker.held.empty() || worker.held.front() != index) {
        throw std::runtime_error("a worker answered for a file it was not given");
      }
      worker.held.pop_front();
      worker.currentSince = Clock::now();
      ready_.emplace(index, std::move(record));
    }
    worker.received.erase(0, used);
  }

  // A worker died or hung: its current file failed (unless it never got as
  // far as loading the plug-ins), the rest go to the others, and a new
  // worker takes its place.
  void replace(Worker& worker, const std::string& reason) {
    if (worker.greeted && !worker.held.empty()) {
      const std::uint64_t index = worker.held.front();
      worker.held.pop_front();
      ready_.emplace(index, failedRecord(files_[index], reason));
    } else if (!worker.greeted && ++attempts_ >= kStartAttempts) {
      throw std::runtime_error("the scan workers die before their plug-ins are loaded (" +
                               reason + ")");
    }
    requeued_.insert(requeued_.begin(), worker.held.begin(), worker.held.end());
    worker.held.clear();
    stop(worker, /*killFirst=*/true);
    worker = start();
  }

  FileRecord failedRecord(const FileEntry& file, const std::string& reason) const {
    FileCheck check;
    FileRecord record = fileRecord(file, converter_, check);
    if (const Plugin* plugin = claimantOf(plugins_, file.path)) {
      record.plugin = converter_.convert(plugin->name()).text;
    }
    record.status = FileStatus::failed;
    record.reason = reason;
    return record;
  }

  void deliverReady() {
    for (auto it = ready_.begin(); it != ready_.end() && it->first == nextToDeliver_;
         it = ready_.erase(it)) {
      deliver_(std::move(it->second));
      ++nextToDeliver_;
    }
  }

  static std::string secondsText(double seconds) {
    std::string text = std::to_string(seconds);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text + " s";
  }

  const std::vector<FileEntry>& files_;
  const WorkerSettings& settings_;
  const PluginList& plugins_;
  const TextConverter& converter_;
  const std::function<void(FileRecord&&)>& deliver_;
  const Clock::duration timeout_;
  std::vector<std::string> environment_;
  std::vector<Worker> workers_;
  std::deque<std::uint64_t> requeued_;
  std::uint64_t nextNew_ = 0;
  std::uint64_t nextToDeliver_ = 0;
  std::map<std::uint64_t, FileRecord> ready_;
  std::string request_;
  int attempts_ = 0;
};

}  // namespace

bool readWithWorkers(const std::vector<FileEntry>& files, const WorkerSettings& settings,
                     const PluginList& plugins, const TextConverter& converter,
                     const std::function<void(FileRecord&&)>& deliver,
                     const std::function<bool()>& tick) {
  // A worker that dies while we write to it must not take us along.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction previous {};
  sigaction(SIGPIPE, &ignore, &previous);
  Pool pool(files, settings, plugins, converter, deliver);
  const bool done = pool.run(tick);
  sigaction(SIGPIPE, &previous, nullptr);
  return done;
}

}  // namespace zav::host
