// The RIFF chunk walker on the system's multimedia file I/O. The system's
// offsets are signed 32-bit and its chunk arithmetic wraps at 2^32, so every
// bound is checked here in 64 bits before the system is asked.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "RiffFile.h"

#include "FileView.h"

namespace zav::platform {

namespace {

constexpr std::uint64_t kMaxOffset = LONG_MAX;
constexpr std::uint32_t kFormHeaderSize = 12;  // "RIFF", size, form type

std::uint64_t chunkEnd(const MMCKINFO& chunk) {
  return std::uint64_t{chunk.dwDataOffset} + chunk.cksize + (chunk.cksize & 1u);
}

RiffChunk toChunk(const MMCKINFO& info) {
  RiffChunk chunk;
  chunk.id = info.ckid;
  chunk.size = info.cksize;
  chunk.listType = info.fccType;
  chunk.dataOffset = info.dwDataOffset;
  return chunk;
}

}  // namespace

struct RiffFile::State {
  HMMIO handle = nullptr;
  // A file handed in by its owner stays open when the walker closes.
  bool ownsFile = true;
  std::uint64_t fileSize = 0;
  bool hasForm = false;
  MMCKINFO form{};
  std::uint64_t formEnd = 0;  // first byte after the form's declared data

  // Searches the form's direct sub-chunks from the current position on.
  std::optional<RiffChunk> descend(MMCKINFO wanted, UINT flags) {
    if (!hasForm) return std::nullopt;
    // The parent's end is computed by the system in 32 bits; keep it from
    // wrapping for a form that declares the largest size.
    MMCKINFO parent = form;
    parent.cksize = static_cast<DWORD>(
        std::min<std::uint64_t>(parent.cksize, UINT32_MAX - parent.dwDataOffset));
    const MMCKINFO search = wanted;
    for (;;) {
      wanted = search;
      if (mmioDescend(handle, &wanted, &parent, flags) != MMSYSERR_NOERROR) return std::nullopt;
      // The system may search on past the form's end; the form ends it.
      if (std::uint64_t{wanted.dwDataOffset} > formEnd) return std::nullopt;
      if (flags != MMIO_FINDLIST || hasListType(wanted)) return toChunk(wanted);
      // The system took the bytes after a list too short for a type (or
      // its own search value, at the end of the file) for the list type:
      // no such list; look on behind it.
      const std::uint64_t next = chunkEnd(wanted);
      if (next > kMaxOffset || mmioSeek(handle, static_cast<LONG>(next), SEEK_SET) < 0) {
        return std::nullopt;
      }
    }
  }

  void close() {
    if (handle != nullptr) mmioClose(handle, ownsFile ? 0 : MMIO_FHOPEN);
    handle = nullptr;
  }

  // Notes the file's size; this also puts the system's idea of the position
  // and the file's own in step, whoever read the file before.
  void start() {
    if (handle == nullptr) return;
    const LONG size = mmioSeek(handle, 0, SEEK_END);
    if (size < 0 || mmioSeek(handle, 0, SEEK_SET) != 0) {
      close();
      return;
    }
    fileSize = static_cast<std::uint64_t>(size);
  }

