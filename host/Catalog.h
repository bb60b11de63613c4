// Catalogs the paths named on the command line with a set of plug-ins.
#ifndef ZAV_HOST_CATALOG_H
#define ZAV_HOST_CATALOG_H

#include <ostream>
#include <string>

#include "PluginFolder.h"

namespace zav::host {

class Catalog {
 public:
  // Reports go to `out`, problems with paths to `diagnostics`.
  Catalog(const PluginList& plugins, std::ostream& out, std::ostream& diagnostics);

  // A named file is always reported (as unclaimed when no plug-in claims it);
  // a named folder is walked, and its unclaimed files are passed over.
  void addPath(const std::string& path);

  // False once a path was missing or could not be read.
  bool allPathsRead() const { return allPathsRead_; }

 private:
  enum class Origin { named, walked };

  void addFile(const std::string& path, Origin origin);
  void reportProblem(const std::string& path, const std::string& reason);

  const PluginList& plugins_;
  std::ostream& out_;
  std::ostream& diagnostics_;
  bool allPathsRead_ = true;
};

}  // namespace zav::host

#endif
