#include "RecordWire.h"

#include <cstring>
#include <stdexcept>
#include <vector>

namespace zav::host::wire {

namespace {

template <typename Number>
void put(std::string& out, Number value) {
  char bytes[sizeof(Number)];
  for (std::size_t i = 0; i < sizeof(Number); ++i) {
    bytes[i] = static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF);
  }
  out.append(bytes, sizeof bytes);
}

void putBytes(std::string& out, std::string_view bytes) {
  put(out, static_cast<std::uint32_t>(bytes.size()));
  out += bytes;
}

void putText(std::string& out, const Text& text) {
  putBytes(out, text.text);
  out += static_cast<char>(text.raw ? 1 : 0);
  if (text.raw) putBytes(out, *text.raw);
}

// Reads fields from a payload; never past its end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  template <typename Number>
  Number get() {
    const std::string_view field = take(sizeof(Number));
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < sizeof(Number); ++i) {
      value |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(field[i])) << (8 * i);
    }
    return static_cast<Number>(value);
  }
  std::string bytes() { return std::string(take(get<std::uint32_t>())); }
  Text text() {
    Text text{bytes(), std::nullopt};
    if (get<std::uint8_t>() != 0) text.raw = bytes();
    return text;
  }
  bool atEnd() const { return bytes_.empty(); }

 private:
  std::string_view take(std::size_t count) {
    if (count > bytes_.size()) throw std::runtime_error("a worker sent a malformed record");
    const std::string_view field = bytes_.substr(0, count);
    bytes_.remove_prefix(count);
    return field;
  }

  std::string_view bytes_;
};

// Reserves the frame's length field; finishFrame fills it in.
std::size_t startFrame(std::string& out) {
  const std::size_t start = out.size();
  out.append(kFrameHeader, '\0');
  return start;
}

void finishFrame(std::string& out, std::size_t start) {
  const auto length = static_cast<std::uint32_t>(out.size() - start - kFrameHeader);
  for (std::size_t i = 0; i < kFrameHeader; ++i) out[start + i] = static_cast<char>(length >> (8 * i));
}

}  // namespace

void appendRecord(std::string& out, std::uint64_t index, const FileRecord& record) {
  const std::size_t frame = startFrame(out);
  put(out, index);
  put(out, static_cast<std::uint8_t>(record.status));
  put(out, static_cast<std::int32_t>(record.openResult));
  put(out, record.size);
  put(out, record.modified);
  putBytes(out, record.plugin);
  putBytes(out, record.reason);
  putText(out, record.path);
  putText(out, record.relativePath);
  put(out, static_cast<std::uint32_t>(record.properties.size()));
  for (const RecordProperty& property : record.properties) {
    put(out, property.key);
    putBytes(out, property.name);
    putText(out, property.title);
    putText(out, property.value);
  }
  put(out, static_cast<std::uint32_t>(record.lines.size()));
  for (const Text& line : record.lines) putText(out, line);
  finishFrame(out, frame);
}

void appendJobs(std::string& out, const Job* jobs, std::size_t count) {
  const std::size_t frame = startFrame(out);
  for (std::size_t i = 0; i < count; ++i) {
    put(out, jobs[i].index);
    putBytes(out, *jobs[i].path);
    putBytes(out, *jobs[i].relativePath);
  }
  finishFrame(out, frame);
}

std::optional<std::string_view> nextFrame(std::string_view bytes, std::size_t& consumed) {
  if (bytes.size() < kFrameHeader) return std::nullopt;
  std::uint32_t length = 0;
  for (std::size_t i = 0; i < kFrameHeader; ++i) {
    length |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[i])) << (8 * i);
  }
  if (bytes.size() - kFrameHeader < length) return std::nullopt;
  consumed = kFrameHeader + length;
  return bytes.substr(kFrameHeader, length);
}

FileRecord readRecord(std::string_view payload, std::uint64_t& index) {
  Reader in(payload);
  FileRecord record;
  index = in.get<std::uint64_t>();
  const auto status = in.get<std::uint8_t>();
  if (status >= kFileStatusCount) throw std::runtime_error("a worker sent an unknown status");
  record.status = static_cast<FileStatus>(status);
  record.openResult = in.get<std::int32_t>();
  record.size = in.get<std::int64_t>();
  record.modified = in.get<std::int64_t>();
  record.plugin = in.bytes();
  record.reason = in.bytes();
  record.path = in.text();
  record.relativePath = in.text();
  const auto properties = in.get<std::uint32_t>();
  for (std::uint32_t i = 0; i < properties; ++i) {
    RecordProperty property;
    property.key = in.get<std::int32_t>();
    property.name = in.bytes();
    property.title = in.text();
    property.value = in.text();
    record.properties.push_back(std::move(property));
  }
  const auto lines = in.get<std::uint32_t>();
  for (std::uint32_t i = 0; i < lines; ++i) record.lines.push_back(in.text());
  if (!in.atEnd()) throw std::runtime_error("a worker sent a malformed record");
  return record;
}

void readJobs(std::string_view payload, std::vector<ReceivedJob>& jobs) {
  Reader in(payload);
  while (!in.atEnd()) {
    ReceivedJob job;
    job.index = in.get<std::uint64_t>();
    job.path = in.bytes();
    job.relativePath = in.bytes();
    jobs.push_back(std::move(job));
  }
}

}  // namespace zav::host::wire
