// The INFO list of a RIFF file of form "WAVE" or "AVI ": the text of each
// INFO sub-chunk under its identifier, as the file holds it.
#ifndef ZAV_AUDIO_RIFFINFO_H
#define ZAV_AUDIO_RIFFINFO_H

#include <cstdint>
#include <map>
#include <span>
#include <string>

namespace zav::platform {
class FileView;
}

namespace zav::audio {

class RiffInfo {
 public:
  RiffInfo() = default;
  virtual ~RiffInfo() = default;

  // Checks that the file at `path` is a RIFF form of type a b c d and reads
  // its top-level INFO list. True when a list was found and parsed (even an
  // empty one); hasForm tells apart a file of the right form without one.
  bool readInfo(const char* path, char a, char b, char c, char d);
  bool readInfo(platform::FileView& file, char a, char b, char c, char d);

  // Keeps the text of each sub-chunk of an INFO list's contents (the bytes
  // after the list type); the first sub-chunk of an identifier wins.
  void parseInfoList(std::span<const std::uint8_t> list);

  bool hasForm() const { return form_; }

  // Fills the caller's `text` with the text of sub-chunk a b c d, or empties
  // it; returns its characters, valid until `text` changes.
  const char* getText(char a, char b, char c, char d, std::string& text) const;

 private:
  void reset();

  bool form_ = false;
  std::map<std::uint32_t, std::string> texts_;
};

}  // namespace zav::audio

#endif
