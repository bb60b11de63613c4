#include "RtfCorpus.h"

#include <array>
#include <algorithm>
#include <cmath>
#include <string_view>

namespace zav::bench {

namespace {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
  bool chance(unsigned percent) { return below(100) < percent; }
  template <class T, std::size_t N>
  const T& pick(const std::array<T, N>& items) {
    return items[below(N)];
  }

 private:
  std::uint64_t state_;
};

constexpr std::array<std::string_view, 24> kWords{
    "the",    "catalog", "disc",  "archive", "report", "quarterly", "results", "meeting",
    "agenda", "project", "plan",  "budget",  "review", "customer",  "order",   "shipping",
    "table",  "figure",  "notes", "summary", "draft",  "version",   "final",   "approved"};

// Shift-JIS pairs of common kana and kanji, as writers escape them.
constexpr std::array<std::string_view, 16> kShiftJis{
    "\\'82\\'b1", "\\'82\\'ea", "\\'82\\'cd", "\\'82\\'c5", "\\'82\\'b7", "\\'82\\'a0",
    "\\'8f\\'91", "\\'97\\'de", "\\'89\\'ef", "\\'8b\\'63", "\\'93\\'fa", "\\'96\\'7b",
    "\\'8c\\'ea", "\\'95\\'b6", "\\'8f\\'cd", "\\'82\\'c6"};

constexpr std::string_view kParagraphProperties =
    "\\pard\\plain \\ltrpar\\qj \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\wrapdefault\\aspalpha"
    "\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0\\pararsid";
constexpr std::string_view kCharacterProperties =
    " \\rtlch\\fcs1 \\af31507\\afs22\\alang1025 \\ltrch\\fcs0 \\fs22\\lang1033\\langfe1041\\kerning2"
    "\\loch\\af31506\\hich\\af31506\\dbch\\af31505\\cgrid\\langnp1033\\langfenp1041 ";
constexpr std::string_view kBorder = "\\brdrs\\brdrw10 ";

class Writer {
 public:
  Writer(std::size_t bytes, std::uint64_t seed)
      : target_(bytes), scale_(std::min(1.0, static_cast<double>(bytes) / (256 * 1024))), random_(seed) {}

  std::string body() {
    out_ = "{\\rtf1\\ansi\\ansicpg932\\uc2 ";
    while (out_.size() < target_) {
      const std::size_t roll = random_.below(100);
      if (roll < 12) {
        table();
      } else if (roll < 18) {
        field();
      } else {
        paragraph();
      }
    }
    out_ += "}";
    return std::move(out_);
  }

  std::string document() {
    if (target_ < 24 * 1024) {
      simpleEditorHeader();
      while (out_.size() + 16 < target_) simpleParagraph();
    } else {
      wordProcessorHeader();
      // The tail's blobs are written first, so the body can fill the rest.
      std::string tail;
      std::swap(out_, tail);
      wordProcessorTail();
      std::swap(out_, tail);
      // Big documents owe most of their bytes to pictures, as real ones do.
      const std::size_t pictureShare = target_ > 512 * 1024 ? 70 : target_ > 96 * 1024 ? 40 : 10;
      while (out_.size() + tail.size() < target_) {
        const std::size_t roll = random_.below(100);
        if (roll < pictureShare / 4 && out_.size() + 8192 < target_) {
          picture();
        } else if (roll < 12 + pictureShare / 4) {
          table();
        } else if (roll < 18 + pictureShare / 4) {
          field();
        } else {
          paragraph();
        }
      }
      out_ += tail;
    }
    out_ += "}";
    return std::move(out_);
  }

 private:
  void text(std::size_t words) {
    for (std::size_t i = 0; i < words; ++i) {
      if (i > 0) out_ += ' ';
      out_ += random_.pick(kWords);
    }
  }

  void japanese(std::size_t characters) {
    for (std::size_t i = 0; i < characters; ++i) out_ += random_.pick(kShiftJis);
  }

