// Runs the shared cases through both plug-in modules, loaded under their
// real file names. A plain program, so it cross-builds as the Windows test
// host; the same source dumps what a module reports, for comparing the
// bytes of two systems.
//
//   zavcases check AUDIO_MODULE RTF_MODULE SCRATCH_FOLDER
//   zavcases write FOLDER
//   zavcases dump AUDIO_MODULE RTF_MODULE FOLDER   (every file, both modules)
//   zavcases crash                 (Windows: crashes on purpose)
#if defined(_WIN32)
#include <windows.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "CaseRunner.h"

namespace {

using namespace zav::cases;

#if defined(_WIN32)
// A crash is a failure: report it and end with a status ctest sees, before
// any debugger could take over.
LONG WINAPI onCrash(EXCEPTION_POINTERS* e) {
  std::printf("CRASH 0x%08lX\n", static_cast<unsigned long>(e->ExceptionRecord->ExceptionCode));
  std::fflush(stdout);
  ExitProcess(3);
}

// The Windows side of the platform, where the host can see it: the ANSI
// code page, and Shift-JIS folder names through the ANSI file calls.
Failures checkSystem(const EntryPoints& audio, const EntryPoints& rtf, const std::string& scratch) {
  Failures failures;
  if (GetACP() != 932) failures.push_back("ANSI code page " + std::to_string(GetACP()));
  const std::string folder = scratch + "/\x95\x5C";  // 表: its trail byte is a backslash
  if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    // Wine maps such names to Unix ones through the Unix locale.
    failures.push_back("cannot make a Shift-JIS folder (is the ja_JP.UTF-8 locale generated?)");
    return failures;
  }
  for (const FileCase& c : fileCases()) {
    if (std::strcmp(c.fileName, "info.wav") != 0 && std::strcmp(c.fileName, "report.rtf") != 0) {
      continue;
    }
    const std::string path = folder + "/" + c.fileName;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fwrite(c.content.data(), 1, c.content.size(), f);
      std::fclose(f);
    }
    for (const std::string& failure : checkFile(c.plugin == Plugin::audio ? audio : rtf, c, path)) {
      failures.push_back("in a Shift-JIS folder: " + failure);
    }
  }
  // A device's name in any folder opens the device: the plug-ins answer as
  // for a file that cannot be opened.
  const std::pair<const char*, const EntryPoints*> devices[] = {
      {"/con.mp3", &audio}, {"/aux.wav", &audio}, {"/nul.rtf", &rtf}};
  for (const auto& [name, module] : devices) {
    for (const std::string& failure : checkMissingFile(*module, folder + name)) failures.push_back(failure);
  }
  return failures;
}
#endif

// Prints each failure of one check; counts the checks and the failed ones.
struct Tally {
  int checks = 0;
  int failed = 0;

  void add(const Failures& failures, const std::string& what) {
    ++checks;
    for (const std::string& failure : failures) std::printf("FAIL %s: %s\n", what.c_str(), failure.c_str());
    if (failures.empty()) {
      std::printf("ok   %s\n", what.c_str());
    } else {
      ++failed;
    }
  }
};

int check(const LoadedModule& audio, const LoadedModule& rtf, const std::string& scratch) {
  Tally tally;
  tally.add(checkConstants(audio.entry(), constantsOf(Plugin::audio)), "audio constants");
  tally.add(checkConstants(rtf.entry(), constantsOf(Plugin::rtf)), "rtf constants");
  const std::vector<std::string> paths = writeCaseFiles(scratch);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const FileCase& c = fileCases()[i];
    const LoadedModule& module = c.plugin == Plugin::audio ? audio : rtf;
    tally.add(checkFile(module.entry(), c, paths[i]), c.fileName);
  }
  for (const LoadedModule* module : {&audio, &rtf}) {
    for (const char* name : {"/missing.mp3", "/missing.wav", "/missing.rtf"}) {
      tally.add(checkMissingFile(module->entry(), scratch + name), name + 1);
    }
  }
#if defined(_WIN32)
  tally.add(checkSystem(audio.entry(), rtf.entry(), scratch), "Windows system calls");
#endif
  std::printf("%d passed, %d failed\n", tally.checks - tally.failed, tally.failed);
  return tally.failed == 0 ? 0 : 1;
}

// Every file of the folder, in name order, through both modules.
int dump(const LoadedModule& audio, const LoadedModule& rtf, const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::printf("== audio module\n%s== rtf module\n%s", describeModule(audio.entry()).c_str(),
              describeModule(rtf.entry()).c_str());
  for (const std::string& name : names) {
    const std::string path = folder + "/" + name;
    std::printf("== %s through audio\n%s", name.c_str(), describeFile(audio.entry(), path).c_str());
    std::printf("== %s through rtf\n%s", name.c_str(), describeFile(rtf.entry(), path).c_str());
  }
  return names.empty() ? 1 : 0;
}

int run(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
#if defined(_WIN32)
  if (mode == "crash") {  // shows that a crash ends as a reported failure
    RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr);
    return 0;
  }
#endif
  if (mode == "write" && argc == 3) {
    writeCaseFiles(argv[2]);
    return 0;
  }
  if ((mode == "check" || mode == "dump") && argc == 5) {
    const LoadedModule audio(argv[2]);
    const LoadedModule rtf(argv[3]);
    for (const LoadedModule* module : {&audio, &rtf}) {
      if (!module->error().empty()) {
        std::printf("FAIL %s\n", module->error().c_str());
        return 1;
      }
    }
    return mode == "check" ? check(audio, rtf, argv[4]) : dump(audio, rtf, argv[4]);
  }
  std::fprintf(stderr,
               "usage: zavcases check AUDIO_MODULE RTF_MODULE SCRATCH_FOLDER\n"
               "       zavcases write FOLDER\n"
               "       zavcases dump AUDIO_MODULE RTF_MODULE FOLDER\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  SetUnhandledExceptionFilter(onCrash);
#endif
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    std::printf("FAIL %s\n", e.what());
    return 1;
  }
}
