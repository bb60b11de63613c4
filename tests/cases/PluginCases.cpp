#include "PluginCases.h"

#include "Id3Bytes.h"
#include "MpegBytes.h"
#include "RiffBytes.h"
#include "RtfBytes.h"

namespace zav::cases {

namespace {

using namespace test;
using enum PropertyKey;

// Titles of the common keys, as the code-page-932 host receives them.
const CatalogueRow kTitle{title, "\xC0\xB2\xC4\xD9"};                          // ﾀｲﾄﾙ
const CatalogueRow kSubject{subject, "\xBB\xCC\xDE\xBC\xDE\xAA\xB8\xC4"};      // ｻﾌﾞｼﾞｪｸﾄ
const CatalogueRow kCategory{category, "\x95\xAA\x97\xDE"};                    // 分類
const CatalogueRow kKeywords{keywords, "\xB7\xB0\xDC\xB0\xC4\xDE"};            // ｷｰﾜｰﾄﾞ
const CatalogueRow kComment{comment, "\xBA\xD2\xDD\xC4"};                      // ｺﾒﾝﾄ
const CatalogueRow kAuthor{author, "\x8D\xEC\x8E\xD2"};                        // 作者
const CatalogueRow kApplication{application, "\xB1\xCC\xDF\xD8\xB9\xB0\xBC\xAE\xDD\x96\xBC"};  // ｱﾌﾟﾘｹｰｼｮﾝ名
const CatalogueRow kCompany{company, "\x89\xEF\x8E\xD0"};                      // 会社
const CatalogueRow kManager{manager, "\xCF\xC8\xB0\xBC\xDE\xAC"};              // ﾏﾈｰｼﾞｬ
const CatalogueRow kCreated{created, "\x8D\xEC\x90\xAC\x93\xFA"};              // 作成日
const CatalogueRow kSaved{saved, "\x8D\xC5\x8F\x49\x95\xDB\x91\xB6\x93\xFA"};  // 最終保存日

const PluginConstants kAudio{
    Plugin::audio,
    "zavaudio.dll",
    "Audio",
    "MP3",
    {kTitle, kSubject, kAuthor, kKeywords, kComment, kCategory, kApplication, kCompany,
     kManager, kCreated, kSaved,
     {track, "\xC4\xD7\xAF\xB8No"},    // ﾄﾗｯｸNo
     {year, "\x94\x4E"},               // 年
     {genre, "\xBC\xDE\xAC\xDD\xD9"},  // ｼﾞｬﾝﾙ
     {composer, "Composer"},
     {originalArtist, "Original artist"},
     {copyright, "Copyright"},
     {url, "URL"},
     {format, "\x8C\x60\x8E\xAE"},            // 形式
     {time, "\x8E\x9E\x8A\xD4"},              // 時間
     {engineer, "\xB4\xDD\xBC\xDE\xC6\xB1"},  // ｴﾝｼﾞﾆｱ
     {source, "Source"}},
    {"MP3", "WAV", "AVI", "MP3X"},
    {"mp3", "MP2", "MP1", "MP", "", "wav", "RTF"},
};

const PluginConstants kRtf{
    Plugin::rtf,
    "zavrtfp.dll",
    "RTF-P",
    "RTF",
    {kTitle, kSubject, kAuthor, kKeywords, kComment,
     {rtfOperator, "\xB5\xCD\xDF\xDA\xB0\xC0"},     // ｵﾍﾟﾚｰﾀ
     {rtfVersion, "\xCA\xDE\xB0\xBC\xDE\xAE\xDD"},  // ﾊﾞｰｼﾞｮﾝ
     kCategory, kApplication, kCompany, kManager, kCreated, kSaved},
    {"RTF", "RTFD"},
    {"rtf", "RT", "Rtf", "MP3"},
};

// MPEG-1 at 44100 Hz, and MPEG-2 at 22050 Hz.
constexpr MpegHeader kMpeg1Layer3At128JointStereo{};
constexpr MpegHeader kMpeg1Layer3At128Stereo{.channelMode = 0};
constexpr MpegHeader kMpeg2Layer2At64Mono{.versionBits = 2, .layer = 2, .bitRateIndex = 8, .channelMode = 3};

// A tagged constant-bit-rate MP3: both tags, each value from the tag that
// wins for its key. 100 frames of 417 bytes: 100 × 1152 / 44100 s.
Bytes taggedMp3() {
  const Bytes frames =
      id3v2Text("TIT2", "Song Title") + id3v2Text("TIT2", "Second title") +
      id3v2Text("TPE1", "Artist") +
      id3v2Frame("COMM", Bytes{0} + bytes("eng") + Bytes{0} + bytes("Nice comment")) +
      id3v2Text("TENC", "Encoder") + id3v2Text("TRCK", "7/12") + id3v2Text("TYER", "1999") +
      id3v2Text("TCON", "(13)Pop") + id3v2Text("TCOM", "Composer X") +
      id3v2Text("TOPE", "Orig") + id3v2Text("TCOP", "(C) 1999") +
      id3v2Frame("WXXX", Bytes{0} + bytes("home") + Bytes{0} + bytes("http://example.com/"));
  const Id3v1Fields v1{"V1 Title", "V1 Artist", "V1 Album", "1998", "V1 comment", 5, 17};
  return id3v2Tag(frames, {.padding = 20}) + mpegFrame(kMpeg1Layer3At128JointStereo, 417 * 100) +
         id3v1Tag(v1);
}

// A variable-bit-rate first frame: the Xing header's counts replace the
// estimates (4999 + 1 frames, 3 000 000 bytes). It lies after the 32 bytes
// of side information.
Bytes xingMp3() { return xingFrame(kMpeg1Layer3At128Stereo, 417, 32, 3, 4999, 3000000); }

// Only an ID3v1 (1.1) tag with Shift-JIS text, behind bytes with no frame.
Bytes id3v1OnlyMp3() {
  Id3v1Fields v1;
  v1.title = "\x82\xA0\x82\xA2" + std::string(26, ' ');  // あい, trailing spaces trimmed
  v1.artist = "Band  ";                                     // spaces before the zeros stay
  v1.album = std::string(30, ' ');
  v1.year = "2001";
  v1.comment = "Comment";
  v1.track = 3;
  v1.genre = 147;
  return repeat(0, 300) + id3v1Tag(v1);
}

Bytes infoWave() {
  const Bytes info = riffList(
      "INFO", riffChunk("ISBJ", bytes(std::string_view("Subject line\0", 13))) +
                  riffChunk("IART", bytes("Singer")) + riffChunk("ICMT", bytes("Comment text")) +
                  riffChunk("ISFT", bytes("Tool 1.0")) + riffChunk("ICRD", bytes("2024-05-01")) +
                  riffChunk("ICOP", bytes("Copyleft")) + riffChunk("IENG", bytes("Eng")) +
                  riffChunk("ISRC", bytes("Src")) + riffChunk("INAM", bytes("Unused name")) +
                  riffChunk("IART", bytes("Second artist")));
  return riffForm("WAVE", waveFormat() + info + riffChunk("data", repeat(0, 8)));
}

Bytes dataThenInfoWave() {
  return riffForm("WAVE", waveFormat() + riffChunk("data", repeat(0, 3)) +
                              riffList("INFO", riffChunk("IART", bytes("Late"))));
}

Bytes movieAvi() {
  const Bytes header = riffList(
      "hdrl", riffChunk("avih", repeat(0, 56)) + riffList("INFO", riffChunk("IART", bytes("Nested"))));
  return riffForm("AVI ", header + riffList("INFO", riffChunk("ISBJ", bytes("Movie"))) +
                              riffList("movi", riffChunk("00dc", repeat(0, 4))));
}

std::vector<FileCase> makeCases() {
  std::vector<FileCase> cases;
  cases.push_back({"tagged.mp3", Plugin::audio, taggedMp3(), 1,
                   {{title, "Song Title"},
                    {subject, "V1 Album"},
                    {keywords, "ID3 Tag Ver2"},
                    {comment, "Nice comment"},
                    {author, "Artist"},
                    {application, "Encoder"},
                    {track, "7/12"},
                    {year, "1999"},
                    {genre, "Pop"},
                    {composer, "Composer X"},
                    {originalArtist, "Orig"},
                    {copyright, "(C) 1999"},
                    {url, "http://example.com/"},
                    {format, "MPEG1.0 Layer-3, 128Kbits/s, 44100Hz, JointStereo"},
                    {time, "0:02 (2sec) 100frames"}},
                   {}});
  cases.push_back({"xing.mp3", Plugin::audio, xingMp3(), 1,
                   {{format, "MPEG1.0 Layer-3, 183Kbits/s(VBR), 44100Hz, Stereo"},
                    {time, "2:10 (130sec) 5000frames"}},
                   {}});
  // 50 frames of MPEG-2 Layer II count 1152 samples each.
  cases.push_back({"mono.mp2", Plugin::audio, mpegFrame(kMpeg2Layer2At64Mono, 417 * 50), 1,
                   {{format, "MPEG2.0 Layer-2, 64Kbits/s, 22050Hz, Mono"},
                    {time, "0:02 (2sec) 50frames"}},
                   {}});
  cases.push_back({"v1only.MP3", Plugin::audio, id3v1OnlyMp3(), 1,
                   {{title, "\x82\xA0\x82\xA2"},
                    {keywords, "ID3 Tag Ver1"},
                    {comment, "Comment"},
                    {author, "Band  "},
                    {track, "3"},
                    {year, "2001"},
                    {genre, "Synthpop"}},
                   {}});
  cases.push_back({"info.wav", Plugin::audio, infoWave(), 1,
                   {{title, "Subject line"},
                    {keywords, "RiffSIF"},
                    {comment, "Comment text"},
                    {author, "Singer"},
                    {application, "Tool 1.0"},
                    {created, "2024-05-01"},
                    {genre, "Comment text"},
                    {copyright, "Copyleft"},
                    {engineer, "Eng"},
                    {source, "Src"}},
                   {}});
  cases.push_back({"late.wav", Plugin::audio, dataThenInfoWave(), 1,
                   {{keywords, "RiffSIF"}, {author, "Late"}}, {}});
  cases.push_back({"movie.avi", Plugin::audio, movieAvi(), 1,
                   {{title, "Movie"}, {keywords, "RiffSIF"}}, {}});
  cases.push_back({"wave.avi", Plugin::audio, dataThenInfoWave(), 0, {}, {}});
  cases.push_back({"notes.txt", Plugin::audio, bytes("ID3 and RIFF, but not by name"), 0, {}, {}});

  cases.push_back({"report.rtf", Plugin::rtf,
                   bytes("{\\rtf1\\ansi{\\info{\\title Report}{\\subject Sub}{\\author Kim}"
                         "{\\operator Op}{\\keywords k1}{\\comment Note}{\\version 2}"
                         "{\\doccomm Skipped}}"
                         "{\\fonttbl{\\f0 Arial;}}{\\*\\generator Gen;}{\\header Head}"
                         "Hello\\par World\\tab!\\par}"),
                   1,
                   {{title, "Report"}, {subject, "Sub"}, {keywords, "k1"}, {comment, "Note"}, {author, "Kim"},
                    {rtfOperator, "Op"}, {rtfVersion, "2"}},
                   {"Hello\n", "World\t!\n", ""}});
  // Strings marked FE FF are UTF-16 with their zero bytes: あ一, an
  // unmappable Thai letter; "AB" from 00 41 00 42; a tag character (a
  // surrogate pair) before あ. Others drop zero bytes.
  cases.push_back({"utf16.rtf", Plugin::rtf,
                   bytes(rtfDocument(rtfInfo({{"title", utf16String(u"\u3042\u4e00\u0e01")},
                                              {"subject", utf16String(u"AB")},
                                              {"keywords", "A\\'00B"},
                                              {"comment", utf16String(u"\U000E007A\u3042")},
                                              {"title", "+"},
                                              {"author", "Foo\\~Bar"}}))),
                   1,
                   {{title, "\x82\xA0\x88\xEA?+"}, {subject, "AB"}, {keywords, "AB"}, {comment, "?\x82\xA0"}, {author, "Foo"}},
                   {"Bar"}});
  // Characters both systems' code page 932 tables agree on: kana, kanji,
  // NEC and IBM extensions, full-width forms and a half-width kana. (No
  // code unit holds a 0A or 0D byte: the reader drops those escapes.)
  const std::u16string_view wide =
      u"\u3042\u30a2\u4e9c\u2460\u2160\uff5e\u2225\uffe2\uff0b\u2252\uff71\u6f22\u5b57";
  cases.push_back({"wide.rtf", Plugin::rtf, bytes(rtfDocument(rtfInfo({{"subject", utf16String(wide)}}))),
                   1,
                   {{subject, "\x82\xA0\x83\x41\x88\x9F\x87\x40\x87\x54\x81\x60\x81\x61\x81\xCA"
                        "\x81\x7B\x81\xE0\xB1\x8A\xBF\x8E\x9A"}},
                   {}});
  cases.push_back({"breaks.rtf", Plugin::rtf, bytes("{\\rtf1\\par\\tab\\par}"), 1, {},
                   {"\n", "\t\n", ""}});
  // The Macintosh map replaces 0xAA; the next file starts from the ANSI map
  // again and keeps its Shift-JIS bytes.
  cases.push_back({"mac.rtf", Plugin::rtf, bytes("{\\rtf1\\mac \\'aa\\'a3\\par}"), 1, {},
                   {"(TM)\xA3\n", ""}});
  cases.push_back({"sjis.rtf", Plugin::rtf, bytes("{\\rtf1 \\'82\\'a0\\'95\\'5c\\par x}"), 1, {},
                   {"\x82\xA0\x95\x5C\n", "x"}});
  cases.push_back({"raw8bit.rtf", Plugin::rtf, bytes("{\\rtf1 Ab\xE0" "cd\\par}"), 1, {}, {"Ab"}});
  cases.push_back({"empty.rtf", Plugin::rtf, {}, 1, {}, {}});
  return cases;
}

}  // namespace

const PluginConstants& constantsOf(Plugin plugin) {
  return plugin == Plugin::audio ? kAudio : kRtf;
}

const std::vector<FileCase>& fileCases() {
  static const std::vector<FileCase> cases = makeCases();
  return cases;
}

}  // namespace zav::cases