  void hex(std::size_t bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < bytes; ++i) {
      const auto b = random_.next() & 0xFF;
      out_ += kDigits[b >> 4];
      out_ += kDigits[b & 15];
      if (i % 64 == 63) out_ += "\r\n";
    }
  }

  void rsid() { out_ += std::to_string(1000000 + random_.below(9000000)); }

  void utf16(std::u16string_view units) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out_ += "\\'fe\\'ff";
    for (const char16_t unit : units) {
      for (const unsigned b : {static_cast<unsigned>(unit >> 8), static_cast<unsigned>(unit & 0xFF)}) {
        out_ += "\\'";
        out_ += kDigits[b >> 4];
        out_ += kDigits[b & 15];
      }
    }
  }

  void simpleEditorHeader() {
    out_ +=
        "{\\rtf1\\ansi\\ansicpg932\\deff0\\nouicompat\\deflang1033\\deflangfe1041{\\fonttbl{\\f0\\fnil"
        "\\fcharset128 \\'82\\'6c\\'82\\'72 \\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}{\\f1\\fnil\\fcharset0 "
        "Calibri;}}\r\n{\\colortbl ;\\red0\\green0\\blue255;\\red255\\green0\\blue0;}\r\n"
        "{\\*\\generator Riched20 10.0.19041}{\\info{\\title ";
    utf16(u"\u5831\u544a\u66f8");
    out_ += "}{\\author Kim}}\\viewkind4\\uc1 \r\n\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang1041 ";
  }

  void simpleParagraph() {
    if (random_.chance(50)) {
      japanese(8 + random_.below(30));
    } else {
      text(6 + random_.below(20));
    }
    out_ += random_.chance(20) ? "\\tab " : "\\par\r\n";
  }

  void fontTable() {
    out_ += "{\\fonttbl";
    constexpr std::array<std::string_view, 6> kNames{"Times New Roman", "Arial", "Century", "Calibri",
                                                     "Cambria Math", "Segoe UI"};
    const std::size_t fonts = scaled(4, 30) + random_.below(scaled(2, 30));
    for (std::size_t i = 0; i < fonts; ++i) {
      out_ += "{\\f" + std::to_string(i) + "\\fbidi \\froman\\fcharset" + (i % 3 == 0 ? "128" : "0") +
              "\\fprq2{\\*\\panose 02020603050405020304}";
      if (i % 3 == 0) {
        out_ += "\\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9{\\*\\falt MS Mincho};}\r\n";
      } else {
        out_ += std::string(random_.pick(kNames)) + ";}\r\n";
      }
    }
    out_ += "}";
  }

  void colourTable() {
    out_ += "{\\colortbl;";
    const std::size_t colours = scaled(6, 16) + random_.below(scaled(2, 48));
    for (std::size_t i = 0; i < colours; ++i) {
      out_ += "\\red" + std::to_string(random_.below(256)) + "\\green" + std::to_string(random_.below(256)) +
              "\\blue" + std::to_string(random_.below(256)) + ";";
    }
    out_ += "}\r\n";
  }

  void stylesheet() {
    out_ += "{\\stylesheet";
    const std::size_t styles = scaled(8, 30) + random_.below(scaled(4, 120));
    for (std::size_t i = 0; i < styles; ++i) {
      out_ += "{\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto"
              "\\adjustright\\rin0\\lin0\\itap0 \\rtlch\\fcs1 \\af31507\\afs22\\alang1025 \\ltrch\\fcs0 "
              "\\fs22\\lang1033\\langfe1041\\kerning2\\loch\\f31506\\hich\\af31506\\dbch\\af31505\\cgrid"
              "\\langnp1033\\langfenp1041 \\sbasedon0 \\snext" +
              std::to_string(i) + " \\sqformat \\spriority" + std::to_string(i % 99) + " " +
              std::string(random_.pick(kWords)) + " " + std::to_string(i) + ";}\r\n";
    }
    out_ += "}";
  }

  void latentStyles() {
    out_ += "{\\*\\latentstyles\\lsdstimax376\\lsdlockeddef0\\lsdsemihiddendef0\\lsdunhideuseddef0"
            "\\lsdqformatdef0\\lsdprioritydef99{\\lsdlockedexcept ";
    for (std::size_t i = 0, n = scaled(40, 376); i < n; ++i) {
      out_ += "\\lsdsemihidden1 \\lsdunhideused1 \\lsdpriority" + std::to_string(i % 70) + " \\lsdlocked0 " +
              std::string(random_.pick(kWords)) + " " + std::to_string(i) + ";";
      if (i % 4 == 3) out_ += "\r\n";
    }
    out_ += "}}";
  }

  void information() {
    out_ += "{\\info{\\title ";
    utf16(u"\u5e74\u6b21\u5831\u544a\u66f8 2024");
    out_ += "}{\\subject Annual report}{\\author ";
    utf16(u"\u5c71\u7530\u592a\u90ce");
    out_ += "}{\\operator Kim}{\\keywords catalog, disc}{\\comment draft}{\\creatim\\yr2024\\mo5\\dy1\\hr10"
            "\\min3}{\\revtim\\yr2024\\mo5\\dy2\\hr9\\min41}{\\version2}{\\edmins35}{\\nofpages12}{\\nofwords"
            "3012}{\\nofchars17170}{\\*\\company Acme}{\\nofcharsws20142}{\\vern113}}\r\n";
  }

  void wordProcessorHeader() {
    out_ += "{\\rtf1\\adeflang1025\\ansi\\ansicpg932\\uc2\\adeff31507\\deff0\\stshfdbch31505\\stshfloch31506"
            "\\stshfhich31506\\stshfbi31507\\deflang1033\\deflangfe1041\\themelang1033\\themelangfe1041"
            "\\themelangcs0";
    fontTable();
    colourTable();
    out_ += "{\\*\\defchp \\fs22\\kerning2\\loch\\af31506\\hich\\af31506\\dbch\\af31505 }{\\*\\defpap \\ql "
            "\\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto"
            "\\adjustright\\rin0\\lin0\\itap0 }\\noqfpromote ";
    stylesheet();
    out_ += "{\\*\\rsidtbl ";
    for (std::size_t i = 0, n = scaled(10, 40) + random_.below(scaled(10, 300)); i < n; ++i) {
      out_ += "\\rsid";
      rsid();
    }
    out_ += "}{\\mmathPr\\mmathFont34\\mbrkBin0\\mbrkBinSub0\\msmallFrac0\\mdispDef1\\mlMargin0\\mrMargin0"
            "\\mdefJc1\\mwrapIndent1440\\mintLim0\\mnaryLim1}";
    information();
    out_ += "{\\*\\xmlnstbl {\\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}\r\n"
            "\\paperw11906\\paperh16838\\margl1701\\margr1701\\margt1985\\margb1701\\gutter0\\ltrsect \r\n"
            "\\deftab840\\ftnbj\\aenddoc\\trackmoves0\\trackformatting1\\donotembedsysfont0\\relyonvml0"
            "\\donotembedlingdata1\\grfdocevents0\\validatexml0\\showplaceholdtext0\\ignoremixedcontent0"
            "\\saveinvalidxml0\\showxmlerrors0\\horzdoc\\dghspace180\\dgvspace180\\dghorigin1701\\dgvorigin"
            "1984\\dghshow0\\dgvshow2\\jcompress\\lnongrid\r\n\\viewkind1\\viewscale100\\splytwnine\\ftnlytwnine"
            "\\htmautsp\\useltbaln\\alntblind\\lytcalctblwd\\lyttblrtgr\\lnbrkrule\\nobrkwrptbl\\snaptogridincell"
            "\\allowfieldendsel\\wrppunct\\asianbrkrule\\rsidroot";
    rsid();
    out_ += "\\newtblstyruls\\nogrowautofit\\usenormstyforlist\\noindnmbrts\\felnbrelev\\nocxsptable\\indrlsweleven"
            "\\noafcnsttbl\\afelev\\utinl\\hwelev\\spltpgpar\\notcvasp\\notbrkcnstfrctbl\\notvatxbx\\krnprsnet"
            "\\cachedcolbal \\nouicompat \\fet0{\\*\\wgrffmtfilter 2450}\\nofeaturethrottle1\\ilfomacatclnup0"
            "\\ltrpar \\sectd \\ltrsect\\linex0\\headery851\\footery992\\colsx425\\endnhere\\sectlinegrid360"
            "\\sectspecifyl\\sectrsid";
    rsid();
    out_ += "\\sftnbj {\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}{\\*\\pnseclvl2\\pnucltr"
            "\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}\r\n";
  }

  void run() {
    out_ += "{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 ";
    if (random_.chance(40)) {
      out_ += "\\loch\\af31506\\hich\\af31506\\dbch\\f31505\\insrsid";
      rsid();
      out_ += " \\hich\\af31506\\dbch\\af31505\\loch\\f31506 ";
      japanese(4 + random_.below(40));
    } else {
      if (random_.chance(20)) out_ += "\\b ";
      out_ += "\\insrsid";
      rsid();
      out_ += ' ';
      text(3 + random_.below(25));
      if (random_.chance(10)) out_ += "\\u12354\\'82\\'a0";
    }
    out_ += "}";
  }

  void paragraph() {
    out_ += kParagraphProperties;
    rsid();
    out_ += kCharacterProperties;
    const std::size_t runs = 1 + random_.below(5);
    for (std::size_t i = 0; i < runs; ++i) run();
    out_ += "{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid";
    rsid();
    out_ += " \\par }\r\n";
  }

  // The four sides' borders, top, left, bottom, right, with `prefix`
  // ("\\trbrdr" for a row, "\\clbrdr" for a cell).
  void borders(const char* prefix) {
    for (const char side : {'t', 'l', 'b', 'r'}) {
      out_ += prefix;
      out_ += side;
      out_ += kBorder;
    }
  }

  void rowProperties(std::size_t cells) {
    out_ += "\\trowd \\irow0\\irowband0\\ltrrow\\ts11\\trgaph108\\trleft-108";
    borders("\\trbrdr");
    out_ += "\\trftsWidth1\\trftsWidthB3\\trftsWidthA3\\trautofit1\\trpaddl108\\trpaddr108\\trpaddfl3"
            "\\trpaddft3\\trpaddfb3\\trpaddfr3\\tblrsid";
    rsid();
    out_ += "\\tbllkhdrrows\\tbllklastrow\\tbllkhdrcols\\tbllklastcol\\tblind0\\tblindtype3 ";
    for (std::size_t c = 0; c < cells; ++c) {
      out_ += "\\clvertalt";
      borders("\\clbrdr");
      out_ += "\\cltxlrtb\\clftsWidth3\\clwWidth2831\\clshdrawnil \\cellx" + std::to_string(2723 * (c + 1)) + "\r\n";
    }
  }

  void table() {
    const std::size_t cells = 2 + random_.below(4);
    const std::size_t rows = 2 + random_.below(8);
    for (std::size_t r = 0; r < rows; ++r) {
      rowProperties(cells);
      for (std::size_t c = 0; c < cells; ++c) {
        out_ += "\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\widctlpar\\intbl\\wrapdefault\\aspalpha\\aspnum\\faauto"
                "\\adjustright\\rin0\\lin0\\pararsid";
        rsid();
        out_ += "\\yts11";
        out_ += kCharacterProperties;
        run();
        out_ += "{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid";
        rsid();
        out_ += " \\cell }";
      }
      out_ += "\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\intbl\\wrapdefault"
              "\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0 {\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 "
              "\\insrsid";
      rsid();
      out_ += " ";
      rowProperties(cells);
      out_ += "\\row }\r\n";
    }
  }

  void field() {
    out_ += kParagraphProperties;
    rsid();
    out_ += kCharacterProperties;
    out_ += "{\\field{\\*\\fldinst {\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid";
    rsid();
    out_ += " HYPERLINK \"https://example.com/";
    text(2);
    out_ += "\" }{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid";
    rsid();
    out_ += " {\\*\\datafield ";
    hex(96);
    out_ += "}}}{\\fldrslt {\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\cs15\\ul\\cf2\\insrsid";
    rsid();
    out_ += ' ';
    text(2 + random_.below(4));
    out_ += "}}}\\sectd \\ltrsect\\linex0\\endnhere\\sectlinegrid360\\sectdefaultcl\\sftnbj {\\rtlch\\fcs1 "
            "\\af31507 \\ltrch\\fcs0 \\insrsid";
    rsid();
    out_ += " \\par }\r\n";
  }

  void picture() {
    const std::size_t budget = target_ - out_.size();
    const std::size_t bytes = std::min<std::size_t>(budget / 3, 2048 + random_.below(240 * 1024));
    out_ += kParagraphProperties;
    rsid();
    out_ += kCharacterProperties;
    out_ += "{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid";
    rsid();
    out_ += " {\\*\\shppict{\\pict{\\*\\picprop\\shplid1025{\\sp{\\sn shapeType}{\\sv 75}}{\\sp{\\sn fFlipH}"
            "{\\sv 0}}{\\sp{\\sn fFlipV}{\\sv 0}}{\\sp{\\sn fLayoutInCell}{\\sv 1}}}\\picscalex100\\picscaley100"
            "\\piccropl0\\piccropr0\\piccropt0\\piccropb0\\picw5292\\pich3528\\picwgoal3000\\pichgoal2000"
            "\\pngblip\\bliptag-1234567{\\*\\blipuid ";
    hex(16);
    out_ += "}";
    hex(bytes * 2 / 3);
    out_ += "}}{\\nonshppict{\\pict\\picscalex100\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0"
            "\\picw5292\\pich3528\\picwgoal3000\\pichgoal2000\\wmetafile8\\bliptag-1234567\\blipupi96"
            "{\\*\\blipuid ";
    hex(16);
    out_ += "}";
    hex(bytes / 3);
    out_ += "}}}{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid";
    rsid();
    out_ += " \\par }\r\n";
  }

  void wordProcessorTail() {
    out_ += "{\\*\\themedata ";
    hex(scaled(1024, 8 * 1024));
    out_ += "}\r\n{\\*\\colorschememapping ";
    hex(400);
    out_ += "}\r\n";
    latentStyles();
    out_ += "{\\*\\datastore ";
    hex(scaled(512, 1536));
    out_ += "}\r\n";
  }

  // Tables and blobs grow with the document up to their usual size.
  std::size_t scaled(std::size_t least, std::size_t most) const {
    return least + static_cast<std::size_t>(scale_ * static_cast<double>(most - least));
  }

  std::size_t target_;
  double scale_;
  Random random_;
  std::string out_;
};

}  // namespace

std::string syntheticRtf(std::size_t bytes, std::uint64_t seed) { return Writer(bytes, seed).document(); }

std::string syntheticRtfBody(std::size_t bytes, std::uint64_t seed) { return Writer(bytes, seed).body(); }

std::vector<std::string> syntheticRtfCorpus(std::size_t count, std::uint64_t seed) {
  std::vector<std::string> documents;
  const double smallest = std::log(2.0 * 1024);
  const double largest = std::log(2.0 * 1024 * 1024);
  for (std::size_t i = 0; i < count; ++i) {
    const double position = count > 1 ? static_cast<double>(i) / static_cast<double>(count - 1) : 0.0;
    const auto bytes = static_cast<std::size_t>(std::exp(smallest + position * (largest - smallest)));
    documents.push_back(syntheticRtf(bytes, seed + i));
  }
  return documents;
}

}  // namespace zav::bench
