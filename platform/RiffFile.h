// A RIFF chunk walker over a file opened for reading: find a form at the
// start of the file, find sub-chunks and INFO-style lists among the form's
// direct sub-chunks, leave a chunk, and read. It stands in for the system's
// RIFF file I/O; on Windows it is that I/O. Walking reads chunk headers
// only; the data of the chunks it passes is never read.
#ifndef ZAV_PLATFORM_RIFFFILE_H
#define ZAV_PLATFORM_RIFFFILE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace zav::platform {

class FileView;

struct RiffChunk {
  std::uint32_t id = 0;        // first identifier byte in the lowest 8 bits
  std::uint32_t size = 0;      // declared data size (a list's type included)
  std::uint32_t listType = 0;  // for "RIFF" and "LIST" chunks
  std::uint64_t dataOffset = 0;  // file offset of the first data byte
};

class RiffFile {
 public:
  explicit RiffFile(const char* path);
  // Walks a file already open for other readers, which stays open after
  // the walker goes. Headers the view holds in memory are not read again.
  explicit RiffFile(FileView& view);
  ~RiffFile();
  RiffFile(const RiffFile&) = delete;
  RiffFile& operator=(const RiffFile&) = delete;

  bool isOpen() const;

  // True when the file begins with a "RIFF" chunk of form type `formType`;
  // the position is then just after the form type, and the form becomes the
  // parent of the searches below.
  bool findForm(std::uint32_t formType);

  // From the current position on, among the form's direct sub-chunks, the
  // first chunk with identifier `id`; the position is then at its data.
  // Nothing (position unspecified) when the form ends first.
  std::optional<RiffChunk> findChunk(std::uint32_t id);

  // As findChunk, for a "LIST" chunk whose list type is `listType`; the
  // position is then just after the list type.
  std::optional<RiffChunk> findList(std::uint32_t listType);

  // Moves to the first byte after `chunk` and its pad byte.
  bool leave(const RiffChunk& chunk);

  std::optional<std::uint64_t> tell();
  bool seek(std::uint64_t offset);
  // The number of bytes read (short at the end of the file), or nothing when
  // the read call fails.
  std::optional<std::size_t> read(void* buffer, std::size_t count);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace zav::platform

#endif
