// Files that live in memory, for test programs linked with FakeFiles.cpp in
// place of the system's side of ReadOnlyFile: the test decides what each
// read call returns, so that failures the system seldom shows can be made
// at will. Nothing else changes, and the reading path makes no extra call.
#ifndef ZAV_TESTS_SUPPORT_FAKEFILES_H
#define ZAV_TESTS_SUPPORT_FAKEFILES_H

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "Bytes.h"

namespace zav::test {

struct FakeFile {
  // What reads find. Cut it while a file is open to have the file shrink
  // behind the size it had when it was opened.
  Bytes content;
  // The read call (0 for the first) that fails as a system call fails.
  std::optional<int> failingRead;
  // A read call returns at most this many bytes, as one cut short by an
  // error after some bytes arrived.
  std::size_t mostPerRead = std::numeric_limits<std::size_t>::max();
  int reads = 0;    // read calls so far
  int opened = 0;   // handles open now
};

// Makes a file at `path`, replacing any of that name; it stays until
// removeFakeFiles. Any other path does not exist.
FakeFile& addFakeFile(const std::string& path, Bytes content);
void removeFakeFiles();

}  // namespace zav::test

#endif
