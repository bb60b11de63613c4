#include "RiffInfo.h"

#include <algorithm>
#include <new>
#include <vector>

#include "ByteReader.h"
#include "Endian.h"
#include "FileView.h"
#include "RiffFile.h"

namespace zav::audio {

void RiffInfo::reset() {
  form_ = false;
  texts_.clear();
}

bool RiffInfo::readInfo(const char* path, char a, char b, char c, char d) {
  platform::FileView file(path);
  return readInfo(file, a, b, c, d);
}

bool RiffInfo::readInfo(platform::FileView& file, char a, char b, char c, char d) {
  reset();
  platform::RiffFile riff(file);
  if (!riff.isOpen() || !riff.findForm(chunkId(a, b, c, d))) return false;
  form_ = true;
  // The list is looked for among all top-level sub-chunks: writers put it
  // before the audio data as often as after it.
  const auto list = riff.findList(chunkId('I', 'N', 'F', 'O'));
  if (!list) return false;
  // The contents' size is a signed 32-bit count: a list type missing from
  // the size, or a size from 2 GiB on, gives no list.
  const auto contentSize = static_cast<std::int32_t>(list->size - 4u);
  if (contentSize < 0) return false;
  try {
    // Only what the file holds is read (and allocated), however large the
    // list claims to be; a failed read leaves an empty list.
    const auto contents = file.bytesAt(list->dataOffset + 4, static_cast<std::size_t>(contentSize));
    parseInfoList(contents ? *contents : std::span<const std::uint8_t>());
  } catch (const std::bad_alloc&) {
    texts_.clear();
    return false;
  }
  return true;
}

void RiffInfo::parseInfoList(std::span<const std::uint8_t> list) {
  ByteReader reader(list);
  // Each pass consumes at least a sub-chunk header, so the loop ends.
  while (reader.remaining() >= 8) {
    const std::uint32_t id = reader.le32();
    const std::uint32_t size = reader.le32();
    if (size > reader.remaining()) return;
    const auto data = reader.bytes(size);
    const auto end = std::find(data.begin(), data.end(), 0);
    texts_.try_emplace(id, data.begin(), end);
    // A pad byte follows an odd size; a missing final one is no error.
    if (size % 2 == 1) reader.skip(std::min<std::size_t>(1, reader.remaining()));
  }
}

const char* RiffInfo::getText(char a, char b, char c, char d, std::string& text) const {
  text.clear();
  const auto found = texts_.find(chunkId(a, b, c, d));
  if (found != texts_.end()) text = found->second;
  return text.empty() ? "" : text.c_str();
}

}  // namespace zav::audio
