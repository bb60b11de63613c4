#include "ControlWords.h"

#include <algorithm>
#include <array>

namespace zav::rtf {

namespace {

// 279 rows and a terminator row without a name. The minors of a group run
// from 0 in listed order unless a row says otherwise; gaps and shared minors
// are deliberate (documents and handlers rely on the numbers).
std::array<ControlWord, kControlWordCount + 1> table{{
    {kMajorVersion, -1, "rtf", 0},
    {kMajorDefaultFont, -1, "deff", 0},

    {kMajorCharacterSet, 0, "ansi", 0},
    {kMajorCharacterSet, 1, "mac", 0},
    {kMajorCharacterSet, 2, "pc", 0},
    {kMajorCharacterSet, 3, "pca", 0},

    {kMajorDestination, 0, "pict", 0},
    {kMajorDestination, 1, "footnote", 0},
    {kMajorDestination, 2, "header", 0},
    {kMajorDestination, 3, "headerl", 0},
    {kMajorDestination, 4, "headerr", 0},
    {kMajorDestination, 5, "headerf", 0},
    {kMajorDestination, 6, "footer", 0},
    {kMajorDestination, 7, "footerl", 0},
    {kMajorDestination, 8, "footerr", 0},
    {kMajorDestination, 9, "footerf", 0},
    {kMajorDestination, 10, "ftnsep", 0},
    {kMajorDestination, 11, "ftnsepc", 0},
    {kMajorDestination, 12, "ftncn", 0},
    {kMajorDestination, 13, "info", 0},
    {kMajorDestination, 14, "stylesheet", 0},
    {kMajorDestination, 15, "fonttbl", 0},
    {kMajorDestination, 16, "colortbl", 0},
    {kMajorDestination, 17, "annotation", 0},
    {kMajorDestination, 17, "field", 0},
    {kMajorDestination, 18, "atnid", 0},
    {kMajorDestination, 18, "fldinst", 0},
    {kMajorDestination, 19, "fldrslt", 0},
    {kMajorDestination, 20, "xe", 0},
    {kMajorDestination, 21, "bxe", 0},
    {kMajorDestination, 22, "ixe", 0},
    {kMajorDestination, 23, "txe", 0},
    {kMajorDestination, 24, "rxe", 0},
    {kMajorDestination, 25, "tc", 0},
    {kMajorDestination, 26, "bkmkstart", 0},
    {kMajorDestination, 27, "bkmkend", 0},
    {kMajorDestination, 28, "title", 0},
    {kMajorDestination, 29, "subject", 0},
    {kMajorDestination, 30, "author", 0},
    {kMajorDestination, 31, "operator", 0},
    {kMajorDestination, 32, "keywords", 0},
    {kMajorDestination, 33, "comment", 0},
    {kMajorDestination, 34, "version", 0},
    {kMajorDestination, 35, "doccomm", 0},
    // 36 has no word; 37 and 38 lie beyond the reader's destination slots.
    {kMajorDestination, 37, "pntxta", 0},
    {kMajorDestination, 38, "pntxtb", 0},

    {kMajorFontFamily, 0, "fnil", 0},
    {kMajorFontFamily, 1, "froman", 0},
    {kMajorFontFamily, 2, "fswiss", 0},
    {kMajorFontFamily, 3, "fmodern", 0},
    {kMajorFontFamily, 4, "fscript", 0},
    {kMajorFontFamily, 5, "fdecor", 0},
    {kMajorFontFamily, 6, "ftech", 0},

    {kMajorColour, 0, "red", 0},
    {kMajorColour, 1, "green", 0},
    {kMajorColour, 2, "blue", 0},

    {kMajorSpecialChar, 0, "chpgn", 0},
    {kMajorSpecialChar, 1, "chftn", 0},
    {kMajorSpecialChar, 2, "chpict", 0},
    {kMajorSpecialChar, 3, "chdate", 0},
    {kMajorSpecialChar, 4, "chtime", 0},
    {kMajorSpecialChar, 5, "|", 0},
    {kMajorSpecialChar, 6, "~", 0},
    {kMajorSpecialChar, 7, "-", 0},
    {kMajorSpecialChar, 8, "_", 0},
    {kMajorSpecialChar, 9, "page", 0},
    {kMajorSpecialChar, 10, "line", 0},
    // A backslash before a line break is a paragraph mark.
    {kMajorSpecialChar, 11, "\n", 0},
    {kMajorSpecialChar, 11, "\r", 0},
    {kMajorSpecialChar, 11, "par", 0},
    {kMajorSpecialChar, 12, "sect", 0},
    {kMajorSpecialChar, 13, "tab", 0},
    {kMajorSpecialChar, 14, "cell", 0},
    {kMajorSpecialChar, 15, "row", 0},
    // 16 to 18 have no word.
    {kMajorSpecialChar, 19, "chatn", 0},
    {kMajorSpecialChar, 20, "chftnsep", 0},
    {kMajorSpecialChar, 21, "chftnsepc", 0},
    {kMajorSpecialChar, 22, "column", 0},
    {kMajorSpecialChar, 23, "*", 0},
    {kMajorSpecialChar, 24, "vern", 0},
    {kMajorSpecialChar, 25, "creatim", 0},
    {kMajorSpecialChar, 26, "revtim", 0},
    {kMajorSpecialChar, 27, "printim", 0},
    {kMajorSpecialChar, 28, "buptim", 0},
    {kMajorSpecialChar, 29, "edmins", 0},
    {kMajorSpecialChar, 30, "yr", 0},
    {kMajorSpecialChar, 31, "mo", 0},
    {kMajorSpecialChar, 32, "dy", 0},
    {kMajorSpecialChar, 33, "hr", 0},
    {kMajorSpecialChar, 34, "min", 0},
    {kMajorSpecialChar, 35, "nofpages", 0},
    {kMajorSpecialChar, 36, "nofwords", 0},
    {kMajorSpecialChar, 37, "nofchars", 0},
    {kMajorSpecialChar, 38, "id", 0},

    {kMajorStyleLink, 0, "sbasedon", 0},
    {kMajorStyleLink, 1, "snext", 0},

    {kMajorDocumentAttr, 0, "paperw", 0},
    {kMajorDocumentAttr, 1, "paperh", 0},
    {kMajorDocumentAttr, 2, "margl", 0},
    {kMajorDocumentAttr, 3, "margr", 0},
    {kMajorDocumentAttr, 4, "margt", 0},
    {kMajorDocumentAttr, 5, "margb", 0},
    {kMajorDocumentAttr, 6, "facingp", 0},
    {kMajorDocumentAttr, 7, "gutter", 0},
    {kMajorDocumentAttr, 8, "deftab", 0},
    {kMajorDocumentAttr, 9, "widowctrl", 0},
    {kMajorDocumentAttr, 10, "hyphhotz", 0},
    {kMajorDocumentAttr, 11, "endnotes", 0},
    {kMajorDocumentAttr, 12, "enddoc", 0},
    {kMajorDocumentAttr, 13, "ftntj", 0},
    {kMajorDocumentAttr, 14, "ftnbj", 0},
    {kMajorDocumentAttr, 15, "ftnstart", 0},
    {kMajorDocumentAttr, 16, "ftnrestart", 0},
    {kMajorDocumentAttr, 17, "pgnstart", 0},
    {kMajorDocumentAttr, 18, "linestart", 0},
    {kMajorDocumentAttr, 19, "landscape", 0},
    {kMajorDocumentAttr, 20, "fracwidth", 0},
    {kMajorDocumentAttr, 21, "nextfile", 0},
    {kMajorDocumentAttr, 22, "template", 0},
    {kMajorDocumentAttr, 23, "makeback", 0},
    {kMajorDocumentAttr, 24, "defformat", 0},
    {kMajorDocumentAttr, 25, "revisions", 0},
    {kMajorDocumentAttr, 26, "margmirror", 0},
    {kMajorDocumentAttr, 27, "revprop", 0},
    {kMajorDocumentAttr, 28, "revbar", 0},

    {kMajorSectionAttr, 0, "sectd", 0},
    {kMajorSectionAttr, 1, "sbknone", 0},
    {kMajorSectionAttr, 2, "sbkcol", 0},
    {kMajorSectionAttr, 3, "sbkpage", 0},
    {kMajorSectionAttr, 4, "sbkeven", 0},
    {kMajorSectionAttr, 5, "sbkodd", 0},
    {kMajorSectionAttr, 6, "pgnstarts", 0},
    {kMajorSectionAttr, 7, "pgncont", 0},
    {kMajorSectionAttr, 8, "pgnrestart", 0},
    {kMajorSectionAttr, 9, "pgndec", 0},
    {kMajorSectionAttr, 10, "pgnucrm", 0},
    {kMajorSectionAttr, 11, "pgnlcrm", 0},
    {kMajorSectionAttr, 12, "pgnucltr", 0},
    {kMajorSectionAttr, 13, "pgnlcltr", 0},
    {kMajorSectionAttr, 14, "pgnx", 0},
    {kMajorSectionAttr, 15, "pgny", 0},
    {kMajorSectionAttr, 16, "headery", 0},
    {kMajorSectionAttr, 17, "footery", 0},
    {kMajorSectionAttr, 18, "linemod", 0},
    {kMajorSectionAttr, 19, "linex", 0},
    {kMajorSectionAttr, 20, "linestarts", 0},
    {kMajorSectionAttr, 21, "linerestart", 0},
    {kMajorSectionAttr, 22, "lineppage", 0},
    {kMajorSectionAttr, 23, "linecont", 0},
    {kMajorSectionAttr, 24, "vertalt", 0},
    {kMajorSectionAttr, 25, "vertal", 0},
    {kMajorSectionAttr, 26, "vertalc", 0},
    {kMajorSectionAttr, 27, "vertalj", 0},
    {kMajorSectionAttr, 28, "cols", 0},
    {kMajorSectionAttr, 29, "colsx", 0},
    {kMajorSectionAttr, 30, "linebetcol", 0},
    {kMajorSectionAttr, 31, "endnhere", 0},
    {kMajorSectionAttr, 32, "titlepg", 0},

    {kMajorTableAttr, 0, "clbrdrb", 0},
    {kMajorTableAttr, 1, "clbrdrt", 0},
    {kMajorTableAttr, 2, "clbrdrl", 0},
    {kMajorTableAttr, 3, "clbrdrr", 0},
    {kMajorTableAttr, 4, "trowd", 0},
    {kMajorTableAttr, 5, "trql", 0},
    {kMajorTableAttr, 6, "trqr", 0},
    {kMajorTableAttr, 7, "trqc", 0},
    {kMajorTableAttr, 8, "trgaph", 0},
    {kMajorTableAttr, 9, "trrh", 0},
    {kMajorTableAttr, 10, "trleft", 0},
    {kMajorTableAttr, 11, "cellx", 0},
    {kMajorTableAttr, 12, "clmgf", 0},
    {kMajorTableAttr, 13, "clmrg", 0},

    {kMajorParagraphAttr, 0, "pard", 0},
    {kMajorParagraphAttr, 1, "s", 0},
    {kMajorParagraphAttr, 2, "ql", 0},
    {kMajorParagraphAttr, 3, "qr", 0},
    {kMajorParagraphAttr, 4, "qj", 0},
    {kMajorParagraphAttr, 5, "qc", 0},
    {kMajorParagraphAttr, 6, "fi", 0},
    {kMajorParagraphAttr, 7, "li", 0},
    {kMajorParagraphAttr, 8, "ri", 0},
    {kMajorParagraphAttr, 9, "sb", 0},
    {kMajorParagraphAttr, 10, "sa", 0},
    {kMajorParagraphAttr, 11, "sl", 0},
    {kMajorParagraphAttr, 12, "intbl", 0},
    {kMajorParagraphAttr, 13, "keep", 0},
    {kMajorParagraphAttr, 14, "keepn", 0},
    {kMajorParagraphAttr, 15, "sbys", 0},
    {kMajorParagraphAttr, 16, "pagebb", 0},
    {kMajorParagraphAttr, 17, "noline", 0},
    {kMajorParagraphAttr, 18, "tx", 0},
    {kMajorParagraphAttr, 19, "tqr", 0},
    {kMajorParagraphAttr, 20, "tqc", 0},
    {kMajorParagraphAttr, 21, "tqdec", 0},
    {kMajorParagraphAttr, 22, "tb", 0},
    {kMajorParagraphAttr, 23, "brdrt", 0},
    {kMajorParagraphAttr, 24, "brdrb", 0},
    {kMajorParagraphAttr, 25, "brdrl", 0},
    {kMajorParagraphAttr, 26, "brdrr", 0},
    {kMajorParagraphAttr, 27, "box", 0},
    {kMajorParagraphAttr, 28, "bar", 0},
    {kMajorParagraphAttr, 29, "brdrbtw", 0},
    {kMajorParagraphAttr, 30, "brdrs", 0},
    {kMajorParagraphAttr, 31, "brdrth", 0},
    {kMajorParagraphAttr, 32, "brdrsh", 0},
    {kMajorParagraphAttr, 33, "brdrdb", 0},
    {kMajorParagraphAttr, 34, "brdrdot", 0},
    {kMajorParagraphAttr, 35, "brdrhair", 0},
    {kMajorParagraphAttr, 36, "brsp", 0},
    {kMajorParagraphAttr, 37, "tldot", 0},
    {kMajorParagraphAttr, 38, "tlhyph", 0},
    {kMajorParagraphAttr, 39, "tlul", 0},
    {kMajorParagraphAttr, 40, "tlth", 0},

    {kMajorCharacterAttr, 0, "plain", 0},
    {kMajorCharacterAttr, 1, "b", 0},
    {kMajorCharacterAttr, 2, "i", 0},
    {kMajorCharacterAttr, 3, "strike", 0},
    {kMajorCharacterAttr, 4, "outl", 0},
    {kMajorCharacterAttr, 5, "shad", 0},
    {kMajorCharacterAttr, 6, "scaps", 0},
    {kMajorCharacterAttr, 7, "caps", 0},
    {kMajorCharacterAttr, 8, "v", 0},
    {kMajorCharacterAttr, 9, "f", 0},
    {kMajorCharacterAttr, 10, "fs", 0},
    {kMajorCharacterAttr, 11, "expnd", 0},
    {kMajorCharacterAttr, 12, "ul", 0},
    {kMajorCharacterAttr, 13, "ulw", 0},
    {kMajorCharacterAttr, 14, "uld", 0},
    {kMajorCharacterAttr, 15, "uldb", 0},
    {kMajorCharacterAttr, 16, "ulnone", 0},
    {kMajorCharacterAttr, 17, "up", 0},
    {kMajorCharacterAttr, 18, "dn", 0},
    {kMajorCharacterAttr, 19, "revised", 0},
    {kMajorCharacterAttr, 20, "cf", 0},
    {kMajorCharacterAttr, 21, "cb", 0},

    {kMajorPictureAttr, 0, "macpict", 0},
    {kMajorPictureAttr, 1, "wmetafile", 0},
    {kMajorPictureAttr, 2, "wbitmap", 0},
    {kMajorPictureAttr, 3, "picw", 0},
    {kMajorPictureAttr, 4, "pich", 0},
    // Both spellings occur in documents.
    {kMajorPictureAttr, 5, "picwGoal", 0},
    {kMajorPictureAttr, 5, "picwgoal", 0},
    {kMajorPictureAttr, 6, "pichGoal", 0},
    {kMajorPictureAttr, 6, "pichgoal", 0},
    {kMajorPictureAttr, 7, "picscalex", 0},
    {kMajorPictureAttr, 8, "picscaley", 0},
    {kMajorPictureAttr, 9, "picscaled", 0},
    {kMajorPictureAttr, 10, "piccropt", 0},
    {kMajorPictureAttr, 11, "piccropb", 0},
    {kMajorPictureAttr, 12, "piccropl", 0},
    {kMajorPictureAttr, 13, "piccropr", 0},
    {kMajorPictureAttr, 14, "wbmbitspixel", 0},
    {kMajorPictureAttr, 15, "wbmplanes", 0},
    {kMajorPictureAttr, 16, "wbmwidthbytes", 0},
    {kMajorPictureAttr, 17, "bin", 0},

    {kMajorFieldAttr, 0, "flddirty", 0},
    {kMajorFieldAttr, 1, "fldedit", 0},
    {kMajorFieldAttr, 2, "fldlock", 0},
    {kMajorFieldAttr, 3, "fldpriv", 0},

    {kMajorContentsAttr, 0, "tcf", 0},
    {kMajorContentsAttr, 1, "tcl", 0},

    {kMajorPositionAttr, 0, "posx", 0},
    {kMajorPositionAttr, 1, "posxc", 0},
    {kMajorPositionAttr, 2, "posxi", 0},
    {kMajorPositionAttr, 3, "posxl", 0},
    {kMajorPositionAttr, 4, "posxo", 0},
    {kMajorPositionAttr, 5, "posxr", 0},
    {kMajorPositionAttr, 6, "posy", 0},
    {kMajorPositionAttr, 7, "posyil", 0},
    {kMajorPositionAttr, 8, "posyt", 0},
    {kMajorPositionAttr, 9, "posyc", 0},
    {kMajorPositionAttr, 10, "posyb", 0},
    {kMajorPositionAttr, 11, "absw", 0},
    {kMajorPositionAttr, 12, "dxfrtext", 0},
    {kMajorPositionAttr, 13, "pvmrg", 0},
    {kMajorPositionAttr, 14, "pvpg", 0},
    {kMajorPositionAttr, 15, "phmrg", 0},
    {kMajorPositionAttr, 16, "phpg", 0},
    {kMajorPositionAttr, 17, "phcol", 0},

    {0, -1, nullptr, 0},
}};

bool sorted = false;

// Orders by checksum first, so most probes compare integers only; equal
// checksums fall back to the names as unsigned bytes, a prefix first.
int compareKeys(int checksumA, const char* nameA, int checksumB, std::string_view nameB) {
  if (checksumA != checksumB) return checksumA < checksumB ? -1 : 1;
  return std::string_view(nameA).compare(nameB);
}

bool rowBefore(const ControlWord& a, const ControlWord& b) {
  return compareKeys(a.checksum, a.name, b.checksum, b.name) < 0;
}

std::span<ControlWord> rows() { return std::span(table).first(kControlWordCount); }

}  // namespace

int nameChecksum(std::string_view name) {
  int sum = 0;
  for (const char c : name) sum += static_cast<signed char>(c);
  return sum;
}

void sortControlWords() {
  if (sorted) return;
  for (ControlWord* row = table.data(); row->name != nullptr; ++row) {
    row->checksum = nameChecksum(row->name);
  }
  std::ranges::sort(rows(), rowBefore);
  sorted = true;
}

const ControlWord* findControlWord(std::string_view name) {
  const int checksum = nameChecksum(name);
  const auto sortedRows = rows();
  const auto found = std::lower_bound(
      sortedRows.begin(), sortedRows.end(), name, [checksum](const ControlWord& row, std::string_view key) {
        return compareKeys(row.checksum, row.name, checksum, key) < 0;
      });
  if (found == sortedRows.end() || compareKeys(found->checksum, found->name, checksum, name) != 0) {
    return nullptr;
  }
  return &*found;
}

std::span<const ControlWord> controlWords() { return rows(); }

}  // namespace zav::rtf
