#include "AudioOpen.h"

#include <array>
#include <string>

#include "Id3v1Tag.h"
#include "Id3v2Tag.h"
#include "MpegAudioInfo.h"
#include "FileView.h"
#include "Platform.h"
#include "RiffInfo.h"

namespace zav::audio {

namespace {

constexpr std::array<PropertyRow, 22> kCatalogue{{
    {1, 396},   {2, 397},   {6, 401},   {4, 399},   {5, 400},   {3, 398},
    {7, 402},   {8, 403},   {9, 404},   {10, 405},  {11, 406},  {129, 407},
    {130, 408}, {131, 409}, {132, 410}, {133, 411}, {134, 412}, {135, 413},
    {136, 414}, {137, 415}, {138, 416}, {139, 417},
}};

enum class Kind { None, Mpeg, Wave, Avi };

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
    if (equalsIgnoringAsciiCase(suffix, mpeg)) return Kind::Mpeg;
  }
  if (equalsIgnoringAsciiCase(suffix, ".wav")) return Kind::Wave;
  if (equalsIgnoringAsciiCase(suffix, ".avi")) return Kind::Avi;
  return Kind::None;
}

bool isSingleByte(const char* p) { return platform::nextChar(p) == p + 1; }

// The readers of one open call; whatever was not run stays in its initial
// state and adds nothing.
struct Readers {
  Id3v1Tag id3v1;
  Id3v2Tag id3v2;
  MpegAudioInfo mpeg;
  RiffInfo riff;
};

bool storeMpegAnalysis(const MpegAudioInfo& mpeg, PropertyTable& properties) {
  if (!mpeg.isValid()) return false;
  properties.setProperty(136, mpeg.getFormatText());
  properties.setProperty(137, mpeg.getTimeText());
  return true;
}

bool storeId3v1(Id3v1Tag& tag, PropertyTable& properties) {
  if (tag.present() != 1) return false;
  properties.setProperty(4, "ID3 Tag Ver1");
  properties.setProperty(1, tag.getTitle());
  properties.setProperty(6, tag.getArtist());
  properties.setProperty(2, tag.getAlbum());
  properties.setProperty(5, tag.getComment());
  properties.setProperty(129, tag.getTrack());
  properties.setProperty(130, tag.getYear());
  properties.setProperty(131, tag.getGenre());
  return true;
}

// Stored after the ID3v1 values, so every non-empty ID3v2 text wins.
bool storeId3v2(const Id3v2Tag& tag, PropertyTable& properties) {
  if (tag.present() != 1) return false;
  properties.setProperty(4, "ID3 Tag Ver2");
  if (tag.versionWord() > 0x0300) return true;
  std::string scratch;
  properties.setProperty(1, tag.getTitle(scratch));
  properties.setProperty(6, tag.getArtist(scratch));
  properties.setProperty(2, tag.getAlbum(scratch));
  properties.setProperty(5, tag.getComment(scratch));
  properties.setProperty(7, tag.getEncodedBy(scratch));
  properties.setProperty(129, tag.getTrack(scratch));
  properties.setProperty(130, tag.getYear(scratch));
  properties.setProperty(131, tag.getGenre(scratch));
  properties.setProperty(132, tag.getComposer(scratch));
  properties.setProperty(133, tag.getOriginalArtist(scratch));
  properties.setProperty(134, tag.getCopyright(scratch));
  properties.setProperty(135, tag.getUrl(scratch));
  return true;
}

bool storeRiffInfo(const RiffInfo& info, PropertyTable& properties) {
  if (info.hasForm() != 1) return false;
  properties.setProperty(4, "RiffSIF");
  std::string scratch;
  properties.setProperty(1, info.getText('I', 'S', 'B', 'J', scratch));
  properties.setProperty(6, info.getText('I', 'A', 'R', 'T', scratch));
  properties.setProperty(5, info.getText('I', 'C', 'M', 'T', scratch));
  properties.setProperty(7, info.getText('I', 'S', 'F', 'T', scratch));
  properties.setProperty(10, info.getText('I', 'C', 'R', 'D', scratch));
  // The comment fills the genre as well; existing catalogs show it there.
  properties.setProperty(131, info.getText('I', 'C', 'M', 'T', scratch));
  properties.setProperty(134, info.getText('I', 'C', 'O', 'P', scratch));
  properties.setProperty(138, info.getText('I', 'E', 'N', 'G', scratch));
  properties.setProperty(139, info.getText('I', 'S', 'R', 'C', scratch));
  return true;
}

}  // namespace

std::span<const PropertyRow> audioCatalogue() { return kCatalogue; }

const char* findSuffix(const char* path) {
  const char* nameStart = path;
  for (const char* p = path; *p != 0; p = platform::nextChar(p)) {
    if (isSingleByte(p) && (*p == '\\' || *p == '/' || *p == ':')) nameStart = p + 1;
  }
  const char* suffix = nullptr;
  const char* p = nameStart;
  for (; *p != 0; p = platform::nextChar(p)) {
    if (isSingleByte(p) && *p == '.') suffix = p;
  }
  return suffix != nullptr ? suffix : p;
}

int openAudioFile(const char* path, PropertyTable& properties) {
  Readers readers;
  // The name alone decides how a file is read, never its content.
  const Kind kind = kindOf(findSuffix(path));
  if (kind != Kind::None) {
    // One open for all readers, which share what has been read.
    platform::FileView file(path);
    switch (kind) {
      case Kind::Mpeg:
        readers.id3v1.readTag(file);
        readers.id3v2.readTag(file);
        readers.mpeg.analyze(file);
        break;
      case Kind::Wave:
        readers.riff.readInfo(file, 'W', 'A', 'V', 'E');
        break;
      case Kind::Avi:
        readers.riff.readInfo(file, 'A', 'V', 'I', ' ');
        break;
      case Kind::None:
        break;
    }
  }
  bool found = storeMpegAnalysis(readers.mpeg, properties);
  found = storeId3v1(readers.id3v1, properties) || found;
  found = storeId3v2(readers.id3v2, properties) || found;
  found = storeRiffInfo(readers.riff, properties) || found;
  return found ? 1 : 0;
}

}  // namespace zav::audio
