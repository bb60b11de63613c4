// Records between a scan worker and its parent: length-prefixed frames of
// plain little-endian fields, cheap to write and to check.
#ifndef ZAV_HOST_RECORDWIRE_H
#define ZAV_HOST_RECORDWIRE_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Record.h"

namespace zav::host::wire {

// A frame: a 4-byte payload length, then the payload.
inline constexpr std::size_t kFrameHeader = 4;

// Appends one frame holding the record of file number `index`.
void appendRecord(std::string& out, std::uint64_t index, const FileRecord& record);

// Appends one frame holding the files a worker is to read, each with its number.
struct Job {
  std::uint64_t index;
  const std::string* path;
  const std::string* relativePath;
};
void appendJobs(std::string& out, const Job* jobs, std::size_t count);

// The payload of the first whole frame in `bytes`, or none while it is
// still incomplete; `consumed` is then the frame's full size.
std::optional<std::string_view> nextFrame(std::string_view bytes, std::size_t& consumed);

// Decoders for payloads; they throw std::runtime_error on malformed input.
FileRecord readRecord(std::string_view payload, std::uint64_t& index);
struct ReceivedJob {
  std::uint64_t index;
  std::string path;
  std::string relativePath;
};
void readJobs(std::string_view payload, std::vector<ReceivedJob>& jobs);

}  // namespace zav::host::wire

#endif
