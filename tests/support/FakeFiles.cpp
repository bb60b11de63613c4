// ReadOnlyFile over the files of FakeFiles.h. A handle's number indexes the
// table of opened files, which keeps each one's position.
#include "FakeFiles.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "Platform.h"

namespace zav::test {

namespace {

struct Opened {
  FakeFile* file;
  std::uint64_t position = 0;
};

std::map<std::string, std::unique_ptr<FakeFile>>& files() {
  static std::map<std::string, std::unique_ptr<FakeFile>> all;
  return all;
}

std::vector<Opened>& handles() {
  static std::vector<Opened> all;
  return all;
}

// The number of bytes a read of `count` at `offset` gets; nothing when the
// call is the one that fails.
std::optional<std::size_t> readFrom(FakeFile& file, std::uint64_t offset, void* buffer, std::size_t count) {
  if (file.failingRead == file.reads++) return std::nullopt;
  if (offset >= file.content.size()) return 0;
  const std::size_t got =
      std::min({count, file.mostPerRead, static_cast<std::size_t>(file.content.size() - offset)});
  if (got > 0) std::memcpy(buffer, file.content.data() + offset, got);
  return got;
}

}  // namespace

FakeFile& addFakeFile(const std::string& path, Bytes content) {
  auto& file = files()[path];
  file = std::make_unique<FakeFile>();
  file->content = std::move(content);
  return *file;
}

void removeFakeFiles() {
  files().clear();
  handles().clear();
}

}  // namespace zav::test

namespace zav::platform {

using test::handles;

ReadOnlyFile::ReadOnlyFile(const char* path) : fd_(-1) {
  if (path == nullptr) return;
  const auto found = test::files().find(path);
  if (found == test::files().end()) return;
  test::FakeFile& file = *found->second;
  ++file.opened;
  size_ = file.content.size();
  fd_ = static_cast<int>(handles().size());
  handles().push_back({&file});
}

ReadOnlyFile::~ReadOnlyFile() {
  if (fd_ >= 0) --handles()[static_cast<std::size_t>(fd_)].file->opened;
}

bool ReadOnlyFile::isOpen() const { return fd_ >= 0; }

std::optional<std::uint64_t> ReadOnlyFile::size() { return size_; }

bool ReadOnlyFile::seek(std::uint64_t offset) {
  if (fd_ < 0) return false;
  handles()[static_cast<std::size_t>(fd_)].position = offset;
  return true;
}

std::optional<std::uint64_t> ReadOnlyFile::tell() {
  if (fd_ < 0) return std::nullopt;
  return handles()[static_cast<std::size_t>(fd_)].position;
}

std::optional<std::size_t> ReadOnlyFile::read(void* buffer, std::size_t count) {
  if (fd_ < 0) return std::nullopt;
  auto& handle = handles()[static_cast<std::size_t>(fd_)];
  const auto got = test::readFrom(*handle.file, handle.position, buffer, count);
  if (got) handle.position += *got;
  return got;
}

std::optional<std::size_t> ReadOnlyFile::readAt(std::uint64_t offset, void* buffer, std::size_t count) {
  if (fd_ < 0) return std::nullopt;
  return test::readFrom(*handles()[static_cast<std::size_t>(fd_)].file, offset, buffer, count);
}

}  // namespace zav::platform
