"""The RTF documents of the benchmark corpus, one writer a shape: what recent
and older Word, WordPad, TextEdit, Word for the classic Mac OS and
LibreOffice emit, each as documents of its own (its header, its tables, how
it writes text beyond ASCII, how it breaks lines), so that figures per shape
say how the reader does on each writer's documents.

  shape               what it is
  word                Word 2013 and later, Western text: big font, style,
                      list and latent-style tables, theme and data-store
                      blobs, pictures, embedded objects, nested tables
  word-japanese       the same writer with Japanese text: \\uN and its
                      two-byte \\'hh\\'hh fallback under \\uc2
  word2003-japanese   Word 97-2003 on Japanese Windows: \\ansicpg932, body
                      text as \\'hh pairs (eight bytes a character), lines
                      broken near 255 bytes, pictures and objects
  word2003-small      Word 97-2003 letters and memos of 5-20 KB, where what
                      an open costs counts
  wordpad             WordPad (\\viewkind4\\uc1, a \\pard ... \\par a
                      paragraph, \\'hh accents, Japanese as \\'hh pairs,
                      bullets, pasted pictures)
  textedit            TextEdit's Cocoa RTF: short lines ending in a backslash
                      before the line feed, font and colour runs, \\uc0\\uN
                      or \\uN\\'hh beyond the code page, raw TABs in lists
  mac                 Word for the classic Mac OS: \\mac, CR line ends, Mac
                      Roman accents, \\uN? in the information group
  libreoffice         LibreOffice: styles, page descriptions, \\loch/\\hich runs
"""

import math
import random

from bench_text import WORDS, japanese_phrase, japanese_sentence, person, phrase

# --- text as writers escape it ------------------------------------------------------------


def hex_escapes(data, upper=False):
    form = "\\'{:02X}" if upper else "\\'{:02x}"
    return "".join(form.format(b) for b in data)


def ascii_char(c):
    return "\\" + c if c in "\\{}" else c


def code_page_text(text, codepage, upper=False):
    """ASCII as it is, the rest as \\'hh escapes of its bytes in `codepage`."""
    out = []
    for c in text:
        if ord(c) < 128:
            out.append(ascii_char(c))
        else:
            out.append(hex_escapes(c.encode(codepage, "replace"), upper))
    return "".join(out)


def unicode_value(c):
    """The parameter of \\u: the code unit as a signed 16-bit number."""
    n = ord(c)
    return n - 65536 if n > 32767 else n


def unicode_text(text, codepage, fallback_bytes):
    """Characters beyond ASCII as \\uN followed by their fallback: the
    character's bytes in `codepage` as `fallback_bytes` \\'hh escapes, or
    question marks where the code page lacks it."""
    out = []
    for c in text:
        if ord(c) < 128:
            out.append(ascii_char(c))
            continue
        try:
            fallback = c.encode(codepage)
        except UnicodeEncodeError:
            fallback = b"?" * fallback_bytes
        fallback = (fallback + b"?" * fallback_bytes)[:fallback_bytes]
        out.append(f"\\u{unicode_value(c)}" + "".join(
            f"\\'{b:02x}" if b >= 0x80 else chr(b) for b in fallback))
    return "".join(out)


def cocoa_text(text, codepage):
    """Cocoa's way: the code page's characters as \\'hh, the others as
    \\uN and a space after one \\uc0 (no fallback)."""
    out = []
    said_uc0 = False
    for c in text:
        if ord(c) < 128:
            out.append(ascii_char(c))
            continue
        try:
            out.append(hex_escapes(c.encode(codepage)))
        except UnicodeEncodeError:
            if not said_uc0:
                out.append("\\uc0")
                said_uc0 = True
            out.append(f"\\u{ord(c)} ")
    return "".join(out)


ENCODINGS = {
    "cp1252": lambda s: code_page_text(s, "cp1252"),
    "cp1252-upper": lambda s: code_page_text(s, "cp1252", upper=True),
    "cp932": lambda s: code_page_text(s, "cp932"),
    "mac": lambda s: code_page_text(s, "mac_roman"),
    "u2-cp932": lambda s: unicode_text(s, "cp932", 2),
    "u1-cp1252": lambda s: unicode_text(s, "cp1252", 1),
    "u1-mac": lambda s: unicode_text(s, "mac_roman", 1),
    "cocoa-1252": lambda s: cocoa_text(s, "cp1252"),
    "cocoa-932": lambda s: cocoa_text(s, "cp932"),
}

LATIN_EXTRAS = ["café", "naïve", "Müller", "façade", "señor", "Øresund", "résumé", "Zürich", "über",
                "“quoted”", "it’s", "—", "…", "€30", "½", "déjà", "Ærø", "Ångström", "São"]


def western_sentence(rng):
    words = [rng.choice(LATIN_EXTRAS if rng.random() < 0.08 else WORDS) for _ in range(rng.randint(5, 22))]
    return " ".join(words).capitalize() + rng.choice([". ", ". ", "? ", "! ", "; ", ", "])


