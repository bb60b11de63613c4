// Placeholder until the chunk walker lands: no file is a RIFF form yet.
#include "RiffFile.h"

namespace zav::platform {

struct RiffFile::State {};

RiffFile::RiffFile(const char*) {}
RiffFile::~RiffFile() = default;
bool RiffFile::isOpen() const { return false; }
bool RiffFile::findForm(std::uint32_t) { return false; }
std::optional<RiffChunk> RiffFile::findChunk(std::uint32_t) { return std::nullopt; }
std::optional<RiffChunk> RiffFile::findList(std::uint32_t) { return std::nullopt; }
bool RiffFile::leave(const RiffChunk&) { return false; }
std::optional<std::uint64_t> RiffFile::tell() { return std::nullopt; }
bool RiffFile::seek(std::uint64_t) { return false; }
std::optional<std::size_t> RiffFile::read(void*, std::size_t) { return std::nullopt; }

}  // namespace zav::platform
