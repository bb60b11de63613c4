// The recursive walk over a folder given to zavcat.
#ifndef ZAV_HOST_FOLDERWALKER_H
#define ZAV_HOST_FOLDERWALKER_H

#include <functional>
#include <string>

namespace zav::host {

struct WalkCallbacks {
  // A file to catalog, as the folder's path joined with the names below it.
  std::function<void(const std::string& path)> file;
  // A folder or entry that could not be read; the walk goes on without it.
  std::function<void(const std::string& path, const std::string& reason)> problem;
};

// Visits the files below `folder` depth first, the entries of each folder in
// the byte order of their names. Regular files and symbolic links to regular
// files are visited; symbolic links to folders are not followed, so the walk
// cannot loop, and other kinds of entries are passed over.
void walkFolder(const std::string& folder, const WalkCallbacks& callbacks);

}  // namespace zav::host

#endif
