#include "MpegAudioInfo.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <optional>

#include "ByteReader.h"
#include "Endian.h"
#include "FileView.h"
#include "Id3v1Tag.h"
#include "Id3v2Tag.h"
#include "RiffFile.h"

namespace zav::audio {

namespace {

constexpr std::uint32_t kXingFramesFlag = 0x1;
constexpr std::uint32_t kXingBytesFlag = 0x2;

struct RiffData {
  std::uint64_t start = 0;
  std::uint64_t size = 0;
};

// The "data" chunk of a RIFF "RMP3" form; zeros when the file is not one.
// The head tells at once whether the walk is worth starting.
RiffData findWrappedData(platform::FileView& file) {
  constexpr std::uint32_t kFormType = chunkId('R', 'M', 'P', '3');
  const auto head = file.bytesAt(0, 12);  // "RIFF", the form's size and its type
  if (!head) return {};
  ByteReader form(*head);
  const std::uint32_t id = form.le32();
  form.skip(4);
  if (id != chunkId('R', 'I', 'F', 'F') || form.le32() != kFormType) return {};
  platform::RiffFile riff(file);
  if (!riff.isOpen() || !riff.findForm(kFormType)) return {};
  const auto data = riff.findChunk(chunkId('d', 'a', 't', 'a'));
  if (!data) return {};
  return {data->dataOffset, data->size};
}

// Whether all 16 bytes of a Xing or Info header arrived and begin with `marker`.
bool startsWith(std::span<const std::uint8_t> afterSideInfo, const char (&marker)[5]) {
  return afterSideInfo.size() >= 16 && std::memcmp(afterSideInfo.data(), marker, 4) == 0;
}

// The first of the offsets 0 to kSearchSpan whose four bytes were read and
// pass the header test. Only an 0xFF byte can start one, and memchr finds
// those faster than testing every offset.
std::optional<std::size_t> findFirstFrame(std::span<const std::uint8_t> window) {
  if (window.size() < 4) return std::nullopt;
  const std::size_t last = std::min(MpegAudioInfo::kSearchSpan, window.size() - 4);
  const std::uint8_t* const start = window.data();
  for (std::size_t offset = 0; offset <= last; ++offset) {
    const void* sync = std::memchr(start + offset, 0xFF, last + 1 - offset);
    if (sync == nullptr) return std::nullopt;
    offset = static_cast<std::size_t>(static_cast<const std::uint8_t*>(sync) - start);
    if (MpegFrameHeader::isFrameHeader(bigEndian32(start + offset))) return offset;
  }
  return std::nullopt;
}

// Whether the start of a window decides the analysis as the whole window
// would: its first frame is found in it, with the side information and all
// 16 bytes behind it (the header after an Info frame is read from the file
// when the bytes at hand lack it).
bool decidesAlone(std::span<const std::uint8_t> look) {
  const auto offset = findFirstFrame(look);
  if (!offset) return false;
  MpegFrameHeader header;
  header.decode(bigEndian32(look.data() + *offset));
  return *offset + 4 + header.sideInfoSize() + 16 <= look.size();
}

template <typename Number>
void appendDecimal(std::string& out, Number value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

}  // namespace

void MpegAudioInfo::reset() {
  valid_ = false;
  header_.vbr = false;
  formatText_ = "unknown";
  timeText_ = "unknown";
}

std::uint64_t MpegAudioInfo::audioEndOf(std::uint64_t fileSize,
                                        std::span<const std::uint8_t> tail) {
  const bool hasTag = tail.size() == Id3v1Tag::kTagSize && fileSize >= Id3v1Tag::kTagSize &&
                      std::memcmp(tail.data(), "TAG", 3) == 0;
  return hasTag ? fileSize - Id3v1Tag::kTagSize : fileSize;
}

std::uint64_t MpegAudioInfo::searchStartOf(std::uint64_t dataStart,
                                           std::span<const std::uint8_t> head) {
  if (head.size() < Id3v2Tag::kHeaderSize || std::memcmp(head.data(), "ID3", 3) != 0) return dataStart;
  // Whole bytes, as the size field is read nowhere else as strictly; a bad
  // syncsafe byte only moves the start, and 64 bits cannot overflow here.
  std::uint64_t size = 0;
  for (const std::uint8_t b : head.subspan(Id3v2Tag::kSizeOffset, 4)) size = size * 128 + b;
  return Id3v2Tag::kHeaderSize + size;
}

bool MpegAudioInfo::analyze(const char* path) {
  platform::FileView file(path);
  return analyze(file);
}

bool MpegAudioInfo::analyzeBytes(std::span<const std::uint8_t> bytes) {
  platform::FileView file(bytes);
  return analyze(file);
}

bool MpegAudioInfo::analyze(platform::FileView& file) {
  reset();
  if (!file.isOpen()) return false;
  const RiffData wrapped = findWrappedData(file);

  std::uint64_t audioEnd = 0;
  if (wrapped.size != 0) {
    audioEnd = wrapped.start + wrapped.size;
  } else {
    const std::uint64_t size = *file.size();
    const std::uint64_t tagStart = size >= Id3v1Tag::kTagSize ? size - Id3v1Tag::kTagSize : 0;
    const auto tail = file.bytesAt(tagStart, Id3v1Tag::kTagSize);
    if (!tail) return false;
    audioEnd = audioEndOf(size, *tail);
  }

  const auto head = file.bytesAt(0, Id3v2Tag::kHeaderSize);
  const std::uint64_t searchStart =
      searchStartOf(wrapped.start, head ? *head : std::span<const std::uint8_t>());
  // A start beyond the end of the file reads nothing and finds no frame.
  // Most streams start right there: a first look decides those as the whole
  // window would, without reading the rest of it.
  const auto look = file.bytesAt(searchStart, kFirstLookSize);
  if (!look) return false;
  if (look->size() < kFirstLookSize || decidesAlone(*look)) {
    return analyzeWindow(audioEnd, searchStart, *look, &file);
  }
  const auto window = file.bytesAt(searchStart, kWindowSize);
  if (!window) return false;
  return analyzeWindow(audioEnd, searchStart, *window, &file);
}

bool MpegAudioInfo::analyzeWindow(std::uint64_t audioEnd, std::uint64_t searchStart,
                                 std::span<const std::uint8_t> window,
                                 platform::FileView* file) {
  reset();
  const auto offset = findFirstFrame(window);
  if (!offset) return false;
  header_.decode(bigEndian32(window.data() + *offset));

  // Everything before the first frame, an ID3v2 tag included, is not audio;
  // a frame at or past the audio end leaves none.
  const std::uint64_t framePosition = searchStart + *offset;
  const std::uint64_t audioBytes = audioEnd > framePosition ? audioEnd - framePosition : 0;
  header_.byteCount = static_cast<std::uint32_t>(
      std::min<std::uint64_t>(audioBytes, std::numeric_limits<std::uint32_t>::max()));
  const std::uint32_t frameLength = header_.frameLength();
  if (frameLength == 0) return false;
  header_.frameCount = header_.byteCount / frameLength;
  header_.duration = header_.durationOf(header_.frameCount);

  const std::size_t xingOffset = *offset + 4 + header_.sideInfoSize();
  const auto afterSideInfo = window.subspan(std::min(xingOffset, window.size()));
  if (startsWith(afterSideInfo, "Xing")) {
    readXingHeader(afterSideInfo);
  } else if (startsWith(afterSideInfo, "Info")) {
    // The next header usually lies in the window; a long first frame at the
    // window's end may put it behind. (Reading it may reuse the window's
    // memory, which is not looked at again.)
    const std::uint64_t next = *offset + std::uint64_t{frameLength};
    std::optional<std::uint32_t> nextHeader;
    if (next + 4 <= window.size()) {
      nextHeader = bigEndian32(window.data() + next);
    } else if (file != nullptr) {
      const auto bytes = file->bytesAt(searchStart + next, 4);
      if (bytes && bytes->size() == 4) nextHeader = bigEndian32(bytes->data());
    }
    takeRateBehindInfoFrame(framePosition, audioEnd, nextHeader);
  }
  render();
  valid_ = true;
  return true;
}

void MpegAudioInfo::readXingHeader(std::span<const std::uint8_t> afterSideInfo) {
  ByteReader reader(afterSideInfo.first(16));
  reader.skip(4);
  const std::uint32_t flags = reader.be32();
  if (flags & kXingFramesFlag) {
    // The count leaves out the frame that holds the Xing header.
    header_.frameCount = reader.be32() + 1;
    header_.duration = header_.durationOf(header_.frameCount);
  }
  if (flags & kXingBytesFlag) header_.byteCount = reader.be32();
  // Bytes × 8 ÷ milliseconds is kbit/s. Without a duration there is nothing
  // to average over, and the first frame's rate stands.
  if (header_.duration != 0) {
    const std::uint64_t average = std::uint64_t{header_.byteCount} * 8 / header_.duration;
    header_.bitRate = static_cast<std::int32_t>(
        std::min<std::uint64_t>(average, std::numeric_limits<std::int32_t>::max()));
  }
  header_.vbr = true;
}

void MpegAudioInfo::takeRateBehindInfoFrame(std::uint64_t framePosition,
                                             std::uint64_t audioEnd,
                                             std::optional<std::uint32_t> nextHeader) {
  // Some encoders write the "Info" frame at the smallest rate that holds
  // it, below the stream's own; the frame behind it tells the real rate.
  // Anything that is not plainly the same stream at another rate changes
  // nothing.
  const std::uint64_t next = framePosition + header_.frameLength();
  if (!nextHeader || next + 4 > audioEnd || !MpegFrameHeader::isFrameHeader(*nextHeader)) return;
  MpegFrameHeader second;
  second.decode(*nextHeader);
  if (second.bitRateIndex == 0 || second.lsf != header_.lsf || second.mpeg25 != header_.mpeg25 ||
      second.layer != header_.layer || second.sampleRate != header_.sampleRate ||
      second.bitRate == header_.bitRate) {
    return;
  }
  header_.bitRate = second.bitRate;
  header_.frameSize = second.frameSize;
  header_.frameCount = header_.byteCount / second.frameLength();
  header_.duration = header_.durationOf(header_.frameCount);
}

void MpegAudioInfo::render() {
  // Built piece by piece: printf's format parsing cost more than the rest
  // of a file's analysis.
  std::string& format = formatText_;
  format = "MPEG";
  format += header_.versionText();
  format += " Layer-";
  appendDecimal(format, static_cast<long>(header_.layer));
  format += ", ";
  appendDecimal(format, static_cast<long>(header_.bitRate));
  format += header_.vbr ? "Kbits/s(VBR), " : "Kbits/s, ";
  appendDecimal(format, static_cast<long>(header_.sampleRate));
  format += "Hz, ";
  format += header_.channelModeName();

  const unsigned long seconds = header_.duration / 1000u;
  std::string& time = timeText_;
  time.clear();
  appendDecimal(time, seconds / 60);
  time += ':';
  if (seconds % 60 < 10) time += '0';
  appendDecimal(time, seconds % 60);
  time += " (";
  appendDecimal(time, seconds);
  time += "sec) ";
  appendDecimal(time, static_cast<unsigned long>(header_.frameCount));
  time += "frames";
}

}  // namespace zav::audio