  bool hasListType(const MMCKINFO& list) const {
    return list.cksize >= 4 && std::uint64_t{list.dwDataOffset} + 4 <= fileSize;
  }
};

namespace {

// The multimedia I/O over an open file handle: given a name, that I/O
// takes at most 128 characters and reads "name.ext+x" as an element of a
// compound file.
HMMIO openOver(HANDLE file) {
  const auto value = reinterpret_cast<std::uintptr_t>(file);
  if (value > UINT32_MAX) return nullptr;  // kernel handles fit in 32 bits; never seen otherwise
  MMIOINFO info{};
  info.adwInfo[0] = static_cast<DWORD>(value);
  return mmioOpenA(nullptr, &info, MMIO_READ | MMIO_ALLOCBUF);
}

// The file is opened as every other reader opens it.
HMMIO openForReading(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  HMMIO handle = openOver(file);
  if (handle == nullptr) CloseHandle(file);  // mmioClose closes it otherwise
  return handle;
}

}  // namespace

RiffFile::RiffFile(const char* path) : state_(std::make_unique<State>()) {
  if (path == nullptr) return;
  state_->handle = openForReading(path);
  state_->start();
}

RiffFile::RiffFile(FileView& view) : state_(std::make_unique<State>()) {
  ReadOnlyFile* file = view.file();
  if (file == nullptr) return;
  state_->ownsFile = false;
  state_->handle = openOver(static_cast<HANDLE>(file->nativeHandle()));
  state_->start();
}

RiffFile::~RiffFile() { state_->close(); }

bool RiffFile::isOpen() const { return state_->handle != nullptr; }

bool RiffFile::findForm(std::uint32_t formType) {
  State& s = *state_;
  s.hasForm = false;
  if (s.handle == nullptr || s.fileSize < kFormHeaderSize) return false;
  if (mmioSeek(s.handle, 0, SEEK_SET) != 0) return false;
  // No search flag: the first chunk of the file must be the form.
  MMCKINFO form{};
  if (mmioDescend(s.handle, &form, nullptr, 0) != MMSYSERR_NOERROR) return false;
  if (form.ckid != FOURCC_RIFF || form.cksize < 4 || form.fccType != formType) return false;
  s.form = form;
  s.formEnd = std::uint64_t{form.dwDataOffset} + form.cksize;
  s.hasForm = true;
  return true;
}

std::optional<RiffChunk> RiffFile::findChunk(std::uint32_t id) {
  MMCKINFO wanted{};
  wanted.ckid = id;
  std::optional<RiffChunk> chunk = state_->descend(wanted, MMIO_FINDCHUNK);
  // Found as a plain chunk, a list too is entered at its first data byte.
  if (!chunk || !seek(chunk->dataOffset)) return std::nullopt;
  chunk->listType = 0;
  return chunk;
}

std::optional<RiffChunk> RiffFile::findList(std::uint32_t listType) {
  MMCKINFO wanted{};
  wanted.fccType = listType;
  return state_->descend(wanted, MMIO_FINDLIST);
}

bool RiffFile::leave(const RiffChunk& chunk) {
  if (state_->handle == nullptr) return false;
  MMCKINFO info{};
  info.ckid = chunk.id;
  info.cksize = chunk.size;
  info.fccType = chunk.listType;
  info.dwDataOffset = static_cast<DWORD>(chunk.dataOffset);
  if (chunk.dataOffset > kMaxOffset || chunkEnd(info) > kMaxOffset) return false;
  // The system's pad arithmetic wraps for the largest size; that end lies
  // beyond any offset it can reach and was refused above.
  return mmioAscend(state_->handle, &info, 0) == MMSYSERR_NOERROR;
}

std::optional<std::uint64_t> RiffFile::tell() {
  if (state_->handle == nullptr) return std::nullopt;
  const LONG position = mmioSeek(state_->handle, 0, SEEK_CUR);
  if (position < 0) return std::nullopt;
  return static_cast<std::uint64_t>(position);
}

bool RiffFile::seek(std::uint64_t offset) {
  if (state_->handle == nullptr || offset > kMaxOffset) return false;
  return mmioSeek(state_->handle, static_cast<LONG>(offset), SEEK_SET) ==
         static_cast<LONG>(offset);
}

std::optional<std::size_t> RiffFile::read(void* buffer, std::size_t count) {
  if (state_->handle == nullptr) return std::nullopt;
  auto* out = static_cast<char*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    const LONG wanted = static_cast<LONG>(std::min<std::size_t>(count - total, 1u << 30));
    const LONG got = mmioRead(state_->handle, out + total, wanted);
    if (got < 0) {
      if (total > 0) break;
      return std::nullopt;
    }
    if (got == 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

}  // namespace zav::platform
