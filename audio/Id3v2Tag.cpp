#include "Id3v2Tag.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "ByteReader.h"
#include "Endian.h"
#include "FileView.h"

namespace zav::audio {

namespace {

constexpr std::size_t kFrameHeaderSize = 10;

constexpr std::uint32_t kCommentKey = 0x434F4D4D;  // "COMM"

std::uint32_t frameKey(const std::array<std::uint8_t, 4>& identifier) {
  return bigEndian32(identifier.data());
}

std::uint32_t bodySizeOf(const std::array<std::uint8_t, Id3v2Tag::kHeaderSize>& header) {
  return Id3v2Tag::readSyncsafe(std::span(header).subspan<Id3v2Tag::kSizeOffset, 4>());
}

}  // namespace

void Id3v2Tag::resetTag() {
  present_ = false;
  header_ = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0};
  versionWord_ = 0x0300;
  frames_.clear();
  frameBytes_.clear();
}

std::uint32_t Id3v2Tag::readSyncsafe(std::span<const std::uint8_t, 4> b) {
  return (std::uint32_t{b[0]} << 21) | (std::uint32_t{b[1]} << 14) |
         (std::uint32_t{b[2]} << 7) | std::uint32_t{b[3]};
}

std::size_t Id3v2Tag::removeUnsynchronisation(std::uint8_t* data, std::size_t length) {
  // Runs up to each FF move whole; a 00 right after an FF goes. The test
  // looks at the input: in FF 00 00 only the first 00 goes.
  std::size_t kept = 0;
  std::size_t i = 0;
  while (i < length) {
    const void* found = std::memchr(data + i, 0xFF, length - i);
    const std::size_t runEnd =
        found != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - data) + 1
                         : length;
    if (kept != i) std::memmove(data + kept, data + i, runEnd - i);
    kept += runEnd - i;
    i = runEnd;
    if (found != nullptr && i < length && data[i] == 0x00) ++i;
  }
  return kept;
}

bool Id3v2Tag::acceptsHeader(std::span<const std::uint8_t> header) {
  if (header.size() < kHeaderSize || std::memcmp(header.data(), "ID3", 3) != 0) return false;
  const std::uint8_t major = header[kMajorOffset];
  const std::uint8_t revision = header[kRevisionOffset];
  // Everything up to 2.3.0 is read in the 2.3 layout; later layouts differ.
  return (major == 3 && revision == 0) || (major <= 2 && revision < 0x80);
}

bool Id3v2Tag::readTag(const char* path) {
  platform::FileView file(path);
  return readTag(file);
}

bool Id3v2Tag::parse(std::span<const std::uint8_t> fileStart) {
  platform::FileView file(fileStart);
  return readTag(file);
}

bool Id3v2Tag::readTag(platform::FileView& file) {
  resetTag();
  const auto header = file.bytesAt(0, kHeaderSize);
  if (!header || header->size() != kHeaderSize || !acceptsHeader(*header)) return false;
  std::array<std::uint8_t, kHeaderSize> kept;
  std::copy(header->begin(), header->end(), kept.begin());
  // A body larger than the rest of the file cannot be read whole: decide
  // that before reading or allocating anything a size field asks for.
  const std::uint32_t bodySize = bodySizeOf(kept);
  const auto fileSize = file.size();
  if (!fileSize || *fileSize - kHeaderSize < bodySize) return false;
  const std::uint8_t flags = kept[kFlagsOffset];
  try {
    if (flags & kFlagUnsynchronisation) {
      // Frame sizes count the bytes after the inserted zeros are removed,
      // so the whole body is read and undone first.
      const auto body = file.bytesAt(kHeaderSize, bodySize);
      if (!body || body->size() != bodySize) return false;
      std::vector<std::uint8_t> undone(body->begin(), body->end());
      undone.resize(removeUnsynchronisation(undone.data(), undone.size()));
      platform::FileView view(undone);
      readBody(view, 0, undone.size(), flags);
    } else {
      readBody(file, kHeaderSize, kHeaderSize + std::uint64_t{bodySize}, flags);
    }
  } catch (const std::bad_alloc&) {
    resetTag();
    return false;
  }
  header_ = kept;
  header_[kFlagsOffset] &= static_cast<std::uint8_t>(~kFlagExtendedHeader);
  versionWord_ = static_cast<std::uint16_t>(kept[kMajorOffset] << 8 | kept[kRevisionOffset]);
  present_ = true;
  return true;
}

