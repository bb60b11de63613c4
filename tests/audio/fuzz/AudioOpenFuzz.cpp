// The whole audio open on arbitrary files: the first input byte picks the
// file's name (AudioFileNames.h), the rest is the file, written to the
// RAM-backed /dev/shm because the dispatch goes by the name's suffix. Every
// value is read back, as the host does (the titles do not depend on the
// file), and must be what the same readers find in the bytes in memory: the
// file view must hand out the file's bytes wherever they are asked for.
#include <dirent.h>
#include <sanitizer/common_interface_defs.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "AudioFileNames.h"
#include "AudioOpen.h"
#include "FileView.h"
#include "FuzzCheck.h"
#include "PropertyTable.h"

namespace {

constexpr const char* kScratchPrefix = "zav-audio-fuzz-";

// A run killed for a timeout leaves its folder: the next start clears the
// folders of processes that are gone.
void removeFoldersOfEndedRuns() {
  DIR* shm = opendir("/dev/shm");
  if (shm == nullptr) return;
  while (const dirent* entry = readdir(shm)) {
    const std::string name = entry->d_name;
    if (name.rfind(kScratchPrefix, 0) != 0) continue;
    const long pid = std::strtol(name.c_str() + std::strlen(kScratchPrefix), nullptr, 10);
    if (pid <= 0 || kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    const std::string folder = "/dev/shm/" + name;
    if (DIR* inner = opendir(folder.c_str())) {
      while (const dirent* file = readdir(inner)) {
        if (file->d_name[0] != '.') unlink((folder + "/" + file->d_name).c_str());
      }
      closedir(inner);
    }
    rmdir(folder.c_str());
  }
  closedir(shm);
}

class ScratchFolder {
 public:
  ScratchFolder() : path_(std::string("/dev/shm/") + kScratchPrefix + std::to_string(getpid())) {
    ZAV_FUZZ_CHECK(mkdir(path_.c_str(), 0700) == 0 || errno == EEXIST);
  }
  ~ScratchFolder() { rmdir(path_.c_str()); }

  // Writes the file, which lives until the next call.
  const std::string& write(const char* name, const std::uint8_t* data, std::size_t size) {
    if (!file_.empty()) unlink(file_.c_str());
    file_ = path_ + "/" + name;
    std::FILE* out = std::fopen(file_.c_str(), "wb");
    ZAV_FUZZ_CHECK(out != nullptr);
    ZAV_FUZZ_CHECK(std::fwrite(data, 1, size, out) == size);
    std::fclose(out);
    return file_;
  }
  void removeFile() {
    if (!file_.empty()) unlink(file_.c_str());
    file_.clear();
  }

 private:
  std::string path_;
  std::string file_;
};

ScratchFolder* scratch = nullptr;

void removeScratch() {
  if (scratch == nullptr) return;
  scratch->removeFile();
  delete scratch;
  scratch = nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  removeFoldersOfEndedRuns();
  scratch = new ScratchFolder;
  std::atexit(removeScratch);
  __sanitizer_set_death_callback(removeScratch);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static zav::PropertyTable fromFile(zav::audio::audioCatalogue(), "zavaudio.dll");
  static zav::PropertyTable fromMemory(zav::audio::audioCatalogue(), "zavaudio.dll");
  if (size == 0) return 0;
  const char* name = zav::fuzz::kAudioFileNames[data[0] % zav::fuzz::kAudioFileNames.size()];
  const std::string& path = scratch->write(name, data + 1, size - 1);
  fromFile.resetValues();
  const int found = zav::audio::openAudioFile(path.c_str(), fromFile);
  bool anyValue = false;
  for (int i = 0; i < fromFile.count(); ++i) anyValue = anyValue || fromFile.value(i)[0] != 0;
  ZAV_FUZZ_CHECK(found == (anyValue ? 1 : 0));

  fromMemory.resetValues();
  zav::platform::FileView memory({data + 1, size - 1});
  ZAV_FUZZ_CHECK(zav::audio::readAudioFile(name, memory, fromMemory) == found);
  for (int i = 0; i < fromFile.count(); ++i) {
    ZAV_FUZZ_CHECK(std::strcmp(fromFile.value(i), fromMemory.value(i)) == 0);
  }
  return 0;
}
