#include "Catalog.h"

#include <filesystem>
#include <system_error>

#include "FileDriver.h"
#include "FolderWalker.h"
#include "ReportPrinter.h"
#include "Suffix.h"

namespace zav::host {

namespace fs = std::filesystem;

Catalog::Catalog(const PluginList& plugins, std::ostream& out, std::ostream& diagnostics)
    : plugins_(plugins), out_(out), diagnostics_(diagnostics) {}

void Catalog::addPath(const std::string& path) {
  std::error_code error;
  // A named link is followed, to a folder as well: the user chose it.
  const fs::file_status status = fs::status(path, error);
  if (fs::is_directory(status)) {
    walkFolder(path, {[this](const std::string& file) { addFile(file, Origin::walked); },
                      [this](const std::string& where, const std::string& reason) {
                        reportProblem(where, reason);
                      }});
  } else if (fs::is_regular_file(status)) {
    addFile(path, Origin::named);
  } else if (error) {
    reportProblem(path, error.message());
  } else {
    reportProblem(path, "not a regular file or folder");
  }
}

void Catalog::addFile(const std::string& path, Origin origin) {
  const auto suffix = claimSuffix(path);
  const Plugin* plugin = suffix ? findClaimant(plugins_, *suffix) : nullptr;
  if (plugin != nullptr) {
    printReport(out_, catalogFile(*plugin, path));
  } else if (origin == Origin::named) {
    printUnclaimed(out_, path);
  }
}

void Catalog::reportProblem(const std::string& path, const std::string& reason) {
  out_.flush();  // keep the two streams in the order things happened
  diagnostics_ << "zavcat: " << path << ": " << reason << '\n';
  allPathsRead_ = false;
}

}  // namespace zav::host
