#!/usr/bin/python3
"""Static checks of a Windows plug-in module, run on the build machine.

check_pe.py MODULE MACHINE VERSION EXPORTS_DEF TITLE_LIST...

MACHINE is i386 or amd64. The module must be a DLL of that machine that
exports exactly the names of EXPORTS_DEF, undecorated; import only system
DLLs; carry exactly the titles of the title lists as a Japanese string
table; and carry the version resource (VERSION, the project's, as 1.3.0.0;
a Japanese Unicode string block, translation 0x0411/1200). Exit status 0
only when all hold.
"""
import os
import sys

import pefile

LANGUAGE = 0x0411
STRING_BLOCK = "041104b0"
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "winmm.dll", "msvcrt.dll"}
MACHINES = {"i386": (0x014C, 0x10B), "amd64": (0x8664, 0x20B)}


def read_exports(def_file):
    names, in_exports = [], False
    with open(def_file, encoding="ascii") as f:
        for line in f:
            line = line.split(";", 1)[0].strip()
            if not line:
                continue
            if line.upper() == "EXPORTS":
                in_exports = True
            elif in_exports:
                names.append(line.split()[0])
    return sorted(names)


def read_titles(files):
    titles = {}
    for name in files:
        with open(name, encoding="utf-8") as f:
            for line in f:
                line = line.rstrip("\n")
                if not line.strip() or line.lstrip().startswith("#"):
                    continue
                ident, text = line.split("\t", 1)
                titles[int(ident)] = text
    return titles


def string_table(pe):
    """ID -> text of every RT_STRING entry, and the languages seen per type."""
    strings, languages = {}, {}
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in kind.directory.entries:
            for lang in name.directory.entries:
                languages.setdefault(kind.id, set()).add(lang.id)
                if kind.id != pefile.RESOURCE_TYPE["RT_STRING"]:
                    continue
                data = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
                pos = 0
                for i in range(16):  # block n holds IDs (n - 1) * 16 .. + 15
                    length = int.from_bytes(data[pos:pos + 2], "little")
                    if length:
                        text = data[pos + 2:pos + 2 + 2 * length].decode("utf-16-le")
                        strings[(name.id - 1) * 16 + i] = text
                    pos += 2 + 2 * length
    return strings, languages


def main():
    module, machine, expected_version, exports_def = sys.argv[1:5]
    title_files = sys.argv[5:]
    failures = []

    def check(ok, what):
        print(("ok   " if ok else "FAIL ") + what)
        if not ok:
            failures.append(what)

    pe = pefile.PE(module)
    wanted_machine, wanted_magic = MACHINES[machine]
    check(pe.FILE_HEADER.Machine == wanted_machine and pe.OPTIONAL_HEADER.Magic == wanted_magic
          and pe.is_dll(),
          "%s DLL (machine 0x%04x, magic 0x%03x)" % (machine, pe.FILE_HEADER.Machine,
                                                    pe.OPTIONAL_HEADER.Magic))

    exports = sorted(s.name.decode() for s in pe.DIRECTORY_ENTRY_EXPORT.symbols if s.name)
    unnamed = [s.ordinal for s in pe.DIRECTORY_ENTRY_EXPORT.symbols if not s.name]
    check(exports == read_exports(exports_def) and not unnamed, "exports %s" % exports)

    imports = sorted(e.dll.decode().lower() for e in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []))
    check(set(imports) <= SYSTEM_DLLS, "imports only system DLLs %s" % imports)

    strings, languages = string_table(pe)
    check(all(langs == {LANGUAGE} for langs in languages.values()),
          "every resource in language 0x%04x %s" % (LANGUAGE, languages))
    wanted = read_titles(title_files)
    check(sorted(strings) == sorted(wanted),
          "string IDs %d..%d, %d of them" % (min(strings, default=0), max(strings, default=0),
                                              len(strings)))
    for ident, text in sorted(wanted.items()):
        check(strings.get(ident) == text, "string %d = %r" % (ident, strings.get(ident)))

    fixed = pe.VS_FIXEDFILEINFO[0]
    version = lambda ms, ls: "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    check(version(fixed.FileVersionMS, fixed.FileVersionLS) == expected_version
          and version(fixed.ProductVersionMS, fixed.ProductVersionLS) == expected_version,
          "file and product version %s" % expected_version)
    blocks, translations = {}, []
    for info in pe.FileInfo[0]:
        for table in getattr(info, "StringTable", []):
            blocks[table.LangID.decode().lower()] = table.entries
        for var in getattr(info, "Var", []):
            translations.append(var.entry.get(b"Translation"))
    block = blocks.get(STRING_BLOCK, {})
    check(list(blocks) == [STRING_BLOCK], "string blocks %s" % list(blocks))
    check(block.get(b"FileVersion") == expected_version.encode()
          and block.get(b"ProductVersion") == expected_version.encode(), "string block versions")
    check(block.get(b"OriginalFilename") == os.path.basename(module).encode(),
          "original file name %r" % block.get(b"OriginalFilename"))
    check(translations == ["0x0411 0x04b0"], "translation %s" % translations)

    print("PASSED" if not failures else "FAILED: %d" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