def break_lines(text, width, line_end="\r\n"):
    """Breaks a long run of RTF text before a backslash or a space near every
    `width` bytes, as writers that keep their lines short do."""
    if len(text) <= width:
        return text
    out, start = [], 0
    while len(text) - start > width:
        cut = max(text.rfind("\\", start + width // 2, start + width), text.rfind(" ", start + width // 2, start + width))
        if cut <= start:
            cut = start + width
            while cut < len(text) and text[cut] != "\\":
                cut += 1
        out.append(text[start:cut])
        start = cut
    out.append(text[start:])
    return line_end.join(out)


class Pools:
    """Sentences, made once and encoded once per writer's way, and hex lines,
    cut into every document, so that a thousand documents of some hundred MB
    build in a minute or two."""

    def __init__(self, seed):
        rng = random.Random(f"{seed}:rtf-pools")
        self.western = [western_sentence(rng) for _ in range(800)]
        self.japanese = [japanese_sentence(rng) for _ in range(600)]
        # Hex of random bytes wrapped at 128 digits, as Word writes picture data.
        self.hex_lines = [rng.randbytes(64).hex() for _ in range(24000)]
        self._encoded = {}

    def sentences(self, language, encoding):
        key = (language, encoding)
        if key not in self._encoded:
            source = self.western if language == "western" else self.japanese
            self._encoded[key] = [ENCODINGS[encoding](s) for s in source]
        return self._encoded[key]

    def prose(self, rng, language, encoding, count):
        pool = self.sentences(language, encoding)
        return "".join(rng.choice(pool) for _ in range(count))

    def hex_blob(self, rng, size, line_end="\r\n", width=128):
        lines = max(1, size // width)
        start = rng.randrange(len(self.hex_lines) - min(lines, len(self.hex_lines) - 1))
        chosen = self.hex_lines[start:start + lines]
        while len(chosen) < lines:
            chosen += self.hex_lines[:lines - len(chosen)]
        if width != 128:
            chosen = [line[:width] for line in chosen]
        return line_end.join(chosen)


FONT_FAMILIES = [("froman", "Times New Roman", "02020603050405020304"), ("fswiss", "Arial", "020b0604020202020204"),
                 ("fswiss", "Calibri", "020f0502020204030204"), ("froman", "Cambria Math", "02040503050406030204"),
                 ("fswiss", "Calibri Light", "020f0302020204030204"), ("fmodern", "Courier New", "02070309020205020404"),
                 ("froman", "Georgia", "02040502050405020303"), ("fswiss", "Segoe UI", "020b0502040204020203"),
                 ("fswiss", "Verdana", "020b0604030504040204"), ("fswiss", "Tahoma", "020b0604030504040204"),
                 ("froman", "Garamond", "02020404030301010803"), ("fdecor", "Wingdings", "05000000000000000000"),
                 ("froman", "Symbol", "05050102010706020507")]
CHARSET_VARIANTS = [(238, "CE"), (204, "Cyr"), (161, "Greek"), (162, "Tur"), (177, "(Hebrew)"),
                    (178, "(Arabic)"), (186, "Baltic"), (163, "(Vietnamese)")]
JAPANESE_FONTS = [("ＭＳ 明朝", "MS Mincho"), ("ＭＳ ゴシック", "MS Gothic"), ("游明朝", "Yu Mincho"),
                  ("游ゴシック", "Yu Gothic"), ("メイリオ", "Meiryo"), ("ＭＳ Ｐゴシック", "MS PGothic")]


# --- one writer's document -------------------------------------------------------------------

class Writer:
    """A document of about `target` bytes; subclasses write it as one writer does."""

    japanese = False

    def __init__(self, rng, pools, target):
        self.rng, self.pools, self.target = rng, pools, target
        self.parts, self.size = [], 0
        self.rsids = [rng.randrange(1000000, 16000000) for _ in range(rng.randint(3, 400))]

    def add(self, text):
        self.parts.append(text)
        self.size += len(text)

    def room(self):
        return self.target - self.size

    def build(self):
        self.write()
        return "".join(self.parts).encode("ascii")

    def write(self):
        raise NotImplementedError

    def info_group(self, fields, extra=()):
        return "{\\info" + "".join(f"{{\\{name} {value}}}" for name, value in fields) + "".join(extra) + "}"

    def stamp(self, low=1997, high=2023):
        rng = self.rng
        return (f"\\yr{rng.randint(low, high)}\\mo{rng.randint(1, 12)}\\dy{rng.randint(1, 28)}"
                f"\\hr{rng.randint(0, 23)}\\min{rng.randint(0, 59)}")

    def picture_hex(self, size, line_end="\r\n"):
        return self.pools.hex_blob(self.rng, size, line_end)

    def ole_object(self, size, result_picture):
        """An embedded object (a chart, a sheet) as Word writes it: its class,
        the OLE data as hex and the picture that stands for it."""
        rng = self.rng
        name = rng.choice(["Excel.Sheet.8", "Excel.Chart.8", "Word.Document.8", "Equation.3", "PowerPoint.Slide.8"])
        header = "01050000020000000" + f"{len(name) + 1:x}" + "000000" + name.encode().hex() + "00000000000000"
        return (f"{{\\object\\objemb\\objw{rng.randint(2000, 9000)}\\objh{rng.randint(1000, 6000)}"
                f"{{\\*\\objclass {name}}}{{\\*\\objdata {header}\r\n{self.picture_hex(size)}\r\n}}"
                f"{{\\result {result_picture}}}}}")


class RecentWord(Writer):
    """Word 2013 and later: the big tables up front, the blobs at the end."""

    codepage = 1252

    def write(self):
        rng = self.rng
        self.add(f"{{\\rtf1\\adeflang1025\\ansi\\ansicpg{self.codepage}\\uc{2 if self.japanese else 1}"
                 "\\adeff31507\\deff0\\stshfdbch31505\\stshfloch31506\\stshfhich31506\\stshfbi31507\\deflang1033"
                 "\\deflangfe1041\\themelang1033\\themelangfe1041\\themelangcs0")
        self.fonts()
        self.add("{\\colortbl;" + "".join(
            f"\\red{rng.randrange(256)}\\green{rng.randrange(256)}\\blue{rng.randrange(256)};"
            for _ in range(rng.randint(16, 40))) + "\\ctextone\\ctint255\\cshade255\\red0\\green0\\blue0;}\r\n")
        self.add("{\\*\\defchp \\f31506\\fs22\\kerning2\\loch\\af31506\\hich\\af31506\\dbch\\af31505 }"
                 "{\\*\\defpap \\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\wrapdefault\\aspalpha"
                 "\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 }\\noqfpromote \r\n")
        self.styles()
        self.add("{\\*\\listtable" + "".join(self.word_list(i) for i in range(rng.randint(1, 6))) + "}\r\n")
        self.add("{\\*\\rsidtbl " + "".join(f"\\rsid{r}" for r in self.rsids) + "}\r\n")
        self.add("{\\mmathPr\\mmathFont34\\mbrkBin0\\mbrkBinSub0\\msmallFrac0\\mdispDef1\\mlMargin0\\mrMargin0"
                 "\\mdefJc1\\mwrapIndent1440\\mintLim0\\mnaryLim1}")
        self.add(self.info() + "\r\n")
        self.add("{\\*\\xmlnstbl {\\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}"
                 "\\paperw11906\\paperh16838\\margl1701\\margr1701\\margt1985\\margb1701\\gutter0"
                 "\\ltrsect \r\n\\deftab840\\ftnbj\\aenddoc\\trackmoves0\\trackformatting1\\donotembedsysfont1"
                 "\\relyonvml0\\donotembedlingdata0\\grfdocevents0\\validatexml1\\showplaceholdtext0\r\n")
        self.add(self.latent_styles())
        self.add("{\\header \\ltrpar \\pard\\plain \\ltrpar\\s17\\qc {\\field{\\*\\fldinst PAGE}"
                 "{\\fldrslt 1}}\\par }\r\n")
        tail = self.tail()
        while self.room() > len(tail) + 600:
            kind = rng.random()
            if kind < 0.04 and self.room() > len(tail) + 30000:
                self.picture(rng.randint(4000, max(5000, min((self.room() - len(tail)) // 2, 600000))))
            elif kind < 0.05 and self.room() > len(tail) + 30000:
                self.embedded_object(rng.randint(8000, max(9000, min((self.room() - len(tail)) // 2, 300000))))
            elif kind < 0.09:
                self.table()
            elif kind < 0.10:
                self.nested_table()
            elif kind < 0.16:
                self.field()
            elif kind < 0.22:
                self.list_item()
            else:
                self.paragraph()
        self.add("\\par }" + tail)

    # Information strings: plain, or UTF-16 big-endian with its mark.
    def info_string(self, western, japanese):
        if self.rng.random() < 0.1:
            return "\\'fe\\'ff" + hex_escapes(japanese.encode("utf-16-be"))
        return self.text_of(western, japanese)

    def text_of(self, western, japanese):
        return code_page_text(western, "cp1252")

    def info(self):
        rng = self.rng
        fields = [("title", phrase(rng, 2, 7), japanese_phrase(rng, 2, 6)),
                  ("subject", phrase(rng, 1, 5), japanese_phrase(rng, 1, 4)),
                  ("author", person(rng), japanese_phrase(rng, 1, 2)),
                  ("operator", person(rng), japanese_phrase(rng, 1, 2)),
                  ("keywords", phrase(rng, 2, 6), japanese_phrase(rng, 2, 5)),
                  ("doccomm", phrase(rng, 4, 12), japanese_phrase(rng, 3, 8))]
        chosen = [(name, self.info_string(w, j)) for name, w, j in fields if rng.random() < 0.8]
        stamp = self.stamp(2013)
        extra = [f"{{\\creatim{stamp}}}", f"{{\\revtim{stamp}}}", f"{{\\version{rng.randint(1, 40)}}}",
                 f"{{\\edmins{rng.randint(0, 3000)}}}", f"{{\\nofpages{rng.randint(1, 90)}}}",
                 f"{{\\nofwords{rng.randint(100, 90000)}}}", f"{{\\nofchars{rng.randint(500, 500000)}}}",
                 f"{{\\*\\company {phrase(rng, 1, 3)}}}", f"{{\\nofcharsws{rng.randint(500, 600000)}}}",
                 f"{{\\vern{rng.randint(49000, 60000)}}}"]
        return self.info_group(chosen, extra)

    def font_name(self, index):
        if self.japanese and index < len(JAPANESE_FONTS):
            return code_page_text(JAPANESE_FONTS[index][0], "cp932"), 128
        return FONT_FAMILIES[index % len(FONT_FAMILIES)][1], 0

    def fonts(self):
        rng = self.rng
        self.add("{\\fonttbl")
        used = rng.randint(4, len(FONT_FAMILIES))
        for index in range(used):
            family, _, panose = FONT_FAMILIES[index]
            real_name, charset = self.font_name(index)
            self.add(f"{{\\f{index}\\fbidi \\{family}\\fcharset{charset}\\fprq2{{\\*\\panose {panose}}}"
                     f"{real_name};}}\r\n")
        for major, number in (("flomajor", 31500), ("fdbmajor", 31501), ("fhimajor", 31502),
                              ("fbimajor", 31503), ("flominor", 31504), ("fdbminor", 31505),
                              ("fhiminor", 31506), ("fbiminor", 31507)):
            self.add(f"{{\\{major}\\f{number}\\fbidi \\froman\\fcharset0\\fprq2{{\\*\\panose "
                     f"02020603050405020304}}Times New Roman;}}\r\n")
        number = 40
        for index in range(used if rng.random() < 0.7 else used // 2):
            for charset, suffix in CHARSET_VARIANTS:
                family, name, _ = FONT_FAMILIES[index]
                self.add(f"{{\\f{number}\\fbidi \\{family}\\fcharset{charset}\\fprq2 {name} {suffix};}}")
                number += 1
            self.add("\r\n")
        self.add("}\r\n")

    def styles(self):
        rng = self.rng
        self.add("{\\stylesheet{\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\wrapdefault\\aspalpha"
                 "\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 \\rtlch\\fcs1 \\af31507\\afs22\\alang1025"
                 " \\ltrch\\fcs0 \\f31506\\fs22\\lang1033\\langfe1041\\cgrid\\langnp1033\\langfenp1041 "
                 "\\snext0 \\sqformat \\spriority0 Normal;}")
        for index in range(1, rng.randint(20, 220)):
            if rng.random() < 0.6:
                self.add(f"{{\\s{index}\\ql \\li0\\ri0\\sb{rng.randrange(0, 480, 20)}\\sa{rng.randrange(0, 240, 20)}"
                         f"\\keepn\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto\\outlinelevel{index % 9}"
                         f"\\adjustright\\rin0\\lin0\\itap0 \\rtlch\\fcs1 \\af31503\\afs{rng.randrange(16, 40, 2)}"
                         f"\\alang1025 \\ltrch\\fcs0 \\fs{rng.randrange(16, 40, 2)}\\lang1033\\langfe1041"
                         f"\\loch\\f31502\\hich\\af31502\\dbch\\af31501\\cgrid\\langnp1033\\langfenp1041 "
                         f"\\sbasedon0 \\snext0 \\slink{index + 300} \\sqformat \\spriority{index % 100} "
                         f"{phrase(rng, 1, 3).lower()};}}\r\n")
            else:
                self.add(f"{{\\*\\cs{index} \\additive \\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
                         f"\\cf{rng.randrange(1, 16)}\\ul \\sbasedon10 \\sunhideused \\styrsid"
                         f"{rng.choice(self.rsids)} {phrase(rng, 1, 3)} Char;}}\r\n")
        self.add("}\r\n")

    def word_list(self, number):
        levels = "".join(
            f"{{\\listlevel\\levelnfc23\\levelnfcn23\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat1"
            f"\\levelspace0\\levelindent0{{\\leveltext\\leveltemplateid{67698689 + level}\\'01\\u-3913 ?;}}"
            f"{{\\levelnumbers;}}\\f3\\fbias0 \\fi-420\\li{420 * (level + 1)}\\lin{420 * (level + 1)} }}"
            for level in range(9))
        return f"{{\\list\\listtemplateid{1400000 + number}\\listhybrid{levels}{{\\listname ;}}\\listid{number + 1}}}"

    def latent_styles(self):
        rng = self.rng
        entries = "".join(f"{{\\lsdsemihidden1 \\lsdunhideused1 \\lsdpriority{rng.randrange(100)} \\lsdlocked0 "
                          f"{phrase(rng, 1, 3).lower()};}}" for _ in range(rng.randint(150, 376)))
        return ("{\\*\\latentstyles\\lsdstimax376\\lsdlockeddef0\\lsdsemihiddendef0\\lsdunhideuseddef0"
                "\\lsdqformatdef0\\lsdprioritydef99{\\lsdlockedexcept " + entries + "}}\r\n")

    def tail(self):
        rng = self.rng
        pools = self.pools
        return ("{\\*\\themedata " + pools.hex_blob(rng, rng.randint(12000, 18000)) + "}\r\n"
                "{\\*\\colorschememapping " + pools.hex_blob(rng, 1660) + "}\r\n"
                "{\\*\\datastore " + pools.hex_blob(rng, rng.randint(1000, 4000)) + "}}\r\n")

    def run(self, text, extra=""):
        rsid = self.rng.choice(self.rsids)
        return f"{{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 {extra}\\insrsid{rsid} {text}}}"

    def text_run(self):
        return self.run(self.pools.prose(self.rng, "western", "cp1252", self.rng.randint(1, 4)),
                        self.rng.choice(["", "", "", "\\b", "\\i", "\\ul", f"\\cf{self.rng.randrange(1, 16)}"]))

    def runs(self):
        out = []
        for _ in range(self.rng.randint(1, 6)):
            out.append(self.text_run())
            if self.rng.random() < 0.1:
                out.append(self.run("\\tab "))
        return "\r\n".join(out)

    def pard(self, extra="", depth=0):
        rsid = self.rng.choice(self.rsids)
        return ("\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar" + extra +
                f"\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap{depth}\\pararsid{rsid} "
                "\\rtlch\\fcs1 \\af31507\\afs22\\alang1025 \\ltrch\\fcs0 \\f31506\\fs22\\lang1033"
                "\\langfe1041\\cgrid\\langnp1033\\langfenp1041 ")

    def paragraph(self):
        self.add(self.pard() + self.runs() + self.run("\\par ") + "\r\n")

    def list_item(self):
        bullet = ("{\\listtext\\pard\\plain\\ltrpar \\rtlch\\fcs1 \\af0\\afs22 \\ltrch\\fcs0 \\f3\\fs22"
                  "\\loch\\af3\\hich\\af3\\dbch\\af31505 \\'b7\\tab}")
        self.add(bullet + self.pard(f"\\fi-420\\li840\\ls{self.rng.randint(1, 6)}\\ilvl0") + self.runs()
                 + self.run("\\par ") + "\r\n")

    def field(self):
        rng = self.rng
        kind = rng.random()
        if kind < 0.6:
            url = f"https://www.example.org/{rng.choice(WORDS)}/{rng.randrange(10**6)}"
            instruction = f" HYPERLINK \"{url}\" "
            result = self.run(code_page_text(phrase(rng, 1, 5), "cp1252"), "\\cs15\\ul\\cf2")
            data = "{\\*\\datafield " + self.pools.hex_blob(rng, 256)[:300] + "}"
        elif kind < 0.8:
            instruction, result, data = " PAGE   \\\\* MERGEFORMAT ", self.run(str(rng.randint(1, 90))), ""
        else:
            instruction = f" REF _Ref{rng.randrange(10**9)} \\\\h "
            result, data = self.run(code_page_text(phrase(rng, 1, 4), "cp1252")), ""
        self.add(self.pard() + self.runs() +
                 f"{{\\field{{\\*\\fldinst {self.run(instruction)}{data}}}{{\\fldrslt {result}}}}}"
                 + self.run("\\par ") + "\r\n")

    def row_definition(self, columns, width, depth=1):
        return ("\\trowd \\irow0\\irowband0\\ltrrow\\ts11\\trgaph108\\trleft-108\\trbrdrt\\brdrs"
                "\\brdrw10 \\trbrdrl\\brdrs\\brdrw10 \\trbrdrb\\brdrs\\brdrw10 \\trbrdrr\\brdrs\\brdrw10 "
                "\\trbrdrh\\brdrs\\brdrw10 \\trbrdrv\\brdrs\\brdrw10 \\trftsWidth1\\trftsWidthB3"
                "\\trautofit1\\trpaddl108\\trpaddr108\\trpaddfl3\\trpaddfr3\\tblind0\\tblindtype3 "
                + "".join(f"\\clvertalt\\clbrdrt\\brdrs\\brdrw10 \\clbrdrl\\brdrs\\brdrw10 \\clbrdrb"
                          f"\\brdrs\\brdrw10 \\clbrdrr\\brdrs\\brdrw10 \\cltxlrtb\\clftsWidth3"
                          f"\\clwWidth{width}\\clshdrawnil \\cellx{width * (c + 1)}"
                          for c in range(columns)))

    def cell_text(self):
        return code_page_text(phrase(self.rng, 1, 6), "cp1252")

    def table(self):
        rng = self.rng
        columns = rng.randint(2, 7)
        width = 9000 // columns
        definition = self.row_definition(columns, width)
        for _ in range(rng.randint(2, 60)):
            cells = "".join(self.run(self.cell_text() + "\\cell ") for _ in range(columns))
            pard = self.pard("\\intbl")
            self.add(f"{pard}{cells}\r\n{pard}{{{definition}\\row }}\r\n")

    def nested_table(self):
        """A table whose cells hold tables, two or three deep."""
        rng = self.rng
        depth = rng.randint(2, 3)
        outer_columns = rng.randint(2, 4)
        width = 9000 // outer_columns
        for _ in range(rng.randint(2, 8)):
            row = []
            for _ in range(outer_columns):
                row.append(self.inner_table(2, depth, width))
                row.append(self.pard("\\intbl", 1) + self.run("\\cell "))
            self.add("".join(row) + self.pard("\\intbl", 1) +
                     f"{{{self.row_definition(outer_columns, width)}\\row }}\r\n")

    def inner_table(self, level, depth, width):
        rng = self.rng
        columns = rng.randint(2, 3)
        inner = width // columns
        out = []
        for _ in range(rng.randint(1, 4)):
            for _ in range(columns):
                if level < depth and rng.random() < 0.3:
                    out.append(self.inner_table(level + 1, depth, inner))
                out.append(self.pard("\\intbl", level) + self.run(self.cell_text() + "\\nestcell{\\nonesttables\\par }"))
            out.append(self.pard("\\intbl", level) +
                       f"{{\\*\\nesttableprops{self.row_definition(columns, inner)}\\nestrow}}"
                       "{\\nonesttables\\par }\r\n")
        return "".join(out)

    def picture(self, size):
        rng = self.rng
        width, height = rng.randint(400, 16000), rng.randint(400, 16000)
        blip = rng.choice(["\\pngblip", "\\jpegblip"])
        uid = rng.randbytes(16).hex()
        self.add(self.pard("\\qc") + "{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\noproof "
                 f"{{\\*\\shppict{{\\pict{{\\*\\picprop\\shplid{rng.randint(1025, 9999)}{{\\sp{{\\sn shapeType}}"
                 f"{{\\sv 75}}}}{{\\sp{{\\sn fFlipH}}{{\\sv 0}}}}{{\\sp{{\\sn fLine}}{{\\sv 0}}}}}}"
                 f"\\picscalex100\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0\\picw{width}"
                 f"\\pich{height}\\picwgoal{width}\\pichgoal{height}{blip}\\bliptag{rng.randrange(-2**31, 2**31)}"
                 f"{{\\*\\blipuid {uid}}}{self.picture_hex(size)}}}}}")
        if rng.random() < 0.3:
            self.add(f"{{\\nonshppict{{\\pict\\picscalex100\\picscaley100\\picw{width}\\pich{height}"
                     f"\\picwgoal{width}\\pichgoal{height}\\wmetafile8\\bliptag{rng.randrange(2**31)}"
                     f"{self.picture_hex(min(size, 40000))}}}}}")
        self.add("}" + self.run("\\par ") + "\r\n")

    def embedded_object(self, size):
        picture = f"{{\\pict\\picscalex100\\picscaley100\\wmetafile8\\picw5000\\pich3000 {self.picture_hex(size // 4)}}}"
        self.add(self.pard() + "{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 " + self.ole_object(size, picture) + "}"
                 + self.run("\\par ") + "\r\n")


class RecentWordJapanese(RecentWord):
    """Word with Japanese text: each character beyond ASCII as \\uN and the
    two bytes of its Shift-JIS form as the fallback (\\uc2)."""

    japanese = True
    codepage = 932

    def text_of(self, western, japanese):
        return code_page_text(japanese, "cp932")

    def japanese_run(self, count):
        return ("\\hich\\af31506\\dbch\\af31505\\loch\\f31506 "
                + self.pools.prose(self.rng, "japanese", "u2-cp932", count))

    def text_run(self):
        rng = self.rng
        if rng.random() < 0.75:
            return self.run(self.japanese_run(rng.randint(1, 4)), "\\lang1033\\langfe1041\\langnp1033\\langfenp1041")
        # Accents the code page lacks get \uN and question marks.
        return self.run(self.pools.prose(rng, "western", "u2-cp932", rng.randint(1, 4)))

    def cell_text(self):
        if self.rng.random() < 0.6:
            return self.pools.prose(self.rng, "japanese", "u2-cp932", 1)
        return super().cell_text()


class OlderWord(Writer):
    """Word 97-2003: a smaller header than today's Word, paragraphs that set
    every property again, lines broken near 255 bytes."""

    codepage = 1252
    language = "western"
    encoding = "cp1252"

    def write(self):
        rng = self.rng
        self.header()
        while self.room() > 200:
            kind = rng.random()
            if kind < 0.03 and self.room() > 40000:
                self.picture(rng.randint(4000, min(self.room() // 2, 500000)))
            elif kind < 0.045 and self.room() > 40000:
                self.embedded_object(rng.randint(8000, min(self.room() // 2, 400000)))
            elif kind < 0.09:
                self.table()
            else:
                self.paragraph()
        self.add("}\r\n")

    def header(self):
        rng = self.rng
        uc = 2 if self.codepage == 932 else 1
        self.add(f"{{\\rtf1\\ansi\\ansicpg{self.codepage}\\uc{uc} \\deff0\\deflang1033\\deflangfe1041"
                 "{\\fonttbl")
        for index in range(rng.randint(4, 9)):
            family, name, panose = FONT_FAMILIES[index]
            self.add(f"{{\\f{index}\\{family}\\fcharset0\\fprq2{{\\*\\panose {panose}}}{name};}}\r\n")
        for offset, (name, alt) in enumerate(JAPANESE_FONTS[:rng.randint(2, 4)]):
            self.add(f"{{\\f{11 + offset}\\fmodern\\fcharset128\\fprq1{{\\*\\panose 02020609040205080304}}"
                     f"{code_page_text(name, 'cp932')}{{\\*\\falt {alt}}};}}\r\n")
        self.add("}{\\colortbl;" + "".join(f"\\red{r}\\green{g}\\blue{b};" for r, g, b in (
            (0, 0, 0), (0, 0, 255), (0, 255, 255), (0, 255, 0), (255, 0, 255), (255, 0, 0), (255, 255, 0),
            (255, 255, 255), (0, 0, 128), (0, 128, 128), (0, 128, 0), (128, 0, 128), (128, 0, 0),
            (128, 128, 0), (128, 128, 128), (192, 192, 192))) + "}")
        self.add("{\\stylesheet{\\qj \\li0\\ri0\\nowidctlpar\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0"
                 "\\itap0 \\fs21\\lang1033\\langfe1041\\kerning2\\loch\\f0\\hich\\af0\\dbch\\af11\\cgrid"
                 "\\langnp1033\\langfenp1041 \\snext0 Normal;}")
        for index in range(1, rng.randint(4, 24)):
            self.add(f"{{\\s{index}\\qj \\li0\\ri0\\sb{rng.randrange(0, 240, 20)}\\nowidctlpar\\aspalpha\\aspnum"
                     f"\\faauto\\outlinelevel{index % 9}\\adjustright\\rin0\\lin0\\itap0 \\b\\fs{rng.randrange(18, 32, 2)}"
                     f"\\lang1033\\langfe1041\\kerning2\\loch\\f1\\hich\\af1\\dbch\\af12\\cgrid\\langnp1033"
                     f"\\langfenp1041 \\sbasedon0 \\snext0 {self.style_name(index)};}}\r\n")
        self.add("{\\*\\cs10 \\additive Default Paragraph Font;}}\r\n")
        if rng.random() < 0.5:
            self.add("{\\*\\listtable" + "".join(self.list_definition(i) for i in range(rng.randint(1, 3))) + "}\r\n")
        self.add(self.info() + "\r\n")
        self.add("\\paperw11906\\paperh16838\\margl1701\\margr1701\\margt1985\\margb1701 \\deftab840\\ftnbj"
                 "\\aenddoc\\hyphcaps0\\formshade\\horzdoc\\dgmargin\\dghspace180\\dgvspace180\\dghorigin1701"
                 "\\dgvorigin1985\\dghshow0\\dgvshow2\\jcompress\\lnongrid\r\n\\viewkind1\\viewscale100"
                 "\\splytwnine\\ftnlytwnine\\htmautsp\\useltbaln\\alntblind\\lytcalctblwd\\lyttblrtgr\\lnbrkrule"
                 "\\nobrkwrptbl\\snaptogridincell\\allowfieldendsel\\wrppunct\\asianbrkrule\\rsidroot"
                 f"{rng.choice(self.rsids)} \\fet0\\sectd \\linex0\\headery851\\footery992\\colsx425\\endnhere"
                 "\\sectlinegrid360\\sectspecifyl\r\n")
        for level in range(1, 10):
            self.add(f"{{\\*\\pnseclvl{level}\\pn{'ucrm' if level == 1 else 'dec'}\\pnstart1\\pnindent720"
                     f"\\pnhang {{\\pntxta {hex_escapes('．'.encode('cp932'))}}}}}")
        self.add("\r\n")

    def style_name(self, index):
        return f"heading {index}"

    def list_definition(self, number):
        levels = "".join(f"{{\\listlevel\\levelnfc{level % 5}\\leveljc0\\levelfollow0\\levelstartat1\\levelspace0"
                         f"\\levelindent0{{\\leveltext\\'02\\'0{level}.;}}{{\\levelnumbers\\'01;}}\\fi-360"
                         f"\\li{360 * (level + 1)}\\jclisttab\\tx{360 * (level + 1)} }}" for level in range(9))
        return f"{{\\list\\listtemplateid{1000 + number}{levels}{{\\listname ;}}\\listid{number + 1}}}"

    def info_text(self, western, japanese):
        return code_page_text(western, "cp1252")

    def info(self):
        rng = self.rng
        fields = [("title", phrase(rng, 2, 7), japanese_phrase(rng, 2, 6)),
                  ("author", person(rng), japanese_phrase(rng, 1, 2)),
                  ("operator", person(rng), japanese_phrase(rng, 1, 2))]
        chosen = [(name, self.info_text(w, j)) for name, w, j in fields if rng.random() < 0.9]
        stamp = self.stamp(1997, 2008)
        extra = [f"{{\\creatim{stamp}}}", f"{{\\revtim{stamp}}}", f"{{\\version{rng.randint(1, 12)}}}",
                 f"{{\\edmins{rng.randint(0, 600)}}}", f"{{\\nofpages{rng.randint(1, 30)}}}",
                 f"{{\\nofwords{rng.randint(20, 9000)}}}", f"{{\\nofchars{rng.randint(100, 50000)}}}",
                 f"{{\\*\\company {phrase(rng, 1, 3)}}}", f"{{\\nofcharsws{rng.randint(100, 60000)}}}",
                 f"{{\\vern{rng.choice([8247, 8269, 8325])}}}"]
        return self.info_group(chosen, extra)

    def pard(self, extra=""):
        return ("\\pard\\plain \\qj \\li0\\ri0" + extra + "\\nowidctlpar\\aspalpha\\aspnum\\faauto\\adjustright"
                "\\rin0\\lin0\\itap0 \\fs21\\lang1033\\langfe1041\\kerning2\\loch\\af0\\hich\\af0\\dbch\\af11"
                "\\cgrid\\langnp1033\\langfenp1041 ")

    def text(self, count):
        return self.pools.prose(self.rng, self.language, self.encoding, count)

    def runs(self):
        rng = self.rng
        out = []
        for _ in range(rng.randint(1, 4)):
            text = self.text(rng.randint(1, 5))
            if rng.random() < 0.8:
                out.append(f"{{\\hich\\af0\\dbch\\af11\\loch\\f0 {text}}}")
            else:
                out.append(f"{{\\b\\hich\\af0\\dbch\\af11\\loch\\f0 {text}}}")
        return "".join(out)

    def paragraph(self):
        self.add(break_lines(self.pard() + self.runs() + "\\par ", 255) + "\r\n")

    def cell_text(self):
        return self.text(1)[:self.rng.randint(10, 200)].rsplit("\\", 1)[0] if self.rng.random() < 0.5 else \
            code_page_text(phrase(self.rng, 1, 4), "cp1252")

    def table(self):
        rng = self.rng
        columns = rng.randint(2, 8)
        width = 8500 // columns
        definition = ("\\trowd \\trgaph99\\trleft-99\\trbrdrt\\brdrs\\brdrw10 \\trbrdrl\\brdrs\\brdrw10 "
                      "\\trbrdrb\\brdrs\\brdrw10 \\trbrdrr\\brdrs\\brdrw10 \\trbrdrh\\brdrs\\brdrw10 "
                      "\\trbrdrv\\brdrs\\brdrw10 \\trftsWidth1\\trautofit1\\trpaddl99\\trpaddr99\\trpaddfl3"
                      "\\trpaddfr3 " + "".join(f"\\clvertalt\\clbrdrt\\brdrs\\brdrw10 \\clbrdrl\\brdrs\\brdrw10 "
                                                f"\\clbrdrb\\brdrs\\brdrw10 \\clbrdrr\\brdrs\\brdrw10 \\cltxlrtb"
                                                f"\\clftsWidth3\\clwWidth{width} \\cellx{width * (c + 1)}"
                                                for c in range(columns)))
        for _ in range(rng.randint(2, 120)):
            cells = "".join(f"{{\\hich\\af0\\dbch\\af11\\loch\\f0 {self.cell_text()}\\cell }}" for _ in range(columns))
            self.add(break_lines(f"{definition}\\pard\\plain \\qj \\li0\\ri0\\widctlpar\\intbl\\aspalpha\\aspnum"
                                 f"\\faauto\\adjustright\\rin0\\lin0 \\fs21\\lang1033\\langfe1041 {cells}"
                                 f"\\pard\\plain \\widctlpar\\intbl {{{definition}\\row }}", 255) + "\r\n")

    def picture(self, size):
        rng = self.rng
        width, height = rng.randint(400, 16000), rng.randint(400, 16000)
        self.add(self.pard("\\qc") + f"{{\\lang1024\\langfe1024\\noproof {{\\*\\shppict{{\\pict{{\\*\\picprop"
                 f"\\shplid{rng.randint(1025, 9999)}{{\\sp{{\\sn shapeType}}{{\\sv 75}}}}}}\\picscalex100"
                 f"\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0\\picw{width}\\pich{height}"
                 f"\\picwgoal{width}\\pichgoal{height}\\pngblip\\bliptag{rng.randrange(-2**31, 2**31)}"
                 f"{{\\*\\blipuid {rng.randbytes(16).hex()}}}{self.picture_hex(size)}}}}}"
                 f"{{\\nonshppict{{\\pict\\picscalex100\\picscaley100\\piccropl0\\piccropr0\\piccropt0"
                 f"\\piccropb0\\picw{width}\\pich{height}\\picwgoal{width}\\pichgoal{height}\\wmetafile8"
                 f"\\bliptag{rng.randrange(2**31)}\\blipupi96{{\\*\\blipuid {rng.randbytes(16).hex()}}}"
                 f"{self.picture_hex(min(size, 60000))}}}}}}}\\par \r\n")

    def embedded_object(self, size):
        picture = (f"{{\\pict\\picscalex100\\picscaley100\\picw5000\\pich3000\\picwgoal2835\\pichgoal1701"
                   f"\\wmetafile8\\bliptag{self.rng.randrange(2**31)} {self.picture_hex(size // 4)}}}")
        self.add(self.pard() + "{" + self.ole_object(size, picture) + "}\\par \r\n")


class OlderWordJapanese(OlderWord):
    """Word 97-2003 on Japanese Windows: body text as \\'hh pairs of
    Shift-JIS, eight bytes a character."""

    codepage = 932
    language = "japanese"
    encoding = "cp932"

    def style_name(self, index):
        return code_page_text(f"見出し {index}", "cp932")

    def info_text(self, western, japanese):
        if self.rng.random() < 0.15:
            return "\\'fe\\'ff" + hex_escapes(japanese.encode("utf-16-be"))
        return code_page_text(japanese, "cp932")

    def text(self, count):
        if self.rng.random() < 0.1:
            return self.pools.prose(self.rng, "western", "cp1252", count)
        return self.pools.prose(self.rng, "japanese", "cp932", count)


class OlderWordSmall(OlderWord):
    """Word 97-2003 letters and memos: the header and a few paragraphs."""

    def write(self):
        self.header()
        while self.room() > 200:
            if self.rng.random() < 0.08:
                self.table()
            else:
                self.paragraph()
        self.add("}\r\n")

    def table(self):
        rng = self.rng
        columns = rng.randint(2, 4)
        width = 8500 // columns
        definition = "\\trowd \\trgaph99\\trleft-99" + "".join(f"\\cellx{width * (c + 1)}" for c in range(columns))
        for _ in range(rng.randint(2, 6)):
            cells = "".join(f"{{\\loch\\f0 {code_page_text(phrase(rng, 1, 3), 'cp1252')}\\cell }}"
                            for _ in range(columns))
            self.add(f"\\pard\\plain \\widctlpar\\intbl {cells}\\pard\\plain \\widctlpar\\intbl "
                     f"{{{definition}\\row }}\r\n")


class WordPad(Writer):
    """WordPad: a font table of what is used, a \\pard line a paragraph."""

    def write(self):
        rng = self.rng
        japanese = rng.random() < 0.35
        codepage = 932 if japanese and rng.random() < 0.6 else 1252
        self.add(f"{{\\rtf1\\ansi\\ansicpg{codepage}\\deff0\\nouicompat\\deflang{1041 if codepage == 932 else 1033}"
                 "{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}{\\f1\\fnil\\fcharset128 "
                 + code_page_text("ＭＳ ゴシック", "cp932") + ";}{\\f2\\fnil\\fcharset2 Symbol;}}\r\n")
        if rng.random() < 0.5:
            self.add("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green77\\blue187;\\red0\\green176\\blue80;}\r\n")
        self.add(f"{{\\*\\generator Riched20 10.0.{rng.randint(17000, 22621)}}}\\viewkind4\\uc1 \r\n")
        while self.room() > 40:
            kind = rng.random()
            if kind < 0.01 and self.room() > 30000:
                self.picture(rng.randint(4000, min(self.room() // 2, 700000)))
            elif kind < 0.08:
                self.bullets()
            else:
                self.add(f"\\pard\\sa200\\sl276\\slmult1{self.font_and_text(japanese)}\\par\r\n")
        self.add("}\r\n\0")

    def font_and_text(self, japanese):
        rng = self.rng
        if japanese and rng.random() < 0.7:
            text = "\\f1\\fs22\\lang1041 " + self.pools.prose(rng, "japanese", "cp932", rng.randint(1, 5))
            return text + "\\f0\\lang9 "
        text = self.pools.prose(rng, "western", "cp1252", rng.randint(1, 6))
        if rng.random() < 0.15:
            text = f"\\b {text}\\b0 "
        elif rng.random() < 0.1:
            text = f"\\cf1 {text}\\cf0 "
        return "\\f0\\fs22\\lang9 " + text

    def bullets(self):
        rng = self.rng
        self.add("\\pard{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'B7}}"
                 "\\fi-360\\li720\\sa200\\sl276\\slmult1 ")
        for index in range(rng.randint(2, 8)):
            if index:
                self.add("{\\pntext\\f2\\'B7\\tab}")
            self.add(self.pools.prose(rng, "western", "cp1252", 1) + "\\par\r\n")

    def picture(self, size):
        rng = self.rng
        self.add(f"\\pard\\sa200\\sl276\\slmult1{{\\pict{{\\*\\picprop}}\\wmetafile8\\picw{rng.randint(2000, 20000)}"
                 f"\\pich{rng.randint(2000, 20000)}\\picwgoal{rng.randint(1000, 9000)}\\pichgoal{rng.randint(1000, 9000)} \r\n"
                 f"{self.picture_hex(size)}\r\n}}\\par\r\n")


class TextEdit(Writer):
    """TextEdit's Cocoa RTF: a short header, then the text line by line, each
    paragraph ending in a backslash before its line feed."""

    def write(self):
        rng = self.rng
        self.japanese = rng.random() < 0.4
        self.codepage = 932 if self.japanese and rng.random() < 0.5 else 1252
        # Older Cocoa writes characters beyond the code page as \uN and a
        # one-byte fallback; today's as \uc0\uN and a space.
        self.older = rng.random() < 0.3
        version = rng.choice([949, 1038, 1138]) if self.older else rng.choice([2580, 2639, 2709, 2761])
        self.add(f"{{\\rtf1\\ansi\\ansicpg{self.codepage}\\cocoartf{version}\n"
                 "\\cocoatextscaling0\\cocoaplatform0{\\fonttbl\\f0\\fswiss\\fcharset0 Helvetica;"
                 "\\f1\\fswiss\\fcharset0 Helvetica-Bold;\\f2\\froman\\fcharset0 Times-Roman;"
                 "\\f3\\fnil\\fcharset128 HiraginoSans-W3;\\f4\\fmodern\\fcharset0 Courier;}\n"
                 "{\\colortbl;\\red255\\green255\\blue255;\\red0\\green0\\blue0;\\red251\\green2\\blue7;"
                 "\\red14\\green112\\blue192;\\red255\\green251\\blue0;}\n"
                 "{\\*\\expandedcolortbl;;\\cssrgb\\c0\\c0\\c0;\\cssrgb\\c100000\\c14913\\c0;"
                 "\\cssrgb\\c0\\c52549\\c80000;\\cssrgb\\c100000\\c98000\\c0;}\n")
        if rng.random() < 0.3:
            self.add("{\\info\n" + "".join(f"{{\\{name} {value}}}" for name, value in (
                ("title", self.encode(phrase(rng, 1, 5) if not self.japanese else japanese_phrase(rng, 2, 5))),
                ("author", self.encode(person(rng))))) + "}")
        self.add("\\paperw11900\\paperh16840\\margl1440\\margr1440\\vieww11520\\viewh8400\\viewkind0\n")
        self.add("\\pard\\tx566\\tx1133\\tx1700\\tx2267\\tx2834\\tx3401\\tx3968\\tx4535\\tx5102\\tx5669"
                 "\\tx6236\\tx6803\\pardirnatural\\partightenfactor0\n\n\\f0\\fs24 \\cf2 ")
        while self.room() > 40:
            kind = rng.random()
            if kind < 0.05:
                self.bullets()
            elif kind < 0.08:
                self.link()
            elif kind < 0.25:
                self.styled_line()
            else:
                self.add(self.line() + "\\\n")
        self.add("}")

    def encode(self, text):
        if self.older:
            return unicode_text(text, "cp932" if self.codepage == 932 else "cp1252", 1)
        return cocoa_text(text, "cp932" if self.codepage == 932 else "cp1252")

    def line(self):
        rng = self.rng
        if self.japanese and rng.random() < 0.7:
            return self.encode(rng.choice(self.pools.japanese))
        text = rng.choice(self.pools.western)
        if rng.random() < 0.3:
            text += rng.choice(self.pools.western)
        return self.encode(text)

    def styled_line(self):
        rng = self.rng
        start = rng.choice(["\\f1\\b ", "\\i ", "\\cf3 ", "\\cf4 \\ul \\ulc4 ", "\\cb5 ", "\\f4\\fs22 ", "\\fs36 "])
        end = {"\\f1\\b ": "\\f0\\b0 ", "\\i ": "\\i0 ", "\\cf3 ": "\\cf2 ", "\\cf4 \\ul \\ulc4 ": "\\cf2 \\ulnone ",
               "\\cb5 ": "\\cb1 ", "\\f4\\fs22 ": "\\f0\\fs24 ", "\\fs36 ": "\\fs24 "}[start]
        self.add(start + self.line() + end + "\\\n")

    def bullets(self):
        rng = self.rng
        self.add("\\pard\\tx220\\tx720\\pardeftab720\\li720\\fi-720\\pardirnatural\\partightenfactor0\n"
                 "\\ls1\\ilvl0\\cf2 ")
        bullet = "\\'95" if not self.older else "\\u8226\\'95"
        if not self.older and self.codepage == 932:
            bullet = "\\uc0\\u8226 "
        for _ in range(rng.randint(2, 9)):
            self.add("{\\listtext\t" + bullet + "\t}" + self.line() + "\\\n")
        self.add("\\pard\\tx566\\tx1133\\tx1700\\tx2267\\tx2834\\tx3401\\pardirnatural\\partightenfactor0\n"
                 "\\cf2 \\\n")

    def link(self):
        rng = self.rng
        url = f"https://www.example.org/{rng.choice(WORDS)}/{rng.randrange(10**6)}"
        self.add(f"{{\\field{{\\*\\fldinst{{HYPERLINK \"{url}\"}}}}{{\\fldrslt \\cf4 \\ul \\ulc4 "
                 f"{self.encode(phrase(rng, 1, 4))}}}}}\\cf2 \\ulnone \\\n")


class OldMac(Writer):
    """Word for the classic Mac OS: \\mac, Mac Roman accents as \\'hh, CR
    line ends, \\uN? in the information group."""

    def write(self):
        rng = self.rng
        self.add("{\\rtf1\\mac\\ansicpg10000\\uc1 \\deff0\\deflang1033\\deflangfe1033{\\upr{\\fonttbl"
                 "{\\f0\\fnil\\fcharset256\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
                 "{\\f3\\fnil\\fcharset256\\fprq2{\\*\\panose 00000000000000000000}Geneva;}"
                 "{\\f4\\fnil\\fcharset256\\fprq2{\\*\\panose 00000000000000000000}Monaco;}"
                 "{\\f20\\fnil\\fcharset256\\fprq2{\\*\\panose 00000000000000000000}Times;}"
                 "{\\f21\\fnil\\fcharset256\\fprq2{\\*\\panose 00000000000000000000}Helvetica;}}"
                 "{\\*\\ud{\\fonttbl{\\f0\\fnil\\fcharset256\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
                 "{\\f3\\fnil\\fcharset256\\fprq2 Geneva;}{\\f4\\fnil\\fcharset256\\fprq2 Monaco;}"
                 "{\\f20\\fnil\\fcharset256\\fprq2 Times;}{\\f21\\fnil\\fcharset256\\fprq2 Helvetica;}}}}\r"
                 "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;"
                 "\\red0\\green255\\blue0;\\red255\\green0\\blue255;\\red255\\green0\\blue0;\\red255\\green255\\blue0;"
                 "\\red255\\green255\\blue255;}{\\stylesheet{\\widctlpar\\adjustright \\fs24\\cgrid \\snext0 Normal;}"
                 "{\\*\\cs10 \\additive Default Paragraph Font;}}\r")
        title = "Réunion " + phrase(rng, 1, 4) if rng.random() < 0.5 else phrase(rng, 1, 4) + " café"
        self.add("{\\info{\\title " + unicode_text(title, "ascii", 1) + "}{\\author "
                 + unicode_text(rng.choice(["José ", "Müller ", "Zoë ", ""]) + person(rng), "ascii", 1)
                 + f"}}{{\\operator {person(rng)}}}{{\\creatim{self.stamp(1992, 2001)}}}{{\\revtim{self.stamp(1992, 2001)}}}"
                 f"{{\\version{rng.randint(1, 9)}}}{{\\edmins{rng.randint(0, 300)}}}{{\\nofpages{rng.randint(1, 20)}}}"
                 f"{{\\nofwords{rng.randint(20, 5000)}}}{{\\nofchars{rng.randint(100, 30000)}}}"
                 f"{{\\vern{rng.choice([89, 113, 8247])}}}}}\r")
        self.add("\\margl1800\\margr1800\\margt1440\\margb1440 \\widowctrl\\ftnbj\\aenddoc\\formshade "
                 "\\viewkind1\\viewscale125\\pgbrdrhead\\pgbrdrfoot \\fet0\\sectd \\linex0\\endnhere\\sectdefaultcl \r"
                 "{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}\r")
        while self.room() > 60:
            kind = rng.random()
            if kind < 0.01 and self.room() > 30000:
                self.picture(rng.randint(3000, min(self.room() // 2, 200000)))
            elif kind < 0.04:
                self.table()
            else:
                style = rng.choice(["", "", "", "\\b", "\\i", "\\f21", "\\ul"])
                text = self.pools.prose(rng, "western", "mac", rng.randint(1, 6))
                self.add(break_lines(f"\\pard\\plain \\widctlpar\\adjustright \\fs24\\cgrid {{{style} {text}}}"
                                     "\\par ", 255, "\r") + "\r")
        self.add("}")

    def table(self):
        rng = self.rng
        columns = rng.randint(2, 5)
        definition = "\\trowd \\trgaph108\\trleft-108" + "".join(f"\\cellx{1700 * (c + 1)}" for c in range(columns))
        for _ in range(rng.randint(2, 20)):
            cells = "".join(f"{code_page_text(phrase(rng, 1, 3), 'mac_roman')}\\cell " for _ in range(columns))
            self.add(f"{definition}\\pard\\plain \\widctlpar\\intbl\\adjustright \\fs24\\cgrid {{{cells}}}"
                     "\\pard \\widctlpar\\intbl\\adjustright {\\row }\r")

    def picture(self, size):
        data = self.pools.hex_blob(self.rng, size, "\r", 64)
        self.add(f"{{\\pict\\macpict\\picw{self.rng.randint(100, 600)}\\pich{self.rng.randint(100, 600)}\r"
                 f"{data}}}\\par \r")


class LibreOffice(Writer):
    """LibreOffice: styles, page descriptions, \\loch/\\hich runs."""

    def write(self):
        rng = self.rng
        self.japanese = rng.random() < 0.2
        self.add("{\\rtf1\\ansi\\deff4\\adeflang1025\r\n{\\fonttbl")
        for index in range(rng.randint(6, 14)):
            if self.japanese and index < len(JAPANESE_FONTS):
                name, charset = code_page_text(JAPANESE_FONTS[index][0], "cp932"), 128
            else:
                name, charset = FONT_FAMILIES[index % len(FONT_FAMILIES)][1], 0
            family = FONT_FAMILIES[index % len(FONT_FAMILIES)][0]
            self.add(f"{{\\f{index}\\{family}\\fprq2\\fcharset{charset} {name};}}")
        self.add("}\r\n{\\colortbl;" + "".join(
            f"\\red{rng.randrange(256)}\\green{rng.randrange(256)}\\blue{rng.randrange(256)};"
            for _ in range(rng.randint(2, 12))) + "}\r\n{\\stylesheet")
        for index in range(rng.randint(8, 40)):
            self.add(f"{{\\s{index}\\sbasedon0\\snext{index}\\rtlch\\af8\\afs24\\alang1081 \\ltrch\\lang2057"
                     f"\\langfe2052\\hich\\af4\\loch\\nowidctlpar\\hyphpar0\\ltrpar\\cf0\\f4\\fs24\\lang2057"
                     f"\\kerning1\\dbch\\af6\\langfe2052\\sb{rng.randrange(0, 480)}\\sa{rng.randrange(0, 240)} "
                     f"{phrase(rng, 1, 3)};}}\r\n")
        self.add("}{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}")
        fields = [("title", phrase(rng, 2, 7), japanese_phrase(rng, 2, 6)),
                  ("author", person(rng), japanese_phrase(rng, 1, 2))]
        self.add(self.info_group([(name, code_page_text(j, "cp932") if self.japanese else code_page_text(w, "cp1252"))
                                  for name, w, j in fields],
                                 [f"{{\\creatim{self.stamp(2010)}}}", f"{{\\revtim{self.stamp(2010)}}}"]) + "\r\n")
        self.add("{\\*\\userprops}\\deftab709\r\n\\hyphauto1\\viewscale100\r\n{\\*\\pgdsctbl\r\n"
                 "{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134\\margtsxn1134"
                 "\\margbsxn1134\\pgdscnxt0 Default Page Style;}}\r\n\\formshade\\paperh16838\\paperw11906"
                 "\\margl1134\\margr1134\\margt1134\\margb1134\\sectd\\sbknone\\pgndec\\sftnnar\\saftnnrlc"
                 "\\sectunlocked1\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134\\margtsxn1134"
                 "\\margbsxn1134\\ftnbj\\ftnstart1\\ftnrstcont\\ftnnar\\aenddoc\\aftnrstcont\\aftnstart1"
                 "\\aftnnrlc\r\n{\\*\\ftnsep\\chftnsep}\\pgndec")
        pard = ("\\pard\\plain \\s0\\rtlch\\af8\\afs24\\alang1081 \\ltrch\\lang2057\\langfe2052\\hich\\af4"
                "\\loch\\nowidctlpar\\hyphpar0\\ltrpar\\cf0\\f4\\fs24\\lang2057\\kerning1\\dbch\\af6"
                "\\langfe2052\\ql\\ltrpar")
        while self.room() > 300:
            kind = rng.random()
            if kind < 0.06 and self.room() > 20000:
                self.picture(rng.randint(2000, min(self.room() // 2, 400000)))
            elif kind < 0.12:
                self.table()
            else:
                if self.japanese and rng.random() < 0.5:
                    text = self.pools.prose(rng, "japanese", "u1-cp1252", rng.randint(1, 4))
                    body = f"{{\\dbch\\af6\\hich\\af4\\loch\\f4 {text}}}"
                else:
                    body = "{\\loch\r\n" + self.pools.prose(rng, "western", "u1-cp1252", rng.randint(1, 8)) + "}"
                self.add(f"{pard}{body}\r\n\\par ")
        self.add("}\r\n")

    def table(self):
        rng = self.rng
        columns = rng.randint(2, 7)
        definition = "\\trowd\\trql\\trleft-55\\ltrrow\\trpaddft3\\trpaddt55\\trpaddfl3\\trpaddl55" + "".join(
            f"\\clbrdrt\\brdrs\\brdrw10\\brdrcf1\\clbrdrl\\brdrs\\brdrw10\\brdrcf1\\clbrdrb\\brdrs\\brdrw10"
            f"\\brdrcf1\\cellx{1300 * (c + 1)}" for c in range(columns))
        for _ in range(rng.randint(2, 25)):
            cells = "".join(f"\\pard\\plain \\intbl\\ql {{\\loch {code_page_text(phrase(rng, 1, 6), 'cp1252')}}}\\cell "
                            for _ in range(columns))
            self.add(f"{definition}{cells}\\row\r\n")

    def picture(self, size):
        rng = self.rng
        width, height = rng.randint(400, 16000), rng.randint(400, 16000)
        blip = rng.choice(["\\pngblip", "\\jpegblip"])
        self.add(f"{{\\*\\shppict{{\\pict\\picw{width}\\pich{height}\\picwgoal{width}\\pichgoal{height}"
                 f"{blip}\r\n{self.picture_hex(size)}}}}}\r\n")


# --- the shapes, their counts and sizes --------------------------------------------------------

def log_uniform(low, high):
    return lambda rng: int(low * (high / low) ** rng.random())


# name: (writer, files at scale 1, size of one file)
SHAPES = {
    "word": (RecentWord, 270, log_uniform(20_000, 2_000_000)),
    "word-japanese": (RecentWordJapanese, 90, log_uniform(20_000, 1_500_000)),
    "word2003-japanese": (OlderWordJapanese, 170, log_uniform(10_000, 1_500_000)),
    "word2003-small": (OlderWordSmall, 150, lambda rng: int(rng.triangular(5_000, 20_000, 17_000))),
    "wordpad": (WordPad, 120, log_uniform(3_000, 1_500_000)),
    "textedit": (TextEdit, 100, log_uniform(2_000, 1_200_000)),
    "mac": (OldMac, 50, log_uniform(2_000, 800_000)),
    "libreoffice": (LibreOffice, 50, log_uniform(10_000, 1_000_000)),
}


def plan(seed, scale):
    """(shape, number within the shape) for every file, the shapes mixed in
    an order fixed by the seed."""
    files = [(shape, k) for shape, (_, count, _) in SHAPES.items() for k in range(max(1, round(count * scale)))]
    random.Random(f"{seed}:rtf-order").shuffle(files)
    return files


def document(seed, shape, number, pools):
    """The bytes of one document and a name for it."""
    writer, _, size = SHAPES[shape]
    rng = random.Random(f"{seed}:rtf-{shape}:{number}")
    data = writer(rng, pools, size(rng)).build()
    return data, f"{phrase(rng, 1, 4)} {shape} {number:04d}.rtf"


def repeated_list(paths, sizes, least_bytes):
    """The paths listed again and again until they add up to `least_bytes`,
    so that a shape's run is not mostly the start of the process."""
    total = sum(sizes)
    if total == 0:
        return list(paths)
    rounds = max(1, math.ceil(least_bytes / total))
    return list(paths) * rounds
