#include "AudioOpen.h"

#include <array>
#include <string>

#include "FileView.h"
#include "Id3v1Tag.h"
#include "Id3v2Tag.h"
#include "MpegAudioInfo.h"
#include "Platform.h"
#include "PropertyKeys.h"
#include "RiffInfo.h"

namespace zav::audio {

namespace {

using enum PropertyKey;

constexpr PropertyRow row(PropertyKey key, std::int32_t titleId) { return {keyNumber(key), titleId}; }

// In presentation order, each with the string resource of its title.
constexpr std::array<PropertyRow, 22> kCatalogue{{
    row(title, 396),     row(subject, 397),        row(author, 401),      row(keywords, 399),
    row(comment, 400),   row(category, 398),       row(application, 402), row(company, 403),
    row(manager, 404),   row(created, 405),        row(saved, 406),       row(track, 407),
    row(year, 408),      row(genre, 409),          row(composer, 410),    row(originalArtist, 411),
    row(copyright, 412), row(url, 413),            row(format, 414),      row(time, 415),
    row(engineer, 416),  row(source, 417),
}};

enum class Kind { none, mpeg, wave, avi };

// Compares ignoring the case of A to Z only, whatever the locale says.
bool equalsIgnoringAsciiCase(const char* text, const char* lowerCase) {
  for (; *text != 0 && *lowerCase != 0; ++text, ++lowerCase) {
    char c = *text;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != *lowerCase) return false;
  }
  return *text == *lowerCase;
}

Kind kindOf(const char* suffix) {
  for (const char* mpeg : {".mp3", ".mp2", ".mp1"}) {
    if (equalsIgnoringAsciiCase(suffix, mpeg)) return Kind::mpeg;
  }
  if (equalsIgnoringAsciiCase(suffix, ".wav")) return Kind::wave;
  if (equalsIgnoringAsciiCase(suffix, ".avi")) return Kind::avi;
  return Kind::none;
}

// The readers of one open call; whatever was not run stays in its initial
// state and adds nothing.
struct Readers {
  Id3v1Tag id3v1;
  Id3v2Tag id3v2;
  MpegAudioInfo mpeg;
  RiffInfo riff;
};

void store(PropertyTable& properties, PropertyKey key, const char* text) {
  properties.setProperty(keyNumber(key), text);
}

// Each table lists where the values of one reader go, in the order they are
// stored: a later non-empty value for a key replaces an earlier one.

struct MpegRow {
  PropertyKey key;
  const char* (MpegAudioInfo::*text)() const;
};
constexpr MpegRow kMpegRows[] = {
    {format, &MpegAudioInfo::getFormatText},
    {time, &MpegAudioInfo::getTimeText},
};

struct Id3v1Row {
  PropertyKey key;
  const char* (Id3v1Tag::*text)() const;
};
constexpr Id3v1Row kId3v1Rows[] = {
    {title, &Id3v1Tag::getTitle},     {author, &Id3v1Tag::getArtist}, {subject, &Id3v1Tag::getAlbum},
    {comment, &Id3v1Tag::getComment}, {track, &Id3v1Tag::getTrack},   {year, &Id3v1Tag::getYear},
    {genre, &Id3v1Tag::getGenre},
};

struct Id3v2Row {
  PropertyKey key;
  const char* (Id3v2Tag::*text)(std::string&) const;
};
constexpr Id3v2Row kId3v2Rows[] = {
    {title, &Id3v2Tag::getTitle},
    {author, &Id3v2Tag::getArtist},
    {subject, &Id3v2Tag::getAlbum},
    {comment, &Id3v2Tag::getComment},
    {application, &Id3v2Tag::getEncodedBy},
    {track, &Id3v2Tag::getTrack},
    {year, &Id3v2Tag::getYear},
    {genre, &Id3v2Tag::getGenre},
    {composer, &Id3v2Tag::getComposer},
    {originalArtist, &Id3v2Tag::getOriginalArtist},
    {copyright, &Id3v2Tag::getCopyright},
    {url, &Id3v2Tag::getUrl},
};

struct RiffRow {
  PropertyKey key;
  char chunk[5];
};
constexpr RiffRow kRiffRows[] = {
    {title, "ISBJ"},
    {author, "IART"},
    {comment, "ICMT"},
    {application, "ISFT"},
    {created, "ICRD"},
    // The comment fills the genre as well; existing catalogs show it there.
    {genre, "ICMT"},
    {copyright, "ICOP"},
    {engineer, "IENG"},
    {source, "ISRC"},
};

bool storeMpegAnalysis(const MpegAudioInfo& mpeg, PropertyTable& properties) {
  if (!mpeg.isValid()) return false;
  for (const MpegRow& r : kMpegRows) store(properties, r.key, (mpeg.*r.text)());
  return true;
}

bool storeId3v1(const Id3v1Tag& tag, PropertyTable& properties) {
  if (!tag.present()) return false;
  store(properties, keywords, "ID3 Tag Ver1");
  for (const Id3v1Row& r : kId3v1Rows) store(properties, r.key, (tag.*r.text)());
  return true;
}

// Stored after the ID3v1 values, so every non-empty ID3v2 text wins.
bool storeId3v2(const Id3v2Tag& tag, PropertyTable& properties) {
  if (!tag.present()) return false;
  store(properties, keywords, "ID3 Tag Ver2");
  if (tag.versionWord() > 0x0300) return true;
  std::string scratch;
  for (const Id3v2Row& r : kId3v2Rows) store(properties, r.key, (tag.*r.text)(scratch));
  return true;
}

bool storeRiffInfo(const RiffInfo& info, PropertyTable& properties) {
  if (!info.hasForm()) return false;
  store(properties, keywords, "RiffSIF");
  std::string scratch;
  for (const RiffRow& r : kRiffRows) {
    store(properties, r.key, info.getText(r.chunk[0], r.chunk[1], r.chunk[2], r.chunk[3], scratch));
  }
  return true;
}

// The readers `kind` calls for, over `file`, and their values stored.
int readFile(Kind kind, platform::FileView& file, PropertyTable& properties) {
  Readers readers;
  switch (kind) {
    case Kind::mpeg:
      readers.id3v1.readTag(file);
      readers.id3v2.readTag(file);
      readers.mpeg.analyze(file);
      break;
    case Kind::wave:
      readers.riff.readInfo(file, 'W', 'A', 'V', 'E');
      break;
    case Kind::avi:
      readers.riff.readInfo(file, 'A', 'V', 'I', ' ');
      break;
    case Kind::none:
      break;
  }
  bool found = storeMpegAnalysis(readers.mpeg, properties);
  found = storeId3v1(readers.id3v1, properties) || found;
  found = storeId3v2(readers.id3v2, properties) || found;
  found = storeRiffInfo(readers.riff, properties) || found;
  return found ? 1 : 0;
}

}  // namespace

