#include "Id3v1Tag.h"

#include <cstdio>
#include <cstring>

#include "ByteReader.h"
#include "Id3v1Genres.h"
#include "FileView.h"

namespace zav::audio {

namespace {

// Copies a fixed-width field up to its first 0 byte and trims the spaces
// that pad it. Trimming starts at the field's last byte, so a field that
// ends in 0 padding keeps the spaces in front of the padding.
void copyField(std::span<const std::uint8_t> field, char* out) {
  const std::size_t width = field.size();
  std::memset(out, 0, width + 1);
  for (std::size_t i = 0; i < width && field[i] != 0; ++i) {
    out[i] = static_cast<char>(field[i]);
  }
  for (std::size_t i = width; i-- > 0 && out[i] == ' ';) out[i] = 0;
}

}  // namespace

void Id3v1Tag::resetTag() {
  present_ = false;
  title_[0] = artist_[0] = album_[0] = year_[0] = comment_[0] = 0;
  trackText_[0] = 0;
  genre_ = 255;
  track_ = 0;
}

bool Id3v1Tag::readTag(const char* path) {
  platform::FileView file(path);
  return readTag(file);
}

bool Id3v1Tag::readTag(platform::FileView& file) {
  resetTag();
  const auto size = file.size();
  if (!size || *size < kTagSize) return false;
  // A short read leaves no tag: bytes that did not arrive are never parsed.
  const auto tag = file.bytesAt(*size - kTagSize, kTagSize);
  if (!tag) return false;
  return parse(*tag);
}

bool Id3v1Tag::parse(std::span<const std::uint8_t> tag) {
  resetTag();
  if (tag.size() != kTagSize) return false;
  ByteReader reader(tag);
  const auto marker = reader.bytes(3);
  if (std::memcmp(marker.data(), "TAG", 3) != 0) return false;
  present_ = true;
  copyField(reader.bytes(30), title_);
  copyField(reader.bytes(30), artist_);
  copyField(reader.bytes(30), album_);
  copyField(reader.bytes(4), year_);
  const auto comment = reader.bytes(30);
  // Version 1.1 gives the last two comment bytes to a 0 and the track.
  if (comment[28] == 0 && comment[29] != 0) {
    track_ = comment[29];
    copyField(comment.first(28), comment_);
  } else {
    track_ = 0;
    copyField(comment, comment_);
  }
  genre_ = reader.u8();
  return true;
}

const char* Id3v1Tag::getTrack() const {
  trackText_[0] = 0;
  if (track_ != 0) std::snprintf(trackText_, sizeof trackText_, "%d", track_);
  return trackText_;
}

const char* Id3v1Tag::getGenre() const { return id3v1GenreName(genre_); }

}  // namespace zav::audio
