// The ID3v2 tag at the start of an MPEG audio file, up to version 2.3.0.
// Frames are kept by identifier, the first of each identifier winning; only
// ISO-8859-1 text (encoding byte 0) is handed out, unconverted. Only the
// frames an accessor can read are kept (text, link and comment frames), so
// the data of pictures and other large frames is skipped, never read.
#ifndef ZAV_AUDIO_ID3V2TAG_H
#define ZAV_AUDIO_ID3V2TAG_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Id3v2Frame.h"

namespace zav::platform {
class FileView;
}

namespace zav::audio {

class Id3v2Tag {
 public:
  static constexpr std::size_t kHeaderSize = 10;
  // Where the header's fields lie: "ID3", the major version and the
  // revision, the flags, and the body's size in four syncsafe bytes.
  static constexpr std::size_t kMajorOffset = 3;
  static constexpr std::size_t kRevisionOffset = 4;
  static constexpr std::size_t kFlagsOffset = 5;
  static constexpr std::size_t kSizeOffset = 6;
  static constexpr std::uint8_t kFlagUnsynchronisation = 0x80;
  static constexpr std::uint8_t kFlagExtendedHeader = 0x40;

  Id3v2Tag() { resetTag(); }
  virtual ~Id3v2Tag() = default;

  void resetTag();

  // Reads the tag at the start of the file at `path`; true when one was read.
  bool readTag(const char* path);
  bool readTag(platform::FileView& file);

  // The same from the first bytes of a file in memory: the header and a body
  // of the declared size (bytes after it are ignored).
  bool parse(std::span<const std::uint8_t> fileStart);

  bool present() const { return present_; }
  // Major version × 256 + revision; 0x0300 when no tag was read.
  std::uint16_t versionWord() const { return versionWord_; }
  const std::array<std::uint8_t, kHeaderSize>& header() const { return header_; }
  std::size_t frameCount() const { return frames_.size(); }
  const Id3v2Frame* findFrame(std::string_view identifier) const;
  std::span<const std::uint8_t> frameData(const Id3v2Frame& frame) const;

  // Replaces `text` with the text of frame `identifier`, or empties it.
  void getFrameText(std::string_view identifier, std::string& text) const;

  // Each fills the caller's `text` and returns its characters, or a static
  // empty string; valid until `text` changes.
  const char* getTitle(std::string& text) const;
  const char* getArtist(std::string& text) const;
  const char* getAlbum(std::string& text) const;
  const char* getComment(std::string& text) const;
  const char* getEncodedBy(std::string& text) const;
  const char* getTrack(std::string& text) const;
  const char* getYear(std::string& text) const;
  // The text after the last reference in parentheses: "(13)Pop" gives "Pop".
  const char* getGenre(std::string& text) const;
  const char* getComposer(std::string& text) const;
  const char* getOriginalArtist(std::string& text) const;
  const char* getCopyright(std::string& text) const;
  const char* getUrl(std::string& text) const;

  // Combines four seven-bit groups, most significant first; bit 7 of each
  // byte is not masked.
  static std::uint32_t readSyncsafe(std::span<const std::uint8_t, 4> bytes);
  // Drops every 0x00 that follows a 0xFF in the input, in place; returns the
  // number of bytes kept.
  static std::size_t removeUnsynchronisation(std::uint8_t* data, std::size_t length);
  // Whether a ten-byte header starts a tag this reader accepts.
  static bool acceptsHeader(std::span<const std::uint8_t> header);

 private:
  const char* frameText(std::string_view identifier, std::string& text) const;
  void readBody(platform::FileView& body, std::uint64_t start, std::uint64_t end, std::uint8_t flags);

  bool present_ = false;
  std::array<std::uint8_t, kHeaderSize> header_{};
  std::uint16_t versionWord_ = 0x0300;
  std::map<std::uint32_t, Id3v2Frame> frames_;
  // The data of the kept frames, one after another.
  std::vector<std::uint8_t> frameBytes_;
};

}  // namespace zav::audio

#endif
