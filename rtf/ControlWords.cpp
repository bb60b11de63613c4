#include "ControlWords.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace zav::rtf {

namespace {

// The 279 rows as documents group them. The minors of a group run from 0 in
// listed order unless a row says otherwise; gaps and shared minors are
// deliberate (documents and handlers rely on the numbers).
constexpr std::array<ControlWord, kControlWordCount> kListed{{
    {kMajorVersion, -1, "rtf"},
    {kMajorDefaultFont, -1, "deff"},

    {kMajorCharacterSet, 0, "ansi"},
    {kMajorCharacterSet, 1, "mac"},
    {kMajorCharacterSet, 2, "pc"},
    {kMajorCharacterSet, 3, "pca"},

    {kMajorDestination, 0, "pict"},
    {kMajorDestination, 1, "footnote"},
    {kMajorDestination, 2, "header"},
    {kMajorDestination, 3, "headerl"},
    {kMajorDestination, 4, "headerr"},
    {kMajorDestination, 5, "headerf"},
    {kMajorDestination, 6, "footer"},
    {kMajorDestination, 7, "footerl"},
    {kMajorDestination, 8, "footerr"},
    {kMajorDestination, 9, "footerf"},
    {kMajorDestination, 10, "ftnsep"},
    {kMajorDestination, 11, "ftnsepc"},
    {kMajorDestination, 12, "ftncn"},
    {kMajorDestination, 13, "info"},
    {kMajorDestination, 14, "stylesheet"},
    {kMajorDestination, 15, "fonttbl"},
    {kMajorDestination, 16, "colortbl"},
    {kMajorDestination, 17, "annotation"},
    {kMajorDestination, 17, "field"},
    {kMajorDestination, 18, "atnid"},
    {kMajorDestination, 18, "fldinst"},
    {kMajorDestination, 19, "fldrslt"},
    {kMajorDestination, 20, "xe"},
    {kMajorDestination, 21, "bxe"},
    {kMajorDestination, 22, "ixe"},
    {kMajorDestination, 23, "txe"},
    {kMajorDestination, 24, "rxe"},
    {kMajorDestination, 25, "tc"},
    {kMajorDestination, 26, "bkmkstart"},
    {kMajorDestination, 27, "bkmkend"},
    {kMajorDestination, 28, "title"},
    {kMajorDestination, 29, "subject"},
    {kMajorDestination, 30, "author"},
    {kMajorDestination, 31, "operator"},
    {kMajorDestination, 32, "keywords"},
    {kMajorDestination, 33, "comment"},
    {kMajorDestination, 34, "version"},
    {kMajorDestination, 35, "doccomm"},
    // 36 has no word; 37 and 38 lie beyond the reader's destination slots.
    {kMajorDestination, 37, "pntxta"},
    {kMajorDestination, 38, "pntxtb"},

    {kMajorFontFamily, 0, "fnil"},
    {kMajorFontFamily, 1, "froman"},
    {kMajorFontFamily, 2, "fswiss"},
    {kMajorFontFamily, 3, "fmodern"},
    {kMajorFontFamily, 4, "fscript"},
    {kMajorFontFamily, 5, "fdecor"},
    {kMajorFontFamily, 6, "ftech"},

    {kMajorColour, 0, "red"},
    {kMajorColour, 1, "green"},
    {kMajorColour, 2, "blue"},

    {kMajorSpecialChar, 0, "chpgn"},
    {kMajorSpecialChar, 1, "chftn"},
    {kMajorSpecialChar, 2, "chpict"},
    {kMajorSpecialChar, 3, "chdate"},
    {kMajorSpecialChar, 4, "chtime"},
    {kMajorSpecialChar, 5, "|"},
    {kMajorSpecialChar, 6, "~"},
    {kMajorSpecialChar, 7, "-"},
    {kMajorSpecialChar, 8, "_"},
    {kMajorSpecialChar, 9, "page"},
    {kMajorSpecialChar, 10, "line"},
    // A backslash before a line break is a paragraph mark.
    {kMajorSpecialChar, 11, "\n"},
    {kMajorSpecialChar, 11, "\r"},
    {kMajorSpecialChar, 11, "par"},
    {kMajorSpecialChar, 12, "sect"},
    {kMajorSpecialChar, 13, "tab"},
    {kMajorSpecialChar, 14, "cell"},
    {kMajorSpecialChar, 15, "row"},
    // 16 to 18 have no word.
    {kMajorSpecialChar, 19, "chatn"},
    {kMajorSpecialChar, 20, "chftnsep"},
    {kMajorSpecialChar, 21, "chftnsepc"},
    {kMajorSpecialChar, 22, "column"},
    {kMajorSpecialChar, 23, "*"},
    {kMajorSpecialChar, 24, "vern"},
    {kMajorSpecialChar, 25, "creatim"},
    {kMajorSpecialChar, 26, "revtim"},
    {kMajorSpecialChar, 27, "printim"},
    {kMajorSpecialChar, 28, "buptim"},
    {kMajorSpecialChar, 29, "edmins"},
    {kMajorSpecialChar, 30, "yr"},
    {kMajorSpecialChar, 31, "mo"},
    {kMajorSpecialChar, 32, "dy"},
    {kMajorSpecialChar, 33, "hr"},
    {kMajorSpecialChar, 34, "min"},
    {kMajorSpecialChar, 35, "nofpages"},
    {kMajorSpecialChar, 36, "nofwords"},
    {kMajorSpecialChar, 37, "nofchars"},
    {kMajorSpecialChar, 38, "id"},

    {kMajorStyleLink, 0, "sbasedon"},
    {kMajorStyleLink, 1, "snext"},

    {kMajorDocumentAttr, 0, "paperw"},
    {kMajorDocumentAttr, 1, "paperh"},
    {kMajorDocumentAttr, 2, "margl"},
    {kMajorDocumentAttr, 3, "margr"},
    {kMajorDocumentAttr, 4, "margt"},
    {kMajorDocumentAttr, 5, "margb"},
    {kMajorDocumentAttr, 6, "facingp"},
    {kMajorDocumentAttr, 7, "gutter"},
    {kMajorDocumentAttr, 8, "deftab"},
    {kMajorDocumentAttr, 9, "widowctrl"},
    {kMajorDocumentAttr, 10, "hyphhotz"},
    {kMajorDocumentAttr, 11, "endnotes"},
    {kMajorDocumentAttr, 12, "enddoc"},
    {kMajorDocumentAttr, 13, "ftntj"},
    {kMajorDocumentAttr, 14, "ftnbj"},
    {kMajorDocumentAttr, 15, "ftnstart"},
    {kMajorDocumentAttr, 16, "ftnrestart"},
    {kMajorDocumentAttr, 17, "pgnstart"},
    {kMajorDocumentAttr, 18, "linestart"},
    {kMajorDocumentAttr, 19, "landscape"},
    {kMajorDocumentAttr, 20, "fracwidth"},
    {kMajorDocumentAttr, 21, "nextfile"},
    {kMajorDocumentAttr, 22, "template"},
    {kMajorDocumentAttr, 23, "makeback"},
    {kMajorDocumentAttr, 24, "defformat"},
    {kMajorDocumentAttr, 25, "revisions"},
    {kMajorDocumentAttr, 26, "margmirror"},
    {kMajorDocumentAttr, 27, "revprop"},
    {kMajorDocumentAttr, 28, "revbar"},

    {kMajorSectionAttr, 0, "sectd"},
    {kMajorSectionAttr, 1, "sbknone"},
    {kMajorSectionAttr, 2, "sbkcol"},
    {kMajorSectionAttr, 3, "sbkpage"},
    {kMajorSectionAttr, 4, "sbkeven"},
    {kMajorSectionAttr, 5, "sbkodd"},
    {kMajorSectionAttr, 6, "pgnstarts"},
    {kMajorSectionAttr, 7, "pgncont"},
    {kMajorSectionAttr, 8, "pgnrestart"},
    {kMajorSectionAttr, 9, "pgndec"},
    {kMajorSectionAttr, 10, "pgnucrm"},
    {kMajorSectionAttr, 11, "pgnlcrm"},
    {kMajorSectionAttr, 12, "pgnucltr"},
    {kMajorSectionAttr, 13, "pgnlcltr"},
    {kMajorSectionAttr, 14, "pgnx"},
    {kMajorSectionAttr, 15, "pgny"},
    {kMajorSectionAttr, 16, "headery"},
    {kMajorSectionAttr, 17, "footery"},
    {kMajorSectionAttr, 18, "linemod"},
    {kMajorSectionAttr, 19, "linex"},
    {kMajorSectionAttr, 20, "linestarts"},
    {kMajorSectionAttr, 21, "linerestart"},
    {kMajorSectionAttr, 22, "lineppage"},
    {kMajorSectionAttr, 23, "linecont"},
    {kMajorSectionAttr, 24, "vertalt"},
    {kMajorSectionAttr, 25, "vertal"},
    {kMajorSectionAttr, 26, "vertalc"},
    {kMajorSectionAttr, 27, "vertalj"},
    {kMajorSectionAttr, 28, "cols"},
    {kMajorSectionAttr, 29, "colsx"},
    {kMajorSectionAttr, 30, "linebetcol"},
    {kMajorSectionAttr, 31, "endnhere"},
    {kMajorSectionAttr, 32, "titlepg"},

    {kMajorTableAttr, 0, "clbrdrb"},
    {kMajorTableAttr, 1, "clbrdrt"},
    {kMajorTableAttr, 2, "clbrdrl"},
    {kMajorTableAttr, 3, "clbrdrr"},
    {kMajorTableAttr, 4, "trowd"},
    {kMajorTableAttr, 5, "trql"},
    {kMajorTableAttr, 6, "trqr"},
    {kMajorTableAttr, 7, "trqc"},
    {kMajorTableAttr, 8, "trgaph"},
    {kMajorTableAttr, 9, "trrh"},
    {kMajorTableAttr, 10, "trleft"},
    {kMajorTableAttr, 11, "cellx"},
    {kMajorTableAttr, 12, "clmgf"},
    {kMajorTableAttr, 13, "clmrg"},

    {kMajorParagraphAttr, 0, "pard"},
    {kMajorParagraphAttr, 1, "s"},
    {kMajorParagraphAttr, 2, "ql"},
    {kMajorParagraphAttr, 3, "qr"},
    {kMajorParagraphAttr, 4, "qj"},
    {kMajorParagraphAttr, 5, "qc"},
    {kMajorParagraphAttr, 6, "fi"},
    {kMajorParagraphAttr, 7, "li"},
    {kMajorParagraphAttr, 8, "ri"},
    {kMajorParagraphAttr, 9, "sb"},
    {kMajorParagraphAttr, 10, "sa"},
    {kMajorParagraphAttr, 11, "sl"},
    {kMajorParagraphAttr, 12, "intbl"},
    {kMajorParagraphAttr, 13, "keep"},
    {kMajorParagraphAttr, 14, "keepn"},
    {kMajorParagraphAttr, 15, "sbys"},
    {kMajorParagraphAttr, 16, "pagebb"},
    {kMajorParagraphAttr, 17, "noline"},
    {kMajorParagraphAttr, 18, "tx"},
    {kMajorParagraphAttr, 19, "tqr"},
    {kMajorParagraphAttr, 20, "tqc"},
    {kMajorParagraphAttr, 21, "tqdec"},
    {kMajorParagraphAttr, 22, "tb"},
    {kMajorParagraphAttr, 23, "brdrt"},
    {kMajorParagraphAttr, 24, "brdrb"},
    {kMajorParagraphAttr, 25, "brdrl"},
    {kMajorParagraphAttr, 26, "brdrr"},
    {kMajorParagraphAttr, 27, "box"},
    {kMajorParagraphAttr, 28, "bar"},
    {kMajorParagraphAttr, 29, "brdrbtw"},
    {kMajorParagraphAttr, 30, "brdrs"},
    {kMajorParagraphAttr, 31, "brdrth"},
    {kMajorParagraphAttr, 32, "brdrsh"},
    {kMajorParagraphAttr, 33, "brdrdb"},
    {kMajorParagraphAttr, 34, "brdrdot"},
    {kMajorParagraphAttr, 35, "brdrhair"},
    {kMajorParagraphAttr, 36, "brsp"},
    {kMajorParagraphAttr, 37, "tldot"},
    {kMajorParagraphAttr, 38, "tlhyph"},
    {kMajorParagraphAttr, 39, "tlul"},
    {kMajorParagraphAttr, 40, "tlth"},

    {kMajorCharacterAttr, 0, "plain"},
    {kMajorCharacterAttr, 1, "b"},
    {kMajorCharacterAttr, 2, "i"},
    {kMajorCharacterAttr, 3, "strike"},
    {kMajorCharacterAttr, 4, "outl"},
    {kMajorCharacterAttr, 5, "shad"},
    {kMajorCharacterAttr, 6, "scaps"},
    {kMajorCharacterAttr, 7, "caps"},
    {kMajorCharacterAttr, 8, "v"},
    {kMajorCharacterAttr, 9, "f"},
    {kMajorCharacterAttr, 10, "fs"},
    {kMajorCharacterAttr, 11, "expnd"},
    {kMajorCharacterAttr, 12, "ul"},
    {kMajorCharacterAttr, 13, "ulw"},
    {kMajorCharacterAttr, 14, "uld"},
    {kMajorCharacterAttr, 15, "uldb"},
    {kMajorCharacterAttr, 16, "ulnone"},
    {kMajorCharacterAttr, 17, "up"},
    {kMajorCharacterAttr, 18, "dn"},
    {kMajorCharacterAttr, 19, "revised"},
    {kMajorCharacterAttr, 20, "cf"},
    {kMajorCharacterAttr, 21, "cb"},

    {kMajorPictureAttr, 0, "macpict"},
    {kMajorPictureAttr, 1, "wmetafile"},
    {kMajorPictureAttr, 2, "wbitmap"},
    {kMajorPictureAttr, 3, "picw"},
    {kMajorPictureAttr, 4, "pich"},
    // Both spellings occur in documents.
    {kMajorPictureAttr, 5, "picwGoal"},
    {kMajorPictureAttr, 5, "picwgoal"},
    {kMajorPictureAttr, 6, "pichGoal"},
    {kMajorPictureAttr, 6, "pichgoal"},
    {kMajorPictureAttr, 7, "picscalex"},
    {kMajorPictureAttr, 8, "picscaley"},
    {kMajorPictureAttr, 9, "picscaled"},
    {kMajorPictureAttr, 10, "piccropt"},
    {kMajorPictureAttr, 11, "piccropb"},
    {kMajorPictureAttr, 12, "piccropl"},
    {kMajorPictureAttr, 13, "piccropr"},
    {kMajorPictureAttr, 14, "wbmbitspixel"},
    {kMajorPictureAttr, 15, "wbmplanes"},
    {kMajorPictureAttr, 16, "wbmwidthbytes"},
    {kMajorPictureAttr, 17, "bin"},

    {kMajorFieldAttr, 0, "flddirty"},
    {kMajorFieldAttr, 1, "fldedit"},
    {kMajorFieldAttr, 2, "fldlock"},
    {kMajorFieldAttr, 3, "fldpriv"},

    {kMajorContentsAttr, 0, "tcf"},
    {kMajorContentsAttr, 1, "tcl"},

    {kMajorPositionAttr, 0, "posx"},
    {kMajorPositionAttr, 1, "posxc"},
    {kMajorPositionAttr, 2, "posxi"},
    {kMajorPositionAttr, 3, "posxl"},
    {kMajorPositionAttr, 4, "posxo"},
    {kMajorPositionAttr, 5, "posxr"},
    {kMajorPositionAttr, 6, "posy"},
    {kMajorPositionAttr, 7, "posyil"},
    {kMajorPositionAttr, 8, "posyt"},
    {kMajorPositionAttr, 9, "posyc"},
    {kMajorPositionAttr, 10, "posyb"},
    {kMajorPositionAttr, 11, "absw"},
    {kMajorPositionAttr, 12, "dxfrtext"},
    {kMajorPositionAttr, 13, "pvmrg"},
    {kMajorPositionAttr, 14, "pvpg"},
    {kMajorPositionAttr, 15, "phmrg"},
    {kMajorPositionAttr, 16, "phpg"},
    {kMajorPositionAttr, 17, "phcol"},

}};

// Orders by checksum first, so rows that share one lie together; equal
// checksums fall back to the names as unsigned bytes, a prefix first.
constexpr bool rowBefore(const ControlWord& a, const ControlWord& b) {
  if (a.checksum != b.checksum) return a.checksum < b.checksum;
  return std::string_view(a.name) < std::string_view(b.name);
}

}  // namespace

