// The suffix by which a plug-in claims a file.
#ifndef ZAV_HOST_SUFFIX_H
#define ZAV_HOST_SUFFIX_H

#include <optional>
#include <string>
#include <string_view>

namespace zav::host {

// The text after the last dot of the file name in `path`, with the ASCII
// letters upper-cased: "a/b.c/Song.mp3" gives "MP3", ".rtf" gives "RTF".
// None when the name holds no dot or nothing follows its last dot.
std::optional<std::string> claimSuffix(std::string_view path);

}  // namespace zav::host

#endif
