// The property keys of both plug-ins, and the stable English name of each.
// The keys are the contract's numbers; the names are what a catalog shows
// where the Japanese titles will not do (JSON, CSV columns, search fields).
#ifndef ZAV_COMMON_PROPERTYKEYS_H
#define ZAV_COMMON_PROPERTYKEYS_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zav {

// The plug-ins' own names, which tell the host whose keys 129 and up are.
inline constexpr const char* kAudioPluginName = "Audio";
inline constexpr const char* kRtfPluginName = "RTF-P";

// Keys 1 to 11 mean the same in both plug-ins; from 129 up each plug-in
// gives the numbers its own meaning.
enum class PropertyKey : std::int32_t {
  title = 1,
  subject = 2,
  category = 3,
  keywords = 4,
  comment = 5,
  author = 6,
  application = 7,
  company = 8,
  manager = 9,
  created = 10,
  saved = 11,
  // zavaudio
  track = 129,
  year = 130,
  genre = 131,
  composer = 132,
  originalArtist = 133,
  copyright = 134,
  url = 135,
  format = 136,
  time = 137,
  engineer = 138,
  source = 139,
  // zavrtfp
  rtfOperator = 129,
  rtfVersion = 130,
};

constexpr std::int32_t keyNumber(PropertyKey key) { return static_cast<std::int32_t>(key); }

struct PropertyName {
  PropertyKey key;
  std::string_view name;
};

inline constexpr std::array<PropertyName, 11> kCommonPropertyNames{{
    {PropertyKey::title, "title"},
    {PropertyKey::subject, "subject"},
    {PropertyKey::category, "category"},
    {PropertyKey::keywords, "keywords"},
    {PropertyKey::comment, "comment"},
    {PropertyKey::author, "author"},
    {PropertyKey::application, "application"},
    {PropertyKey::company, "company"},
    {PropertyKey::manager, "manager"},
    {PropertyKey::created, "created"},
    {PropertyKey::saved, "saved"},
}};

inline constexpr std::array<PropertyName, 11> kAudioPropertyNames{{
    {PropertyKey::track, "track"},
    {PropertyKey::year, "year"},
    {PropertyKey::genre, "genre"},
    {PropertyKey::composer, "composer"},
    {PropertyKey::originalArtist, "original_artist"},
    {PropertyKey::copyright, "copyright"},
    {PropertyKey::url, "url"},
    {PropertyKey::format, "format"},
    {PropertyKey::time, "time"},
    {PropertyKey::engineer, "engineer"},
    {PropertyKey::source, "source"},
}};

inline constexpr std::array<PropertyName, 2> kRtfPropertyNames{{
    {PropertyKey::rtfOperator, "operator"},
    {PropertyKey::rtfVersion, "version"},
}};

// The name of `key` as the plug-in called `pluginName` means it; nothing
// for a key that plug-in does not name (or a plug-in we do not know).
constexpr std::optional<std::string_view> knownPropertyName(std::string_view pluginName,
                                                            std::int32_t key) {
  for (const PropertyName& row : kCommonPropertyNames) {
    if (keyNumber(row.key) == key) return row.name;
  }
  const auto search = [key](const auto& rows) -> std::optional<std::string_view> {
    for (const PropertyName& row : rows) {
      if (keyNumber(row.key) == key) return row.name;
    }
    return std::nullopt;
  };
  if (pluginName == kAudioPluginName) return search(kAudioPropertyNames);
  if (pluginName == kRtfPluginName) return search(kRtfPropertyNames);
  return std::nullopt;
}

// As knownPropertyName, with "key_N" for a key without a name.
inline std::string propertyName(std::string_view pluginName, std::int32_t key) {
  if (const auto known = knownPropertyName(pluginName, key)) return std::string(*known);
  return "key_" + std::to_string(key);
}

}  // namespace zav

#endif