// The table as the reader searches it, sorted while the program is built.
constexpr std::array<ControlWord, kControlWordCount> lookup::kRows = [] {
  std::array<ControlWord, kControlWordCount> rows = kListed;
  for (ControlWord& row : rows) row.checksum = nameChecksum(row.name);
  std::ranges::sort(rows, rowBefore);
  return rows;
}();

namespace {

using lookup::kRows;

static_assert(std::ranges::adjacent_find(kRows, [](const ControlWord& a, const ControlWord& b) {
                return !rowBefore(a, b);
              }) == kRows.end(),
              "rows strictly ordered by (checksum, name): sorted, and no row twice");
static_assert(std::ranges::none_of(kRows, [](const ControlWord& row) { return std::string_view(row.name) == "u"; }),
              "the reader passes \\uN as a word the table lacks, without a lookup");
static_assert(std::ranges::all_of(kRows, [](const ControlWord& row) {
                return std::string_view(row.name).size() <= kLongestControlWord;
              }));

using lookup::NameKey;

constexpr NameKey packName(std::string_view name) {
  NameKey key;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<std::uint64_t>(static_cast<unsigned char>(name[i]));
    if (i < 8) {
      key.low |= byte << (8 * i);
    } else {
      key.high |= byte << (8 * (i - 8));
    }
  }
  key.high |= static_cast<std::uint64_t>(name.size()) << 56;
  return key;
}

