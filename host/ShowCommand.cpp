// zavcat show: the plug-ins run in this process, records go to stdout.
#include <fstream>
#include <iostream>

#include <nlohmann/json.hpp>

#include "Commands.h"
#include "FileDriver.h"
#include "FolderWalker.h"
#include "Output.h"
#include "Platform.h"
#include "PluginFolder.h"
#include "RecordFormat.h"
#include "Tally.h"

namespace zav::host {

namespace {

class Show {
 public:
  Show(const ShowOptions& options, const PluginList& plugins, const TextConverter& converter)
      : options_(options),
        plugins_(plugins),
        converter_(converter),
        form_(!converter.keepsBytes()                                  ? TextForm::utf8
              : platform::ansiCodePage() == platform::kCodePageShiftJis ? TextForm::shiftJisBytes
                                                                         : TextForm::bytes),
        walker_({[this](FileEntry&& file) { addFile(file); },
                 [this](const std::string& path, const std::string& reason) {
                   problem(path, reason);
                 }}) {}

  void addPath(const std::string& path) { walker_.add(path); }
  Output& output() { return output_; }
  const Tally& tally() const { return tally_; }
  const PathWalker& walker() const { return walker_; }

 private:
  void addFile(const FileEntry& file) {
    if (options_.format == OutputFormat::null) {
      FileCheck check;
      const FileStatus status = driveFile(plugins_, file, check);
      tally_.add(status);
      if (status == FileStatus::unreadable) problem(file.path, check.reason());
      return;
    }
    const FileRecord record = inspectFile(plugins_, file, converter_);
    tally_.add(record.status);
    if (options_.format == OutputFormat::json) {
      output_ << jsonLine(recordJson(record));
    } else {
      appendRecordText(output_.buffer(), record, form_);
    }
    output_.written();
    if (record.status == FileStatus::unreadable) problem(file.path, record.reason);
  }

  void problem(const std::string& path, const std::string& reason) {
    reportProblem(output_, escaped(converter_.convert(path).text, form_) + ": " + reason);
  }

  const ShowOptions& options_;
  const PluginList& plugins_;
  const TextConverter& converter_;
  TextForm form_;
  Output output_;
  Tally tally_;
  PathWalker walker_;
};

// One path a line; false when the list cannot be read.
bool readPathList(const std::string& list, const std::function<void(const std::string&)>& add) {
  std::ifstream file;
  std::istream* in = &std::cin;
  if (list != "-") {
    file.open(list, std::ios::binary);
    if (!file) return false;
    in = &file;
  }
  for (std::string line; std::getline(*in, line);) {
    if (!line.empty()) add(line);
  }
  return !in->bad();
}

}  // namespace

ExitStatus runShow(const CommonOptions& common, const ShowOptions& options) {
  if (options.paths.empty() && !options.filesFrom) {
    std::cerr << "zavcat: no file or folder given\nTry 'zavcat --help'.\n";
    return ExitStatus::usage;
  }
  if (options.raw && options.format != OutputFormat::text) {
    std::cerr << "zavcat: --raw goes with --format text\n";
    return ExitStatus::usage;
  }
  const PluginList plugins = loadPlugins(findPluginFolder(common.pluginFolder), std::cerr);
  if (plugins.empty()) return ExitStatus::usage;

  const TextConverter converter(platform::ansiCodePage(), common.legacyEncoding, options.raw);
  Show show(options, plugins, converter);
  for (const std::string& path : options.paths) show.addPath(path);
  bool listRead = true;
  if (options.filesFrom) {
    listRead = readPathList(*options.filesFrom, [&](const std::string& path) { show.addPath(path); });
    if (!listRead) reportProblem(show.output(), *options.filesFrom + ": cannot be read");
  }
  show.output().flush();
  if (reportingFor(common.quiet, options.summary).summary) {
    std::cerr << "zavcat: " << show.tally().summary(show.walker().skipped()) << '\n';
  }
  if (!show.output().ok()) {
    std::cerr << "zavcat: cannot write the output\n";
    return ExitStatus::someFailed;
  }
  const bool allRead = listRead && show.walker().allPathsRead() && show.tally().allFilesRead();
  return allRead ? ExitStatus::ok : ExitStatus::someFailed;
}

}  // namespace zav::host
