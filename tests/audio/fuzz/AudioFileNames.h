// The audio open target's input is one byte that picks the file's name,
// then the file. The names cover every suffix the plug-in claims, in more
// than one letter case, and names it refuses.
#ifndef ZAV_TESTS_AUDIO_FUZZ_AUDIOFILENAMES_H
#define ZAV_TESTS_AUDIO_FUZZ_AUDIOFILENAMES_H

#include <array>
#include <cstddef>
#include <string_view>

namespace zav::fuzz {

inline constexpr std::array<const char*, 10> kAudioFileNames{
    "a.mp3", "b.MP3", "c.mp2", "d.Mp1", "e.wav", "f.WAV", "g.avi", "h.mp3.avi", "i.txt", "j"};

// The name byte for a file name's suffix; the last name when none matches.
inline std::size_t audioNameIndex(std::string_view fileName) {
  const auto suffixOf = [](std::string_view name) {
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
  };
  const auto lower = [](std::string_view text) {
    std::array<char, 8> out{};
    for (std::size_t i = 0; i < text.size() && i < out.size(); ++i) {
      out[i] = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    }
    return out;
  };
  for (std::size_t i = 0; i < kAudioFileNames.size(); ++i) {
    if (lower(suffixOf(kAudioFileNames[i])) == lower(suffixOf(fileName))) return i;
  }
  return kAudioFileNames.size() - 1;
}

}  // namespace zav::fuzz

#endif
