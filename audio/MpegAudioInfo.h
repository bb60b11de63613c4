// Analysis of an MPEG audio file from its first frame: format, and a playing
// time estimated from the audio bytes or taken from a Xing header. The
// stream is never decoded or walked frame by frame.
#ifndef ZAV_AUDIO_MPEGAUDIOINFO_H
#define ZAV_AUDIO_MPEGAUDIOINFO_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "MpegFrameHeader.h"

namespace zav::platform {
class FileView;
}

namespace zav::audio {

class MpegAudioInfo {
 public:
  // Offsets after the search start at which a first frame may begin.
  static constexpr std::size_t kSearchSpan = 10240;
  // Bytes read from the search start: every candidate header, and the side
  // information and Xing header behind the last one.
  static constexpr std::size_t kWindowSize = kSearchSpan + 4 + 32 + 16;
  // What is read first of the window; the rest only when the first frame
  // and what follows it do not lie in this much.
  static constexpr std::size_t kFirstLookSize = 2048;

  MpegAudioInfo() = default;
  virtual ~MpegAudioInfo() = default;

  // Analyses the file at `path`, which may be wrapped in a RIFF "RMP3" form.
  // True on success with both texts rendered.
  bool analyze(const char* path);
  bool analyze(platform::FileView& file);

  // The same for a whole file in memory.
  bool analyzeBytes(std::span<const std::uint8_t> file);

  // The core over bytes already read: `window` holds the bytes from
  // `searchStart` on (up to kWindowSize); audio ends at `audioEnd`. A frame
  // header behind the window is read from `file`, when given.
  bool analyzeWindow(std::uint64_t audioEnd, std::uint64_t searchStart,
                    std::span<const std::uint8_t> window, platform::FileView* file = nullptr);

  // Where audio ends in an unwrapped file of `fileSize` bytes whose last
  // (up to) 128 bytes are `tail`: before a complete ID3v1 tag, if any.
  static std::uint64_t audioEndOf(std::uint64_t fileSize, std::span<const std::uint8_t> tail);
  // Where the frame search starts: behind an ID3v2 tag that `head` (the
  // first bytes of the file) announces, else at `dataStart`.
  static std::uint64_t searchStartOf(std::uint64_t dataStart, std::span<const std::uint8_t> head);

  bool isValid() const { return valid_; }
  const char* getFormatText() const { return formatText_.c_str(); }
  const char* getTimeText() const { return timeText_.c_str(); }
  const MpegFrameHeader& header() const { return header_; }

 private:
  void reset();
  void readXingHeader(std::span<const std::uint8_t> afterSideInfo);
  void takeRateBehindInfoFrame(std::uint64_t framePosition, std::uint64_t audioEnd,
                               std::optional<std::uint32_t> nextHeader);
  void render();

  bool valid_ = false;
  MpegFrameHeader header_;
  std::string formatText_;
  std::string timeText_;
};

}  // namespace zav::audio

#endif
