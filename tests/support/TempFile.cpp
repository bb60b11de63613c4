#include "TempFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace zav::test {

namespace fs = std::filesystem;

namespace {

std::string makeTempFolder() {
  std::string pattern = (fs::temp_directory_path() / "zavtest-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

void writeFile(const std::string& path, const Bytes& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(content.data()),
            static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

TempFile::TempFile(std::string_view name, const Bytes& content)
    : folder_(makeTempFolder()), path_(folder_ + "/" + std::string(name)) {
  writeFile(path_, content);
}

TempFile::TempFile(std::string_view name, std::string_view content)
    : TempFile(name, bytes(content)) {}

TempFile::~TempFile() {
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

TempFolder::TempFolder() : path_(makeTempFolder()) {}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempFolder::write(std::string_view relativePath, const Bytes& content) const {
  const fs::path full = fs::path(path_) / relativePath;
  fs::create_directories(full.parent_path());
  writeFile(full.string(), content);
  return full.string();
}

}  // namespace zav::test
