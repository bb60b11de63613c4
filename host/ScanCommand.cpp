// zavcat scan: workers read the files, this process writes the catalog.
#include <csignal>
#include <filesystem>
#include <iostream>

#include "Catalog.h"
#include "CatalogFailure.h"
#include "Commands.h"
#include "FolderWalker.h"
#include "Platform.h"
#include "PluginFolder.h"
#include "Progress.h"
#include "Tally.h"
#include "TextEscape.h"
#include "WorkerPool.h"

namespace zav::host {

namespace {

namespace fs = std::filesystem;

volatile std::sig_atomic_t interrupted = 0;

void noteInterrupt(int) { interrupted = 1; }

std::string absolutePath(const std::string& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error).lexically_normal();
  std::string text = error ? path : absolute.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

// The name of the first scanned folder: the path itself, or a named file's folder.
std::string defaultLabel(const std::string& firstPath) {
  const std::string absolute = absolutePath(firstPath);
  std::error_code error;
  if (fs::is_directory(absolute, error)) return baseName(absolute);
  return baseName(fs::path(absolute).parent_path().string());
}

class Scan {
 public:
  Scan(const ScanOptions& options, const TextConverter& converter, Progress& progress)
      : options_(options), converter_(converter), progress_(progress) {}

  void problem(const std::string& path, const std::string& reason) {
    progress_.clear();
    std::cerr << "zavcat: " << escaped(converter_.convert(path).text, TextForm::utf8) << ": "
              << reason << '\n';
  }

  // One walk for all paths, made absolute, since a catalog outlives the
  // folder it was made in; with several paths, each folder's relative paths
  // begin with its name so that they stay apart.
  std::vector<FileEntry> walk(SkipCounts& skipped, bool& allRead) {
    std::vector<FileEntry> files;
    PathWalker walker({[&](FileEntry&& file) { files.push_back(std::move(file)); },
                       [&](const std::string& path, const std::string& reason) {
                         problem(path, reason);
                       }});
    const bool several = options_.paths.size() > 1;
    for (const std::string& path : options_.paths) {
      const std::string absolute = absolutePath(path);
      walker.add(absolute, several ? baseName(absolute) + "/" : std::string());
    }
    skipped = walker.skipped();
    allRead = walker.allPathsRead();
    return files;
  }

  std::string roots() const {
    std::string text;
    for (const std::string& path : options_.paths) {
      if (!text.empty()) text += '\n';
      text += converter_.convert(absolutePath(path)).text;
    }
    return text;
  }

 private:
  const ScanOptions& options_;
  const TextConverter& converter_;
  Progress& progress_;
};

std::string quoted(const std::string& label) {
  std::string text(1, '"');
  appendEscaped(text, label, TextForm::utf8);
  text += '"';
  return text;
}

}  // namespace

// A catalog that fails to be written, wherever in the scan, ends it the same
// way: the transactions are rolled back as the stack unwinds, and the
// handler says so.
ExitStatus runScan(const CommonOptions& common, const ScanOptions& options) try {
  const PluginSearch search = findPluginFolder(common.pluginFolder);
  const PluginList plugins = loadPlugins(search, std::cerr);
  if (plugins.empty()) return ExitStatus::usage;
  // The workers read under UTF-8; what this process converts (labels,
  // roots, the records of failed files) follows the same rules.
  const TextConverter converter(platform::kCodePageUtf8, common.legacyEncoding);

  const std::string label =
      converter.convert(options.label ? *options.label : defaultLabel(options.paths.front())).text;
  if (label.empty()) {
    std::cerr << "zavcat: the volume needs a label; give --label NAME\n";
    return ExitStatus::usage;
  }
  const std::string databasePath = catalogPath(options.database);
  std::unique_ptr<Catalog> catalog;
  try {
    catalog = Catalog::openForWriting(databasePath);
  } catch (const std::exception& error) {
    return reportCatalogNotWritten(std::cerr, databasePath, error, "scan");
  }
  const auto labelTaken = [&] {
    std::cerr << "zavcat: the catalog already holds a volume labelled " << quoted(label)
              << "; give --label " << quoted(label)
              << " to replace it, or another label to keep both\n";
    return ExitStatus::usage;
  };
  if (!options.label && catalog->hasVolume(label)) return labelTaken();

  const Reporting reporting = reportingFor(common.quiet, options.summary);
  Progress progress(reporting.progress, 0);
  Scan scan(options, converter, progress);
  SkipCounts skipped;
  bool allPathsRead = true;
  const std::vector<FileEntry> files = scan.walk(skipped, allPathsRead);
  progress.setTotal(files.size());

  VolumeWriter writer(*catalog, label, scan.roots());
  Tally tally;
  const auto deliver = [&](FileRecord&& record) {
    writer.add(record);
    tally.add(record.status);
    if (record.status == FileStatus::unreadable || record.status == FileStatus::failed) {
      scan.problem(record.path.raw ? *record.path.raw : record.path.text, record.reason);
    }
  };
  const auto tick = [&] {
    writer.commitIfDue();
    progress.update(tally.files());
    return interrupted == 0;
  };
  const WorkerSettings settings{*search.folder, common.legacyEncoding, options.jobs,
                                options.fileTimeout};
  interrupted = 0;
  std::signal(SIGINT, noteInterrupt);
  std::signal(SIGTERM, noteInterrupt);
  const bool completed = readWithWorkers(files, settings, plugins, converter, deliver, tick);
  progress.clear();
  if (!completed) {
    std::cerr << "zavcat: interrupted; the catalog is as it was\n";
    return ExitStatus::interrupted;
  }
  if (!writer.finish(/*replace=*/options.label.has_value(), skipped.total())) return labelTaken();
  if (reporting.summary) std::cerr << "zavcat: " << tally.summary(skipped) << '\n';
  return allPathsRead && tally.allFilesRead() ? ExitStatus::ok : ExitStatus::someFailed;
} catch (const sql::Error& error) {
  return reportCatalogNotWritten(std::cerr, catalogPath(options.database), error, "scan");
}

}  // namespace zav::host