std::span<const PropertyRow> audioCatalogue() { return kCatalogue; }

const char* findSuffix(const char* path) {
  // One pass: the last dot after the last separator, each a single-byte
  // character (a double-byte character's trail byte may look like either).
  const char* suffix = nullptr;
  const char* p = path;
  while (*p != 0) {
    const char* next = platform::nextChar(p);
    if (next == p + 1) {
      if (*p == '\\' || *p == '/' || *p == ':') {
        suffix = nullptr;
      } else if (*p == '.') {
        suffix = p;
      }
    }
    p = next;
  }
  return suffix != nullptr ? suffix : p;
}

int openAudioFile(const char* path, PropertyTable& properties) {
  // The name alone decides how a file is read, never its content; a name
  // no reader claims is not opened at all.
  const Kind kind = kindOf(findSuffix(path));
  if (kind == Kind::none) return 0;
  // One open for all readers, which share what has been read. MPEG files
  // keep nothing but an ID3v1 tag at the end.
  platform::FileView file(path, kind == Kind::mpeg ? Id3v1Tag::kTagSize : platform::FileView::kTailSize);
  return readFile(kind, file, properties);
}

int readAudioFile(const char* name, platform::FileView& file, PropertyTable& properties) {
  return readFile(kindOf(findSuffix(name)), file, properties);
}

}  // namespace zav::audio
