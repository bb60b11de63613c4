// The fixed 128-byte ID3v1 tag at the end of an MPEG audio file, with the
// version 1.1 track number.
#ifndef ZAV_AUDIO_ID3V1TAG_H
#define ZAV_AUDIO_ID3V1TAG_H

#include <cstddef>
#include <cstdint>
#include <span>

namespace zav::platform {
class FileView;
}

namespace zav::audio {

class Id3v1Tag {
 public:
  static constexpr std::size_t kTagSize = 128;

  Id3v1Tag() { resetTag(); }
  virtual ~Id3v1Tag() = default;

  void resetTag();

  // Reads the last 128 bytes of the file at `path`. True when they hold a tag,
  // else false with the tag reset (no file, a shorter file, no "TAG" marker).
  bool readTag(const char* path);
  bool readTag(platform::FileView& file);

  // The same from the 128 bytes of a tag in memory; any other size is no tag.
  bool parse(std::span<const std::uint8_t> tag);

  bool present() const { return present_; }
  const char* getTitle() const { return title_; }
  const char* getArtist() const { return artist_; }
  const char* getAlbum() const { return album_; }
  const char* getYear() const { return year_; }
  const char* getComment() const { return comment_; }
  // Decimal text of the version 1.1 track number; empty for none. Rewritten
  // on each call.
  const char* getTrack() const;
  // The genre byte's name; empty when the number has none.
  const char* getGenre() const;

 private:
  bool present_ = false;
  char title_[31] = {};
  char artist_[31] = {};
  char album_[31] = {};
  char year_[5] = {};
  std::uint8_t genre_ = 255;
  char comment_[31] = {};
  std::uint8_t track_ = 0;
  mutable char trackText_[4] = {};
};

}  // namespace zav::audio

#endif
