// The RIFF chunk walker on a view of the file. Chunk headers are read one
// at a time, from memory where the view holds them; chunk data is skipped,
// never read. The walker keeps its own position.
#include "RiffFile.h"

#include <cstring>

#include "ByteReader.h"
#include "Endian.h"
#include "FileView.h"

namespace zav::platform {

namespace {

constexpr std::uint32_t kRiffId = chunkId('R', 'I', 'F', 'F');
constexpr std::uint32_t kListId = chunkId('L', 'I', 'S', 'T');
constexpr std::uint64_t kChunkHeaderSize = 8;
constexpr std::size_t kListHeaderSize = 12;  // a chunk header and the list type

std::uint64_t paddedSize(std::uint32_t size) { return std::uint64_t{size} + (size & 1u); }

}  // namespace

struct RiffFile::State {
  explicit State(const char* path) : owned(std::in_place, path), view(&*owned) {}
  explicit State(FileView& shared) : view(&shared) {}
  std::optional<FileView> owned;
  FileView* view;
  std::uint64_t position = 0;
  // End of the form's data: the searches stop there. Without a form they
  // run to the end of the file.
  std::optional<std::uint64_t> parentEnd;
  // The list type of the chunk chunkAt read last, when it has one.
  std::optional<std::uint32_t> typeRead;

  // The header of the chunk at `offset`, when it lies inside the parent,
  // with its list type when it is long enough to have one.
  std::optional<RiffChunk> chunkAt(std::uint64_t offset) {
    if (parentEnd && (offset > *parentEnd || *parentEnd - offset < kChunkHeaderSize)) {
      return std::nullopt;
    }
    const auto header = view->bytesAt(offset, kListHeaderSize);
    if (!header || header->size() < kChunkHeaderSize) return std::nullopt;
    // Identifiers and sizes are little-endian; an identifier keeps its
    // first byte lowest.
    ByteReader fields(*header);
    RiffChunk chunk;
    chunk.id = fields.le32();
    chunk.size = fields.le32();
    chunk.dataOffset = offset + kChunkHeaderSize;
    if (chunk.size >= 4 && header->size() == kListHeaderSize) {
      typeRead = fields.le32();
    } else {
      typeRead.reset();
    }
    return chunk;
  }

  // The first chunk from the current position on that `matches`.
  template <typename Match>
  std::optional<RiffChunk> find(Match matches) {
    // Every step moves forward by at least a chunk header, and a header
    // that cannot be read ends the search, so this ends within the file.
    for (std::uint64_t offset = position;;) {
      auto chunk = chunkAt(offset);
      if (!chunk) return std::nullopt;
      if (matches(*chunk)) return chunk;
      offset = chunk->dataOffset + paddedSize(chunk->size);
    }
  }
};

RiffFile::RiffFile(const char* path) : state_(std::make_unique<State>(path)) {}

RiffFile::RiffFile(FileView& view) : state_(std::make_unique<State>(view)) {}

RiffFile::~RiffFile() = default;

bool RiffFile::isOpen() const { return state_->view->isOpen(); }

bool RiffFile::findForm(std::uint32_t formType) {
  if (!isOpen()) return false;
  State& s = *state_;
  s.parentEnd.reset();
  auto form = s.chunkAt(0);
  if (!form || form->id != kRiffId || !s.typeRead || *s.typeRead != formType) return false;
  form->listType = *s.typeRead;
  s.parentEnd = form->dataOffset + form->size;
  s.position = form->dataOffset + 4;  // just after the form type
  return true;
}

std::optional<RiffChunk> RiffFile::findChunk(std::uint32_t id) {
  if (!isOpen()) return std::nullopt;
  auto chunk = state_->find([id](const RiffChunk& c) { return c.id == id; });
  if (chunk) state_->position = chunk->dataOffset;
  return chunk;
}

std::optional<RiffChunk> RiffFile::findList(std::uint32_t listType) {
  if (!isOpen()) return std::nullopt;
  State& s = *state_;
  auto list = s.find([&s, listType](RiffChunk& c) {
    if (c.id != kListId || !s.typeRead || *s.typeRead != listType) return false;
    c.listType = *s.typeRead;
    return true;
  });
  if (list) s.position = list->dataOffset + 4;  // just after the list type
  return list;
}

bool RiffFile::leave(const RiffChunk& chunk) {
  if (!isOpen()) return false;
  state_->position = chunk.dataOffset + paddedSize(chunk.size);
  return true;
}

std::optional<std::uint64_t> RiffFile::tell() {
  if (!isOpen()) return std::nullopt;
  return state_->position;
}

bool RiffFile::seek(std::uint64_t offset) {
  if (!isOpen() || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
  state_->position = offset;
  return true;
}

std::optional<std::size_t> RiffFile::read(void* buffer, std::size_t count) {
  if (!isOpen()) return std::nullopt;
  const auto bytes = state_->view->bytesAt(state_->position, count);
  if (!bytes) return std::nullopt;
  if (!bytes->empty()) std::memcpy(buffer, bytes->data(), bytes->size());
  state_->position += bytes->size();
  return bytes->size();
}

}  // namespace zav::platform
