// The RIFF chunk walker on plain read-only file access. Chunk headers are
// read one at a time; chunk data is skipped by seeking, never read.
#include "RiffFile.h"

#include <cstring>

#include "Platform.h"

namespace zav::platform {

namespace {

// Identifiers and sizes are little-endian; an identifier keeps its first
// byte lowest.
std::uint32_t littleEndian32(const std::uint8_t* b) {
  return std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) | (std::uint32_t{b[2]} << 16) |
         (std::uint32_t{b[3]} << 24);
}

constexpr std::uint32_t kRiffId = 0x46464952;  // "RIFF"
constexpr std::uint32_t kListId = 0x5453494C;  // "LIST"
constexpr std::uint64_t kChunkHeaderSize = 8;

std::uint64_t paddedSize(std::uint32_t size) { return std::uint64_t{size} + (size & 1u); }

}  // namespace

struct RiffFile::State {
  explicit State(const char* path) : file(path) {}
  ReadOnlyFile file;
  // End of the form's data: the searches stop there. Without a form they
  // run to the end of the file.
  std::optional<std::uint64_t> parentEnd;

  // The header of the chunk at `offset`, when it lies inside the parent.
  std::optional<RiffChunk> chunkAt(std::uint64_t offset) {
    if (parentEnd && (offset > *parentEnd || *parentEnd - offset < kChunkHeaderSize)) {
      return std::nullopt;
    }
    std::uint8_t header[kChunkHeaderSize];
    if (!file.seek(offset)) return std::nullopt;
    const auto got = file.read(header, sizeof header);
    if (!got || *got != sizeof header) return std::nullopt;
    RiffChunk chunk;
    chunk.id = littleEndian32(header);
    chunk.size = littleEndian32(header + 4);
    chunk.dataOffset = offset + kChunkHeaderSize;
    return chunk;
  }

  // The first chunk from the current position on that `matches`; the
  // position is then at its data.
  template <typename Match>
  std::optional<RiffChunk> find(Match matches) {
    auto position = file.tell();
    if (!position) return std::nullopt;
    // Every step moves forward by at least a chunk header, and a header
    // that cannot be read ends the search, so this ends within the file.
    for (std::uint64_t offset = *position;;) {
      auto chunk = chunkAt(offset);
      if (!chunk) return std::nullopt;
      if (matches(*chunk)) return chunk;
      offset = chunk->dataOffset + paddedSize(chunk->size);
    }
  }

  std::optional<std::uint32_t> readListType(const RiffChunk& chunk) {
    std::uint8_t type[4];
    if (chunk.size < sizeof type || !file.seek(chunk.dataOffset)) return std::nullopt;
    const auto got = file.read(type, sizeof type);
    if (!got || *got != sizeof type) return std::nullopt;
    return littleEndian32(type);
  }
};

RiffFile::RiffFile(const char* path) : state_(std::make_unique<State>(path)) {}

RiffFile::~RiffFile() = default;

bool RiffFile::isOpen() const { return state_->file.isOpen(); }

bool RiffFile::findForm(std::uint32_t formType) {
  if (!isOpen()) return false;
  state_->parentEnd.reset();
  auto form = state_->chunkAt(0);
  if (!form || form->id != kRiffId) return false;
  const auto type = state_->readListType(*form);
  if (!type || *type != formType) return false;
  form->listType = *type;
  state_->parentEnd = form->dataOffset + form->size;
  return true;  // the position is just after the form type
}

std::optional<RiffChunk> RiffFile::findChunk(std::uint32_t id) {
  if (!isOpen()) return std::nullopt;
  auto chunk = state_->find([id](const RiffChunk& c) { return c.id == id; });
  if (chunk && !state_->file.seek(chunk->dataOffset)) return std::nullopt;
  return chunk;
}

std::optional<RiffChunk> RiffFile::findList(std::uint32_t listType) {
  if (!isOpen()) return std::nullopt;
  return state_->find([this, listType](RiffChunk& c) {
    if (c.id != kListId) return false;
    const auto type = state_->readListType(c);
    if (!type || *type != listType) return false;
    c.listType = *type;
    return true;  // readListType left the position after the list type
  });
}

bool RiffFile::leave(const RiffChunk& chunk) {
  return isOpen() && state_->file.seek(chunk.dataOffset + paddedSize(chunk.size));
}

std::optional<std::uint64_t> RiffFile::tell() { return state_->file.tell(); }

bool RiffFile::seek(std::uint64_t offset) { return state_->file.seek(offset); }

std::optional<std::size_t> RiffFile::read(void* buffer, std::size_t count) {
  return state_->file.read(buffer, count);
}

}  // namespace zav::platform
