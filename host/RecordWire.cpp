#include "RecordWire.h"

#include <span>
#include <stdexcept>
#include <vector>

#include "ByteReader.h"
#include "Endian.h"

namespace zav::host::wire {

namespace {

template <typename Number>
void put(std::string& out, Number value) {
  char bytes[sizeof(Number)];
  storeLittleEndian(static_cast<std::uint64_t>(value), sizeof bytes, bytes);
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

// Reads fields from a payload; a field that would pass its end throws.
class Reader {
 public:
  explicit Reader(std::string_view payload)
      : cursor_(std::span(reinterpret_cast<const std::uint8_t*>(payload.data()), payload.size())) {}

  std::uint8_t u8() { return checked(cursor_.u8()); }
  std::uint32_t u32() { return checked(cursor_.le32()); }
  std::uint64_t u64() { return checked(cursor_.le64()); }
  std::string bytes() {
    const auto field = checked(cursor_.bytes(u32()));
    return std::string(reinterpret_cast<const char*>(field.data()), field.size());
  }
  Text text() {
    Text text{bytes(), std::nullopt};
    if (u8() != 0) text.raw = bytes();
    return text;
  }
  bool atEnd() const { return cursor_.remaining() == 0; }

 private:
  template <typename Field>
  Field checked(Field field) const {
    if (!cursor_.ok()) throw std::runtime_error("a worker sent a malformed record");
    return field;
  }

  ByteReader cursor_;
};

// Reserves the frame's length field; finishFrame fills it in.
std::size_t startFrame(std::string& out) {
  const std::size_t start = out.size();
  out.append(kFrameHeader, '\0');
  return start;
}

void finishFrame(std::string& out, std::size_t start) {
  const auto length = static_cast<std::uint32_t>(out.size() - start - kFrameHeader);
  storeLittleEndian(length, kFrameHeader, out.data() + start);
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
  const std::uint32_t length = littleEndian32(reinterpret_cast<const std::uint8_t*>(bytes.data()));
  if (bytes.size() - kFrameHeader < length) return std::nullopt;
  consumed = kFrameHeader + length;
  return bytes.substr(kFrameHeader, length);
}

FileRecord readRecord(std::string_view payload, std::uint64_t& index) {
  Reader in(payload);
  FileRecord record;
  index = in.u64();
  const auto status = in.u8();
  if (status >= kFileStatusCount) throw std::runtime_error("a worker sent an unknown status");
  record.status = static_cast<FileStatus>(status);
  record.openResult = static_cast<std::int32_t>(in.u32());
  record.size = static_cast<std::int64_t>(in.u64());
  record.modified = static_cast<std::int64_t>(in.u64());
  record.plugin = in.bytes();
  record.reason = in.bytes();
  record.path = in.text();
  record.relativePath = in.text();
  const auto properties = in.u32();
  for (std::uint32_t i = 0; i < properties; ++i) {
    RecordProperty property;
    property.key = static_cast<std::int32_t>(in.u32());
    property.name = in.bytes();
    property.title = in.text();
    property.value = in.text();
    record.properties.push_back(std::move(property));
  }
  const auto lines = in.u32();
  for (std::uint32_t i = 0; i < lines; ++i) record.lines.push_back(in.text());
  if (!in.atEnd()) throw std::runtime_error("a worker sent a malformed record");
  return record;
}

void readJobs(std::string_view payload, std::vector<ReceivedJob>& jobs) {
  Reader in(payload);
  while (!in.atEnd()) {
    ReceivedJob job;
    job.index = in.u64();
    job.path = in.bytes();
    job.relativePath = in.bytes();
    jobs.push_back(std::move(job));
  }
}

}  // namespace zav::host::wire
