// The ID3v1 genre names, numbered as the genre byte of a tag numbers them.
#ifndef ZAV_AUDIO_ID3V1GENRES_H
#define ZAV_AUDIO_ID3V1GENRES_H

namespace zav::audio {

inline constexpr unsigned kId3v1GenreCount = 148;

// The name of genre `number`; the empty text for a number without a name.
const char* id3v1GenreName(unsigned number);

}  // namespace zav::audio

#endif
