// Runs the shared cases through a loaded module's eleven entry points, and
// renders what a module reports for a file in one comparable form.
#ifndef ZAV_TESTS_CASES_CASERUNNER_H
#define ZAV_TESTS_CASES_CASERUNNER_H

#include <string>
#include <vector>

#include "Hex.h"
#include "PluginCases.h"
#include "ZavEntryPoints.h"

namespace zav::cases {

using EntryPoints = ZavEntryPoints;

// A module loaded under its path, as the host loads it.
class LoadedModule {
 public:
  explicit LoadedModule(const std::string& path);
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  // Empty when the module and all eleven entry points were found.
  const std::string& error() const { return error_; }
  const EntryPoints& entry() const { return entry_; }

 private:
  void* handle_ = nullptr;
  EntryPoints entry_;
  std::string error_;
};

using Failures = std::vector<std::string>;

// Bytes as upper-case hex pairs, for failure messages and dumps.
using test::hex;

// Name, support type, suffixes, catalogue keys and titles, empty values.
Failures checkConstants(const EntryPoints& module, const PluginConstants& expected);

// Opens `path` (a file written from `c`) and compares result, every value
// and every line; then closes.
Failures checkFile(const EntryPoints& module, const FileCase& c, const std::string& path);

// A path that does not exist: result 0, no line, every value empty.
Failures checkMissingFile(const EntryPoints& module, const std::string& path);

// What the module reports whatever the file: name, support type, default
// suffix, keys and titles. Texts are shown as hex.
std::string describeModule(const EntryPoints& module);

// Everything the module reports for `path`: the open result, each line,
// each key with its value, the close result. Texts are shown as hex.
std::string describeFile(const EntryPoints& module, const std::string& path);

// Writes each case's file into `folder`; returns the paths, case by case.
std::vector<std::string> writeCaseFiles(const std::string& folder);

}  // namespace zav::cases

#endif
