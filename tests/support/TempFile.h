// A temporary file (or folder) that holds test fixtures for as long as the
// object lives.
#ifndef ZAV_TESTS_SUPPORT_TEMPFILE_H
#define ZAV_TESTS_SUPPORT_TEMPFILE_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Bytes.h"

namespace zav::test {

// A file in a fresh temporary folder, removed with the folder on destruction.
class TempFile {
 public:
  // `name` is the file's name inside the folder (its suffix matters to the
  // plug-ins).
  TempFile(std::string_view name, const Bytes& content);
  TempFile(std::string_view name, std::string_view content);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }
  const char* c_str() const { return path_.c_str(); }
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
  std::string path_;
};

// A fresh temporary folder, removed with everything in it on destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Writes `content` to `relativePath` (creating folders) and returns its path.
  std::string write(std::string_view relativePath, const Bytes& content) const;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace zav::test

#endif