void Id3v2Tag::readBody(platform::FileView& body, std::uint64_t position, std::uint64_t end,
                        std::uint8_t flags) {
  if (flags & kFlagExtendedHeader) {
    const auto sizeBytes = body.bytesAt(position, 4);
    // An extended header that overruns the body leaves a tag without frames.
    if (!sizeBytes || sizeBytes->size() != 4 || end - position < 4) return;
    const std::uint32_t extendedSize = readSyncsafe(sizeBytes->first<4>());
    if (end - position - 4 < extendedSize) return;
    position += 4 + std::uint64_t{extendedSize};
  }
  // Each pass moves past at least one frame header, so the loop ends.
  while (end - position >= kFrameHeaderSize) {
    const auto header = body.bytesAt(position, kFrameHeaderSize);
    if (!header || header->size() != kFrameHeaderSize) return;
    ByteReader reader(*header);
    Id3v2Frame frame;
    const auto identifier = reader.bytes(4);
    std::copy(identifier.begin(), identifier.end(), frame.identifier.begin());
    frame.size = reader.be32();
    frame.flags = reader.be16();
    position += kFrameHeaderSize;
    if (frame.size > end - position) return;
    // Four 0 bytes start the padding after the last frame.
    if (frameKey(frame.identifier) == 0) return;
    const bool readable = frame.identifier[0] == 'T' || frame.identifier[0] == 'W' ||
                          frameKey(frame.identifier) == kCommentKey;
    if (readable && !frames_.contains(frameKey(frame.identifier))) {
      const auto data = body.bytesAt(position, frame.size);
      if (!data || data->size() != frame.size) return;
      frame.offset = static_cast<std::uint32_t>(frameBytes_.size());
      frameBytes_.insert(frameBytes_.end(), data->begin(), data->end());
      frames_.emplace(frameKey(frame.identifier), frame);
    }
    position += frame.size;
  }
}

const Id3v2Frame* Id3v2Tag::findFrame(std::string_view identifier) const {
  if (identifier.size() != 4) return nullptr;
  const auto key = bigEndian32(reinterpret_cast<const std::uint8_t*>(identifier.data()));
  const auto found = frames_.find(key);
  return found == frames_.end() ? nullptr : &found->second;
}

std::span<const std::uint8_t> Id3v2Tag::frameData(const Id3v2Frame& frame) const {
  return std::span<const std::uint8_t>(frameBytes_).subspan(frame.offset, frame.size);
}

void Id3v2Tag::getFrameText(std::string_view identifier, std::string& text) const {
  text.clear();
  if (identifier.empty()) return;
  const char kind = identifier[0];
  if (kind == 'C' && identifier != "COMM") return;
  if (kind != 'C' && kind != 'T' && kind != 'W') return;
  const Id3v2Frame* frame = findFrame(identifier);
  if (frame == nullptr) return;
  const auto data = frameData(*frame);
  // Only ISO-8859-1 text is read; other encodings yield nothing.
  if (data.empty() || data[0] != 0) return;
  if (kind == 'T') {
    text.assign(data.begin() + 1, data.end());
    return;
  }
  // "COMM" has a three-byte language before its description; "WXXX" none.
  const std::size_t descriptionStart = kind == 'C' ? 4 : 1;
  if (data.size() <= descriptionStart) return;
  const auto description = data.subspan(descriptionStart);
  const auto terminator = std::find(description.begin(), description.end(), 0);
  if (terminator == description.end()) return;
  text.assign(terminator + 1, description.end());
}

const char* Id3v2Tag::frameText(std::string_view identifier, std::string& text) const {
  getFrameText(identifier, text);
  return text.empty() ? "" : text.c_str();
}

const char* Id3v2Tag::getTitle(std::string& text) const { return frameText("TIT2", text); }
const char* Id3v2Tag::getArtist(std::string& text) const { return frameText("TPE1", text); }
const char* Id3v2Tag::getAlbum(std::string& text) const { return frameText("TALB", text); }
const char* Id3v2Tag::getComment(std::string& text) const { return frameText("COMM", text); }
const char* Id3v2Tag::getEncodedBy(std::string& text) const { return frameText("TENC", text); }
const char* Id3v2Tag::getTrack(std::string& text) const { return frameText("TRCK", text); }
const char* Id3v2Tag::getYear(std::string& text) const { return frameText("TYER", text); }
const char* Id3v2Tag::getComposer(std::string& text) const { return frameText("TCOM", text); }
const char* Id3v2Tag::getOriginalArtist(std::string& text) const {
  return frameText("TOPE", text);
}
const char* Id3v2Tag::getCopyright(std::string& text) const { return frameText("TCOP", text); }
const char* Id3v2Tag::getUrl(std::string& text) const { return frameText("WXXX", text); }

const char* Id3v2Tag::getGenre(std::string& text) const {
  std::string content;
  getFrameText("TCON", content);
  // References such as "(13)" are skipped, not looked up. Parentheses do
  // not nest, and a run of two or more '(' starts no reference: it is kept
  // as written.
  bool insideReference = false;
  std::size_t start = 0;
  const std::size_t n = content.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = content[i];
    if (insideReference) {
      if (c == ')') {
        insideReference = false;
        start = i + 1;
      }
    } else if (c == '(') {
      const bool doubled = (i > 0 && content[i - 1] == '(') || (i + 1 < n && content[i + 1] == '(');
      insideReference = !doubled;
    }
  }
  text.assign(content.c_str() + start);
  return text.empty() ? "" : text.c_str();
}

}  // namespace zav::audio