constexpr std::size_t kNoRow = kControlWordCount;

constexpr bool isLetterByte(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

namespace {

constexpr bool spreadsWell(std::uint64_t multiplier) {
  std::array<std::uint8_t, std::size_t{1} << lookup::kBucketBits> filled{};
  for (const ControlWord& row : kRows) {
    if (++filled[lookup::bucketOf(packName(row.name), multiplier)] > 2) return false;
  }
  return true;
}

static_assert(spreadsWell(lookup::kMultiplier), "no bucket may get more than two rows: choose another multiplier");
static_assert(kControlWordCount < 0xFFFF, "a row's number fits two bytes");

}  // namespace

constexpr std::array<lookup::Bucket, std::size_t{1} << lookup::kBucketBits> lookup::kBuckets = [] {
  // An empty place's length byte is larger than any name's, and its row none.
  constexpr NameKey kEmpty{0, std::uint64_t{0xFF} << 56 | std::uint64_t{kNoRow} << kRowShift};
  std::array<Bucket, std::size_t{1} << kBucketBits> buckets{};
  for (Bucket& bucket : buckets) bucket.places = {kEmpty, kEmpty};
  for (std::size_t row = 0; row < kControlWordCount; ++row) {
    NameKey key = packName(kRows[row].name);
    Bucket& bucket = buckets[bucketOf(key)];
    key.high |= static_cast<std::uint64_t>(row) << kRowShift;
    bucket.places[bucket.places[0].high == kEmpty.high ? 0 : 1] = key;
  }
  return buckets;
}();

constexpr lookup::LastBytes lookup::kLastBytes = [] {
  LastBytes lastBytes{};
  for (const ControlWord& row : kRows) {
    const std::string_view name(row.name);
    const auto first = static_cast<unsigned char>(name.front()) & 31U;
    const auto last = static_cast<unsigned char>(name.back()) & 31U;
    lastBytes[name.size()][first] |= 1U << last;
  }
  return lastBytes;
}();

constexpr std::array<std::uint16_t, 128> lookup::kSymbolRows = [] {
  std::array<std::uint16_t, 128> rows{};
  rows.fill(kNoRow);
  for (std::size_t row = 0; row < kControlWordCount; ++row) {
    const std::string_view name(kRows[row].name);
    if (name.size() == 1 && !isLetterByte(name[0])) rows[static_cast<unsigned char>(name[0])] = static_cast<std::uint16_t>(row);
  }
  return rows;
}();

const ControlWord* findControlWord(std::string_view name) {
  if (name.size() > kLongestControlWord) return nullptr;
  std::array<char, 16> padded{};
  std::memcpy(padded.data(), name.data(), name.size());
  return findControlWord(padded.data(), name.size());
}

std::span<const ControlWord> controlWords() { return lookup::kRows; }

}  // namespace zav::rtf
